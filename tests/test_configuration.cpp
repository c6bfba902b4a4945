// The settings dialog: loading the controls, Apply and Cancel, the live previews and the audition.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/numbers.h"
#include "platform/text.h"
#include "scene/animations.h"
#include "settings_dialog/configuration.h"
#include "startup/starter.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

class Dialog : public ProgramTest {
 protected:
  Dialog() { WriteAllPictures(); }
  void Open(const std::string& ini = "") {
    if (!ini.empty()) WriteText("tarnix.ini", ini);
    NewProcess();
    ASSERT_EQ(RunMain("/c"), -1);
    ASSERT_TRUE(p->configuration);
    os->calls.clear();
    os->mci.clear();
  }
  Configuration& D() { return *p->configuration; }
  std::vector<std::string> Writes() {
    std::vector<std::string> w;
    for (const std::string& c : os->calls)
      if (c.rfind("WriteProfileString ", 0) == 0) w.push_back(c.substr(19));
    return w;
  }
};

TEST_F(Dialog, OpensWithTheSettingsInItsControls) {
  Open("[Duskhollow]\r\nfirstrun=1\r\nowl=1\r\nbat=1\r\nspeed=25\r\nsong3=1\r\nsound7=1\r\n"
       "messagetext=Happy haunting\r\nclock=1\r\n");
  EXPECT_EQ(D().Row("owl")->Check.Value, 1);
  EXPECT_EQ(D().Row("bat")->Check.Value, 1);
  EXPECT_EQ(D().Row("zombie")->Check.Value, 0);
  EXPECT_EQ(D().speedchk.Value, 115);
  EXPECT_EQ(D().songchk[3].Check.Value, 1);
  EXPECT_EQ(D().songchk[0].Check.Value, 0);
  EXPECT_EQ(D().soundchk[7].Check.Value, 1);
  EXPECT_EQ(D().Text1, "Happy haunting");
  EXPECT_EQ(D().clockcheck.Value, 1);
  EXPECT_EQ(D().Tabs, 0);
  // Centred on the screen, in twips.
  EXPECT_EQ(D().Geometry.left, (800 * 15 - 7680) / 2.0);
  EXPECT_EQ(D().Geometry.top, (600 * 15 - 4200) / 2.0);
  // The dialog's own back buffer has the screen's size.
  EXPECT_EQ(p->surfaces.Find(p->BackBuffer)->width, 800);
}

TEST_F(Dialog, TheRowsCarryTheirCaptionsKeysAndPlaces) {
  Open();
  ASSERT_EQ(D().Creatures.size(), 20u);
  const CreatureRow& owl = *D().Row("owl");
  EXPECT_EQ(owl.Check.Caption, "Stalking Owl");
  EXPECT_EQ(owl.Check.Name, "CheckOwl");
  EXPECT_EQ(owl.Record, &p->scene.Owl);
  EXPECT_EQ(owl.PreviewButton, "Picture8");
  EXPECT_EQ(owl.Check.Page, 0);
  EXPECT_EQ(owl.Check.Place.left, 240 + 2160);  // right column
  EXPECT_EQ(owl.Check.Place.top, 510 + 1320);   // third row
  EXPECT_EQ(owl.ButtonPlace.left, 240 + 3480);
  EXPECT_EQ(D().Row("blooddrip")->PreviewButton, "v");
  EXPECT_EQ(D().Row("spider")->Check.Page, 1);
  EXPECT_EQ(D().songchk[11].Check.Caption, "GhostBusters");
  EXPECT_EQ(D().soundchk[6].Check.Caption, "WereWolf");
  EXPECT_EQ(D().soundchk[7].Check.Caption, "Laugh II");
  EXPECT_EQ(D().clockcheck.ToolTip, "Include A  Digital Clock On-Screen");
}

TEST_F(Dialog, ACreatureWhosePictureIsMissingOpensUntickedAndIsWrittenOff) {
  std::filesystem::remove(windir / "Duskhollow" / "h_owl.bmp");
  Open("[Duskhollow]\r\nfirstrun=1\r\nowl=1\r\n");
  EXPECT_EQ(D().Row("owl")->Check.Value, 0);
  EndCode([&] { D().Command2_Click(); });
  EXPECT_NE(std::find(Writes().begin(), Writes().end(), "owl= 0"), Writes().end());
}

