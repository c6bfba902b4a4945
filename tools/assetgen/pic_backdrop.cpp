// The backdrop: night sky, moon, clouds, hills and bare trees (top and far band), the middle
// scenery laid over the far band (fence, hedges, far headstones, the crypt) and the near ground.
#include <algorithm>
#include <cmath>

#include "pic_art.h"
#include "pic_draw.h"

namespace assetgen {
namespace {

constexpr int kW = 800;
constexpr int kMidY = 315, kMidH = 132, kBotY = 447, kBotH = 153;

// Palette of the night.
constexpr uint32_t kSkyTop = 0x05071a, kSkyMid = 0x0f1438, kSkyLow = 0x2a2656;
constexpr uint32_t kMoonLight = 0xc8d4ff, kSilhouette = 0x080914;
constexpr uint32_t kStoneFar = 0x30354f, kStoneRim = 0x7c86b8;
constexpr uint32_t kLantern = 0xffb347;

// ---- trees -------------------------------------------------------------------------------

struct Seg {
  double x0, y0, x1, y1, w0, w1;
};

void Branch(std::vector<Seg>& out, Rng& rng, double x, double y, double ang, double len, double w,
            int depth) {
  // Three slightly bent pieces make one branch.
  double cx = x, cy = y, a = ang;
  for (int i = 0; i < 3; ++i) {
    a += rng.Range(-0.22, 0.22);
    double nx = cx + std::cos(a) * len / 3, ny = cy + std::sin(a) * len / 3;
    double w0 = w * (1 - 0.12 * i), w1 = w * (1 - 0.12 * (i + 1));
    out.push_back({cx, cy, nx, ny, w0, w1});
    cx = nx;
    cy = ny;
  }
  if (depth == 0 || w < 0.9) return;
  int kids = rng.Uni() < 0.3 ? 3 : 2;
  for (int k = 0; k < kids; ++k) {
    double spread = rng.Range(0.28, 0.72) * (k % 2 ? 1 : -1);
    Branch(out, rng, cx, cy, a + spread, len * rng.Range(0.62, 0.8), w * 0.64, depth - 1);
  }
}

// The two big bare trees standing just behind the fence, and the owl's branch.
std::vector<Seg> Trees() {
  std::vector<Seg> s;
  Rng rng(7);
  // Right tree: a gnarled trunk, the owl's branch reaching left at y ~ 218.
  s.push_back({774, 450, 770, 360, 30, 26});
  s.push_back({770, 360, 778, 285, 26, 22});
  s.push_back({778, 285, 770, 230, 22, 18});
  s.push_back({770, 230, 776, 160, 18, 14});
  s.push_back({770, 226, 740, 223, 13, 10});
  s.push_back({740, 223, 712, 222, 10, 8});
  s.push_back({712, 222, 684, 218, 8, 6});
  s.push_back({684, 218, 662, 209, 6, 3});
  s.push_back({662, 209, 650, 195, 3, 1.2});
  s.push_back({684, 218, 676, 235, 3, 1});
  Branch(s, rng, 776, 160, -1.9, 90, 14, 5);
  Branch(s, rng, 774, 180, -1.2, 70, 9, 4);
  Branch(s, rng, 772, 290, -2.6, 80, 9, 4);
  Branch(s, rng, 776, 250, -0.5, 50, 7, 3);
  // Left tree, leaning, its crown up in the top left corner.
  s.push_back({238, 450, 232, 380, 20, 17});
  s.push_back({232, 380, 240, 320, 17, 14});
  s.push_back({240, 320, 226, 262, 14, 11});
  Branch(s, rng, 226, 262, -1.95, 110, 11, 5);
  Branch(s, rng, 232, 300, -0.9, 90, 7, 4);
  Branch(s, rng, 230, 330, -2.7, 70, 6, 4);
  return s;
}

void DrawTrees(cairo_t* cr) {
  const std::vector<Seg> segs = Trees();
  // Moonlit rim first, nudged towards the moon, then the dark wood over it.
  for (const Seg& g : segs) {
    double mx = (g.x0 + g.x1) / 2, my = (g.y0 + g.y1) / 2;
    double dx = kMoonX - mx, dy = kMoonY - my, d = std::hypot(dx, dy);
    double o = 1.1;
    Taper(cr, g.x0 + dx / d * o, g.y0 + dy / d * o, g.x1 + dx / d * o, g.y1 + dy / d * o, g.w0, g.w1);
    Col(cr, 0x4b5388, 0.9);
    cairo_fill(cr);
  }
  for (const Seg& g : segs) {
    Taper(cr, g.x0, g.y0, g.x1, g.y1, g.w0, g.w1);
    Col(cr, kSilhouette);
    cairo_fill(cr);
  }
  // Bark: a few faint furrows on the trunks.
  Rng rng(11);
  for (int i = 0; i < 40; ++i) {
    bool right = i % 2;
    double x = right ? rng.Range(764, 784) : rng.Range(228, 244);
    double y = rng.Range(250, 446);
    Limb(cr, x, y, x + rng.Range(-2, 2), y + rng.Range(8, 20), 0.8, 0x1a1d33, 0.8);
  }
}

void SmallTree(cairo_t* cr, Rng& rng, double x, double y, double h, uint32_t col) {
  std::vector<Seg> s;
  Branch(s, rng, x, y, -kPi / 2 + rng.Range(-0.1, 0.1), h, std::max(1.2, h / 9), 3);
  for (const Seg& g : s) {
    Taper(cr, g.x0, g.y0, g.x1, g.y1, g.w0, g.w1);
    Col(cr, col);
    cairo_fill(cr);
  }
}

// ---- sky ---------------------------------------------------------------------------------

void Cloud(cairo_t* cr, Rng& rng, double x0, double x1, double y, double thick, double alpha) {
  struct Blob {
    double x, y, rx, ry;
  };
  std::vector<Blob> blobs;
  for (double x = x0; x < x1; x += rng.Range(10, 22)) {
    double t = (x - x0) / (x1 - x0);
    double taper = std::sin(t * kPi);
    blobs.push_back({x, y + rng.Range(-thick, thick) * 0.4, rng.Range(18, 40) * (0.5 + taper),
                     thick * rng.Range(0.5, 1.0) * (0.4 + taper)});
  }
  auto soft = [&](const Blob& b, double dx, double dy, uint32_t col, double a) {
    cairo_save(cr);
    cairo_translate(cr, b.x + dx, b.y + dy);
    cairo_scale(cr, b.rx, b.ry);
    cairo_pattern_t* p = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    AddStop(p, 0, col, a);
    AddStop(p, 0.6, col, a * 0.7);
    AddStop(p, 1, col, 0);
    cairo_set_source(cr, p);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
  };
  for (const Blob& b : blobs) {
    double dx = kMoonX - b.x, dy = kMoonY - b.y, d = std::hypot(dx, dy);
    double lit = std::clamp(1.2 - d / 420, 0.25, 1.0);
    soft(b, dx / d * 3, dy / d * 3, Mix(0x5a6294, 0xc4ccf0, lit * lit), alpha * lit);
  }
  for (const Blob& b : blobs) soft(b, 0, 0, 0x161936, alpha);
}

void Sky(cairo_t* cr) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 360);
  AddStop(g, 0, kSkyTop);
  AddStop(g, 0.45, kSkyMid);
  AddStop(g, 0.85, kSkyLow);
  AddStop(g, 1, 0x322a58);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
  Glow(cr, kMoonX, kMoonY, 330, 0x5d6cb0, 0.30);
  Glow(cr, kMoonX, kMoonY, 130, 0xaab8f0, 0.30);

