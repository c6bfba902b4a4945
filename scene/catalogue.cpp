#include "scene/catalogue.h"

#include <algorithm>
#include <cstring>

#include "platform/numbers.h"
#include "scene/animations.h"

namespace dusk {
#define DUSK_RECORD(expr) [](Scene& s) -> CreatureState& { return expr; }
#define DUSK_ELEMENT(group) [](Scene& s, int i) -> CreatureState& { return s.group[i]; }
#define DUSK_SET_UP(body) [](Stage& p) { Scene& s = p.scene; (void)s; body; }

const CreatureEntry kCreatures[20] = {
    {.key = "bat", .name = "Bats", .record = DUSK_RECORD(s.Bats[1]), .onByDefault = true,
     .checkName = "CheckBat", .caption = "Vampire Bats", .button = "Picture27", .page = 0, .column = 1, .row = 3,
     .preview = PreviewKind::kBats, .previewSheet = &sheet::kBatPreview,
     .setUp = SetUp_Bats, .setUpAt = 20,
     .sheets = {{&sheet::kBat, DUSK_RECORD(s.Bats[1])}},
     .passes = {{10, Anim_Bat}},
     .elements = 6, .element = DUSK_ELEMENT(Bats)},
    {.key = "blooddrip", .name = "BloodDrip", .record = DUSK_RECORD(s.BloodDrip), .onByDefault = true,
     .checkName = "CheckBloodDrip", .caption = "Blood Pool", .button = "v", .page = 1, .column = 1, .row = 1,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.BloodDrip, sheet::kBloodDrip, 1, s.Tomb1.X - 20, s.Tomb1.Y + 83)),
     .setUpAt = 9,
     .sheets = {{&sheet::kBloodDrip, DUSK_RECORD(s.BloodDrip)}},
     .passes = {{74, Anim_BloodDrip}},
     .elements = 0, .element = nullptr},
    {.key = "bouncingpumpkin", .name = "Pumpkin", .record = DUSK_RECORD(s.Pumpkin), .onByDefault = false,
     .checkName = "CheckBouncingPumpkin", .caption = "Pumpkin", .button = "Picture12", .page = 1, .column = 0,
     .row = 3, .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Pumpkin, sheet::kPumpkin, 1, RoundToInt32(static_cast<int>(p.ScreenWidth) / 2.0 - 23),
                                      600 - 137 - 15);
                          s.Pumpkin.StepX = 5),
     .setUpAt = 1,
     .sheets = {{&sheet::kPumpkin, DUSK_RECORD(s.Pumpkin)}},
     .passes = {{50, Anim_BouncingPumpkin}},
     .elements = 0, .element = nullptr},
    {.key = "crow1", .name = "Crow1", .record = DUSK_RECORD(s.Crow1), .onByDefault = true,
     .checkName = "CheckCrow1", .caption = "Crow I", .button = "Picture6", .page = 0, .column = 1, .row = 0,
     .preview = PreviewKind::kCrow, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Crow1, sheet::kCrow1, 1, s.Tomb1.X + 51, 365)),
     .setUpAt = 4,
     .sheets = {{&sheet::kCrow1, DUSK_RECORD(s.Crow1)}},
     .passes = {{71, [](Stage& p) { Anim_Crow1(p, p.scene.Crow1); }}},
     .elements = 0, .element = nullptr},
    {.key = "crow2", .name = "Crow2", .record = DUSK_RECORD(s.Crow2), .onByDefault = true,
     .checkName = "CheckCrow2", .caption = "Crow II", .button = "Picture7", .page = 0, .column = 1, .row = 1,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Crow2, sheet::kCrow2, 1, s.Tomb1.X + 85, 540)),
     .setUpAt = 5,
     .sheets = {{&sheet::kCrow2, DUSK_RECORD(s.Crow2)}},
     .passes = {{72, Anim_Crow2}},
     .elements = 0, .element = nullptr},
    {.key = "dove", .name = "Dove", .record = DUSK_RECORD(s.Dove), .onByDefault = false,
     .checkName = "CheckDove", .caption = "White Dove", .button = "Picture15", .page = 1, .column = 1, .row = 4,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Dove, sheet::kDove, 1, 800, s.BackTop.Height); s.Dove.StepX = -5),
     .setUpAt = 19,
     .sheets = {{&sheet::kDove, DUSK_RECORD(s.Dove)}},
     .passes = {{11, Anim_Dove}},
     .elements = 0, .element = nullptr},
    {.key = "firefly", .name = "FireFlies", .record = DUSK_RECORD(s.FireFlies[1]), .onByDefault = false,
     .checkName = "CheckFireFly", .caption = "FireFlies", .button = "Picture16", .page = 1, .column = 1, .row = 3,
     .preview = PreviewKind::kFireFlies, .previewSheet = nullptr,
     .setUp = SetUp_FireFlies, .setUpAt = 17,
     .sheets = {{&sheet::kFirefly, DUSK_RECORD(s.FireFlies[1]), LoadWhen::kFileFound}},
     .passes = {{78, Anim_FireFly}},
     .elements = 15, .element = DUSK_ELEMENT(FireFlies)},
    {.key = "flower", .name = "Flower", .record = DUSK_RECORD(s.Flower), .onByDefault = true,
     .checkName = "CheckFlower", .caption = "Dead Orchid", .button = "Picture11", .page = 1, .column = 0, .row = 4,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Flower, sheet::kFlower, 1, 335, 468)),
     .setUpAt = 13,
     .sheets = {{&sheet::kFlower, DUSK_RECORD(s.Flower), LoadWhen::kFileFound}},
     .passes = {{32, [](Stage& p) { Anim_Still_Loop(p, p.scene.Flower); }}},
     .elements = 0, .element = nullptr},
    {.key = "gravedigger", .name = "GraveDigger", .record = DUSK_RECORD(s.GraveDigger), .onByDefault = true,
     .checkName = "CheckGraveDigger", .caption = "Grave Digger", .button = "Picture1", .page = 0, .column = 0,
     .row = 0, .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.GraveDigger, sheet::kGraveDigger, 1, 650, 415)),
     .setUpAt = 15,
     .sheets = {{&sheet::kGraveDigger, DUSK_RECORD(s.GraveDigger)}},
     .passes = {{31, Anim_GraveDigger}},
     .elements = 0, .element = nullptr},
    {.key = "hand", .name = "Hand", .record = DUSK_RECORD(s.Hand), .onByDefault = false,
     .checkName = "CheckHand", .caption = "Rising Dead", .button = "Picture13", .page = 1, .column = 0, .row = 2,
     .preview = PreviewKind::kHand, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Hand, sheet::kHand, 0, 710, 500)),
     .setUpAt = 6,
     .sheets = {{&sheet::kHand, DUSK_RECORD(s.Hand)}},
     .passes = {{73, Anim_Hand}},
     .elements = 0, .element = nullptr},
    {.key = "lightning", .name = "Lightning", .record = DUSK_RECORD(s.Lightning[1]), .onByDefault = true,
     .checkName = "CheckLightning", .caption = "Lightning", .button = "Picture9", .page = 1, .column = 1, .row = 0,
     .preview = PreviewKind::kLightning, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Lightning[1], sheet::kLightning1, -1, 320, 214);
                          SetUpSprite(p, s.Lightning[2], sheet::kLightning2, -1, 20, 125)),
     .setUpAt = 18,
     .sheets = {{&sheet::kLightning1, DUSK_RECORD(s.Lightning[1]), LoadWhen::kFileFound},
                {&sheet::kLightning2, DUSK_RECORD(s.Lightning[2]), LoadWhen::kFileFound}},
     .passes = {{30, Anim_Lightning}},
     .elements = 2, .element = DUSK_ELEMENT(Lightning)},
    {.key = "medallion", .name = "Medallion", .record = DUSK_RECORD(s.Medallion), .onByDefault = false,
     .checkName = "CheckMedallion", .caption = "Medallion", .button = "Picture18", .page = 1, .column = 1,
     .row = 2, .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Medallion, sheet::kMedallion, 0, s.Tomb4.X + 18, s.Tomb4.Y + 50)),
     .setUpAt = 10,
     .sheets = {{&sheet::kMedallion, DUSK_RECORD(s.Medallion)}},
     .passes = {{70, Anim_Medallion}},
     .elements = 0, .element = nullptr},
    {.key = "owl", .name = "Owl", .record = DUSK_RECORD(s.Owl), .onByDefault = true,
     .checkName = "CheckOwl", .caption = "Stalking Owl", .button = "Picture8", .page = 0, .column = 1, .row = 2,
     .preview = PreviewKind::kOwl, .previewSheet = &sheet::kOwlPreview,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Owl, sheet::kOwl, 0, 688, 174)),
     .setUpAt = 14,
     .sheets = {{&sheet::kOwl, DUSK_RECORD(s.Owl)}},
     .passes = {{77, Anim_Owl}},
     .elements = 0, .element = nullptr},
    // Two rats, each with its own sheet: the far one runs behind the far tombstones, the near
    // one in front of everything but the spider, the owl and the fireflies.
    {.key = "rat", .name = "Rats", .record = DUSK_RECORD(s.Rats[1]), .onByDefault = true,
     .checkName = "CheckRat", .caption = "Mutant Rats", .button = "Picture33", .page = 0, .column = 1, .row = 4,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Rats[1], sheet::kRat1, 1, 0, 550); s.Rats[1].StepX = 10;
                          SetUpSprite(p, s.Rats[2], sheet::kRat2, 3, 800, 500); s.Rats[2].StepX = -8;
                          s.Rats[2].SrcX = sheet::kRat2.width * sheet::kRat2.frames),
     .setUpAt = 11,
     .sheets = {{&sheet::kRat1, DUSK_RECORD(s.Rats[1])}, {&sheet::kRat2, DUSK_RECORD(s.Rats[2])}},
     .passes = {{33, [](Stage& p) { Int16 farRat = 2; Anim_Rat(p, farRat); }},
                {75, [](Stage& p) { Int16 nearRat = 1; Anim_Rat(p, nearRat); }}},
     .elements = 2, .element = DUSK_ELEMENT(Rats)},
    {.key = "scorpion", .name = "Scorpion", .record = DUSK_RECORD(s.Scorpion), .onByDefault = false,
     .checkName = "CheckScorpion", .caption = "Scorpion", .button = "Picture14", .page = 1, .column = 0, .row = 1,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Scorpion, sheet::kScorpion, 1, 700, 500); s.Scorpion.StepX = -2;
                          s.Scorpion.StepY = 1),
     .setUpAt = 12,
     .sheets = {{&sheet::kScorpion, DUSK_RECORD(s.Scorpion), LoadWhen::kFileFound}},
     .passes = {{35, Anim_Scorpion}},
     .elements = 0, .element = nullptr},
    {.key = "skeleton1", .name = "Skeleton1", .record = DUSK_RECORD(s.Skeleton1), .onByDefault = true,
     .checkName = "CheckSkeleton1", .caption = "Skeleton I", .button = "Picture4", .page = 0, .column = 0,
     .row = 3, .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Skeleton1, sheet::kSkeleton1, 1, 0, 385); s.Skeleton1.StepX = 15),
     .setUpAt = 2,
     .sheets = {{&sheet::kSkeleton1, DUSK_RECORD(s.Skeleton1)}},
     .passes = {{51, Anim_Skeleton1}},
     .elements = 0, .element = nullptr},
    {.key = "skeleton2", .name = "Skeleton2", .record = DUSK_RECORD(s.Skeleton2), .onByDefault = false,
     .checkName = "CheckSkeleton2", .caption = "Skeleton II", .button = "Picture5", .page = 0, .column = 0,
     .row = 4, .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Skeleton2, sheet::kSkeleton2, 1, 600, s.BackMid1.Y + 71);
                          s.Skeleton2.StepX = -7),
     .setUpAt = 3,
     .sheets = {{&sheet::kSkeleton2, DUSK_RECORD(s.Skeleton2)}},
     .passes = {{12, Anim_Skeleton2}},
     .elements = 0, .element = nullptr},
    // A screen lower than the scene shows its lower part: the spider hangs lower to stay in sight.
    {.key = "spider", .name = "Spider", .record = DUSK_RECORD(s.Spider), .onByDefault = false,
     .checkName = "CheckSpider", .caption = "Black Widow", .button = "Picture10", .page = 1, .column = 0, .row = 0,
     .preview = PreviewKind::kSpider, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Spider, sheet::kSpider, 0, 200,
                                      p.ScreenHeight < 600 ? 600 - static_cast<int>(p.ScreenHeight) - 93 : -93)),
     .setUpAt = 16,
     .sheets = {{&sheet::kSpider, DUSK_RECORD(s.Spider)}},
     .passes = {{76, Anim_Spider}},
     .elements = 0, .element = nullptr},
    {.key = "watchman", .name = "Watchman", .record = DUSK_RECORD(s.Watchman), .onByDefault = true,
     .checkName = "CheckWatchman", .caption = "Lost Spirit", .button = "Picture2", .page = 0, .column = 0, .row = 1,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Watchman, sheet::kWatchman, 1, RoundToInt32(static_cast<int>(p.ScreenWidth) / 2.0),
                                      600 - 157 - 65);
                          s.Watchman.StepX = -4),
     .setUpAt = 7,
     .sheets = {{&sheet::kWatchman, DUSK_RECORD(s.Watchman)}},
     .passes = {{34, Anim_Watchman}},
     .elements = 0, .element = nullptr},
    {.key = "zombie", .name = "Zombie", .record = DUSK_RECORD(s.Zombie), .onByDefault = true,
     .checkName = "CheckZombie", .caption = "Zombie", .button = "Picture3", .page = 0, .column = 0, .row = 2,
     .preview = PreviewKind::kStillLoop, .previewSheet = nullptr,
     .setUp = DUSK_SET_UP(SetUpSprite(p, s.Zombie, sheet::kZombie, 1, 800, s.BackMid1.Y + 72); s.Zombie.StepX = -2),
     .setUpAt = 8,
     .sheets = {{&sheet::kZombie, DUSK_RECORD(s.Zombie)}},
     .passes = {{13, Anim_Zombie}},
     .elements = 0, .element = nullptr},
};

