// Small creatures: bats (pixel art), fireflies (pixel glow), rats, the scorpion, the spider, the
// dead orchid and the bouncing jack-o'-lantern, and the dialog's big bat.
#include <algorithm>
#include <cmath>

#include "pic_art.h"
#include "pic_draw.h"

namespace assetgen {
namespace {

constexpr uint32_t kInk = 0x07070d;

// ---- bat -----------------------------------------------------------------------------------

// A bat flying right, seen from below and a little behind: both wings spread from the body, the
// near (trailing) wing larger than the far one, the head turned the way it flies. Each wing is the
// arm out to the wrist, three finger bones fanning from it and the membrane notched between their
// tips back to the flank. Eight frames beat the wings: up, spreading, level, down, low, folding in,
// folded and rising again. The moon catches every upper edge.
//
// The near wing's points, from its shoulder, outward to the left: wrist, then the three finger
// tips each followed by the notch of membrane behind it, and last the hip.
struct BatWing {
  double wx, wy, t[3][2], n[3][2], hx, hy;
};

const BatWing kBatWings[8] = {
    {-4, -6, {{-8, -10.5}, {-9.5, -5.5}, {-7.5, -0.5}}, {{-6.8, -7}, {-6.5, -3}, {-3.5, 0.5}}, -1, 4.5},
    {-5.5, -4.5, {{-11.5, -6}, {-10.5, -1}, {-7, 3}}, {{-8.8, -3.5}, {-7, -0.5}, {-4, 1.5}}, -1, 4.5},
    {-6, -2.5, {{-12, 0}, {-10, 4.5}, {-6.5, 6}}, {{-8.8, 0.2}, {-6.8, 2}, {-3.8, 3}}, -1, 4.5},
    {-6, -0.5, {{-11, 4}, {-9, 8}, {-5.5, 8.5}}, {{-8, 3.2}, {-6.2, 4.5}, {-3.2, 5}}, -1, 5},
    {-5, 1.5, {{-8.5, 8}, {-6.5, 10.5}, {-3.5, 10.5}}, {{-6, 5.5}, {-4.3, 6.8}, {-2.2, 6.5}}, -0.5, 5.5},
    {-4, 1, {{-5.5, 7}, {-4, 8.5}, {-2, 8}}, {{-4.3, 6}, {-3, 6.5}, {-1.5, 6}}, -0.5, 5},
    {-3.5, -3.5, {{-5.5, -1}, {-4.5, 2.5}, {-2.5, 4}}, {{-4, 0}, {-3, 1.5}, {-1.5, 2.5}}, -0.5, 4.5},
    {-4.5, -4, {{-9, -7}, {-8.5, -2}, {-5.5, 2}}, {{-7, -4.2}, {-5.8, -0.8}, {-3.2, 2}}, -1, 4.5},
};

// One look for the scene's bat and the dialog's: slate-grey fur and wings light enough to stand out
// on the night sky, pale finger bones, red eyes.
constexpr uint32_t kBatMembrane = 0x4c4a6c, kBatMembraneFar = 0x403e5c, kBatBone = 0x9a98c4,
                   kBatFur = 0x625e7c, kBatFurLit = 0xa29ec4, kBatHead = 0x6e6a8c, kBatEye = 0xff3020,
                   kBatInk = 0x0a0910;

void BatFrame(cairo_t* cr, int f) {
  const double bobs[8] = {1, 0.5, 0, -0.5, -1, -0.5, 0, 0.5};
  const uint32_t membrane = kBatMembrane, bone = kBatBone, fur = kBatFur, furLit = kBatFurLit;
  const double bx = 12.5, by = 12.5 + bobs[f];  // the body's middle
  const BatWing& w = kBatWings[f];
  // Raised high (wrist above the shoulder), the arm and fingers stand against the hills as thin
  // lines; there they are nearly the membrane's own dark, so the wing reads as one dark sail.
  const uint32_t arm = w.wy < -3 ? Mix(membrane, bone, 0.35) : bone;
  // One wing from shoulder (sx, sy), mirrored by `dir` and foreshortened by (kx, ky).
  auto wing = [&](cairo_t* c, double sx, double sy, double dir, double kx, double ky) {
    auto X = [&](double x) { return sx + dir * x * kx; };
    auto Y = [&](double y) { return sy + y * ky; };
    cairo_new_path(c);
    cairo_move_to(c, X(0), Y(-1));
    cairo_line_to(c, X(w.wx), Y(w.wy) - 0.6);
    for (int i = 0; i < 3; ++i) {
      cairo_line_to(c, X(w.t[i][0]), Y(w.t[i][1]));
      cairo_line_to(c, X(w.n[i][0]), Y(w.n[i][1]));
    }
    cairo_line_to(c, X(w.hx), Y(w.hy));
    cairo_line_to(c, X(0), Y(2));
    cairo_close_path(c);
    Col(c, membrane);
    cairo_fill(c);
    cairo_set_line_width(c, 1);
    Col(c, arm);
    cairo_move_to(c, X(0), Y(0));
    cairo_line_to(c, X(w.wx), Y(w.wy));
    cairo_line_to(c, X(w.t[0][0]), Y(w.t[0][1]));
    for (int i = 1; i < 3; ++i) {
      cairo_move_to(c, X(w.wx), Y(w.wy));
      cairo_line_to(c, X(w.t[i][0]), Y(w.t[i][1]));
    }
    cairo_stroke(c);
  };
  auto bat = [&](cairo_t* c) {
    cairo_set_antialias(c, CAIRO_ANTIALIAS_NONE);
    wing(c, bx + 1.5, by - 1.5, -1, 0.8, 0.9);  // the far wing, towards the flight
    wing(c, bx - 1.0, by - 1.5, 1, 0.95, 1.0);  // the near wing
    // Body: a furry egg leaning into the flight, feet tucked under.
    Ellipse(c, bx, by + 0.5, 2.2, 3.4, 0.3);
    Col(c, fur);
    cairo_fill(c);
    Limb(c, bx - 0.5, by + 3.5, bx - 1.2, by + 5.2, 1, fur);
    // Head turned to the right, the snout forward, two tall pointed ears.
    const double hx = bx + 1.2, hy = by - 4;
    Ellipse(c, hx, hy, 2.0, 1.8);
    Poly(c, {hx - 1.8, hy - 0.5, hx - 1.9, hy - 4.6, hx + 0.1, hy - 1.4});
    Poly(c, {hx + 0.4, hy - 1.3, hx + 2.3, hy - 4.4, hx + 2.2, hy + 0.2});
    Poly(c, {hx + 1.4, hy - 0.4, hx + 3.6, hy + 0.8, hx + 1.4, hy + 1.5});
    cairo_fill(c);
  };
  // The moon catches every upper edge, fully only along flat stretches with body under them. The
  // raised arms climb in one-pixel steps and the finger tips stick out alone: lit in full they
  // bristle like spikes, so there the light is only a hint.
  Canvas shape(26, 23);
  bat(shape.cr());
  shape.Flush();
  auto solid = [&](int x, int y) {
    return x >= 0 && y >= 0 && x < shape.w() && y < shape.h() && (shape.Argb(x, y) >> 24) >= 128;
  };
  cairo_save(cr);
  cairo_set_source_surface(cr, cairo_get_target(shape.cr()), 0, 0);
  cairo_paint(cr);
  for (int y = 0; y < shape.h(); ++y)
    for (int x = 0; x < shape.w(); ++x) {
      if (!solid(x, y) || solid(x, y - 1)) continue;
      auto top = [&](int i) { return solid(i, y) && !solid(i, y - 1); };
      const bool thick = solid(x, y + 1);
      const bool lone = !solid(x - 1, y) && !solid(x + 1, y);
      const bool run = top(x - 1) || top(x + 1);  // a flat stretch, not one step of a diagonal
      const double k = lone ? 0.2 : !run ? 0.45 : thick ? 1.0 : 0.5;
      const uint32_t v = shape.Argb(x, y);
      const uint32_t under = v & 0xffffff;  // opaque: premultiplied is the colour itself
      PixelMap(cr, x, y, {"r"}, {{'r', Mix(under, 0xc4ccf4, k)}});
    }
  cairo_restore(cr);
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  // Chest fur catching a little light, a red eye and a fang.
  Ellipse(cr, bx + 0.4, by, 0.9, 1.5, 0.3);
  Col(cr, furLit);
  cairo_fill(cr);
  cairo_restore(cr);
  PixelMap(cr, static_cast<int>(bx + 2), static_cast<int>(by - 4.5), {"e"}, {{'e', kBatEye}});
  PixelMap(cr, static_cast<int>(bx + 1), static_cast<int>(by - 4.5), {"e"}, {{'e', 0x9a2020}});
  PixelMap(cr, static_cast<int>(bx + 3), static_cast<int>(by - 2.8), {"w"}, {{'w', 0xe8e0d0}});
}

// ---- rat -----------------------------------------------------------------------------------

// A running rat facing right, galloping through five frames; k scales the 65 x 43 rat.
void Rat(cairo_t* cr, int f, double k) {
  const double ph = 2 * kPi * f / 5;
  const uint32_t fur = 0x4a4452, furLit = 0x9a98b8, belly = 0x6a6070, tail = 0x8a6a74, out = kInk;
  cairo_save(cr);
  cairo_scale(cr, k, k);
  const double arch = 3 * std::sin(ph);
  // Tail: a long whip trailing left, waving.
  cairo_new_path(cr);
  cairo_move_to(cr, 16, 30);
  cairo_curve_to(cr, 8, 30 + 6 * std::sin(ph), 4, 22 + 6 * std::sin(ph + 1), 1, 26 + 5 * std::sin(ph + 2));
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, 3.4);
  Col(cr, out);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 1.8);
  Col(cr, tail);
  cairo_stroke(cr);
  // Legs: far pair then near pair, reaching and gathering.
  auto leg = [&](double hx, double hy, double phase, uint32_t c) {
    double reach = 6 * std::cos(ph + phase), lift = std::max(0.0, std::sin(ph + phase)) * 4;
    double fx = hx + reach, fy = 40 - lift;
    Limb(cr, hx, hy, (hx + fx) / 2 - 2, (hy + fy) / 2, 4.6, out);
    Limb(cr, (hx + fx) / 2 - 2, (hy + fy) / 2, fx, fy, 3.6, out);
    Limb(cr, hx, hy, (hx + fx) / 2 - 2, (hy + fy) / 2, 3, c);
    Limb(cr, (hx + fx) / 2 - 2, (hy + fy) / 2, fx, fy, 2, c);
    Limb(cr, fx, fy, fx + 3, fy + 0.5, 1.6, 0xb08a90);
  };
  leg(22, 32, 0.6, Scale(fur, 0.6));
  leg(44, 32, 2.2, Scale(fur, 0.6));
  // Body.
  Ellipse(cr, 32, 27 - arch * 0.5, 18, 9 + arch * 0.4, -0.05);
  Col(cr, out);
  cairo_set_line_width(cr, 2.4);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 17, 0, 37);
  AddStop(g, 0, furLit);
  AddStop(g, 0.3, fur);
  AddStop(g, 0.85, belly);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Scruffy fur along the back.
  for (int i = 0; i < 8; ++i) {
    double x = 18 + i * 3.6, y = 19 - arch * 0.5 + std::abs(i - 4) * 0.5;
    Limb(cr, x, y, x - 2, y - 1.5, 1, 0x2a2632);
  }
  // Head: a pointed snout, ear, red eye.
  Ellipse(cr, 50, 25 - arch * 0.3, 8, 6.5, 0.25);
  Col(cr, out);
  cairo_stroke_preserve(cr);
  Col(cr, fur);
  cairo_fill(cr);
  Poly(cr, {54, 20 - arch * 0.3, 64, 27, 55, 30});
  Col(cr, out);
  cairo_stroke_preserve(cr);
  Col(cr, Mix(fur, furLit, 0.3));
  cairo_fill(cr);
  Ellipse(cr, 63.5, 27, 1.4, 1.2);
  Col(cr, 0xc07a8a);
  cairo_fill(cr);
  for (int i = -1; i <= 1; ++i) Limb(cr, 61, 27, 66, 25 + i * 2.5, 0.5, 0xb0b0c8, 0.7);
  // A thin, half-translucent ear laid back, pink inside.
  Ellipse(cr, 47, 18.5 - arch * 0.3, 3.2, 3.8, -0.4);
  Col(cr, out);
  cairo_stroke_preserve(cr);
  Col(cr, 0x6a5460);
  cairo_fill(cr);
  Ellipse(cr, 47.4, 19 - arch * 0.3, 1.8, 2.4, -0.4);
  Col(cr, 0xb07a88);
  cairo_fill(cr);
  Ellipse(cr, 55, 23 - arch * 0.3, 1.6, 1.5);
  Col(cr, 0xff3a2a);
  cairo_fill(cr);
  Ellipse(cr, 55.4, 22.6 - arch * 0.3, 0.5, 0.5);
  Col(cr, 0xffd0c0);
  cairo_fill(cr);
  leg(26, 33, 3.4, fur);
  leg(46, 33, 5.0, fur);
  cairo_restore(cr);
}

