#include "pic_stone.h"

#include <cmath>

#include "pic_draw.h"

namespace assetgen {

void StoneBody(cairo_t* cr, const PathFn& path, uint32_t base, double x0, double y0, double x1,
               double y1, uint64_t seed) {
  cairo_save(cr);
  cairo_new_path(cr);
  path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(x1, y0, x0 + (x1 - x0) * 0.2, y1);
  AddStop(g, 0, Mix(base, 0xc8d0f0, 0.45));
  AddStop(g, 0.5, base);
  AddStop(g, 1, Scale(base, 0.55));
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_clip(cr);
  Rng rng(seed);
  const double area = (x1 - x0) * (y1 - y0);
  // Grain.
  for (int i = 0; i < area / 5; ++i) {
    double x = rng.Range(x0, x1), y = rng.Range(y0, y1);
    bool light = rng.Uni() < 0.5;
    Col(cr, light ? 0xd0d6f0 : 0x101220, rng.Range(0.05, 0.16));
    cairo_rectangle(cr, std::floor(x), std::floor(y), 1, 1);
    cairo_fill(cr);
  }
  // Lichen, pale and patchy.
  for (int i = 0; i < area / 500; ++i) {
    double x = rng.Range(x0, x1), y = rng.Range(y0, y1);
    for (int k = 0; k < 6; ++k) {
      Ellipse(cr, x + rng.Range(-3, 3), y + rng.Range(-2, 2), rng.Range(0.8, 2), rng.Range(0.6, 1.4));
      Col(cr, Mix(0x7a8a78, 0xa8b4a0, rng.Uni()), rng.Range(0.15, 0.35));
      cairo_fill(cr);
    }
  }
  // Moss and damp at the foot.
  cairo_pattern_t* foot = cairo_pattern_create_linear(0, y1 - (y1 - y0) * 0.35, 0, y1);
  AddStop(foot, 0, 0x0c1412, 0);
  AddStop(foot, 1, 0x0c1412, 0.7);
  cairo_set_source(cr, foot);
  cairo_paint(cr);
  cairo_pattern_destroy(foot);
  for (int i = 0; i < (x1 - x0) / 2; ++i) {
    double x = rng.Range(x0, x1), y = y1 - std::pow(rng.Uni(), 2) * (y1 - y0) * 0.3;
    Ellipse(cr, x, y, rng.Range(1, 3), rng.Range(0.8, 2));
    Col(cr, Mix(0x1e3a26, 0x3e6040, rng.Uni()), rng.Range(0.3, 0.7));
    cairo_fill(cr);
  }
  // Bevel: moonlight on the upper-right edges, shadow on the lower-left ones.
  cairo_new_path(cr);
  path(cr);
  cairo_save(cr);
  cairo_translate(cr, -1.6, 1.6);
  cairo_set_line_width(cr, 2.4);
  Col(cr, 0xc4cced, 0.65);
  cairo_stroke(cr);
  cairo_restore(cr);
  path(cr);
  cairo_save(cr);
  cairo_translate(cr, 1.8, -1.8);
  cairo_set_line_width(cr, 3);
  Col(cr, 0x080912, 0.55);
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  path(cr);
  cairo_set_line_width(cr, 1);
  Col(cr, 0x0a0b14, 0.9);
  cairo_stroke(cr);
}

void Carve(cairo_t* cr, const PathFn& path, double depth) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_translate(cr, -depth, depth);
  path(cr);
  Col(cr, 0xc0c8e8, 0.45);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
  path(cr);
  Col(cr, 0x14162a, 0.85);
  cairo_fill(cr);
}

void CarveText(cairo_t* cr, const char* text, double cx, double baseline, double size) {
  cairo_save(cr);
  cairo_select_font_face(cr, "DejaVu Serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
  cairo_set_font_size(cr, size);
  cairo_text_extents_t e;
  cairo_text_extents(cr, text, &e);
  const double x = cx - e.width / 2 - e.x_bearing;
  Carve(cr, [&](cairo_t* c) {
    cairo_move_to(c, x, baseline);
    cairo_text_path(c, text);
  });
  cairo_restore(cr);
}

void Tufts(cairo_t* cr, double x0, double x1, double y, uint64_t seed, double height) {
  Rng rng(seed);
  for (int i = 0; i < (x1 - x0) * 2.2; ++i) {
    double x = rng.Range(x0, x1), yy = y + rng.Range(-1, 2);
    double len = rng.Range(0.3, 1.0) * height;
    uint32_t c = Mix(0x14242a, 0x4a6a6c, rng.Uni());
    Limb(cr, x, yy, x + rng.Range(-0.4, 0.4) * len, yy - len, rng.Range(0.6, 1.1), c, 0.9);
  }
}

}  // namespace assetgen