#undef DUSK_RECORD
#undef DUSK_ELEMENT
#undef DUSK_SET_UP

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

namespace {

void CopyStrip(Stage& p, const CreatureState& r, Rop rop) {
  p.surfaces.BitBlt(p.BackBuffer, r.X, r.Y, r.Width, r.Height, r.Picture, 0, 0, rop);
}

// The scenery between the creatures' passes: the sky and the far hills, behind which the far band
// (bats, dove, the second skeleton, the zombie) passes; the middle band's mask and light and the
// ground; the far tombstones; the close tombstones.
const DrawPass kScenery[] = {
    {0, [](Stage& p) { CopyStrip(p, p.scene.BackTop, Rop::kSrcCopy); }},
    {1, [](Stage& p) { CopyStrip(p, p.scene.BackMid1, Rop::kSrcCopy); }},
    {20, [](Stage& p) { CopyStrip(p, p.scene.BackMid2, Rop::kSrcAnd); }},
    {21, [](Stage& p) { CopyStrip(p, p.scene.BackMid3, Rop::kSrcPaint); }},
    {22, [](Stage& p) { CopyStrip(p, p.scene.BackBottom, Rop::kSrcCopy); }},
    {40, Anim_FarTombStones},
    {60, Anim_CloseTombStones},
};

}  // namespace

const std::vector<ScenePass>& SceneDrawOrder() {
  static const std::vector<ScenePass> order = [] {
    std::vector<ScenePass> out;
    for (const DrawPass& d : kScenery) out.push_back({d, nullptr});
    for (const CreatureEntry& c : kCreatures)
      for (const DrawPass& d : c.passes)
        if (d.draw) out.push_back({d, &c});
    std::stable_sort(out.begin(), out.end(), [](const ScenePass& a, const ScenePass& b) { return a.pass.at < b.pass.at; });
    return out;
  }();
  return order;
}

void DrawSceneInOrder(Stage& p) {
  for (const ScenePass& step : SceneDrawOrder())
    if (!step.creature || step.creature->record(p.scene).Enabled) step.pass.draw(p);
}

std::vector<const CreatureEntry*> CreaturesBySetUp() {
  std::vector<const CreatureEntry*> out;
  for (const CreatureEntry& c : kCreatures) out.push_back(&c);
  std::stable_sort(out.begin(), out.end(), [](auto* a, auto* b) { return a->setUpAt < b->setUpAt; });
  return out;
}

}  // namespace dusk
