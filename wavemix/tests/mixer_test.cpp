// Playback through the eight operations, rendered into a MemorySink.
#include <gtest/gtest.h>

#include "wavemix/tests/wav_bytes.h"
#include "wavemix/wavemix.h"

namespace wavemix {
namespace {

using Samples = std::vector<int16_t>;

Samples Constant(size_t frames, int16_t left, int16_t right) {
  Samples s;
  for (size_t i = 0; i < frames; ++i) s.insert(s.end(), {left, right});
  return s;
}

Samples Pattern(size_t frames, uint32_t seed) {
  Samples s;
  for (size_t i = 0; i < 2 * frames; ++i) {
    seed = seed * 1103515245u + 12345u;
    s.push_back(static_cast<int16_t>(seed >> 16));
  }
  return s;
}

Samples Cat(Samples a, const Samples& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class MixerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto sink = std::make_unique<MemorySink>();
    mem_ = sink.get();
    session_ = WaveMixInitWithSink(std::move(sink));
    ASSERT_NE(session_, 0u);
    WaveMixOpenChannel(session_, 8, WMIX_OPENCOUNT);
    WaveMixActivate(session_, 1);
  }
  void TearDown() override { WaveMixCloseSession(session_); }

  uint32_t Load(const Samples& stereo) { return LoadFile(testing::MakeWav16(2, 22050, stereo)); }
  uint32_t LoadFile(const std::vector<uint8_t>& file) {
    return WaveMixOpenWaveFromMemory(session_, file.data(), file.size());
  }
  uint32_t Play(int channel, uint32_t wave, uint32_t flags = 5, uint16_t loops = 0) {
    const MixPlayParams p{24, session_, channel, wave, 0, flags, loops};
    return WaveMixPlay(&p);
  }
  Samples Render(size_t frames) {
    const size_t first = mem_->Render(frames);
    return {mem_->Samples().begin() + static_cast<long>(first), mem_->Samples().end()};
  }