// ---- scorpion ------------------------------------------------------------------------------

void Scorpion(cairo_t* cr, int f) {
  const double ph = 2 * kPi * f / 5;
  // A cold, blue-black shell: the moonlit night's own colours, lit only at its edges.
  const uint32_t shell = 0x1e1e2c, lit = 0x7a82ac, out = kInk;
  cairo_save(cr);
  cairo_translate(cr, 3, 0);  // room ahead for the open claws
  // Legs: four each side, alternating.
  for (int i = 0; i < 4; ++i) {
    for (int side = 0; side < 2; ++side) {
      double x = 14 + i * 3.2, sw = 2.2 * std::sin(ph + i * 1.6 + side * kPi);
      double kx = x - 1 + sw, ky = side ? 25 : 23.5;
      Limb(cr, x, 23, kx, ky, 1.6, out);
      Limb(cr, kx, ky, kx - 2.5 + sw * 0.5, 31.5, 1.4, out);
      Limb(cr, kx, ky, kx - 2.5 + sw * 0.5, 31.5, 0.7, lit, side ? 0.75 : 0.45);
      Limb(cr, x, 23, kx, ky, 0.7, lit, side ? 0.6 : 0.35);
    }
  }
  // Body segments.
  for (int i = 0; i < 5; ++i) {
    Ellipse(cr, 12 + i * 3.6, 23, 3.4, 3.2 - i * 0.1);
    Col(cr, out);
    cairo_fill(cr);
    Ellipse(cr, 12 + i * 3.6, 22.6, 2.6, 2.4);
    Col(cr, Mix(shell, lit, 0.25 + 0.05 * i));
    cairo_fill(cr);
  }
  // Tail arching over the back, the sting poised forwards.
  const double sway = 0.12 * std::sin(ph);
  double x = 27, y = 22, a = -0.5 + sway;
  for (int i = 0; i < 6; ++i) {
    double nx = x + std::cos(a) * 4.2, ny = y + std::sin(a) * 4.2;
    Limb(cr, x, y, nx, ny, 4.2 - i * 0.25, out);
    Limb(cr, x, y, nx, ny, 2.6 - i * 0.2, Mix(shell, lit, 0.35));
    Ellipse(cr, nx - 0.5, ny - 0.7, 0.7, 0.5);
    Col(cr, lit, 0.8);
    cairo_fill(cr);
    x = nx;
    y = ny;
    a -= 0.55;
  }
  Poly(cr, {x, y, x - 4, y + 2, x - 6, y + 5.5, x - 2, y + 3});
  Col(cr, 0xb0b8dc);
  cairo_fill(cr);
  // Two pincers held out ahead (to the left), drawn pixel by pixel so they read at their size: an
  // arm, a swollen palm and two hooked fingers with a gap of night between them while the claw is
  // open; they snap shut on frames 2 and 4. The far claw is a shade darker.
  static const std::vector<const char*> kOpen = {
      ".ooooo......",
      "ollllcooo...",
      ".oo..occcco.",
      ".....occllco",
      ".oo..occcco.",
      "occccccoo...",
      ".ooooo......",
  };
  static const std::vector<const char*> kShut = {
      "............",
      "..ooooooo...",
      ".olllcccco..",
      "occcccclllco",
      ".ooooccccco.",
      "..occccoo...",
      "...oooo.....",
  };
  const bool shut = std::sin(ph * 2) < -0.6;
  for (int side = 0; side < 2; ++side) {
    const int by = side ? 28 : 17;
    const uint32_t claw = Mix(shell, lit, side ? 0.55 : 0.35);
    Limb(cr, 11, 23 + (side ? 1.5 : -1.5), 7.5, by, 2.8, out);
    Limb(cr, 11, 23 + (side ? 1.5 : -1.5), 7.5, by, 1.4, claw);
    PixelMap(cr, -3, by - 3, shut ? kShut : kOpen,
             {{'o', out}, {'c', claw}, {'l', Mix(claw, 0xd0d8f8, side ? 0.45 : 0.3)}});
  }
  cairo_restore(cr);
}

}  // namespace

