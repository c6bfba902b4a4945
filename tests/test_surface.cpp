// Surfaces: the bitmap reader, block and stretch transfers with their clipping.
#include <gtest/gtest.h>

#include <random>

#include "platform/bmp_reader.h"
#include "platform/surface.h"
#include "platform/system.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

Bitmap Pattern(int w, int h) {
  Bitmap b = Solid(w, h, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.Row(y)[x] = static_cast<uint32_t>((x * 40) << 16 | (y * 30) << 8 | ((x + y) & 1 ? 0xFF : 0x10));
  return b;
}

TEST(BmpReader, ReadsEveryDepthWindowsWritesBottomUpAndTopDown) {
  Bitmap two = Solid(9, 3, 0xFFFFFF);
  two.Row(1)[4] = 0;
  Bitmap few = Solid(7, 5, 0x112233);
  few.Row(0)[0] = 0xAABBCC;
  few.Row(4)[6] = 0x010203;
  const Bitmap full = Pattern(5, 4);
  struct Case { const Bitmap* b; int bpp; };
  for (Case c : {Case{&two, 1}, Case{&few, 4}, Case{&few, 8}, Case{&full, 24}, Case{&full, 32}}) {
    for (bool topDown : {false, true}) {
      auto bytes = MakeBmp(*c.b, c.bpp, topDown);
      auto decoded = DecodeBmp(bytes.data(), bytes.size());
      ASSERT_TRUE(decoded) << c.bpp << " bits, top-down " << topDown;
      EXPECT_EQ(decoded->width, c.b->width);
      EXPECT_EQ(decoded->height, c.b->height);
      EXPECT_EQ(decoded->bitsPerPixel, c.bpp);
      EXPECT_EQ(decoded->pixels, c.b->pixels) << c.bpp << " bits, top-down " << topDown;
      EXPECT_EQ(decoded->colorTable.empty(), c.bpp > 8);
    }
  }
}

TEST(BmpReader, RefusesWhatItCannotReadWithoutReadingOutOfBounds) {
  auto good = MakeBmp(Pattern(6, 5), 24);
  EXPECT_FALSE(DecodeBmp(good.data(), 10));                 // truncated header
  EXPECT_FALSE(DecodeBmp(good.data(), good.size() - 1));    // truncated pixels
  auto bad = good;
  bad[0] = 'X';
  EXPECT_FALSE(DecodeBmp(bad.data(), bad.size()));          // not a bitmap
  bad = good;
  bad[18] = 0xFF, bad[19] = 0xFF, bad[20] = 0xFF, bad[21] = 0x7F;  // absurd width
  EXPECT_FALSE(DecodeBmp(bad.data(), bad.size()));
  bad = good;
  bad[28] = 16;                                             // 16-bit is not a format we read
  EXPECT_FALSE(DecodeBmp(bad.data(), bad.size()));
  bad = good;
  bad[30] = 1;                                              // run-length compression
  EXPECT_FALSE(DecodeBmp(bad.data(), bad.size()));
  EXPECT_FALSE(DecodeBmp(nullptr, 0));
}

// Mutated and truncated files: the reader must never crash or read outside the buffer (run
// under AddressSanitizer by the sanitizer build).
TEST(BmpReader, SurvivesRandomDamage) {
  std::mt19937 rng(12345);
  const std::vector<std::vector<uint8_t>> seeds = {MakeBmp(Pattern(13, 7), 24), MakeBmp(Pattern(9, 4), 8),
                                                   MakeBmp(Pattern(17, 3), 1), MakeBmp(Pattern(5, 5), 32, true)};
  int decoded = 0;
  for (int round = 0; round < 20000; ++round) {
    std::vector<uint8_t> bytes = seeds[round % seeds.size()];
    const int edits = 1 + static_cast<int>(rng() % 6);
    for (int e = 0; e < edits; ++e) {
      size_t at = rng() % std::min<size_t>(bytes.size(), 70);  // aim at the headers
      if (rng() % 4 == 0) at = rng() % bytes.size();
      bytes[at] = static_cast<uint8_t>(rng());
    }
    if (rng() % 3 == 0) bytes.resize(rng() % bytes.size());
    std::vector<uint8_t> exact(bytes);  // a heap block of exactly the file's size
    if (auto b = DecodeBmp(exact.data(), exact.size())) {
      ++decoded;
      ASSERT_EQ(b->pixels.size(), static_cast<size_t>(b->width) * b->height);
    }
  }
  EXPECT_GT(decoded, 0);
}

class Transfers : public ::testing::Test {
 protected:
  Surfaces s;
  int32_t dst = s.Add(Solid(10, 8, 0x111111));
  int32_t src = s.Add(Pattern(4, 3));
  uint32_t At(int32_t h, int x, int y) { return s.Find(h)->Row(y)[x]; }
};

TEST_F(Transfers, CopyAndMaskedPassesCombinePixels) {
  s.BitBlt(dst, 2, 2, 4, 3, src, 0, 0, Rop::kSrcCopy);
  EXPECT_EQ(At(dst, 2, 2), At(src, 0, 0));
  EXPECT_EQ(At(dst, 5, 4), At(src, 3, 2));
  EXPECT_EQ(At(dst, 6, 4), 0x111111u);
  int32_t mask = s.Add(Solid(2, 2, 0xFFFFFF));
  s.Find(mask)->Row(0)[0] = 0;
  s.BitBlt(dst, 0, 0, 2, 2, mask, 0, 0, Rop::kSrcAnd);
  EXPECT_EQ(At(dst, 0, 0), 0u);             // punched
  EXPECT_EQ(At(dst, 1, 0), 0x111111u);      // white keeps the scene
  int32_t image = s.Add(Solid(2, 2, 0));
  s.Find(image)->Row(0)[0] = 0xABCDEF;
  s.BitBlt(dst, 0, 0, 2, 2, image, 0, 0, Rop::kSrcPaint);
  EXPECT_EQ(At(dst, 0, 0), 0xABCDEFu);      // filled
  EXPECT_EQ(At(dst, 1, 0), 0x111111u);      // black leaves the scene
  s.BitBlt(dst, 8, 6, 5, 5, 0, 0, 0, Rop::kBlackness);
  EXPECT_EQ(At(dst, 9, 7), 0u);
  EXPECT_EQ(At(dst, 7, 7), 0x111111u);
}

TEST_F(Transfers, ClippingAtEveryEdgeOfDestinationAndSource) {
  // Destination edges: only the overlapping part is written, at the right offset.
  s.BitBlt(dst, -2, -1, 4, 3, src, 0, 0, Rop::kSrcCopy);
  EXPECT_EQ(At(dst, 0, 0), At(src, 2, 1));
  EXPECT_EQ(At(dst, 1, 1), At(src, 3, 2));
  s.BitBlt(dst, 8, 6, 4, 3, src, 0, 0, Rop::kSrcCopy);
  EXPECT_EQ(At(dst, 9, 7), At(src, 1, 1));
  // Source edges: a rectangle partly outside the picture copies only the part inside it.
  Surfaces t;
  int32_t d = t.Add(Solid(6, 6, 0x222222)), p = t.Add(Pattern(4, 3));
  t.BitBlt(d, 0, 0, 6, 6, p, 2, 1, Rop::kSrcCopy);
  EXPECT_EQ(t.Find(d)->Row(0)[0], t.Find(p)->Row(1)[2]);
  EXPECT_EQ(t.Find(d)->Row(1)[1], t.Find(p)->Row(2)[3]);
  EXPECT_EQ(t.Find(d)->Row(0)[2], 0x222222u);
  EXPECT_EQ(t.Find(d)->Row(2)[0], 0x222222u);
}

TEST_F(Transfers, SourcesOutsideThePictureOrMissingDrawNothing) {
  const std::vector<uint32_t> before = s.Find(dst)->pixels;
  s.BitBlt(dst, 0, 0, 4, 3, src, -4, 0, Rop::kSrcCopy);   // a frame of -1: wholly left
  s.BitBlt(dst, 0, 0, 4, 3, src, 8, 0, Rop::kSrcPaint);   // beyond the last frame
  s.BitBlt(dst, 0, 0, 4, 3, 0, 0, 0, Rop::kSrcCopy);      // surface 0
  s.BitBlt(dst, 0, 0, 4, 3, 99, 0, 0, Rop::kSrcCopy);     // no such surface
  s.BitBlt(dst, 20, 20, 4, 3, src, 0, 0, Rop::kSrcCopy);  // off the destination
  s.BitBlt(dst, 0, 0, 0, 3, src, 0, 0, Rop::kSrcCopy);    // empty
  s.BitBlt(dst, 2147483000, 0, 4000, 3, src, 0, 0, Rop::kSrcCopy);  // far off, no wrap-around
  EXPECT_EQ(s.Find(dst)->pixels, before);
}

TEST_F(Transfers, StretchMapsEachPixelToTheSourcePixelUnderItsCentre) {
  int32_t big = s.Add(Solid(8, 6, 0));
  s.StretchBlt(big, 0, 0, 8, 6, src, 0, 0, 4, 3);  // exactly twice
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(At(big, x, y), At(src, x / 2, y / 2)) << x << "," << y;
  int32_t odd = s.Add(Solid(1024, 768, 0));
  int32_t scene = s.Add(Pattern(800, 600));
  s.StretchBlt(odd, 0, 0, 1024, 768, scene, 0, 0, 800, 600);
  EXPECT_EQ(At(odd, 0, 0), At(scene, 0, 0));
  EXPECT_EQ(At(odd, 1023, 767), At(scene, 799, 599));
  EXPECT_EQ(At(odd, 512, 384), At(scene, 400, 300));
}

// The transfers against pixel-by-pixel reference loops, on random pictures, rectangles and
// positions: clipping at every edge of both surfaces, empty and missing sources, every width
// the row loops split into vector and tail parts.
TEST_F(Transfers, MatchPlainReferenceLoopsOnRandomInput) {
  std::mt19937 rng(2024);
  auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rng() % static_cast<unsigned>(hi - lo + 1)); };
  auto noise = [&](int w, int h) {
    Bitmap b = Solid(w, h, 0);
    for (uint32_t& px : b.pixels) px = rng() & 0xFFFFFF;
    return b;
  };
  Surfaces t;
  std::vector<Bitmap> ref;  // the same surfaces, drawn by the reference loops
  for (int i = 0; i < 6; ++i) {
    ref.push_back(noise(pick(1, 45), pick(1, 30)));
    t.Add(ref.back());
  }
  auto inside = [](const Bitmap& b, int64_t x, int64_t y) { return x >= 0 && y >= 0 && x < b.width && y < b.height; };
  for (int round = 0; round < 4000; ++round) {
    const int to = pick(1, 6);
    int other = pick(0, 7);  // 0 and 7 are no surface
    if (other == to) other = to % 6 + 1;
    const int x = pick(-50, 60), y = pick(-40, 40), w = pick(-1, 70), h = pick(-1, 45);
    const int sx = pick(-30, 50), sy = pick(-20, 35);
    Bitmap& d = ref[to - 1];
    const Bitmap* from = other >= 1 && other <= 6 ? &ref[other - 1] : nullptr;
    if (rng() % 3 == 0) {
      const int sw = pick(-1, 50), sh = pick(-1, 35);
      const bool clipped = rng() % 2 == 0;  // then only pixels inside the clip are written
      const Rect clip{pick(-10, 40), pick(-10, 30), pick(-10, 50), pick(-10, 40)};
      t.StretchBlt(to, x, y, w, h, other, sx, sy, sw, sh, clipped ? &clip : nullptr);
      auto inClip = [&](int64_t cx, int64_t cy) {
        return !clipped || (cx >= clip.left && cx < clip.right && cy >= clip.top && cy < clip.bottom);
      };
      if (from && sw > 0 && sh > 0)
        for (int64_t j = 0; j < h; ++j)
          for (int64_t i = 0; i < w; ++i) {
            const int64_t fx = sx + (2 * i + 1) * sw / (2 * w), fy = sy + (2 * j + 1) * sh / (2 * h);
            if (inside(d, x + i, y + j) && inClip(x + i, y + j) && inside(*from, fx, fy))
              d.Row(static_cast<int32_t>(y + j))[x + i] = from->Row(static_cast<int32_t>(fy))[fx];
          }
    } else {
      const Rop rop = static_cast<Rop>(pick(0, 3));
      t.BitBlt(to, x, y, w, h, other, sx, sy, rop);
      for (int64_t j = 0; j < h; ++j)
        for (int64_t i = 0; i < w; ++i) {
          if (!inside(d, x + i, y + j)) continue;
          uint32_t& out = d.Row(static_cast<int32_t>(y + j))[x + i];
          if (rop == Rop::kBlackness) {
            out = 0;
            continue;
          }
          if (!from || !inside(*from, sx + i, sy + j)) continue;
          const uint32_t in = from->Row(static_cast<int32_t>(sy + j))[sx + i];
          out = rop == Rop::kSrcCopy ? in : rop == Rop::kSrcAnd ? out & in : out | in;
        }
    }
    ASSERT_EQ(t.Find(to)->pixels, d.pixels) << "round " << round;
    if (round % 50 == 0) t.Find(to)->pixels = d.pixels = noise(d.width, d.height).pixels;  // fresh noise now and then
  }
}