TEST_F(Dialog, ApplyWritesEveryKeyInOrderWithTheirValueTexts) {
  Open();  // first run: the defaults
  D().Row("spider")->Check.Value = 1;
  D().speedchk.Value = 70;
  EXPECT_EQ(D().Text1MaxLength, 127u);  // the message box takes what the saver keeps, and no more
  D().Text1 = "Boo!";
  EXPECT_EQ(EndCode([&] { D().Command2_Click(); }), 0);
  std::vector<std::string> expected = {"firstrun=1"};
  for (const char* key : {"bat", "blooddrip", "bouncingpumpkin", "crow1", "crow2", "dove", "firefly", "flower",
                          "gravedigger", "hand", "lightning", "medallion", "owl", "rat", "scorpion",
                          "skeleton1", "skeleton2", "spider", "watchman", "zombie"}) {
    const bool on = std::string(key) != "bouncingpumpkin" && std::string(key) != "dove" &&
                    std::string(key) != "firefly" && std::string(key) != "hand" &&
                    std::string(key) != "medallion" && std::string(key) != "scorpion" &&
                    std::string(key) != "skeleton2";
    expected.push_back(std::string(key) + "=" + (on ? " 1" : " 0"));
  }
  expected.push_back("speed= 70");
  for (int i = 0; i <= 11; ++i) expected.push_back("song" + std::to_string(i) + "=" + (i == 0 ? " 1" : " 0"));
  for (int i = 0; i <= 11; ++i)
    expected.push_back("sound" + std::to_string(i) + "=" + (i == 3 || i == 5 ? " 0" : " 1"));
  expected.push_back("messagetext=Boo!");
  expected.push_back("clock= 0");
  expected.push_back("monitors= 1");
  expected.push_back("proportions= 0");
  EXPECT_EQ(Writes(), expected);
  // And the next start reads back what was written.
  NewProcess();
  X_GetData(*p);
  EXPECT_EQ(p->scene.Spider.Enabled, kTrue);
  EXPECT_EQ(p->settings.Speed, 70);
  EXPECT_EQ(p->settings.MessageText, "Boo!");
}

TEST_F(Dialog, TheSpeedIsWrittenFromTheThumb) {
  const std::pair<int, const char*> cases[] = {{140, "speed=1"}, {139, "speed= 1"}, {0, "speed= 140"}, {70, "speed= 70"}};
  for (auto [value, text] : cases) {
    Open();
    D().speedchk.Value = value;
    EndCode([&] { D().Command2_Click(); });
    const auto w = Writes();
    EXPECT_NE(std::find(w.begin(), w.end(), text), w.end()) << value;
  }
}

TEST_F(Dialog, AStoredSpeedOutsideTheBarPutsTheThumbAtTheNearestEnd) {
  for (auto [stored, thumb] : std::initializer_list<std::pair<const char*, int>>{
           {"-1", 140}, {"500", 0}, {"-32768", 140}, {"32767", 0}, {"0", 140}, {"99999", 0}, {"-99999", 140}, {"1e999", 0}}) {
    Open("[Duskhollow]\r\nfirstrun=1\r\nspeed=" + std::string(stored) + "\r\n");
    EXPECT_EQ(D().speedchk.Value, thumb) << stored;
    EXPECT_TRUE(os->messages.empty());
    EndCode([&] { D().Command2_Click(); });
    NewProcess();
    X_GetData(*p);
    EXPECT_GE(p->settings.Speed, 1) << stored;  // Apply repaired it
    EXPECT_LE(p->settings.Speed, 140) << stored;
  }
}

TEST_F(Dialog, AnEmptyMessageIsWrittenEmpty) {
  Open("[Duskhollow]\r\nfirstrun=1\r\nmessagetext=old\r\n");
  D().Text1 = "";
  EndCode([&] { D().Command2_Click(); });
  const auto w = Writes();
  EXPECT_NE(std::find(w.begin(), w.end(), "messagetext="), w.end());
}

