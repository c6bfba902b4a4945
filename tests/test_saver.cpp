// The saver window: the frame loop, presentation on the screen, labels, songs and effects, input
// and the password check; and the control panel's miniature preview.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "saver/presentation.h"
#include "saver/previewscreen.h"
#include "saver/screensaver.h"
#include "scene/animations.h"
#include "startup/starter.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

class Saver : public ProgramTest {
 protected:
  Saver() { WriteAllPictures(); }
  void Settings(const std::string& keys) { WriteText("tarnix.ini", "[Duskhollow]\r\nfirstrun=1\r\nspeed=70\r\n" + keys); }
  void AllCreaturesOff() { Settings(""); }
  void Start(int w = 800, int h = 600) {
    NewProcess();
    os->screenWidth = w;
    os->screenHeight = h;
    ASSERT_EQ(RunMain("/s"), -1);
    ASSERT_TRUE(p->screenSaver);
  }
  ScreenSaver& W() { return *p->screenSaver; }
  const Bitmap& Canvas() { return *p->surfaces.Find(W().Canvas); }
  const Bitmap& Back() { return *p->surfaces.Find(p->BackBuffer); }
  void Frames(int n) {
    for (int i = 0; i < n; ++i) {
      os->elapsedMs += W().maintimer.Interval;
      W().maintimer_Timer();
    }
  }
};

// All night, nobody watching (the .scr records nothing): 100,000 frames leave every list as it
// was. Small backdrops keep the frames cheap; the creatures that trigger effects are on.
TEST_F(Saver, ANightLongRunKeepsNoGrowingRecord) {
  for (const char* name : {"h_background_top.bmp", "h_background_mid1.bmp", "h_background_mid2.bmp",
                           "h_background_mid3.bmp", "h_background_bot.bmp"})
    WritePicture(name, Solid(2, 2, 0x101030));
  std::string keys = "lightning=1\r\ncrow1=1\r\nowl=1\r\n";
  for (int i = 0; i <= 11; ++i) keys += "sound" + std::to_string(i) + "=1\r\n";
  Settings(keys);
  Start(80, 60);
  Frames(3000);
  ASSERT_FALSE(p->sound.effectsPlayed.empty());  // effects do play in such a run
  p->sound.RecordEffects = false;
  p->sound.effectsPlayed.clear();
  os->keepRecords = false;
  os->calls.clear(), os->mci.clear(), os->mixer.clear(), os->soundsPlayed.clear();
  const size_t surfaces = p->surfaces.LiveCount();
  for (int i = 0; i < 100000; ++i) {
    Frames(1);
    if (i % 143 == 0) W().MusicTimer_Timer();
  }
  EXPECT_TRUE(p->sound.effectsPlayed.empty());
  EXPECT_TRUE(os->calls.empty() && os->mci.empty() && os->mixer.empty() && os->soundsPlayed.empty());
  EXPECT_EQ(p->surfaces.LiveCount(), surfaces);
}

TEST_F(Saver, CountersCycleOverTheirInclusiveRanges) {
  AllCreaturesOff();
  Start();
  std::vector<int> longs, shorts, mediums;
  for (int i = 1; i <= 1002; ++i) {
    W().maintimer_Timer();
    if (i == 40 || i == 41 || i == 42) shorts.push_back(p->scene.ShortTick);
    if (i == 100 || i == 101 || i == 102) mediums.push_back(p->scene.MediumTick);
    if (i == 1000 || i == 1001 || i == 1002) longs.push_back(p->scene.LongTick);
  }
  EXPECT_EQ(shorts, (std::vector<int>{40, 0, 1}));
  EXPECT_EQ(mediums, (std::vector<int>{100, 0, 1}));
  EXPECT_EQ(longs, (std::vector<int>{1000, 0, 1}));
}

TEST_F(Saver, WithEveryCreatureOffEveryFrameIsTheSame) {
  AllCreaturesOff();
  Start();
  Frames(1);
  const std::vector<uint32_t> first = Canvas().pixels;
  Frames(57);
  EXPECT_EQ(Canvas().pixels, first);
  // The tombstones stand in it.
  const Bitmap* tomb = p->surfaces.Find(p->scene.Tomb1.Picture);
  EXPECT_EQ(Back().Row(450)[40], tomb->Row(50)[25]);
}

