#include "scene/animations.h"

#include <cmath>

#include "platform/labels.h"
#include "platform/numbers.h"
#include "platform/system.h"
#include "scene/catalogue.h"
#include "scene/motion.h"

namespace dusk {
namespace {

void SetUp(Stage& p, CreatureState& r, int width, int height, int frames, int frame, int x, int y,
           const char* file, bool check = true) {
  r.Width = width;
  r.Height = height;
  r.FrameCount = frames;
  r.Frame = frame;
  r.X = x;
  r.Y = y;
  if (file) {
    r.FileName = file;
    if (check) r.FileFound = VbBool(FileInstallCheck(p, p.DataDir + r.FileName));
  }
}

// The sheet column of the record's current frame and facing.
Int32 SourceX(const CreatureState& r) { return Int16(r.Frame * r.Width) + r.SrcX; }

void ImagePassOnly(Stage& p, const CreatureState& r, int32_t picture) {
  p.surfaces.BitBlt(p.BackBuffer, r.X, r.Y, r.Width, r.Height, picture, SourceX(r), 0, Rop::kSrcPaint);
}

// The next random number, the generator first re-seeded from the clock when `reseed`.
double Random(Stage& p, bool reseed) {
  if (reseed) p.Rnd.Seed(p.os.ClockSeconds());
  return p.Rnd.Next();
}

}  // namespace

void SetUpSprite(Stage& p, CreatureState& r, const SpriteSheet& sheet, int frame, int x, int y, bool check) {
  SetUp(p, r, sheet.width, sheet.height, sheet.frames, frame, x, y, sheet.file, check);
}

// One of a group's records (fireflies, bats) on a random frame of the group's sheet.
void SetUpGroupMember(Stage& p, CreatureState& r, const SpriteSheet& sheet) {
  r.SrcX = 0;
  r.SrcY = 0;
  SetUp(p, r, sheet.width, sheet.height, sheet.frames, 0, r.X, r.Y, nullptr);
  r.Frame = static_cast<int>(std::floor(r.FrameCount * Random(p, true)));
}

// Each firefly on a random frame, going a random way from a random place.
void SetUp_FireFlies(Stage& p) {
  Scene& s = p.scene;
  for (int i = 1; i <= 15; ++i) {
    CreatureState& f = s.FireFlies[i];
    SetUpGroupMember(p, f, sheet::kFirefly);
    f.StepX = static_cast<int>(std::floor(5 * Random(p, false) - 2));
    if (f.StepX == 0) f.StepX = -2;
    f.StepY = static_cast<int>(std::floor(5 * Random(p, true) - 2));
    if (f.StepY == 0) f.StepY = 2;
    f.X = static_cast<int>(std::floor(801 * Random(p, true)));
    f.Y = static_cast<int>(std::floor(401 * Random(p, true)));
  }
  s.FireFlies[1].FileName = sheet::kFirefly.file;
  s.FireFlies[1].FileFound = VbBool(FileInstallCheck(p, p.DataDir + s.FireFlies[1].FileName));
}

// Each bat starts on a frame of its right-facing run, so no bat shows the other facing first.
void SetUp_Bats(Stage& p) {
  Scene& s = p.scene;
  for (int i = 1; i <= 6; ++i) {
    CreatureState& b = s.Bats[i];
    SetUpGroupMember(p, b, sheet::kBat);
    b.StepX = 3;
    b.StepY = 1;
    b.X = static_cast<int>(std::floor(801 * Random(p, true)));
    b.Y = static_cast<int>(std::floor(41 * Random(p, false) + s.BackMid1.Y));
  }
  s.Bats[1].FileName = sheet::kBat.file;
  s.Bats[1].FileFound = VbBool(FileInstallCheck(p, p.DataDir + s.Bats[1].FileName));
}

void Properties_Creatures(Stage& p) {
  Guarded(p, label::kPropertiesCreatures, [&] {
    Scene& s = p.scene;
    const int W = p.ScreenWidth;
    const bool narrow = W < 800;

    SetUpSprite(p, s.BackTop, sheet::kBackTop, 0, 0, 0, false);
    SetUpSprite(p, s.BackMid1, sheet::kBackMid1, 0, 0, s.BackTop.Height, false);
    SetUpSprite(p, s.BackMid2, sheet::kBackMid2, 0, 0, s.BackTop.Height, false);
    SetUpSprite(p, s.BackMid3, sheet::kBackMid3, 0, 0, s.BackTop.Height, false);
    SetUpSprite(p, s.BackBottom, sheet::kBackBottom, 0, 0, s.BackTop.Height + s.BackMid1.Height, false);

    // On a narrow screen only the right-hand part of the scene shows: the tombstones move into it,
    // and the third one, which would stand on top of the second, is put out of sight.
    SetUpSprite(p, s.Tomb1, sheet::kTomb1, 0, narrow ? 800 - W + 15 : 15, 400);
    SetUpSprite(p, s.Tomb2, sheet::kTomb2, 0, narrow ? RoundToInt32((800 - W) + W / 2.0 - 38.5) : 250, 450);
    SetUp(p, s.Tomb3, sheet::kTomb2.width, sheet::kTomb2.height, 1, 0, narrow ? 2 * W : 473, 450, nullptr);
    SetUpSprite(p, s.Tomb4, sheet::kTomb4, 0, 688, 400);

    for (const CreatureEntry* c : CreaturesBySetUp()) c->setUp(p);
  });
}

void DrawSpriteFrom(Stage& p, const CreatureState& r, int32_t picture) {
  const Int32 sx = SourceX(r);
  p.surfaces.BitBlt(p.BackBuffer, r.X, r.Y, r.Width, r.Height, picture, sx, r.Height, Rop::kSrcAnd);
  p.surfaces.BitBlt(p.BackBuffer, r.X, r.Y, r.Width, r.Height, picture, sx, 0, Rop::kSrcPaint);
}

void DrawSprite(Stage& p, const CreatureState& r) { DrawSpriteFrom(p, r, r.Picture); }

void Anim_FarTombStones(Stage& p) {
  Guarded(p, label::kAnimFarTombStones, [&] {
    DrawSpriteFrom(p, p.scene.Tomb2, p.scene.Tomb2.Picture);
    DrawSpriteFrom(p, p.scene.Tomb3, p.scene.Tomb2.Picture);
  });
}

void Anim_CloseTombStones(Stage& p) {
  Guarded(p, label::kAnimCloseTombStones, [&] {
    DrawSprite(p, p.scene.Tomb1);
    DrawSprite(p, p.scene.Tomb4);
  });
}

void Anim_Still_Loop(Stage& p, CreatureState& r) {
  Guarded(p, label::kAnimStillLoop, [&] {
    DrawSprite(p, r);
    NextFrame(r);
  });
}

void Anim_Crow1(Stage& p, CreatureState& r) {
  Guarded(p, label::kAnimCrow1, [&] {
    DrawSprite(p, r);
    switch (p.scene.ShortTick) {
      case 5: case 25: case 35: r.Frame = 2; break;
      case 6: case 26: case 36: r.Frame = 3; break;
      case 11: r.Frame = 4; break;
      case 12:
        r.Frame = 5;  // the caw
        PlaySoundEffect(p, 3);
        break;
      case 18: r.Frame = 0; break;
      case 19: r.Frame = 1; break;
      default: break;
    }
  });
}

void Anim_Crow2(Stage& p) {
  Guarded(p, label::kAnimCrow2, [&] {
    DrawSprite(p, p.scene.Crow2);
    NextFrame(p.scene.Crow2);
  });
}

void Anim_GraveDigger(Stage& p) {
  Guarded(p, label::kAnimGraveDigger, [&] {
    DrawSprite(p, p.scene.GraveDigger);
    NextFrame(p.scene.GraveDigger);
  });
}

void Anim_BloodDrip(Stage& p) {
  Guarded(p, label::kAnimBloodDrip, [&] {
    CreatureState& r = p.scene.BloodDrip;
    DrawSprite(p, r);
    NextFrame(r);
    if (r.Frame == 4) PlaySoundEffect(p, 1);  // the drop lands
  });
}

void Anim_Hand(Stage& p) {
  Guarded(p, label::kAnimHand, [&] {
    CreatureState& r = p.scene.Hand;
    DrawSprite(p, r);
    const int t = p.scene.LongTick;
    if (Within(t, 30, 45) || Within(t, 500, 515)) r.Frame += 1;
    else if (Within(t, 80, 95) || Within(t, 550, 565)) r.Frame -= 1;
  });
}

void Anim_Medallion(Stage& p) {
  Guarded(p, label::kAnimMedallion, [&] {
    CreatureState& r = p.scene.Medallion;
    DrawSprite(p, r);
    switch (p.scene.MediumTick) {
      case 40: case 41: case 44: case 45: case 48: case 49: r.Frame += 1; break;
      case 42: case 43: case 46: case 47: case 50: case 51: r.Frame -= 1; break;
      default: r.Frame = 0;
    }
  });
}

void Anim_Owl(Stage& p) {
  Guarded(p, label::kAnimOwl, [&] {
    CreatureState& r = p.scene.Owl;
    // Opaque: the owl's frames carry the branch behind it.
    p.surfaces.BitBlt(p.BackBuffer, r.X, r.Y, r.Width, r.Height, r.Picture, SourceX(r), 0, Rop::kSrcCopy);
    const int t = p.scene.MediumTick;
    if (Within(t, 70, 74)) {
      r.Frame += 1;
      if (r.Frame == 5) PlaySoundEffect(p, 4);  // eyes wide open
    } else if (Within(t, 90, 94)) {
      r.Frame -= 1;
    }
  });
}

void Anim_Spider(Stage& p) {
  Guarded(p, label::kAnimSpider, [&] {
    CreatureState& r = p.scene.Spider;
    DrawSprite(p, r);
    DrawSpiderThread(p, r);
    const int t = p.scene.LongTick;
    r.StepY = Within(t, 30, 60) ? 8 : Within(t, 90, 120) ? -8 : 0;
    r.Y = r.Y + r.StepY;
  });
}

void Anim_Lightning(Stage& p) {
  Guarded(p, label::kAnimLightning, [&] {
    Scene& s = p.scene;
    DrawSprite(p, s.Lightning[1]);
    DrawSprite(p, s.Lightning[2]);
    const int t = s.MediumTick;
    switch (t) {
      case 30: PlaySoundEffect(p, 2); break;
      case 33: case 34: case 43: case 44: s.Lightning[1].Frame += 1; break;
      case 35: case 36: s.Lightning[1].Frame -= 1; break;
      default: s.Lightning[1].Frame = -1;
    }
    switch (t) {
      case 78: PlaySoundEffect(p, 2); break;
      case 80: case 81: case 90: case 91: s.Lightning[2].Frame += 1; break;
      case 82: case 83: s.Lightning[2].Frame -= 1; break;
      default: s.Lightning[2].Frame = -1;
    }
  });
}

void Anim_BouncingPumpkin(Stage& p) {
  Guarded(p, label::kAnimBouncingPumpkin, [&] {
    CreatureState& r = p.scene.Pumpkin;
    DrawSprite(p, r);
    StepAndMove(r);
    if (r.X < p.SceneLeftLimit || r.X > p.SceneRightLimit) r.StepX = -r.StepX;
  });
}

void Anim_Skeleton1(Stage& p) {
  Guarded(p, label::kAnimSkeleton1, [&] {
    CreatureState& r = p.scene.Skeleton1;
    DrawSprite(p, r);
    StepAndMove(r);
    if (r.X > 2 * p.SceneRightLimit) r.X = p.SceneLeftLimit;
    // A footfall is heard only while the skeleton is on the scene.
    if ((r.Frame == 4 || r.Frame == 9) && r.X > -r.Width && r.X < 800) PlaySoundEffect(p, 5);
  });
}

void Anim_Skeleton2(Stage& p) {
  Guarded(p, label::kAnimSkeleton2, [&] {
    CreatureState& r = p.scene.Skeleton2;
    DrawSprite(p, r);
    StepAndMove(r);
    if (r.X < 3 * p.SceneLeftLimit) TurnAround(r, 540);
    else if (r.X > 3 * p.SceneRightLimit) TurnAround(r, 0);
  });
}

void Anim_Zombie(Stage& p) {
  Guarded(p, label::kAnimZombie, [&] {
    CreatureState& r = p.scene.Zombie;
    DrawSprite(p, r);
    StepAndMove(r);
    if (r.X < 180) r.X = p.SceneRightLimit;
  });
}

void Anim_Watchman(Stage& p) {
  Guarded(p, label::kAnimWatchman, [&] {
    CreatureState& r = p.scene.Watchman;
    ImagePassOnly(p, r, r.Picture);  // the spirit glows over the scene
    StepAndMove(r);
    if (r.X < p.SceneLeftLimit) r.X = p.SceneRightLimit;
  });
}

void Anim_Dove(Stage& p) {
  Guarded(p, label::kAnimDove, [&] {
    CreatureState& r = p.scene.Dove;
    DrawSprite(p, r);
    StepAndMove(r);
    if (r.X > p.SceneRightLimit) TurnAround(r, 0);
    else if (r.X < p.SceneLeftLimit) TurnAround(r, 216);
  });
}

void Anim_Scorpion(Stage& p) {
  Guarded(p, label::kAnimScorpion, [&] {
    CreatureState& r = p.scene.Scorpion;
    DrawSprite(p, r);
    StepAndMove(r);
    if (r.Y > 2 * p.SceneFarLimit) {
      r.X = 700;
      r.Y = 500;
    }
  });
}

void Anim_Rat(Stage& p, Int16& ratIndex) {
  Guarded(p, label::kAnimRat, [&] {
    CreatureState& r = p.scene.Rats[ratIndex];
    DrawSprite(p, r);
    StepAndMove(r);
    if (r.X > p.SceneRightLimit) TurnAround(r, ratIndex == 1 ? 325 : 225);
    else if (r.X < p.SceneLeftLimit) TurnAround(r, 0);
  });
}

void Anim_Bat(Stage& p) {
  Guarded(p, label::kAnimBat, [&] {
    Scene& s = p.scene;
    for (int i = 1; i <= 6; ++i) {
      CreatureState& b = s.Bats[i];
      DrawSpriteFrom(p, b, s.Bats[1].Picture);
      StepAndMove(b);
      if (b.X > p.SceneRightLimit) TurnAround(b, b.Width * b.FrameCount);
      else if (b.X < p.SceneLeftLimit) TurnAround(b, 0);
      // Bats stay in the far band, turning one pixel outside it.
      if (b.Y > s.BackMid1.Y + 40 || b.Y < s.BackMid1.Y) b.StepY = -b.StepY;
    }
  });
}

void Anim_FireFly(Stage& p) {
  Guarded(p, label::kAnimFireFly, [&] {
    Scene& s = p.scene;
    for (int i = 1; i <= 15; ++i) {
      CreatureState& f = s.FireFlies[i];
      ImagePassOnly(p, f, s.FireFlies[1].Picture);
      StepAndMove(f);
      if (f.X > p.SceneRightLimit || f.X < p.SceneLeftLimit) f.StepX = -f.StepX;
      if (f.Y < p.SceneTopLimit || f.Y > 400) f.StepY = -f.StepY;
    }
  });
}

}  // namespace dusk