TEST_F(Dialog, CancelAndTheCloseBoxWriteNothing) {
  const std::string ini = "; mine\r\n[Duskhollow]\r\nfirstrun=1\r\nowl=1\r\n\r\n[Other]\r\nx=1\r\n";
  Open(ini);
  D().Row("owl")->Check.Value = 0;
  EXPECT_EQ(EndCode([&] { D().Command1_Click(); }), 0);
  EXPECT_EQ(ReadText("tarnix.ini"), ini);
  Open(ini);
  EXPECT_EQ(EndCode([&] { D().Form_Unload(); }), 0);
  EXPECT_EQ(ReadText("tarnix.ini"), ini);
  EXPECT_TRUE(Writes().empty());
}

// --- where the settings are kept ---

constexpr const char* kUserFile = "C:\\Users\\Тимофей\\AppData\\Roaming\\Duskhollow\\tarnix.ini";

TEST_F(Dialog, ARefusedWindowsFileMovesTheSettingsIntoTheUsersOwnCopy) {
  const std::string ini = "; by the administrator\r\n[Duskhollow]\r\nfirstrun=1\r\nowl=1\r\n[Other]\r\nx=1\r\n";
  Open(ini);
  os->readOnlyFiles = {"tarnix.ini"};
  D().Row("owl")->Check.Value = 0;
  D().proportionscheck.Value = 1;
  EXPECT_EQ(EndCode([&] { D().Command2_Click(); }), 0);
  EXPECT_TRUE(os->messages.empty());
  EXPECT_EQ(ReadText("tarnix.ini"), ini);  // untouched
  const std::string mine = ReadText("profile/Duskhollow/tarnix.ini");
  EXPECT_EQ(mine.rfind("; by the administrator", 0), 0u);  // made from the Windows directory's file
  EXPECT_NE(mine.find("[Other]\r\nx=1"), std::string::npos);
  EXPECT_NE(mine.find("owl= 0"), std::string::npos);
  EXPECT_NE(mine.find("proportions= 1"), std::string::npos);

  // From now on the user's copy is read first and written, even where the Windows file would take it.
  NewProcess();
  GetDiectories(*p);
  X_GetData(*p);
  EXPECT_EQ(p->SettingsFile, kUserFile);
  EXPECT_EQ(p->scene.Owl.Enabled, kFalse);
  EXPECT_EQ(p->settings.KeepProportions, kTrue);
  Open();
  D().Text1 = "Привет";
  EXPECT_EQ(EndCode([&] { D().Command2_Click(); }), 0);
  EXPECT_EQ(ReadText("tarnix.ini"), ini);
  NewProcess();
  GetDiectories(*p);
  X_GetData(*p);
  EXPECT_EQ(p->settings.MessageText, "Привет");
}

TEST_F(Dialog, WhenNoFileTakesTheSettingsTheUserIsToldAndNothingChanges) {
  const std::string ini = "[Duskhollow]\r\nfirstrun=1\r\nowl=1\r\n";
  Open(ini);
  os->readOnlyFiles = {"tarnix.ini", Lower(kUserFile)};
  D().Row("owl")->Check.Value = 0;
  EXPECT_EQ(EndCode([&] { D().Command2_Click(); }), -1);  // the dialog stays with the user's choices
  ASSERT_EQ(os->messages.size(), 1u);
  const std::string& box = os->messages[0];
  EXPECT_EQ(box.rfind("Settings Not Saved: Your settings could not be saved.", 0), 0u) << box;
  EXPECT_NE(box.find("C:\\WINDOWS\\tarnix.ini\rAccess is denied"), std::string::npos) << box;
  EXPECT_NE(box.find(std::string(kUserFile) + "\rAccess is denied"), std::string::npos) << box;
  EXPECT_EQ(ReadText("tarnix.ini"), ini);
  EXPECT_FALSE(std::filesystem::exists(windir / "profile" / "Duskhollow" / "tarnix.ini"));
  EXPECT_EQ(D().Row("owl")->Check.Value, 0);
  // Without a folder of the user's own, only the Windows file is named.
  NewProcess();
  os->realUserDataDir.clear();
  os->readOnlyFiles = {"tarnix.ini"};
  ASSERT_EQ(RunMain("/c"), -1);
  EXPECT_EQ(EndCode([&] { p->configuration->Command2_Click(); }), -1);
  ASSERT_EQ(os->messages.size(), 1u);
  EXPECT_EQ(os->messages[0].find("Тимофей"), std::string::npos);
}

