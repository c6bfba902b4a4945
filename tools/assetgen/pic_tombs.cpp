// The four tombstones: the big arched stone the crows and the blood use, the leaning pair in the
// middle, and the Celtic cross that carries the medallion.
#include <cmath>

#include "pic_art.h"
#include "pic_draw.h"
#include "pic_stone.h"

namespace assetgen {
namespace {

Image Tomb(const dusk::SpriteSheet& sheet, int x, int y, const Image& strips, const std::function<void(cairo_t*)>& draw) {
  SheetSpec spec(sheet);
  spec.look = Look::Matte;
  spec.scene = &strips;
  spec.sceneX = x;
  spec.sceneY = y;
  return BuildSheet(spec, [&](cairo_t* cr, int) { draw(cr); });
}

// Shadow cast on the grass behind and beside a stone's foot.
void FootShadow(cairo_t* cr, double cx, double y, double rx) {
  cairo_save(cr);
  cairo_translate(cr, cx, y);
  cairo_scale(cr, rx, 5);
  cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
  AddStop(p, 0, 0x05060c, 0.7);
  AddStop(p, 1, 0x05060c, 0);
  cairo_set_source(cr, p);
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  cairo_restore(cr);
}

}  // namespace

// The crow perches on the arch's right shoulder (y 4..8 at x 86..101); the blood trickles down
// the left edge from a crack at (24, 87).
Image MakeTombstone1(const Image& strips) {
  return Tomb(dusk::sheet::kTomb1, 15, 400, strips, [](cairo_t* cr) {
    FootShadow(cr, 67, 194, 66);
    // Plinth, two steps.
    StoneBody(cr, [](cairo_t* c) { Poly(c, {4, 199, 4, 188, 130, 188, 130, 199}); }, 0x4a4f68, 4, 188,
              130, 199, 101);
    StoneBody(cr, [](cairo_t* c) { Poly(c, {10, 189, 10, 177, 124, 177, 124, 189}); }, 0x50566f, 10,
              177, 124, 189, 102);
    // The stone: a segmental arch (centre (67, 86), radius 85) over straight sides.
    auto body = [](cairo_t* c) {
      cairo_new_sub_path(c);
      cairo_move_to(c, 16, 178);
      cairo_line_to(c, 16, 18);
      cairo_arc(c, 67, 86, 85, std::atan2(18 - 86, 16 - 67.0), std::atan2(18 - 86, 118 - 67.0));
      cairo_line_to(c, 118, 178);
      cairo_close_path(c);
    };
    StoneBody(cr, body, 0x5a607c, 16, 1, 118, 178, 103);
    // A moulding under the arch, and a recessed panel with a cross in relief.
    Carve(cr, [](cairo_t* c) { Poly(c, {20, 34, 114, 34, 114, 36, 20, 36}); });
    Carve(cr, [](cairo_t* c) {
      cairo_new_sub_path(c);
      cairo_move_to(c, 34, 118);
      cairo_line_to(c, 34, 62);
      cairo_arc(c, 67, 62, 33, kPi, 2 * kPi);
      cairo_line_to(c, 100, 118);
      cairo_close_path(c);
      // The cross stays proud of the recess.
      cairo_new_sub_path(c);
      Poly(c, {63, 48, 63, 66, 50, 66, 50, 74, 63, 74, 63, 112, 71, 112, 71, 74, 84, 74, 84, 66, 71,
               66, 71, 48});
      cairo_set_fill_rule(c, CAIRO_FILL_RULE_EVEN_ODD);
    }, 1.4);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    CarveText(cr, "R . I . P .", 67, 138, 13);
    Rng rng(104);
    for (int line = 0; line < 3; ++line) {
      double y = 148 + line * 8, half = 34 - line * 6;
      for (double x = 67 - half; x < 67 + half;) {
        double w = rng.Range(3, 8);
        Carve(cr, [&](cairo_t* c) { cairo_rectangle(c, x, y, std::min(w, 67 + half - x), 2); }, 0.7);
        x += w + 2.5;
      }
    }
    // A crack from the left edge, where the blood seeps out.
    cairo_new_path(cr);
    cairo_move_to(cr, 16, 80);
    cairo_line_to(cr, 22, 84);
    cairo_line_to(cr, 24, 89);
    cairo_line_to(cr, 31, 95);
    cairo_line_to(cr, 34, 104);
    cairo_set_line_width(cr, 1.1);
    Col(cr, 0x0a0a12, 0.9);
    cairo_stroke(cr);
    Tufts(cr, 0, 134, 199, 105, 8);
  });
}

// Leaning a little to the left; drawn at (250, 450) and again at (473, 450).
Image MakeTombstone2(const Image& strips) {
  return Tomb(dusk::sheet::kTomb2, 250, 450, strips, [](cairo_t* cr) {
    FootShadow(cr, 38, 120, 40);
    cairo_save(cr);
    cairo_translate(cr, 38, 121);
    cairo_rotate(cr, -0.06);
    cairo_translate(cr, -38, -121);
    auto body = [](cairo_t* c) {
      cairo_new_sub_path(c);
      cairo_move_to(c, 12, 122);
      cairo_line_to(c, 12, 32);
      cairo_curve_to(c, 12, 18, 30, 12, 38, 5);
      cairo_curve_to(c, 46, 12, 64, 18, 64, 32);
      cairo_line_to(c, 64, 122);
      cairo_close_path(c);
    };
    StoneBody(cr, body, 0x565c78, 12, 5, 64, 122, 201);
    Carve(cr, [](cairo_t* c) {
      Poly(c, {36, 22, 40, 22, 40, 30, 47, 30, 47, 34, 40, 34, 40, 50, 36, 50, 36, 34, 29, 34, 29, 30,
               36, 30});
    });
    Rng rng(202);
    for (int line = 0; line < 4; ++line) {
      double y = 60 + line * 9, half = 17 - (line % 2) * 5;
      for (double x = 38 - half; x < 38 + half;) {
        double w = rng.Range(2.5, 6);
        Carve(cr, [&](cairo_t* c) { cairo_rectangle(c, x, y, std::min(w, 38 + half - x), 2); }, 0.7);
        x += w + 2;
      }
    }
    // A chipped corner.
    Poly(cr, {64, 44, 58, 50, 64, 57});
    Col(cr, 0x1a1c2c, 0.8);
    cairo_fill(cr);
    cairo_restore(cr);
    // Ivy climbing the left side.
    Rng ivy(203);
    double x = 14, y = 122;
    for (int i = 0; i < 26; ++i) {
      double nx = x + ivy.Range(-2.5, 3), ny = y - ivy.Range(2, 4.5);
      Limb(cr, x, y, nx, ny, 1, 0x142418);
      double side = i % 2 ? -1 : 1;
      Ellipse(cr, nx + side * 3, ny, 3, 2, ivy.Range(-0.6, 0.6));
      Col(cr, Mix(0x1d3a28, 0x4a7a5a, ivy.Uni()));
      cairo_fill(cr);
      x = nx;
      y = ny;
    }
    Tufts(cr, 4, 73, 125, 204, 9);
  });
}

// A Celtic cross on a pedestal; the medallion's chain hangs from the ends of its arms.
Image MakeTombstone4(const Image& strips) {
  return Tomb(dusk::sheet::kTomb4, 688, 400, strips, [](cairo_t* cr) {
    FootShadow(cr, 51, 180, 50);
    StoneBody(cr, [](cairo_t* c) { Poly(c, {8, 184, 8, 172, 94, 172, 94, 184}); }, 0x4a4f68, 8, 172, 94,
              184, 401);
    StoneBody(cr, [](cairo_t* c) { Poly(c, {16, 173, 16, 126, 86, 126, 86, 173}); }, 0x555b76, 16, 126,
              86, 173, 402);
    StoneBody(cr, [](cairo_t* c) { Poly(c, {11, 127, 11, 118, 91, 118, 91, 127}); }, 0x5a607c, 11, 118,
              91, 127, 403);
    CarveText(cr, "REQUIESCAT", 51, 142, 8);
    Carve(cr, [](cairo_t* c) { cairo_rectangle(c, 24, 150, 54, 1.5); }, 0.6);
    Carve(cr, [](cairo_t* c) { cairo_rectangle(c, 30, 156, 42, 1.5); }, 0.6);
    // The cross with its ring.
    // The ring only shows between the arms: draw it as a separate band first.
    StoneBody(cr, [](cairo_t* c) {
      cairo_new_sub_path(c);
      cairo_arc(c, 51, 51, 29, 0, 2 * kPi);
      cairo_new_sub_path(c);
      cairo_arc_negative(c, 51, 51, 22, 2 * kPi, 0);
    }, 0x52587a, 22, 22, 80, 80, 404);
    StoneBody(cr, [](cairo_t* c) {
      Poly(c, {40, 119, 40, 62, 8, 62, 6, 51, 8, 40, 40, 40, 40, 8, 51, 3, 62, 8, 62, 40, 94, 40, 96, 51,
               94, 62, 62, 62, 62, 119});
    }, 0x5e6482, 6, 3, 96, 119, 405);
    // Knotwork suggested by carved loops on the crossing and the shaft.
    Carve(cr, [](cairo_t* c) {
      cairo_new_sub_path(c);
      cairo_arc(c, 51, 51, 6, 0, 2 * kPi);
      cairo_new_sub_path(c);
      cairo_arc_negative(c, 51, 51, 4.2, 2 * kPi, 0);
    }, 0.7);
    for (double y = 72; y < 112; y += 10)
      Carve(cr, [&](cairo_t* c) {
        cairo_new_sub_path(c);
        cairo_arc(c, 51, y, 4, 0, 2 * kPi);
        cairo_new_sub_path(c);
        cairo_arc_negative(c, 51, y, 2.6, 2 * kPi, 0);
      }, 0.6);
    for (double x : {18.0, 84.0}) Carve(cr, [&](cairo_t* c) { Ellipse(c, x, 51, 3, 3); }, 0.6);
    Tufts(cr, 2, 100, 184, 406, 8);
  });
}

}  // namespace assetgen
