// The figures: the two skeletons (one limping walk cycle, drawn large and small), the zombie's
// shuffle, the grave digger at work and the hand rising from its grave.
#include <algorithm>
#include <cmath>

#include "pic_art.h"
#include "pic_draw.h"

namespace assetgen {
namespace {

struct P {
  double x, y;
};
P operator+(P a, P b) { return {a.x + b.x, a.y + b.y}; }
P Polar(double len, double ang) { return {len * std::cos(ang), len * std::sin(ang)}; }

// Two-bone reach from `hip` to `foot`; the joint bends towards +x (forwards) when `forward`.
P Knee(P hip, P foot, double a, double b, bool forward) {
  double dx = foot.x - hip.x, dy = foot.y - hip.y;
  double d = std::clamp(std::hypot(dx, dy), 1e-3, a + b - 1e-3);
  double base = std::atan2(dy, dx);
  double off = std::acos(std::clamp((a * a + d * d - b * b) / (2 * a * d), -1.0, 1.0));
  return hip + Polar(a, forward ? base - off : base + off);
}

// A walk cycle: where a foot is at phase p in [0, 1), stance first (foot planted, sliding back as
// the body moves on), then the swing forwards.
P FootAt(double p, double stride, double lift, double stance) {
  if (p < stance) return {stride / 2 - stride * (p / stance), 0};
  double t = (p - stance) / (1 - stance);
  double e = 0.5 - 0.5 * std::cos(t * kPi);
  return {-stride / 2 + stride * e, -lift * std::sin(t * kPi)};
}

double Wrap(double v) { return v - std::floor(v); }

// ---- skeleton ------------------------------------------------------------------------------

struct BoneStyle {
  uint32_t bone, shade, outline;
  double k;      // scale
  double thick;  // extra weight for small sizes
};

void Bone(cairo_t* cr, const BoneStyle& s, P a, P b, double w, uint32_t col) {
  const double k = s.k, ww = w * k * s.thick, o = std::max(1.0, 1.6 * k * s.thick);
  Taper(cr, a.x, a.y, b.x, b.y, ww + o, ww * 0.8 + o);
  Col(cr, s.outline);
  cairo_fill(cr);
  Ellipse(cr, a.x, a.y, ww * 0.75 + o / 2, ww * 0.75 + o / 2);
  Ellipse(cr, b.x, b.y, ww * 0.7 + o / 2, ww * 0.7 + o / 2);
  cairo_fill(cr);
  Taper(cr, a.x, a.y, b.x, b.y, ww, ww * 0.8);
  Col(cr, col);
  cairo_fill(cr);
  Ellipse(cr, a.x, a.y, ww * 0.75, ww * 0.75);
  Ellipse(cr, b.x, b.y, ww * 0.7, ww * 0.7);
  cairo_fill(cr);
}

struct Skel {
  P hip, neck, head;
  P knee[2], foot[2], toe[2];
  P shoulder, elbow[2], hand[2];
  double lean;
};

// One pose of the limping walk: the near foot lands on frame 4 and the far foot on frame 9. A
// planted foot slides back by `stride / (stance * 12)` a frame, which is what the scene moves the
// walker each tick, so the foot stays put on the ground.
Skel SkeletonPose(int f, double k, double stride = 90, double stance = 0.5) {
  const double ground = 197 * k, thigh = 48 * k, shin = 46 * k;
  stride *= k;
  const double pn = Wrap((f - 4) / 12.0), pf = Wrap((f - 9) / 12.0);
  Skel s{};
  P fn = FootAt(pn, stride, 16 * k, stance), ff = FootAt(pf, stride, 16 * k, stance);
  // The hip sits as high as the planted feet allow.
  double reach = (thigh + shin) * 0.985;
  double h = reach;
  if (pn < stance) h = std::min(h, std::sqrt(reach * reach - fn.x * fn.x));
  if (pf < stance) h = std::min(h, std::sqrt(reach * reach - ff.x * ff.x));
  const double cx = 68 * k;
  s.hip = {cx, ground - 6 * k - h};
  s.foot[0] = {cx + fn.x, ground - 6 * k + fn.y};
  s.foot[1] = {cx + ff.x, ground - 6 * k + ff.y};
  for (int i = 0; i < 2; ++i) {
    s.knee[i] = Knee(s.hip, s.foot[i], thigh, shin, true);
    double toeLift = (i == 0 ? pn : pf) >= stance ? 0.35 : 0.0;
    s.toe[i] = s.foot[i] + Polar(16 * k, -toeLift);
  }
  s.lean = 0.16 + 0.04 * std::sin(2 * kPi * pn);
  s.neck = s.hip + Polar(62 * k, -kPi / 2 + s.lean);
  s.head = s.neck + Polar(15 * k, -kPi / 2 + s.lean * 1.4);
  s.shoulder = s.neck + P{-2 * k, 6 * k};
  // Arms swing against the legs; the near arm with the far leg.
  for (int i = 0; i < 2; ++i) {
    double p = i == 0 ? pf : pn;
    double swing = 0.55 * std::cos(2 * kPi * (p - 0.25));
    double up = kPi / 2 - swing * 0.9;
    s.elbow[i] = s.shoulder + Polar(34 * k, up);
    s.hand[i] = s.elbow[i] + Polar(32 * k, up - 0.35 - std::max(0.0, swing) * 0.8);
  }
  return s;
}

void Skull(cairo_t* cr, const BoneStyle& st, P c, double tilt, double jaw) {
  const double k = st.k;
  cairo_save(cr);
  cairo_translate(cr, c.x, c.y);
  cairo_rotate(cr, tilt);
  cairo_scale(cr, k, k);
  const double o = std::max(1.0, 1.6 * k * st.thick) / k;
  // In profile, facing +x: the round cranium, the face jutting forward under the brow down to the
  // upper teeth, and the jaw hinged below the ear.
  auto skullPath = [&](double grow) {
    cairo_new_path(cr);
    Ellipse(cr, -1.5, -3, 12.5 + grow, 12.5 + grow);
    // Wound the same way as the ellipse, so where they overlap is filled, not cut out.
    Poly(cr, {4, -10, 11 + grow, -7 - grow, 13.5 + grow, -1, 13.5 + grow, 3, 12.5 + grow, 7.5 + grow, 2,
              7.5 + grow, -2, 3 + grow});
  };
  auto jawPath = [&](double grow) {
    Poly(cr, {-3.5 - grow, -1, -2 - grow, 5 + grow, 2, 7.5 + grow, 11.5 + grow, 7.5 + grow, 12 + grow,
              4.5 - grow, 3, 3.5 - grow, -0.5, 1 - grow});
  };
  cairo_save(cr);
  cairo_translate(cr, 0, 3);
  cairo_rotate(cr, jaw);
  jawPath(o);
  Col(cr, st.outline);
  cairo_fill(cr);
  cairo_restore(cr);
  skullPath(o);
  Col(cr, st.outline);
  cairo_fill(cr);
  // The jaw: bone in shade, a row of lower teeth along its top.
  cairo_save(cr);
  cairo_translate(cr, 0, 3);
  cairo_rotate(cr, jaw);
  jawPath(0);
  cairo_pattern_t* jg = cairo_pattern_create_linear(0, 0, 0, 8);
  AddStop(jg, 0, st.bone);
  AddStop(jg, 1, st.shade);
  cairo_set_source(cr, jg);
  cairo_fill(cr);
  cairo_pattern_destroy(jg);
  for (double x = 4.2; x <= 11; x += 1.9) {
    cairo_rectangle(cr, x, 3.6, 1.3, 1.6);
    Col(cr, 0xf4f0e2);
    cairo_fill(cr);
  }
  cairo_restore(cr);
  skullPath(0);
  cairo_pattern_t* g = cairo_pattern_create_radial(2, -9, 1, -1, -3, 16);
  AddStop(g, 0, 0xfbf8ec);
  AddStop(g, 0.6, st.bone);
  AddStop(g, 1, st.shade);
  cairo_set_source(cr, g);
  cairo_fill(cr);
  cairo_pattern_destroy(g);
  // The temple's hollow and the cheekbone's arch back towards the ear.
  Ellipse(cr, -5, 0, 4, 5.5);
  Col(cr, st.shade, 0.45);
  cairo_fill(cr);
  Limb(cr, -1, 2.6, 7, 2.2, 1.1, st.shade, 0.8);
  // A deep eye socket under a pale brow ridge, with the faintest cold point far inside.
  Ellipse(cr, 6.8, -2.4, 3.3, 3.0, 0.15);
  Col(cr, 0x141220);
  cairo_fill(cr);
  Ellipse(cr, 6.6, -1.6, 1.6, 1.4);
  Col(cr, 0x05050a);
  cairo_fill(cr);
  Limb(cr, 3.2, -6.2, 10.6, -5.6, 1.3, 0xfbf8ec, 0.9);
  Glow(cr, 7.0, -1.8, 0.8, 0xc8f0ff, 0.5);
  // The nose: a dark notch.
  Poly(cr, {11.6, 0.2, 13, 3.6, 10.6, 3.4});
  Col(cr, 0x141220);
  cairo_fill(cr);
  // Upper teeth along the front of the face, their gaps dark.
  Limb(cr, 3.5, 6.6, 12.5, 6.6, 0.6, st.outline);
  for (double x = 4, i = 0; x <= 11.5; x += 1.9, ++i) {
    cairo_rectangle(cr, x, 5.2, 1.3, 2.0);
    Col(cr, i == 2 ? 0xe6e0cc : 0xf4f0e2);
    cairo_fill(cr);
  }
  cairo_restore(cr);
}

void Ribs(cairo_t* cr, const BoneStyle& st, P hip, P neck, double lean) {
  const double k = st.k;
  // Spine: a row of vertebrae.
  for (int i = 0; i <= 14; ++i) {
    double t = i / 14.0;
    P p{hip.x + (neck.x - hip.x) * t - std::sin(t * kPi) * 5 * k, hip.y + (neck.y - hip.y) * t};
    double r = (3.4 - 1.2 * t) * k * st.thick;
    Ellipse(cr, p.x, p.y, r + 0.9, r * 0.8 + 0.9);
    Col(cr, st.outline);
    cairo_fill(cr);
    Ellipse(cr, p.x, p.y, r, r * 0.8);
    Col(cr, st.shade);
    cairo_fill(cr);
  }
  // Ribs arc forwards and down from the upper spine to the breastbone.
  cairo_save(cr);
  cairo_translate(cr, neck.x, neck.y);
  cairo_rotate(cr, lean);
  cairo_scale(cr, k, k);
  const double o = std::max(1.0, 1.6 * k * st.thick) / k;
  for (int pass = 0; pass < 2; ++pass) {
    for (int i = 0; i < 7; ++i) {
      double y0 = 8 + i * 5.2, reach = 20 - std::abs(i - 2.5) * 1.6;
      cairo_new_path(cr);
      cairo_move_to(cr, -2, y0);
      cairo_curve_to(cr, 6, y0 - 6, reach + 4, y0 - 1, reach, y0 + 8);
      cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
      cairo_set_line_width(cr, (2.6 * st.thick) + (pass == 0 ? 2 * o : 0));
      Col(cr, pass == 0 ? st.outline : Mix(st.bone, st.shade, i / 7.0));
      cairo_stroke(cr);
    }
    // Breastbone.
    Limb(cr, 17, 10, 15, 36, 3 * st.thick + (pass == 0 ? 2 * o : 0), pass == 0 ? st.outline : st.bone);
  }
  cairo_restore(cr);
}

void Pelvis(cairo_t* cr, const BoneStyle& st, P hip) {
  const double k = st.k;
  cairo_save(cr);
  cairo_translate(cr, hip.x, hip.y);
  cairo_scale(cr, k, k);
  const double o = std::max(1.0, 1.6 * k * st.thick) / k;
  Ellipse(cr, -1, -5, 11 + o, 8 + o, -0.4);
  Col(cr, st.outline);
  cairo_fill(cr);
  Ellipse(cr, -1, -5, 11, 8, -0.4);
  Col(cr, st.bone);
  cairo_fill(cr);
  Ellipse(cr, -2, -4, 4, 3);
  Col(cr, st.shade);
  cairo_fill(cr);
  cairo_restore(cr);
}

void DrawSkeleton(cairo_t* cr, const Skel& s, const BoneStyle& st) {
  const uint32_t far = Mix(st.bone, 0x303448, 0.45);
  BoneStyle dim = st;
  dim.bone = far;
  // Far limbs first.
  Bone(cr, dim, s.shoulder, s.elbow[1], 5, far);
  Bone(cr, dim, s.elbow[1], s.hand[1], 4, far);
  Bone(cr, dim, s.hip, s.knee[1], 7, far);
  Bone(cr, dim, s.knee[1], s.foot[1], 5.5, far);
  Bone(cr, dim, s.foot[1], s.toe[1], 4, far);
  Pelvis(cr, st, s.hip);
  Ribs(cr, st, s.hip, s.neck, s.lean);
  Skull(cr, st, s.head, s.lean * 0.6, 0.12);
  Bone(cr, st, s.hip, s.knee[0], 7, st.bone);
  Bone(cr, st, s.knee[0], s.foot[0], 5.5, st.bone);
  Bone(cr, st, s.foot[0], s.toe[0], 4, st.bone);
  Bone(cr, st, s.shoulder, s.elbow[0], 5, st.bone);
  Bone(cr, st, s.elbow[0], s.hand[0], 4, st.bone);
  // Finger bones.
  for (int i = -1; i <= 1; ++i) {
    Limb(cr, s.hand[0].x, s.hand[0].y, s.hand[0].x + (2 + i) * st.k * 2.5, s.hand[0].y + 7 * st.k,
         std::max(1.0, 1.8 * st.k * st.thick), st.bone);
  }
}

// Hardens a drawing into pixel art: every pixel either opaque or clear, its colour snapped to the
// nearest of `palette`.
void Harden(cairo_t* cr, std::initializer_list<uint32_t> palette) {
  cairo_surface_t* s = cairo_get_target(cr);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint32_t& p = *reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride + x * 4);
      const double a = p >> 24;
      if (a < 128) {
        p = 0;
        continue;
      }
      const double r = (p >> 16 & 0xFF) * 255 / a, g = (p >> 8 & 0xFF) * 255 / a, b = (p & 0xFF) * 255 / a;
      uint32_t best = 0;
      double bestD = 1e18;
      for (uint32_t c : palette) {
        const double dr = r - (c >> 16 & 0xFF), dg = g - (c >> 8 & 0xFF), db = b - (c & 0xFF);
        const double d = 3 * dr * dr + 4 * dg * dg + 2 * db * db;
        if (d < bestD) bestD = d, best = c;
      }
      p = 0xFF000000u | best;
    }
  cairo_surface_mark_dirty(s);
}

}  // namespace