TEST_F(Dialog, TheTwoDisplayOptionsReadTheirDefaultsWhenAbsent) {
  Open("[Duskhollow]\r\nfirstrun=1\r\n");
  EXPECT_EQ(D().monitorscheck.Value, 1);
  EXPECT_EQ(D().proportionscheck.Value, 0);
  EXPECT_EQ(D().monitorscheck.Caption, "Show the scene on every monitor");
  EXPECT_EQ(D().proportionscheck.Caption, "Keep the picture's proportions");
  Open("[Duskhollow]\r\nfirstrun=1\r\nmonitors=0\r\nproportions=1\r\n");
  EXPECT_EQ(D().monitorscheck.Value, 0);
  EXPECT_EQ(D().proportionscheck.Value, 1);
}

// --- previews ---

TEST_F(Dialog, BothBoxesLoopTheDefaultPictureCentred) {
  Open();
  D().Timer1_Timer();
  EXPECT_EQ(p->scene.PreviewState1.FileName, "h_preview.bmp");
  EXPECT_EQ(p->scene.PreviewState1.Frame, 1);
  EXPECT_EQ(p->scene.PreviewState1.X, RoundToInt32(D().PreviewPicture.ScaleWidth / 2.0 - 63.5));
  EXPECT_EQ(p->scene.PreviewState2.Frame, 1);
  const Bitmap& image = *p->surfaces.Find(D().PreviewPicture.Image);
  const int cx = D().PreviewPicture.ScaleWidth / 2, cy = D().PreviewPicture.ScaleHeight / 2;
  EXPECT_NE(image.Row(cy)[cx], 0u);  // the strip's frame 0 is drawn in the middle
  EXPECT_EQ(image.Row(0)[0], 0u);
}

TEST_F(Dialog, APreviewButtonChangesOnlyThePreview) {
  Open("[Duskhollow]\r\nfirstrun=1\r\n");
  D().PreviewButton_Click("Picture3");  // the zombie
  EXPECT_EQ(p->scene.PreviewState1.FileName, "h_zombie.bmp");
  EXPECT_GT(p->scene.PreviewState1.Picture, 0);
  EXPECT_EQ(D().Row("zombie")->Check.Value, 0);
  EXPECT_TRUE(Writes().empty());
  D().Timer1_Timer();
  EXPECT_EQ(p->scene.PreviewState1.Frame, 2);  // copied frame 1, then one step
}

TEST_F(Dialog, ThreeBatsShareTheFirstBox) {
  Open();
  D().PreviewPicture.ScaleWidth = 120;
  D().PreviewPicture.ScaleHeight = 90;
  D().PreviewPicture.Image = p->surfaces.AddBlank(120, 90, 0);
  D().PreviewButton_Click("Picture27");
  CreatureState& r = p->scene.PreviewState1;
  EXPECT_EQ(r.FileName, "h_bat_preview.bmp");
  EXPECT_EQ(r.Width, 36);
  EXPECT_EQ(r.Height, 32);
  // A sheet that shows where each copy lands.
  RemoveDC(*p, r.Picture);
  r.Picture = p->surfaces.Add(MakeSheet(36, 32, 8, 0x604020));
  D().Timer1_Timer();
  const Bitmap& image = *p->surfaces.Find(D().PreviewPicture.Image);
  EXPECT_EQ(r.Y, 29);
  EXPECT_NE(image.Row(29)[22], 0u);   // left third at the record's height
  EXPECT_EQ(image.Row(29)[21], 0u);
  EXPECT_NE(image.Row(14)[62], 0u);   // right third, upper
  EXPECT_NE(image.Row(44)[62], 0u);   // right third, lower
  EXPECT_EQ(image.Row(13)[62], 0u);
}

TEST_F(Dialog, TheCrowPreviewCawsSilentlyWithoutAMixer) {
  Open();
  D().PreviewButton_Click("Picture6");
  for (int i = 0; i < 40; ++i) D().Timer1_Timer();  // through the caw at 12
  EXPECT_TRUE(p->sound.effectsPlayed.empty());
  EXPECT_TRUE(os->mixer.empty());
}