  // Stars, thinner towards the horizon and the moon.
  Rng rng(3);
  for (int i = 0; i < 420; ++i) {
    double x = rng.Range(0, kW), y = 300 * std::pow(rng.Uni(), 1.4);
    double b = rng.Range(0.25, 1.0) * (1 - y / 340);
    double dm = std::hypot(x - kMoonX, y - kMoonY);
    if (dm < 150) b *= (dm - kMoonR - 10) / 150;
    if (b <= 0.05) continue;
    uint32_t tint = Mix(0xfff4e0, 0xc8d8ff, rng.Uni());
    if (b > 0.8 && rng.Uni() < 0.35) {
      Glow(cr, x, y, 4.5, tint, 0.5 * b);
      Limb(cr, x - 3.5, y, x + 3.5, y, 0.6, tint, 0.5 * b);
      Limb(cr, x, y - 3.5, x, y + 3.5, 0.6, tint, 0.5 * b);
    }
    Col(cr, tint, b);
    cairo_rectangle(cr, std::floor(x), std::floor(y), 1, 1);
    cairo_fill(cr);
  }

  // The moon: a pale disc, soft seas, a darker limb.
  cairo_pattern_t* m = cairo_pattern_create_radial(kMoonX + 12, kMoonY - 14, 4, kMoonX, kMoonY, kMoonR);
  AddStop(m, 0, 0xfffdf2);
  AddStop(m, 0.75, 0xf1ecd6);
  AddStop(m, 1, 0xd9d3bb);
  cairo_set_source(cr, m);
  cairo_arc(cr, kMoonX, kMoonY, kMoonR, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_pattern_destroy(m);
  cairo_save(cr);
  cairo_arc(cr, kMoonX, kMoonY, kMoonR, 0, 2 * kPi);
  cairo_clip(cr);
  const double seas[][4] = {{-18, -12, 17, 0.32}, {6, -20, 11, 0.25}, {14, 4, 15, 0.3},
                            {-8, 16, 12, 0.22}, {-26, 8, 9, 0.2},   {22, -4, 6, 0.2},
                            {-4, -2, 8, 0.18}};
  for (const auto& s : seas) Glow(cr, kMoonX + s[0], kMoonY + s[1], s[2], 0x9a987e, s[3] * 1.6);
  for (int i = 0; i < 14; ++i) {
    double a = rng.Range(0, 2 * kPi), r = rng.Range(0, kMoonR - 6);
    double cx = kMoonX + std::cos(a) * r, cy = kMoonY + std::sin(a) * r, cr0 = rng.Range(1.2, 3.2);
    Ellipse(cr, cx, cy, cr0, cr0);
    Col(cr, 0xb8b39a, 0.35);
    cairo_fill(cr);
    Ellipse(cr, cx + 0.6, cy + 0.6, cr0 * 0.7, cr0 * 0.7);
    Col(cr, 0xfffbea, 0.25);
    cairo_fill(cr);
  }
  cairo_restore(cr);

  // Clouds: long moonlit wisps, one drifting across the moon's lower half.
  Cloud(cr, rng, 40, 330, 62, 12, 0.7);
  Cloud(cr, rng, 470, 720, 128, 14, 0.85);
  Cloud(cr, rng, 380, 560, 165, 9, 0.6);
  Cloud(cr, rng, 610, 800, 248, 12, 0.7);
  Cloud(cr, rng, 0, 160, 232, 8, 0.5);
}

// ---- hills and the far field -------------------------------------------------------------

double FarHill(double x) {
  return 292 + 13 * std::sin(x / 95 + 1.3) + 7 * std::sin(x / 37 + 0.4) + 4 * std::sin(x / 15);
}
double NearHill(double x) {
  return 332 + 9 * std::sin(x / 150 + 2.2) + 5 * std::sin(x / 53 + 1) + 2 * std::sin(x / 17);
}

void HillBand(cairo_t* cr, double (*f)(double), uint32_t top, uint32_t bottom, uint32_t rim,
              double rimAlpha) {
  cairo_new_path(cr);
  cairo_move_to(cr, 0, 460);
  for (int x = 0; x <= kW; x += 2) cairo_line_to(cr, x, f(x));
  cairo_line_to(cr, kW, 460);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 280, 0, 460);
  AddStop(g, 0, top);
  AddStop(g, 1, bottom);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  cairo_new_path(cr);
  for (int x = 0; x <= kW; x += 2) cairo_line_to(cr, x, f(x) + 0.6);
  cairo_set_line_width(cr, 1.2);
  Col(cr, rim, rimAlpha);
  cairo_stroke(cr);
}

