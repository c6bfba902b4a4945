// The songs' sequencer: the MCI strings the saver sends, answered with real audio from FluidSynth.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "hosts/kit/midi.h"
#include "hosts/kit/song_levels.h"
#include "hosts/sdl/sdl_os.h"
#include "hosts/sdl/sequencer.h"

namespace dusk::sdl {
namespace {

constexpr uint32_t kRate = 22050;

std::optional<std::vector<uint8_t>> Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string Song(int n) { return std::string(DUSK_DATA_DIR) + "/h_song" + std::to_string(n) + ".Mid"; }

class Sequencer : public ::testing::Test {
 protected:
  MciSequencer seq{kRate, Read};
  std::string reply = std::string(255, ' ');

  uint32_t Send(const std::string& command) { return seq.Send(command, reply); }
  std::string Mode(const std::string& alias) {
    reply.assign(255, ' ');
    return Send("status " + alias + " mode") == 0 ? std::string(reply.c_str()) : "error";
  }
  // The loudest sample of `seconds` of output.
  int Peak(double seconds) {
    std::vector<int16_t> out(2 * static_cast<size_t>(seconds * kRate), 0);
    seq.Render(out.data(), out.size() / 2);
    int peak = 0;
    for (int16_t s : out) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
  }
  void LoadFont() {
    const std::string font = FindSoundFont();
    if (font.empty()) GTEST_SKIP() << "no General MIDI soundfont installed";
    ASSERT_TRUE(seq.LoadSoundFont(font));
  }
};

TEST_F(Sequencer, EverySongIsTimedInFramesOfTheOutput) {
  for (int n = 0; n <= 11; ++n) {
    auto bytes = Read(Song(n));
    ASSERT_TRUE(bytes) << Song(n);
    auto song = ReadMidiSong(*bytes, kRate);
    ASSERT_TRUE(song) << Song(n);
    EXPECT_NEAR(static_cast<double>(song->endFrame) / kRate, kit::MidiFileSeconds(*bytes), 1.0 / kRate) << Song(n);
    EXPECT_FALSE(song->events.empty());
    EXPECT_LE(song->events.back().frame, song->endFrame);
  }
}

TEST_F(Sequencer, PlaysFromWhereAskedAndStopsWhenToldOrAtTheEnd) {
  LoadFont();
  ASSERT_EQ(Send("open \"" + Song(0) + "\" type sequencer alias song0"), 0u);
  EXPECT_EQ(Mode("song0"), "stopped");
  EXPECT_EQ(Peak(0.5), 0) << "nothing sounds before play";
  ASSERT_EQ(Send("play song0 from 0"), 0u);
  EXPECT_EQ(Mode("song0"), "playing");
  EXPECT_GT(Peak(3), 1000) << "the song is heard";
  ASSERT_EQ(Send("stop song0"), 0u);
  EXPECT_EQ(Mode("song0"), "stopped");
  EXPECT_EQ(Peak(0.5), 0) << "stop silences at once";

  // From one second before its end: still playing just before, stopped just after.
  const double seconds = kit::MidiFileSeconds(*Read(Song(0)));
  const long long from = static_cast<long long>(seconds * 1000) - 1000;
  ASSERT_EQ(Send("play song0 from " + std::to_string(from)), 0u);
  Peak(0.9);
  EXPECT_EQ(Mode("song0"), "playing");
  Peak(0.2);
  EXPECT_EQ(Mode("song0"), "stopped");
  EXPECT_EQ(Send("play song0 from " + std::to_string(static_cast<long long>(seconds * 1000) + 5000)), 282u);
  ASSERT_EQ(Send("close song0"), 0u);
  EXPECT_EQ(Send("play song0 from 0"), 263u) << "a closed alias is gone";
}

TEST_F(Sequencer, PlaysEachSongAtTheGainMeasuredForItsSoundFont) {
  // The same soundfont under a name no table knows plays the song at 0 dB: the two differ by the
  // song's gain, sample for sample.
  const std::string tim = "/usr/share/sounds/sf2/TimGM6mb.sf2", other = testing::TempDir() + "other-gm.sf2";
  if (!std::filesystem::is_regular_file(tim)) GTEST_SKIP() << "needs TimGM6mb";
  std::filesystem::copy_file(tim, other, std::filesystem::copy_options::overwrite_existing);
  const int slot = 9;
  const double gainDb = kit::SongGainDb(tim, slot);
  ASSERT_NE(gainDb, 0);
  double power[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    MciSequencer s{kRate, Read};
    ASSERT_TRUE(s.LoadSoundFont(i == 0 ? tim : other));
    ASSERT_EQ(s.Send("open \"" + Song(slot) + "\" type sequencer alias song", reply), 0u);
    ASSERT_EQ(s.Send("play song from 0", reply), 0u);
    std::vector<int16_t> out(2 * 4 * kRate, 0);
    s.Render(out.data(), out.size() / 2);
    for (int16_t v : out) power[i] += double(v) * v;
  }
  std::filesystem::remove(other);
  EXPECT_NEAR(10 * std::log10(power[0] / power[1]), gainDb, 0.05);
}

TEST_F(Sequencer, AnswersBadCommandsAsTheSystemDoes) {
  LoadFont();
  EXPECT_EQ(Send("status song3 mode"), 263u);
  EXPECT_EQ(Send("open \"/nonexistent/h_song0.Mid\" type sequencer alias song0"), 275u);
  EXPECT_EQ(Send("open \"" + std::string(DUSK_DATA_DIR) + "/h_palette.bmp\" type sequencer alias song0"), 296u);
  ASSERT_EQ(Send("open \"" + Song(1) + "\" type sequencer alias song1"), 0u);
  EXPECT_EQ(Send("open \"" + Song(2) + "\" type sequencer alias song1"), 289u);
  // Playing another song stops the first: there is one synthesiser.
  ASSERT_EQ(Send("open \"" + Song(2) + "\" type sequencer alias song2"), 0u);
  ASSERT_EQ(Send("play song1 from 0"), 0u);
  ASSERT_EQ(Send("play song2 from 0"), 0u);
  EXPECT_EQ(Mode("song1"), "stopped");
  EXPECT_EQ(Mode("song2"), "playing");
}

TEST_F(Sequencer, WithoutASoundFontNothingOpensAndNothingSounds) {
  EXPECT_FALSE(seq.LoadSoundFont("/nonexistent/default-GM.sf2"));
  EXPECT_EQ(Send("open \"" + Song(0) + "\" type sequencer alias song0"), 343u);
  EXPECT_EQ(Send("play song0 from 0"), 263u);
  EXPECT_EQ(Peak(0.5), 0);
}

}  // namespace
}  // namespace dusk::sdl