TEST_F(Saver, TheSceneIsCutStretchedOrCopiedToTheScreen) {
  AllCreaturesOff();
  Start(640, 480);
  Frames(1);
  EXPECT_EQ(Canvas().width, 640);
  EXPECT_EQ(Canvas().Row(0)[0], Back().Row(120)[160]);  // the bottom-right 640 x 480
  EXPECT_EQ(Canvas().Row(479)[639], Back().Row(599)[799]);

  Start(800, 600);
  Frames(1);
  EXPECT_EQ(Canvas().pixels, Back().pixels);

  Start(1024, 768);
  Frames(1);
  EXPECT_EQ(Canvas().Row(767)[1023], Back().Row(599)[799]);
  EXPECT_EQ(Canvas().Row(384)[512], Back().Row(300)[400]);
  EXPECT_EQ(Canvas().Row(0)[0], Back().Row(0)[0]);
}

// Cut only where the scene covers the screen; a side larger than the scene's is stretched over.
// Keeping proportions, every screen shows the whole scene, boxed and scaled either way.
TEST_F(Saver, ScreensAreCutOnlyWhereTheSceneCoversThemAndKeptProportionsShowItWhole) {
  using P = std::tuple<int32_t, int32_t, int32_t, int32_t, bool>;
  auto at = [](int32_t w, int32_t h, bool keep) {
    const Placement p = PlaceScene(w, h, keep);
    return P{p.x, p.y, p.width, p.height, p.scaled};
  };
  EXPECT_EQ(at(640, 480, false), (P{-160, -120, 800, 600, false}));  // the bottom-right corner
  EXPECT_EQ(at(800, 480, false), (P{0, 0, 800, 480, false}));        // as wide: 1:1
  EXPECT_EQ(at(768, 1024, false), (P{0, 0, 768, 1024, true}));       // portrait: stretched over
  EXPECT_EQ(at(800, 1280, false), (P{0, 0, 800, 1280, true}));
  EXPECT_EQ(at(1024, 500, false), (P{0, 0, 1024, 500, true}));
  EXPECT_EQ(at(1920, 1080, true), (P{240, 0, 1440, 1080, true}));    // pillars
  EXPECT_EQ(at(1280, 1024, true), (P{0, 32, 1280, 960, true}));      // letterbox
  EXPECT_EQ(at(1024, 768, true), (P{0, 0, 1024, 768, true}));        // its own shape: no bars
  EXPECT_EQ(at(768, 1024, true), (P{0, 224, 768, 576, true}));
  EXPECT_EQ(at(640, 480, true), (P{0, 0, 640, 480, true}));          // scaled down, whole
  EXPECT_EQ(at(320, 200, true), (P{26, 0, 267, 200, true}));
  EXPECT_EQ(at(800, 1000, true), (P{0, 200, 800, 600, false}));

  Settings("");
  Start(768, 1024);
  Frames(1);
  EXPECT_EQ(Canvas().Row(0)[0], Back().Row(0)[0]);  // the sky at the top, not black
  EXPECT_EQ(Canvas().Row(1023)[767], Back().Row(599)[799]);

  Settings("proportions=1\r\n");
  Start(1920, 1080);
  Frames(1);
  EXPECT_EQ(Canvas().Row(540)[239], 0u);   // the left bar
  EXPECT_EQ(Canvas().Row(540)[1680], 0u);  // the right bar
  EXPECT_EQ(Canvas().Row(0)[240], Back().Row(0)[0]);
  EXPECT_EQ(Canvas().Row(1079)[1679], Back().Row(599)[799]);
  EXPECT_EQ(Canvas().Row(540)[960], Back().Row(300)[400]);  // round: 1.8 x both ways

  Start(400, 600);  // scaled down to 400 x 300 between bars
  Frames(1);
  EXPECT_EQ(Canvas().Row(149)[200], 0u);
  EXPECT_EQ(Canvas().Row(150)[0], Back().Row(1)[1]);
  EXPECT_EQ(Canvas().Row(449)[399], Back().Row(599)[799]);
  EXPECT_EQ(Canvas().Row(450)[200], 0u);
}