Image MakeBat() {
  SheetSpec spec(dusk::sheet::kBat);  // right first
  return BuildSheet(spec, BatFrame);
}

// The dialog's bat: larger, smooth, rimmed by moonlight so it reads on the black box.
Image MakeBatPreview() {
  SheetSpec spec(dusk::sheet::kBatPreview);
  return BuildSheet(spec, [](cairo_t* cr, int f) {
    const double lift = std::cos(2 * kPi * f / 8);
    const double cy = 15 - lift * 1.5;
    for (double s = -1; s <= 1; s += 2) {
      const double tipY = cy - lift * 12 + 2, elbY = cy - lift * 7 - 2;
      cairo_new_path(cr);
      cairo_move_to(cr, 18 + s * 2, cy - 2);
      cairo_line_to(cr, 18 + s * 9, elbY);
      cairo_line_to(cr, 18 + s * 17.5, tipY);
      cairo_curve_to(cr, 18 + s * 15, tipY + 4, 18 + s * 14, tipY + 5, 18 + s * 13, cy - lift * 8 + 6);
      cairo_curve_to(cr, 18 + s * 11.5, cy - lift * 5 + 4, 18 + s * 10.5, cy - lift * 4 + 5, 18 + s * 9,
                     cy - lift * 4 + 7);
      cairo_curve_to(cr, 18 + s * 7, cy - lift * 2 + 4, 18 + s * 5, cy - lift + 5, 18 + s * 2, cy + 5);
      cairo_close_path(cr);
      Col(cr, kBatInk);
      cairo_set_line_width(cr, 1.6);
      cairo_stroke_preserve(cr);
      Col(cr, s > 0 ? kBatMembrane : kBatMembraneFar);
      cairo_fill(cr);
      cairo_new_path(cr);
      cairo_move_to(cr, 18 + s * 2, cy - 2);
      cairo_line_to(cr, 18 + s * 9, elbY);
      cairo_line_to(cr, 18 + s * 17.5, tipY);
      cairo_set_line_width(cr, 1);
      Col(cr, kBatBone);
      cairo_stroke(cr);
      Limb(cr, 18 + s * 9, elbY, 18 + s * 13, cy - lift * 8 + 5, 0.7, Mix(kBatMembrane, kBatBone, 0.5));
      Limb(cr, 18 + s * 9, elbY, 18 + s * 9, cy - lift * 4 + 6, 0.7, Mix(kBatMembrane, kBatBone, 0.5));
    }
    Ellipse(cr, 18, cy + 2, 4, 6);
    Col(cr, kBatInk);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke_preserve(cr);
    Col(cr, kBatFur);
    cairo_fill(cr);
    Ellipse(cr, 18.5, cy - 3.5, 3.6, 3.2);
    Col(cr, kBatInk);
    cairo_stroke_preserve(cr);
    Col(cr, kBatHead);
    cairo_fill(cr);
    for (double s = -1; s <= 1; s += 2) {
      Poly(cr, {18.5 + s * 1, cy - 5.5, 18.5 + s * 3.4, cy - 10, 18.5 + s * 3.4, cy - 4.5});
      Col(cr, kBatInk);
      cairo_fill(cr);
      Ellipse(cr, 18.5 + s * 1.5, cy - 3.5, 0.9, 0.9);
      Col(cr, kBatEye);
      cairo_fill(cr);
    }
    Limb(cr, 17.5, cy - 1.3, 17.5, cy - 0.3, 0.6, 0xf0e8d8);
    Limb(cr, 19.5, cy - 1.3, 19.5, cy - 0.3, 0.6, 0xf0e8d8);
  });
}