// The big skeleton walks right in front of the far tombstones. It is drawn at half size as pixel
// art (hard edges, a handful of flat bone tones, a one-pixel outline) and doubled, so its pixels
// are as chunky as the small sprites' around it.
Image MakeSkeleton1() {
  SheetSpec spec(dusk::sheet::kSkeleton1);
  // Inside the figure the bones are parted by a mid-grey line; the dark outline goes round the
  // whole silhouette only, as a pixel artist would draw it.
  const BoneStyle st{0xe2decc, 0x8a8aa0, 0x55566c, 0.5, 1.0};
  const uint32_t ink = 0x1a1822, far = Mix(st.bone, 0x303448, 0.45);
  Canvas half((spec.w + 1) / 2, spec.h / 2);
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    half.Clear();
    cairo_t* h = half.cr();
    cairo_save(h);
    DrawSkeleton(h, SkeletonPose(f, st.k), st);
    cairo_restore(h);
    Harden(h, {ink, 0x05050a, st.outline, st.shade, Mix(st.bone, st.shade, 0.5), st.bone, 0xfbf8ec, far,
               Mix(far, ink, 0.4)});
    PixelOutline(h, ink);
    cairo_surface_flush(cairo_get_target(h));
    cairo_scale(cr, 2, 2);
    cairo_set_source_surface(cr, cairo_get_target(h), 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
  });
}

