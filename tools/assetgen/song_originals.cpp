// Our own compositions for the darker slots: Horror Hill, Leviathan, Demony and Nitemare.
#include "midi_songs.h"

namespace assetgen {

using namespace midi;

// A music-box waltz in D minor climbing the hill: celesta, then flute, strings and choir; a
// moonlit interlude in F major; the tune once more, quietly, then with everyone.
Song SongHorrorHill() {
  Song song("Horror Hill");
  song.Tempo(0, 100);
  song.TimeSignature(0, 3, 4);
  Part celesta(song, "Celesta", 0, kCelesta, 110, 76, 80);
  Part harp(song, "Harp", 1, kHarp, 100, 44, 60);
  Part bass(song, "Basses", 2, kPizzicato, 108, 56, 50);
  Part strings(song, "Strings", 3, kSlowStrings, 100, 70, 70);
  Part choir(song, "Choir", 4, kChoir, 90, 64, 90);
  Part flute(song, "Flute", 5, kFlute, 108, 84, 70);
  Part bell(song, "Bell", 6, kTubularBells, 92, 90, 90);
  Part timpani(song, "Timpani", 7, kTimpani, 100, 64, 50);

  const std::string tuneA =
      "d5:4 a4 f4 | e5:2 a4:4 | f5:4 e5 d5 | c#5:2. | d5:4 a4 f4 | g5:2 bb4:4 | a4:4 g4 e4 | d4:2. ";
  const std::string tuneB =
      "bb4:4 d5 f5 | a5:2 g5:4 | f5:4 e5 d5 | e5:2. | g4:4 bb4 d5 | f5:2 e5:4 | d5:4 c#5 e5 | a4:2. ";
  // The interlude: the same lilt turned to the relative major, then leaning back towards D minor.
  const std::string tuneC =
      "a4:4 c5 f5 | e5:2 g4:4 | f4:4 a4 d5 | c5:2. | d5:4 f5 bb4 | c5:4 e5 g5 | f5:2 e5:4 | e5:2 c#5:4 ";
  const std::string tuneD =
      "d5:4 bb4 f4 | g4:2 bb4:4 | a4:4 c5 f5 | d5:2. | bb4:4 d5 f5 | g5:2 f5:4 | e5:4 c#5 a4 | e5:2. ";
  const std::string musicBox = "d5:4 a4 f4 | d5:4 a4 f4 | d5:4 bb4 g4 | c#5:2. ";
  const std::map<std::string, std::string> waltz = {
      {"Dm", "r:4 <a3 d4 f4>' <a3 d4 f4>'"}, {"A7", "r:4 <g3 c#4 e4>' <g3 c#4 e4>'"},
      {"A", "r:4 <a3 c#4 e4>' <a3 c#4 e4>'"}, {"Gm", "r:4 <g3 bb3 d4>' <g3 bb3 d4>'"},
      {"Bb", "r:4 <f3 bb3 d4>' <f3 bb3 d4>'"}, {"F", "r:4 <a3 c4 f4>' <a3 c4 f4>'"},
      {"C", "r:4 <g3 c4 e4>' <g3 c4 e4>'"},    {"Am", "r:4 <a3 c4 e4>' <a3 c4 e4>'"}};
  const std::map<std::string, std::string> roots = {
      {"Dm", "d2:4 r:2"}, {"A7", "a1:4 r:2"}, {"A", "a1:4 r:2"}, {"Gm", "g1:4 r:2"},
      {"Bb", "bb1:4 r:2"}, {"F", "f2:4 r:2"}, {"C", "c2:4 r:2"},  {"Am", "a1:4 r:2"}};
  const std::map<std::string, std::string> pads = {
      {"Dm", "<d3 f3 a3>:2."}, {"A7", "<c#3 e3 g3>:2."}, {"A", "<c#3 e3 a3>:2."}, {"Gm", "<d3 g3 bb3>:2."},
      {"Bb", "<d3 f3 bb3>:2."}, {"F", "<c3 f3 a3>:2."},   {"C", "<c3 e3 g3>:2."},  {"Am", "<c3 e3 a3>:2."}};
  auto chartA = [](const auto& p) { return Chart(p, {"Dm", "A7", "Dm", "A", "Dm", "Gm", "A7", "Dm"}); };
  auto chartB = [](const auto& p) { return Chart(p, {"Bb", "Bb", "Dm", "A", "Gm", "Dm", "A7", "A"}); };
  auto chartC = [](const auto& p) { return Chart(p, {"F", "C", "Dm", "Am", "Bb", "C", "F", "A"}); };
  auto chartD = [](const auto& p) { return Chart(p, {"Bb", "Gm", "F", "Dm", "Bb", "Gm", "A", "A"}); };
  auto intro = [](const auto& p) { return Chart(p, {"Dm", "Dm", "Gm", "A"}); };

  // Intro, A B A B A with the orchestra thickening, the interlude C D, the music box alone, A B A
  // again from quiet to full, then a coda of tolls.
  harp.Play("!mp " + intro(waltz) + chartA(waltz) + chartB(waltz) + chartA(waltz) + chartB(waltz) + "!mf " +
            chartA(waltz) + "!mp " + chartC(waltz) + chartD(waltz) + "!p " + intro(waltz) + chartA(waltz) +
            "!mp " + chartB(waltz) + "!mf " + chartA(waltz));
  bass.Play("!mf " + intro(roots) + chartA(roots) + chartB(roots) + chartA(roots) + chartB(roots) + chartA(roots) +
            chartC(roots) + chartD(roots) + "!mp " + intro(roots) + chartA(roots) + chartB(roots) + "!mf " +
            chartA(roots));
  bell.Play("!mf d4:2. r:2. r:2. r:2.");
  choir.Play("!pp <d4 a4>:2.+2. <d4 g4 bb4>:2. <c#4 e4 a4>:2.");
  celesta.At(Bars(4, 3)).Play("!mf " + tuneA + tuneB);
  flute.At(Bars(20, 3)).Play("!mp " + tuneA);
  celesta.At(Bars(20, 3)).Play("!p " + tuneA, 12);
  strings.At(Bars(20, 3)).Play("!pp " + chartA(pads)).Play("!mf " + tuneB, -12).Play("!f " + tuneA, -12);
  choir.At(Bars(28, 3)).Play("!mp " + chartB(pads) + "!mf " + chartA(pads));
  celesta.At(Bars(36, 3)).Play("!f " + tuneA);
  timpani.At(Bars(36, 3)).Play("!mf " + Chart(roots, {"Dm", "A", "Dm", "A", "Dm", "Gm", "A", "Dm"}));

  // The interlude: the flute sings it over the harp, then the strings take the second half with
  // the celesta an octave above and the choir humming the chords.
  flute.At(Bars(44, 3)).Play("!mf " + tuneC);
  strings.At(Bars(44, 3)).Play("!pp " + chartC(pads));
  strings.At(Bars(52, 3)).Play("!mf " + tuneD, -12);
  celesta.At(Bars(52, 3)).Play("!mp " + tuneD);
  choir.At(Bars(52, 3)).Play("!p " + chartD(pads));
  celesta.At(Bars(60, 3)).Play("!mp " + musicBox);

  // The return: the strings alone with the tune, the flute and celesta answering, then everyone.
  strings.At(Bars(64, 3)).Play("!mp " + tuneA, -12);
  flute.At(Bars(72, 3)).Play("!mf " + tuneB);
  celesta.At(Bars(72, 3)).Play("!mp " + tuneB, 12);
  celesta.At(Bars(80, 3)).Play("!f " + tuneA);
  strings.At(Bars(80, 3)).Play("!f " + tuneA, -12);
  choir.At(Bars(80, 3)).Play("!mf " + chartA(pads));
  timpani.At(Bars(80, 3)).Play("!mf " + Chart(roots, {"Dm", "A", "Dm", "A", "Dm", "Gm", "A", "Dm"}));
  for (int bar : {12, 20, 28, 36, 44, 60, 64, 80}) bell.At(Bars(bar, 3)).Play("!mp d4:2.");

  const uint32_t coda = Bars(88, 3);
  harp.At(coda).Play("!p d3:8 f3 a3 d4 f4 a4 | d5:2. | <d3 a3 d4 f4>:2.+2.");
  strings.At(coda).Play("!p <d3 f3 a3>:2.+2.+2.+2.");
  bass.At(coda).Play("d2:4 r:2 r:2. d2:4 r:2 r:2.");
  bell.At(coda).Play("!mf d4:2. r:2. a3:2. d4:2.");
  return song;
}

// The deep one: a phrygian ostinato in the basses, a trombone theme, horns answering, a tutti swell.
Song SongLeviathan() {
  Song song("Leviathan");
  song.Tempo(0, 60);
  song.TimeSignature(0, 4, 4);
  Part basses(song, "Contrabasses", 0, kContrabass, 112, 54, 60);
  Part tuba(song, "Tuba", 1, kTuba, 104, 60, 60);
  Part trombones(song, "Trombones", 2, kTrombone, 108, 70, 70);
  Part horns(song, "Horns", 3, kFrenchHorn, 104, 50, 70);
  Part tremolo(song, "Tremolo strings", 4, kTremoloStrings, 90, 80, 80);
  Part timpani(song, "Timpani", 5, kTimpani, 104, 64, 60);
  Part choir(song, "Low choir", 6, kVoiceOohs, 92, 64, 90);
  Part deep(song, "Deep pad", 7, kWarmPad, 84, 64, 100);
  Part swell(song, "Cymbal swell", 8, kReverseCymbal, 70, 64, 80);

  const std::string ostinato = "c2:2 db2:4 c2:4 | g1:2 ab1:4 g1:4 ";
  const std::string drums = "c2:4 r:2. | g1:4 r:4 g1:8 g1 r:4 ";
  const std::string theme = "c3:2. eb3:4 | d3:2 db3:2 | c3:1 | r:1 | eb3:2. g3:4 | f3:2 ab3:2 | g3:1 | r:1 ";
  const std::string answer =
      "g3:2. ab3:4 | bb3:2 ab3:4 f3:4 | eb3:2 g3:2 | f3:1 | eb3:2 d3:4 c3:4 | db3:2 f3:2 | c3:2 eb3:2 | db3:1 ";
  const std::string shimmer = Times(4, "<c4 eb4 g4>:1 <db4 f4 ab4>:1");

  basses.Play("!p " + Times(2, ostinato) + "!mp " + Times(8, ostinato) + "!f " + Times(4, ostinato) + "!p " +
              Times(2, ostinato));
  tuba.At(Bars(4)).Play("!mp " + Times(4, ostinato) + Times(4, ostinato) + "!ff " + Times(4, ostinato));
  timpani.Play("!p " + Times(2, drums) + "!mp " + Times(8, drums) + "!f " + Times(4, drums) + "!p " +
               Times(2, drums));
  deep.Play("!mp <c3 g3>:1+1+1+1");
  swell.At(Bars(2)).Play("!mp c5:1+1");

  trombones.At(Bars(4)).Play("!mf " + theme);
  horns.At(Bars(12)).Play("!mf " + answer);
  tremolo.At(Bars(12)).Play("!p " + shimmer);
  choir.At(Bars(12)).Play("!pp " + Times(4, "<c3 g3>:1 <db3 ab3>:1"));
  swell.At(Bars(18)).Play("!mf c5:1+1");

  // The beast surfaces: theme and answer together, everything in.
  trombones.At(Bars(20)).Play("!ff " + theme);
  horns.At(Bars(20)).Play("!ff " + answer);
  tremolo.At(Bars(20)).Play("!f " + shimmer);
  choir.At(Bars(20)).Play("!f " + theme, 12);

  // And sinks again.
  const uint32_t depths = Bars(28);
  deep.At(depths).Play("!p <c3 g3>:1+1+1+1");
  horns.At(depths).Play("!p c3:1 r:1 g2:1 c3:1");
  const uint32_t end = Bars(32);
  basses.At(end).Play("!mp c2:1+1");
  tuba.At(end).Play("!mp c2:1+1");
  timpani.At(end).Play("!mf c2:32 c2 c2 c2 c2 c2 c2 c2 !p c2:2. r:1");
  return song;
}

// A demonic gigue in A minor, 6/8: a tritone riff from the first beat, a choir, an organ and bones.
Song SongDemony() {
  Song song("Demony");
  song.Tempo(0, 150);
  song.TimeSignature(0, 6, 8);
  Part cellos(song, "Cellos", 0, kCello, 90, 50, 50);
  Part organ(song, "Organ", 1, kChurchOrgan, 80, 74, 70);
  Part choir(song, "Choir", 2, kChoir, 93, 64, 80);
  Part timpani(song, "Timpani", 3, kTimpani, 88, 64, 40);
  Part xylophone(song, "Xylophone", 4, kXylophone, 80, 90, 50);
  Part brass(song, "Brass", 5, kBrass, 83, 40, 60);
  Part taiko(song, "Taiko", 6, kTaiko, 86, 64, 40);
  Part pizz(song, "Pizzicato", 7, kPizzicato, 80, 60, 40);
  Part drums(song, "Cymbals", kDrums, 0, 77, 64, 50);

  const uint32_t bar = kQuarter * 3;
  const std::string riff = "a2:8 a3 a2 eb3 a2 d3 | a2 a3 a2 eb3 d3 c3 ";
  const std::string hits = "a1:4. a1:4. | a1:4. eb2:4. ";
  const std::string beat = "a1:8 r:4 a1:8 r:4 | a1:8 r:4 a1:8 a1 a1 ";
  const std::string chant =
      "a4:4. c5 | b4:4. eb5 | d5:4 c5:8 b4:4 a4:8 | g#4:2. | a4:4. e5 | f5:4. eb5 | d5:4 c5:8 b4:4 g#4:8 | a4:2. ";
  const std::string chantChords =
      "<a3 c4 e4>:2. <g#3 b3 eb4> <a3 d4 f4> <g#3 b3 e4> <a3 c4 e4> <a3 d4 f4> <g#3 b3 e4> <a3 c4 e4> ";
  const std::string dance =
      "e5:8 f5 e5 d#5 e5 c5 | a4 b4 c5 b4 a4 g#4 | a4 c5 e5 a5 g#5 f5 | e5:2. | "
      "d5:8 e5 d5 c#5 d5 bb4 | g4 a4 bb4 a4 g4 f4 | e4 g#4 b4 d5 c5 b4 | a4:2. ";
  const std::string fanfare = "a3:4. eb4 | a3:4. eb4 | d4:4 eb4:8 d4:4 c4:8 | a3:2. ";

  // 0-3 riff alone (it sounds from the very first beat); 4-19 the chant twice; 20-35 the dance;
  // 36-43 brass over the riff, then a fourth up; 44-59 the chant, all in; 60-63 the end.
  cellos.Play("!f " + Times(10, riff) + "!mp " + Times(8, riff) + "!f " + Times(2, riff))
      .Play(Times(2, riff), 5)
      .Play("!ff " + Times(8, riff));
  timpani.Play("!f " + Times(2, hits) + "!mf " + Times(8, hits) + "!p " + Times(8, hits) + "!f " + Times(2, hits))
      .Play(Times(2, hits), 5)
      .Play("!ff " + Times(8, hits));
  taiko.Play("!mf " + Times(10, beat)).At(36 * bar).Play("!f " + Times(12, beat));
  choir.At(4 * bar).Play("!mf " + chant + "!f " + chant);
  organ.At(12 * bar).Play("!mf " + chantChords);
  pizz.At(20 * bar).Play("!mf " + Times(8, riff), 12);
  organ.At(20 * bar).Play("!f " + dance);
  xylophone.At(28 * bar).Play("!f " + dance, 12);
  organ.Play("!mf " + dance);
  brass.At(36 * bar).Play("!f " + fanfare).Play(fanfare, 5);
  choir.At(44 * bar).Play("!ff " + chant + chant);
  organ.At(44 * bar).Play("!ff " + chantChords + chantChords);
  brass.At(52 * bar).Play("!ff " + chant, -12);
  xylophone.At(52 * bar).Play("!f " + Times(4, riff), 24);
  drums.At(44 * bar).Play("C:2. " + Times(7, "r:2.") + "C:2. " + Times(7, "r:2."));

  const uint32_t end = 60 * bar;
  const std::string stabs = "!fff <a1 a2 e3>:4. <eb2 a2 eb3>:4. | <a1 a2 e3>:4. <eb2 a2 eb3>:4. | r:8 <a1 a2 c3 e3>:4+4. r:8 | ";
  cellos.At(end).Play(stabs);
  brass.At(end).Play(stabs, 12);
  organ.At(end).Play(stabs, 24).Play("<a3 c4 e4 a4>:2.");
  choir.At(end).Play("!ff r:2. r:2. a4:2. a4:2.");
  timpani.At(end).Play("a1:4. eb2:4. | a1:4. eb2:4. | a1:16 a1 a1 a1 a1 a1 a1:2. ");
  drums.At(end).Play("C:4. C | C:4. C | r:8 C:4+4. r:8");
  return song;
}

// A nightmare that will not let go: a semitone ostinato and a heartbeat, rising a step at a time,
// then a sudden silence and a music box alone.
Song SongNitemare() {
  Song song("Nitemare");
  song.Tempo(0, 112);
  song.TimeSignature(0, 4, 4);
  Part ostinato(song, "Spiccato strings", 0, kViola, 104, 60, 50);
  Part piano(song, "Low piano", 1, kPiano, 110, 50, 60);
  Part musicBox(song, "Music box", 2, kMusicBox, 104, 84, 90);
  Part brass(song, "Brass", 3, kBrass, 104, 44, 60);
  Part pad(song, "Pad", 4, kWarmPad, 88, 64, 100);
  Part tremolo(song, "High tremolo", 5, kTremoloStrings, 84, 90, 80);
  Part timpani(song, "Timpani", 6, kTimpani, 104, 64, 50);
  Part drums(song, "Heartbeat", kDrums, 0, 110, 64, 40);

  const std::string pulse = "e3:8 e3 e3 e3 f3 e3 e3 e3 | e3 e3 g3 e3 f3 e3 d#3 e3 ";
  const std::string heart = "K:8 K r:4 r:2 ";
  const std::string racing = "K:8 K r:4 K:8 K r:4 ";
  const std::string rolls = "<K C>:8 K S:16 S S S K:8 K S:16 S S S | K:8 K S:16 S S S K:8 K S:8 S ";
  const std::string tune = "b5:4 g5 e5 f5 | e5:2 d#5 | b4:4 c5 e5 g5 | f#5:1 | b5:4 a#5 b5 g5 | e5:2 f5 | e5:4 d#5 c5 b4 | e5:1 ";
  const std::string stabs = Times(4, "<e3 bb3>:8 r:8 r:4 r:4 <e3 bb3>:8 <e3 bb3>:8 ");
  const std::string low = Times(4, "<e1 f1>:2 r:2 ");

  // Five sections of eight bars, each from a little higher: E, E, F, F-sharp, G.
  const int key[] = {0, 0, 1, 2, 3};
  static const char* const kLevel[] = {"!p", "!mp", "!mf", "!f", "!ff"};
  for (int s = 0; s < 5; ++s) {
    const uint32_t at = Bars(8 * s);
    const std::string level = kLevel[s];
    const int k = key[s];
    ostinato.At(at).Play(level + " !stac").Play(Times(4, pulse), k);
    drums.At(at).Play(level).Play(s < 3 ? Times(8, heart) : s == 3 ? Times(8, racing) : Times(4, rolls));
    pad.At(at).Play("!p").Play("<e3 b3>:1+1+1+1 <f3 c4>:1+1+1+1", k);
    piano.At(at).Play(level).Play(low + low, k);
    if (s >= 1) musicBox.At(at).Play(level).Play(tune, k);
    if (s >= 2) {
      brass.At(at).Play(level).Play(stabs + stabs, k);
      tremolo.At(at).Play("!mp").Play("<b5 c6>:1+1+1+1 <c6 c#6>:1+1+1+1", k);
      timpani.At(at).Play(level).Play(Times(8, "e2:4 r:4 r:4 e2:8 e2:8 "), k);
    }
    if (s >= 3) brass.At(at).Play(level).Play(tune, k - 12);
  }
  // Waking: a bar of nothing, then the tune alone, slower, dying away.
  const uint32_t wake = Bars(41);
  song.Tempo(wake, 80);
  musicBox.At(wake).Play("!mp " + tune);
  pad.At(wake).Play("!pp <e3 b3>:1+1+1+1 <e3 b3>:1+1+1+1");
  drums.At(wake + Bars(6)).Play("!pp K:8 K r:4 r:2 r:4 K:8 K r:2");
  return song;
}

}  // namespace assetgen