// A firefly on black (drawn additively): its glow swells over frames 0..4 and fades again,
// around a warm yellow-green core that never quite goes out.
Image MakeFirefly() {
  SheetSpec spec(dusk::sheet::kFirefly);
  spec.look = Look::Glow;
  const std::vector<const char*> body = {".gy.", "gYYy", ".yg."};
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    const double pulse = 0.5 - 0.5 * std::cos(2 * kPi * f / 8);  // 0 dim .. 1 brightest (frame 4)
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    Glow(cr, 10, 9.5, 4 + 6 * pulse, 0x6aa018, 0.15 + 0.75 * pulse);
    Glow(cr, 10, 9.5, 2.5 + 3.5 * pulse, 0xd8f040, 0.35 + 0.6 * pulse);
    Glow(cr, 10, 9.5, 1.5 + pulse, 0xfff0a0, 0.5 + 0.5 * pulse);
    // Wings flicker in the light.
    const std::vector<const char*> wings = f % 2 ? std::vector<const char*>{"w..w"} : std::vector<const char*>{".ww."};
    PixelMap(cr, 8, 7, wings, {{'w', Scale(0x6a88a0, 0.3 + 0.5 * pulse)}});
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    const std::map<char, uint32_t> pal = {{'g', Mix(0x3a5010, 0x6a8a18, pulse)},
                                          {'y', Mix(0x98b030, 0xe0f050, pulse)},
                                          {'Y', Mix(0xd8e070, 0xfff8c0, pulse)}};
    PixelMap(cr, 8, 8, body, pal);
  });
}

