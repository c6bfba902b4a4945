#include "hosts/kit/labels.h"

#include <string>

namespace dusk::kit {
namespace {

void SetColour(cairo_t* cr, uint32_t rgb) {
  cairo_set_source_rgb(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0);
}

double Advance(cairo_t* cr, const std::string& text) {
  cairo_text_extents_t ext;
  cairo_text_extents(cr, text.c_str(), &ext);
  return ext.x_advance;
}

// The text as it fits `width`: whole, or as many of its first characters as fit followed by
// "...", as the Windows host's end ellipsis draws it.
std::string Fitted(cairo_t* cr, const std::string& text, double width) {
  if (Advance(cr, text) <= width) return text;
  std::vector<size_t> ends;  // where each character ends, in bytes
  for (size_t i = 1; i <= text.size(); ++i)
    if (i == text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ends.push_back(i);
  size_t lo = 0, hi = ends.size();  // the most characters that fit with the ellipsis: in [lo, hi)
  while (hi - lo > 1) {
    const size_t mid = (lo + hi) / 2;
    if (Advance(cr, text.substr(0, ends[mid - 1]) + "...") <= width) lo = mid;
    else hi = mid;
  }
  return text.substr(0, lo == 0 ? 0 : ends[lo - 1]) + "...";
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
    const std::string text = Fitted(cr, l.text, b.right - b.left);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double x = l.align == Alignment::kCenter ? b.left + (b.right - b.left - Advance(cr, text)) / 2 : b.left;
    SetColour(cr, l.textColor);
    cairo_move_to(cr, x, b.top + font.ascent);
    cairo_show_text(cr, text.c_str());
    cairo_restore(cr);
  }
}

}  // namespace dusk::kit
