// Whole frames pinned by hash: every presented canvas and back buffer of a fixed-seed run with
// every creature on, at screen sizes that cut, copy and stretch the scene. Faster drawing code must
// not change a pixel. The pictures are the fixture's sheets of the real sizes, repainted with
// noise so that a pixel taken from a neighbour shows, and nothing depends on the generated art.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/bmp_reader.h"
#include "saver/screensaver.h"
#include "scene/catalogue.h"
#include "startup/starter.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

uint64_t Mix(uint64_t h, const std::vector<uint32_t>& pixels) {
  for (uint32_t px : pixels) h = (h ^ px) * 0x100000001B3ull;
  return h;
}

class Frames : public ProgramTest {
 protected:
  void SetUp() override {
    WriteAllPictures();
    uint32_t state = 0x2545F491;
    auto next = [&] { return state = state * 1664525u + 1013904223u; };
    std::vector<std::string> names;  // in a fixed order: the noise must not depend on the file system
    for (const auto& entry : std::filesystem::directory_iterator(windir / "Duskhollow"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
      const std::string bytes = ReadText("Duskhollow/" + name);
      auto b = DecodeBmp(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
      ASSERT_TRUE(b) << name;
      // Image half: noise; mask half: opaque blobs in a white surround (and the rest noise too).
      for (int y = 0; y < b->height; ++y)
        for (int x = 0; x < b->width; ++x) {
          const bool maskHalf = y >= b->height / 2;
          const bool blob = ((x / 5 + y / 7) % 3) != 0;
          b->Row(y)[x] = maskHalf ? (blob ? 0 : (next() % 4 ? 0xFFFFFF : next() >> 8)) : next() >> 8;
        }
      WritePicture(name, *b);
    }
    std::string keys = "[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\n";
    for (const CreatureEntry& c : kCreatures) keys += std::string(c.key) + "=1\r\n";
    WriteText("tarnix.ini", keys);
  }
  // The hash of `frames` frames' canvases and back buffers at w x h from `seed`.
  uint64_t Run(int w, int h, int seed, int frames) {
    NewProcess();
    os->screenWidth = w;
    os->screenHeight = h;
    os->clockSeconds = seed;
    if (RunMain("/s") != -1 || !p->screenSaver) return 0;
    ScreenSaver& s = *p->screenSaver;
    uint64_t hash = 0xCBF29CE484222325ull;
    for (int i = 0; i < frames; ++i) {
      os->elapsedMs += s.maintimer.Interval;
      s.maintimer_Timer();
      hash = Mix(Mix(hash, p->surfaces.Find(s.Canvas)->pixels), p->surfaces.Find(p->BackBuffer)->pixels);
    }
    return hash;
  }
};

TEST_F(Frames, AreThoseOfTheReferenceDrawing) {
  struct Case { int w, h, seed; uint64_t hash; };
  // Recorded from the plain scalar transfers the faster ones replaced.
  const Case cases[] = {
      {640, 480, 1234, 3851135209960163075ull},
      {800, 600, 40000, 14540946974037024917ull},
      {1001, 777, 777, 15377397761353431126ull},
      {1920, 1080, 65000, 17934498155487573242ull},
      {3840, 2160, 5, 5754851675456483189ull},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Run(c.w, c.h, c.seed, 90), c.hash) << c.w << " x " << c.h << ", seed " << c.seed;
}

}  // namespace
}  // namespace dusk::testing