void Chapel(cairo_t* cr, double x, double base) {
  Col(cr, 0x15172f);
  Poly(cr, {x, base + 4, x, base - 20, x + 18, base - 31, x + 36, base - 20, x + 36, base + 4});
  cairo_fill(cr);
  Poly(cr, {x - 10, base + 4, x - 10, base - 34, x - 5, base - 52, x, base - 34, x, base + 4});
  cairo_fill(cr);
  Limb(cr, x - 5, base - 52, x - 5, base - 60, 1, 0x15172f);
  Limb(cr, x - 7.5, base - 57, x - 2.5, base - 57, 1, 0x15172f);
  Glow(cr, x + 14, base - 13, 10, kLantern, 0.35);
  Col(cr, 0xffc870);
  cairo_rectangle(cr, x + 12, base - 17, 3, 5);
  cairo_fill(cr);
  Col(cr, 0xe89a40);
  cairo_rectangle(cr, x + 22, base - 16, 2, 4);
  cairo_fill(cr);
}

void FarLand(cairo_t* cr) {
  HillBand(cr, FarHill, 0x23264c, 0x171a34, 0x6c78b8, 0.30);
  Chapel(cr, 108, FarHill(118) + 2);
  Rng rng(21);
  for (int i = 0; i < 9; ++i) {
    double x = rng.Range(300, 760);
    SmallTree(cr, rng, x, FarHill(x) + 3, rng.Range(12, 22), 0x191b38);
  }
  HillBand(cr, NearHill, 0x15173a, 0x10132a, 0x5a64a0, 0.22);
  for (int i = 0; i < 14; ++i) {
    double x = rng.Range(0, kW);
    SmallTree(cr, rng, x, NearHill(x) + 3, rng.Range(14, 30), 0x0c0e22);
  }
  // The field below, and mist lying over it.
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 345, 0, 447);
  AddStop(g, 0, 0x10132a, 0);
  AddStop(g, 0.3, 0x121630, 1);
  AddStop(g, 1, 0x161c2e, 1);
  cairo_set_source(cr, g);
  cairo_rectangle(cr, 0, 340, kW, 107);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  for (int band = 0; band < 3; ++band) {
    double y = 340 + band * 30;
    cairo_pattern_t* m = cairo_pattern_create_linear(0, y - 14, 0, y + 14);
    AddStop(m, 0, 0x6a74a8, 0);
    AddStop(m, 0.5, 0x6a74a8, 0.10 + 0.03 * band);
    AddStop(m, 1, 0x6a74a8, 0);
    cairo_set_source(cr, m);
    cairo_rectangle(cr, 0, y - 14, kW, 28);
    cairo_fill(cr);
    cairo_pattern_destroy(m);
  }
  // The warm halo of the fence lantern lies on the mist behind it.
  Glow(cr, 164, 392, 44, kLantern, 0.30);
}

