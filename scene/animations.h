// The Animations module: scene set-up, the masked sprite draw and one routine per creature.
#pragma once

#include <cstdint>

#include "scene/records.h"
#include "startup/program.h"

namespace dusk {

void Properties_Creatures(Program& p);

// The two-pass masked draw into the back buffer: the mask row punches the shape (AND), the
// image row fills it (OR). `picture` is the sheet to read (a group draws from its element 1).
void DrawSprite(Program& p, const CreatureState& r);
void DrawSpriteFrom(Program& p, const CreatureState& r, int32_t picture);

// Backdrop and tombstones
void Anim_FarTombStones(Program& p);
void Anim_CloseTombStones(Program& p);

// Stationary and scripted creatures
void Anim_Still_Loop(Program& p, CreatureState& r);
void Anim_Crow1(Program& p, CreatureState& r);
void Anim_Crow2(Program& p);
void Anim_GraveDigger(Program& p);
void Anim_BloodDrip(Program& p);
void Anim_Hand(Program& p);
void Anim_Medallion(Program& p);
void Anim_Owl(Program& p);
void Anim_Spider(Program& p);
void Anim_Lightning(Program& p);

// Moving creatures
void Anim_BouncingPumpkin(Program& p);
void Anim_Skeleton1(Program& p);
void Anim_Skeleton2(Program& p);
void Anim_Zombie(Program& p);
void Anim_Watchman(Program& p);
void Anim_Dove(Program& p);
void Anim_Scorpion(Program& p);
void Anim_Rat(Program& p, Int16& ratIndex);
void Anim_Bat(Program& p);
void Anim_FireFly(Program& p);

// Plays a sound effect of the saver when it is switched on (a creature "triggers" it).
void PlaySoundEffect(Program& p, int effect);

}  // namespace dusk

namespace dusk {

// The settings dialog's preview variants: drawn into the dialog's back buffer at box coordinates.
void Anim_Preview_Multiple(Program& p, CreatureState& r);
void Anim_Preview_FireFly(Program& p);
void Anim_Preview_Hand(Program& p);
void Anim_Preview_Owl(Program& p);
void Anim_Preview_Lightning(Program& p);
void Anim_Preview_Spider(Program& p);

}  // namespace dusk
