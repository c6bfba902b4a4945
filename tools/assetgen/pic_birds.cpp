// Birds: the cawing crow on the big stone, the pecking crow at its foot, the white dove, and the
// owl on its branch (its frames carry the branch behind it), with the dialog's owl close-up.
#include <algorithm>
#include <cmath>

#include "pic_art.h"
#include "pic_draw.h"

namespace assetgen {
namespace {

constexpr uint32_t kInk = 0x07070d;

struct CrowPose {
  double bodyTilt = 0;    // radians, nose down positive
  double headX = 0, headY = 0;
  double headTilt = 0;
  double beak = 0;        // 0 closed .. 1 wide open
  double wing = 0;        // 0 folded .. 1 half spread
  bool lookBack = false;  // head turned over the shoulder
  double blink = 0;
};

// A crow facing right, standing with its feet at (fx, fy), `k` times the size of the perched crow.
void Crow(cairo_t* cr, double fx, double fy, double k, const CrowPose& p) {
  const uint32_t body = 0x11121e, sheen = 0x4a5a94, violet = 0x3a2a5a;
  cairo_save(cr);
  cairo_translate(cr, fx, fy);
  cairo_scale(cr, k, k);
  // Legs.
  Limb(cr, -2, -9, -4, 0, 1.8, kInk);
  Limb(cr, 4, -9, 4, 0, 1.8, kInk);
  for (double x : {-4.0, 4.0}) {
    Limb(cr, x, 0, x + 5, 0.5, 1.3, kInk);
    Limb(cr, x, 0, x - 3, 0.5, 1.3, kInk);
  }
  cairo_translate(cr, 0, -14);
  cairo_rotate(cr, p.bodyTilt);
  // Tail: long wedge down and back.
  Poly(cr, {-10, -2, -34, 14, -35, 18, -30, 19, -8, 6});
  Col(cr, body);
  cairo_fill(cr);
  Limb(cr, -12, 0, -33, 14, 0.8, sheen, 0.6);
  // Body.
  Ellipse(cr, 0, -6, 16, 10, -0.35);
  cairo_pattern_t* g = cairo_pattern_create_linear(8, -16, -8, 4);
  AddStop(g, 0, Mix(body, sheen, 0.6));
  AddStop(g, 0.35, body);
  AddStop(g, 1, 0x05050a);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Wing: folded along the side, lifting for the caw.
  cairo_save(cr);
  cairo_translate(cr, 6, -10);
  cairo_rotate(cr, -0.25 - p.wing * 0.7);
  Poly(cr, {0, 0, -8, -3 - p.wing * 6, -24, 2 - p.wing * 8, -30, 8 - p.wing * 6, -22, 9, -10, 8});
  Col(cr, 0x0c0d18);
  cairo_fill_preserve(cr);
  cairo_set_line_width(cr, 1);
  Col(cr, sheen, 0.7);
  cairo_stroke(cr);
  for (int i = 0; i < 4; ++i) Limb(cr, -12 - i * 4, 6, -16 - i * 4, 9, 0.8, violet, 0.9);
  cairo_restore(cr);
  // Head and neck.
  const double hx = 14 + p.headX, hy = -16 + p.headY;
  Taper(cr, 6, -10, hx, hy, 12, 10);
  Col(cr, body);
  cairo_fill(cr);
  cairo_save(cr);
  cairo_translate(cr, hx, hy);
  cairo_rotate(cr, p.headTilt);
  if (p.lookBack) cairo_scale(cr, -1, 1);
  Ellipse(cr, 0, 0, 7, 6.5);
  cairo_pattern_t* hg = cairo_pattern_create_radial(2, -4, 0.5, 0, 0, 8);
  AddStop(hg, 0, Mix(body, sheen, 0.8));
  AddStop(hg, 1, body);
  cairo_set_source(cr, hg);
  cairo_fill(cr);
  cairo_pattern_destroy(hg);
  // Beak: upper and lower mandible; the lower drops open.
  const double open = p.beak * 0.55;
  Poly(cr, {4, -3, 17, 0.5, 5, 1.5});
  Col(cr, 0x15151c);
  cairo_fill(cr);
  Limb(cr, 5, -2.6, 16, 0.3, 0.8, 0x6a7098, 0.8);
  cairo_save(cr);
  cairo_translate(cr, 5, 1);
  cairo_rotate(cr, open);
  Poly(cr, {0, 0, 11, 0.2, 0, 3});
  Col(cr, 0x15151c);
  cairo_fill(cr);
  cairo_restore(cr);
  if (p.beak > 0.3) {
    Poly(cr, {5, 1.4, 12, 1.2 + open * 6, 5, 2.2});
    Col(cr, 0x8a2a3a);
    cairo_fill(cr);
  }
  // Eye.
  if (p.blink < 0.5) {
    Ellipse(cr, 2, -1.5, 1.9, 1.9);
    Col(cr, 0xd8c070);
    cairo_fill(cr);
    Ellipse(cr, 2.3, -1.5, 1, 1.2);
    Col(cr, kInk);
    cairo_fill(cr);
    Ellipse(cr, 2.7, -2.2, 0.5, 0.5);
    Col(cr, 0xffffff);
    cairo_fill(cr);
  } else {
    Limb(cr, 0.5, -1.5, 3.5, -1.2, 0.9, 0x3a3a50);
  }
  cairo_restore(cr);
  // Ruffled throat feathers while calling.
  if (p.beak > 0.5)
    for (int i = 0; i < 4; ++i) Limb(cr, hx - 2 + i, hy + 6, hx - 4 + i * 1.5, hy + 10, 1, body);
  cairo_restore(cr);
}

// ---- owl -----------------------------------------------------------------------------------

// An owl facing us, feet at (cx, fy); `open` 0 asleep .. 1 eyes wide.
void Owl(cairo_t* cr, double cx, double fy, double k, double open, double turn) {
  const uint32_t plume = 0x4e4048, plumeLit = 0xa89a9a, disc = 0x8a7c78, out = 0x0a090c;
  cairo_save(cr);
  cairo_translate(cr, cx, fy);
  cairo_scale(cr, k, k);
  // Body: an egg of feathers.
  auto body = [&](cairo_t* c) {
    cairo_new_path(c);
    cairo_move_to(c, 0, -42);
    cairo_curve_to(c, 11, -42, 13, -28, 12, -16);
    cairo_curve_to(c, 11, -5, 6, -1, 0, -1);
    cairo_curve_to(c, -6, -1, -11, -5, -12, -16);
    cairo_curve_to(c, -13, -28, -11, -42, 0, -42);
    cairo_close_path(c);
  };
  body(cr);
  Col(cr, out);
  cairo_set_line_width(cr, 2.2);
  cairo_stroke_preserve(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(10, -40, -10, -2);
  AddStop(g, 0, Mix(plume, plumeLit, 0.6));
  AddStop(g, 0.5, plume);
  AddStop(g, 1, Scale(plume, 0.5));
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // Breast: pale with dark chevrons.
  Ellipse(cr, 0, -13, 7, 10);
  Col(cr, Mix(disc, 0xd0c8c0, 0.25));
  cairo_fill(cr);
  for (int row = 0; row < 4; ++row)
    for (int i = -1; i <= 1; ++i) {
      double x = i * 3.5 + (row % 2) * 1.7, y = -20 + row * 4;
      Poly(cr, {x - 1.3, y, x, y + 1.4, x + 1.3, y}, false);
      cairo_set_line_width(cr, 0.8);
      Col(cr, 0x3a2e30);
      cairo_stroke(cr);
    }
  // Wings folded at the sides.
  for (double s = -1; s <= 1; s += 2) {
    Poly(cr, {s * 11.5, -30, s * 13, -16, s * 9, -2, s * 7, -16});
    Col(cr, s > 0 ? Mix(plume, plumeLit, 0.3) : Scale(plume, 0.7));
    cairo_fill(cr);
    for (int i = 0; i < 3; ++i) Limb(cr, s * (9 + i), -22 + i * 5, s * (11 + i * 0.5), -16 + i * 5, 0.7, 0x2a2228);
  }
  // Talons on the branch.
  for (double s = -1; s <= 1; s += 2)
    for (int i = -1; i <= 1; ++i) Limb(cr, s * 3.5, -2, s * 3.5 + i * 1.8, 1.5, 1.1, 0x2a2420);
  // Head, turned a little, with ear tufts.
  cairo_translate(cr, turn, 0);
  for (double s = -1; s <= 1; s += 2) {
    Poly(cr, {s * 4, -40, s * 10, -47, s * 9, -38});
    Col(cr, plume);
    cairo_fill(cr);
  }
  // Facial disc.
  for (double s = -1; s <= 1; s += 2) {
    Ellipse(cr, s * 4.6, -34, 5.4, 5.2);
    Col(cr, disc);
    cairo_fill(cr);
  }
  Limb(cr, 0, -39, 0, -30, 1, 0x3a2e30);
  // Eyes.
  for (double s = -1; s <= 1; s += 2) {
    const double ex = s * 4.6, ey = -34;
    if (open < 0.15) {
      Limb(cr, ex - 2.6, ey, ex + 2.6, ey, 1, 0x2a2024);
      Limb(cr, ex - 2.6, ey + 0.3, ex + 2.6, ey + 0.3, 0.6, 0x6a5e5a);
    } else {
      Ellipse(cr, ex, ey, 3.4, 3.4 * open);
      Col(cr, out);
      cairo_fill(cr);
      Ellipse(cr, ex, ey, 2.8, 2.8 * open);
      Col(cr, Mix(0xe09a20, 0xffd84a, open));
      cairo_fill(cr);
      Ellipse(cr, ex + turn * 0.15, ey, 1.3 + 0.3 * open, 1.4 * open);
      Col(cr, out);
      cairo_fill(cr);
      if (open > 0.5) {
        Ellipse(cr, ex + 0.8, ey - 0.9, 0.6, 0.6);
        Col(cr, 0xffffff);
        cairo_fill(cr);
      }
      // Lids.
      Limb(cr, ex - 3, ey - 3.4 * open, ex + 3, ey - 3.4 * open, 1, Scale(disc, 0.6));
    }
  }
  Poly(cr, {-1.3, -31.5, 1.3, -31.5, 0, -28.5});
  Col(cr, 0x2a2018);
  cairo_fill(cr);
  cairo_restore(cr);
}

}  // namespace

// Perched on the arch's shoulder, feet at (41, 41); frame 5 caws.
Image MakeCrow1(const Image& still) {
  SheetSpec spec(dusk::sheet::kCrow1);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = 66;
  spec.sceneY = 365;
  CrowPose poses[6];
  poses[0].bodyTilt = 0.15;  // settling: head down
  poses[0].headX = 2;
  poses[0].headY = 6;
  poses[0].headTilt = 0.35;
  poses[1] = CrowPose{};     // at rest
  poses[2].headX = -2;       // turning, a blink
  poses[2].headY = -1;
  poses[2].blink = 1;
  poses[3].headX = -3;       // looking back over its shoulder
  poses[3].lookBack = true;
  poses[3].headTilt = 0.1;
  poses[4].bodyTilt = -0.1;  // drawing breath, beak parting
  poses[4].headX = 2;
  poses[4].headY = -3;
  poses[4].headTilt = -0.25;
  poses[4].beak = 0.35;
  poses[4].wing = 0.3;
  poses[5].bodyTilt = 0.05;  // the caw
  poses[5].headX = 5;
  poses[5].headY = -4;
  poses[5].headTilt = -0.45;
  poses[5].beak = 1;
  poses[5].wing = 1;
  // The moon stands high to the right: its light rims the crow's head, back and tail.
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    RimLit(cr, [&](cairo_t* c) { Crow(c, 41, 41, 1.0, poses[f]); }, 0.7, -1, 2.0, 0xc0d0f8, 0.9);
  });
}

