// The generated pictures: names, sheet layouts, masks, and the frames the scene's scripts rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assetgen.h"
#include "bmp_io.h"
#include "pic_art.h"
#include "pic_draw.h"
#include "scene/sprites.h"

namespace assetgen {
namespace {

const std::string kDir = DUSK_DATA_DIR;

// Every picture with the layout the scene reads it in (scene/sprites.h); `mask` false for pictures
// without a mask row (backdrop strips, the owl, which is copied opaquely).
struct Expect {
  dusk::SpriteSheet sheet;
  bool mask;
  bool additive;
};

const Expect kPictures[] = {
    {dusk::sheet::kBackTop, false, false},
    {dusk::sheet::kBackMid1, false, false},
    {dusk::sheet::kBackMid2, false, false},
    {dusk::sheet::kBackMid3, false, false},
    {dusk::sheet::kBackBottom, false, false},
    {dusk::sheet::kTomb1, true, false},
    {dusk::sheet::kTomb2, true, false},
    {dusk::sheet::kTomb4, true, false},
    {dusk::sheet::kHand, true, false},
    {dusk::sheet::kWatchman, true, true},
    {dusk::sheet::kOwl, false, false},
    {dusk::sheet::kDove, true, false},
    {dusk::sheet::kMedallion, true, false},
    {dusk::sheet::kSkeleton1, true, false},
    {dusk::sheet::kSkeleton2, true, false},
    {dusk::sheet::kCrow1, true, false},
    {dusk::sheet::kCrow2, true, false},
    {dusk::sheet::kBat, true, false},
    {dusk::sheet::kLightning1, true, false},
    {dusk::sheet::kLightning2, true, false},
    {dusk::sheet::kZombie, true, false},
    {dusk::sheet::kBloodDrip, true, false},
    {dusk::sheet::kRat1, true, false},
    {dusk::sheet::kRat2, true, false},
    {dusk::sheet::kScorpion, true, false},
    {dusk::sheet::kFlower, true, false},
    {dusk::sheet::kGraveDigger, true, false},
    {dusk::sheet::kPumpkin, true, false},
    {dusk::sheet::kSpider, true, false},
    {dusk::sheet::kFirefly, true, true},
    {dusk::sheet::kPreview, true, false},
    {dusk::sheet::kOwlPreview, true, false},
    {dusk::sheet::kBatPreview, true, false},
};

Image Load(const std::string& name) {
  Image img;
  EXPECT_TRUE(ReadBmp(kDir + "/" + name, img)) << name;
  return img;
}

std::vector<char> Bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The topmost and bottommost opaque rows of a masked frame (-1 when none).
std::pair<int, int> OpaqueRows(const Image& sheet, int frame, int w, int h) {
  int top = -1, bottom = -1;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (sheet.at(frame * w + x, h + y) == 0) {
        if (top < 0) top = y;
        bottom = y;
      }
  return {top, bottom};
}

bool SameFrame(const Image& sheet, int a, int b, int w, int h) {
  for (int y = 0; y < 2 * h; ++y)
    for (int x = 0; x < w; ++x)
      if (sheet.at(a * w + x, y) != sheet.at(b * w + x, y)) return false;
  return true;
}

TEST(BmpFile, WritesBottomUp24BitWithPaddedRows) {
  Image img(3, 2);
  img.at(0, 0) = 0x112233;  // top left
  img.at(2, 1) = 0xAABBCC;  // bottom right
  const std::string path = testing::TempDir() + "/pad.bmp";
  ASSERT_TRUE(WriteBmp24(path, img));
  std::vector<char> b = Bytes(path);
  ASSERT_EQ(b.size(), 54u + 2 * 12);  // 9 bytes a row padded to 12
  EXPECT_EQ(b[0], 'B');
  EXPECT_EQ(b[1], 'M');
  EXPECT_EQ(static_cast<uint8_t>(b[28]), 24);  // bits per pixel
  EXPECT_EQ(static_cast<uint8_t>(b[22]), 2);   // positive height: bottom-up
  // The first stored row is the bottom one: its last pixel is 0xAABBCC as B, G, R.
  EXPECT_EQ(static_cast<uint8_t>(b[54 + 6]), 0xCC);
  EXPECT_EQ(static_cast<uint8_t>(b[54 + 8]), 0xAA);
  EXPECT_EQ(static_cast<uint8_t>(b[54 + 12]), 0x33);
  Image back;
  ASSERT_TRUE(ReadBmp(path, back));
  EXPECT_EQ(back.px, img.px);
}

TEST(DataFolder, HoldsEveryPictureWithItsExactName) {
  for (const Expect& e : kPictures)
    EXPECT_TRUE(std::filesystem::exists(kDir + "/" + e.sheet.file)) << e.sheet.file;
  EXPECT_TRUE(std::filesystem::exists(kDir + "/h_palette.bmp"));
  // The second crow's file name has a capital C.
  EXPECT_FALSE(std::filesystem::exists(kDir + "/h_crow2.bmp") &&
               !std::filesystem::equivalent(kDir + "/h_crow2.bmp", kDir + "/h_Crow2.bmp"));
}

TEST(DataFolder, EveryPictureIsA24BitBmp) {
  for (const Expect& e : kPictures) {
    std::vector<char> b = Bytes(kDir + "/" + e.sheet.file);
    ASSERT_GE(b.size(), 54u) << e.sheet.file;
    EXPECT_EQ(static_cast<uint8_t>(b[28]), 24) << e.sheet.file;
  }
  Image palette = Load("h_palette.bmp");
  EXPECT_GT(palette.w, 0);
}

TEST(Sheets, HaveTheSizeTheSceneReads) {
  for (const Expect& e : kPictures) {
    Image img = Load(e.sheet.file);
    EXPECT_EQ(img.w, e.sheet.width * e.sheet.frames * e.sheet.facings) << e.sheet.file;
    EXPECT_EQ(img.h, e.mask ? 2 * e.sheet.height : e.sheet.height) << e.sheet.file;
  }
}

TEST(Sheets, MasksArePureAndHideNothingUnderWhite) {
  for (const Expect& e : kPictures) {
    if (!e.mask) continue;
    Image img = Load(e.sheet.file);
    int impure = 0, lit = 0;
    for (int y = 0; y < e.sheet.height; ++y)
      for (int x = 0; x < img.w; ++x) {
        uint32_t m = img.at(x, e.sheet.height + y);
        if (m != 0 && m != 0xFFFFFF) ++impure;
        if (m == 0xFFFFFF && img.at(x, y) != 0) ++lit;
      }
    EXPECT_EQ(impure, 0) << e.sheet.file;
    // The lightning's faint halo is the one exception: it shines through the white mask.
    if (std::string(e.sheet.file).rfind("h_lightning", 0) != 0) {
      EXPECT_EQ(lit, 0) << e.sheet.file << ": image not black under the white mask";
    }
  }
  // The middle scenery: mid2 is its mask, mid3 its image on black.
  Image m2 = Load("h_background_mid2.bmp"), m3 = Load("h_background_mid3.bmp");
  int impure = 0, lit = 0, solid = 0;
  for (size_t i = 0; i < m2.px.size(); ++i) {
    if (m2.px[i] != 0 && m2.px[i] != 0xFFFFFF) ++impure;
    if (m2.px[i] == 0xFFFFFF && m3.px[i] != 0) ++lit;
    solid += m2.px[i] == 0;
  }
  EXPECT_EQ(impure, 0);
  EXPECT_EQ(lit, 0);
  // Scenery covers part of the band, and the far band shows through the rest.
  EXPECT_GT(solid, static_cast<int>(m2.px.size()) / 10);
  EXPECT_LT(solid, static_cast<int>(m2.px.size()) * 7 / 10);
}

TEST(Sheets, NoFrameIsEmpty) {
  for (const Expect& e : kPictures) {
    if (!e.mask) continue;
    Image img = Load(e.sheet.file);
    for (int f = 0; f < e.sheet.frames * e.sheet.facings; ++f)
      EXPECT_GE(OpaqueRows(img, f, e.sheet.width, e.sheet.height).first, 0) << e.sheet.file << " frame " << f;
  }
}

// Where a walker's feet touch the ground in `frame`: the centres of the runs of opaque columns in
// the lowest rows the sheet ever reaches.
std::vector<double> Footprints(const Image& sheet, int frame, int w, int h, int ground) {
  std::vector<double> centres;
  int start = -1;
  for (int x = 0; x <= w; ++x) {
    bool down = false;
    for (int y = ground - 1; x < w && y <= ground; ++y) down |= sheet.at(frame * w + x, h + y) == 0;
    if (down && start < 0) start = x;
    if (!down && start >= 0) centres.push_back((start + x - 1) / 2.0), start = -1;
  }
  return centres;
}

TEST(Sheets, WalkersPlantTheirFeet) {
  // The scene moves each walker by its step every tick as it shows the next frame; a foot on the
  // ground must move back by as much within the frame, or it slides. Some foot stays put from one
  // frame to the next for most of the cycle (the rest is the moment one foot lifts as the other lands).
  struct Walker {
    const char* file;
    int w, h, frames, step;
  } walkers[] = {{"h_skeleton1.bmp", 151, 200, 12, 15}, {"h_skeleton2.bmp", 45, 64, 12, -7},
                 {"h_zombie.bmp", 39, 66, 10, -2}};
  for (const Walker& k : walkers) {
    SCOPED_TRACE(k.file);
    Image img = Load(k.file);
    int ground = 0;
    for (int f = 0; f < k.frames; ++f) ground = std::max(ground, OpaqueRows(img, f, k.w, k.h).second);
    int planted = 0;
    for (int f = 0; f < k.frames; ++f) {
      std::vector<double> now = Footprints(img, f, k.w, k.h, ground);
      std::vector<double> next = Footprints(img, (f + 1) % k.frames, k.w, k.h, ground);
      double drift = 1e9;
      for (double a : now)
        for (double b : next) drift = std::min(drift, std::fabs(b + k.step - a));
      planted += drift <= 1.0;
    }
    EXPECT_GE(planted * 2, k.frames) << "frames whose foot stays put";
  }
}

// The walkers that pass behind the railing and the kerb: the scene draws them before the middle
// scenery and the ground strip.
struct BehindTheFence {
  const char* name;
  dusk::SpriteSheet sheet;
};
const BehindTheFence kFenceWalkers[] = {{"zombie", dusk::sheet::kZombie},
                                        {"skeleton II", dusk::sheet::kSkeleton2}};

// Where the scene stands a sheet (its y in the still of the whole scene).
int StillY(const dusk::SpriteSheet& s) {
  for (const SheetInfo& i : SheetTable())
    if (std::string(i.file) == s.file) return i.y;
  ADD_FAILURE() << s.file;
  return 0;
}

double Luma(uint32_t c) { return 0.299 * (c >> 16 & 0xFF) + 0.587 * (c >> 8 & 0xFF) + 0.114 * (c & 0xFF); }

TEST(Walkers, ShowAtLeastThreeQuartersOfThemselvesBetweenFenceAndGround) {
  // Where they pass in front of the crypt and the hedges (x 250 to 650), the railing, posts and
  // wall (the middle band's mask) and the ground strip hide what falls under them.
  const int midY = StillY(dusk::sheet::kBackMid2), botY = StillY(dusk::sheet::kBackBottom);
  Image mask = Load("h_background_mid2.bmp");
  for (const BehindTheFence& k : kFenceWalkers) {
    SCOPED_TRACE(k.name);
    const dusk::SpriteSheet& s = k.sheet;
    Image img = Load(s.file);
    const int y0 = StillY(s);
    long shown = 0, all = 0;
    double worst = 1;
    for (int x = 250, f = 0; x + s.width <= 650; x += 3, f = (f + 1) % (s.frames * s.facings)) {
      long here = 0, seen = 0;
      for (int j = 0; j < s.height; ++j)
        for (int i = 0; i < s.width; ++i) {
          if (img.at(f * s.width + i, s.height + j) != 0) continue;
          const int y = y0 + j;
          ++here;
          seen += y < botY && (y < midY || mask.at(x + i, y - midY) == 0xFFFFFF);
        }
      shown += seen, all += here;
      worst = std::min(worst, static_cast<double>(seen) / here);
    }
    EXPECT_GE(shown * 4, all * 3) << shown << " of " << all << " pixels show";
    EXPECT_GE(worst, 0.6) << "where a post stands";
  }
}

TEST(Walkers, TheZombieStandsOutFromTheDarkAndKeepsItsShoesAboveTheGround) {
  const dusk::SpriteSheet& z = dusk::sheet::kZombie;
  Image img = Load(z.file);
  const int covered = StillY(dusk::sheet::kBackBottom) - StillY(z);  // first row the ground strip hides
  for (int f = 0; f < z.frames; ++f) EXPECT_LT(OpaqueRows(img, f, z.width, z.height).second, covered) << f;
  // Against the far band it walks over (the scene's strips behind its path), its figure is much
  // brighter on average, and its outline is lit: the edge nearest the moon is brighter still.
  Image top = Load("h_background_mid1.bmp");
  double back = 0;
  int n = 0;
  for (int y = StillY(z) - StillY(dusk::sheet::kBackMid1); y < top.h; ++y)
    for (int x = 180; x < 800; ++x, ++n) back += Luma(top.at(x, y));
  back /= n;
  double body = 0, rim = 0;
  int bodyN = 0, rimN = 0;
  for (int f = 0; f < z.frames; ++f)
    for (int j = 0; j < z.height; ++j)
      for (int i = 0; i < z.width; ++i) {
        if (img.at(f * z.width + i, z.height + j) != 0) continue;
        const double l = Luma(img.at(f * z.width + i, j));
        body += l, ++bodyN;
        // Pixels whose right-hand neighbour is clear: the outline on the moon's side.
        const bool edge = i + 1 == z.width || img.at(f * z.width + i + 1, z.height + j) != 0;
        if (edge) rim += l, ++rimN;
      }
  body /= bodyN, rim /= rimN;
  EXPECT_GE(body, back + 35) << "figure " << body << ", behind it " << back;
  EXPECT_GE(rim, back + 60) << "lit edge " << rim << ", behind it " << back;
}

TEST(Sheets, SecondFacingMirrorsTheFirst) {
  for (const Expect& e : kPictures) {
    if (e.sheet.facings != 2) continue;
    const int w = e.sheet.width, run = e.sheet.frames * w;
    Image img = Load(e.sheet.file);
    int differ = 0;
    for (int y = 0; y < 2 * e.sheet.height; ++y)
      for (int x = 0; x < run; ++x) {
        const int f = x / w, i = x % w;
        differ += img.at(x, y) != img.at(run + f * w + (w - 1 - i), y);
      }
    EXPECT_EQ(differ, 0) << e.sheet.file;
  }
}

TEST(Sheets, BatsFacingLeftAndRightLookDifferent) {
  // The bat is seen three-quarters on, head turned and near wing larger, so its mirror image is
  // not itself: a left-flying bat must not look like the right-flying one.
  Image bat = Load("h_bat.bmp");
  for (int f = 0; f < 8; ++f) {
    int asymmetric = 0;
    for (int y = 0; y < 23; ++y)
      for (int x = 0; x < 26; ++x)
        asymmetric += bat.at(f * 26 + x, 23 + y) != bat.at(f * 26 + 25 - x, 23 + y);
    EXPECT_GT(asymmetric, 20) << "frame " << f;
  }
}

// The scene ORs light into the screen; only all-low-bits values (2^k - 1 per channel) lift every
// background smoothly instead of banding it.
TEST(Light, LightBitsAreOrSafeAndGrowWithTheLight) {
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 4; ++x) {
      uint32_t last = 0;
      for (int v = 0; v <= 255; ++v) {
        const uint32_t c = LightBits(v * 0.5, v * 0.75, v, x, y);
        ASSERT_TRUE(IsLightBits(c)) << v;
        // A brighter light never lifts any channel less.
        for (int s : {0, 8, 16}) ASSERT_GE((c >> s) & 0xFF, (last >> s) & 0xFF) << v;
        last = c;
      }
      EXPECT_EQ(LightBits(0, 0, 0, x, y), 0u);
      EXPECT_EQ(LightBits(255, 255, 255, x, y), 0xFFFFFFu);
    }
  EXPECT_TRUE(IsLightBits(0x3F1F07));
  EXPECT_FALSE(IsLightBits(0x401F07));
}

TEST(Light, OredPicturesOnlyHoldLightBits) {
  for (const char* name : {"h_watchman.bmp", "h_firefly.bmp"}) {
    Image img = Load(name);
    int bad = 0;
    for (int y = 0; y < img.h / 2; ++y)
      for (int x = 0; x < img.w; ++x) bad += !IsLightBits(img.at(x, y));
    EXPECT_EQ(bad, 0) << name;
  }
  // The spirit must read over the dark scene: a good part of it lifts the blue to at least half
  // (faint light ORed into a varied background only speckles it), the rest fading out.
  Image spirit = Load("h_watchman.bmp");
  int lit = 0, strong = 0;
  for (int y = 0; y < 157; ++y)
    for (int x = 0; x < spirit.w; ++x) {
      const uint32_t c = spirit.at(x, y);
      if (!c) continue;
      ++lit;
      strong += (c & 0xFF) >= 0x7F;
    }
  EXPECT_GT(strong, lit / 4);
  EXPECT_LT(strong, lit * 3 / 4);
  // The lightning's halo fades out beyond the cut-in bolt, as light only.
  for (const char* name : {"h_lightning1.bmp", "h_lightning2.bmp"}) {
    Image l = Load(name);
    int halo = 0, bad = 0;
    for (int y = 0; y < 182; ++y)
      for (int x = 171; x < 2 * 171; ++x)  // the bright frame
        if (l.at(x, 182 + y) == 0xFFFFFF && l.at(x, y) != 0) {
          ++halo;
          bad += !IsLightBits(l.at(x, y));
        }
    EXPECT_GT(halo, 500) << name;
    EXPECT_EQ(bad, 0) << name;
  }
}

TEST(Owl, FramesCarryTheBackdropBehindThem) {
  Image owl = Load("h_owl.bmp"), top = Load("h_background_top.bmp");
  for (int f = 0; f < 6; ++f) {
    // The frame's border is sky and branch, pixel for pixel.
    for (int x = 0; x < 32; ++x) EXPECT_EQ(owl.at(f * 32 + x, 0), top.at(688 + x, 174)) << f;
    for (int y = 0; y < 48; ++y) {
      EXPECT_EQ(owl.at(f * 32, y), top.at(688, 174 + y)) << f;
      EXPECT_EQ(owl.at(f * 32 + 31, y), top.at(688 + 31, 174 + y)) << f;
    }
  }
  // The eyes open: frames differ from one another.
  EXPECT_NE(Crop(owl, 0, 0, 32, 48).px, Crop(owl, 5 * 32, 0, 32, 48).px);
}

TEST(Scripts, TheHandRisesFromBelowTheGroundToFullHeight) {
  Image hand = Load("h_hand.bmp");
  int last = 98;
  for (int f = 0; f < 17; ++f) {
    int top = OpaqueRows(hand, f, 61, 98).first;
    EXPECT_LE(top, last) << "frame " << f;
    last = top;
  }
  EXPECT_GT(OpaqueRows(hand, 0, 61, 98).first, 75);  // only the disturbed earth
  EXPECT_LT(OpaqueRows(hand, 16, 61, 98).first, 15);
}

TEST(Scripts, ThePumpkinBouncesInsideItsFrame) {
  Image p = Load("h_bouncingpumpkin.bmp");
  EXPECT_GE(OpaqueRows(p, 0, 46, 137).second, 133);  // on the ground
  EXPECT_LT(OpaqueRows(p, 4, 46, 137).second, 60);   // high in the air
  EXPECT_GT(OpaqueRows(p, 4, 46, 137).first, 0);     // never cut at the top
}

TEST(Scripts, FramesThatMustChangeDoChange) {
  Image crow = Load("h_crow1.bmp"), medal = Load("h_medallion.bmp"), blood = Load("h_blooddrip.bmp");
  EXPECT_FALSE(SameFrame(crow, 1, 5, 83, 64));  // the caw
  EXPECT_FALSE(SameFrame(medal, 0, 2, 65, 38));  // the glint
  EXPECT_FALSE(SameFrame(blood, 3, 4, 51, 113));  // the landing
  Image l1 = Load("h_lightning1.bmp");
  EXPECT_FALSE(SameFrame(l1, 0, 1, 171, 182));
}

TEST(Scripts, TheSpiderHangsFromItsThread) {
  Image s = Load("h_spider.bmp");
  EXPECT_EQ(s.at(39, 93), 0u);  // mask row: opaque where the thread meets the frame's top
  EXPECT_NE(s.at(39, 0), 0u);
}

TEST(Previews, BothLoopsOfThePreviewStripRunSmoothly) {
  // The dialog loops 21 frames, the control panel the first 18: frames 18..20 repeat the quiet
  // moment of 0 and 17, so the step back to frame 0 looks like any other step in either loop.
  Image p = Load("h_preview.bmp");
  EXPECT_TRUE(SameFrame(p, 0, 18, 127, 100));
  EXPECT_TRUE(SameFrame(p, 17, 20, 127, 100));
  EXPECT_FALSE(SameFrame(p, 0, 8, 127, 100));  // something happens in between
  // Every frame is opaque: its mask is all black.
  for (int y = 100; y < 200; ++y)
    for (int x = 0; x < p.w; ++x) ASSERT_EQ(p.at(x, y), 0u);
}

TEST(Generator, IsDeterministic) {
  const std::string a = testing::TempDir() + "/pics_a", b = testing::TempDir() + "/pics_b";
  std::filesystem::create_directories(a);
  std::filesystem::create_directories(b);
  ASSERT_TRUE(WritePictures(a));
  ASSERT_TRUE(WritePictures(b));
  for (const Expect& e : kPictures) {
    EXPECT_EQ(Bytes(a + "/" + e.sheet.file), Bytes(b + "/" + e.sheet.file)) << e.sheet.file;
    EXPECT_EQ(Bytes(a + "/" + e.sheet.file), Bytes(kDir + "/" + e.sheet.file)) << e.sheet.file;
  }
}

// The program's icon: every size Windows picks from, each entry pointing at a whole image inside
// the file, the small ones as 32-bit bitmaps (with the AND mask: twice as high), 256 as a PNG.
TEST(Icons, ProgramIconHoldsEverySizeWindowsShows) {
  std::ifstream in(kDir + "/../icons/duskhollow.ico", std::ios::binary);
  const std::vector<unsigned char> f{std::istreambuf_iterator<char>(in), {}};
  ASSERT_GT(f.size(), 6u);
  auto le = [&](size_t at, int n) {
    uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i) v = v << 8 | f.at(at + i);
    return v;
  };
  const int sizes[] = {16, 24, 32, 48, 64, 256};
  ASSERT_EQ(le(2, 2), 1u);
  ASSERT_EQ(le(4, 2), 6u);
  for (int i = 0; i < 6; ++i) {
    const size_t e = 6 + 16 * i;
    const uint32_t dim = f[e] == 0 ? 256 : f[e], bytes = le(e + 8, 4), at = le(e + 12, 4);
    SCOPED_TRACE(sizes[i]);
    EXPECT_EQ(dim, static_cast<uint32_t>(sizes[i]));
    EXPECT_EQ(le(e + 6, 2), 32u);
    ASSERT_LE(at + bytes, f.size());
    if (sizes[i] == 256) {
      EXPECT_EQ(std::string(f.begin() + at + 1, f.begin() + at + 4), "PNG");
      EXPECT_EQ(le(at + 16, 1) << 24 | le(at + 17, 1) << 16 | le(at + 18, 1) << 8 | le(at + 19, 1), 256u);
    } else {
      EXPECT_EQ(le(at + 4, 4), dim);
      EXPECT_EQ(le(at + 8, 4), dim * 2);
      EXPECT_EQ(bytes, 40 + dim * dim * 4 + (dim + 31) / 32 * 4 * dim);
    }
  }
}

}  // namespace
}  // namespace assetgen
