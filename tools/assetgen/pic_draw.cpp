#include "pic_draw.h"

#include <algorithm>
#include <cmath>

namespace assetgen {

Canvas::Canvas(int w, int h) : w_(w), h_(h) {
  surf_ = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
  cr_ = cairo_create(surf_);
  Clear();
}

Canvas::~Canvas() {
  cairo_destroy(cr_);
  cairo_surface_destroy(surf_);
}

void Canvas::Clear() {
  cairo_save(cr_);
  cairo_set_operator(cr_, CAIRO_OPERATOR_CLEAR);
  cairo_paint(cr_);
  cairo_restore(cr_);
}

void Canvas::Flush() const { cairo_surface_flush(surf_); }

uint32_t Canvas::Argb(int x, int y) const {
  const unsigned char* data = cairo_image_surface_get_data(surf_);
  const int stride = cairo_image_surface_get_stride(surf_);
  return *reinterpret_cast<const uint32_t*>(data + static_cast<size_t>(y) * stride + x * 4);
}

uint32_t Mix(uint32_t a, uint32_t b, double t) {
  auto ch = [&](int s) {
    double va = (a >> s) & 0xFF, vb = (b >> s) & 0xFF;
    return static_cast<uint32_t>(std::clamp(va + (vb - va) * t, 0.0, 255.0) + 0.5) << s;
  };
  return ch(16) | ch(8) | ch(0);
}

uint32_t Scale(uint32_t c, double k) {
  auto ch = [&](int s) {
    return static_cast<uint32_t>(std::clamp(((c >> s) & 0xFF) * k, 0.0, 255.0) + 0.5) << s;
  };
  return ch(16) | ch(8) | ch(0);
}

void Col(cairo_t* cr, uint32_t rgb, double alpha) {
  cairo_set_source_rgba(cr, ((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0,
                        (rgb & 0xFF) / 255.0, alpha);
}

void AddStop(cairo_pattern_t* p, double at, uint32_t rgb, double alpha) {
  cairo_pattern_add_color_stop_rgba(p, at, ((rgb >> 16) & 0xFF) / 255.0,
                                    ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha);
}

void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle) {
  cairo_new_sub_path(cr);
  cairo_save(cr);
  cairo_translate(cr, cx, cy);
  cairo_rotate(cr, angle);
  cairo_scale(cr, std::max(rx, 0.01), std::max(ry, 0.01));
  cairo_arc(cr, 0, 0, 1, 0, 2 * kPi);
  cairo_restore(cr);
  cairo_close_path(cr);
}

void Poly(cairo_t* cr, std::initializer_list<double> xy, bool close) {
  cairo_new_sub_path(cr);
  const double* p = xy.begin();
  for (size_t i = 0; i + 1 < xy.size(); i += 2) cairo_line_to(cr, p[i], p[i + 1]);
  if (close) cairo_close_path(cr);
}

void Limb(cairo_t* cr, double x0, double y0, double x1, double y1, double width, uint32_t rgb,
          double alpha) {
  cairo_save(cr);
  cairo_new_path(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
  cairo_set_line_width(cr, width);
  cairo_move_to(cr, x0, y0);
  cairo_line_to(cr, x1, y1);
  Col(cr, rgb, alpha);
  cairo_stroke(cr);
  cairo_restore(cr);
}

void Taper(cairo_t* cr, double x0, double y0, double x1, double y1, double w0, double w1) {
  double dx = x1 - x0, dy = y1 - y0;
  double len = std::hypot(dx, dy);
  if (len < 1e-6) {
    Ellipse(cr, x0, y0, w0 / 2, w0 / 2);
    return;
  }
  double a = std::atan2(dy, dx);
  cairo_new_sub_path(cr);
  cairo_arc(cr, x1, y1, w1 / 2, a - kPi / 2, a + kPi / 2);
  cairo_arc(cr, x0, y0, w0 / 2, a + kPi / 2, a + 3 * kPi / 2);
  cairo_close_path(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double r, uint32_t rgb, double a) {
  cairo_pattern_t* p = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
  AddStop(p, 0, rgb, a);
  AddStop(p, 0.35, rgb, a * 0.45);
  AddStop(p, 1, rgb, 0);
  cairo_save(cr);
  cairo_set_source(cr, p);
  cairo_new_path(cr);
  cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
  cairo_fill(cr);
  cairo_restore(cr);
  cairo_pattern_destroy(p);
}

void RimLit(cairo_t* cr, const std::function<void(cairo_t*)>& draw, double lx, double ly,
            double width, uint32_t rgb, double alpha) {
  const double n = std::hypot(lx, ly);
  const double dx = lx / n * width, dy = ly / n * width;
  cairo_push_group(cr);
  cairo_save(cr);
  draw(cr);
  cairo_restore(cr);
  cairo_pattern_t* shape = cairo_pop_group(cr);
  cairo_set_source(cr, shape);
  cairo_paint(cr);
  // The rim: the silhouette minus itself moved away from the light.
  cairo_push_group(cr);
  Col(cr, rgb);
  cairo_mask(cr, shape);
  cairo_set_operator(cr, CAIRO_OPERATOR_DEST_OUT);
  cairo_matrix_t m;
  cairo_pattern_get_matrix(shape, &m);
  cairo_matrix_translate(&m, dx, dy);  // the content moves by (-dx, -dy) in user space
  cairo_pattern_set_matrix(shape, &m);
  cairo_set_source(cr, shape);
  cairo_paint(cr);
  cairo_pattern_t* rim = cairo_pop_group(cr);
  cairo_set_source(cr, rim);
  cairo_paint_with_alpha(cr, alpha);
  cairo_pattern_destroy(rim);
  cairo_pattern_destroy(shape);
}

void PixelMap(cairo_t* cr, int x, int y, const std::vector<const char*>& rows,
              const std::map<char, uint32_t>& palette) {
  cairo_save(cr);
  cairo_set_antialias(cr, CAIRO_ANTIALIAS_NONE);
  for (size_t j = 0; j < rows.size(); ++j) {
    for (int i = 0; rows[j][i]; ++i) {
      auto it = palette.find(rows[j][i]);
      if (it == palette.end()) continue;
      Col(cr, it->second);
      cairo_rectangle(cr, x + i, y + static_cast<int>(j), 1, 1);
      cairo_fill(cr);
    }
  }
  cairo_restore(cr);
}

namespace {

struct Px {
  double a, r, g, b;  // premultiplied, 0..255
};

Px Read(const Canvas& c, int x, int y) {
  uint32_t v = c.Argb(x, y);
  return {double(v >> 24), double((v >> 16) & 0xFF), double((v >> 8) & 0xFF), double(v & 0xFF)};
}

uint32_t Pack(double r, double g, double b) {
  auto c = [](double v) { return static_cast<uint32_t>(std::clamp(v, 0.0, 255.0) + 0.5); };
  return (c(r) << 16) | (c(g) << 8) | c(b);
}

uint32_t OverPx(const Px& p, uint32_t under) {
  double k = 1.0 - p.a / 255.0;
  return Pack(p.r + ((under >> 16) & 0xFF) * k, p.g + ((under >> 8) & 0xFF) * k,
              p.b + (under & 0xFF) * k);
}

}  // namespace

namespace {

constexpr int kBayer4[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

// The level k of 2^k - 1 (0..8) for light v, dithered against threshold t in (0, 1).
int LightLevel(double v, double t) {
  if (v <= 0) return 0;
  if (v >= 255) return 8;
  int k = 0;
  while ((2 << k) - 1 <= v) ++k;
  const double lo = (1 << k) - 1, hi = (2 << k) - 1;
  return (v - lo) / (hi - lo) > t ? k + 1 : k;
}

}  // namespace

// The brightest channel picks the level; the others sit a whole number of levels below it, as
// many as their share of the light says, so a light keeps one hue over any background.
uint32_t LightBits(double r, double g, double b, int x, int y) {
  const double t = (kBayer4[y & 3][x & 3] + 0.5) / 16.0;
  const double top = std::max({r, g, b});
  const int k = LightLevel(top, t);
  if (k == 0) return 0;
  auto chan = [&](double v) -> uint32_t {
    if (v <= 0) return 0;
    const int kc = k - static_cast<int>(std::lround(std::log2(top / v)));
    return kc <= 0 ? 0 : (1u << kc) - 1;
  };
  return (chan(r) << 16) | (chan(g) << 8) | chan(b);
}

bool IsLightBits(uint32_t rgb) {
  for (int s : {0, 8, 16}) {
    const uint32_t c = (rgb >> s) & 0xFF;
    if ((c & (c + 1)) != 0) return false;
  }
  return true;
}

Image Over(const Canvas& c, const Image& under) {
  c.Flush();
  Image out(c.w(), c.h());
  for (int y = 0; y < c.h(); ++y)
    for (int x = 0; x < c.w(); ++x) out.at(x, y) = OverPx(Read(c, x, y), under.at(x, y));
  return out;
}

Image Flatten(const Canvas& c, uint32_t background) {
  return Over(c, Image(c.w(), c.h(), background));
}

Image BuildSheet(const SheetSpec& spec, const FrameDraw& draw) {
  Image sheet(spec.w * spec.frames * spec.runs, spec.h * 2, 0xFFFFFF);
  Canvas c(spec.w, spec.h);
  for (int f = 0; f < spec.frames; ++f) {
    c.Clear();
    cairo_t* cr = c.cr();
    cairo_save(cr);
    draw(cr, f);
    cairo_restore(cr);
    c.Flush();
    for (int y = 0; y < spec.h; ++y) {
      for (int x = 0; x < spec.w; ++x) {
        Px p = Read(c, x, y);
        uint32_t img = 0;
        bool opaque = false;
        switch (spec.look) {
          case Look::Cut:
            opaque = p.a >= 128;
            if (opaque) img = Pack(p.r * 255 / p.a, p.g * 255 / p.a, p.b * 255 / p.a);
            break;
          case Look::Matte: {
            opaque = p.a >= std::max(40, spec.haloBelow);
            const int sx = spec.sceneX + x, sy = spec.sceneY + y;
            uint32_t under = spec.scene && spec.scene->inside(sx, sy) ? spec.scene->at(sx, sy) : 0;
            if (opaque)
              img = OverPx(p, under);
            else if (spec.haloBelow > 0)
              img = LightBits(p.r, p.g, p.b, x, y);
            break;
          }
          case Look::Glow:
            img = LightBits(p.r, p.g, p.b, x, y);
            opaque = img != 0;
            break;
        }
        // The frame as drawn (facing right) and its mirror image (facing left).
        for (int run = 0; run < spec.runs; ++run) {
          const bool mirror = (run == 1) != spec.firstRunMirrored;
          const int x0 = (run * spec.frames + f) * spec.w + (mirror ? spec.w - 1 - x : x);
          sheet.at(x0, y) = img;
          sheet.at(x0, spec.h + y) = opaque ? 0x000000 : 0xFFFFFF;
        }
      }
    }
  }
  return sheet;
}

void DrawMasked(Image& dst, const Image& sheet, int frameX, int w, int h, int x, int y) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (!dst.inside(x + i, y + j) || !sheet.inside(frameX + i, h + j)) continue;
      uint32_t& d = dst.at(x + i, y + j);
      d = (d & sheet.at(frameX + i, h + j)) | sheet.at(frameX + i, j);
    }
}

void DrawAdditive(Image& dst, const Image& sheet, int frameX, int w, int h, int x, int y) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (dst.inside(x + i, y + j) && sheet.inside(frameX + i, j))
        dst.at(x + i, y + j) |= sheet.at(frameX + i, j);
}

bool WritePng(const Image& img, const char* path) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_RGB24, img.w, img.h);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x)
      *reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride + x * 4) = img.at(x, y);
  cairo_surface_mark_dirty(s);
  bool ok = cairo_surface_write_to_png(s, path) == CAIRO_STATUS_SUCCESS;
  cairo_surface_destroy(s);
  return ok;
}

}  // namespace assetgen

namespace assetgen {

void PixelOutline(cairo_t* cr, uint32_t rgb) {
  cairo_surface_t* s = cairo_get_target(cr);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
  const int stride = cairo_image_surface_get_stride(s);
  auto px = [&](int x, int y) -> uint32_t& {
    return *reinterpret_cast<uint32_t*>(data + static_cast<size_t>(y) * stride + x * 4);
  };
  std::vector<uint8_t> solid(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) solid[static_cast<size_t>(y) * w + x] = (px(x, y) >> 24) >= 128;
  auto at = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && solid[static_cast<size_t>(y) * w + x]; };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (!at(x, y) && (at(x - 1, y) || at(x + 1, y) || at(x, y - 1) || at(x, y + 1))) px(x, y) = 0xFF000000u | rgb;
  cairo_surface_mark_dirty(s);
}

}  // namespace assetgen