// A window a screen-saver daemon gives the saver, smaller than the scene, is its preview: it
// shows the whole scene whatever the settings; one as large as a screen is a screen.
TEST_F(Saver, ADaemonsSmallWindowShowsTheWholeScene) {
  Settings("");
  NewProcess();
  os->saverWindowGiven = true;
  os->screenWidth = 400, os->screenHeight = 300;
  ASSERT_EQ(RunMain("/s"), -1);
  Frames(1);
  EXPECT_EQ(Canvas().Row(0)[0], Back().Row(1)[1]);
  EXPECT_EQ(Canvas().Row(299)[399], Back().Row(599)[799]);
  W().ResizeWindow(0, 640, 480);
  Frames(1);
  EXPECT_EQ(Canvas().Row(0)[0], Back().Row(0)[0]);
  W().ResizeWindow(0, 1024, 768);
  Frames(1);
  EXPECT_EQ(Canvas().Row(384)[512], Back().Row(300)[400]);
  EXPECT_EQ(Canvas().Row(767)[1023], Back().Row(599)[799]);
  W().ResizeWindow(0, 800, 480);
  Frames(1);
  EXPECT_EQ(Canvas().Row(479)[0], 0u);  // fitted 640 x 480 between pillars
  EXPECT_EQ(Canvas().Row(479)[80], Back().Row(599)[0]);
}

// After the first frame only what changed is drawn again: every window's canvas still equals the
// whole frame presented anew, and whatever a frame changes on a window lies in the rectangles its
// frame tells the host to send.
TEST_F(Saver, FramesDrawOnlyWhatChangedYetEveryWindowShowsTheWholeFrame) {
  std::string keys = "proportions=1\r\n";
  for (const char* k : {"bat", "crow1", "dove", "firefly", "lightning", "owl", "rat", "skeleton1", "spider", "zombie"})
    keys += std::string(k) + "=1\r\n";
  Settings(keys);
  NewProcess();
  os->screenWidth = 1001, os->screenHeight = 777;
  // Scaled up, scaled down, a portrait one, one as large as the scene.
  os->otherMonitors = {Rect{-640, 0, 0, 480}, Rect{1001, 0, 1001 + 1920, 1080}, Rect{0, -1024, 768, 0},
                       Rect{-1040, 480, -800, 780}};
  ASSERT_EQ(RunMain("/s"), -1);
  RunWindows& windows = *p->windows;
  ASSERT_EQ(windows.WindowCount(), 5u);
  for (int frame = 0; frame < 30; ++frame) {
    std::vector<std::vector<uint32_t>> before;
    for (size_t k = 0; k < windows.WindowCount(); ++k) before.push_back(windows.Frame(k).canvas->pixels);
    Frames(1);
    for (size_t k = 0; k < windows.WindowCount(); ++k) {
      const WindowFrame& f = windows.Frame(k);
      const Bitmap& now = *f.canvas;
      const int32_t whole = p->surfaces.AddBlank(now.width, now.height, 0);
      PresentScene(p->surfaces, whole, p->BackBuffer, true);
      ASSERT_EQ(now.pixels, p->surfaces.Find(whole)->pixels) << "window " << k << ", frame " << frame;
      p->surfaces.Remove(whole);
      for (int32_t y = 0; y < now.height; ++y)
        for (int32_t x = 0; x < now.width; ++x) {
          const size_t i = static_cast<size_t>(y) * now.width + x;
          if (now.pixels[i] == before[k][i]) continue;
          ASSERT_TRUE(std::any_of(f.changed.begin(), f.changed.end(), [&](const Rect& r) {
            return x >= r.left && x < r.right && y >= r.top && y < r.bottom;
          })) << "window " << k << " changed at " << x << "," << y << " outside its frame, frame " << frame;
        }
    }
  }
}

// The labels are sent again only when they change (and then where they stood as well), laid out
// for the window's width; a window given another size gets a canvas of that size, sent whole.
TEST_F(Saver, LabelsAreSentAgainOnlyWhenTheyChangeAndFollowTheWindowsSize) {
  Settings("clock=1\r\nmessagetext=Boo\r\n");
  Start(1024, 768);
  RunWindows& windows = *p->windows;
  auto sends = [&](const Rect& box) {
    const std::vector<Rect>& c = windows.Frame(0).changed;
    return std::find(c.begin(), c.end(), box) != c.end();
  };
  os->localTime = LocalTime{21, 5, 0};
  Frames(1);
  const WindowFrame& f = windows.Frame(0);
  ASSERT_EQ(f.labels.size(), 2u);
  const LabelLayout message = f.labels[0], clock = f.labels[1];
  EXPECT_EQ(message.text, "  Boo  ");
  EXPECT_EQ(message.box, (Rect{0, 5, 924, 24}));  // up to the clock
  EXPECT_EQ(message.fontPixels, 16);
  EXPECT_EQ(clock.box, (Rect{924, 5, 1013, 24}));
  Frames(1);  // nothing under the labels changed (every creature is off)
  EXPECT_TRUE(windows.Frame(0).changed.empty());
  os->localTime = LocalTime{21, 6, 0};
  Frames(1);
  EXPECT_TRUE(sends(clock.box));
  EXPECT_EQ(windows.Frame(0).labels[1].text, " 9:06 PM ");

  windows.Resized(0, 640, 480);
  const WindowFrame& small = windows.Frame(0);
  EXPECT_EQ(small.canvas->width, 640);
  EXPECT_EQ(small.changed, (std::vector<Rect>{Rect{0, 0, 640, 480}}));
  EXPECT_EQ(small.labels[0].box, (Rect{0, 5, 540, 24}));     // the message still runs up to the clock
  EXPECT_EQ(small.labels[1].box, (Rect{540, 5, 629, 24}));   // the clock keeps its distance from the edge
  EXPECT_EQ(small.canvas->Row(479)[639], Back().Row(599)[799]);  // cut at the bottom-right
}

