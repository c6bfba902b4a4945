// Sessions, handles, files, the saver's closing order, and a sink pulling on its own thread.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <thread>

#include "wavemix/tests/wav_bytes.h"
#include "wavemix/wavemix.h"

namespace wavemix {
namespace {

// Records what the session does to it; the log outlives the sink.
struct SinkLog {
  int opens = 0, starts = 0, stops = 0, closes = 0;
  bool destroyed = false, fail_open = false;
};

class LoggingSink final : public OutputSink {
 public:
  explicit LoggingSink(std::shared_ptr<SinkLog> log) : log_(std::move(log)) {}
  ~LoggingSink() override { log_->destroyed = true; }
  bool Open(FrameSource&) override { return ++log_->opens, !log_->fail_open; }
  bool Start() override { return ++log_->starts, true; }
  void Stop() override { ++log_->stops; }
  void Close() override { ++log_->closes; }

 private:
  std::shared_ptr<SinkLog> log_;
};

// Pulls 40 ms blocks continuously on its own thread, as a device does.
class ThreadedSink final : public OutputSink {
 public:
  explicit ThreadedSink(std::atomic<int>* peak) : peak_(peak) {}
  bool Open(FrameSource& source) override { return source_ = &source, true; }
  bool Start() override {
    run_ = true;
    thread_ = std::thread([this] {
      std::vector<int16_t> block(2 * 882);
      while (run_) {
        source_->RenderFrames(block.data(), 882);
        for (int16_t s : block) if (s > *peak_) *peak_ = s;
      }
    });
    return true;
  }
  void Stop() override {
    run_ = false;
    if (thread_.joinable()) thread_.join();
  }
  void Close() override { Stop(); }