// On the ground at the foot of the big stone, pecking, facing left.
Image MakeCrow2(const Image& still) {
  SheetSpec spec(dusk::sheet::kCrow2);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = 100;
  spec.sceneY = 540;
  // Drawn facing right, then mirrored by hand to face the blood pool at the left.
  const double tilt[] = {0, 0.35, 0.7, 0.55, 0.7, 0.3, -0.05};
  const double hy[] = {0, 6, 14, 10, 14, 4, -1};
  const double hx[] = {0, 3, 4, 4, 4, 2, -1};
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    cairo_translate(cr, 84, 0);
    cairo_scale(cr, -1, 1);
    CrowPose p;
    p.bodyTilt = tilt[f];
    p.headX = hx[f];
    p.headY = hy[f];
    p.headTilt = tilt[f] * 0.8;
    p.lookBack = f == 6;
    p.wing = f == 6 ? 0.25 : 0;
    // Mirrored, so the moon at the right of the scene lights it from behind (-x here).
    RimLit(cr, [&](cairo_t* c) { Crow(c, 40, 56, 0.95, p); }, -1, -0.9, 1.6, 0xb8c8f0, 0.9);
  });
}

// A small white dove in flight; wings beat through eight frames. Left first.
Image MakeDove() {
  SheetSpec spec(dusk::sheet::kDove);
  spec.firstRunMirrored = true;
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    const double a = std::cos(2 * kPi * f / 8);  // 1 wings up, -1 wings down
    const double bob = -a * 1.5;
    cairo_translate(cr, 0, 23 + bob);
    const uint32_t white = 0xeef0fa, shade = 0x8a94c0, out = 0x1c1e30;
    // A wing from the shoulder: the arm out to the wrist, the hand on to the tip, and the trailing
    // edge coming back as four separate primaries and the secondaries' softer line to the body.
    // On the downstroke (frames 1..4) the wing is spread wide; on the way up it is bent at the
    // wrist and the hand sweeps back. Level wings are swept back along the body.
    const bool upstroke = f >= 5 || f == 0;
    auto wing = [&](double lift, double len, uint32_t c, uint32_t vane) {
      const double reach = len * (0.35 + 0.65 * std::abs(lift));
      const double sx = 16, sy = -1.5;
      auto unit = [](double x, double y, double& ox, double& oy) {
        const double n = std::hypot(x, y);
        ox = x / n;
        oy = y / n;
      };
      double ax, ay, hx, hy;
      unit(-0.35, -lift - (lift >= 0 ? 0.05 : -0.05), ax, ay);
      unit(upstroke ? -1.0 : -0.35, -lift * (upstroke ? 0.8 : 1.0), hx, hy);
      double wx = sx + ax * reach * 0.42, wy = sy + ay * reach * 0.42;
      double tx = wx + hx * reach * 0.62, ty = wy + hy * reach * 0.62;
      if (std::abs(lift) < 0.2) {
        // Level: the wing is seen a little from above, swept back over the back with the
        // primaries past the tail; the far wing shows as a second, higher edge behind it.
        const double rise = upstroke ? 1.0 : 0.0, far = len < 19 ? 1.0 : 0.0;
        wx = 9.5 + far * 1.5;
        wy = -6 - 1.5 * rise - far * 2.5;
        tx = -2 + far * 3;
        ty = -7.5 - 3 * rise - far * 3.5;
        hx = tx - wx;
        hy = ty - wy;
        unit(hx, hy, hx, hy);
      }
      // "Back": across the hand, towards the tail.
      double bx = -hy, by = hx;
      if (bx > 0) {
        bx = -bx;
        by = -by;
      }
      cairo_new_path(cr);
      cairo_move_to(cr, sx + 1, sy + 1);
      cairo_curve_to(cr, sx + ax * 2 + 0.8, sy + ay * 2, wx + 0.6, wy - 0.3, wx, wy);
      cairo_line_to(cr, tx, ty);
      for (int i = 0; i < 4; ++i) {
        const double t = i * 0.2;
        const double fx = tx + (wx - tx) * t + bx * (1.2 + i * 1.7), fy = ty + (wy - ty) * t + by * (1.2 + i * 1.7);
        const double nx = tx + (wx - tx) * (t + 0.12) + bx * (0.4 + i * 1.2), ny = ty + (wy - ty) * (t + 0.12) + by * (0.4 + i * 1.2);
        if (i == 0) {
          cairo_line_to(cr, fx, fy);
        } else {
          cairo_line_to(cr, nx, ny);
          cairo_line_to(cr, fx, fy);
        }
      }
      // Secondaries: a gently scalloped edge back to the body.
      const double ex = wx + bx * 7, ey = wy + by * 7;
      cairo_curve_to(cr, ex, ey, (ex + 9) / 2, (ey + 1) / 2 + by * 0.5, 9, 1);
      cairo_close_path(cr);
      Col(cr, out);
      cairo_set_line_width(cr, 1.2);
      cairo_stroke_preserve(cr);
      cairo_pattern_t* g = cairo_pattern_create_linear(sx, sy, tx, ty);
      AddStop(g, 0, c);
      AddStop(g, 1, Mix(c, vane, 0.45));
      cairo_set_source(cr, g);
      cairo_fill(cr);
      cairo_pattern_destroy(g);
      // The covert feathers' edge and the primaries' shafts.
      Limb(cr, sx - 1 + bx * 1.5, sy + by * 1.5, wx + bx * 2, wy + by * 2, 0.7, vane, 0.7);
      for (int i = 1; i < 4; ++i) {
        const double t = i * 0.2;
        Limb(cr, wx, wy, tx + (wx - tx) * t + bx * (0.8 + i * 1.5), ty + (wy - ty) * t + by * (0.8 + i * 1.5),
             0.6, vane, 0.8);
      }
    };
    wing(a * 0.9, 17, Scale(shade, 0.85), Scale(shade, 0.55));
    // Body, tail and head.
    Poly(cr, {6, -1, 0.5, -3, 0.5, 3, 6, 2});
    Col(cr, out);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    Col(cr, shade);
    cairo_fill(cr);
    Ellipse(cr, 13, 0, 8, 3.6);
    Col(cr, out);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, -4, 0, 4);
    AddStop(g, 0, white);
    AddStop(g, 1, shade);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Ellipse(cr, 21.5, -2.2, 3, 2.8);
    Col(cr, out);
    cairo_stroke_preserve(cr);
    Col(cr, white);
    cairo_fill(cr);
    Poly(cr, {24, -2.6, 26.5, -1.6, 24, -1});
    Col(cr, 0xd89a70);
    cairo_fill(cr);
    Ellipse(cr, 22.4, -2.8, 0.6, 0.6);
    Col(cr, kInk);
    cairo_fill(cr);
    wing(a, 21, white, shade);
  });
}

