#include "hosts/headless/app/render.h"

#include <cairo.h>

#include <cstring>

namespace dusk::headless {

bool WritePng(const Bitmap& canvas, const LabelControl* labels[], int labelCount, const std::string& path) {
  if (canvas.width <= 0 || canvas.height <= 0) return false;
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, canvas.width, canvas.height);
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < canvas.height; ++y)
    std::memcpy(data + static_cast<size_t>(y) * stride, canvas.Row(y), static_cast<size_t>(canvas.width) * 4);
  cairo_surface_mark_dirty(surface);

  cairo_t* cr = cairo_create(surface);
  DrawLabels(cr, labels, labelCount);
  cairo_destroy(cr);
  const bool ok = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(surface);
  return ok;
}

void DrawLabels(cairo_t* cr, const LabelControl* labels[], int labelCount) {
  for (int i = 0; i < labelCount; ++i) {
    const LabelControl& l = *labels[i];
    if (!l.Visible) continue;
    cairo_save(cr);
    cairo_rectangle(cr, l.Left, l.Top, l.Width, l.Height);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_select_font_face(cr, kLabelFont, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
    cairo_set_font_size(cr, kLabelPoints * 96.0 / 72.0);  // 12 points at 96 dots per inch
    cairo_text_extents_t ext;
    cairo_text_extents(cr, l.Caption.c_str(), &ext);
    cairo_font_extents_t font;
    cairo_font_extents(cr, &font);
    const double x = l.TextAlign == Alignment::kCenter ? l.Left + (l.Width - ext.x_advance) / 2 : l.Left;
    const double y = l.Top + font.ascent;
    const double grey = ((kLabelTextColor >> 16) & 0xFF) / 255.0;
    cairo_set_source_rgb(cr, grey, grey, grey);
    cairo_move_to(cr, x, y);
    cairo_show_text(cr, l.Caption.c_str());
    cairo_restore(cr);
  }
}

}  // namespace dusk::headless