 private:
  std::atomic<int>* peak_;
  FrameSource* source_ = nullptr;
  std::atomic<bool> run_{false};
  std::thread thread_;
};

std::vector<uint8_t> ShortWav(int16_t level, size_t frames = 64) {
  return testing::MakeWav16(1, 22050, std::vector<int16_t>(frames, level));
}

uint32_t Load(uint32_t session, const std::vector<uint8_t>& file) {
  return WaveMixOpenWaveFromMemory(session, file.data(), file.size());
}

uint32_t Play(uint32_t session, int channel, uint32_t wave) {
  const MixPlayParams p{24, session, channel, wave, 0, 5, 0};
  return WaveMixPlay(&p);
}

TEST(MixerSession, DefaultInitUsesTheFactoryOrNothing) {
  auto log = std::make_shared<SinkLog>();
  SetDefaultSinkFactory([log] { return std::make_unique<LoggingSink>(log); });
  const uint32_t s = WaveMixInit();
  EXPECT_NE(s, 0u);
  WaveMixCloseSession(s);
  log->fail_open = true;
  EXPECT_EQ(WaveMixInit(), 0u);
  EXPECT_TRUE(log->destroyed);
  SetDefaultSinkFactory([] { return std::unique_ptr<OutputSink>(); });
  EXPECT_EQ(WaveMixInit(), 0u);
  SetDefaultSinkFactory(nullptr);
#ifndef _WIN32
  EXPECT_EQ(WaveMixInit(), 0u);  // no platform output here: the saver runs silent
#endif
  EXPECT_EQ(WaveMixInitWithSink(nullptr), 0u);
}

TEST(MixerSession, ClosingInTheCleanupOrderReleasesEverything) {
  auto log = std::make_shared<SinkLog>();
  const uint32_t s = WaveMixInitWithSink(std::make_unique<LoggingSink>(log));
  ASSERT_NE(s, 0u);
  uint32_t waves[12] = {};
  for (int n = 0; n < 12; ++n) {
    if (n != 3 && n != 5) waves[n] = Load(s, ShortWav(static_cast<int16_t>(n)));  // others off
  }
  WaveMixOpenChannel(s, 8, WMIX_OPENCOUNT);
  WaveMixActivate(s, 1);
  EXPECT_EQ(Play(s, 0, waves[0]), 0u);

  EXPECT_EQ(WaveMixCloseChannel(s, 0, WMIX_ALL), 0u);
  for (uint32_t w : waves) EXPECT_EQ(WaveMixFreeWave(s, w), 0u);
  EXPECT_EQ(WaveMixCloseSession(s), 0u);
  EXPECT_EQ(log->starts, 1);
  EXPECT_GE(log->stops, 1);
  EXPECT_EQ(log->closes, 1);
  EXPECT_TRUE(log->destroyed);
  // The handle is dead now; everything is refused without harm.
  EXPECT_NE(Play(s, 0, waves[0]), 0u);
  EXPECT_NE(WaveMixActivate(s, 1), 0u);
  EXPECT_NE(WaveMixCloseSession(s), 0u);
}

TEST(MixerSession, UnknownAndForeignHandlesAreRefused) {
  const auto f = ShortWav(1);
  for (uint32_t bad : {0u, 0xDEADBEEFu}) {
    EXPECT_EQ(Load(bad, f), 0u);
    EXPECT_EQ(WaveMixOpenWave(bad, "x.wav", 0, 0), 0u);
    EXPECT_NE(WaveMixOpenChannel(bad, 8, WMIX_OPENCOUNT), 0u);
    EXPECT_NE(Play(bad, 0, 1), 0u);
    EXPECT_NE(WaveMixCloseChannel(bad, 0, WMIX_ALL), 0u);
    EXPECT_NE(WaveMixCloseSession(bad), 0u);
  }
  const uint32_t a = WaveMixInitWithSink(std::make_unique<MemorySink>());
  const uint32_t b = WaveMixInitWithSink(std::make_unique<MemorySink>());
  ASSERT_NE(a, b);
  WaveMixOpenChannel(b, 8, WMIX_OPENCOUNT);
  const uint32_t wave_of_a = Load(a, f);
  EXPECT_NE(Play(b, 0, wave_of_a), 0u);  // a wave belongs to its session
  EXPECT_NE(WaveMixFreeWave(b, wave_of_a), 0u);
  EXPECT_NE(WaveMixOpenChannel(a, 9, WMIX_OPENCOUNT), 0u);
  WaveMixCloseSession(a);
  WaveMixCloseSession(b);
}

TEST(MixerSession, OpensWaveFilesAndRefusesBadOnes) {
  const auto dir = std::filesystem::temp_directory_path() /
                   ("wavemix_session_test_" + std::to_string(std::random_device{}()));
  std::filesystem::create_directories(dir);
  auto write = [&](const char* name, std::vector<uint8_t> bytes) {
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    return (dir / name).string();
  };
  auto truncated = ShortWav(1, 8);
  truncated.pop_back();
  auto sink = std::make_unique<MemorySink>();
  MemorySink* mem = sink.get();
  const uint32_t s = WaveMixInitWithSink(std::move(sink));
  const std::string good = write("good.wav", ShortWav(1234, 8));
  const uint32_t w = WaveMixOpenWave(s, good.c_str(), 0, 0);
  ASSERT_NE(w, 0u);
  std::vector<std::string> bads = {write("cut.wav", truncated), write("empty.wav", {}),
                                   (dir / "missing.wav").string(), dir.string()};
#ifndef _WIN32
  // A pipe nobody writes to and an endless device: refused at once, never waited on or read.
  bads.push_back((dir / "fifo.wav").string());
  ASSERT_EQ(mkfifo(bads.back().c_str(), 0600), 0);
  bads.push_back((dir / "zero.wav").string());
  std::filesystem::create_symlink("/dev/zero", bads.back());
#endif
  for (const std::string& bad : bads) {
    EXPECT_EQ(WaveMixOpenWave(s, bad.c_str(), 0, 0), 0u) << bad;
  }
  EXPECT_EQ(WaveMixOpenWave(s, good.c_str(), 0, WMIX_RESOURCE), 0u);
  EXPECT_EQ(WaveMixOpenWave(s, nullptr, 0, 0), 0u);

  WaveMixOpenChannel(s, 8, WMIX_OPENCOUNT);
  WaveMixActivate(s, 1);
  Play(s, 0, w);
  mem->Render(8);
  EXPECT_EQ(mem->Samples(), std::vector<int16_t>(16, 1234));
  WaveMixCloseSession(s);
  std::filesystem::remove_all(dir);
}

// The caller loads, plays, frees and reopens channels while a sink thread renders;
// sanitizer builds check the locking, and the mix must still be heard.
TEST(MixerSession, CallerAndAudioThreadRunConcurrently) {
  std::atomic<int> peak{0};
  const uint32_t s = WaveMixInitWithSink(std::make_unique<ThreadedSink>(&peak));
  ASSERT_NE(s, 0u);
  WaveMixOpenChannel(s, 8, WMIX_OPENCOUNT);
  WaveMixActivate(s, 1);
  const uint32_t keep = Load(s, ShortWav(1000, 22050));
  for (int i = 0; i < 300; ++i) {
    const uint32_t w = Load(s, ShortWav(static_cast<int16_t>(i), 200));
    Play(s, i % 7, w);
    if (i % 3 == 0) WaveMixFreeWave(s, w);
    if (i % 50 == 0) {
      WaveMixCloseChannel(s, i % 7, WMIX_OPENSINGLE);
      WaveMixOpenChannel(s, i % 7, WMIX_OPENSINGLE);
    }
    if (i % 100 == 99) WaveMixActivate(s, 0), WaveMixActivate(s, 1);
  }
  Play(s, 7, keep);
  for (int i = 0; i < 2000 && peak < 1000; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_GE(peak.load(), 1000);
  WaveMixCloseSession(s);  // frees the waves still loaded
}

}  // namespace
}  // namespace wavemix