TEST_F(Saver, EveryOtherMonitorShowsTheOneFrameAtItsOwnSizeOrStaysBlack) {
  AllCreaturesOff();
  Start();  // a run's first frame presents the whole canvas: that cost is compared
  uint64_t before = p->surfaces.PixelsWritten();
  Frames(1);
  const uint64_t alone = p->surfaces.PixelsWritten() - before;
  NewProcess();
  os->otherMonitors = {Rect{-800, 100, 0, 700}, Rect{1024, 0, 1024 + 1920, 1080}};
  ASSERT_EQ(RunMain("/s"), -1);
  ASSERT_EQ(W().OtherMonitors.size(), 2u);
  const Bitmap& left = *p->surfaces.Find(W().OtherMonitors[0].Canvas);
  const Bitmap& wide = *p->surfaces.Find(W().OtherMonitors[1].Canvas);
  EXPECT_EQ(left.width, 800);
  EXPECT_EQ(wide.height, 1080);
  before = p->surfaces.PixelsWritten();
  Frames(1);
  EXPECT_EQ(left.pixels, Back().pixels);
  EXPECT_EQ(wide.Row(1079)[1919], Back().Row(599)[799]);
  // Composed once: each other monitor costs only its own presentation, and monitors of one size
  // share one (the 800 x 600 one shows the primary's canvas).
  EXPECT_EQ(W().OtherMonitors[0].Canvas, W().Canvas);
  EXPECT_EQ(p->surfaces.PixelsWritten() - before, alone + 1920 * 1080);
  NewProcess();
  os->otherMonitors = {Rect{800, 0, 1600, 600}, Rect{0, 600, 1920, 1680}, Rect{1920, 600, 3840, 1680}};
  ASSERT_EQ(RunMain("/s"), -1);
  EXPECT_EQ(W().OtherMonitors[0].Canvas, W().Canvas);
  EXPECT_EQ(W().OtherMonitors[2].Canvas, W().OtherMonitors[1].Canvas);
  before = p->surfaces.PixelsWritten();
  Frames(1);
  EXPECT_EQ(p->surfaces.PixelsWritten() - before, alone + 1920 * 1080);

  Settings("monitors=0\r\n");
  NewProcess();
  os->otherMonitors = {Rect{-800, 100, 0, 700}};
  ASSERT_EQ(RunMain("/s"), -1);
  Frames(3);
  const Bitmap& dark = *p->surfaces.Find(W().OtherMonitors[0].Canvas);
  EXPECT_TRUE(std::all_of(dark.pixels.begin(), dark.pixels.end(), [](uint32_t px) { return px == 0; }));
}

TEST_F(Saver, NoFramesAreComposedWhileTheDisplayIsOff) {
  std::filesystem::remove(windir / "tarnix.ini");
  Start();
  Frames(2);
  W().DisplayOn = false;
  const uint64_t written = p->surfaces.PixelsWritten();
  const int tick = p->scene.LongTick;
  Frames(10);
  EXPECT_EQ(p->surfaces.PixelsWritten(), written);
  EXPECT_EQ(p->scene.LongTick, tick);
  W().DisplayOn = true;
  Frames(1);
  EXPECT_EQ(p->scene.LongTick, tick + 1);
}