Image MakeRat(int which) {
  SheetSpec spec(which == 1 ? dusk::sheet::kRat1 : dusk::sheet::kRat2);  // right first
  const double k = which == 1 ? 1.0 : 0.69;
  // Moonlight from above catches the fur along the back, head and tail.
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    RimLit(cr, [&](cairo_t* c) { Rat(c, f, k); }, 0.3, -1, 1.4 * k + 0.3, 0xb8c0e8, 0.75);
  });
}

// Crawls down and to the left; drawn facing right and mirrored.
Image MakeScorpion() {
  SheetSpec spec(dusk::sheet::kScorpion);
  spec.firstRunMirrored = false;
  return BuildSheet(spec, [](cairo_t* cr, int f) {
    // Facing left: pincers at the left edge. The moon rims the shell so it reads on dark earth.
    RimLit(cr, [&](cairo_t* c) { Scorpion(c, f); }, 0.3, -1, 1.0, 0xb8c0e8, 0.8);
  });
}

// A black widow hanging from her thread; the thread leaves the frame's top at x = 39.
Image MakeSpider() {
  SheetSpec spec(dusk::sheet::kSpider);
  return BuildSheet(spec, [](cairo_t* cr, int) {
    Limb(cr, 39.5, 0, 39.5, 12, 1, 0x808080);
    const double ax = 39.5, ay = 26, cx = 39.5, cy = 50;
    // Legs: four a side, jointed, spread around the body.
    const double hip[4] = {-0.9, -0.35, 0.25, 0.8};
    for (double s = -1; s <= 1; s += 2) {
      for (int i = 0; i < 4; ++i) {
        double a0 = kPi / 2 - s * (kPi / 2 + hip[i]);
        double ang0 = std::atan2(std::sin(a0) * 0.8 - 0.6, std::cos(a0));
        double l1 = 17 + (i == 0 || i == 3 ? 4 : 0), l2 = 20 + (i == 0 ? 6 : 0);
        double kx = cx + s * 4 + std::cos(ang0) * l1, ky = cy + std::sin(ang0) * l1 - 6;
        double fx = kx + s * 6 + std::cos(ang0) * 4, fy = ky + l2 * (i < 2 ? 0.9 : 1.0);
        if (i == 0) fy = ky + 20;
        fx = std::clamp(fx, 2.0, 77.0);
        fy = std::clamp(fy, 2.0, 91.0);
        Limb(cr, cx + s * 3, cy, kx, ky, 2.8, kInk);
        Limb(cr, kx, ky, fx, fy, 2.2, kInk);
        Limb(cr, cx + s * 3, cy, kx, ky, 1.2, 0x2a2a3c);
        Limb(cr, kx - 0.6, ky - 0.6, (kx + fx) / 2, (ky + fy) / 2 - 0.6, 0.6, 0x6a70a0, 0.8);
      }
    }
    // Abdomen: glossy black with the red hourglass.
    Ellipse(cr, ax, ay, 14, 15);
    Col(cr, kInk);
    cairo_fill(cr);
    Ellipse(cr, ax, ay, 13, 14);
    cairo_pattern_t* g = cairo_pattern_create_radial(ax + 5, ay - 6, 1, ax, ay, 14);
    AddStop(g, 0, 0x6a74a8);
    AddStop(g, 0.25, 0x1a1a2a);
    AddStop(g, 1, 0x050508);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Poly(cr, {ax - 4, ay - 6, ax + 4, ay - 6, ax + 0.8, ay, ax + 4, ay + 6, ax - 4, ay + 6, ax - 0.8, ay});
    Col(cr, 0xd01a20);
    cairo_fill(cr);
    Ellipse(cr, ax + 6, ay - 8, 2.4, 1.4, -0.6);
    Col(cr, 0xd8e0ff, 0.8);
    cairo_fill(cr);
    // Head and thorax.
    Ellipse(cr, cx, cy - 5, 7, 8);
    Col(cr, kInk);
    cairo_fill(cr);
    Ellipse(cr, cx, cy - 5, 6, 7);
    cairo_pattern_t* t = cairo_pattern_create_radial(cx + 3, cy - 9, 0.5, cx, cy - 5, 7);
    AddStop(t, 0, 0x4a5078);
    AddStop(t, 1, 0x08080c);
    cairo_set_source(cr, t);
    cairo_fill(cr);
    for (double s = -1; s <= 1; s += 2) {
      Ellipse(cr, cx + s * 1.8, cy + 1, 0.9, 0.9);
      Col(cr, 0xff5040);
      cairo_fill(cr);
      Limb(cr, cx + s * 1.5, cy + 2, cx + s * 2.5, cy + 5, 1.2, kInk);
    }
  });
}

