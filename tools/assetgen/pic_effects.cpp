// Light and liquid: the lightning bolts, the lost spirit, the blood running down the big stone,
// the medallion's glint, and the pre-drawn preview of the whole graveyard.
#include <algorithm>
#include <cmath>

#include "pic_art.h"
#include "pic_draw.h"

namespace assetgen {
namespace {

constexpr uint32_t kInk = 0x07070d;

// ---- lightning -----------------------------------------------------------------------------

struct Pt {
  double x, y;
};

// A jagged path from a to b by repeated midpoint displacement.
std::vector<Pt> Jag(Rng& rng, Pt a, Pt b, double rough, int levels) {
  std::vector<Pt> pts = {a, b};
  for (int l = 0; l < levels; ++l) {
    std::vector<Pt> next;
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
      Pt p = pts[i], q = pts[i + 1];
      double len = std::hypot(q.x - p.x, q.y - p.y);
      double off = rng.Range(-1, 1) * rough * len;
      Pt m{(p.x + q.x) / 2 + off * (q.y - p.y) / len, (p.y + q.y) / 2 - off * (q.x - p.x) / len};
      next.push_back(p);
      next.push_back(m);
    }
    next.push_back(pts.back());
    pts = next;
  }
  return pts;
}

void StrokeBolt(cairo_t* cr, const std::vector<Pt>& pts, double w, double bright) {
  auto path = [&] {
    cairo_new_path(cr);
    for (const Pt& p : pts) cairo_line_to(cr, p.x, p.y);
  };
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  const double glow[][2] = {{w * 10, 0.06}, {w * 6, 0.10}, {w * 3.5, 0.18}, {w * 2.2, 0.45}};
  for (const auto& g : glow) {
    path();
    cairo_set_line_width(cr, g[0]);
    Col(cr, 0x8a9cff, g[1] * bright);
    cairo_stroke(cr);
  }
  path();
  cairo_set_line_width(cr, w);
  Col(cr, 0xf4f6ff, std::min(1.0, bright));
  cairo_stroke(cr);
}

void Bolt(cairo_t* cr, uint64_t seed, Pt top, Pt end, bool bright) {
  Rng rng(seed);
  auto trunk = Jag(rng, top, end, 0.28, 5);
  if (bright) {
    // Branches fork from the trunk.
    Rng br(seed + 100);
    for (int i = 0; i < 5; ++i) {
      size_t at = 4 + static_cast<size_t>(br.Uni() * (trunk.size() - 10));
      Pt s = trunk[at];
      double dir = br.Uni() < 0.5 ? -1 : 1;
      Pt e{s.x + dir * br.Range(25, 55), s.y + br.Range(20, 50)};
      e.x = std::clamp(e.x, 8.0, 163.0);
      e.y = std::min(e.y, 176.0);
      StrokeBolt(cr, Jag(br, s, e, 0.3, 4), 1.2, 0.8);
    }
  }
  StrokeBolt(cr, trunk, bright ? 2.6 : 1.8, bright ? 1.0 : 0.85);
}

// ---- the lost spirit -----------------------------------------------------------------------

// A hooded spirit drifting left with a lantern held out before it, its robe thinning into wisps.
// The scene ORs it over whatever is behind, so it is drawn as light: a thin aura, a body bright
// enough at the shoulders to lift any background to one even pale blue (faint light ORed in only
// speckles the scene) that fades down the robe, a moonlit rim on its leading edge, the lantern.
void Spirit(cairo_t* cr, int f) {
  const double ph = 2 * kPi * f / 14;
  const double bob = 3 * std::sin(ph);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  const uint32_t ghost = 0x5a84ff, pale = 0x90b0ff;
  cairo_translate(cr, 0, bob);
  // The robe's outline: hood, shoulders, a hem that breaks into tails streaming back (right).
  auto robe = [&](double grow) {
    cairo_new_path(cr);
    cairo_move_to(cr, 33 - grow, 24);
    cairo_curve_to(cr, 27 - grow, 50, 25 - grow, 88, 30 - grow, 112);
    for (int i = 0; i < 4; ++i) {
      const double x = 32 + i * 11, wave = 5 * std::sin(ph * 2 + i * 1.3);
      cairo_line_to(cr, x + 9 + wave + i * 4, 128 + i * 6 + wave * 0.5 + grow);
      cairo_line_to(cr, x + 11, 116 + i * 2);
    }
    cairo_curve_to(cr, 72 + grow, 104, 66 + grow, 60, 58 + grow, 26);
    cairo_curve_to(cr, 55, 9 - grow, 37, 8 - grow, 33 - grow, 24);
    cairo_close_path(cr);
  };
  // Aura: the outline grown in steps, each adding a breath of light.
  for (int g = 4; g >= 2; g -= 2) {
    robe(g);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 10, 0, 150);
    AddStop(p, 0, ghost, 0.06);
    AddStop(p, 0.6, ghost, 0.03);
    AddStop(p, 1, ghost, 0.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
  }
  // Body: brightest at the shoulders, fading to nothing at the hem; lit from the left.
  robe(0);
  cairo_pattern_t* body = cairo_pattern_create_linear(0, 12, 0, 140);
  // Even light over the hood and shoulders, half as much over the robe (whole levels of light, no
  // dither), fading at the hem.
  AddStop(body, 0, ghost, 0.5);
  AddStop(body, 0.32, ghost, 0.5);
  AddStop(body, 0.4, ghost, 0.25);
  AddStop(body, 0.62, ghost, 0.25);
  AddStop(body, 0.85, ghost, 0.06);
  AddStop(body, 0.95, ghost, 0.0);
  cairo_set_source(cr, body);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(body);
  cairo_pattern_t* side = cairo_pattern_create_linear(26, 0, 70, 0);
  AddStop(side, 0, pale, 0.3);
  AddStop(side, 0.5, pale, 0.0);
  cairo_set_source(cr, side);
  cairo_fill(cr);
  cairo_pattern_destroy(side);
  // Rim: a thin line of moonlight along the hood and the leading edge, fading down the robe.
  cairo_new_path(cr);
  cairo_move_to(cr, 57, 24);
  cairo_curve_to(cr, 54, 9, 37, 8, 33, 24);
  cairo_curve_to(cr, 27, 50, 25, 88, 30, 112);
  cairo_set_line_width(cr, 1.3);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_pattern_t* rim = cairo_pattern_create_linear(0, 8, 0, 116);
  AddStop(rim, 0, 0xd8e8ff, 1.0);
  AddStop(rim, 0.5, pale, 0.7);
  AddStop(rim, 1, pale, 0.0);
  cairo_set_source(cr, rim);
  cairo_stroke(cr);
  cairo_pattern_destroy(rim);
  // Folds: faint streaks that sway with the drift.
  for (int i = 0; i < 3; ++i) {
    cairo_new_path(cr);
    cairo_move_to(cr, 42 + i * 7, 38);
    cairo_curve_to(cr, 40 + i * 9, 68, 44 + i * 10 + 3 * std::sin(ph + i), 96, 47 + i * 12, 120);
    cairo_set_line_width(cr, 2);
    cairo_pattern_t* fold = cairo_pattern_create_linear(0, 38, 0, 120);
    AddStop(fold, 0, pale, 0.3);
    AddStop(fold, 1, pale, 0.0);
    cairo_set_source(cr, fold);
    cairo_stroke(cr);
    cairo_pattern_destroy(fold);
  }
  // Wisps trailing from the tails.
  for (int i = 0; i < 3; ++i) {
    const double x0 = 46 + i * 12, y0 = 124 + i * 5, w = 4 * std::sin(ph * 2 + i * 2.1);
    cairo_new_path(cr);
    cairo_move_to(cr, x0, y0);
    cairo_curve_to(cr, x0 + 6, y0 + 6 + w, x0 + 10, y0 + 12 - w, x0 + 14 + w, y0 + 18);
    cairo_set_line_width(cr, 1.2);
    Col(cr, ghost, 0.25);
    cairo_stroke(cr);
  }
  // The hood's dark hollow and two small cold eyes.
  Ellipse(cr, 40, 30, 7, 9, 0.2);
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  Col(cr, 0x000000, 0.85);
  cairo_fill(cr);
  cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
  const double blink = (f == 6) ? 0.15 : 1.0;
  for (double ex : {37.0, 42.5}) {
    Glow(cr, ex, 30, 3.2, 0x60c0ff, 0.35 * blink);
    Glow(cr, ex, 30, 1.4, 0xe0fff8, 0.9 * blink);
  }
  // A sleeve reaching forwards (left), the lantern swinging from the hand.
  const double sw = 0.18 * std::sin(ph + 0.8);
  cairo_new_path(cr);
  cairo_move_to(cr, 44, 46);
  cairo_curve_to(cr, 34, 52, 24, 54, 16, 52);
  cairo_set_line_width(cr, 5);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  Col(cr, ghost, 0.4);
  cairo_stroke_preserve(cr);
  cairo_set_line_width(cr, 1);
  Col(cr, pale, 0.6);
  cairo_stroke(cr);
  const double lx = 14 + std::sin(sw) * 12, ly = 52 + std::cos(sw) * 12;
  Limb(cr, 15, 52, lx, ly - 5, 0.8, 0xa0c8ff, 0.45);
  const double flick = 0.85 + 0.15 * std::sin(ph * 3);
  Glow(cr, lx, ly, 20, 0xffa040, 0.22 * flick);
  Glow(cr, lx, ly, 8, 0xffd070, 0.6 * flick);
  Glow(cr, lx, ly, 3, 0xfff0c0, 1.0);
  cairo_rectangle(cr, lx - 3, ly - 5, 6, 9);
  cairo_set_line_width(cr, 1);
  Col(cr, 0xffb060, 0.5);
  cairo_stroke(cr);
  // Motes drifting off the tails.
  Rng rng(900 + f);
  for (int i = 0; i < 6; ++i) {
    double x = 50 + rng.Range(0, 34), y = 100 + rng.Range(0, 50);
    Glow(cr, x, y, 2, 0xa0e8ff, rng.Range(0.25, 0.5));
  }
}

// ---- blood ---------------------------------------------------------------------------------

constexpr uint32_t kBlood = 0x7a0a12, kBloodLit = 0xd83040, kBloodDark = 0x3a0408;

void Drop(cairo_t* cr, double x, double y, double r, double stretch) {
  Ellipse(cr, x, y, r, r * stretch);
  Col(cr, kBloodDark);
  cairo_fill(cr);
  Ellipse(cr, x, y, r * 0.8, r * stretch * 0.85);
  Col(cr, kBlood);
  cairo_fill(cr);
  Ellipse(cr, x + r * 0.3, y - r * stretch * 0.3, r * 0.3, r * 0.3 * stretch);
  Col(cr, kBloodLit);
  cairo_fill(cr);
}

}  // namespace

