#include "hosts/kit/labels.h"

namespace dusk::kit {
namespace {

void SetColour(cairo_t* cr, uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

}  // namespace

void DrawLabels(cairo_t* cr, const std::vector<LabelLayout>& labels) {
  for (const LabelLayout& l : labels) {
    const Rect& b = l.box;
    cairo_save(cr);
    cairo_rectangle(cr, b.left, b.top, b.right - b.left, b.bottom - b.top);
    cairo_clip(cr);
    SetColour(cr, l.backColor);
    cairo_paint(cr);
    cairo_select_font_face(cr, kLabelFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, l.fontPixels);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, l.text.c_str(), &ext);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double x = l.align == Alignment::kCenter ? b.left + (b.right - b.left - ext.x_advance) / 2 : b.left;
    SetColour(cr, l.textColor);
    cairo_move_to(cr, x, b.top + font.ascent);
    cairo_show_text(cr, l.text.c_str());
    cairo_restore(cr);
  }
}

}  // namespace dusk::kit