// The far skeleton: the same walk, small and paler in the mist; left first. Its feet stay above
// row 58, where the kerb and the ground strip in front of its path begin.
Image MakeSkeleton2() {
  SheetSpec spec(dusk::sheet::kSkeleton2);
  spec.firstRunMirrored = true;
  const double k = 0.29;
  const BoneStyle st{0xc4c8da, 0x70748e, 0x12131c, k, 1.5};
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    cairo_translate(cr, 2, 0.4);
    // It covers 7 pixels a tick: a long, quick stride, each foot down for half of the 12 frames.
    DrawSkeleton(cr, SkeletonPose(f, k, 7 * 12 * 0.42 / k, 0.42), st);
  });
}

// ---- zombie --------------------------------------------------------------------------------

Image MakeZombie() {
  SheetSpec spec(dusk::sheet::kZombie);
  spec.firstRunMirrored = true;  // shambles to the left
  // Pale, moonlit colours: it walks over the dark far band and must read against it.
  const uint32_t skin = 0xa8cc9e, skinDark = 0x64825e, shirt = 0x6c6aa0, pants = 0x52577c, out = 0x0c0d12;
  const uint32_t shoe = 0x4a3428, moon = 0xd8e2ff;
  // It walks just behind the low kerb: the whole figure, shoes included, stands above row 57, the
  // first row the kerb and the ground strip hide.
  const double k = 0.92, soleY = 56.6, cx = 17;
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    cairo_translate(cr, -1.5, 0);  // room ahead for the dangling hands
    cairo_translate(cr, cx, soleY);
    cairo_scale(cr, k, k);
    cairo_translate(cr, -cx, -65.75);
    const double p = f / 10.0;
    const double ground = 64, thigh = 13, shin = 13;
    // A lurching shuffle: the near foot steps, the far one drags along the ground.
    // Both cover 2 pixels a frame while down, as the zombie moves.
    const double stride = 11 / k;
    P fn = FootAt(p, stride, 3.5, 0.55), ff = FootAt(Wrap(p + 0.5), stride, 1, 0.55);
    const double bob = 1.2 * std::cos(4 * kPi * p);
    P hip{cx, ground - 24.5 + bob};
    P feet[2] = {{cx + fn.x, ground - 1 + fn.y}, {cx + ff.x, ground - 1 + ff.y}};
    const double sway = 0.06 * std::sin(2 * kPi * p);
    P neck = hip + Polar(21, -kPi / 2 + 0.3 + sway);
    P head = neck + Polar(6, -kPi / 2 + 0.9);
    auto figure = [&](cairo_t* c) {
      auto leg = [&](int i, uint32_t col) {
        P kn = Knee(hip, feet[i], thigh, shin, true);
        Limb(c, hip.x, hip.y, kn.x, kn.y, 6.5, out);
        Limb(c, kn.x, kn.y, feet[i].x, feet[i].y, 5.5, out);
        Limb(c, feet[i].x, feet[i].y, feet[i].x + 5, feet[i].y + 0.5, 4.5, out);
        Limb(c, hip.x, hip.y, kn.x, kn.y, 4.5, col);
        Limb(c, kn.x, kn.y, feet[i].x, feet[i].y, 3.5, col);
        // A worn shoe, its toe scuffed pale.
        Limb(c, feet[i].x, feet[i].y, feet[i].x + 4.5, feet[i].y + 0.5, 2.8, shoe);
        Limb(c, feet[i].x + 2.5, feet[i].y - 0.6, feet[i].x + 4.6, feet[i].y - 0.2, 1.0, Mix(shoe, 0xc0a890, 0.5));
      };
      // Arms reach out ahead, elbows sagging and hands dangling from limp wrists; they bob out of
      // step with each other as the body lurches. `swing` -1..1.
      auto arm = [&](double swing, uint32_t col, uint32_t sk) {
        P sh = neck + P{-0.5, 3};
        P el = sh + Polar(7.5, 0.75 - swing * 0.3);
        P wr = el + Polar(6.5, -0.25 - swing * 0.25);
        P ha = wr + Polar(3, 0.9 + swing * 0.3);
        Limb(c, sh.x, sh.y, el.x, el.y, 6, out);
        Limb(c, el.x, el.y, wr.x, wr.y, 5, out);
        Limb(c, wr.x, wr.y, ha.x, ha.y, 4.4, out);
        Limb(c, sh.x, sh.y, el.x, el.y, 4.2, col);
        Limb(c, el.x, el.y, wr.x - 0.5, wr.y, 3.2, Mix(col, sk, 0.5));
        Limb(c, wr.x, wr.y, ha.x, ha.y, 2.8, sk);
        for (int i = 0; i < 3; ++i)
          Limb(c, ha.x, ha.y, ha.x + 0.6 + i * 0.9, ha.y + 2.2 - i * 0.3, 1.0, sk);
        // A ragged cuff where the sleeve ends.
        Limb(c, el.x + 1.5, el.y - 1, el.x + 1, el.y + 2, 1.2, Scale(col, 0.8));
      };
      arm(std::sin(2 * kPi * p + kPi), Scale(shirt, 0.75), skinDark);
      leg(1, Scale(pants, 0.75));
      // Torso in a torn shirt.
      cairo_new_path(c);
      P a = hip + P{-5, 1}, b = hip + P{6, 1};
      Poly(c, {a.x, a.y + 3, b.x, b.y + 4, neck.x + 5, neck.y + 1, neck.x - 4, neck.y - 1});
      Col(c, out);
      cairo_set_line_width(c, 2);
      cairo_stroke_preserve(c);
      cairo_pattern_t* g = cairo_pattern_create_linear(neck.x - 6, neck.y, hip.x + 6, hip.y);
      AddStop(g, 0, Mix(shirt, 0xc8d0f0, 0.45));
      AddStop(g, 1, Scale(shirt, 0.8));
      cairo_set_source(c, g);
      cairo_fill(c);
      cairo_pattern_destroy(g);
      // Tattered hem and a rip showing skin.
      for (int i = 0; i < 4; ++i)
        Poly(c, {a.x + i * 3, a.y + 3, a.x + i * 3 + 1.5, a.y + 7 + (i % 2) * 2, a.x + i * 3 + 3, a.y + 3});
      Col(c, Scale(shirt, 0.85));
      cairo_fill(c);
      Ellipse(c, neck.x + 1, neck.y + 10, 1.6, 3, 0.4);
      Col(c, skinDark);
      cairo_fill(c);
      leg(0, pants);
      // Head hanging forwards: a gaunt pale face, a dark sunken eye, lank hair.
      Ellipse(c, head.x, head.y, 6.2, 6.8, 0.3);
      Col(c, out);
      cairo_fill(c);
      Ellipse(c, head.x, head.y, 5, 5.6, 0.3);
      cairo_pattern_t* hg = cairo_pattern_create_radial(head.x + 1, head.y - 2, 0.5, head.x, head.y, 6);
      AddStop(hg, 0, Mix(skin, 0xf0fff0, 0.5));
      AddStop(hg, 1, skin);
      cairo_set_source(c, hg);
      cairo_fill(c);
      cairo_pattern_destroy(hg);
      Ellipse(c, head.x + 2.5, head.y - 0.5, 1.4, 1.2);
      Col(c, 0x0a0a0a);
      cairo_fill(c);
      Ellipse(c, head.x + 2.7, head.y - 0.6, 0.6, 0.6);
      Col(c, 0xe8ff70);
      cairo_fill(c);
      Limb(c, head.x + 1.5, head.y + 3.2, head.x + 4.2, head.y + 2.6, 1, 0x1a0a0a);
      for (int i = 0; i < 5; ++i)
        Limb(c, head.x - 4 + i * 1.6, head.y - 5, head.x - 6 + i * 1.2, head.y + 1 + (i % 2) * 2, 1.1, 0x2a2c36);
      arm(std::sin(2 * kPi * p), shirt, skin);
    };
    // The moon behind its back as it shambles left (drawn facing right): its back and crown catch
    // the light.
    RimLit(cr, figure, -1, -0.6, 1.2, moon, 0.9);
  });
}