// ---- the middle scenery (laid over the far band) -----------------------------------------

// Stone lit by the moon: a fill graded from the lit side, then an inner rim light and shadow.
void StoneFill(cairo_t* cr, uint32_t base, double x0, double y0, double x1, double y1) {
  cairo_pattern_t* g = cairo_pattern_create_linear(x1, y0, x0, y1);
  AddStop(g, 0, Mix(base, 0xb0b8e0, 0.35));
  AddStop(g, 1, Scale(base, 0.55));
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_save(cr);
  cairo_clip_preserve(cr);
  cairo_translate(cr, -1.4, 1.4);
  cairo_set_line_width(cr, 2.2);
  Col(cr, kStoneRim, 0.75);
  cairo_stroke_preserve(cr);
  cairo_translate(cr, 2.8, -2.8);
  Col(cr, 0x0a0b16, 0.6);
  cairo_stroke(cr);
  cairo_restore(cr);
  cairo_new_path(cr);
}

void FarHeadstones(cairo_t* cr) {
  Rng rng(31);
  for (int i = 0; i < 26; ++i) {
    double x = rng.Range(5, 790);
    if (x > 505 && x < 645) continue;  // the crypt stands there
    double base = rng.Range(104, 114), h = rng.Range(12, 24), w = rng.Range(8, 14);
    double tilt = rng.Range(-0.12, 0.12);
    cairo_save(cr);
    cairo_translate(cr, x, base);
    cairo_rotate(cr, tilt);
    int kind = rng.Int(0, 3);
    if (kind == 0) {  // cross
      Poly(cr, {-2, 0, -2, -h + 9, -6, -h + 9, -6, -h + 5, -2, -h + 5, -2, -h, 2, -h, 2, -h + 5, 6,
                -h + 5, 6, -h + 9, 2, -h + 9, 2, 0});
    } else if (kind == 1) {  // rounded tablet
      cairo_new_sub_path(cr);
      cairo_move_to(cr, -w / 2, 0);
      cairo_line_to(cr, -w / 2, -h + w / 2);
      cairo_arc(cr, 0, -h + w / 2, w / 2, kPi, 2 * kPi);
      cairo_line_to(cr, w / 2, 0);
      cairo_close_path(cr);
    } else if (kind == 2) {  // pointed
      Poly(cr, {-w / 2, 0, -w / 2, -h + 5, 0, -h, w / 2, -h + 5, w / 2, 0});
    } else {  // square block with a cap
      Poly(cr, {-w / 2, 0, -w / 2, -h * 0.7, -w / 2 - 1, -h * 0.7, -w / 2 - 1, -h * 0.8, w / 2 + 1,
                -h * 0.8, w / 2 + 1, -h * 0.7, w / 2, -h * 0.7, w / 2, 0});
    }
    StoneFill(cr, kStoneFar, -w, -h, w, 0);
    cairo_restore(cr);
  }
}

