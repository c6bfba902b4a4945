
// The program's icons and pointer, drawn in code: duskhollow.ico (a moon over a tombstone),
// speaker.ico (listen to a song), fxspeaker.ico (listen to an effect), preview.ico (preview a
// creature) and pointer.cur (the settings dialog's pointer). Each holds a 16 x 16 and a 32 x 32
// image, 32-bit with alpha and an AND mask; the program's own icon also 24, 48 and 64 pixels and,
// as a PNG, 256 (what Explorer and the settings show on large or scaled screens).
#include <cairo.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "assetgen.h"
#include "platform/bytes.h"

namespace assetgen {
namespace {

struct Rgba {
  uint8_t r = 0, g = 0, b = 0, a = 0;
};

// A picture as a function of the point (x, y in 0..1, y downward): its colour there, alpha 0 for
// nothing. Each pixel averages 4 x 4 samples, so edges come out smooth at both sizes.
using Art = std::function<Rgba(double x, double y)>;

std::vector<Rgba> Render(const Art& art, int size) {
  std::vector<Rgba> px(static_cast<size_t>(size) * size);
  constexpr int kSub = 4;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double r = 0, g = 0, b = 0, a = 0;
      for (int sy = 0; sy < kSub; ++sy)
        for (int sx = 0; sx < kSub; ++sx) {
          Rgba c = art((x + (sx + 0.5) / kSub) / size, (y + (sy + 0.5) / kSub) / size);
          const double w = c.a / 255.0;
          r += c.r * w, g += c.g * w, b += c.b * w, a += w;
        }
      Rgba& out = px[static_cast<size_t>(y) * size + x];
      if (a > 0) out = Rgba{uint8_t(r / a + 0.5), uint8_t(g / a + 0.5), uint8_t(b / a + 0.5), uint8_t(a / (kSub * kSub) * 255 + 0.5)};
    }
  return px;
}

// One image of an icon file: the header, the colours bottom-up, then the AND mask (1 where the
// pixel is transparent).
std::vector<uint8_t> IconImage(const std::vector<Rgba>& px, int size) {
  std::vector<uint8_t> v;
  dusk::AppendLe32(v, 40);
  dusk::AppendLe32(v, size);
  dusk::AppendLe32(v, size * 2);
  dusk::AppendLe16(v, 1);
  dusk::AppendLe16(v, 32);
  dusk::AppendLe32(v, 0);
  const int maskStride = ((size + 31) / 32) * 4;
  dusk::AppendLe32(v, static_cast<uint32_t>(size * size * 4 + maskStride * size));
  dusk::AppendLe32(v, 0), dusk::AppendLe32(v, 0), dusk::AppendLe32(v, 0), dusk::AppendLe32(v, 0);
  for (int y = size - 1; y >= 0; --y)
    for (int x = 0; x < size; ++x) {
      const Rgba& c = px[static_cast<size_t>(y) * size + x];
      v.push_back(c.b), v.push_back(c.g), v.push_back(c.r), v.push_back(c.a);
    }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<uint8_t> row(maskStride, 0);
    for (int x = 0; x < size; ++x)
      if (px[static_cast<size_t>(y) * size + x].a < 128) row[x / 8] |= 0x80 >> (x % 8);
    v.insert(v.end(), row.begin(), row.end());
  }
  return v;
}

// A 256 x 256 image is stored as a PNG file, as the system expects it.
std::vector<uint8_t> PngImage(const std::vector<Rgba>& px, int size) {
  cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, size, size);
  cairo_surface_flush(s);
  unsigned char* data = cairo_image_surface_get_data(s);
  const int stride = cairo_image_surface_get_stride(s);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      const Rgba& c = px[static_cast<size_t>(y) * size + x];
      auto pre = [&](uint8_t v) { return static_cast<uint32_t>((v * c.a + 127) / 255); };
      const uint32_t argb = uint32_t(c.a) << 24 | pre(c.r) << 16 | pre(c.g) << 8 | pre(c.b);
      std::memcpy(data + static_cast<size_t>(y) * stride + x * 4, &argb, 4);
    }
  cairo_surface_mark_dirty(s);
  std::vector<uint8_t> v;
  cairo_surface_write_to_png_stream(
      s,
      [](void* closure, const unsigned char* bytes, unsigned int n) {
        auto* out = static_cast<std::vector<uint8_t>*>(closure);
        out->insert(out->end(), bytes, bytes + n);
        return CAIRO_STATUS_SUCCESS;
      },
      &v);
  cairo_surface_destroy(s);
  return v;
}

// type 1: icon; type 2: cursor with its hot spot (in 32 x 32 pixels; scaled for the other sizes).
bool WriteIconFile(const std::string& path, const Art& art, int type, int hotX = 0, int hotY = 0,
                   const std::vector<int>& sizes = {16, 32}) {
  std::vector<std::vector<uint8_t>> images;
  for (int s : sizes) images.push_back(s >= 256 ? PngImage(Render(art, s), s) : IconImage(Render(art, s), s));
  std::vector<uint8_t> v;
  dusk::AppendLe16(v, 0);
  dusk::AppendLe16(v, type);
  dusk::AppendLe16(v, static_cast<uint16_t>(sizes.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * sizes.size());
  for (size_t i = 0; i < sizes.size(); ++i) {
    const int s = sizes[i];
    const uint8_t dim = s >= 256 ? 0 : static_cast<uint8_t>(s);  // 0 stands for 256
    v.push_back(dim), v.push_back(dim), v.push_back(0), v.push_back(0);
    if (type == 1) dusk::AppendLe16(v, 1), dusk::AppendLe16(v, 32);
    else dusk::AppendLe16(v, hotX * s / 32), dusk::AppendLe16(v, hotY * s / 32);
    dusk::AppendLe32(v, static_cast<uint32_t>(images[i].size()));
    dusk::AppendLe32(v, offset);
    offset += static_cast<uint32_t>(images[i].size());
  }
  for (auto& img : images) v.insert(v.end(), img.begin(), img.end());
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(v.data()), static_cast<std::streamsize>(v.size()));
  return static_cast<bool>(out);
}