TEST_F(Dialog, TheLightningPreviewFlashesOnItsOwnBeat) {
  Open();
  D().PreviewButton_Click("Picture9");
  EXPECT_EQ(p->scene.ShortTick, 0);
  std::vector<int> drawn;  // counter value * 10 + frame, where a frame is drawn
  for (int i = 0; i < 40; ++i) {
    const int frame = p->scene.PreviewState2.Frame;
    D().Timer1_Timer();  // advances the counter first, then draws
    if (frame == 0 || frame == 1) drawn.push_back(p->scene.ShortTick * 10 + frame);
  }
  EXPECT_EQ(drawn, (std::vector<int>{20, 31, 71, 240, 251}));
}

TEST_F(Dialog, TheSpiderDropsFromAboveTheSecondBoxAndClimbsBack) {
  Open();
  D().PreviewButton_Click("Picture10");
  EXPECT_EQ(p->scene.Spider.Y, -93);
  EXPECT_EQ(p->scene.MediumTick, 0);
  EXPECT_EQ(p->scene.Spider.X, RoundToInt32(D().PreviewPicture2.ScaleWidth / 2.0 - 79 / 2.0));
  int lowest = -1000;
  for (int i = 0; i < 100; ++i) {
    D().Timer1_Timer();
    lowest = std::max<int>(lowest, p->scene.Spider.Y);
    if (p->scene.MediumTick >= 21 && p->scene.MediumTick <= 60) {
      ASSERT_EQ(p->scene.Spider.Y, -93 + 160);
    }
  }
  EXPECT_EQ(lowest, 67);
  EXPECT_EQ(p->scene.Spider.Y, -93);
}

TEST_F(Dialog, FirefliesScatterAndBounceInsideTheirBox) {
  Open();
  std::vector<int> stepsBefore;
  for (int n = 1; n <= 8; ++n) stepsBefore.push_back(p->scene.FireFlies[n].StepX);
  D().PreviewButton_Click("Picture16");
  const int W = D().PreviewPicture2.ScaleWidth, H = D().PreviewPicture2.ScaleHeight;
  for (int n = 1; n <= 8; ++n) {
    const CreatureState& f = p->scene.FireFlies[n];
    EXPECT_GE(f.X, 0);
    EXPECT_LE(f.X, W - 24);
    EXPECT_GE(f.Y, 0);
    EXPECT_LE(f.Y, H - 23);
    EXPECT_EQ(f.StepX, n >= 5 ? -stepsBefore[n - 1] : stepsBefore[n - 1]) << n;
  }
  EXPECT_GT(p->scene.FireFlies[1].Picture, 0);
  for (int i = 0; i < 500; ++i) {
    D().Timer1_Timer();
    for (int n = 1; n <= 8; ++n) {
      const CreatureState& f = p->scene.FireFlies[n];
      ASSERT_GE(f.X, -2);
      ASSERT_LE(f.X, W - 25 + 2);
      ASSERT_GE(f.Y, -2);
      ASSERT_LE(f.Y, H - 24 + 2);
    }
  }
}

// A few rounds of every button prove that each replaced preview surface is released.
TEST_F(Dialog, ClickingPreviewsOverAndOverDoesNotPileUpSurfaces) {
  Open();
  D().PreviewButton_Click("Picture16");
  D().PreviewButton_Click("Picture10");
  const size_t live = p->surfaces.LiveCount();
  for (int i = 0; i < 5; ++i) {
    for (const CreatureRow& row : D().Creatures) D().PreviewButton_Click(row.PreviewButton);
    D().PreviewButton_Click("Picture16");
    D().PreviewButton_Click("Picture10");
  }
  EXPECT_EQ(p->surfaces.LiveCount(), live);
}

// --- audition ---

