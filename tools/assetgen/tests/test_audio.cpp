// The generated songs and sound effects: file formats, lengths, levels, and a few acoustic
// properties that tell a laugh from a drone and a howl from a beep.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "hosts/kit/midi.h"
#include "hosts/kit/song_levels.h"
#include "loudness.h"
#include "midi_songs.h"
#include "sfx_effects.h"

namespace {

using assetgen::kSongCount;
using assetgen::sfx::kEffectCount;

std::vector<unsigned char> ReadFile(const std::string& name) {
  std::ifstream in(std::string(DUSK_DATA_DIR) + "/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

uint32_t Le(const std::vector<unsigned char>& b, size_t at, int bytes) {
  uint32_t v = 0;
  for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | b[at + i];
  return v;
}

// ---- Loudness as listeners hear it ---------------------------------------------------------------

TEST(Loudness, MeasuresAsTheStandardDoes) {
  namespace ld = assetgen::loudness;
  auto sine = [](double freq, double amplitude, int rate, double seconds) {
    ld::Channel c(static_cast<size_t>(rate * seconds));
    for (size_t i = 0; i < c.size(); ++i) c[i] = static_cast<float>(amplitude * std::sin(2 * M_PI * freq * i / rate));
    return c;
  };
  // A 1 kHz tone at -20 dBFS peak reads -23 LUFS on one channel, 3 LU more on two, at any rate.
  for (int rate : {48000, 44100, 22050}) {
    SCOPED_TRACE(rate);
    ld::Channel tone = sine(997, 0.1, rate, 3);
    EXPECT_NEAR(ld::IntegratedLufs({tone}, rate), -23.0, 0.1);
    EXPECT_NEAR(ld::IntegratedLufs({tone, tone}, rate), -20.0, 0.1);
  }
  // A 3 s tone after 3 s of silence is as loud as the tone alone: silence is gated out.
  ld::Channel gap(22050 * 3, 0.0f), tone = sine(997, 0.1, 22050, 3);
  gap.insert(gap.end(), tone.begin(), tone.end());
  EXPECT_NEAR(ld::IntegratedLufs({gap}, 22050), -23.0, 0.3);
  // Small speakers drop a 50 Hz hum and keep a 2 kHz whistle.
  EXPECT_GT(ld::HighPassLossDb(sine(50, 0.5, 22050, 2), 22050), 20);
  EXPECT_LT(ld::HighPassLossDb(sine(2000, 0.5, 22050, 2), 22050), 0.2);
  // Opposite channels cancel on one speaker; equal ones lose nothing.
  ld::Channel low = sine(300, 0.3, 22050, 2), inverted = low;
  for (float& x : inverted) x = -x;
  EXPECT_GT(ld::MonoFoldLossDb(low, inverted, 22050), 40);
  EXPECT_NEAR(ld::MonoFoldLossDb(low, low, 22050), 0, 0.01);
}

// ---- The note language and the file writer -----------------------------------------------------

struct Note {
  int channel, pitch;
  uint32_t on, off;
};

// Flattens a song to its notes, failing the test on a note that never ends or is struck again
// on its channel while still sounding (which a synthesiser would cut short).
std::vector<Note> NotesOf(const assetgen::midi::Song& song) {
  std::vector<Note> notes;
  for (const auto& track : song.Tracks()) {
    std::map<int, uint32_t> sounding;  // channel * 128 + pitch -> start tick
    for (const auto& e : track.Sorted()) {
      int kind = e.bytes[0] & 0xF0, channel = e.bytes[0] & 0x0F;
      if (kind != 0x80 && kind != 0x90) continue;
      int key = channel * 128 + e.bytes[1];
      bool on = kind == 0x90 && e.bytes[2] > 0;
      if (on) {
        EXPECT_FALSE(sounding.count(key)) << "note " << int(e.bytes[1]) << " struck again at tick " << e.tick;
        sounding[key] = e.tick;
      } else if (auto it = sounding.find(key); it != sounding.end()) {
        notes.push_back({channel, e.bytes[1], it->second, e.tick});
        sounding.erase(it);
      }
    }
    EXPECT_TRUE(sounding.empty()) << "a note is left hanging";
  }
  std::sort(notes.begin(), notes.end(), [](const Note& a, const Note& b) {
    return a.on != b.on ? a.on < b.on : a.pitch < b.pitch;
  });
  return notes;
}

TEST(NoteLanguage, PlaysPitchesAndDurationsAsWritten) {
  using namespace assetgen::midi;
  Song song("test");
  Part part(song, "part", 0, kPiano);
  part.Play("!leg c4:4 d#4:8. eb4:16 | <c4 e4 g4>:2 r:8t bb3 b3 | a4:1+4", 2);
  std::vector<Note> n = NotesOf(song);
  ASSERT_EQ(n.size(), 9u);
  const int pitches[] = {62, 65, 65, 62, 66, 69, 60, 61, 71};
  const uint32_t on[] = {0, 480, 840, 960, 960, 960, 2080, 2240, 2400};
  for (size_t i = 0; i < n.size(); ++i) {
    EXPECT_EQ(n[i].pitch, pitches[i]) << i;
    EXPECT_EQ(n[i].on, on[i]) << i;
  }
  EXPECT_EQ(n[1].off - n[1].on, 360u);   // dotted eighth, held full length
  EXPECT_EQ(n[8].off - n[8].on, 2400u);  // whole tied to a quarter
  EXPECT_EQ(part.Now(), 2400u + 2400u);

  // Staccato shortens, drums map to the percussion keys, and bad text is refused.
  Song drums("drums");
  Part kit(drums, "kit", kDrums, 0);
  kit.Play("K:4 S' <H C>");
  std::vector<Note> d = NotesOf(drums);
  ASSERT_EQ(d.size(), 4u);
  EXPECT_EQ(d[0].pitch, 36);
  EXPECT_EQ(d[1].pitch, 38);
  EXPECT_EQ(d[2].channel, kDrums);
  for (const char* bad : {"c:4", "h4", "c4:3", "<c4 e4", "!loud c4", "c4:0"}) {
    EXPECT_ANY_THROW(part.Play(bad)) << bad;
  }
}

TEST(NoteLanguage, TempoMapTimesTheSong) {
  using namespace assetgen::midi;
  Song song("tempo");
  song.Tempo(0, 120);
  song.Tempo(kWhole, 60);
  song.SetTail(0);
  Part(song, "p", 0, kPiano).Play("!leg c4:1 c4:1");
  EXPECT_DOUBLE_EQ(song.SecondsAt(kWhole), 2.0);
  EXPECT_DOUBLE_EQ(song.Seconds(), 6.0);
  EXPECT_NEAR(dusk::kit::MidiFileSeconds(song.Encode()), 6.0, 1e-9);
}

// ---- Songs -------------------------------------------------------------------------------------

TEST(Songs, EveryFileParsesAndLastsOneToThreeMinutes) {
  for (int slot = 0; slot < kSongCount; ++slot) {
    SCOPED_TRACE("h_song" + std::to_string(slot));
    std::vector<unsigned char> file = ReadFile("h_song" + std::to_string(slot) + ".Mid");
    ASSERT_FALSE(file.empty());
    double seconds = dusk::kit::MidiFileSeconds(file);
    EXPECT_GE(seconds, 60.0);
    EXPECT_LE(seconds, 180.0);
    // The writer's tempo map and the reader agree, and the file is exactly what the builder made.
    assetgen::midi::Song song = assetgen::BuildSong(slot);
    EXPECT_NEAR(seconds, song.Seconds(), 1e-6);
    EXPECT_TRUE(file == song.Encode());
  }
}

TEST(Songs, TheDefaultSongTakesTwoAndAHalfToThreeMinutes) {
  // Song 0 is the one heard all night: it takes its time before it comes round again.
  double seconds = assetgen::BuildSong(0).Seconds();
  EXPECT_GE(seconds, 150.0);
  EXPECT_LE(seconds, 180.0);
}

TEST(Songs, AreWellFormedGeneralMidiMusic) {
  for (int slot = 0; slot < kSongCount; ++slot) {
    SCOPED_TRACE(assetgen::kSongCaptions[slot]);
    assetgen::midi::Song song = assetgen::BuildSong(slot);
    std::vector<Note> notes = NotesOf(song);
    EXPECT_GT(notes.size(), 150u);

    // Every melodic channel is given an instrument before it plays; there is a tempo.
    std::map<int, uint32_t> programAt, firstNote;
    bool tempo = false;
    for (const auto& track : song.Tracks()) {
      for (const auto& e : track.Events()) {
        if (e.bytes[0] == 0xFF && e.bytes[1] == 0x51) tempo = true;
        if ((e.bytes[0] & 0xF0) == 0xC0 && !programAt.count(e.bytes[0] & 0x0F)) programAt[e.bytes[0] & 0x0F] = e.tick;
      }
    }
    for (const Note& n : notes) {
      if (!firstNote.count(n.channel) || n.on < firstNote[n.channel]) firstNote[n.channel] = n.on;
    }
    EXPECT_TRUE(tempo);
    EXPECT_GE(firstNote.size(), 3u) << "melody, harmony and bass at least";
    for (const auto& [channel, tick] : firstNote) {
      if (channel == assetgen::midi::kDrums) continue;
      ASSERT_TRUE(programAt.count(channel)) << "channel " << channel;
      EXPECT_LE(programAt[channel], tick);
    }

    // Music keeps going: no silence longer than four seconds anywhere in the song.
    uint32_t reach = 0;
    for (const Note& n : notes) {
      if (n.on > reach) {
        EXPECT_LT(song.SecondsAt(n.on) - song.SecondsAt(reach), 4.0) << "gap before " << n.on;
      }
      reach = std::max(reach, n.off);
    }
  }
}

TEST(Songs, AuditionedSlotsSoundAtTheirStartPositions) {
  // The settings dialog starts these three slots a little way in (milliseconds).
  const std::pair<int, double> auditions[] = {{5, 0.040}, {10, 0.170}, {11, 0.080}};
  for (const auto& [slot, at] : auditions) {
    assetgen::midi::Song song = assetgen::BuildSong(slot);
    int sounding = 0;
    for (const Note& n : NotesOf(song)) {
      if (song.SecondsAt(n.on) <= at && song.SecondsAt(n.off) > at) ++sounding;
    }
    EXPECT_GT(sounding, 0) << assetgen::kSongCaptions[slot];
  }
}

// ---- Sound effects -----------------------------------------------------------------------------

struct Wav {
  int format = 0, channels = 0, rate = 0, bits = 0, blockAlign = 0;
  uint32_t byteRate = 0;
  std::vector<float> samples;
};

// A strict reader for the one format we write; fails the test on anything it does not expect.
Wav ParseWav(const std::vector<unsigned char>& b) {
  Wav w;
  EXPECT_GE(b.size(), 44u);
  if (b.size() < 44) return w;
  EXPECT_EQ(std::string(b.begin(), b.begin() + 4), "RIFF");
  EXPECT_EQ(std::string(b.begin() + 8, b.begin() + 12), "WAVE");
  EXPECT_EQ(Le(b, 4, 4), b.size() - 8);
  size_t at = 12;
  while (at + 8 <= b.size()) {
    std::string id(b.begin() + at, b.begin() + at + 4);
    uint32_t size = Le(b, at + 4, 4);
    size_t body = at + 8;
    if (body + size > b.size()) {
      ADD_FAILURE() << "chunk " << id << " runs past the end";
      break;
    }
    if (id == "fmt ") {
      w.format = Le(b, body, 2);
      w.channels = Le(b, body + 2, 2);
      w.rate = Le(b, body + 4, 4);
      w.byteRate = Le(b, body + 8, 4);
      w.blockAlign = Le(b, body + 12, 2);
      w.bits = Le(b, body + 14, 2);
    } else if (id == "data") {
      for (size_t i = 0; i + 1 < size; i += 2) {
        w.samples.push_back(static_cast<int16_t>(Le(b, body + i, 2)) / 32768.0f);
      }
    }
    at = body + size + (size & 1);
  }
  return w;
}

// Pitch in Hz of each 40 ms frame (0 where unvoiced), by normalised autocorrelation; the shortest
// lag near the best one wins, which avoids reporting an octave too low on rough voices.
std::vector<double> PitchTrack(const std::vector<float>& x, int rate) {
  const int frame = rate / 25, minLag = rate / 1600, maxLag = rate / 70;
  std::vector<double> pitches;
  for (size_t start = 0; start + frame + maxLag < x.size(); start += frame / 2) {
    std::vector<double> r(maxLag + 1, 0.0);
    double energy = 0;
    for (int i = 0; i < frame; ++i) energy += double(x[start + i]) * x[start + i];
    double best = 0;
    for (int lag = minLag; lag <= maxLag; ++lag) {
      double sum = 0, norm = 0;
      for (int i = 0; i < frame; ++i) {
        sum += double(x[start + i]) * x[start + i + lag];
        norm += double(x[start + i + lag]) * x[start + i + lag];
      }
      r[lag] = sum / std::sqrt(energy * norm + 1e-12);
      best = std::max(best, r[lag]);
    }
    double pitch = 0;
    if (best > 0.6 && energy > frame * 1e-5) {
      for (int lag = minLag + 1; lag < maxLag; ++lag) {
        if (r[lag] >= 0.9 * best && r[lag] >= r[lag - 1] && r[lag] >= r[lag + 1]) {
          pitch = double(rate) / lag;
          break;
        }
      }
    }
    pitches.push_back(pitch);
  }
  return pitches;
}

double Median(std::vector<double> v) {
  v.erase(std::remove(v.begin(), v.end(), 0.0), v.end());
  if (v.empty()) return 0;
  std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
  return v[v.size() / 2];
}

// Bursts of sound separated by dips of at least 8 dB in the 20 ms envelope: syllables, caws, hoots.
int CountBursts(const std::vector<float>& x, int rate) {
  const int step = rate / 50;
  std::vector<double> db;
  for (size_t i = 0; i + step <= x.size(); i += step) {
    double sum = 0;
    for (int k = 0; k < step; ++k) sum += double(x[i + k]) * x[i + k];
    db.push_back(10 * std::log10(sum / step + 1e-12));
  }
  int bursts = 0;
  bool inBurst = false;
  double low = db.empty() ? 0 : db[0], high = low;
  for (double v : db) {
    if (!inBurst && v > low + 8) inBurst = true, ++bursts, high = v;
    if (inBurst) {
      high = std::max(high, v);
      if (v < high - 8) inBurst = false, low = v;
    } else {
      low = std::min(low, v);
    }
  }
  return bursts;
}

std::vector<Wav> LoadEffects() {
  std::vector<Wav> effects;
  for (int slot = 0; slot < kEffectCount; ++slot) effects.push_back(ParseWav(ReadFile("h_sound" + std::to_string(slot) + ".wav")));
  return effects;
}

TEST(SoundEffects, AreShortLevelledClickFreeMonoPcm) {
  for (int slot = 0; slot < kEffectCount; ++slot) {
    SCOPED_TRACE(assetgen::sfx::kEffectNames[slot]);
    Wav w = ParseWav(ReadFile("h_sound" + std::to_string(slot) + ".wav"));
    EXPECT_EQ(w.format, 1);
    EXPECT_EQ(w.channels, 1);
    EXPECT_EQ(w.rate, 22050);
    EXPECT_EQ(w.bits, 16);
    EXPECT_EQ(w.blockAlign, 2);
    EXPECT_EQ(w.byteRate, 44100u);
    ASSERT_GT(w.samples.size(), 2205u);

    double seconds = double(w.samples.size()) / w.rate;
    EXPECT_LT(seconds, slot == 5 ? 0.5 : 4.0);  // footsteps repeat with every stride
    // The drip and the caw are restarted with every drop and every opening of the beak: one of
    // each, short; the thunder has room for its rumble.
    if (slot == 1) {
      EXPECT_LE(seconds, 0.5);
    } else if (slot == 3) {
      EXPECT_NEAR(seconds, 0.55, 0.15);
    } else if (slot == 2) {
      EXPECT_GT(seconds, 3.0);
    }

    std::vector<float> v = w.samples;
    EXPECT_LT(assetgen::dsp::PeakDb(v), -1.0);
    EXPECT_NEAR(assetgen::loudness::IntegratedLufs({v}, w.rate), assetgen::sfx::LoudnessLufsOf(slot), 0.5);

    // Both ends fade from and to silence: the outermost samples are at -54 dBFS or less, and the
    // first and last millisecond stay below -30 dBFS, so nothing snaps on or off.
    EXPECT_LT(std::fabs(v.front()), 0.002f);
    EXPECT_LT(std::fabs(v.back()), 0.002f);
    for (size_t i = 0; i < 22; ++i) {
      EXPECT_LT(std::fabs(v[i]), 0.0316f) << "sample " << i;
      EXPECT_LT(std::fabs(v[v.size() - 1 - i]), 0.0316f) << "sample -" << i;
    }
  }
}

// Clicks: sample-to-sample jumps that stand out from the sound around them. A jump shows as a lone
// spike in the second difference (the file padded with silence, so its edges count too); each is
// measured against the RMS of the second difference in the 10 ms around it. Noise, voices and shaped
// attacks stay under six times that; a splice, a cut-off tail or a sudden start goes far above.
// Returns the first offending sample, or -1.
long FirstClick(const std::vector<float>& x) {
  std::vector<double> padded(2, 0.0), bend;
  padded.insert(padded.end(), x.begin(), x.end());
  padded.insert(padded.end(), 2, 0.0);
  for (size_t i = 2; i < padded.size(); ++i) bend.push_back(padded[i] - 2 * padded[i - 1] + padded[i - 2]);
  std::vector<double> sum(bend.size() + 1, 0.0);
  for (size_t i = 0; i < bend.size(); ++i) sum[i + 1] = sum[i] + bend[i] * bend[i];
  const long radius = 110, n = static_cast<long>(bend.size());
  for (long i = 0; i < n; ++i) {
    double jump = std::fabs(bend[i]);
    if (jump < 0.01) continue;  // -40 dBFS: too small to hear as a click
    long lo = std::max(0L, i - radius), hi = std::min(n, i + radius + 1);
    long skipLo = std::max(0L, i - 2), skipHi = std::min(n, i + 3);  // the spike itself
    double around = sum[hi] - sum[lo] - (sum[skipHi] - sum[skipLo]);
    double rms = std::sqrt(around / double(hi - lo - (skipHi - skipLo)) + 1e-20);
    if (jump > 10 * rms) return i;  // the sample that jumped
  }
  return -1;
}

TEST(SoundEffects, NoClicks) {
  std::vector<Wav> fx = LoadEffects();
  for (int slot = 0; slot < kEffectCount; ++slot) {
    SCOPED_TRACE(assetgen::sfx::kEffectNames[slot]);
    EXPECT_EQ(FirstClick(fx[slot].samples), -1);
    // No clipping: nothing reaches full scale.
    float peak = 0;
    for (float x : fx[slot].samples) peak = std::max(peak, std::fabs(x));
    EXPECT_LT(peak, 0.95f);
  }

  // The detector itself: a step in a quiet hum is found, the hum alone is not.
  std::vector<float> hum(4410);
  for (size_t i = 0; i < hum.size(); ++i) hum[i] = static_cast<float>(0.05 * std::sin(i * 0.05) * std::sin(i * 3.14159 / 4410));
  EXPECT_EQ(FirstClick(hum), -1);
  for (size_t i = 2000; i < hum.size(); ++i) hum[i] += 0.04f;
  EXPECT_EQ(FirstClick(hum), 2000);
}

TEST(SoundEffects, EquallyLoudAndHeardOnSmallSpeakers) {
  // By the broadcast loudness measure every effect is within 2 LU of the others; the two screams,
  // which come back every few seconds, may sit up to 2 LU under the rest, never above. And each
  // keeps its body through a laptop's speakers (a 200 Hz high-pass): a rumble or a thud that lives
  // below it would be silent there.
  namespace ld = assetgen::loudness;
  std::vector<Wav> fx = LoadEffects();
  auto isScream = [](int slot) { return slot == 8 || slot == 11; };
  double loudest = -200, softest = 0;
  std::vector<double> lufs;
  for (int slot = 0; slot < kEffectCount; ++slot) {
    SCOPED_TRACE(assetgen::sfx::kEffectNames[slot]);
    lufs.push_back(ld::IntegratedLufs({fx[slot].samples}, 22050));
    EXPECT_LE(ld::HighPassLossDb(fx[slot].samples, 22050), 6.0);
    if (!isScream(slot)) loudest = std::max(loudest, lufs.back()), softest = std::min(softest, lufs.back());
  }
  EXPECT_LE(loudest - softest, 2.0) << "loudest " << loudest << " LUFS, softest " << softest << " LUFS";
  for (int slot : {8, 11}) {
    EXPECT_LE(lufs[slot], loudest) << assetgen::sfx::kEffectNames[slot];
    EXPECT_GE(lufs[slot], softest - 2.0) << assetgen::sfx::kEffectNames[slot];
  }
}

TEST(SoundEffects, ThunderIsHeardWithTheFlash) {
  // The effect starts a few ticks before the first flash: near-silence for at least 0.4 s, then the
  // crack, and still a rumble two seconds on.
  std::vector<float> x = LoadEffects()[2].samples;
  const size_t window = 22050 / 50;
  std::vector<double> db;
  for (size_t i = 0; i + window <= x.size(); i += window) {
    double sum = 0;
    for (size_t k = 0; k < window; ++k) sum += double(x[i + k]) * x[i + k];
    db.push_back(10 * std::log10(sum / window + 1e-12));
  }
  double top = *std::max_element(db.begin(), db.end());
  size_t first = std::find_if(db.begin(), db.end(), [&](double v) { return v > top - 20; }) - db.begin();
  double onset = first * 0.02;
  EXPECT_GE(onset, 0.4);
  EXPECT_LE(onset, 0.65);
  size_t at = std::max_element(db.begin(), db.end()) - db.begin();
  EXPECT_LT(at * 0.02, 1.5);
  EXPECT_GT(db[size_t((onset + 2.0) / 0.02)], top - 20) << "the rumble rolls on";
}

TEST(SoundEffects, VoicesHaveTheirPitchesAndRhythms) {
  std::vector<Wav> fx = LoadEffects();
  auto pitch = [&](int slot) { return PitchTrack(fx[slot].samples, 22050); };
  auto bursts = [&](int slot) { return CountBursts(fx[slot].samples, 22050); };

  // Laughs are trains of syllables; the deep one is low, the cackle high.
  EXPECT_GE(bursts(7), 6);
  EXPECT_LE(bursts(7), 10);
  EXPECT_GE(bursts(10), 6);
  EXPECT_LE(bursts(10), 14);
  EXPECT_LT(Median(pitch(7)), 180);
  EXPECT_GT(Median(pitch(10)), 300);

  // Screams are high; the first, a woman's, around a kilohertz.
  EXPECT_GT(Median(pitch(8)), 750);
  EXPECT_GT(Median(pitch(11)), 350);

  // The howl climbs from its start to its middle and falls at its end.
  std::vector<double> howl = pitch(6);
  auto between = [&](double t0, double t1) {  // the track has a frame every 20 ms
    size_t from = std::min(howl.size(), size_t(t0 / 0.02)), to = std::min(howl.size(), size_t(t1 / 0.02));
    return Median(std::vector<double>(howl.begin() + from, howl.begin() + to));
  };
  double start = between(0.1, 0.4), middle = between(1.2, 1.8), end = between(2.6, 2.9);
  EXPECT_GT(middle, start * 1.4);
  EXPECT_LT(end, middle * 0.95);
  EXPECT_GT(middle, 350);
  EXPECT_LT(middle, 700);

  // The owl hoots low, three times; the crow caws once, for one opening of its beak.
  EXPECT_NEAR(Median(pitch(4)), 380, 40);
  EXPECT_EQ(bursts(4), 3);
  EXPECT_EQ(bursts(3), 1);
}

TEST(SoundEffects, TheGateCreakGlides) {
  // A hinge under a swinging gate does not ring at fixed pitches (that reads as a buzz): the gate's
  // lowest resonance, tracked in 200 ms frames over the creak before the chuckle, climbs by more
  // than a quarter and sinks again.
  std::vector<float> x = LoadEffects()[0].samples;
  const int frame = 4410;
  std::vector<double> peaks;
  for (double t = 0.1; t + 0.2 <= 1.35; t += 0.1) {
    const size_t at = static_cast<size_t>(t * 22050);
    std::vector<double> power;  // Hann-windowed power every 10 Hz from 250 Hz to 1 kHz
    for (double f = 250; f <= 1000; f += 10) {
      double re = 0, im = 0;
      for (int i = 0; i < frame; ++i) {
        double w = (0.5 - 0.5 * std::cos(2 * M_PI * i / frame)) * x[at + i];
        re += w * std::cos(2 * M_PI * f * i / 22050);
        im += w * std::sin(2 * M_PI * f * i / 22050);
      }
      power.push_back(re * re + im * im);
    }
    // The strongest 90 Hz wide stretch, so no single harmonic of the slip rate decides.
    double best = 0, peak = 0;
    for (size_t i = 4; i + 4 < power.size(); ++i) {
      double sum = 0;
      for (size_t k = i - 4; k <= i + 4; ++k) sum += power[k];
      if (sum > best) best = sum, peak = 250 + 10.0 * i;
    }
    peaks.push_back(peak);
  }
  const auto top = std::max_element(peaks.begin(), peaks.end());
  EXPECT_GT(*top, 1.25 * peaks.front());
  EXPECT_GT(*top, 1.25 * peaks.back());
}

TEST(Songs, PlayAtOneLevelOnEveryKnownSoundFontAndOnOneSpeaker) {
  // Each song rendered whole by FluidSynth as the Linux saver plays it (gain 0.5 with the
  // soundfont's correction for the song; at 11025 Hz, which reads within 0.35 LU of 44100 Hz; a
  // song's first minute is no measure, many grow as they go): every song within 2 LU of every
  // other by EBU R128, and none losing more than 3 dB folded to mono, as one speaker or a phone
  // plays it.
  namespace ld = assetgen::loudness;
  constexpr int kRate = 11025;
  if (std::system("fluidsynth --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "needs fluidsynth";
  const std::string wav = testing::TempDir() + "dusk_song.wav";
  int fonts = 0;
  for (const char* font : {"/usr/share/sounds/sf2/TimGM6mb.sf2", "/usr/share/sounds/sf2/FluidR3_GM.sf2"}) {
    if (!std::ifstream(font).good()) continue;
    ++fonts;
    SCOPED_TRACE(font);
    double loudest = -200, softest = 0;
    for (int slot = 0; slot < kSongCount; ++slot) {
      SCOPED_TRACE(assetgen::kSongCaptions[slot]);
      const double gain = 0.5 * std::pow(10.0, dusk::kit::SongGainDb(font, slot) / 20);
      const std::string command = "fluidsynth -ni -q -g " + std::to_string(gain) + " -r " + std::to_string(kRate) +
                                  " -F '" + wav + "' '" + font + "' '" + DUSK_DATA_DIR + "/h_song" +
                                  std::to_string(slot) + ".Mid' >/dev/null 2>&1";
      ASSERT_EQ(std::system(command.c_str()), 0);
      std::ifstream in(wav, std::ios::binary);
      const Wav w = ParseWav({std::istreambuf_iterator<char>(in), {}});
      ASSERT_EQ(w.channels, 2);
      ASSERT_GT(w.samples.size(), 2u * kRate * 60);
      ld::Channel left, right;
      for (size_t i = 0; i + 1 < w.samples.size(); i += 2) left.push_back(w.samples[i]), right.push_back(w.samples[i + 1]);
      const double lufs = ld::IntegratedLufs({left, right}, kRate);
      loudest = std::max(loudest, lufs);
      softest = std::min(softest, lufs);
      EXPECT_LE(ld::MonoFoldLossDb(left, right, kRate), 3.0);
    }
    EXPECT_LE(loudest - softest, 2.0) << "loudest " << loudest << " LUFS, softest " << softest << " LUFS";
  }
  std::remove(wav.c_str());
  if (!fonts) GTEST_SKIP() << "needs a General MIDI soundfont";
}

TEST(SoundEffects, EachIsItsOwnSound) {
  // Guards against two slots accidentally sharing a builder.
  std::vector<Wav> fx = LoadEffects();
  for (int a = 0; a < kEffectCount; ++a) {
    for (int b = a + 1; b < kEffectCount; ++b) EXPECT_NE(fx[a].samples, fx[b].samples) << a << " and " << b;
  }
}

}  // namespace