// ---- grave digger --------------------------------------------------------------------------

// Digs a grave at the foot of the cross, facing right, at an old man's steady pace: the spade goes
// in, his boot presses it down, he levers the earth out and swings the load low across to the heap
// behind him, then brings the spade back round. The lantern on the grave's far edge lights his front.
Image MakeGraveDigger(const Image& still) {
  SheetSpec spec(dusk::sheet::kGraveDigger);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = 650;
  spec.sceneY = 415;
  const uint32_t coat = 0x33304a, coatLit = 0x6a6a98, out = 0x0b0b12, skin = 0xc09070;
  const uint32_t earth = 0x4a3e34, trousers = 0x23222e;
  // One pose per frame: the blade's tip, the shaft's direction from the tip up to the handle
  // (radians, y up), the body's lean towards the grave, the load on the blade, the front foot
  // and how far the body sinks.
  struct Pose {
    double tx, ty, ba, lean, load, fx, fy, dip;
  };
  const Pose poses[16] = {
      {37, 64, 1.74, 0.10, 0, 28, 70, 0},        // blade set on the ground
      {37, 65.5, 1.74, 0.13, 0, 28, 70, 0.3},    // leaning on it
      {37, 67, 1.73, 0.16, 0, 31.5, 64.5, 0.3},  // boot up on the blade
      {37, 69, 1.72, 0.20, 0, 33, 64, 0.8},      // pressing down
      {37, 70.5, 1.71, 0.23, 0, 33.5, 65.5, 1.2},
      {37, 70.5, 1.72, 0.20, 0, 29, 70, 1.0},    // boot back down
      {37.5, 70, 1.98, 0.12, 0.4, 29, 70, 0.8},  // levering
      {37.5, 69, 2.22, 0.05, 0.8, 29, 70, 0.5},
      {35, 64.5, 2.45, 0.00, 1, 29, 70, 0.2},    // lifted out, loaded
      {30, 62, 2.05, -0.04, 1, 29, 70, 0.2},     // swung low across
      {22, 61, 1.55, -0.08, 1, 29, 70, 0.4},
      {15, 58, 1.10, -0.12, 0.9, 29, 70, 0.4},
      {11, 55, 0.80, -0.14, 0.2, 29, 70, 0.3},   // tipped onto the heap
      {14, 58, 1.00, -0.10, 0, 29, 70, 0.2},
      {24, 62, 1.40, 0.02, 0, 28, 70, 0.1},      // brought back round
      {33, 64, 1.66, 0.08, 0, 28, 70, 0},        // about to set it down again
  };
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    const Pose& p = poses[f];
    // The heap behind him and the open grave before him.
    Poly(cr, {0, 74, 0, 57, 4, 52.5, 10, 53.5, 15, 60, 18, 74});
    cairo_pattern_t* hg = cairo_pattern_create_linear(0, 52, 0, 74);
    AddStop(hg, 0, 0x5a4c40);
    AddStop(hg, 1, 0x201a18);
    cairo_set_source(cr, hg);
    cairo_fill(cr);
    cairo_pattern_destroy(hg);
    Rng rng(77);
    for (int k = 0; k < 24; ++k) {
      Ellipse(cr, rng.Range(1, 15), rng.Range(56, 73), 1, 0.8);
      Col(cr, rng.Uni() < 0.5 ? 0x6a5a4c : 0x1a1614);
      cairo_fill(cr);
    }
    Poly(cr, {27, 66, 47, 66, 49, 74, 25, 74});
    Col(cr, 0x07070a);
    cairo_fill(cr);
    Limb(cr, 27, 66, 47, 66, 1.2, 0x5a5048);
    // The lantern on the far edge, and its warm pool of light.
    Glow(cr, 51, 62, 16, 0xffa040, 0.22);
    Glow(cr, 51, 62, 7, 0xffc060, 0.5);
    Poly(cr, {48.5, 66, 53.5, 66, 53.5, 58, 48.5, 58});
    Col(cr, 0xffc060);
    cairo_fill(cr);
    Limb(cr, 48.5, 58, 53.5, 58, 1.2, out);
    Limb(cr, 48.5, 66, 53.5, 66, 1.2, out);
    Limb(cr, 51, 58, 51, 55.5, 1, out);
    Ellipse(cr, 51, 62, 1, 1.6);
    Col(cr, 0xfff4d0);
    cairo_fill(cr);
    // The figure, rimmed on its right by the lantern.
    const P hip{21, 48 + p.dip};
    const P sh = hip + Polar(18, -kPi / 2 + p.lean);
    const P head = sh + Polar(6.5, -kPi / 2 + p.lean * 0.8);
    const P dir{std::cos(p.ba), -std::sin(p.ba)};
    const P tip{p.tx, p.ty};
    const P grip1 = tip + P{dir.x * 16, dir.y * 16}, grip2 = tip + P{dir.x * 29, dir.y * 29};
    auto figure = [&](cairo_t* c) {
      auto leg = [&](P foot, uint32_t col) {
        const P kn = Knee(hip, foot, 12, 12, true);
        Limb(c, hip.x, hip.y, kn.x, kn.y, 5.5, out);
        Limb(c, kn.x, kn.y, foot.x, foot.y, 5, out);
        Limb(c, hip.x, hip.y, kn.x, kn.y, 3.8, col);
        Limb(c, kn.x, kn.y, foot.x, foot.y, 3.4, col);
        Poly(c, {foot.x - 2.5, foot.y - 2, foot.x + 4.5, foot.y - 1, foot.x + 4.5, foot.y + 1.5,
                 foot.x - 2.5, foot.y + 1.5});
        Col(c, out);
        cairo_fill(c);
      };
      auto arm = [&](P hand, uint32_t col) {
        P mid{(sh.x + hand.x) / 2 - 1, (sh.y + hand.y) / 2 + 3};
        Limb(c, sh.x, sh.y + 2, mid.x, mid.y, 5.5, out);
        Limb(c, mid.x, mid.y, hand.x, hand.y, 5, out);
        Limb(c, sh.x, sh.y + 2, mid.x, mid.y, 3.8, col);
        Limb(c, mid.x, mid.y, hand.x, hand.y, 3.4, col);
        Ellipse(c, hand.x, hand.y, 1.8, 1.8);
        Col(c, skin);
        cairo_fill(c);
      };
      leg({17, 70}, Scale(trousers, 0.75));
      // Torso: a long coat, skirts over the thighs.
      Poly(c, {hip.x - 6, hip.y + 7, hip.x + 6, hip.y + 7, sh.x + 5.5, sh.y + 1, sh.x - 5.5, sh.y - 1});
      Col(c, out);
      cairo_set_line_width(c, 2);
      cairo_stroke_preserve(c);
      cairo_pattern_t* cg = cairo_pattern_create_linear(sh.x - 8, sh.y, hip.x + 8, hip.y);
      AddStop(cg, 0, coatLit);
      AddStop(cg, 0.4, coat);
      AddStop(cg, 1, Scale(coat, 0.6));
      cairo_set_source(c, cg);
      cairo_fill(c);
      cairo_pattern_destroy(cg);
      leg({p.fx, p.fy}, trousers);
      arm(grip2, Scale(coat, 0.7));
      // The spade: shaft, grip and blade with its load of earth.
      const P top = tip + P{dir.x * 32, dir.y * 32};
      Limb(c, tip.x, tip.y, top.x, top.y, 2.6, out);
      Limb(c, tip.x, tip.y, top.x, top.y, 1.5, 0xa88458);
      Limb(c, top.x - dir.y * 2, top.y + dir.x * 2, top.x + dir.y * 2, top.y - dir.x * 2, 2.2, out);
      cairo_save(c);
      cairo_translate(c, tip.x, tip.y);
      cairo_rotate(c, std::atan2(dir.y, dir.x) + kPi / 2);
      Poly(c, {-4, -9, 4, -9, 3.5, -1.5, 0, 0, -3.5, -1.5});
      Col(c, out);
      cairo_fill(c);
      Poly(c, {-3, -8.2, 3, -8.2, 2.6, -2, 0, -0.8, -2.6, -2});
      Col(c, 0x8a92b0);
      cairo_fill(c);
      if (p.load > 0) {
        Ellipse(c, 0, -5, 4.8 * p.load, 3.2 * p.load);
        Col(c, earth);
        cairo_fill(c);
      }
      cairo_restore(c);
      // Head: a wide-brimmed hat over a grim face, looking at the work.
      Ellipse(c, head.x + 1, head.y + 1, 4, 4.6);
      Col(c, out);
      cairo_fill(c);
      Ellipse(c, head.x + 1.4, head.y + 1, 3, 3.6);
      Col(c, skin);
      cairo_fill(c);
      Ellipse(c, head.x + 3, head.y + 0.5, 0.6, 0.6);
      Col(c, 0x101010);
      cairo_fill(c);
      Limb(c, head.x + 4.2, head.y + 1, head.x + 5.2, head.y + 2.2, 1, Scale(skin, 0.8));
      Ellipse(c, head.x, head.y - 2.4, 8, 2, p.lean * 0.5);
      Col(c, 0x1a1822);
      cairo_fill(c);
      Ellipse(c, head.x - 0.5, head.y - 4.4, 4.4, 3, p.lean * 0.5);
      cairo_fill(c);
      Limb(c, head.x - 4, head.y - 6.2, head.x + 3, head.y - 5.8, 0.8, 0x5a5a80);
      arm(grip1, coat);
    };
    RimLit(cr, figure, 1, 0.25, 1.4, 0xffb060, 0.75);
    // Earth: crumbs falling from the blade as it rises, clods tumbling off onto the heap.
    Rng clods(static_cast<uint64_t>(f) + 90);
    if (f == 7 || f == 8)
      for (int k = 0; k < 2; ++k) {
        Ellipse(cr, p.tx + clods.Range(-3, 3), p.ty + 4 + k * 5 + clods.Range(0, 2), 0.9, 0.8);
        Col(cr, earth);
        cairo_fill(cr);
      }
    if (f >= 12 && f <= 14) {
      const double s = (f - 11) / 3.0;
      for (int k = 0; k < 5; ++k) {
        const double cx = 9 - s * 4 + clods.Range(-2.5, 2.5);
        const double cy = 52 - 3 * s + 6 * s * s + clods.Range(-2, 2);
        Ellipse(cr, cx, cy, 1.3, 1.1);
        Col(cr, k % 2 ? earth : 0x5e5246);
        cairo_fill(cr);
      }
    }
  });
}

