// The scene: start values, the masked draw and layer order, and every creature's script.
#include <gtest/gtest.h>

#include "saver/screensaver.h"
#include "scene/animations.h"
#include "startup/starter.h"
#include "tests/fixture.h"

namespace dusk::testing {
namespace {

class SceneTest : public ProgramTest {
 protected:
  // The program set up for a screen, without running a mode.
  void SetUpScene(int w, int h) {
    os->screenWidth = w;
    os->screenHeight = h;
    p->ScreenWidth = w;
    p->ScreenHeight = h;
    SetSceneLimits(*p);
    GetDiectories(*p);
    Properties_Creatures(*p);
    p->BackBuffer = p->surfaces.AddBlank(800, 600, 0);
    p->sound.SoundAvailable = kTrue;  // as if the saver had opened its mixer
  }
  Scene& S() { return p->scene; }
  uint32_t Pixel(int x, int y) { return p->surfaces.Find(p->BackBuffer)->Row(y)[x]; }
};

TEST_F(SceneTest, StartPositionsOnTheThreeCommonScreens) {
  SetUpScene(800, 600);
  EXPECT_EQ(S().Tomb1.X, 15);
  EXPECT_EQ(S().Tomb2.X, 250);
  EXPECT_EQ(S().Tomb3.X, 473);
  EXPECT_EQ(S().Watchman.X, 400);
  EXPECT_EQ(S().Watchman.Y, 378);
  EXPECT_EQ(S().Pumpkin.X, 377);
  EXPECT_EQ(S().Pumpkin.Y, 448);
  EXPECT_EQ(S().Spider.Y, -93);
  EXPECT_EQ(S().Crow1.X, 66);
  EXPECT_EQ(S().Crow2.X, 100);
  EXPECT_EQ(S().BloodDrip.X, -5);
  EXPECT_EQ(S().BloodDrip.Y, 483);
  EXPECT_EQ(S().Medallion.X, 706);
  EXPECT_EQ(S().Medallion.Y, 450);
  EXPECT_EQ(S().Skeleton2.Y, 386);
  EXPECT_EQ(S().Zombie.Y, 387);
  EXPECT_EQ(S().Dove.Y, 315);
  EXPECT_EQ(S().BackBottom.Y, 447);
  EXPECT_EQ(S().Rats[2].SrcX, 225);
  EXPECT_EQ(S().Lightning[1].Frame, -1);

  SetUpScene(640, 480);
  EXPECT_EQ(S().Tomb1.X, 175);
  EXPECT_EQ(S().Tomb2.X, 442);  // 441.5 to the even neighbour
  EXPECT_EQ(S().Watchman.X, 320);
  EXPECT_EQ(S().Pumpkin.X, 297);
  EXPECT_EQ(S().Spider.Y, 27);
  EXPECT_EQ(S().Crow1.X, 226);
  EXPECT_GE(S().Tomb3.X, 800);  // out of the visible part

  SetUpScene(1024, 768);
  EXPECT_EQ(S().Tomb1.X, 15);
  EXPECT_EQ(S().Spider.Y, -93);
  EXPECT_EQ(S().Watchman.X, 512);
  EXPECT_EQ(S().Pumpkin.X, 489);
}

TEST_F(SceneTest, BatsAndFirefliesAreScatteredWithinTheirRanges) {
  for (double clock : {0.0, 12345.678, 86399.99}) {
    NewProcess();
    os->clockSeconds = clock;
    SetUpScene(800, 600);
    for (int i = 1; i <= 15; ++i) {
      const CreatureState& f = S().FireFlies[i];
      EXPECT_NE(f.StepX, 0);
      EXPECT_NE(f.StepY, 0);
      EXPECT_GE(f.StepX, -2);
      EXPECT_LE(f.StepX, 2);
      EXPECT_GE(f.StepY, -2);
      EXPECT_LE(f.StepY, 2);
      EXPECT_GE(f.X, 0);
      EXPECT_LE(f.X, 800);
      EXPECT_GE(f.Y, 0);
      EXPECT_LE(f.Y, 400);
      EXPECT_GE(f.Frame, 0);
      EXPECT_LT(f.Frame, 8);
    }
    for (int i = 1; i <= 6; ++i) {
      const CreatureState& b = S().Bats[i];
      EXPECT_GE(b.Y, 315);
      EXPECT_LE(b.Y, 355);
      EXPECT_GE(b.Frame, 0);
      EXPECT_LT(b.Frame, 8);  // a frame of the right-facing run
    }
  }
}

TEST_F(SceneTest, OnlyTheMissingPictureIsNotFound) {
  WriteAllPictures();
  std::filesystem::remove(windir / "Duskhollow" / "h_owl.bmp");
  std::filesystem::rename(windir / "Duskhollow" / "h_Crow2.bmp", windir / "Duskhollow" / "h_crow2.BMP");
  os->hiddenFiles.insert("h_bat.bmp");
  SetUpScene(800, 600);
  EXPECT_EQ(S().Owl.FileFound, kFalse);
  EXPECT_EQ(S().Bats[1].FileFound, kFalse);  // hidden files do not count
  EXPECT_EQ(S().Crow2.FileFound, kTrue);     // names compare without case
  for (const CreatureState* r : {&S().Tomb1, &S().Tomb2, &S().Tomb4, &S().Hand, &S().Spider,
                                 &S().FireFlies[1], &S().Lightning[2], &S().Rats[2]})
    EXPECT_EQ(r->FileFound, kTrue) << r->FileName;
}

TEST_F(SceneTest, TheMaskPunchesAndTheImageFills) {
  SetUpScene(800, 600);
  p->surfaces.BitBlt(p->BackBuffer, 0, 0, 800, 600, 0, 0, 0, Rop::kBlackness);
  Bitmap under = Solid(800, 600, 0x0000FF);
  p->surfaces.BitBlt(p->BackBuffer, 0, 0, 800, 600, p->surfaces.Add(under), 0, 0, Rop::kSrcCopy);
  CreatureState r;
  r.Picture = p->surfaces.Add(MakeSheet(10, 10, 3, 0x400000, 2));
  r.Width = 10;
  r.Height = 10;
  r.FrameCount = 3;
  r.Frame = 2;
  r.X = 100;
  r.Y = 50;
  DrawSprite(*p, r);
  EXPECT_EQ(Pixel(105, 55), 0x400002u);  // frame 2's colour replaces the scene
  EXPECT_EQ(Pixel(100, 50), 0x0000FFu);  // outside the mask the scene shows through
  r.Frame = -1;
  r.X = 200;
  DrawSprite(*p, r);
  EXPECT_EQ(Pixel(205, 55), 0x0000FFu);  // frame -1 draws nothing
}

TEST_F(SceneTest, TheFarRatPassesBehindTheTombstonesAndTheNearRatInFront) {
  WriteAllPictures();
  NewProcess();
  os->windows.clear();
  ASSERT_EQ(RunMain("/s"), -1);
  Scene& s = p->scene;
  const uint32_t tombColour = p->surfaces.Find(s.Tomb2.Picture)->Row(55)[50];
  // Put both rats over the far tombstone at (250, 450).
  s.Rats[2].X = 260;
  s.Rats[1].X = 290;
  s.Rats[1].Y = s.Rats[2].Y = 500;
  const int rat1Frame = s.Rats[1].Frame;
  p->screenSaver->maintimer_Timer();
  // Rat 2 was drawn first and then covered by the tombstone; rat 1 lies on top of it.
  EXPECT_EQ(Pixel(270, 505), tombColour);
  EXPECT_EQ(Pixel(300, 505), p->surfaces.Find(s.Rats[1].Picture)->Row(5)[rat1Frame * 65 + 10]);
  EXPECT_NE(tombColour, p->surfaces.Find(s.Rats[2].Picture)->Row(5)[40]);
}

TEST_F(SceneTest, LightningFlashesTwiceForEachBoltInEveryCycleAndThundersBefore) {
  SetUpScene(800, 600);
  p->settings.SoundOn[2] = kTrue;
  std::vector<int> bolt1, bolt2, thunder;
  for (int t = 0; t <= 100; ++t) {
    p->scene.MediumTick = t;
    const int f1 = p->scene.Lightning[1].Frame, f2 = p->scene.Lightning[2].Frame;
    if (f1 >= 0) bolt1.push_back(t * 10 + f1);
    if (f2 >= 0) bolt2.push_back(t * 10 + f2);
    p->sound.effectsPlayed.clear();
    Anim_Lightning(*p);
    if (!p->sound.effectsPlayed.empty()) thunder.push_back(t);
  }
  EXPECT_EQ(bolt1, (std::vector<int>{340, 351, 360, 440, 451}));
  EXPECT_EQ(bolt2, (std::vector<int>{810, 821, 830, 910, 921}));
  EXPECT_EQ(thunder, (std::vector<int>{30, 78}));
}

TEST_F(SceneTest, ScriptedFramesOverWholeCounterCycles) {
  SetUpScene(800, 600);
  Scene& s = p->scene;
  // The medallion glints up and down three times at 40..51 and rests on frame 0.
  std::vector<int> medallion;
  for (int t = 0; t <= 100; ++t) {
    s.MediumTick = t;
    if (t >= 40 && t <= 51) medallion.push_back(s.Medallion.Frame);
    Anim_Medallion(*p);
    if (t < 40 || t > 52) {
      ASSERT_EQ(s.Medallion.Frame, 0) << t;
    }
  }
  EXPECT_EQ(medallion, (std::vector<int>{0, 1, 2, 1, 0, 1, 2, 1, 0, 1, 2, 1}));

  // The hand rises to frame 16, holds, and sinks back, twice per cycle.
  for (int t = 0; t <= 1000; ++t) {
    s.LongTick = t;
    const int shown = s.Hand.Frame;  // the frame drawn at this counter value
    Anim_Hand(*p);
    if (t == 46 || t == 80 || t == 516 || t == 550) {
      ASSERT_EQ(shown, 16) << t;
    }
    if (t == 96 || t == 500 || t == 566 || t == 1000 || t == 30) {
      ASSERT_EQ(shown, 0) << t;
    }
  }

  // The crow: frame held between the listed counter values, the caw at 12.
  p->settings.SoundOn[3] = kTrue;
  s.Crow1.Frame = 1;
  std::vector<int> crow, caws;
  for (int t = 0; t <= 40; ++t) {
    s.ShortTick = t;
    p->sound.effectsPlayed.clear();
    Anim_Crow1(*p, s.Crow1);
    crow.push_back(s.Crow1.Frame);
    if (!p->sound.effectsPlayed.empty()) caws.push_back(t);
  }
  EXPECT_EQ(crow, (std::vector<int>{1, 1, 1, 1, 1, 2, 3, 3, 3, 3, 3, 4, 5, 5, 5, 5, 5, 5, 0, 1, 1, 1, 1, 1,
                                    1, 2, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2, 3, 3, 3, 3, 3}));
  EXPECT_EQ(caws, (std::vector<int>{12}));

  // The owl opens its eyes to frame 5 (and hoots) and closes them again.
  p->settings.SoundOn[4] = kTrue;
  std::vector<int> hoots;
  for (int t = 0; t <= 100; ++t) {
    s.MediumTick = t;
    p->sound.effectsPlayed.clear();
    Anim_Owl(*p);
    if (!p->sound.effectsPlayed.empty()) hoots.push_back(t);
    if (t == 74) {
      ASSERT_EQ(s.Owl.Frame, 5);
    }
  }
  EXPECT_EQ(s.Owl.Frame, 0);
  EXPECT_EQ(hoots, (std::vector<int>{74}));
}

TEST_F(SceneTest, TheSpiderDescendsOnItsThreadAndClimbsBack) {
  SetUpScene(800, 600);
  Scene& s = p->scene;
  s.Spider.Picture = p->surfaces.Add(MakeSheet(79, 93, 1, 0x303030));
  int deepest = -1000;
  for (int t = 1; t <= 1000; ++t) {
    s.LongTick = t;
    Anim_Spider(*p);
    deepest = std::max<int>(deepest, s.Spider.Y);
  }
  EXPECT_EQ(deepest, 155);
  EXPECT_EQ(s.Spider.Y, -93);
  // At 155 the thread has 156 pixels: rows 0..155 at x + 39.
  p->surfaces.BitBlt(p->BackBuffer, 0, 0, 800, 600, 0, 0, 0, Rop::kBlackness);
  s.Spider.Picture = 0;
  s.Spider.Y = 155;
  s.LongTick = 500;
  Anim_Spider(*p);
  int thread = 0;
  for (int y = 0; y < 600; ++y) thread += Pixel(239, y) == 0x808080;
  EXPECT_EQ(thread, 156);
  s.Spider.Y = -93;
  Anim_Spider(*p);
  EXPECT_EQ(Pixel(239, 0), 0x808080u);  // left from before; nothing new drawn
}

TEST_F(SceneTest, CreaturesTurnAtTheirLimits) {
  SetUpScene(800, 600);
  Scene& s = p->scene;
  Int16 one = 1, two = 2;
  s.Rats[1].X = 1200;
  Anim_Rat(*p, one);
  EXPECT_EQ(s.Rats[1].X, 1210);
  EXPECT_EQ(s.Rats[1].StepX, -10);
  EXPECT_EQ(s.Rats[1].SrcX, 325);
  Anim_Rat(*p, one);
  EXPECT_EQ(s.Rats[1].X, 1200);
  s.Rats[2].X = -400;
  Anim_Rat(*p, two);
  EXPECT_EQ(s.Rats[2].StepX, 8);
  EXPECT_EQ(s.Rats[2].SrcX, 0);

  s.Bats[1].Y = 355;
  s.Bats[1].StepY = 1;
  s.Bats[2].Y = 315;
  s.Bats[2].StepY = -1;
  s.Bats[3].X = 1199;
  s.Bats[3].StepX = 3;
  Anim_Bat(*p);
  EXPECT_EQ(s.Bats[1].Y, 356);
  EXPECT_EQ(s.Bats[1].StepY, -1);
  EXPECT_EQ(s.Bats[2].Y, 314);
  EXPECT_EQ(s.Bats[2].StepY, 1);
  EXPECT_EQ(s.Bats[3].StepX, -3);
  EXPECT_EQ(s.Bats[3].SrcX, 208);

  s.FireFlies[1].Y = 398;
  s.FireFlies[1].StepY = 2;
  s.FireFlies[2].Y = 399;
  s.FireFlies[2].StepY = 2;
  Anim_FireFly(*p);
  EXPECT_EQ(s.FireFlies[1].Y, 400);
  EXPECT_EQ(s.FireFlies[1].StepY, 2);  // exactly 400 keeps going
  EXPECT_EQ(s.FireFlies[2].Y, 401);
  EXPECT_EQ(s.FireFlies[2].StepY, -2);

  int ticks = 0;
  do {
    Anim_Scorpion(*p);
    ++ticks;
  } while (s.Scorpion.Y != 500 && ticks < 5000);  // put back only once it passes 1500
  EXPECT_EQ(ticks, 1001);
  EXPECT_EQ(s.Scorpion.X, 700);
  EXPECT_EQ(s.Scorpion.Y, 500);

  s.Skeleton1.X = 2385;
  Anim_Skeleton1(*p);
  EXPECT_EQ(s.Skeleton1.X, 2400);
  Anim_Skeleton1(*p);
  EXPECT_EQ(s.Skeleton1.X, -400);

  s.Zombie.X = 181;
  Anim_Zombie(*p);
  EXPECT_EQ(s.Zombie.X, 1200);

  s.Dove.X = -399;
  Anim_Dove(*p);
  EXPECT_EQ(s.Dove.StepX, 5);
  EXPECT_EQ(s.Dove.SrcX, 216);

  s.Skeleton2.X = -1195;
  Anim_Skeleton2(*p);
  EXPECT_EQ(s.Skeleton2.SrcX, 540);
  EXPECT_EQ(s.Skeleton2.StepX, 7);

  s.Watchman.X = -398;
  Anim_Watchman(*p);
  EXPECT_EQ(s.Watchman.X, 1200);
}

TEST_F(SceneTest, FootstepsOnlyOnFramesFourAndNineWhileTheSkeletonIsOnTheScene) {
  SetUpScene(800, 600);
  Scene& s = p->scene;
  p->settings.SoundOn[5] = kTrue;
  std::vector<int> steps;
  s.Skeleton1.X = -400;
  s.Skeleton1.Frame = 0;
  for (int t = 0; t < 150; ++t) {  // one walk from -400 to beyond the scene
    p->sound.effectsPlayed.clear();
    Anim_Skeleton1(*p);
    if (!p->sound.effectsPlayed.empty()) {
      EXPECT_TRUE(s.Skeleton1.Frame == 4 || s.Skeleton1.Frame == 9);
      EXPECT_GT(s.Skeleton1.X, -151);
      EXPECT_LT(s.Skeleton1.X, 800);
      steps.push_back(s.Skeleton1.X);
    }
  }
  EXPECT_EQ(steps.size(), 10u);  // 63 ticks on the scene, two footfalls in every 12 frames
  p->settings.SoundOn[5] = kFalse;
  p->sound.effectsPlayed.clear();
  s.Skeleton1.X = 100;
  for (int t = 0; t < 24; ++t) Anim_Skeleton1(*p);
  EXPECT_TRUE(p->sound.effectsPlayed.empty());
}

TEST_F(SceneTest, ABloodDropSoundsOncePerLoopWhenItLands) {
  SetUpScene(800, 600);
  p->settings.SoundOn[1] = kTrue;
  int drops = 0;
  for (int t = 0; t < 14 * 3; ++t) {
    p->sound.effectsPlayed.clear();
    Anim_BloodDrip(*p);
    if (!p->sound.effectsPlayed.empty()) {
      ++drops;
      EXPECT_EQ(p->scene.BloodDrip.Frame, 4);
    }
  }
  EXPECT_EQ(drops, 3);
}

}  // namespace
}  // namespace dusk::testing
