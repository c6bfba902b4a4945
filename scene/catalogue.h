// The twenty creatures a user can switch on, written once: their settings key and record, whether
// a first run shows them, and their row and preview in the settings dialog. Everything that lists
// creatures reads this table; the order is the settings file's, which Apply writes in.
#pragma once

#include <cstddef>

#include "scene/records.h"

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

struct CreatureEntry {
  const char* key;                      // the settings file's key
  CreatureState& (*record)(Scene& s);   // the record (a group's element 1)
  bool onByDefault;                     // shown before the settings were ever saved
  // The dialog: check box name and caption, preview button, page, column and row on the page.
  const char* checkName;
  const char* caption;
  const char* button;
  int page, column, row;
  PreviewKind preview;
  // A preview drawn from a sheet of its own, and that sheet's frame size and count.
  const char* previewFile = nullptr;
  int previewWidth = 0, previewHeight = 0, previewFrames = 0;
};

extern const CreatureEntry kCreatures[20];

// The entry of a settings key or of a preview button's name, or nullptr.
const CreatureEntry* FindCreature(const char* key);
const CreatureEntry* FindCreatureByButton(const char* button);

}  // namespace dusk
