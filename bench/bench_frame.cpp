// How a frame compares with copying the bytes it touches:
//   composing one frame with every creature on   <= 4 x memcpy of the bytes the frame writes
//   presenting it stretched to 1920 x 1080       <= 3 x memcpy of the destination's bytes
//   one tick with three 1920 x 1080 monitors      <  2.2 x one tick with one (composed once)
// Run: build/native/bin/dusk_bench  (prints both ratios at the end)
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "hosts/headless/portable_os.h"
#include "saver/screensaver.h"
#include "scene/animations.h"
#include "startup/starter.h"

namespace {

using namespace dusk;

dusk::Bitmap Sheet(int w, int h, int frames, uint32_t colour) {
  Bitmap b;
  b.width = w * frames;
  b.height = 2 * h;
  b.pixels.assign(static_cast<size_t>(b.width) * b.height, 0);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < b.width; ++x) {
      bool inside = (x % w) > 1 && (x % w) < w - 2 && y > 1 && y < h - 2;
      b.Row(y)[x] = inside ? colour : 0;
      b.Row(h + y)[x] = inside ? 0 : 0xFFFFFF;
    }
  return b;
}

// A saver with every creature on and synthetic pictures of the real sizes, no files involved.
struct Fixture {
  PortableOs os{"/nonexistent"};
  Program p{os};
  Fixture(int screenW, int screenH, std::vector<Rect> others = {}) {
    os.otherMonitors = std::move(others);
    os.screenWidth = screenW;
    os.screenHeight = screenH;
    os.mixerAvailable = false;
    p.ScreenWidth = screenW;
    p.ScreenHeight = screenH;
    p.SceneLeftLimit = -400;
    p.SceneRightLimit = 1200;
    p.SceneTopLimit = -150;
    p.SceneFarLimit = 750;
    p.settings.Speed = 70;
    GetDiectories(p);
    Properties_Creatures(p);
    Scene& s = p.scene;
    uint32_t colour = 0x402010;
    auto give = [&](CreatureState& r, int runs) {
      r.Picture = p.surfaces.Add(Sheet(r.Width, r.Height, std::max<int>(1, r.FrameCount) * runs, colour));
      r.Enabled = kTrue;
      colour += 0x030507;
    };
    for (CreatureState* strip : {&s.BackTop, &s.BackMid1, &s.BackMid2, &s.BackMid3, &s.BackBottom}) give(*strip, 1);
    for (CreatureState* r : {&s.Tomb1, &s.Tomb2, &s.Tomb4, &s.Hand, &s.Watchman, &s.Owl, &s.Medallion,
                             &s.Skeleton1, &s.Crow1, &s.Crow2, &s.Zombie, &s.BloodDrip, &s.Scorpion,
                             &s.Flower, &s.GraveDigger, &s.Pumpkin, &s.Spider, &s.FireFlies[1],
                             &s.Lightning[1], &s.Lightning[2]})
      give(*r, 1);
    for (CreatureState* r : {&s.Dove, &s.Skeleton2, &s.Rats[1], &s.Rats[2], &s.Bats[1]}) give(*r, 2);
    p.BackBuffer = p.surfaces.AddBlank(800, 600, 0);
    p.RunMode = kModeSaver;
    p.screenSaver = std::make_unique<ScreenSaver>(p);
    p.screenSaver->Form_Initialize();
    // Start where most creatures are on the scene.
    s.Skeleton1.X = 300;
    s.Skeleton2.X = 300;
    s.Rats[1].X = 300;
    s.Rats[2].X = 500;
    s.Dove.X = 400;
    s.Pumpkin.X = 600;
    s.Spider.Y = 100;
    s.MediumTick = 33;  // lightning about to flash
  }
};

uint64_t g_frameBytes = 0, g_presentBytes = 0;
double g_frameNs = 0, g_frameCopyNs = 0, g_presentNs = 0, g_presentCopyNs = 0, g_oneNs = 0, g_threeNs = 0;

// A whole tick (compose once, present on every monitor) with one or three 1920 x 1080 monitors.
void Tick(benchmark::State& state, int monitors) {
  std::vector<Rect> others;
  for (int i = 1; i < monitors; ++i) others.push_back(Rect{1920 * i, 0, 1920 * (i + 1), 1080});
  Fixture f(1920, 1080, others);
  ScreenSaver& w = *f.p.screenSaver;
  for (auto _ : state) {
    w.maintimer_Timer();
    benchmark::ClobberMemory();
  }
}
void TickOneMonitor(benchmark::State& state) { Tick(state, 1); }
void TickThreeMonitors(benchmark::State& state) { Tick(state, 3); }

void ComposeFrame(benchmark::State& state) {
  Fixture f(800, 600);
  ScreenSaver& w = *f.p.screenSaver;
  for (auto _ : state) {  // the scene runs on as it would on a screen
    w.maintimer_Timer();
    benchmark::ClobberMemory();
  }
  const uint64_t before = f.p.surfaces.PixelsWritten();
  w.maintimer_Timer();
  g_frameBytes = (f.p.surfaces.PixelsWritten() - before) * 4;
  state.counters["bytes"] = static_cast<double>(g_frameBytes);
}

void CopyFrameBytes(benchmark::State& state) {
  const size_t n = g_frameBytes ? g_frameBytes : 8 << 20;
  std::vector<uint8_t> a(n, 1), b(n, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), n);
    benchmark::ClobberMemory();
  }
}

void PresentStretched(benchmark::State& state) {
  Fixture f(1920, 1080);
  ScreenSaver& w = *f.p.screenSaver;
  w.maintimer_Timer();
  for (auto _ : state) {
    w.PresentBackBuffer();
    benchmark::ClobberMemory();
  }
  g_presentBytes = 1920ull * 1080 * 4;
}

void CopyPresentBytes(benchmark::State& state) {
  const size_t n = 1920ull * 1080 * 4;
  std::vector<uint8_t> a(n, 1), b(n, 2);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), n);
    benchmark::ClobberMemory();
  }
}

BENCHMARK(ComposeFrame)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyFrameBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(PresentStretched)->Unit(benchmark::kMicrosecond);
BENCHMARK(CopyPresentBytes)->Unit(benchmark::kMicrosecond);
BENCHMARK(TickOneMonitor)->Unit(benchmark::kMicrosecond);
BENCHMARK(TickThreeMonitors)->Unit(benchmark::kMicrosecond);

class Collector : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs) {
      // Single runs, or the mean when the runs are repeated.
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "mean") continue;
      const double ns = r.GetAdjustedRealTime();
      const std::string name = r.run_name.function_name;
      if (name == "ComposeFrame") g_frameNs = ns;
      if (name == "CopyFrameBytes") g_frameCopyNs = ns;
      if (name == "PresentStretched") g_presentNs = ns;
      if (name == "CopyPresentBytes") g_presentCopyNs = ns;
      if (name == "TickOneMonitor") g_oneNs = ns;
      if (name == "TickThreeMonitors") g_threeNs = ns;
    }
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  Collector reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nframe composition: %.2f x memcpy of the %llu bytes it writes (goal: at most 4)\n",
              g_frameNs / g_frameCopyNs, static_cast<unsigned long long>(g_frameBytes));
  std::printf("stretched presentation to 1920x1080: %.2f x memcpy of the %llu destination bytes (goal: at most 3)\n",
              g_presentNs / g_presentCopyNs, static_cast<unsigned long long>(g_presentBytes));
  std::printf("one tick with three 1920x1080 monitors: %.2f x one tick with one (goal: under 2.2)\n",
              g_threeNs / g_oneNs);
  benchmark::Shutdown();
  return 0;
}
