// Drives the eight operations through the default (waveOut) output, the way the saver does.
//
//   wavemix_capture_probe play   writes probe.wav (a pseudo-random stereo pattern at the
//                                device rate) in the current directory and plays it
//   wavemix_capture_probe check F looks for that pattern, sample for sample, in the raw
//                                16-bit stereo capture F
// Exit codes: 0 success; 1 pattern not found; 2 usage; 10 no output device; 11 wave refused;
// 12 play refused.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "wavemix/tests/wav_bytes.h"
#include "wavemix/wavemix.h"

namespace {

constexpr size_t kPatternFrames = 11025;  // half a second at the device rate

std::vector<int16_t> Pattern() {
  std::vector<int16_t> s;
  uint32_t x = 0x5EED1234u;
  for (size_t i = 0; i < 2 * kPatternFrames; ++i) {
    x = x * 1664525u + 1013904223u;
    s.push_back(static_cast<int16_t>(static_cast<int32_t>(x >> 16) % 8000));
  }
  return s;
}

int Play() {
  using namespace wavemix;
  const auto file = testing::MakeWav16(2, kDefaultSampleRate, Pattern());
  std::ofstream("probe.wav", std::ios::binary)
      .write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));

  const uint32_t session = WaveMixInit();
  if (session == 0) {
    std::puts("no output device");
    return 10;
  }
  uint32_t waves[12] = {};
  waves[4] = WaveMixOpenWave(session, "probe.wav", 0, 0);
  WaveMixOpenChannel(session, 8, WMIX_OPENCOUNT);
  WaveMixActivate(session, 1);
  int rc = 0;
  if (waves[4] == 0) {
    std::puts("wave refused");
    rc = 11;
  } else {
    const MixPlayParams p{24, session, 4, waves[4], 0, 5, 0};
    const auto before = std::chrono::steady_clock::now();
    if (WaveMixPlay(&p) != 0) rc = 12;
    const auto waited = std::chrono::steady_clock::now() - before;
    std::printf("play returned after %lld us\n", static_cast<long long>(
        std::chrono::duration_cast<std::chrono::microseconds>(waited).count()));
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
  }
  WaveMixCloseChannel(session, 0, WMIX_ALL);
  for (uint32_t w : waves) WaveMixFreeWave(session, w);
  WaveMixCloseSession(session);
  return rc;
}

int Check(const char* path) {
  std::ifstream in(path, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> captured(bytes.size() / 2);
  std::memcpy(captured.data(), bytes.data(), captured.size() * 2);
  const auto pattern = Pattern();
  std::printf("captured %zu bytes\n", bytes.size());
  // The whole pattern must appear in order, sample for sample, on a frame boundary. A busy machine
  // may starve the sound device for a moment, which then plays silence: silent frames between the
  // pattern's are an underrun, not a fault of the mixer. Anything else in between is.
  const auto silent = [&](size_t frame) { return captured[2 * frame] == 0 && captured[2 * frame + 1] == 0; };
  const size_t frames = captured.size() / 2;
  for (size_t first = 0; first < frames; ++first) {
    if (captured[2 * first] != pattern[0] || captured[2 * first + 1] != pattern[1]) continue;
    size_t got = 0, at = first, gaps = 0;
    while (got < kPatternFrames && at < frames) {
      if (captured[2 * at] == pattern[2 * got] && captured[2 * at + 1] == pattern[2 * got + 1]) {
        ++got, ++at;
      } else if (silent(at)) {
        ++gaps, ++at;
      } else {
        break;
      }
    }
    if (got < kPatternFrames) continue;
    std::printf("pattern found at frame %zu (%zu silent frames of underruns within it)\n", first, gaps);
    // Loop count 0: the wave plays once, and nothing else was playing.
    const auto nonzero = [](int16_t v) { return v != 0; };
    if (std::any_of(captured.begin(), captured.begin() + static_cast<long>(2 * first), nonzero) ||
        std::any_of(captured.begin() + static_cast<long>(2 * at), captured.end(), nonzero)) {
      std::puts("unexpected sound outside the pattern");
      return 1;
    }
    return 0;
  }
  std::puts("pattern not found");
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "play") == 0) return Play();
  if (argc == 3 && std::strcmp(argv[1], "check") == 0) return Check(argv[2]);
  std::puts("usage: wavemix_capture_probe play | check <raw file>");
  return 2;
}