TEST_F(Saver, TheLabelsTakeTheirTwipsAtTheScreensDotsPerInch) {
  Settings("clock=1\r\nmessagetext=gypsy\r\n");
  for (auto [twipsPerPixel, width, height, left] : {std::tuple{15.0, 89, 19, 924}, std::tuple{12.0, 111, 24, 902},
                                                     std::tuple{10.0, 134, 28, 879}}) {
    NewProcess();
    os->screenWidth = 1024;
    os->screenHeight = 768;
    p->TwipsPerPixelX = p->TwipsPerPixelY = twipsPerPixel;
    ASSERT_EQ(RunMain("/s"), -1);
    EXPECT_EQ(W().ClockLabel.Width, width);
    EXPECT_EQ(W().ClockLabel.Height, height);
    EXPECT_EQ(W().ScreenLabel.Height, height);
    W().maintimer_Timer();
    EXPECT_EQ(W().ClockLabel.Left, left) << twipsPerPixel;  // the whole label stays on the screen
    const std::vector<LabelLayout>& labels = p->windows->Frame(0).labels;
    ASSERT_EQ(labels.size(), 2u);
    EXPECT_EQ(labels[0].box.right, labels[1].box.left);  // the message never runs under the clock
  }
}

TEST_F(Saver, DefaultCreaturesChangeTheFrame) {
  std::filesystem::remove(windir / "tarnix.ini");
  Start();
  Frames(1);
  const std::vector<uint32_t> first = Canvas().pixels;
  Frames(5);
  EXPECT_NE(Canvas().pixels, first);
}

TEST_F(Saver, AMessageIsCentredAcrossTheTopOrLeftAlignedBesideTheClock) {
  Settings("messagetext=Boo\r\n");
  Start(1024, 768);
  EXPECT_TRUE(W().ScreenLabel.Visible);
  EXPECT_EQ(W().ScreenLabel.Caption, "  Boo  ");
  EXPECT_EQ(W().ScreenLabel.Left, 0);
  EXPECT_EQ(W().ScreenLabel.Top, 5);
  EXPECT_EQ(W().ScreenLabel.Width, 1024);
  EXPECT_EQ(W().ScreenLabel.TextAlign, Alignment::kCenter);
  EXPECT_FALSE(W().ClockLabel.Visible);

  Settings("messagetext=Boo\r\nclock=1\r\n");
  Start(1024, 768);
  EXPECT_EQ(W().ScreenLabel.TextAlign, Alignment::kLeft);
  EXPECT_TRUE(W().ClockLabel.Visible);
}

TEST_F(Saver, TheClockStartsCentredThenStands100PixelsFromTheRight) {
  Settings("clock=1\r\n");
  Start(1024, 768);
  EXPECT_EQ(W().ClockLabel.Caption, "CLOCK");
  EXPECT_EQ(W().ClockLabel.Left, 468);  // 512 - 44.5, halves to even
  EXPECT_EQ(W().ClockLabel.Top, 5);
  os->localTime = LocalTime{13, 7, 0};
  W().maintimer_Timer();
  EXPECT_EQ(W().ClockLabel.Left, 924);
  EXPECT_EQ(W().ClockLabel.Caption, " 1:07 PM ");
  os->localTime = LocalTime{0, 30, 0};
  W().maintimer_Timer();
  EXPECT_EQ(W().ClockLabel.Caption, " 12:30 AM ");
  os->localTime = LocalTime{12, 0, 59};
  W().maintimer_Timer();
  EXPECT_EQ(W().ClockLabel.Caption, " 12:00 PM ");
  os->elapsedMs += 1000;
  W().maintimer_Timer();
  EXPECT_EQ(W().ClockLabel.Caption, " 12:01 PM ");
}

TEST_F(Saver, AHiddenClockIsStillKeptCurrent) {
  AllCreaturesOff();
  Start();
  os->localTime = LocalTime{9, 5, 0};
  W().maintimer_Timer();
  EXPECT_FALSE(W().ClockLabel.Visible);
  EXPECT_EQ(W().ClockLabel.Caption, " 9:05 AM ");
}

TEST_F(Saver, ASpeedOfZeroGivesNoFramesAndANegativeOneIsAnError) {
  WriteText("tarnix.ini", "[Duskhollow]\r\nfirstrun=1\r\nclock=1\r\n");
  Start();
  EXPECT_EQ(W().maintimer.Interval, 0);
  EXPECT_EQ(W().ClockLabel.Caption, "CLOCK");

  WriteText("tarnix.ini", "[Duskhollow]\r\nfirstrun=1\r\nspeed=-1\r\n");
  NewProcess();
  EXPECT_EQ(RunMain("/s"), 1);
  ASSERT_EQ(os->messages.size(), 1u);
  EXPECT_NE(os->messages[0].find("Dusk- 380- ScreenSaver/Form_Initialize"), std::string::npos);
}