void Crypt(cairo_t* cr) {
  // A small temple with a pediment, two columns and a door left ajar.
  const double l = 522, r = 632, base = 131;
  Poly(cr, {l - 4, base, l - 4, base - 6, r + 4, base - 6, r + 4, base});
  StoneFill(cr, 0x3a3f5e, l, base - 12, r, base);
  Poly(cr, {l + 2, base - 6, l + 2, base - 11, r - 2, base - 11, r - 2, base - 6});
  StoneFill(cr, 0x3a3f5e, l, base - 12, r, base);
  Poly(cr, {l + 8, base - 11, l + 8, 52, r - 8, 52, r - 8, base - 11});
  StoneFill(cr, 0x343955, l, 52, r, base);
  // Stone courses.
  for (double y = 60; y < base - 12; y += 9) Limb(cr, l + 9, y, r - 9, y, 0.7, 0x1e2238, 0.6);
  // Door with candlelight leaking out.
  Poly(cr, {562, base - 11, 562, 80, 577, 70, 592, 80, 592, base - 11});
  Col(cr, 0x07070d);
  cairo_fill(cr);
  Glow(cr, 584, 100, 26, kLantern, 0.35);
  Poly(cr, {584, base - 11, 584, 78, 587, 80, 587, base - 11});
  Col(cr, 0xffb04a, 0.9);
  cairo_fill(cr);
  // Columns.
  for (double cx : {540.0, 614.0}) {
    Poly(cr, {cx - 6, base - 11, cx - 6, 56, cx + 6, 56, cx + 6, base - 11});
    cairo_pattern_t* g = cairo_pattern_create_linear(cx - 6, 0, cx + 6, 0);
    AddStop(g, 0, 0x22263e);
    AddStop(g, 0.55, 0x5a6290);
    AddStop(g, 0.8, 0x8a94c4);
    AddStop(g, 1, 0x3a405e);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    Poly(cr, {cx - 8, 56, cx - 8, 51, cx + 8, 51, cx + 8, 56});
    StoneFill(cr, 0x454b6e, cx - 8, 51, cx + 8, 56);
  }
  // Pediment and a cross on the top.
  Poly(cr, {l + 2, 52, l + 2, 46, r - 2, 46, r - 2, 52});
  StoneFill(cr, 0x40456a, l, 40, r, 52);
  Poly(cr, {l - 2, 46, (l + r) / 2, 20, r + 2, 46});
  StoneFill(cr, 0x3c4266, l, 20, r, 46);
  Poly(cr, {l + 14, 42, (l + r) / 2, 27, r - 14, 42});
  Col(cr, 0x1a1d30, 0.7);
  cairo_fill(cr);
  const double cx = (l + r) / 2;
  Poly(cr, {cx - 2, 21, cx - 2, 10, cx - 6, 10, cx - 6, 6, cx - 2, 6, cx - 2, 1, cx + 2, 1, cx + 2, 6,
            cx + 6, 6, cx + 6, 10, cx + 2, 10, cx + 2, 21});
  StoneFill(cr, 0x4a5078, cx - 6, 1, cx + 6, 21);
}

