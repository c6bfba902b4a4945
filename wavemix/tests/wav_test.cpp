// WAV reading and conversion to 16-bit stereo at the device rate.
#include <gtest/gtest.h>

#include <random>

#include "wavemix/tests/wav_bytes.h"
#include "wavemix/wav.h"

namespace wavemix::detail {
namespace {

using namespace wavemix::testing;
using Samples = std::vector<int16_t>;

std::optional<Samples> Convert(const std::vector<uint8_t>& file, uint32_t rate = 22050) {
  const auto pcm = ParseWav(file.data(), file.size());
  return pcm ? ConvertToDevice(*pcm, rate) : std::nullopt;
}

std::vector<uint8_t> WithFmt(const std::vector<uint8_t>& fmt, size_t data_bytes = 12) {
  std::vector<uint8_t> chunks;
  PutChunk(chunks, "fmt ", fmt);
  PutChunk(chunks, "data", std::vector<uint8_t>(data_bytes, 0));
  return Riff(chunks);
}

TEST(Wav, SupportedFormatsConvertToStereoSixteenBit) {
  const Samples stereo{1, -1, 32767, -32768, 1234, -4321};
  EXPECT_EQ(Convert(MakeWav16(2, 22050, stereo)), stereo);  // device format: exact copy
  EXPECT_EQ(Convert(MakeWav16(1, 22050, {7, -300})), (Samples{7, 7, -300, -300}));
  EXPECT_EQ(Convert(MakeWav(2, 8, 22050, {0, 128, 255, 129})), (Samples{-32768, 0, 32512, 256}));

  auto ext = FmtBody(1, 16, 22050, 0xFFFE);  // WAVE_FORMAT_EXTENSIBLE, PCM sub-format
  PutLE(ext, 22, 2);
  PutLE(ext, 16, 2);
  PutLE(ext, 4, 4);
  PutLE(ext, 1, 2);
  ext.insert(ext.end(), 14, 0x10);
  EXPECT_EQ(Convert(WithFmt(ext, 4)), (Samples{0, 0, 0, 0}));
}

TEST(Wav, ChunksInAnyOrderPaddingAndTrailingBytesAreHandled) {
  std::vector<uint8_t> chunks;
  PutChunk(chunks, "LIST", {1, 2, 3});  // odd size: a pad byte follows
  PutChunk(chunks, "data", Pcm16Bytes({10, 20}));
  PutChunk(chunks, "fmt ", FmtBody(1, 16, 22050));
  auto file = Riff(chunks);
  file.insert(file.end(), {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0xFF});  // outside the RIFF
  EXPECT_EQ(Convert(file), (Samples{10, 10, 20, 20}));
}

TEST(Wav, MalformedUnsupportedAndTruncatedFilesAreRefused) {
  auto wrong_align = FmtBody(2, 16, 22050);
  wrong_align[12] = 2;
  auto short_fmt = FmtBody(1, 16, 22050);
  short_fmt.resize(14);
  std::vector<uint8_t> no_data, no_fmt, two_data;
  PutChunk(no_data, "fmt ", FmtBody(1, 16, 22050));
  PutChunk(no_fmt, "data", {0, 0});
  PutChunk(two_data, "fmt ", FmtBody(1, 16, 22050));
  PutChunk(two_data, "data", {0, 0});
  PutChunk(two_data, "data", {0, 0});
  auto long_data = MakeWav16(1, 22050, {1, 2, 3});
  long_data[40] = 0xFF;  // the data chunk now claims more than the file holds
  const std::vector<std::vector<uint8_t>> bad{
      WithFmt(FmtBody(1, 32, 22050, 3)), WithFmt(FmtBody(1, 16, 22050, 2)),
      WithFmt(FmtBody(1, 24, 22050)),    WithFmt(FmtBody(3, 16, 22050)),
      WithFmt(FmtBody(0, 16, 22050)),    WithFmt(FmtBody(1, 16, 0)),
      WithFmt(wrong_align),              WithFmt(short_fmt),
      Riff(no_data), Riff(no_fmt), Riff(two_data), long_data};
  for (size_t i = 0; i < bad.size(); ++i) EXPECT_FALSE(ParseWav(bad[i].data(), bad[i].size())) << i;

  const auto file = MakeWav16(2, 22050, {1, 2, 3, 4, 5, 6});
  for (size_t n = 0; n < file.size(); ++n) {
    const std::vector<uint8_t> prefix(file.begin(), file.begin() + static_cast<long>(n));
    EXPECT_FALSE(ParseWav(prefix.data(), prefix.size())) << "prefix " << n;
  }
}

TEST(Wav, ResamplingInterpolatesLinearlyAndKeepsTheDuration) {
  EXPECT_EQ(Convert(MakeWav16(1, 11025, {0, 1000, 2000})),
            (Samples{0, 0, 500, 500, 1000, 1000, 1500, 1500, 2000, 2000, 2000, 2000}));
  EXPECT_EQ(Convert(MakeWav16(2, 44100, {1, -1, 2, -2, 3, -3, 4, -4, 5, -5})),
            (Samples{1, -1, 3, -3, 5, -5}));
  PcmView huge{1, 16, 22050, nullptr, kMaxDeviceFrames + 1};  // refused before any read
  EXPECT_FALSE(ConvertToDevice(huge, 22050));
}

// Mutated and truncated images are refused or parsed into a view inside the image. Each
// image sits in an exactly sized allocation so that sanitizers see any overread.
TEST(Wav, FuzzedHeadersNeverCrashOrOverread) {
  std::vector<uint8_t> listed;
  PutChunk(listed, "LIST", {1, 2, 3});
  PutChunk(listed, "fmt ", FmtBody(1, 16, 44100));
  PutChunk(listed, "data", std::vector<uint8_t>(50, 7));
  const std::vector<std::vector<uint8_t>> seeds{
      MakeWav16(2, 22050, Samples(64, 100)), MakeWav(1, 8, 11025, std::vector<uint8_t>(33, 200)),
      Riff(listed)};
  const uint32_t extremes[] = {0, 1, 2, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFF, 0xFFFE, 16, 44};
  std::mt19937 rng(20240611);
  int accepted = 0;
  for (int iter = 0; iter < 30000; ++iter) {
    std::vector<uint8_t> img = seeds[rng() % seeds.size()];
    for (int e = 1 + static_cast<int>(rng() % 4); e > 0 && !img.empty(); --e) {
      const size_t at = rng() % std::min<size_t>(img.size(), 64);  // mostly the headers
      switch (rng() % 4) {
        case 0: img[at] = static_cast<uint8_t>(rng()); break;
        case 1: img[at] ^= static_cast<uint8_t>(1u << (rng() % 8)); break;
        case 2: {
          const uint32_t v = extremes[rng() % std::size(extremes)];
          for (size_t b = 0; b < 4 && at + b < img.size(); ++b) img[at + b] = uint8_t(v >> (8 * b));
          break;
        }
        default: img.resize(rng() % img.size()); break;
      }
    }
    const std::unique_ptr<uint8_t[]> exact(new uint8_t[img.size()]);
    std::copy(img.begin(), img.end(), exact.get());
    const auto pcm = ParseWav(exact.get(), img.size());
    if (!pcm) continue;
    ++accepted;
    ASSERT_GE(pcm->data, exact.get());
    ASSERT_LE(pcm->data + pcm->frames * pcm->channels * pcm->bits / 8, exact.get() + img.size());
    (void)ConvertToDevice(*pcm, 22050);
  }
  EXPECT_GT(accepted, 0);  // the mutations also reach the converter
}

}  // namespace
}  // namespace wavemix::detail