Image MakeLightning(const Image& still, int which) {
  SheetSpec spec(which == 1 ? dusk::sheet::kLightning1 : dusk::sheet::kLightning2);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = which == 1 ? 320 : 20;
  spec.sceneY = which == 1 ? 214 : 125;
  spec.haloBelow = 150;  // the faint glow lights the sky and whatever flies through it
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    if (which == 1)
      Bolt(cr, 11, {96, 0}, {70, 176}, f == 1);
    else
      Bolt(cr, 23, {70, 0}, {100, 168}, f == 1);
  });
}

Image MakeWatchman() {
  SheetSpec spec(dusk::sheet::kWatchman);
  spec.look = Look::Glow;
  return BuildSheet(spec, Spirit);
}

// Blood seeps from the crack near the stone's left edge (frame 0..13): a drop swells at the end
// of the trickle, falls, and lands in the pool on frame 4; the pool ripples while the next swells.
Image MakeBloodDrip(const Image& still) {
  SheetSpec spec(dusk::sheet::kBloodDrip);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = -5;
  spec.sceneY = 483;
  return BuildSheet(spec, [](cairo_t* cr, int f) {
    const double dx = 41;  // the line the drop falls along
    // The stain at the crack: blood that welled out and soaked into the stone, ragged at its edge.
    Rng rng(404);
    for (int i = 0; i < 9; ++i) {
      Ellipse(cr, 43 + rng.Range(-3, 3), 7 + rng.Range(-2.5, 3), rng.Range(1.2, 2.6), rng.Range(1, 2.2));
      Col(cr, i < 5 ? kBloodDark : 0x5a0810, 0.9);
      cairo_fill(cr);
    }
    // Runs down the face: not one tube but a wet smear that narrows and widens as the stone's
    // grain holds it back, pooling in beads; beside it older runs dried brown-black.
    auto run = [&](double x0, double y0, double y1, double w, uint32_t col, double alpha, uint64_t seed) {
      Rng r(seed);
      double x = x0;
      for (double y = y0; y < y1; y += 1.5) {
        const double t = (y - y0) / (y1 - y0);
        const double ww = w * (1 - 0.45 * t) * r.Range(0.7, 1.15) + (r.Uni() < 0.12 ? 1.2 : 0);
        x += r.Range(-0.35, 0.35);
        Ellipse(cr, x, y, ww / 2, 1.1);
        Col(cr, col, alpha);
        cairo_fill(cr);
      }
      Ellipse(cr, x, y1, w * 0.42, w * 0.5);  // the bead at its end
      Col(cr, col, alpha);
      cairo_fill(cr);
    };
    run(47.2, 11, 38, 2.2, 0x2c0608, 0.7, 1);
    run(35.5, 12, 24, 1.6, 0x2c0608, 0.6, 2);
    // Fresh rivulets of different lengths from the stain, each ending in a bead; the drop forms
    // at the end of the longest.
    run(38.6, 9, 17, 2.0, kBloodDark, 1, 5);
    run(44.6, 9, 21, 2.2, kBloodDark, 1, 6);
    run(41.5, 8, 29, 2.8, kBloodDark, 1, 3);
    run(41.5, 9, 27, 1.5, kBlood, 0.9, 4);
    run(44.6, 10, 19, 1.1, kBlood, 0.8, 7);
    // The pool at the foot: a flat, ragged puddle soaking into the earth, darker at its rim,
    // spattered round about, with only a dull sheen where the moon catches it.
    const double ripple = f >= 4 && f <= 9 ? (f - 3) / 6.0 : 0;
    const double lobes[][4] = {{27, 105.5, 15, 4.2}, {16, 106.5, 9, 3.2}, {38, 104.8, 10, 3.6},
                               {25, 108, 11, 2.6}, {44, 106, 5, 2.2},   {9, 105.6, 5, 2}};
    for (const auto& l : lobes) {
      Ellipse(cr, l[0], l[1], l[2] + 1.2, l[3] + 1.1);
      Col(cr, 0x240406);
      cairo_fill(cr);
    }
    for (const auto& l : lobes) {
      Ellipse(cr, l[0], l[1], l[2], l[3]);
      Col(cr, 0x4e060c);
      cairo_fill(cr);
    }
    Ellipse(cr, 30, 105, 9, 2.4);
    Col(cr, 0x64080e);
    cairo_fill(cr);
    for (int i = 0; i < 7; ++i) {
      Ellipse(cr, rng.Range(3, 50), rng.Range(99, 111), rng.Range(0.8, 1.4), rng.Range(0.6, 1));
      Col(cr, 0x3a0408);
      cairo_fill(cr);
    }
    Limb(cr, 31, 103.6, 38, 103.4, 0.8, 0x9a4050, 0.45);
    if (ripple > 0) {
      Ellipse(cr, dx - 2, 104.8, 3 + ripple * 12, 1 + ripple * 2.6);
      cairo_set_line_width(cr, 1.0);
      Col(cr, 0xa02838, 0.8 * (1 - ripple));
      cairo_stroke(cr);
    }
    // The drop: swelling (10..13, 0), hanging (1), falling (2, 3), landing (4).
    const double swell[] = {3.4, 3.9, 0, 0, 0, 0, 0, 0, 0, 1.3, 1.9, 2.4, 2.8, 3.1};
    if (swell[f] > 0) Drop(cr, dx + 0.5, 29 + swell[f] * 0.9, swell[f], 1.25 + (f == 1 ? 0.35 : 0));
    if (f == 2) Drop(cr, dx, 50, 2.8, 1.8);
    if (f == 3) Drop(cr, dx, 82, 2.6, 2.4);
    if (f == 4 || f == 5) {
      // The splash: a low crown and a few flying droplets.
      const double s = f == 4 ? 1.0 : 0.6;
      for (int i = -2; i <= 2; ++i) {
        double a = -kPi / 2 + i * 0.5;
        Drop(cr, dx + std::cos(a) * 8 * s * (f == 5 ? 1.5 : 1), 102 + std::sin(a) * 8 * s, 1.2, 1);
      }
      Ellipse(cr, dx, 104, 4.5 * s, 2 * s);
      Col(cr, kBlood);
      cairo_fill(cr);
    }
  });
}