void Hedge(cairo_t* cr, Rng& rng, double x0, double x1, double top) {
  cairo_new_path(cr);
  cairo_move_to(cr, x0, 132);
  double x = x0;
  while (x < x1) {
    double r = rng.Range(6, 12);
    cairo_arc(cr, x + r, top + rng.Range(-3, 4) + r * 0.4, r, kPi, 2 * kPi);
    x += r * 1.6;
  }
  cairo_line_to(cr, x1, 132);
  cairo_close_path(cr);
  cairo_pattern_t* g = cairo_pattern_create_linear(0, top - 8, 0, 132);
  AddStop(g, 0, 0x1b2b32);
  AddStop(g, 1, 0x0a1114);
  cairo_set_source(cr, g);
  cairo_fill_preserve(cr);
  cairo_pattern_destroy(g);
  cairo_save(cr);
  cairo_clip(cr);
  for (int i = 0; i < (x1 - x0) * 1.6; ++i) {
    double lx = rng.Range(x0, x1), ly = top - 8 + std::pow(rng.Uni(), 2) * 40;
    Ellipse(cr, lx, ly, rng.Range(1.2, 2.6), rng.Range(0.8, 1.6), rng.Range(0, kPi));
    Col(cr, Mix(0x2e4a4c, 0x7a9aa0, rng.Uni() * (1 - (ly - top) / 40)), rng.Range(0.4, 0.9));
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void Fence(cairo_t* cr) {
  // A kerb of stone along the whole width, only a few pixels high: the zombie and the small
  // skeleton walk just behind it, their feet on its top edge.
  Poly(cr, {0, 132, 0, 129, kW, 129, kW, 132});
  StoneFill(cr, 0x2a2e46, 0, 129, kW, 132);
  Limb(cr, 0, 129.5, kW, 129.5, 1, 0x6a74a4, 0.6);
  Rng rng(41);
  for (double x = rng.Range(0, 20); x < kW; x += rng.Range(18, 30))
    Limb(cr, x, 130.5, x, 131.5, 0.7, 0x12141f, 0.7);
  // Iron railing: thin rails, sparse bars with spear tips, one bent and broken stretch. What walks
  // behind it shows between the bars.
  for (double y : {86.5, 115.5}) {
    Limb(cr, 0, y, kW, y, 1.0, 0x0b0c15);
    Limb(cr, 0, y - 1, kW, y - 1, 0.6, 0x5a6290, 0.45);
  }
  for (double x = 3.5; x < kW; x += 18) {
    if (x > 292 && x < 330) {  // one bar bent over, the next snapped off low
      if (x < 320)
        Limb(cr, x, 129, x + 5, 100, 1.0, 0x0b0c15);
      else
        Limb(cr, x, 129, x + 1, 119, 1.0, 0x0b0c15);
      continue;
    }
    double top = 80 + 1.5 * std::sin(x * 0.7);
    Limb(cr, x, 129, x, top, 1.0, 0x0b0c15);
    Limb(cr, x + 0.8, 128, x + 0.8, top + 2, 0.4, 0x6068a0, 0.5);
    Poly(cr, {x - 1.6, top + 1.5, x, top - 3.5, x + 1.6, top + 1.5});
    Col(cr, 0x0b0c15);
    cairo_fill(cr);
  }
  // Stone posts with caps at the ends, where nothing walks; slim iron posts with a ball finial
  // along the walkers' stretch.
  for (double x : {10.0, 170.0, 690.0}) {
    Poly(cr, {x - 7, 132, x - 7, 74, x + 7, 74, x + 7, 132});
    StoneFill(cr, 0x363b58, x - 7, 74, x + 7, 132);
    Poly(cr, {x - 9, 74, x - 9, 69, x - 6, 66, x + 6, 66, x + 9, 69, x + 9, 74});
    StoneFill(cr, 0x444a70, x - 9, 64, x + 9, 74);
  }
  for (double x : {338.5, 470.5}) {
    Limb(cr, x, 130, x, 78, 2.4, 0x0b0c15);
    Limb(cr, x + 0.9, 128, x + 0.9, 80, 0.6, 0x6a74a8, 0.6);
    Ellipse(cr, x, 75, 2.4, 2.4);
    Col(cr, 0x0b0c15);
    cairo_fill(cr);
    Ellipse(cr, x + 0.8, 74.2, 0.8, 0.8);
    Col(cr, 0x7a84b8, 0.7);
    cairo_fill(cr);
  }
  // The lantern hangs from the post at 170.
  Limb(cr, 170, 66, 170, 58, 1.4, 0x0b0c15);
  Limb(cr, 170, 58, 160, 58, 1.4, 0x0b0c15);
  Limb(cr, 160, 58, 160, 66, 1, 0x0b0c15);
  Poly(cr, {155, 68, 165, 68, 163, 66, 157, 66});
  Col(cr, 0x0b0c15);
  cairo_fill(cr);
  Poly(cr, {156, 68, 164, 68, 164, 80, 156, 80});
  Col(cr, 0xffc46a);
  cairo_fill(cr);
  Glow(cr, 160, 74, 5, 0xfff2c0, 0.9);
  Limb(cr, 160, 68, 160, 80, 0.8, 0x2a1a10);
  Limb(cr, 155.5, 68, 155.5, 80, 1, 0x0b0c15);
  Limb(cr, 164.5, 68, 164.5, 80, 1, 0x0b0c15);
  Poly(cr, {154, 80, 166, 80, 164, 83, 156, 83});
  Col(cr, 0x0b0c15);
  cairo_fill(cr);
}

// What stands behind the walkers' path: the far headstones, the crypt and the hedges. The walkers
// pass in front of these, so they belong to the far band rather than to the scenery drawn over them.
void BehindThePath(cairo_t* cr) {
  FarHeadstones(cr);
  Crypt(cr);
  Rng rng(51);
  Hedge(cr, rng, -10, 96, 100);
  Hedge(cr, rng, 372, 452, 104);
  Hedge(cr, rng, 640, 760, 98);
}

void MiddleScenery(cairo_t* cr) {
  Fence(cr);
  cairo_save(cr);
  cairo_translate(cr, 0, -kMidY);
  DrawTrees(cr);
  cairo_restore(cr);
}

// ---- the near ground ---------------------------------------------------------------------

void Ground(cairo_t* cr) {
  cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, kBotH);
  AddStop(g, 0, 0x1a2132);
  AddStop(g, 0.4, 0x151b29);
  AddStop(g, 1, 0x0a0d16);
  cairo_set_source(cr, g);
  cairo_paint(cr);
  cairo_pattern_destroy(g);
  // Moonlight lying on the grass.
  Glow(cr, 560, 40, 260, 0x4a5a7c, 0.25);
  Glow(cr, 180, 70, 160, 0x3a4a66, 0.18);
  // A worn path from the front up to the crypt door.
  cairo_new_path(cr);
  cairo_move_to(cr, 560, 0);
  cairo_curve_to(cr, 540, 40, 420, 70, 400, 153);
  cairo_line_to(cr, 500, 153);
  cairo_curve_to(cr, 500, 80, 580, 40, 590, 0);
  cairo_close_path(cr);
  cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 0, kBotH);
  AddStop(p, 0, 0x2a2d40);
  AddStop(p, 1, 0x1c1d28);
  cairo_set_source(cr, p);
  cairo_fill(cr);
  cairo_pattern_destroy(p);
  Rng rng(61);
  // Pebbles on the path.
  for (int i = 0; i < 90; ++i) {
    double t = rng.Uni();
    double y = t * kBotH;
    double cx = 575 - 120 * std::pow(t, 0.8) + rng.Range(-12, 12) * (0.4 + t);
    double r = 0.6 + t * 1.6;
    Ellipse(cr, cx, y, r * 1.3, r * 0.8);
    Col(cr, Mix(0x3a3d52, 0x7a80a0, rng.Uni()), 0.7);
    cairo_fill(cr);
  }
  // Grave mounds in front of the far tombstones.
  for (double cx : {289.0, 512.0}) {
    Ellipse(cr, cx, 134, 44, 12);
    cairo_pattern_t* m = cairo_pattern_create_linear(0, 122, 0, 146);
    AddStop(m, 0, 0x3a3a44);
    AddStop(m, 1, 0x15161e);
    cairo_set_source(cr, m);
    cairo_fill(cr);
    cairo_pattern_destroy(m);
  }
  // Grass: short blades, longer and brighter towards the front.
  for (int i = 0; i < 5200; ++i) {
    double x = rng.Range(-5, kW + 5), y = rng.Range(0, kBotH + 4);
    double t = y / kBotH;
    double len = 1.5 + t * 6 * rng.Range(0.5, 1.2);
    double lean = rng.Range(-0.5, 0.5);
    double onPath = std::abs(x - (575 - 120 * std::pow(t, 0.8))) < 25 + 25 * t;
    if (onPath && rng.Uni() < 0.85) continue;
    uint32_t c = Mix(0x14222a, 0x3c5458, rng.Uni() * (0.4 + 0.6 * (1 - t)));
    if (rng.Uni() < 0.04) c = 0x6a8488;
    Limb(cr, x, y, x + lean * len, y - len, 0.6 + t * 0.7, c, 0.85);
  }
  // Fallen leaves, a warm touch.
  for (int i = 0; i < 40; ++i) {
    double x = rng.Range(0, kW), y = rng.Range(20, kBotH);
    Ellipse(cr, x, y, 1.6 + y / 80, 0.8 + y / 160, rng.Range(0, kPi));
    Col(cr, Mix(0x4a2616, 0x8a4a22, rng.Uni()), 0.8);
    cairo_fill(cr);
  }
  // Ground mist near the fence.
  for (int i = 0; i < 12; ++i) {
    double x = rng.Range(0, kW), y = rng.Range(0, 30);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, rng.Range(60, 140), rng.Range(6, 12));
    cairo_pattern_t* f = cairo_pattern_create_radial(0, 0, 0, 0, 0, 1);
    AddStop(f, 0, 0x8a94c0, 0.12);
    AddStop(f, 1, 0x8a94c0, 0);
    cairo_set_source(cr, f);
    cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(f);
    cairo_restore(cr);
  }
  // Darker corners at the front.
  cairo_pattern_t* v = cairo_pattern_create_radial(400, -80, 250, 400, -80, 700);
  AddStop(v, 0, 0x000000, 0);
  AddStop(v, 1, 0x000000, 0.45);
  cairo_set_source(cr, v);
  cairo_paint(cr);
  cairo_pattern_destroy(v);
}

}  // namespace

