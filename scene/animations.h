// The Animations module: scene set-up, the masked sprite draw and one routine per creature.
#pragma once

#include <cstdint>

#include "scene/records.h"
#include "scene/sprites.h"
#include "scene/stage.h"

namespace dusk {

// Sets up the backdrop, the tombstones and every creature (as the creature table says).
void Properties_Creatures(Stage& p);

// A record set up for its sheet: frame size and count, file (and, when `check`, whether it is
// there), first frame and place.
void SetUpSprite(Stage& p, CreatureState& r, const SpriteSheet& sheet, int frame, int x, int y, bool check = true);
// The groups scattered at random.
void SetUp_FireFlies(Stage& p);
void SetUp_Bats(Stage& p);

// The two-pass masked draw into the back buffer: the mask row punches the shape (AND), the
// image row fills it (OR). `picture` is the sheet to read (a group draws from its element 1).
void DrawSprite(Stage& p, const CreatureState& r);
void DrawSpriteFrom(Stage& p, const CreatureState& r, int32_t picture);

// One frame of the scene into the back buffer: the backdrop, the tombstones and each creature
// that is on, back to front, in the creature table's draw order.
void DrawSceneInOrder(Stage& p);

// Backdrop and tombstones
void Anim_FarTombStones(Stage& p);
void Anim_CloseTombStones(Stage& p);

// Stationary and scripted creatures
void Anim_Still_Loop(Stage& p, CreatureState& r);
void Anim_Crow1(Stage& p, CreatureState& r);
void Anim_Crow2(Stage& p);
void Anim_GraveDigger(Stage& p);
void Anim_BloodDrip(Stage& p);
void Anim_Hand(Stage& p);
void Anim_Medallion(Stage& p);
void Anim_Owl(Stage& p);
void Anim_Spider(Stage& p);
void Anim_Lightning(Stage& p);

// Moving creatures
void Anim_BouncingPumpkin(Stage& p);
void Anim_Skeleton1(Stage& p);
void Anim_Skeleton2(Stage& p);
void Anim_Zombie(Stage& p);
void Anim_Watchman(Stage& p);
void Anim_Dove(Stage& p);
void Anim_Scorpion(Stage& p);
void Anim_Rat(Stage& p, Int16& ratIndex);
void Anim_Bat(Stage& p);
void Anim_FireFly(Stage& p);

}  // namespace dusk

namespace dusk {

// The settings dialog's preview variants: drawn into the dialog's back buffer at box coordinates,
// in a box of boxWidth x boxHeight pixels.
void Anim_Preview_Multiple(Stage& p, CreatureState& r, int boxWidth, int boxHeight);
void Anim_Preview_FireFly(Stage& p, int boxWidth, int boxHeight);
void Anim_Preview_Hand(Stage& p);
void Anim_Preview_Owl(Stage& p);
void Anim_Preview_Lightning(Stage& p);
void Anim_Preview_Spider(Stage& p);

}  // namespace dusk
