#include "scene/catalogue.h"

#include <cstring>

namespace dusk {

#define DUSK_RECORD(expr) [](Scene& s) -> CreatureState& { return expr; }

const CreatureEntry kCreatures[20] = {
    {"bat", DUSK_RECORD(s.Bats[1]), true, "CheckBat", "Vampire Bats", "Picture27", 0, 1, 3, PreviewKind::kBats,
     "h_bat_preview.bmp", 36, 32, 8},
    {"blooddrip", DUSK_RECORD(s.BloodDrip), true, "CheckBloodDrip", "Blood Pool", "v", 1, 1, 1,
     PreviewKind::kStillLoop},
    {"bouncingpumpkin", DUSK_RECORD(s.Pumpkin), false, "CheckBouncingPumpkin", "Pumpkin", "Picture12", 1, 0, 3,
     PreviewKind::kStillLoop},
    {"crow1", DUSK_RECORD(s.Crow1), true, "CheckCrow1", "Crow I", "Picture6", 0, 1, 0, PreviewKind::kCrow},
    {"crow2", DUSK_RECORD(s.Crow2), true, "CheckCrow2", "Crow II", "Picture7", 0, 1, 1, PreviewKind::kStillLoop},
    {"dove", DUSK_RECORD(s.Dove), false, "CheckDove", "White Dove", "Picture15", 1, 1, 4, PreviewKind::kStillLoop},
    {"firefly", DUSK_RECORD(s.FireFlies[1]), false, "CheckFireFly", "FireFlies", "Picture16", 1, 1, 3,
     PreviewKind::kFireFlies},
    {"flower", DUSK_RECORD(s.Flower), true, "CheckFlower", "Dead Orchid", "Picture11", 1, 0, 4,
     PreviewKind::kStillLoop},
    {"gravedigger", DUSK_RECORD(s.GraveDigger), true, "CheckGraveDigger", "Grave Digger", "Picture1", 0, 0, 0,
     PreviewKind::kStillLoop},
    {"hand", DUSK_RECORD(s.Hand), false, "CheckHand", "Rising Dead", "Picture13", 1, 0, 2, PreviewKind::kHand},
    {"lightning", DUSK_RECORD(s.Lightning[1]), true, "CheckLightning", "Lightning", "Picture9", 1, 1, 0,
     PreviewKind::kLightning},
    {"medallion", DUSK_RECORD(s.Medallion), false, "CheckMedallion", "Medallion", "Picture18", 1, 1, 2,
     PreviewKind::kStillLoop},
    {"owl", DUSK_RECORD(s.Owl), true, "CheckOwl", "Stalking Owl", "Picture8", 0, 1, 2, PreviewKind::kOwl,
     "h_owl_preview.bmp", 82, 81, 4},
    {"rat", DUSK_RECORD(s.Rats[1]), true, "CheckRat", "Mutant Rats", "Picture33", 0, 1, 4, PreviewKind::kStillLoop},
    {"scorpion", DUSK_RECORD(s.Scorpion), false, "CheckScorpion", "Scorpion", "Picture14", 1, 0, 1,
     PreviewKind::kStillLoop},
    {"skeleton1", DUSK_RECORD(s.Skeleton1), true, "CheckSkeleton1", "Skeleton I", "Picture4", 0, 0, 3,
     PreviewKind::kStillLoop},
    {"skeleton2", DUSK_RECORD(s.Skeleton2), false, "CheckSkeleton2", "Skeleton II", "Picture5", 0, 0, 4,
     PreviewKind::kStillLoop},
    {"spider", DUSK_RECORD(s.Spider), false, "CheckSpider", "Black Widow", "Picture10", 1, 0, 0,
     PreviewKind::kSpider},
    {"watchman", DUSK_RECORD(s.Watchman), true, "CheckWatchman", "Lost Spirit", "Picture2", 0, 0, 1,
     PreviewKind::kStillLoop},
    {"zombie", DUSK_RECORD(s.Zombie), true, "CheckZombie", "Zombie", "Picture3", 0, 0, 2, PreviewKind::kStillLoop},
};

#undef DUSK_RECORD

const CreatureEntry* FindCreature(const char* key) {
  for (const CreatureEntry& c : kCreatures)
    if (std::strcmp(c.key, key) == 0) return &c;
  return nullptr;
}

const CreatureEntry* FindCreatureByButton(const char* button) {
  for (const CreatureEntry& c : kCreatures)
    if (std::strcmp(c.button, button) == 0) return &c;
  return nullptr;
}

}  // namespace dusk