Backdrop MakeBackdrop() {
  Backdrop b;
  {
    Canvas far(kW, kBotY);
    cairo_t* cr = far.cr();
    Sky(cr);
    FarLand(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, kW, kMidY);
    cairo_clip(cr);
    DrawTrees(cr);
    cairo_restore(cr);
    cairo_save(cr);
    cairo_rectangle(cr, 0, kMidY, kW, kMidH);
    cairo_clip(cr);
    cairo_translate(cr, 0, kMidY);
    BehindThePath(cr);
    cairo_restore(cr);
    Image all = Flatten(far, 0);
    b.top = Crop(all, 0, 0, kW, kMidY);
    b.mid1 = Crop(all, 0, kMidY, kW, kMidH);
  }
  {
    SheetSpec spec;
    spec.w = kW;
    spec.h = kMidH;
    spec.look = Look::Matte;
    spec.scene = &b.mid1;
    Image sheet = BuildSheet(spec, [&](cairo_t* cr, int) { MiddleScenery(cr); });
    b.mid3 = Crop(sheet, 0, 0, kW, kMidH);
    b.mid2 = Crop(sheet, 0, kMidH, kW, kMidH);
  }
  {
    Canvas bot(kW, kBotH);
    Ground(bot.cr());
    b.bot = Flatten(bot, 0);
  }
  return b;
}