  uint32_t session_ = 0;
  MemorySink* mem_ = nullptr;  // owned by the session until it closes
};

TEST_F(MixerTest, PlayedWaveAppearsSampleExactOnceThenSilence) {
  const auto pattern = Pattern(1000, 7);
  const uint32_t w = Load(pattern);
  ASSERT_NE(w, 0u);
  EXPECT_EQ(Render(10), Constant(10, 0, 0));
  EXPECT_EQ(Play(3, w), 0u);
  EXPECT_EQ(Render(1500), Cat(pattern, Constant(500, 0, 0)));
}

TEST_F(MixerTest, ResampledMonoWaveMatchesWithinTolerance) {
  Samples tone;  // 11025 Hz mono triangle
  for (int i = 0; i < 400; ++i) tone.push_back(static_cast<int16_t>((i % 100 - 50) * 300));
  Play(0, LoadFile(testing::MakeWav16(1, 11025, tone)));
  const auto out = Render(800);
  for (size_t f = 0; f + 2 < 800; f += 2) {  // even frames land on source frames, odd between
    EXPECT_NEAR(out[2 * f], tone[f / 2], 1) << f;
    EXPECT_NEAR(out[2 * f + 2], (tone[f / 2] + tone[f / 2 + 1]) / 2, 1) << f;
    EXPECT_EQ(out[2 * f], out[2 * f + 1]);
  }
}

TEST_F(MixerTest, ChannelsAddAndSaturateInsteadOfWrapping) {
  const uint32_t loud = Load(Constant(100, 30000, -30000));
  Play(0, Load(Constant(100, 1000, -2000)));
  Play(5, Load(Constant(100, 30, 40)));
  EXPECT_EQ(Render(100), Constant(100, 1030, -1960));
  Play(1, loud);
  Play(2, loud);
  EXPECT_EQ(Render(100), Constant(100, 32767, -32768));
  for (int c = 0; c < 8; ++c) Play(c, loud);
  EXPECT_EQ(Render(100), Constant(100, 32767, -32768));
}

TEST_F(MixerTest, NewPlayOnTheSameChannelCutsTheOldOne) {
  const auto second = Pattern(300, 99);
  Play(7, Load(Constant(1000, 500, 500)));
  Render(100);
  Play(7, Load(second));
  EXPECT_EQ(Render(600), Cat(second, Constant(300, 0, 0)));
}

TEST_F(MixerTest, QueueingAndLooping) {
  const uint32_t a = Load(Constant(10, 1, 1));
  const uint32_t b = Load(Constant(10, 2, 2));
  Play(4, a, WMIX_QUEUEWAVE);
  Play(4, b, WMIX_QUEUEWAVE, 1);
  EXPECT_EQ(Render(30), Cat(Constant(10, 1, 1), Constant(20, 2, 2)));  // no gap, b twice
  EXPECT_EQ(Render(5), Constant(5, 0, 0));

  Play(4, a, WMIX_QUEUEWAVE);
  Play(4, b, WMIX_QUEUEWAVE);
  Play(4, a, WMIX_CLEARQUEUE, 2);  // replaces the current wave and the queued one
  EXPECT_EQ(Render(40), Cat(Constant(30, 1, 1), Constant(10, 0, 0)));

  Play(2, b, 5, WMIX_LOOP_FOREVER);
  EXPECT_EQ(Render(1000), Constant(1000, 2, 2));
  WaveMixCloseChannel(session_, 2, WMIX_OPENSINGLE);
  EXPECT_EQ(Render(10), Constant(10, 0, 0));
}

TEST_F(MixerTest, PlaysStartOnlyWhenActiveAndHeldPlaysStartTogether) {
  const auto pattern = Pattern(100, 3);
  WaveMixActivate(session_, 0);
  Play(6, Load(pattern));
  EXPECT_EQ(Render(50), Constant(50, 0, 0));
  WaveMixActivate(session_, 1);
  EXPECT_EQ(Render(100), pattern);

  Play(0, Load(Constant(20, 100, 0)), 5 | WMIX_WAIT);
  EXPECT_EQ(Render(10), Constant(10, 0, 0));
  Play(1, Load(Constant(20, 0, 100)));
  EXPECT_EQ(Render(20), Constant(20, 100, 100));
}

TEST_F(MixerTest, ClosedOrInvalidChannelsDoNotPlay) {
  const uint32_t w = Load(Constant(1000, 5, 5));
  for (int c = 0; c < 8; ++c) Play(c, w);
  Render(10);
  WaveMixCloseChannel(session_, 0, WMIX_ALL);
  EXPECT_EQ(Render(10), Constant(10, 0, 0));
  EXPECT_NE(Play(3, w), 0u);
  EXPECT_NE(Play(8, w), 0u);
  EXPECT_NE(Play(-1, w), 0u);
  WaveMixOpenChannel(session_, 3, WMIX_OPENSINGLE);
  EXPECT_EQ(Play(3, w), 0u);
  EXPECT_NE(Play(4, w), 0u);
  EXPECT_EQ(Render(10), Constant(10, 5, 5));
}

TEST_F(MixerTest, FreeingAPlayingWaveStopsItEverywhereAndLeavesOthers) {
  const uint32_t a = Load(Constant(1000, 5, 5));
  Play(0, a);
  Play(1, Load(Constant(1000, 1, 1)));
  Play(1, a, WMIX_QUEUEWAVE);  // queued behind the other wave
  Render(10);
  EXPECT_EQ(WaveMixFreeWave(session_, a), 0u);
  EXPECT_EQ(Render(1000), Cat(Constant(990, 1, 1), Constant(10, 0, 0)));
  EXPECT_NE(Play(0, a), 0u);
  EXPECT_EQ(WaveMixFreeWave(session_, 0), 0u);
}

TEST_F(MixerTest, RecordBuiltFromSixteenBitHalvesPlays) {
  // The saver fills the record as twelve 16-bit words, low half of each 32-bit value first.
  const uint32_t w = Load(Constant(10, 77, 77));
  auto lo = [](uint32_t v) { return static_cast<uint16_t>(v & 0xFFFF); };
  auto hi = [](uint32_t v) { return static_cast<uint16_t>(v >> 16); };
  uint16_t words[12] = {24, lo(session_), hi(session_), 5, 0, lo(w), hi(w), 0, 0, 5, 0, 0};
  EXPECT_EQ(WaveMixPlay(words), 0u);
  EXPECT_EQ(Render(10), Constant(10, 77, 77));
  words[0] = 22;
  EXPECT_NE(WaveMixPlay(words), 0u);
  EXPECT_NE(WaveMixPlay(nullptr), 0u);
}

}  // namespace
}  // namespace wavemix