// The owl sits on its branch at (688, 174); each frame is copied opaquely, so it carries the sky
// and the branch behind it. Its eyes open over frames 0..5, wide on 5.
Image MakeOwl(const Image& still) {
  constexpr dusk::SpriteSheet s = dusk::sheet::kOwl;
  Canvas c(s.width, s.height);
  const Image behind = Crop(still, kOwlX, kOwlY, s.width, s.height);
  Image sheet(s.width * s.frames, s.height);
  const double open[s.frames] = {0, 0.15, 0.35, 0.6, 0.8, 1.0};
  const double turn[s.frames] = {0, 0.4, 0.8, 0.6, 0.2, 0};
  for (int f = 0; f < s.frames; ++f) {
    c.Clear();
    Owl(c.cr(), 16, 44.5, 0.9, open[f], turn[f]);
    Paste(sheet, Over(c, behind), f * s.width, 0);
  }
  return sheet;
}

// The dialog's owl: close up on a stub of branch, eyes opening over four frames; masked.
Image MakeOwlPreview() {
  SheetSpec spec(dusk::sheet::kOwlPreview);
  const double open[] = {0, 0.35, 0.7, 1.0};
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    Taper(cr, 2, 74, 80, 70, 9, 6);
    Col(cr, 0x15141c);
    cairo_fill(cr);
    Limb(cr, 4, 70.5, 78, 67, 1.2, 0x5a6090);
    Limb(cr, 60, 70, 72, 60, 2.5, 0x15141c);
    Owl(cr, 41, 72, 1.55, open[f], f == 3 ? 0 : 0.5);
  });
}

}  // namespace assetgen