Image MakePalette() {
  // A small picture in the back buffer's format: the night's colours.
  const uint32_t colours[] = {kSkyTop, kSkyMid, kSkyLow, kMoonLight, kStoneFar, kStoneRim, kLantern, 0xe8771a};
  Image p(8, 8);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) p.at(x, y) = colours[(x + y) % 8];
  return p;
}

Image ComposeStrips(const Backdrop& b) {
  Image s(kW, 600);
  Paste(s, b.top, 0, 0);
  Paste(s, b.mid1, 0, kMidY);
  for (int y = 0; y < kMidH; ++y)
    for (int x = 0; x < kW; ++x) {
      uint32_t& d = s.at(x, kMidY + y);
      d = (d & b.mid2.at(x, y)) | b.mid3.at(x, y);
    }
  Paste(s, b.bot, 0, kBotY);
  return s;
}

Image ComposeStill(const Backdrop& b, const Image& tomb1, const Image& tomb2, const Image& tomb4) {
  Image s = ComposeStrips(b);
  DrawMasked(s, tomb2, 0, 77, 125, 250, 450);
  DrawMasked(s, tomb2, 0, 77, 125, 473, 450);
  DrawMasked(s, tomb1, 0, 134, 199, 15, 400);
  DrawMasked(s, tomb4, 0, 102, 184, 688, 400);
  return s;
}

}  // namespace assetgen