// A dead orchid swaying on its stem: the bloom still open and pale in the moonlight, big enough to
// read as an orchid (the upright sepal, two broad petals, two sepals below and the pouched lip in
// the middle), but faded, its edges browning and curling, the head nodding on a bowed stem over
// two broad leaves, one gone yellow-brown; a dry petal on the ground.
Image MakeFlower(const Image& still) {
  SheetSpec spec(dusk::sheet::kFlower);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = 335;
  spec.sceneY = 468;
  return BuildSheet(spec, [](cairo_t* cr, int f) {
    const double sway = std::sin(2 * kPi * f / 8);
    // Broad strap leaves at the foot: one dark green with a moonlit edge, one withered and limp.
    for (double s = -1; s <= 1; s += 2) {
      cairo_new_path(cr);
      cairo_move_to(cr, 22, 48);
      cairo_curve_to(cr, 22 + s * 6, 40, 22 + s * 14, 40, 22 + s * 19, s > 0 ? 47 : 43);
      cairo_curve_to(cr, 22 + s * 13, 45, 22 + s * 8, 47, 22, 49);
      cairo_pattern_t* g = cairo_pattern_create_linear(0, 40, 0, 49);
      AddStop(g, 0, s > 0 ? 0x8a7a44 : 0x4a7048);
      AddStop(g, 1, s > 0 ? 0x4a3a20 : 0x1e3020);
      cairo_set_source(cr, g);
      cairo_fill_preserve(cr);
      cairo_pattern_destroy(g);
      Col(cr, kInk);
      cairo_set_line_width(cr, 0.9);
      cairo_stroke(cr);
    }
    // The stem rises and bows over; the head hangs from its end, nodding down and to the right.
    const double hx = 31 + sway * 2, hy = 20 + std::abs(sway) * 0.6;
    cairo_new_path(cr);
    cairo_move_to(cr, 20, 47);
    cairo_curve_to(cr, 18, 30, 20 + sway, 8, hx - 3, hy - 7);
    cairo_set_line_width(cr, 2.8);
    Col(cr, kInk);
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, 1.4);
    Col(cr, 0x7a7848);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, hx, hy);
    cairo_rotate(cr, 0.55 + sway * 0.12);
    const uint32_t pale = 0xe4d6e4, mauve = 0xae88b8, brown = 0x7a5434, vein = 0x8a5a90;
    // One petal or sepal: a pointed oval from the heart out along angle a, `l` long, `w` wide,
    // browning towards its tip by `dry`.
    auto petal = [&](double a, double l, double w, double dry, double curl) {
      cairo_save(cr);
      cairo_rotate(cr, a);
      auto path = [&] {
        cairo_new_path(cr);
        cairo_move_to(cr, 0, 0);
        cairo_curve_to(cr, l * 0.3, -w * 0.65, l * 0.75, -w * 0.55 + curl, l, curl);
        cairo_curve_to(cr, l * 0.75, w * 0.55 + curl, l * 0.3, w * 0.65, 0, 0);
      };
      path();
      Col(cr, kInk);
      cairo_set_line_width(cr, 1.6);
      cairo_stroke(cr);
      path();
      cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, l, 0);
      AddStop(g, 0, pale);
      AddStop(g, 0.55, Mix(pale, mauve, 0.5));
      AddStop(g, 1, Mix(mauve, brown, dry));
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      Limb(cr, l * 0.15, 0, l * 0.8, curl * 0.6, 0.6, vein, 0.7);
      cairo_restore(cr);
    };
    // The bloom faces the viewer, hanging: "up" for the flower is down-right of the stem's end.
    const double droop = 0.25 * std::sin(2 * kPi * f / 8 + 1);
    petal(-kPi / 2, 10, 5.5, 0.7, 0);                // the upright sepal
    petal(kPi / 2 - 0.55, 9.5, 4.2, 0.9, 0.8);       // the lower sepals
    petal(kPi / 2 + 0.55, 9.5, 4.2, 1.0, -0.8);
    petal(-0.2, 11, 7.5, 0.65, 1.2);                 // the broad side petals
    petal(kPi + 0.6 + droop, 10, 6.5, 0.95, -2.2);   // this one drooping, curled and brown
    // The lip: a dark wine pouch below the column, its throat yellowed, spotted.
    Ellipse(cr, 0, 4.2, 4.4, 4.8);
    Col(cr, kInk);
    cairo_fill(cr);
    Ellipse(cr, 0, 4.2, 3.4, 3.9);
    cairo_pattern_t* lg = cairo_pattern_create_radial(0, 2.5, 0.5, 0, 4.2, 4);
    AddStop(lg, 0, 0xd8a848);
    AddStop(lg, 0.4, 0x9a3060);
    AddStop(lg, 1, 0x5a1830);
    cairo_set_source(cr, lg);
    cairo_fill(cr);
    cairo_pattern_destroy(lg);
    for (auto [sx, sy] : {std::pair{-1.4, 5.6}, {1.3, 5.2}, {0.1, 7.0}}) {
      Ellipse(cr, sx, sy, 0.6, 0.6);
      Col(cr, 0x3a0c1c);
      cairo_fill(cr);
    }
    // The column, a pale nub at the heart.
    Ellipse(cr, 0, -0.6, 1.5, 1.9);
    Col(cr, kInk);
    cairo_fill(cr);
    Ellipse(cr, 0, -0.6, 0.9, 1.3);
    Col(cr, 0xfff6e8);
    cairo_fill(cr);
    cairo_restore(cr);
    // A dry petal fallen to the ground.
    Ellipse(cr, 36, 47.5, 3.2, 1.2, 0.2);
    Col(cr, kInk);
    cairo_fill(cr);
    Ellipse(cr, 36, 47.3, 2.5, 0.7, 0.2);
    Col(cr, 0x9a7858);
    cairo_fill(cr);
  });
}