// --- songs ---

class Songs : public Saver {
 protected:
  void WriteSongs(std::initializer_list<int> slots) {
    for (int n : slots) WriteFile("Duskhollow/h_song" + std::to_string(n) + ".Mid", {'M', 'T', 'h', 'd'});
  }
  std::vector<std::string> Plays() {
    std::vector<std::string> plays;
    for (const std::string& c : os->mci)
      if (c.rfind("play ", 0) == 0) plays.push_back(c);
    return plays;
  }
  void MusicTicks(int n) {
    for (int i = 0; i < n; ++i) {
      os->elapsedMs += 10000;
      if (W().MusicTimer.Enabled) W().MusicTimer_Timer();
    }
  }
  void SongLength(double seconds) {
    os->songSeconds = [seconds](const std::vector<uint8_t>&) { return seconds; };
  }
};

TEST_F(Songs, EnabledSongsAreOpenedAndTheFirstPlays) {
  WriteSongs({0, 2, 5});
  Settings("song2=1\r\nsong5=1\r\n");
  Start();
  ASSERT_GE(os->mci.size(), 3u);
  EXPECT_EQ(os->mci[0], "open \"C:\\WINDOWS\\Duskhollow\\h_song2.Mid\" type sequencer alias song2");
  EXPECT_EQ(os->mci[1], "open \"C:\\WINDOWS\\Duskhollow\\h_song5.Mid\" type sequencer alias song5");
  EXPECT_EQ(os->mci[2], "play song2 from 0");
  EXPECT_TRUE(W().MusicTimer.Enabled);
}

TEST_F(Songs, SongsFollowEachOtherInSlotOrder) {
  WriteSongs({2, 5});
  Settings("song2=1\r\nsong5=1\r\n");
  NewProcess();
  SongLength(25);  // each song ends within three music ticks
  os->screenWidth = 800;
  ASSERT_EQ(RunMain("/s"), -1);
  MusicTicks(12);
  EXPECT_EQ(Plays(), (std::vector<std::string>{"play song2 from 0", "play song5 from 0", "play song2 from 0",
                                               "play song5 from 0", "play song2 from 0"}));
}

TEST_F(Songs, AnOnlySongIsReplayedWheneverItStops) {
  WriteSongs({11});
  Settings("song11=1\r\n");
  NewProcess();
  SongLength(15);
  ASSERT_EQ(RunMain("/s"), -1);
  MusicTicks(4);
  EXPECT_EQ(Plays(), (std::vector<std::string>{"play song11 from 0", "play song11 from 0", "play song11 from 0"}));
}

TEST_F(Songs, WithNoSongOnTheMusicTimerStaysOff) {
  Settings("");
  Start();
  EXPECT_FALSE(W().MusicTimer.Enabled);
  EXPECT_TRUE(os->mci.empty());
}

TEST_F(Songs, AFirstSongThatCannotPlaySwitchesTheMusicOff) {
  Settings("song3=1\r\n");  // no such file
  Start();
  EXPECT_FALSE(W().MusicTimer.Enabled);
}

TEST_F(Songs, AMissingLaterSongIsPassedByAndTheSaverRunsOn) {
  WriteSongs({0});
  Settings("song0=1\r\nsong4=1\r\nsong7=1\r\n");  // 4 and 7 are missing
  NewProcess();
  SongLength(15);
  ASSERT_EQ(RunMain("/s"), -1);
  EXPECT_EQ(EndCode([&] { MusicTicks(10); }), -1);  // the saver keeps running
  const std::vector<std::string> plays = Plays();
  EXPECT_EQ(plays.front(), "play song0 from 0");
  EXPECT_GE(std::count(plays.begin(), plays.end(), "play song0 from 0"), 3);
  EXPECT_EQ(std::count(plays.begin(), plays.end(), "play song4 from 0"), 1);  // tried once
  EXPECT_EQ(std::count(plays.begin(), plays.end(), "play song7 from 0"), 1);
  EXPECT_TRUE(W().MusicTimer.Enabled);
}

TEST_F(Songs, WhenNoSongCanPlayAnyMoreTheSaverRunsOnInSilence) {
  WriteSongs({0});
  Settings("song0=1\r\nsong4=1\r\n");
  NewProcess();
  SongLength(15);
  ASSERT_EQ(RunMain("/s"), -1);
  std::filesystem::remove(windir / "Duskhollow" / "h_song0.Mid");
  MusicTicks(2);  // song 0 ends, song 4 cannot play
  // Song 0 is still open and plays again: only songs that failed are passed by.
  EXPECT_TRUE(W().MusicTimer.Enabled);
  EXPECT_EQ(EndCode([&] { MusicTicks(6); }), -1);
}