TEST_F(Dialog, ASongClickClosesWhateverPlaysThenOpensAndPlaysTheSlot) {
  WriteFile("Duskhollow/h_song5.Mid", {'M', 'T', 'h', 'd'});
  Open();
  D().speaker_Click(5);
  EXPECT_EQ(os->mci, (std::vector<std::string>{
                         "status song1 mode", "status song1 mode",
                         "open \"C:\\WINDOWS\\Duskhollow\\h_song5.Mid\" type sequencer alias song1",
                         "play song1 from 40"}));
  EXPECT_EQ(os->soundsPlayed, (std::vector<std::string>{"name 0 flags 2"}));
  os->mci.clear();
  D().speaker_Click(5);  // the same song again: stop, close, reopen, restart
  EXPECT_EQ(os->mci, (std::vector<std::string>{
                         "status song1 mode", "stop song1", "status song1 mode", "close song1",
                         "open \"C:\\WINDOWS\\Duskhollow\\h_song5.Mid\" type sequencer alias song1",
                         "play song1 from 40"}));
}

TEST_F(Dialog, EachSlotStartsWhereItsMusicIs) {
  Open();
  const std::pair<int, const char*> starts[] = {{0, "play song1 from 0"}, {5, "play song1 from 40"},
                                                {10, "play song1 from 170"}, {11, "play song1 from 80"},
                                                {3, "play song1 from 0"}};
  for (auto [slot, play] : starts) {
    os->mci.clear();
    D().speaker_Click(static_cast<int16_t>(slot));
    EXPECT_EQ(os->mci.back(), play);
  }
}

TEST_F(Dialog, AnEffectPlaysFromMemoryAndLeavingTheSoundsPageStopsOnlyTheSong) {
  WriteFile("Duskhollow/h_song0.Mid", {'M', 'T', 'h', 'd'});
  WriteFile("Duskhollow/h_sound4.wav", std::vector<uint8_t>(1000, 7));
  Open();
  D().speaker_Click(0);
  D().fxspeaker_Click(4);
  EXPECT_EQ(os->soundsPlayed.back(), "memory 1000 bytes flags 5");
  EXPECT_NE(std::find(os->mci.begin(), os->mci.end(), "close song1"), os->mci.end());  // the effect closed the song
  D().speaker_Click(0);
  os->mci.clear();
  const size_t sounds = os->soundsPlayed.size();
  D().Tabs = 3;
  D().Tabs_Click(2);
  EXPECT_EQ(os->mci, (std::vector<std::string>{"status song1 mode", "stop song1", "status song1 mode", "close song1"}));
  EXPECT_EQ(os->soundsPlayed.size(), sounds);  // the effect is not silenced
  os->mci.clear();
  D().Tabs = 2;
  D().Tabs_Click(3);
  EXPECT_TRUE(os->mci.empty());
  // Only the four other pages close the song: an index beyond them leaves it playing.
  for (int tab : {-1, 5}) {
    D().Tabs = tab;
    D().Tabs_Click(2);
    EXPECT_TRUE(os->mci.empty()) << tab;
  }
}

TEST_F(Dialog, AMissingEffectIsSilenceNotTheEndOfTheDialog) {
  Open();
  D().Row("owl")->Check.Value = 0;  // an unsaved change
  EXPECT_EQ(EndCode([&] { D().fxspeaker_Click(9); }), -1);
  EXPECT_EQ(os->soundsPlayed, (std::vector<std::string>{"name 0 flags 2"}));
  EXPECT_TRUE(os->messages.empty());
  EXPECT_EQ(D().Row("owl")->Check.Value, 0);
}

TEST_F(Dialog, LoadingAMissingSoundIsStillFileNotFound) {
  Open();
  EXPECT_EQ(EndCode([&] { LoadSound(*p, p->DataDir + "h_sound9.wav"); }), 1);
  ASSERT_EQ(os->messages.size(), 1u);
  EXPECT_NE(os->messages[0].find("Dusk- 53-"), std::string::npos);
  EXPECT_NE(os->messages[0].find("System/LoadSound"), std::string::npos);
}

TEST_F(Dialog, ClosingTheDialogSilencesTheAudition) {
  Open();
  EndCode([&] { D().Command1_Click(); });
  EXPECT_EQ(os->soundsPlayed.back(), "name 0 flags 2");
  EXPECT_EQ(p->ErrorStep, "14");
  EXPECT_EQ(p->surfaces.LiveCount(), 2u);  // only the two boxes' own images are left
}

}  // namespace
}  // namespace dusk::testing
