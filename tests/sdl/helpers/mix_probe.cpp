// mix_probe WAVE CAPTURE: whether a capture of the saver's audio output holds exactly what the wave
// mixer makes of WAVE played once on a channel: the capture, from its first sounding frame, must be
// the mixer's output from its first sounding frame, sample for sample, and silence after it.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "wavemix/wavemix.h"

namespace {

std::vector<int16_t> ReadRaw(const char* path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / 2);
  for (size_t i = 0; i < samples.size(); ++i)
    samples[i] = static_cast<int16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  return samples;
}

size_t FirstSounding(const std::vector<int16_t>& s) {
  size_t i = 0;
  while (i < s.size() && s[i] == 0) ++i;
  return i - i % 2;  // the start of its frame
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: mix_probe WAVE CAPTURE\n");
    return 2;
  }
  auto sink = std::make_unique<wavemix::MemorySink>();
  wavemix::MemorySink* memory = sink.get();
  const uint32_t session = wavemix::WaveMixInitWithSink(std::move(sink));
  const uint32_t wave = wavemix::WaveMixOpenWave(session, argv[1], 0, 0);
  if (!session || !wave) {
    std::fprintf(stderr, "mix_probe: cannot mix %s\n", argv[1]);
    return 2;
  }
  wavemix::WaveMixOpenChannel(session, 8, wavemix::WMIX_OPENCOUNT);
  wavemix::WaveMixActivate(session, 1);
  wavemix::MixPlayParams play{24, session, 0, wave, 0, wavemix::WMIX_CLEARQUEUE | wavemix::WMIX_HIPRIORITY, 0};
  wavemix::WaveMixPlay(&play);
  memory->Render(wavemix::kDefaultSampleRate * 10);
  std::vector<int16_t> expected = memory->Samples();
  while (!expected.empty() && expected.back() == 0) expected.pop_back();
  const std::vector<int16_t> captured = ReadRaw(argv[2]);

  const size_t e0 = FirstSounding(expected), c0 = FirstSounding(captured);
  const size_t length = expected.size() - e0;
  if (c0 >= captured.size()) {
    std::printf("the capture is silent\n");
    return 1;
  }
  if (captured.size() - c0 < length) {
    std::printf("the capture ends %zu samples into the effect, which has %zu\n", captured.size() - c0, length);
    return 1;
  }
  for (size_t i = 0; i < length; ++i)
    if (captured[c0 + i] != expected[e0 + i]) {
      std::printf("sample %zu of the effect differs: %d captured, %d mixed\n", i, captured[c0 + i], expected[e0 + i]);
      return 1;
    }
  for (size_t i = c0 + length; i < captured.size(); ++i)
    if (captured[i] != 0) {
      std::printf("sound after the effect, at sample %zu\n", i - c0);
      return 1;
    }
  std::printf("the capture holds the mixed effect (%zu samples) and silence around it\n", length);
  return 0;
}