// A jack-o'-lantern bouncing inside its tall frame: on the ground (squashed) on frame 0, highest
// between frames 3 and 5.
Image MakePumpkin() {
  SheetSpec spec(dusk::sheet::kPumpkin);
  return BuildSheet(spec, [](cairo_t* cr, int f) {
    const double u = f / 8.0;
    const double height = 4 * u * (1 - u) * 90;
    const double squash = f == 0 ? 0.82 : (f == 1 || f == 7 ? 1.08 : 1.0);
    const double rx = 20 / std::sqrt(squash), ry = 17 * squash;
    const double cx = 23, cy = 136 - ry - height;
    const double tilt = 0.12 * std::sin(2 * kPi * u);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, tilt);
    // Stem.
    Poly(cr, {-2, -ry + 2, -1, -ry - 6, 3, -ry - 7, 2.5, -ry + 2});
    Col(cr, kInk);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke_preserve(cr);
    Col(cr, 0x4a5a2a);
    cairo_fill(cr);
    // Ribbed body.
    const double ribs[] = {-0.72, -0.38, 0, 0.38, 0.72};
    Ellipse(cr, 0, 0, rx, ry);
    Col(cr, kInk);
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(rx * 0.35, -ry * 0.4, 2, 0, 0, rx * 1.1);
    AddStop(g, 0, 0xffb050);
    AddStop(g, 0.45, 0xe8771a);
    AddStop(g, 1, 0x7a3208);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (double r : ribs) {
      cairo_new_path(cr);
      cairo_move_to(cr, r * rx * 0.4, -ry + 1);
      cairo_curve_to(cr, r * rx * 1.25, -ry * 0.5, r * rx * 1.25, ry * 0.5, r * rx * 0.4, ry - 1);
      cairo_set_line_width(cr, 1.1);
      Col(cr, 0x6a2a06, 0.8);
      cairo_stroke(cr);
    }
    // Moonlight on the upper right.
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_scale(cr, (rx - 2) / rx, (ry - 2) / ry);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, -1.3, -0.3);
    cairo_restore(cr);
    cairo_set_line_width(cr, 1.4);
    Col(cr, 0xc8d0f0, 0.55);
    cairo_stroke(cr);
    // Candlelight glowing through the thin carved skin around the face.
    cairo_save(cr);
    Ellipse(cr, 0, 0, rx - 1, ry - 1);
    cairo_clip(cr);
    cairo_pattern_t* warm = cairo_pattern_create_radial(0, 2, 2, 0, 2, rx * 0.95);
    AddStop(warm, 0, 0xffc040, 0.45);
    AddStop(warm, 0.55, 0xffa020, 0.2);
    AddStop(warm, 1, 0xff8010, 0);
    cairo_set_source(cr, warm);
    cairo_paint(cr);
    cairo_pattern_destroy(warm);
    cairo_restore(cr);
    // The carved face glowing from within.
    auto face = [&](cairo_t* c) {
      Poly(c, {-11, -4, -4, -4, -7.5, -11});
      Poly(c, {4, -4, 11, -4, 7.5, -11});
      Poly(c, {-1.5, 0, 1.5, 0, 0, -3});
      Poly(c, {-13, 3, -9, 5, -7, 3, -4, 6, -1, 4, 2, 6, 5, 4, 8, 6, 10, 3, 13, 3, 8, 11, 3, 9, -2, 11,
               -7, 9, -11, 10});
    };
    // Cut edges: dark rind above, the pale flesh of the cut below and to the right, then the
    // flame-lit inside, white-hot at the middle.
    face(cr);
    Col(cr, 0x3a1004);
    cairo_set_line_width(cr, 1.3);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    cairo_save(cr);
    cairo_translate(cr, 0.7, 0.9);
    face(cr);
    Col(cr, 0xffe080);
    cairo_fill(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_translate(cr, 0.3, 0.5);
    cairo_scale(cr, 0.93, 0.93);
    face(cr);
    cairo_pattern_t* fg = cairo_pattern_create_radial(0, 1, 1, 0, 1, 14);
    AddStop(fg, 0, 0xfffff0);
    AddStop(fg, 0.3, 0xfff07a);
    AddStop(fg, 0.7, 0xffb82a);
    AddStop(fg, 1, 0xff8a10);
    cairo_set_source(cr, fg);
    cairo_fill(cr);
    cairo_pattern_destroy(fg);
    cairo_restore(cr);
    cairo_restore(cr);
  });
}

}  // namespace assetgen