// Hangs on its chain from the ends of the cross's arms; frames 1 and 2 glint.
Image MakeMedallion(const Image& still) {
  SheetSpec spec(dusk::sheet::kMedallion);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = 706;
  spec.sceneY = 450;
  return BuildSheet(spec, [](cairo_t* cr, int f) {
    const double mx = 33, my = 27, r = 8.5;
    // The chain: two drooping runs of links.
    for (int side = 0; side < 2; ++side) {
      const double x0 = side ? 62 : 3, y0 = 12;
      for (int i = 0; i <= 12; ++i) {
        double t = i / 12.0;
        double x = x0 + (mx - x0) * t, y = y0 + (my - r - y0) * t + std::sin(t * kPi) * 4;
        Ellipse(cr, x, y, 1.6, 1.1, i % 2 ? 0.5 : -0.5);
        cairo_set_line_width(cr, 1.6);
        Col(cr, kInk);
        cairo_stroke_preserve(cr);
        cairo_set_line_width(cr, 0.8);
        Col(cr, i % 3 ? 0xb89a50 : 0xf0d890);
        cairo_stroke(cr);
      }
    }
    // The disc: gold rim, engraved face, a red stone.
    Ellipse(cr, mx, my, r + 1, r + 1);
    Col(cr, kInk);
    cairo_fill(cr);
    Ellipse(cr, mx, my, r, r);
    cairo_pattern_t* g = cairo_pattern_create_radial(mx + 3, my - 3, 1, mx, my, r);
    AddStop(g, 0, 0xfff0b0);
    AddStop(g, 0.5, 0xd0a040);
    AddStop(g, 1, 0x6a4a14);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Ellipse(cr, mx, my, r - 2.5, r - 2.5);
    cairo_set_line_width(cr, 0.8);
    Col(cr, 0x5a3a10);
    cairo_stroke(cr);
    Ellipse(cr, mx, my, 2.8, 3.2);
    Col(cr, 0x5a0810);
    cairo_fill(cr);
    Ellipse(cr, mx, my, 2.1, 2.5);
    Col(cr, 0xd0202a);
    cairo_fill(cr);
    Ellipse(cr, mx + 0.7, my - 1, 0.7, 0.8);
    Col(cr, 0xffd0d0);
    cairo_fill(cr);
    // Glint: a sheen on frame 1, a four-pointed star on frame 2.
    if (f == 1) {
      Limb(cr, mx + 2, my - 6, mx + 6, my - 2, 1.4, 0xfffbe0, 0.9);
      Glow(cr, mx + 4, my - 4, 5, 0xfff4c0, 0.7);
    }
    if (f == 2) {
      const double sx = mx + 4.5, sy = my - 4.5;
      Glow(cr, sx, sy, 7, 0xfff8d0, 0.9);
      Limb(cr, sx - 8, sy, sx + 8, sy, 1, 0xffffff);
      Limb(cr, sx, sy - 8, sx, sy + 8, 1, 0xffffff);
      Limb(cr, sx - 3, sy - 3, sx + 3, sy + 3, 0.8, 0xfffae0);
      Limb(cr, sx - 3, sy + 3, sx + 3, sy - 3, 0.8, 0xfffae0);
    }
  });
}

