// The twenty creatures a user can switch on, written once: their settings key and record, whether
// a first run shows them, their row and preview in the settings dialog, how the scene sets them
// up, which sheets the saver loads for them and where they stand in the scene's draw order.
// Everything that lists creatures reads this table; its order is the settings file's, which
// Apply writes in.
#pragma once

#include <cstddef>
#include <vector>

#include "scene/records.h"
#include "scene/sprites.h"
#include "scene/stage.h"

namespace dusk {

// How the settings dialog's preview box plays a creature.
enum class PreviewKind {
  kStillLoop,   // the record's own frames, looped in place
  kCrow,        // the crow's own routine, caws and all
  kOwl,         // the owl's blink, from the larger preview sheet
  kBats,        // three bats from the larger preview sheet
  kHand,        // rises and sinks again
  kLightning,   // flashes on the dialog's counter
  kFireFlies,   // eight fireflies kept inside the box
  kSpider,      // lowers itself on its thread and climbs back
};

// A sheet the saver loads for a creature, into which record, and when: while the creature is on
// (and the file is there), or whenever its file is there.
enum class LoadWhen { kShown, kFileFound };
struct SheetLoad {
  const SpriteSheet* sheet = nullptr;
  CreatureState& (*record)(Scene& s) = nullptr;
  LoadWhen when = LoadWhen::kShown;
};

// One step of the scene's drawing: at `at` in the back-to-front order, drawn while its creature
// is on (scenery always).
struct DrawPass {
  int at = 0;
  void (*draw)(Stage& p) = nullptr;
};

struct CreatureEntry {
  const char* key;                      // the settings file's key
  const char* name;                     // its record's name ("Bats": a group)
  CreatureState& (*record)(Scene& s);   // the record (a group's element 1)
  bool onByDefault;                     // shown before the settings were ever saved
  // The dialog: check box name and caption, preview button, page, column and row on the page.
  const char* checkName;
  const char* caption;
  const char* button;
  int page, column, row;
  PreviewKind preview;
  const SpriteSheet* previewSheet;  // a preview drawn from a sheet of its own, or nullptr
  // The scene: set-up (in the order of `setUpAt`, which keeps the random numbers drawn in the
  // same order), the sheets loaded, and the draw passes (the rats are drawn twice, far and near).
  void (*setUp)(Stage& p);
  int setUpAt;
  SheetLoad sheets[2];
  DrawPass passes[2];
  // A group's elements (1 .. elements) and element i; 0 and nullptr for a single record.
  int elements;
  CreatureState& (*element)(Scene& s, int i);
};

extern const CreatureEntry kCreatures[20];

// The entry of a settings key or of a preview button's name, or nullptr.
const CreatureEntry* FindCreature(const char* key);
const CreatureEntry* FindCreatureByButton(const char* button);

// The scene back to front: the backdrop strips, the tombstones and every creature's passes.
struct ScenePass {
  DrawPass pass;
  const CreatureEntry* creature;  // nullptr: scenery
};
const std::vector<ScenePass>& SceneDrawOrder();

// The creatures in the order they are set up.
std::vector<const CreatureEntry*> CreaturesBySetUp();

}  // namespace dusk
