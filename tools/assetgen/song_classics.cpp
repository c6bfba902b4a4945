// Songs on public-domain music, transcribed by ear and arranged for General MIDI:
//   Death Toll  - the funeral march theme of Chopin's Sonata No. 2, with a tolling bell and a trio of ours
//   Pipe Organ  - the opening of Bach's Toccata in D minor, continued in the same manner
//   Descent     - the Dies irae chant over a falling chromatic ground bass
//   Lurker      - Grieg's "In the Hall of the Mountain King", accelerating
//   Moonwake    - the opening of Beethoven's "Moonlight" sonata, continued with a melody of ours
#include <cmath>

#include "midi_songs.h"

namespace assetgen {

using namespace midi;

Song SongDeathToll() {
  Song song("Death Toll");
  song.Tempo(0, 54);
  song.TimeSignature(0, 4, 4);
  Part bell(song, "Bell", 0, kTubularBells, 96, 76, 90);
  Part low(song, "Low strings", 1, kCello, 104, 54, 60);
  Part horn(song, "Horn", 2, kFrenchHorn, 112, 64, 60);
  Part trombones(song, "Trombones", 3, kTrombone, 84, 70, 60);
  Part timpani(song, "Timpani", 4, kTimpani, 100, 64, 50);
  Part violin(song, "Violins", 5, kSlowStrings, 108, 80, 70);
  Part harp(song, "Harp", 6, kHarp, 92, 40, 60);
  Part choir(song, "Choir", 7, kChoir, 70, 64, 90);

  // The rocking left hand: B-flat minor against G-flat, one chord a beat.
  const std::string i = "<bb1 f2>:4 <gb2 db3> <bb1 f2> <gb2 db3> ";
  const std::string iV = "<bb1 f2>:4 <gb2 db3> <f1 c2> <a2 eb3> ";
  const std::string march = i + iV + i + iV + i + "<bb1 f2>:4 <gb2 db3> <c2 g2> <bb2 e3> " +
                            "<gb1 db2>:4 <bb2 eb3> <f1 c2> <a2 eb3> " + i;
  const std::string theme =
      "bb3:4 bb3:8. bb3:16 bb3:2 | db4:4. c4:8 c4:8. bb3:16 bb3:8. a3:16 | "
      "bb3:4 bb3:8. bb3:16 bb3:2 | db4:4. c4:8 bb3:4 a3:4 | "
      "f4:4 f4:8. f4:16 f4:2 | ab4:4. gb4:8 gb4:8. f4:16 f4:8. e4:16 | "
      "f4:4 eb4:8. db4:16 c4:4 db4:8. bb3:16 | bb3:2. r:4 ";
  const std::string drums = "bb1:4 r:4 f1:4 r:4 ";

  // Two bars of knell and tread, the march, the trio in D-flat, the march again, the last knell.
  bell.Play("!f bb3:1 !mf bb3:1");
  low.Play("!p " + i + i + "!mp " + march);
  timpani.Play("!p " + Times(2, drums) + "!mp " + Times(8, drums));
  horn.At(Bars(2)).Play("!mf " + theme);
  bell.Play("!p " + Times(8, "bb3:1"));

  const uint32_t trio = Bars(10);
  const std::string major = "c2:8 g2 e3 g2 c3 g2 e3 g2 ", dom7 = "c2:8 g2 bb2 e3 c3 g2 bb2 e3 ";
  const std::string minor7 = "c2:8 g2 bb2 eb3 c3 g2 bb2 eb3 ";
  harp.At(trio).Play("!mp");
  for (int t : {1, 1, -6, 1}) harp.Play(major, t);
  harp.Play(dom7, -4).Play(major, 1).Play(minor7, 3).Play(major, 1);
  violin.At(trio).Play(
      "!mp !leg f4:2. eb4:8 db4:8 | ab4:2 f4:2 | gb4:4 bb4:4 db5:4 bb4:4 | ab4:2. f4:4 | "
      "eb4:4. f4:8 gb4:4 eb4:4 | f4:2 db4:2 | bb4:4 ab4:4 gb4:4 eb4:4 | db4:1");
  choir.At(trio).Play(
      "!pp <db4 f4 ab4>:1 <db4 f4 ab4> <db4 gb4 bb4> <db4 f4 ab4> <c4 eb4 gb4> <db4 f4 ab4> "
      "<db4 gb4 bb4> <db4 f4 ab4>");

  const uint32_t reprise = Bars(18);
  low.At(reprise).Play("!mf " + march);
  trombones.At(reprise).Play("!mp " + march, 12);
  horn.At(reprise).Play("!f " + theme);
  violin.At(reprise).Play("!mp " + theme, 12);
  timpani.At(reprise).Play("!mf " + Times(8, drums));
  bell.At(reprise).Play("!mp " + Times(8, "bb3:1") + "!f bb3:1 bb3:1");
  low.Play("!p <bb1 f2 db3>:1+1");
  trombones.Play("!p <bb2 f3 db4>:1+1");
  timpani.Play("!mf bb1:32 bb1 bb1 bb1 bb1 bb1 bb1 bb1 !p bb1:2. r:4 r:1");
  return song;
}

Song SongPipeOrgan() {
  Song song("Pipe Organ");
  song.Tempo(0, 44);
  song.TimeSignature(0, 4, 4);
  Part manual(song, "Great", 0, kChurchOrgan, 110, 60, 80);
  Part pedal(song, "Pedal", 1, kChurchOrgan, 104, 68, 80);
  Part swell(song, "Swell", 2, kReedOrgan, 84, 72, 90);

  // The three calls, each an octave lower, then the diminished chord climbing over the pedal D.
  manual.Play("!f a5:32 g5 a5:4+8. r:8 g5:32 f5 e5 d5 c#5:8. d5:2 r:4");
  manual.Play("a4:32 g4 a4:4+8. r:8 e4:16 f4 c#4 d4:4+8 r:4");
  manual.Play("!ff <a3 a4>:32 <g3 g4> <a3 a4>:4+8. r:8 <g3 g4>:32 <f3 f4> <e3 e4> <d3 d4> <c#3 c#4>:8.");
  pedal.At(manual.Now()).Play("!ff d2:2+1+1");
  manual.Play("<d3 d4>:2 c#3:16 e3 g3 bb3 c#4 e4 g4 bb4 <c#4 e4 g4 bb4 c#5>:2 <d4 f#4 a4 d5>:2. r:4");

  // Quick pedal-point figuration, a bar per harmony, as a toccata runs.
  song.Tempo(manual.Now(), 100);
  const std::string minorFig = "a4:16 g4 a4 f4 a4 e4 a4 d4 a4 c#4 a4 d4 a4 e4 a4 f4 ";
  const std::string majorFig = "a4:16 g4 a4 f#4 a4 e4 a4 d4 a4 c#4 a4 d4 a4 e4 a4 f#4 ";
  const std::string runDown = "d6:16 c#6 bb5 a5 g5 f5 e5 d5 c#5 bb4 a4 g4 f4 e4 d4 c#4 ";
  const std::string runUp = "d4:16 e4 f4 g4 a4 bb4 c#5 d5 e5 f5 g5 a5 bb5 c#6 d6 e6 ";
  pedal.At(manual.Now());
  swell.At(manual.Now()).Play("!mp");
  manual.Play("!f");
  struct Harmony {
    int shift;
    const char* root;
    const char* chord;  // held on the second manual
  };
  const Harmony figures[] = {
      {0, "d2:1", "<d3 f3>:1"},  {0, "d2:1", "<c#3 e3>:1"}, {5, "g1:1", "<d3 g3>:1"},  {7, "a1:1", "<c#3 e3>:1"},
      {0, "d2:1", "<d3 f3>:1"},  {-4, "bb1:1", "<d3 f3>:1"}, {5, "g1:1", "<d3 g3>:1"}, {7, "a1:1", "<c#3 g3>:1"},
      {3, "f1:1", "<c3 f3>:1"},  {-2, "c2:1", "<c3 e3>:1"}, {3, "f1:1", "<c3 a3>:1"},  {-4, "bb1:1", "<d3 f3>:1"}};
  for (const auto& [shift, root, chord] : figures) {
    bool major = shift == 7 || shift == -2 || shift == -4 || shift == 3;
    manual.Play(major ? majorFig : minorFig, shift);
    pedal.Play(root);
    swell.Play(chord);
  }
  swell.Play("<d3 f3>:1 <d3 g3> <d3 f3> <c#3 e3>:2 r:2");
  manual.Play(runDown + runUp + runDown + "<a3 c#4 e4 g4 a4>:2 r:2");
  pedal.Play("!ff d2:4 r:4 d2:4 r:4 | d2:4 r:4 d2:4 r:4 | d2:4 r:4 d2:4 r:4 | a1:2 r:2");

  // A chorale on the full organ, broadening.
  song.Tempo(manual.Now(), 66);
  pedal.At(manual.Now());
  manual.Play(
      "!ff <d4 f4 a4>:2 <d4 g4 bb4> <c#4 e4 a4> <d4 f4 a4> | <c4 f4 a4> <c4 e4 g4> <c4 f4 a4> <d4 f4 bb4> | "
      "<e4 g4 bb4> <e4 a4 c#5> <d4 f4 a4>:1 | <d4 f4 bb4>:2 <c4 f4 a4> <bb3 e4 g4> <a3 e4 a4> | "
      "<d4 f4 a4>:2 <g4 bb4 d5> <f4 a4 d5> <e4 g4 c#5> | <d4 f4 a4 d5>:1");
  pedal.Play(
      "d2:2 g1 a1 d2 | f1 c2 f1 bb1 | c#2 a1 d2:1 | bb1:2 f1 g1 a1 | d2:2 g1 a1 a1 | d1:1");

  // The opening call returns, then the final cadence in D major.
  song.Tempo(manual.Now(), 46);
  manual.Play("!f a5:32 g5 a5:4+8. r:8 g5:32 f5 e5 d5 c#5:8. d5:4");
  pedal.At(manual.Now()).Play("!ff <d1 d2>:1+1+1");
  manual.Play("!ff <bb3 d4 g4 bb4>:2 <a3 c#4 e4 a4>:2 <d3 f#3 a3 d4 f#4 a4 d5>:1+2");
  song.Tempo(manual.Now() - kHalf, 36);
  return song;
}

Song SongDescent() {
  Song song("Descent");
  song.Tempo(0, 66);
  song.TimeSignature(0, 4, 4);
  Part bass(song, "Ground", 0, kContrabass, 110, 56, 60);
  Part cello(song, "Cellos", 1, kCello, 96, 50, 60);
  Part strings(song, "Strings", 2, kSlowStrings, 84, 76, 70);
  Part choir(song, "Choir", 3, kChoir, 104, 64, 90);
  Part bell(song, "Bell", 4, kTubularBells, 84, 84, 90);
  Part oboe(song, "Oboe", 5, kOboe, 92, 90, 70);
  Part timpani(song, "Timpani", 6, kTimpani, 92, 64, 50);

  // The ground: a chromatic fall from D to A, eight bars, under the chant's first line.
  const std::string ground = "d2:1 c#2 c2 b1 bb1 a1 bb1:2 g1:2 a1:1 ";
  const std::string harmony =
      "<d3 f3 a3>:1 <e3 a3 c#4> <c3 f3 a3> <d3 g3 b3> <bb2 e3 g3> <a2 c3 e3> <bb2 d3 f3>:2 <g2 d3 g3>:2 "
      "<a2 d3 e3>:2 <a2 c#3 e3>:2 ";
  const std::string chant = "f4:1 e4 f4 d4 e4 c4 d4 d4 ";  // "Dies irae, dies illa"
  const std::string lament = "a4:2 g#4 | g4 f#4 | f4 e4 | f4 d4 | e4 d4 | c4 e4 | d4 bb3 | c#4:1 ";
  const std::string cellos = "a3:2 f3 | e3:1 | a3:2 f3 | g3:2 d3 | e3:2 g3 | e3:2 c3 | d3:2 bb2 | a2:1 ";

  // Each pass of the ground sinks lower: D minor, then C minor, then A minor for the last.
  const int shift[] = {0, 0, -2, -5};
  for (int pass = 0; pass < 4; ++pass) {
    uint32_t start = Bars(8 * pass);
    int t = shift[pass];
    bass.At(start).Play(pass == 0 ? "!p" : "!mf").Play(ground, t);
    strings.At(start).Play(pass == 0 ? "!pp" : "!mp").Play(harmony, t);
    bell.At(start).Play("!mp").Play("d4:1 r:1 r:1 r:1 a3:1 r:1 r:1 r:1", t);
    timpani.At(start).Play("!p").Play("d2:4 r:2. r:1 r:1 r:1 a1:4 r:2. r:1 r:1 a1:32 a1 a1 a1 a1 a1 a1 a1 a1:2.", t);
    if (pass >= 1) choir.At(start).Play(pass == 3 ? "!f" : "!mf").Play(chant, t);
    if (pass >= 2) oboe.At(start).Play("!mp !leg").Play(lament, t);
    if (pass != 1) cello.At(start).Play("!mp").Play(cellos, t);
  }
  const uint32_t end = Bars(32);
  bass.At(end).Play("!mf d2:1+1", -5);
  strings.At(end).Play("!p <d3 f3 a3>:1+1", -5);
  choir.At(end).Play("!mp <d4 a4>:1+1", -5);
  bell.At(end).Play("!mf d4:1 d3:1", -5);
  return song;
}

Song SongLurker() {
  Song song("Lurker");
  song.TimeSignature(0, 4, 4);
  Part bassoon(song, "Bassoon", 0, kBassoon, 88, 56, 40);
  Part pizz(song, "Pizzicato basses", 1, kPizzicato, 90, 48, 40);
  Part oboe(song, "Oboe", 2, kOboe, 80, 80, 40);
  Part strings(song, "Strings", 3, kViolin, 86, 70, 50);
  Part horns(song, "Horns", 4, kFrenchHorn, 83, 60, 50);
  Part trombones(song, "Trombones", 5, kTrombone, 83, 64, 50);
  Part timpani(song, "Timpani", 6, kTimpani, 88, 64, 40);
  Part drums(song, "Percussion", kDrums, 0, 80, 64, 40);

  // The creeping tune and its pulse, first in B minor, then a fifth up.
  const std::string tune =
      "b2:8 c#3 d3 e3 f#3 d3 f#3:4 | e#3:8 c#3 e#3:4 e3:8 c3 e3:4 | "
      "b2:8 c#3 d3 e3 f#3 d3 f#3 b3 | a3:8 f#3 d3 f#3 a3:2 ";
  const std::string pulse = Times(4, "b1:4' f#2' b1' f#2'");
  const std::string beat = Times(4, "b1:4 r:4 f#1:4 r:4");

  // Sixty-four bars, the tempo climbing a little each bar from a tiptoe to a frenzy.
  const int kBars = 64;
  for (int bar = 0; bar < kBars; ++bar) song.Tempo(Bars(bar), 80.0 * std::pow(2.2, bar / 63.0));
  for (int seg = 0; seg < 16; ++seg) {
    const uint32_t at = Bars(4 * seg);
    const int key = (seg % 4 < 2) ? 0 : 7;
    const int round = seg / 4;
    static const char* const kLevel[] = {"!p", "!mp", "!f", "!ff"};
    const std::string level = kLevel[round];
    bassoon.At(at).Play(level + " !stac").Play(tune, key);
    pizz.At(at).Play(level).Play(pulse, key);
    if (round >= 1) oboe.At(at).Play(level + " !stac").Play(tune, key + 12);
    if (round >= 2) {
      strings.At(at).Play(level + " !non").Play(tune, key + 12);
      horns.At(at).Play(level).Play(Times(4, "<b2 f#3>:2 <b2 f#3>:2"), key);
      timpani.At(at).Play(level).Play(beat, key);
    }
    if (round >= 3) {
      trombones.At(at).Play(level + " !stac").Play(tune, key - 12);
      drums.At(at).Play(seg % 2 ? Times(16, "S:8 S") : "C:4 " + Times(14, "S:8 S") + "S:16 S S S");
    }
  }
  // The hall collapses: hammered chords.
  const uint32_t end = Bars(kBars);
  song.Tempo(end, 170);
  const std::string hits = "!fff <b1 f#2 b2>:4 r:4 <b1 f#2 b2>:4 r:4 | <f#1 c#2 f#2>:4 r:4 <b1 f#2 b2>:4 r:4 | <b1 f#2 b2>:2. r:4";
  trombones.At(end).Play(hits);
  strings.At(end).Play(hits, 24);
  horns.At(end).Play(hits, 12);
  pizz.At(end).Play(hits);
  timpani.At(end).Play("!fff b1:4 r:4 b1:4 r:4 | f#1:4 r:4 b1:4 r:4 | b1:16 b1 b1 b1 b1 b1 b1 b1 b1:4 r:4");
  drums.At(end).Play("<C K>:4 r:4 <C K>:4 r:4 | <C K>:4 r:4 <C K>:4 r:4 | <C K>:2. r:4");
  return song;
}

namespace {

// Triplet arpeggio: the three notes of `chord` (low to high), repeated `groups` times.
std::string Arp(const std::string& chord, int groups) {
  std::string first = chord;
  first.insert(first.find(' '), ":8t");
  return first + " " + Times(groups - 1, chord);
}

}  // namespace

Song SongMoonwake() {
  Song song("Moonwake");
  song.Tempo(0, 58);
  song.TimeSignature(0, 4, 4);
  Part arps(song, "Piano", 0, kPiano, 127, 58, 70);
  Part bass(song, "Piano left hand", 1, kPiano, 127, 50, 70);
  Part melody(song, "Piano melody", 2, kPiano, 127, 70, 70);
  Part pad(song, "Strings", 3, kSlowStrings, 100, 64, 90);
  Part celesta(song, "Celesta", 4, kCelesta, 96, 84, 90);

  const std::string cm = "g#3 c#4 e4", g7 = "g#3 c4 f#4", a = "a3 c#4 e4", d6 = "a3 d4 f#4";
  const std::string fm = "a3 c#4 f#4", e = "g#3 b3 e4", b7 = "a3 b3 d#4", gs = "g#3 c4 d#4";
  // The opening four bars after Beethoven, then our own phrases over the same rocking triplets.
  const std::string opening = Arp(cm, 4) + Arp(cm, 4) + Arp(a, 2) + Arp(d6, 2) + Arp(g7, 2) + Arp(cm, 1) + Arp(gs, 1);
  const std::string openingBass = "<c#2 c#3>:1 <b1 b2> <a1 a2>:2 <f#1 f#2> <g#1 g#2>:1 ";
  const std::string phrase = Arp(cm, 4) + Arp(g7, 4) + Arp(cm, 2) + Arp(fm, 2) + Arp(cm, 2) + Arp(g7, 2) +
                             Arp(e, 4) + Arp(a, 2) + Arp(fm, 2) + Arp(cm, 2) + Arp(gs, 2) + Arp(cm, 4);
  const std::string phraseBass =
      "<c#2 c#3>:1 <c2 c3> <c#2 c#3>:2 <a1 a2> <g#1 g#2>:1 <e2 e3>:2 <d#2 d#3> <a1 a2> <f#1 f#2> "
      "<g#1 g#2>:1 <c#2 c#3> ";
  const std::string tune =
      "r:2. g#4:8. g#4:16 | g#4:2. g#4:8. g#4:16 | g#4:2 a4 | g#4:2 f#4 | e4:2. e4:8. e4:16 | "
      "e4:2 f#4 | e4:2 d#4 | c#4:1 ";
  const std::string bridge = Arp(e, 4) + Arp(b7, 4) + Arp(e, 4) + Arp(fm, 2) + Arp(b7, 2) + Arp(e, 4) +
                             Arp(fm, 4) + Arp(g7, 4) + Arp(cm, 4);
  const std::string bridgeBass = "<e2 e3>:1 <d#2 d#3> <g#1 g#2> <a1 a2>:2 <b1 b2> <e1 e2>:1 <f#1 f#2> <g#1 g#2> <c#2 c#3> ";
  const std::string bridgeTune =
      "b4:2. b4:8. b4:16 | b4:2 a4 | g#4:2 f#4 | f#4:2 e4:4 d#4 | e4:1 | a4:2. a4:8. a4:16 | a4:2 g#4 | g#4:1 ";

  arps.Play("!f " + opening + phrase + bridge + phrase);
  bass.Play("!ff " + openingBass + phraseBass + bridgeBass + phraseBass);
  melody.At(Bars(4)).Play("!ff " + tune + bridgeTune + tune);
  const std::string phrasePad = "<c#3 g#3>:1 <c3 g#3> <c#3 g#3> <c#3 g#3> <e3 b3> <c#3 a3> <c#3 g#3> <c#3 g#3> ";
  const std::string bridgePad = "<e3 b3>:1 <d#3 a3> <e3 b3> <f#3 a3> <e3 b3> <f#3 a3> <g#3 c4> <g#3 c#4> ";
  pad.At(Bars(4)).Play("!mp " + phrasePad + bridgePad + phrasePad);
  celesta.At(Bars(20)).Play("!mf " + tune, 12);
  // Coda: the arpeggio sinks and settles on a low C-sharp minor chord.
  const uint32_t coda = Bars(28);
  arps.At(coda).Play("!p " + Arp(cm, 2) + Arp("c#3 e3 g#3", 2) + Arp("g#2 c#3 e3", 2) + "<c#3 e3 g#3>:2+1");
  bass.At(coda).Play("!mp <c#1 c#2>:1+1+1");
  melody.At(coda).Play("!mf g#4:1 e4:1 c#4:1");
  return song;
}

}  // namespace assetgen
