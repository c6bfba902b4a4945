// Our own lighter pieces for the playful slots: a harpsichord dance for a ghoulish household, a
// minor-key night groove, and a surf-organ romp for ghost hunters. All original tunes; slots 10 and
// 11 are auditioned from a fraction of a second in, so they start playing on the very first tick.
#include "midi_songs.h"

namespace assetgen {

using namespace midi;

// Slot 9: a prim, slightly crooked harpsichord dance in D minor with bassoon and pizzicato, snapped
// along to.
Song SongFamilyPortrait() {
  Song song("Family Portrait");
  song.Tempo(0, 116);
  song.TimeSignature(0, 4, 4);
  Part harpsichord(song, "Harpsichord", 0, kHarpsichord, 127, 70, 50);
  Part continuo(song, "Harpsichord left hand", 1, kHarpsichord, 112, 52, 50);
  Part bassoon(song, "Bassoon", 2, kBassoon, 112, 44, 50);
  Part pizz(song, "Pizzicato", 3, kPizzicato, 116, 60, 40);
  Part clarinet(song, "Clarinet", 4, kClarinet, 108, 84, 60);
  Part celesta(song, "Celesta", 5, kCelesta, 100, 90, 70);
  Part blocks(song, "Wood blocks", kDrums, 0, 96, 64, 30);

  const std::string tuneA =
      "d4:8 e4 f4 g#4 a4:4 a4 | bb4:8 a4 g#4 a4 f4:4 d4 | e4:8 f4 g4 a4 bb4:4 bb4 | c5:8 bb4 a4 g4 a4:2 | "
      "d5:8 c#5 d5 e5 f5:4 d5 | c5:8 b4 c5 d5 eb5:4 c5 | bb4:8 a4 g4 f4 e4:4 c#4 | d4:2 r:2 ";
  const std::string tuneB =
      "f4:8 a4 c5 a4 f4:4 c4 | d4:8 f4 bb4 a4 g4:2 | e4:8 g4 bb4 g4 e4:4 c4 | f4:8 e4 f4 g4 a4:2 | "
      "a4:8 bb4 b4 c5 c#5:4 d5 | bb4:8 a4 g4 f4 e4:4 d4 | c#4:8 d4 e4 f4 g4 e4 c#4 a3 | d4:2 r:2 ";
  // Left hand: a bass note on one and three, a crisp chord on two and four.
  const std::map<std::string, std::string> stride = {
      {"Dm", "d3:4' <f3 a3>' a2' <f3 a3>'"}, {"A7", "a2:4' <e3 g3 c#4>' e2' <e3 g3 c#4>'"},
      {"F", "f2:4' <a3 c4>' c3' <a3 c4>'"},   {"Cm", "c3:4' <eb3 g3>' g2' <eb3 g3>'"},
      {"Bb", "bb2:4' <d3 f3>' f2' <d3 f3>'"}, {"C7", "c3:4' <e3 bb3>' g2' <e3 bb3>'"},
      {"Gm", "g2:4' <bb2 d3>' d3' <bb2 d3>'"}};
  const std::map<std::string, std::string> roots = {
      {"Dm", "d2:4' r a1' r"}, {"A7", "a1:4' r e1' r"}, {"F", "f1:4' r c2' r"}, {"Cm", "c2:4' r g1' r"},
      {"Bb", "bb1:4' r f1' r"}, {"C7", "c2:4' r g1' r"}, {"Gm", "g1:4' r d2' r"}};
  auto chartA = [](const auto& p) { return Chart(p, {"Dm", "Dm", "A7", "F", "Dm", "Cm", "A7", "Dm"}); };
  auto chartB = [](const auto& p) { return Chart(p, {"F", "Bb", "C7", "F", "A7", "Gm", "A7", "Dm"}); };
  const std::string knocks = Times(4, "r:8 W:8 r:4 r:8 W:16 W r:4 ");

  // A, A, B, A, B, A; the band fills in as the portrait comes to life.
  const std::string left = chartA(stride) + chartA(stride) + chartB(stride) + chartA(stride) +
                           chartB(stride) + chartA(stride);
  const std::string bass = chartA(roots) + chartA(roots) + chartB(roots) + chartA(roots) + chartB(roots) +
                           chartA(roots);
  continuo.Play("!mf " + left);
  pizz.At(Bars(8)).Play("!mf " + bass.substr(chartA(roots).size()));
  harpsichord.Play("!mf " + tuneA + tuneA + "!mp " + tuneB + "!mf " + tuneA + "!f " + tuneB + tuneA);
  bassoon.At(Bars(8)).Play("!mp !stac " + tuneA, -12);
  clarinet.At(Bars(16)).Play("!mp " + tuneB);
  celesta.At(Bars(24)).Play("!mp " + tuneA, 12);
  bassoon.At(Bars(32)).Play("!mf " + tuneB, -12);
  clarinet.At(Bars(32)).Play("!mf " + tuneB);
  celesta.At(Bars(40)).Play("!mf " + tuneA, 12);
  bassoon.At(Bars(40)).Play("!f !stac " + tuneA, -12);
  // The household's signature: a dry snap on two and four while the harpsichord first plays the
  // tune, and again under the last A; the wood blocks knock in between.
  const std::string snaps = Times(8, "r:4 P:4' r:4 P:4' ");
  blocks.Play("!p " + snaps);
  blocks.At(Bars(8)).Play("!mp " + Times(8, knocks));
  blocks.At(Bars(40)).Play("!mp " + snaps);

  const uint32_t end = Bars(48);
  harpsichord.At(end).Play("!f d4:8 f4 a4 d5 <d4 f4 a4 d5>:4' r:4 | <d4 a4 d5>:4' r:4 r:2");
  continuo.At(end).Play("!f d3:4' <f3 a3>' a2' r | d2:4' r r:2");
  pizz.At(end).Play("d2:4' r a1' r | d1:4' r r:2");
  bassoon.At(end).Play("d3:4' r a2' r | d2:4' r r:2");
  blocks.At(end).Play("r:2 W:8 W W:4 | W:4 r:4 r:2");
  return song;
}

// Slot 10: a minor-key night groove in F-sharp minor; bass and drums from the first tick, low voices
// creeping up in semitones.
Song SongNightCrawl() {
  Song song("Night Crawl");
  song.Tempo(0, 116);
  song.TimeSignature(0, 4, 4);
  Part bass(song, "Synth bass", 0, kSynthBass1, 112, 64, 30);
  Part organ(song, "Organ", 1, kDrawbarOrgan, 88, 44, 60);
  Part brass(song, "Brass", 2, kBrass, 100, 80, 50);
  Part lead(song, "Lead", 3, kSynthVoice, 100, 64, 70);
  Part guitar(song, "Muted guitar", 4, kMutedGuitar, 84, 96, 40);
  Part pad(song, "Choir pad", 5, kChoir, 80, 64, 90);
  Part vibes(song, "Vibraphone", 6, kVibraphone, 100, 72, 80);
  Part drums(song, "Drums", kDrums, 0, 108, 64, 30);

  // One bar of bass per chord: F#m, D, E, plus B minor and C#7 for the bridge.
  const std::string riff = "f#1:8 r:16 f#2:16 f#1:8 e2:8 r:16 f#1:16 a1:8 b1:8 c#2:8 ";
  const std::map<std::string, int> shift = {{"F#m", 0}, {"D", -4}, {"E", -2}, {"Bm", 5}, {"C#7", 7}};
  const std::string groove = "<K H>:16 H H H <S H> H <K H> H <K H> H H H <S H> H H O ";
  const std::string halfTime = "<K H>:8 H H H <S H> H H <K H> ";
  const std::string fill = "<K H>:16 H H H <S H> H <K H> H S:16 S T T M M L L ";
  const std::map<std::string, std::string> stabs = {
      {"F#m", "r:8 <f#3 a3 c#4>:8' r:8 <f#3 a3 c#4>' r:4 <f#3 a3 c#4>:8' r:8"},
      {"D", "r:8 <f#3 a3 d4>:8' r:8 <f#3 a3 d4>' r:4 <f#3 a3 d4>:8' r:8"},
      {"E", "r:8 <e3 g#3 b3>:8' r:8 <e3 g#3 b3>' r:4 <e3 g#3 b3>:8' r:8"},
      {"Bm", "r:8 <f#3 b3 d4>:8' r:8 <f#3 b3 d4>' r:4 <f#3 b3 d4>:8' r:8"},
      {"C#7", "r:8 <e#3 g#3 b3>:8' r:8 <e#3 g#3 b3>' r:4 <e#3 g#3 b3>:8' r:8"}};
  const std::map<std::string, std::string> pads = {
      {"F#m", "<f#3 a3 c#4>:1"}, {"D", "<f#3 a3 d4>:1"}, {"E", "<e3 g#3 b3>:1"}, {"Bm", "<f#3 b3 d4>:1"},
      {"C#7", "<e#3 g#3 b3>:1"}};
  const std::initializer_list<const char*> verse = {"F#m", "F#m", "D", "E", "F#m", "F#m", "D", "E"};
  const std::initializer_list<const char*> bridge = {"Bm", "Bm", "F#m", "F#m", "D", "E", "F#m", "C#7"};
  const std::string tune =
      "c#5:8 c#5 b4 a4 b4:4 f#4 | a4:8 b4 c#5 e5 c#5:2 | d5:8 c#5 b4 a4 b4:4 f#4 | e4:8 f#4 g#4 b4 a4:2 | "
      "c#5:8 c#5 b4 a4 b4:4 f#4 | a4:8 b4 c#5 e5 f#5:2 | e5:8 d5 c#5 b4 d5:4 c#5 | b4:8 a4 g#4 e4 f#4:2 ";
  const std::string bridgeTune =
      "d5:4 c#5 b4 f#4 | d5:4. e5:8 d5:2 | c#5:4 b4 a4 f#4 | c#5:1 | a4:4 b4 c#5 d5 | e5:2 d5:2 | "
      "c#5:2 a4:4 c#5 | e#4:1 ";
  const std::string answers = Times(4, "r:1 r:2 r:8 <a3 c#4 f#4>:8' <a3 c#4 f#4>:8' <b3 d4 g#4>:8' ");

  auto playBass = [&](const std::initializer_list<const char*>& chart) {
    for (const char* chord : chart) bass.Play(riff, shift.at(chord));
  };
  // Bars 0-3 intro, 4-11 verse, 12-19 verse with brass, 20-27 bridge, 28-35 last verse, 36-39 outro.
  bass.Play("!f");
  playBass({"F#m", "F#m", "D", "E"});
  playBass(verse);
  playBass(verse);
  playBass(bridge);
  playBass(verse);
  playBass({"F#m", "D", "E", "F#m"});
  drums.Play("!f " + Times(3, groove) + fill + Times(7, groove) + fill + Times(7, groove) + fill + "!mf " +
             Times(7, halfTime) + fill + "!f " + Times(7, groove) + fill + Times(3, groove) + fill);
  organ.Play("!mf " + Chart(stabs, {"F#m", "F#m", "D", "E"}) + Chart(stabs, verse) + Chart(stabs, verse));
  organ.At(Bars(28)).Play(Chart(stabs, verse) + Chart(stabs, {"F#m", "D", "E", "F#m"}));
  // The signature: a low choir creeping up in semitones over the intro's bass, and again as the
  // groove ends, like something getting out of its grave.
  Part creep(song, "Low voices", 7, kVoiceOohs, 96, 64, 90);
  const std::string rise = "f#3:2 g3:2 | g#3:2 a3:2 | a#3:2 b3:2 | c4:2 c#4:2 ";
  creep.Play("!mp " + rise);
  creep.At(Bars(36)).Play("!mf " + rise);
  lead.At(Bars(4)).Play("!mf " + tune);
  guitar.At(Bars(12)).Play("!mp " + Times(32, "f#3:16' f#3' r:8"));
  brass.At(Bars(12)).Play("!f " + answers);
  lead.At(Bars(12)).Play("!mf " + tune);
  pad.At(Bars(20)).Play("!mp " + Chart(pads, bridge));
  vibes.At(Bars(20)).Play("!mf " + bridgeTune);
  lead.At(Bars(28)).Play("!f " + tune);
  brass.At(Bars(28)).Play("!mf " + tune, -12);
  pad.At(Bars(28)).Play("!p " + Chart(pads, verse));

  const uint32_t end = Bars(40);
  bass.At(end).Play("!f f#1:4 r:4 r:2");
  brass.At(end).Play("!ff <f#3 a3 c#4 f#4>:4 r:4 r:2");
  organ.At(end).Play("<f#3 a3 c#4>:1");
  drums.At(end).Play("<K C>:4 r:4 r:2");
  return song;
}

// Slot 11: a surf-organ romp in G minor for ghost hunters; drums, bass and organ from the first tick,
// a ghostly siren on top.
Song SongSpookCatchers() {
  Song song("Spook Catchers");
  song.Tempo(0, 128);
  song.TimeSignature(0, 4, 4);
  Part bass(song, "Bass", 0, kFingerBass, 112, 60, 30);
  Part guitar(song, "Surf guitar", 1, kSteelGuitar, 108, 80, 80);
  Part organ(song, "Combo organ", 2, kPercOrgan, 88, 44, 60);
  Part brass(song, "Brass", 3, kBrass, 100, 70, 50);
  Part ghost(song, "Ghost voice", 4, kWhistle, 96, 64, 100);
  Part pad(song, "Strings", 5, kSlowStrings, 76, 64, 80);
  Part drums(song, "Drums", kDrums, 0, 108, 64, 30);

  const std::map<std::string, std::string> walk = {
      {"Gm", "g1:8 g1 bb1 g1 d2 g1 f2 d2"}, {"Cm", "c2:8 c2 eb2 c2 g2 c2 bb2 g2"},
      {"D7", "d2:8 d2 f#2 d2 a2 d2 c3 a2"}, {"Eb", "eb2:8 eb2 g2 eb2 bb2 eb2 d3 bb2"}};
  const std::map<std::string, std::string> skank = {
      {"Gm", "r:8 <g3 bb3 d4>' r <g3 bb3 d4>' r <g3 bb3 d4>' r <g3 bb3 d4>'"},
      {"Cm", "r:8 <g3 c4 eb4>' r <g3 c4 eb4>' r <g3 c4 eb4>' r <g3 c4 eb4>'"},
      {"D7", "r:8 <f#3 a3 c4>' r <f#3 a3 c4>' r <f#3 a3 c4>' r <f#3 a3 c4>'"},
      {"Eb", "r:8 <g3 bb3 eb4>' r <g3 bb3 eb4>' r <g3 bb3 eb4>' r <g3 bb3 eb4>'"}};
  const std::map<std::string, std::string> pads = {
      {"Gm", "<g3 bb3 d4>:1"}, {"Cm", "<g3 c4 eb4>:1"}, {"D7", "<f#3 a3 c4>:1"}, {"Eb", "<g3 bb3 eb4>:1"}};
  const std::initializer_list<const char*> intro = {"Gm", "Gm", "Cm", "D7"};
  const std::initializer_list<const char*> verse = {"Gm", "D7", "Gm", "D7", "Cm", "D7", "Gm", "Gm"};
  const std::initializer_list<const char*> chorus = {"Gm", "D7", "Cm", "Gm", "Eb", "Cm", "D7", "D7"};
  const std::string surf =
      "g4:8 bb4 d5 g5 f#5:4 d5 | eb5:8 d5 c5 bb4 a4:4 d4 | g4:8 bb4 d5 g5 a5:4 bb5 | a5:8 g5 f#5 e5 d5:2 | "
      "c5:8 eb5 g5 eb5 d5:4 bb4 | c5:8 bb4 a4 g4 f#4:4 d4 | g4:8 a4 bb4 c5 d5:4 f#4 | g4:2 r:2 ";
  const std::string wail = "d5:2 g5:2 | f#5:1 | eb5:2 c5:2 | d5:1 | bb4:2 eb5:2 | d5:2 c5:2 | a4:1 | d5:1 ";
  const std::string beat = "<K H>:8 H <S H> H <K H> <K H> <S H> H ";
  const std::string tambourine = "<K H G>:8 H <S H G> H <K H G> <K H> <S H G> H ";
  const std::string roll = "<K H>:8 H <S H> H S:16 S S S T T L L ";
  const std::string hits = "!f <g3 bb3 d4>:8' r:8 r:4 r:2 | r:1 | r:1 | r:2 r:8 <f#3 a3 c4>:8' <f#3 a3 c4>:8' <g3 bb3 d4>:8' ";

  // 0-3 intro, 4-11 surf tune, 12-19 ghost voice, 20-27 surf with brass, 28-35 ghost again,
  // 36-43 surf with everything, 44-45 the last word.
  const std::string chart = Chart(walk, intro) + Chart(walk, verse) + Chart(walk, chorus) + Chart(walk, verse) +
                            Chart(walk, chorus) + Chart(walk, verse);
  bass.Play("!f " + chart);
  organ.Play("!mf " + Chart(skank, intro) + Chart(skank, verse) + Chart(skank, chorus) + Chart(skank, verse) +
             Chart(skank, chorus) + Chart(skank, verse));
  drums.Play("!f " + Times(3, beat) + roll + Times(7, beat) + roll + "!mf " + Times(7, beat) + roll + "!f " +
             Times(7, beat) + roll + "!mf " + Times(7, beat) + roll + "!f " + Times(7, tambourine) + roll);
  // The signature: a ghostly siren over the intro, rising and sinking twice, answered at the end.
  const std::string siren = "g4:4 d5:4 g5:2 | f#5:4 d5:4 a4:2 | g4:4 d5:4 bb5:2 | a5:4 f#5:4 d5:2 ";
  ghost.Play("!mp " + siren);
  guitar.At(Bars(4)).Play("!f " + surf);
  ghost.At(Bars(12)).Play("!mf " + wail);
  pad.At(Bars(12)).Play("!mp " + Chart(pads, chorus));
  guitar.At(Bars(20)).Play("!f " + surf);
  brass.At(Bars(20)).Play(hits + hits);
  ghost.At(Bars(28)).Play("!f " + wail);
  guitar.At(Bars(28)).Play("!mp " + wail, -12);
  pad.At(Bars(28)).Play("!mp " + Chart(pads, chorus));
  guitar.At(Bars(36)).Play("!ff " + surf);
  brass.At(Bars(36)).Play("!f " + surf, -12);

  const uint32_t end = Bars(44);
  guitar.At(end).Play("!ff g4:8 bb4 d5 g5 <g4 bb4 d5 g5>:4 r:4 | r:1");
  brass.At(end).Play("!ff r:2 <g3 bb3 d4>:4 r:4 | <g3 bb3 d4 g4>:2 r:2");
  bass.At(end).Play("g1:8 g1 bb1 d2 g2:4 r:4 | g1:2 r:2");
  organ.At(end).Play("r:2 <g3 bb3 d4>:4 r:4 | <g3 bb3 d4>:2 r:2");
  drums.At(end).Play("<K H>:8 H <S H> H <K C>:4 r:4 | <K C>:2 r:2");
  return song;
}

}  // namespace assetgen