TEST(SurfaceTable, HandlesAreAboveZeroAndReleasedOnce) {
  Surfaces s;
  int32_t a = s.Add(Solid(2, 2, 0));
  EXPECT_GT(a, 0);
  EXPECT_TRUE(s.Remove(a));
  EXPECT_FALSE(s.Remove(a));
  EXPECT_FALSE(s.Remove(0));
  EXPECT_EQ(s.LiveCount(), 0u);
}

TEST(SurfaceTable, ABlankSurfaceTakesTheReferenceFormat) {
  Surfaces s;
  Bitmap eight = Solid(4, 4, 0);
  eight.bitsPerPixel = 8;
  eight.colorTable = {0, 0xFF0000, 0x00FF00};
  int32_t ref = s.Add(eight);
  int32_t blank = s.AddBlank(800, 600, ref);
  ASSERT_GT(blank, 0);
  EXPECT_EQ(s.Find(blank)->bitsPerPixel, 8);
  EXPECT_EQ(s.Find(blank)->colorTable, eight.colorTable);
  EXPECT_EQ(s.Find(s.AddBlank(3, 3, 0))->bitsPerPixel, 32);
  EXPECT_EQ(s.AddBlank(0, 600, ref), 0);
  EXPECT_EQ(s.AddBlank(100000, 100000, ref), 0);
}

using SurfaceLoading = ProgramTest;

TEST_F(SurfaceLoading, PicturesLoadFromTheDataFolderAndMissingOnesGiveZero) {
  WritePicture("h_bat.bmp", Solid(26, 46, 0x123456));
  EXPECT_GT(GenerateDC(*p, "C:\\WINDOWS\\Duskhollow\\h_bat.bmp"), 0);
  EXPECT_EQ(GenerateDC(*p, "C:\\WINDOWS\\Duskhollow\\h_nothing.bmp"), 0);
  WriteText("Duskhollow/h_text.bmp", "not a picture");
  EXPECT_EQ(GenerateDC(*p, "C:\\WINDOWS\\Duskhollow\\h_text.bmp"), 0);
  EXPECT_EQ(p->surfaces.LiveCount(), 1u);
}

}  // namespace
}  // namespace dusk::testing