// The control panel's miniature and the dialog's default: the graveyard in small, 21 frames.
// Frames 0 and 17..20 are the same quiet moment, so both the 18-frame and the 21-frame loop run
// smoothly; a bat crosses over frames 1..16, lightning flashes on 9 and 10, and the pumpkin's
// candle flickers every third frame (3 divides both loop lengths).
Image MakePreview(const Image& still) {
  // The scene shrunk by six (box filter) to 133 x 100, its middle 127 columns.
  Image small(127, 100);
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 127; ++x) {
      double r = 0, g = 0, b = 0;
      for (int j = 0; j < 6; ++j)
        for (int i = 0; i < 6; ++i) {
          uint32_t p = still.at((x + 3) * 6 + i, y * 6 + j);
          r += p >> 16;
          g += (p >> 8) & 0xFF;
          b += p & 0xFF;
        }
      small.at(x, y) = (static_cast<uint32_t>(r / 36) << 16) | (static_cast<uint32_t>(g / 36) << 8) |
                       static_cast<uint32_t>(b / 36);
    }
  SheetSpec spec(dusk::sheet::kPreview);
  Canvas c(127, 100);
  Image sheet(127 * 21, 200, 0x000000);
  for (int f = 0; f < 21; ++f) {
    c.Clear();
    cairo_t* cr = c.cr();
    const int m = f >= 17 ? 0 : f;  // 17..20 rest like 0
    // Lightning over the left hills.
    if (m == 9 || m == 10) {
      cairo_set_source_rgba(cr, 0.6, 0.65, 1.0, m == 9 ? 0.22 : 0.12);
      cairo_paint(cr);
      Rng rng(5);
      auto pts = Jag(rng, {60, 0}, {52, 52}, 0.3, 4);
      StrokeBolt(cr, pts, m == 9 ? 1.2 : 0.8, 1.0);
    }
    // The bat's crossing.
    if (m >= 1 && m <= 16) {
      double t = (m - 1) / 15.0;
      double bx = -8 + t * 143, by = 40 + 8 * std::sin(t * 2 * kPi);
      double lift = std::cos(m * 1.6);
      for (double s = -1; s <= 1; s += 2) {
        Poly(cr, {bx, by, bx + s * 4, by - 1 - lift * 3, bx + s * 7.5, by - lift * 5 + 1, bx + s * 5,
                  by + 1.5, bx + s * 2, by + 2});
        Col(cr, 0x0a0910);
        cairo_fill(cr);
      }
      Ellipse(cr, bx, by + 0.5, 1.5, 2.2);
      cairo_fill(cr);
    }
    // A little jack-o'-lantern in front of the far stones, candle flickering.
    const double flick = f % 3 == 0 ? 1.0 : (f % 3 == 1 ? 0.75 : 0.88);
    Glow(cr, 66, 90, 9, 0xffa030, 0.35 * flick);
    Ellipse(cr, 66, 90, 4.2, 3.4);
    Col(cr, 0xe8771a);
    cairo_fill(cr);
    Col(cr, Mix(0xffa020, 0xfff0a0, flick - 0.7));
    cairo_rectangle(cr, 64, 89, 1, 1);
    cairo_rectangle(cr, 67, 89, 1, 1);
    cairo_rectangle(cr, 64.5, 91, 3, 0.8);
    cairo_fill(cr);
    Limb(cr, 66, 86.8, 66.3, 85.6, 0.8, 0x3a4a1a);
    // The owl's eyes in the tree at the right.
    Ellipse(cr, 111.3, 30.5, 0.6, 0.6 * flick);
    Ellipse(cr, 112.8, 30.5, 0.6, 0.6 * flick);
    Col(cr, 0xffcc40);
    cairo_fill(cr);
    Paste(sheet, Over(c, small), f * 127, 0);
  }
  return sheet;  // mask row stays black: every frame is opaque
}

}  // namespace assetgen