bool InCircle(double x, double y, double cx, double cy, double r) { return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r; }
bool InBox(double x, double y, double l, double t, double r, double b) { return x >= l && x <= r && y >= t && y <= b; }

constexpr Rgba kNight{24, 28, 58, 255}, kMoon{244, 232, 170, 255}, kStone{150, 150, 160, 255},
    kStoneDark{70, 70, 82, 255}, kGrass{46, 96, 52, 255}, kBone{236, 232, 214, 255}, kOutline{20, 20, 24, 255},
    kGold{218, 178, 64, 255}, kNone{};

// A round night sky, a crescent moon, a tombstone with a cross on a strip of grass.
Rgba Duskhollow(double x, double y) {
  if (InBox(x, y, 0.16, 0.40, 0.58, 0.92) || InCircle(x, y, 0.37, 0.42, 0.21)) {
    const bool edge = !(InBox(x, y, 0.20, 0.44, 0.54, 0.92) || InCircle(x, y, 0.37, 0.42, 0.17));
    if (edge) return kStoneDark;
    if (InBox(x, y, 0.345, 0.36, 0.395, 0.74) || InBox(x, y, 0.27, 0.46, 0.47, 0.51)) return kStoneDark;
    return kStone;
  }
  if (InBox(x, y, 0.02, 0.86, 0.98, 0.98)) return kGrass;
  if (InCircle(x, y, 0.72, 0.28, 0.20) && !InCircle(x, y, 0.80, 0.22, 0.17)) return kMoon;
  if (InCircle(x, y, 0.5, 0.5, 0.49)) return kNight;
  return kNone;
}

// A loudspeaker seen from the side, facing right.
bool Speaker(double x, double y) {
  if (InBox(x, y, 0.10, 0.38, 0.30, 0.62)) return true;
  // the cone: widens from the box to the right
  if (x >= 0.30 && x <= 0.52) {
    const double half = 0.12 + (x - 0.30) / 0.22 * 0.26;
    return std::fabs(y - 0.5) <= half;
  }
  return false;
}

Rgba SpeakerMusic(double x, double y) {
  if (Speaker(x, y)) return kOutline;
  // a quaver: head, stem and flag
  if (InCircle(x, y, 0.70, 0.76, 0.09)) return kGold;
  if (InBox(x, y, 0.76, 0.18, 0.82, 0.76)) return kGold;
  if (InBox(x, y, 0.76, 0.18, 0.95, 0.26)) return kGold;
  return kNone;
}

Rgba SpeakerEffect(double x, double y) {
  if (Speaker(x, y)) return kOutline;
  // two arcs of sound
  const double d = std::hypot(x - 0.50, y - 0.50);
  if (x > 0.58 && ((d > 0.17 && d < 0.23) || (d > 0.31 && d < 0.37))) return kGold;
  return kNone;
}

// A small monitor with the moon and a tombstone on its screen.
Rgba PreviewMonitor(double x, double y) {
  if (InBox(x, y, 0.40, 0.78, 0.60, 0.88) || InBox(x, y, 0.26, 0.88, 0.74, 0.95)) return kStoneDark;
  if (InBox(x, y, 0.04, 0.10, 0.96, 0.78)) {
    if (!InBox(x, y, 0.10, 0.16, 0.90, 0.72)) return kStoneDark;
    if (InCircle(x, y, 0.72, 0.32, 0.09)) return kMoon;
    if (InBox(x, y, 0.26, 0.44, 0.42, 0.72) || InCircle(x, y, 0.34, 0.44, 0.08)) return kStone;
    return kNight;
  }
  return kNone;
}

// An arrow pointer in bone white with a dark outline; its tip is the hot spot (0, 0).
Rgba Pointer(double x, double y) {
  auto inside = [](double px, double py, double grow) {
    // the arrow head: the triangle (0,0) (0,0.72) (0.50,0.50) and a tail toward the lower right
    const bool head = px >= -grow && py >= px * 0.98 - grow && py <= 0.72 - px * 0.44 + grow && px <= 0.50 + grow;
    const double t = (px + py) / 2, n = (py - px) / 1.4142;
    const bool tail = t >= 0.30 && t <= 0.66 + grow && std::fabs(n - 0.10) <= 0.06 + grow;
    return head || tail;
  };
  if (inside(x - 0.04, y - 0.04, 0)) return kBone;
  if (inside(x - 0.04, y - 0.04, 0.045)) return kOutline;
  return kNone;
}

}  // namespace

bool WriteIcons(const std::string& dir) {
  return WriteIconFile(dir + "/duskhollow.ico", Duskhollow, 1, 0, 0, {16, 24, 32, 48, 64, 256}) && WriteIconFile(dir + "/speaker.ico", SpeakerMusic, 1) &&
         WriteIconFile(dir + "/fxspeaker.ico", SpeakerEffect, 1) && WriteIconFile(dir + "/preview.ico", PreviewMonitor, 1) &&
         WriteIconFile(dir + "/pointer.cur", Pointer, 2, 1, 1);
}

}  // namespace assetgen
