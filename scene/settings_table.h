// Every key of the settings file, written once: what it holds and where, its default, how Apply
// writes it, its control in the settings dialog and its option on the Linux command line. The
// rows are in the order Apply writes them. Reading (X_GetData), Apply, the dialog's captions, the
// Linux options with their help, man page and XScreenSaver description, the headless host's
// settings files and its state dumps all read this table.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ini.h"
#include "platform/runtime.h"
#include "scene/catalogue.h"
#include "scene/stage.h"

namespace dusk {

// The key that tells a written file from one never written.
inline constexpr const char* kFirstRunKey = "firstrun";

enum class SettingType {
  kMark,    // "firstrun": always written "1"; until then the defaults stand in for the file
  kSwitch,  // a flag: on when its number is above 0, written " 1" or " 0"
  kNumber,  // a 16-bit number, rounded, written in the number-text form
  kText,    // free text, written as typed
};

// How the Linux command line sets the row.
enum class OptionStyle {
  kNone,
  kOnOff,     // --NAME and --no-NAME
  kValue,     // --NAME VALUE
  kAllOff,    // --NAME switches every key of the row off
  kEachOnOff, // --KEY and --no-KEY for each key, and --NAME LIST (or all, none) for the row
};

struct SettingRow {
  const char* key;  // the key, or the prefix of an indexed row ("song": song0 ... song11)
  int count;        // keys in the row: 1, 12 for songs and effects, 20 for the creatures
  SettingType type;
  bool creatures = false;  // the keys are the creature table's, in its order
  bool optional = false;  // may be missing from files older than it: absent reads as the default
  // Where the value lives.
  int16_t& (*flag)(Stage& p, int index) = nullptr;  // kSwitch
  Int16& (*number)(Stage& p) = nullptr;              // kNumber
  std::string& (*text)(Stage& p) = nullptr;          // kText
  // The default: on for key i of a switch row; the number of a number row.
  bool (*onByDefault)(int index) = nullptr;
  int numberDefault = 0;
  // A number's range as the dialog writes it (its speed bar, XScreenSaver's slider). A number
  // below the range is written as the plain text of its low end ("1": the bar's fast end).
  int low = 0, high = 0;
  // A text's most characters (UTF-16 units): what reading it back keeps.
  size_t maxLength = 0;
  // The settings dialog: the control's name (an indexed row's array, "songchk" -> "songchk(3)")
  // and the captions of its keys (one, or one per index; the creatures' come from their table).
  const char* control = nullptr;
  const char* const* captions = nullptr;
  // What other settings front ends (XScreenSaver's) call a row without a caption of its own.
  const char* label = nullptr;
  // The Linux command line: option, its value's name, range, help; the state dumps' field.
  OptionStyle style = OptionStyle::kNone;
  const char* option = nullptr;  // without the dashes
  const char* optionValue = nullptr;
  int optionLow = 0, optionHigh = 0;
  const char* help = nullptr;
  const char* dumpName = nullptr;  // nullptr: not in the dumps' settings (the creatures' records are)
};

extern const SettingRow kSettingRows[];
extern const size_t kSettingRowCount;

// One key of the settings file, with its row.
struct SettingKey {
  const SettingRow* row;
  int index;        // within its row
  std::string key;  // "owl", "song3", "speed"
  const CreatureEntry* creature = nullptr;  // the creatures' keys

  std::string Control() const;   // "CheckOwl", "songchk(3)", "speedchk"
  std::string Caption() const;   // "" for a key without a control
  bool OnByDefault() const;
  // The value's place in the program's state.
  int16_t& Flag(Stage& p) const { return row->flag(p, index); }
  Int16& Number(Stage& p) const { return row->number(p); }
  std::string& Text(Stage& p) const { return row->text(p); }
  // The value as Apply writes it: a switch's box (1 or 0), a number, a text.
  std::string Written(long long value) const;
  std::string Written(const std::string& text) const {
    return row->maxLength ? ini::CutValue(text, row->maxLength) : text;
  }
  // The default as Apply would write it.
  std::string DefaultText() const;
};

// Every key, in the order Apply writes them.
const std::vector<SettingKey>& SettingKeys();
const SettingKey* FindSetting(const std::string& key);

// The defaults of a first run, set in memory.
void ApplySettingDefaults(Stage& p);

}  // namespace dusk
