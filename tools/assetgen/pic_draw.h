// Drawing helpers shared by every picture: a cairo canvas, colours, a fixed-seed random source,
// pixel maps, and the step that turns drawn frames into a sprite sheet (image row over mask row).
#pragma once
#include <cairo.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <vector>

#include "bmp_io.h"
#include "scene/sprites.h"

namespace assetgen {

constexpr double kPi = 3.14159265358979323846;

// A fixed-seed generator: every run of the generator draws the same pictures.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull) {}
  uint64_t Next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  double Uni() { return static_cast<double>(Next() >> 11) * (1.0 / 9007199254740992.0); }
  double Range(double a, double b) { return a + (b - a) * Uni(); }
  int Int(int lo, int hi) { return lo + static_cast<int>(Uni() * (hi - lo + 1)); }

 private:
  uint64_t s_;
};

// An ARGB32 cairo surface with its context; cleared to transparent.
class Canvas {
 public:
  Canvas(int w, int h);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  cairo_t* cr() const { return cr_; }
  int w() const { return w_; }
  int h() const { return h_; }
  // Premultiplied 0xAARRGGBB; call Flush() after drawing and before reading.
  void Flush() const;
  uint32_t Argb(int x, int y) const;
  void Clear();

 private:
  int w_, h_;
  cairo_surface_t* surf_;
  cairo_t* cr_;
};

// Colours are 0xRRGGBB.
uint32_t Mix(uint32_t a, uint32_t b, double t);
uint32_t Scale(uint32_t c, double k);
void Col(cairo_t* cr, uint32_t rgb, double alpha = 1.0);
void AddStop(cairo_pattern_t* p, double at, uint32_t rgb, double alpha = 1.0);

// Paths (each starts a new sub-path; fill or stroke afterwards).
void Ellipse(cairo_t* cr, double cx, double cy, double rx, double ry, double angle = 0);
void Poly(cairo_t* cr, std::initializer_list<double> xy, bool close = true);
// A round-capped stroke from (x0, y0) to (x1, y1).
void Limb(cairo_t* cr, double x0, double y0, double x1, double y1, double width, uint32_t rgb,
          double alpha = 1.0);
// A tapered limb: a quadrilateral with round ends of width w0 at the start and w1 at the end.
void Taper(cairo_t* cr, double x0, double y0, double x1, double y1, double w0, double w1);
// A soft round glow: radial falloff from `rgb` at alpha `a` in the centre to nothing at radius r.
void Glow(cairo_t* cr, double cx, double cy, double r, uint32_t rgb, double a);

// Draws `draw`, then lights its silhouette's edge that faces (lx, ly) (a direction) with a rim of
// `rgb` about `width` pixels deep, as moonlight catches the outline of a dark figure.
void RimLit(cairo_t* cr, const std::function<void(cairo_t*)>& draw, double lx, double ly,
            double width, uint32_t rgb, double alpha);

// Draws a pixel map at (x, y): one string per row, one character per pixel; characters missing
// from the palette are left transparent.
void PixelMap(cairo_t* cr, int x, int y, const std::vector<const char*>& rows,
              const std::map<char, uint32_t>& palette);

// The whole canvas flattened over an opaque picture of the same size.
Image Over(const Canvas& c, const Image& under);
Image Flatten(const Canvas& c, uint32_t background);

// How a drawn frame becomes image and mask.
enum class Look {
  Cut,    // opaque where coverage is at least a half; colours un-premultiplied (no fringe)
  Matte,  // a still sprite: soft edges are blended with the scene behind its place, read from `scene`
  Glow,   // drawn additively: the image is the light on black, the mask covers every lit pixel
};

// The scene adds light by OR-ing the image into the screen. OR only lifts a channel smoothly when
// the added value is all low bits (0, 1, 3, 7, ... 255): b | (2^k - 1) is b raised to the top of
// its 2^k block, which never falls as b or k grow. Any other value makes bands wherever the
// picture behind crosses a bit boundary. LightBits turns a light level 0..255 per channel into
// such values, dithered between the two nearest ones by the 4 x 4 ordered pattern at (x, y).
uint32_t LightBits(double r, double g, double b, int x, int y);
// True when every channel of `rgb` is of the form 2^k - 1.
bool IsLightBits(uint32_t rgb);

struct SheetSpec {
  SheetSpec() = default;
  // The layout the scene reads the sheet in.
  explicit SheetSpec(const dusk::SpriteSheet& s) : w(s.width), h(s.height), frames(s.frames), runs(s.facings) {}

  int w = 0, h = 0, frames = 1;
  int runs = 1;                   // 2: a second run, the mirror image, starting at frames * w
  bool firstRunMirrored = false;  // frames are drawn facing right; mirror the first run to face left
  Look look = Look::Cut;
  const Image* scene = nullptr;  // Matte: the composed scene behind the sprite
  int sceneX = 0, sceneY = 0;    // Matte: where the sprite stands in that scene
  // Matte: pixels fainter than this coverage (0..255) are not cut in but shine through a white
  // mask as OR-ed light (LightBits), so a glow fades into whatever passes behind it. 0: off.
  int haloBelow = 0;
};

using FrameDraw = std::function<void(cairo_t* cr, int frame)>;

// Frames side by side from x = 0, image row over mask row.
Image BuildSheet(const SheetSpec& spec, const FrameDraw& draw);

// Draws one frame of a sheet into `dst` with the scene's two passes (mask AND, image OR), clipped.
void DrawMasked(Image& dst, const Image& sheet, int frameX, int w, int h, int x, int y);
// The image pass alone (additive sprites).
void DrawAdditive(Image& dst, const Image& sheet, int frameX, int w, int h, int x, int y);

// Pixel-art finish for small sprites: every transparent pixel that touches an opaque one (left,
// right, above, below) becomes an opaque outline pixel of `rgb`. Works on the drawing target.
void PixelOutline(cairo_t* cr, uint32_t rgb);

// Writes an Image as PNG through cairo.
bool WritePng(const Image& img, const char* path);

}  // namespace assetgen