// --- effects ---

class Effects : public Saver {
 protected:
  void WriteSounds() {
    for (int n = 0; n <= 11; ++n)
      WriteFile("Duskhollow/h_sound" + std::to_string(n) + ".wav", {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'});
  }
  std::vector<std::string> PlaysOnChannel(int channel) {
    std::vector<std::string> out;
    for (const std::string& m : os->mixer)
      if (m.find("WaveMixPlay") == 0 && m.find(" channel " + std::to_string(channel) + " ") != std::string::npos)
        out.push_back(m);
    return out;
  }
};

TEST_F(Effects, TheMixerIsOpenedAndTheGreetingPlaysOnce) {
  WriteSounds();
  std::filesystem::remove(windir / "tarnix.ini");
  Start();
  ASSERT_GE(os->mixer.size(), 14u);
  EXPECT_EQ(os->mixer[0], "WaveMixInit -> 1");
  EXPECT_EQ(os->mixer[1], "WaveMixOpenWave 1 C:\\WINDOWS\\Duskhollow\\h_sound0.wav -> 1");
  // Ten effects are on by default (not 3 and 5).
  EXPECT_EQ(os->mixer[11], "WaveMixOpenChannel 1 8 2");
  EXPECT_EQ(os->mixer[12], "WaveMixActivate 1 1");
  EXPECT_EQ(os->mixer[13], "WaveMixPlay session 1 channel 0 wave 1 flags 5");
  EXPECT_EQ(p->sound.effectsPlayed, (std::vector<int>{0}));
  EXPECT_EQ(p->sound.NextEffect, 5);
  EXPECT_EQ(p->ErrorStep, "7");
}

TEST_F(Effects, ThePlayRecordIsTwentyFourBytesOfSixteenBitHalves) {
  WriteSounds();
  Settings("sound9=1\r\n");
  Start();
  const auto& f = p->sound.PlayParams[9];
  const int expected[12] = {24, 1, 0, 7, 0, 1, 0, 0, 0, 5, 0, 0};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(f[i], expected[i]) << i;
  for (int i = 0; i < 12; ++i) EXPECT_EQ(p->sound.PlayParams[3][i], 0);  // off: all zero
}

TEST_F(Effects, TheRotationPlaysEvery101FramesOnChannel7SkippingOffSlots) {
  WriteSounds();
  Settings("sound6=1\r\nsound8=1\r\nsound11=1\r\n");
  Start();
  std::vector<std::pair<int, int>> played;  // frame, effect
  for (int frame = 1; frame <= 700; ++frame) {
    p->sound.effectsPlayed.clear();
    W().maintimer_Timer();
    for (int e : p->sound.effectsPlayed) played.push_back({frame, e});
  }
  EXPECT_EQ(played, (std::vector<std::pair<int, int>>{{99, 6}, {200, 8}, {301, 11}, {402, 6}, {503, 8}, {604, 11}}));
  EXPECT_EQ(PlaysOnChannel(7).size(), 6u);
}

TEST_F(Effects, OneRotatingEffectRepeats) {
  WriteSounds();
  Settings("sound9=1\r\n");
  Start();
  Frames(301);
  EXPECT_EQ(p->sound.effectsPlayed, (std::vector<int>{9, 9, 9}));
}

TEST_F(Effects, WithoutAMixerNoEffectPlaysAndTheCleanUpLeavesItAlone) {
  WriteSounds();
  Settings("sound0=1\r\nsound2=1\r\nsound3=1\r\nsound9=1\r\nlightning=1\r\ncrow1=1\r\n");
  NewProcess();
  os->mixerAvailable = false;
  ASSERT_EQ(RunMain("/s"), -1);
  Frames(250);
  EXPECT_TRUE(p->sound.effectsPlayed.empty());
  EXPECT_EQ(EndCode([&] { W().Form_KeyPress(32); }), 0);
  EXPECT_EQ(std::count_if(os->mixer.begin(), os->mixer.end(), [](auto& m) { return m.find("Close") != std::string::npos; }), 0);
}

TEST_F(Effects, CreaturesTriggerTheirOwnEffectsOnTheirOwnChannels) {
  WriteSounds();
  Settings("sound2=1\r\nlightning=1\r\n");
  Start();
  std::vector<int> frames;
  for (int frame = 1; frame <= 202; ++frame) {
    p->sound.effectsPlayed.clear();
    W().maintimer_Timer();
    if (!p->sound.effectsPlayed.empty()) frames.push_back(p->scene.MediumTick);
  }
  EXPECT_EQ(frames, (std::vector<int>{30, 78, 30, 78}));
  EXPECT_EQ(PlaysOnChannel(2).size(), 4u);
}

// --- input and the password ---

TEST_F(Saver, AKeyOrAClickClosesTheSaver) {
  AllCreaturesOff();
  Start();
  EXPECT_EQ(EndCode([&] { W().Form_KeyDown(65, 0); }), 0);
  Start();
  EXPECT_EQ(EndCode([&] { W().Form_Click(); }), 0);
  EXPECT_EQ(os->cursorShows, 1);  // shown again by the clean-up
}

TEST_F(Saver, OnTheWindows95FamilyThePasswordMustBeVerified) {
  AllCreaturesOff();
  NewProcess();
  os->platformId = 1;
  os->registry["Control Panel\\Desktop\\ScreenSaveUsePassword"] = RegistryValue{kRegDword, {1, 0, 0, 0}};
  int answers = 0;
  os->verifyPassword = [&] { return answers++ == 0 ? 0 : 1; };
  ASSERT_EQ(RunMain("/s"), -1);
  const int hiddenBefore = os->cursorHides;
  EXPECT_EQ(EndCode([&] { W().Form_KeyPress(13); }), -1);  // wrong password: still running
  EXPECT_EQ(os->cursorHides, hiddenBefore + 1);             // cursor hidden again
  EXPECT_EQ(EndCode([&] { W().Form_KeyPress(13); }), 0);
  EXPECT_EQ(answers, 2);
}

TEST_F(Saver, InputInAnotherModeDoesNothing) {
  AllCreaturesOff();
  Start();
  p->RunMode = kModeConfigure;
  EXPECT_EQ(EndCode([&] { W().Form_Click(); }), -1);
}

// --- the miniature preview ---

using Preview = ProgramTest;

TEST_F(Preview, TheStripIsCentredAndPlaysFromFrameTwo) {
  Bitmap strip = Solid(127 * 21, 200, 0);
  for (int k = 0; k < 21; ++k)
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 127; ++x) strip.Row(y)[k * 127 + x] = static_cast<uint32_t>(0x100000 * (k + 1));
  WritePicture("h_preview.bmp", strip);
  os->windows[4242] = Rect{0, 0, 152, 112};
  ASSERT_EQ(RunMain("/p 4242"), -1);
  PreviewScreen& w = *p->previewScreen;
  EXPECT_EQ(w.PreviewX, 12);
  EXPECT_EQ(w.PreviewY, 6);
  EXPECT_EQ(w.Caption, "Preview");
  EXPECT_TRUE(w.previewtimer.Enabled);
  EXPECT_EQ(w.previewtimer.Interval, 70);
  EXPECT_EQ(os->previewParent, 4242);
  std::vector<int> shown;
  for (int i = 0; i < 18; ++i) {
    w.previewtimer_Timer();
    shown.push_back(w.PreviewFrame);
  }
  EXPECT_EQ(shown, (std::vector<int>{2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 0, 1}));
  const Bitmap& canvas = *p->surfaces.Find(w.Canvas);
  EXPECT_EQ(canvas.width, 152);
  EXPECT_EQ(canvas.Row(6)[12], 0x200000u);  // frame 1 drawn last
  EXPECT_EQ(canvas.Row(5)[12], 0u);
  EXPECT_EQ(p->surfaces.LiveCount(), 2u);  // the strip and the window: no back buffer
}

TEST_F(Preview, HalvesRoundToEven) {
  os->windows[7] = Rect{0, 0, 154, 112};
  ASSERT_EQ(RunMain("/p:7"), -1);
  EXPECT_EQ(p->previewScreen->PreviewX, 14);
}

TEST_F(Preview, ClosingThePreviewEndsTheProcessThroughTheCleanUp) {
  os->windows[7] = Rect{0, 0, 152, 112};
  ASSERT_EQ(RunMain("/p 7"), -1);
  EXPECT_EQ(EndCode([&] { p->previewScreen->Form_Unload(); }), 0);
  EXPECT_EQ(os->calls.back(), "EndProcess 0");
  EXPECT_EQ(p->PreviewStrip, 0);
}

}  // namespace
}  // namespace dusk::testing
