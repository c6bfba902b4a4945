// The MIDI reader, on small files built byte by byte.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "hosts/kit/midi.h"

namespace {

using Bytes = std::vector<uint8_t>;
using dusk::kit::MidiFileSeconds;
using dusk::kit::ReadMidiFile;

void Append(Bytes& out, std::initializer_list<int> bytes) {
  for (int b : bytes) out.push_back(static_cast<unsigned char>(b));
}

void Big(Bytes& out, uint32_t v, int count) {
  for (int i = count - 1; i >= 0; --i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

Bytes Header(int format, int tracks, int division) {
  Bytes h;
  Append(h, {'M', 'T', 'h', 'd', 0, 0, 0, 6});
  Big(h, format, 2);
  Big(h, tracks, 2);
  Big(h, division, 2);
  return h;
}

void Track(Bytes& file, const Bytes& body) {
  Append(file, {'M', 'T', 'r', 'k'});
  Big(file, static_cast<uint32_t>(body.size()), 4);
  file.insert(file.end(), body.begin(), body.end());
}

const Bytes kEnd = {0xFF, 0x2F, 0x00};

// Format 0, 480 ticks a quarter, no tempo: a note of 1920 ticks is four beats at 120 = 2 s.
Bytes SimpleSong() {
  Bytes body;
  Append(body, {0x00, 0x90, 60, 100});
  Append(body, {0x8F, 0x00, 0x80, 60, 0});  // delta 1920 as a two-byte quantity
  Append(body, {0x00});
  body.insert(body.end(), kEnd.begin(), kEnd.end());
  Bytes file = Header(0, 1, 480);
  Track(file, body);
  return file;
}

TEST(MidiLength, DefaultTempoAndRunningStatus) {
  EXPECT_NEAR(MidiFileSeconds(SimpleSong()), 2.0, 1e-9);

  // Running status: later notes omit the 0x90; a note-on of velocity 0 ends a note.
  Bytes body;
  Append(body, {0x00, 0x90, 60, 100, 0x83, 0x60, 60, 0, 0x00, 64, 100, 0x83, 0x60, 64, 0});
  Append(body, {0x00, 0xFF, 0x01, 0x02, 'h', 'i'});  // a text event between notes keeps the status
  Append(body, {0x00, 67, 100, 0x83, 0x60, 67, 0, 0x00});
  body.insert(body.end(), kEnd.begin(), kEnd.end());
  Bytes file = Header(0, 1, 480);
  Track(file, body);
  EXPECT_NEAR(MidiFileSeconds(file), 1.5, 1e-9);  // three quarter notes at 120
}

TEST(MidiLength, TempoChangesApplyAcrossTracks) {
  // Track 0 holds the tempo map: 120 bpm, then 60 bpm from tick 960. Track 1 plays to tick 1920.
  Bytes conductor;
  Append(conductor, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000 us
  Append(conductor, {0x87, 0x40, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // at 960: 1000000 us
  Append(conductor, {0x00});
  conductor.insert(conductor.end(), kEnd.begin(), kEnd.end());
  Bytes music;
  Append(music, {0x00, 0x91, 50, 90, 0x8F, 0x00, 0x81, 50, 0, 0x00});
  music.insert(music.end(), kEnd.begin(), kEnd.end());
  Bytes file = Header(1, 2, 480);
  Track(file, conductor);
  Track(file, music);
  EXPECT_NEAR(MidiFileSeconds(file), 1.0 + 2.0, 1e-9);

  // The same map in the music track instead, and a foreign chunk in between, give the same length.
  Bytes swapped = Header(1, 2, 480);
  Track(swapped, music);
  Append(swapped, {'X', 'y', 'z', 'w', 0, 0, 0, 2, 1, 2});
  Track(swapped, conductor);
  EXPECT_NEAR(MidiFileSeconds(swapped), 3.0, 1e-9);
}

TEST(MidiLength, SmpteDivisionCountsFrames) {
  // 25 frames a second, 40 ticks a frame: 1000 ticks a second; a tempo event does not matter.
  Bytes body;
  Append(body, {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00, 0x90, 60, 100, 0x8F, 0x50, 0x80, 60, 0, 0x00});
  body.insert(body.end(), kEnd.begin(), kEnd.end());
  Bytes file = Header(0, 1, 0xE728);  // -25, 40
  Track(file, body);
  EXPECT_NEAR(MidiFileSeconds(file), 2.0, 1e-9);
  // "30 drop frame" (-29): 2000 ticks are 50 frames of colour video, at 30000/1001 a second.
  file[12] = 0xE3;
  EXPECT_NEAR(MidiFileSeconds(file), 50 * 1001 / 30000.0, 1e-9);
  file[12] = 0xE4;  // -28 is no frame rate
  EXPECT_LT(MidiFileSeconds(file), 0);
}

TEST(MidiLength, EventsComeOnOneTimeLineThroughTheTempoMap) {
  // The conductor track halves the tempo at tick 960; the music track's notes are timed by it.
  Bytes conductor;
  Append(conductor, {0x87, 0x40, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0x00});  // at 960: 1000000 us
  conductor.insert(conductor.end(), kEnd.begin(), kEnd.end());
  Bytes music;
  Append(music, {0x00, 0xC1, 5, 0x00, 0x91, 50, 90, 0x8F, 0x00, 0x81, 50, 0, 0x00});
  music.insert(music.end(), kEnd.begin(), kEnd.end());
  Bytes file = Header(1, 2, 480);
  Track(file, conductor);
  Track(file, music);
  const auto song = ReadMidiFile(file);
  ASSERT_TRUE(song);
  ASSERT_EQ(song->events.size(), 3u);  // channel messages only
  EXPECT_EQ(song->events[0].status, 0xC1);
  EXPECT_EQ(song->events[0].data1, 5);
  EXPECT_EQ(song->events[1].status, 0x91);
  EXPECT_DOUBLE_EQ(song->events[1].seconds, 0.0);
  EXPECT_EQ(song->events[2].status, 0x81);
  EXPECT_NEAR(song->events[2].seconds, 1.0 + 2.0, 1e-9);
  EXPECT_DOUBLE_EQ(song->seconds, MidiFileSeconds(file));
}

TEST(MidiLength, RejectsMalformedFiles) {
  const Bytes good = SimpleSong();
  // Every truncation fails cleanly, whatever byte it cuts at.
  for (size_t n = 0; n < good.size(); ++n) {
    Bytes cut(good.begin(), good.begin() + n);
    EXPECT_LT(MidiFileSeconds(cut), 0) << "cut at " << n;
  }

  auto corrupt = [&](size_t at, unsigned char value) {
    Bytes b = good;
    b[at] = value;
    return MidiFileSeconds(b);
  };
  EXPECT_LT(corrupt(0, 'X'), 0);      // not MThd
  EXPECT_LT(corrupt(9, 2), 0);        // format 2
  EXPECT_LT(corrupt(11, 2), 0);       // format 0 with two tracks (and only one present)
  EXPECT_LT(corrupt(21, 0x7F), 0);    // track length beyond the end of the file
  EXPECT_LT(corrupt(23, 0x3C), 0);    // a data byte with no status before it

  Bytes noDivision = good;
  noDivision[12] = noDivision[13] = 0;
  EXPECT_LT(MidiFileSeconds(noDivision), 0);

  // A variable-length quantity longer than four bytes.
  Bytes body;
  Append(body, {0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 100});
  body.insert(body.end(), kEnd.begin(), kEnd.end());
  Bytes file = Header(0, 1, 480);
  Track(file, body);
  EXPECT_LT(MidiFileSeconds(file), 0);

  // A meta event whose length runs past its track.
  Bytes meta;
  Append(meta, {0x00, 0xFF, 0x03, 0x40, 'a'});
  Bytes file2 = Header(0, 1, 480);
  Track(file2, meta);
  Append(file2, {0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_LT(MidiFileSeconds(file2), 0);

  // A song of more than a day is a broken file: 0x0FFFFFFF ticks at one second a tick.
  Bytes slow;
  Append(slow, {0x00, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 100});
  slow.insert(slow.end(), kEnd.begin(), kEnd.end());
  Bytes file3 = Header(0, 1, 1);
  Track(file3, slow);
  EXPECT_LT(MidiFileSeconds(file3), 0);
}

TEST(MidiLength, CorruptedBytesAreReadNoFurtherThanTheFile) {
  const Bytes good = SimpleSong();
  uint32_t x = 12345;
  for (int round = 0; round < 300; ++round) {
    Bytes bad = good;
    for (int k = 0; k < 4; ++k) {
      x = x * 1103515245u + 12345u;
      bad[(x >> 8) % bad.size()] = static_cast<uint8_t>(x >> 24);
    }
    if (const auto song = ReadMidiFile(bad)) {
      for (const auto& e : song->events) EXPECT_LE(e.seconds, song->seconds);
    }
  }
}

}  // namespace