// ---- the hand ------------------------------------------------------------------------------

// Rises out of the earth before the Celtic cross: frame 0 the disturbed ground, frame 16 full height.
Image MakeHand(const Image& still) {
  SheetSpec spec(dusk::sheet::kHand);
  spec.look = Look::Matte;
  spec.scene = &still;
  spec.sceneX = 710;
  spec.sceneY = 500;
  const uint32_t skin = 0x8aa088, dark = 0x3a4a3c, out = 0x0b0c10, sleeve = 0x2a2438;
  const double soil = 88;
  return BuildSheet(spec, [&](cairo_t* cr, int f) {
    const double r = f / 16.0;
    const double rise = (1 - r) * 84;  // how far the arm still is below its full height
    const double open = std::clamp((r - 0.55) / 0.45, 0.0, 1.0);
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, 61, soil + 1);
    cairo_clip(cr);
    cairo_translate(cr, 0, rise);
    // Forearm in a rotten sleeve.
    Taper(cr, 30, 100, 31, 46, 15, 12);
    Col(cr, out);
    cairo_fill(cr);
    Taper(cr, 30, 100, 31, 46, 13, 10);
    cairo_pattern_t* ag = cairo_pattern_create_linear(24, 0, 38, 0);
    AddStop(ag, 0, dark);
    AddStop(ag, 0.7, skin);
    AddStop(ag, 1, Mix(skin, 0xd8e4f0, 0.4));
    cairo_set_source(cr, ag);
    cairo_fill(cr);
    cairo_pattern_destroy(ag);
    Poly(cr, {22, 100, 22, 70, 25, 66, 28, 72, 31, 64, 34, 71, 38, 65, 40, 70, 40, 100});
    Col(cr, out);
    cairo_fill(cr);
    Poly(cr, {23, 100, 23, 71, 25, 68, 28, 74, 31, 66, 34, 73, 38, 67, 39, 71, 39, 100});
    Col(cr, sleeve);
    cairo_fill(cr);
    Limb(cr, 37, 70, 37, 96, 1, 0x5a5478);
    // The back of the hand: narrow at the wrist, widening to a squarish row of knuckles, with the
    // tendons running up to each finger.
    auto handPath = [&](bool close) {
      cairo_new_path(cr);
      cairo_move_to(cr, 25.5, 48);
      cairo_curve_to(cr, 24.5, 43, 23, 37, 22.6, 31.5);
      cairo_curve_to(cr, 22.4, 29, 24, 27.2, 26.5, 26.8);
      cairo_curve_to(cr, 29, 26, 33, 25.8, 35.5, 26.6);
      cairo_curve_to(cr, 38, 27.4, 39.2, 29.5, 39, 33);
      cairo_curve_to(cr, 38.8, 38, 37.4, 42, 36.5, 48);
      if (close) cairo_close_path(cr);  // open, the outline leaves the wrist joined to the arm
    };
    handPath(false);
    cairo_set_line_width(cr, 3);
    Col(cr, out);
    cairo_stroke(cr);
    handPath(true);
    cairo_pattern_t* hg = cairo_pattern_create_linear(23, 0, 39, 0);
    AddStop(hg, 0, dark);
    AddStop(hg, 0.6, skin);
    AddStop(hg, 1, Mix(skin, 0xd8e4f0, 0.35));
    cairo_set_source(cr, hg);
    cairo_fill(cr);
    cairo_pattern_destroy(hg);
    for (double x : {26.5, 29.8, 33.0, 36.0}) {
      Limb(cr, 31 + (x - 31) * 0.45, 46, x, 29.5, 0.7, dark, 0.7);
      Ellipse(cr, x, 28.2, 1.3, 1.0);
      Col(cr, Mix(skin, 0xd8e4f0, 0.5), 0.8);
      cairo_fill(cr);
    }
    // Fingers: curled while rising, clawing wide open at the top.
    const double baseAng[] = {-2.35, -1.85, -1.5, -1.15};
    const double len[] = {13, 16, 15, 12};
    for (int i = 0; i < 4; ++i) {
      double spread = (baseAng[i] + kPi / 2) * (0.5 + 0.6 * open);
      double a0 = -kPi / 2 + spread;
      P k0{26.5 + 3.2 * i, 28.5 + (i == 0 || i == 3 ? 0.8 : 0)};
      double curl = 1.1 * (1 - open) + 0.35;
      P k1 = k0 + Polar(len[i] * 0.55, a0);
      P k2 = k1 + Polar(len[i] * 0.5, a0 + curl);
      Limb(cr, k0.x, k0.y, k1.x, k1.y, 4.6, out);
      Limb(cr, k1.x, k1.y, k2.x, k2.y, 4, out);
      Limb(cr, k0.x, k0.y, k1.x, k1.y, 3, skin);
      Limb(cr, k1.x, k1.y, k2.x, k2.y, 2.5, Mix(skin, dark, 0.3));
      Limb(cr, k2.x, k2.y, k2.x + std::cos(a0 + curl * 1.6) * 2, k2.y + std::sin(a0 + curl * 1.6) * 2,
           1.4, 0xd8d0b0);
    }
    // Thumb, from the side of the hand.
    P t0{38, 39};
    P t1 = t0 + Polar(7, -0.5 - 0.4 * open);
    P t2 = t1 + Polar(6, -1.2 + 0.6 * (1 - open));
    Limb(cr, t0.x, t0.y, t1.x, t1.y, 5, out);
    Limb(cr, t1.x, t1.y, t2.x, t2.y, 4.2, out);
    Limb(cr, t0.x, t0.y, t1.x, t1.y, 3.4, skin);
    Limb(cr, t1.x, t1.y, t2.x, t2.y, 2.8, skin);
    cairo_restore(cr);
    // The grave's earth, thrown up around the arm as it breaks through.
    Ellipse(cr, 31, 92, 27, 7);
    cairo_pattern_t* sg = cairo_pattern_create_linear(0, 85, 0, 98);
    AddStop(sg, 0, 0x4a4440);
    AddStop(sg, 1, 0x1a1818);
    cairo_set_source(cr, sg);
    cairo_fill(cr);
    cairo_pattern_destroy(sg);
    Rng rng(5);
    const double heave = std::min(1.0, r * 3);
    for (int k = 0; k < 26; ++k) {
      double x = rng.Range(8, 54), y = rng.Range(86, 96);
      double up = heave * std::max(0.0, 1 - std::abs(x - 31) / 16) * rng.Range(2, 6);
      Ellipse(cr, x, y - up, rng.Range(1, 2.4), rng.Range(0.8, 1.6));
      Col(cr, rng.Uni() < 0.5 ? 0x6a6058 : 0x15130f);
      cairo_fill(cr);
    }
    // A crack where the hand will come through.
    cairo_new_path(cr);
    cairo_move_to(cr, 18, 90);
    cairo_line_to(cr, 26, 89);
    cairo_line_to(cr, 31, 91);
    cairo_line_to(cr, 38, 88.5);
    cairo_line_to(cr, 45, 90);
    cairo_set_line_width(cr, 1.2 + 2 * heave);
    Col(cr, 0x070606);
    cairo_stroke(cr);
    for (int k = 0; k < 18; ++k) {
      double x = rng.Range(8, 54);
      Limb(cr, x, 96, x + rng.Range(-1, 1), 96 - rng.Range(2, 5), 0.8, 0x2a3c3c);
    }
  });
}

}  // namespace assetgen
