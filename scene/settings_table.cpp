#include "scene/settings_table.h"

#include <cstring>
#include <iterator>

#include "platform/numbers.h"

namespace dusk {
namespace {

constexpr const char* kSongCaptions[12] = {"Horror Hill", "Death Toll", "Pipe Organ", "Descent",
                                           "Leviathan",  "Demony",     "Nitemare",   "Lurker",
                                           "Moonwake",   "Adams Family", "Thriller", "GhostBusters"};
constexpr const char* kSoundCaptions[12] = {"Greetings", "Blood Drip", "Thunder",  "Crow",
                                            "Owl",       "FootSteps",  "WereWolf", "Laugh II",
                                            "Scream I",  "Ghost",      "Laugh I",  "Scream II"};
constexpr const char* kClockCaption[1] = {"Enable Digital Clock"};
constexpr const char* kMonitorsCaption[1] = {"Show the scene on every monitor"};
constexpr const char* kProportionsCaption[1] = {"Keep the picture's proportions"};

SettingRow Mark(const char* key) { return {key, 1, SettingType::kMark}; }

SettingRow Creatures() {
  SettingRow r{"creatures", static_cast<int>(std::size(kCreatures)), SettingType::kSwitch};
  r.creatures = true;
  r.flag = [](Stage& p, int i) -> int16_t& { return kCreatures[i].record(p.scene).Enabled; };
  r.onByDefault = [](int i) { return kCreatures[i].onByDefault; };
  r.style = OptionStyle::kEachOnOff;
  r.option = "creatures";
  r.optionValue = "LIST";
  r.help = "only these creatures, comma-separated (or all, none)";
  return r;
}

SettingRow Speed() {
  SettingRow r{"speed", 1, SettingType::kNumber};
  r.number = [](Stage& p) -> Int16& { return p.settings.Speed; };
  r.numberDefault = 70;
  r.low = 1;
  r.high = 140;
  r.control = "speedchk";
  r.label = "Frame interval";
  r.style = OptionStyle::kValue;
  r.option = "speed";
  r.optionValue = "MS";
  r.optionLow = 1;
  r.optionHigh = 1000;
  r.help = "milliseconds between frames";
  r.dumpName = "Speed";
  return r;
}

SettingRow Songs() {
  SettingRow r{"song", 12, SettingType::kSwitch};
  r.flag = [](Stage& p, int i) -> int16_t& { return p.settings.SongOn[i]; };
  r.onByDefault = [](int i) { return i == 0; };
  r.control = "songchk";
  r.captions = kSongCaptions;
  r.label = "Music";
  r.style = OptionStyle::kAllOff;
  r.option = "no-music";
  r.help = "no songs";
  r.dumpName = "SongOn";
  return r;
}

SettingRow Sounds() {
  SettingRow r{"sound", 12, SettingType::kSwitch};
  r.flag = [](Stage& p, int i) -> int16_t& { return p.settings.SoundOn[i]; };
  r.onByDefault = [](int i) { return i != 3 && i != 5; };
  r.control = "soundchk";
  r.captions = kSoundCaptions;
  r.dumpName = "SoundOn";
  return r;
}

SettingRow Message() {
  SettingRow r{"messagetext", 1, SettingType::kText};
  r.text = [](Stage& p) -> std::string& { return p.settings.MessageText; };
  r.maxLength = ini::kValueMaxUnits;
  r.control = "Text1";
  r.label = "Message";
  r.style = OptionStyle::kValue;
  r.option = "message";
  r.optionValue = "TEXT";
  r.help = "a message across the top (\"\" for none)";
  r.dumpName = "MessageText";
  return r;
}

SettingRow Switch(const char* key, int16_t& (*flag)(Stage&, int), bool on, bool optional, const char* control,
                  const char* const* caption, const char* help, const char* dumpName) {
  SettingRow r{key, 1, SettingType::kSwitch};
  r.optional = optional;
  r.flag = flag;
  r.onByDefault = on ? +[](int) { return true; } : +[](int) { return false; };
  r.control = control;
  r.captions = caption;
  r.style = OptionStyle::kOnOff;
  r.option = key;
  r.help = help;
  r.dumpName = dumpName;
  return r;
}

}  // namespace

const SettingRow kSettingRows[] = {
    Mark(kFirstRunKey),
    Creatures(),
    Speed(),
    Songs(),
    Sounds(),
    Message(),
    Switch("clock", [](Stage& p, int) -> int16_t& { return p.settings.ClockOn; }, false, false, "clockcheck",
           kClockCaption, "show the time at the top right, or not", "ClockOn"),
    // Newer than the rest: older files lack them.
    Switch("monitors", [](Stage& p, int) -> int16_t& { return p.settings.MonitorsOn; }, true, true,
           "monitorscheck", kMonitorsCaption, "the scene on every display, or on the first only", "MonitorsOn"),
    Switch("proportions", [](Stage& p, int) -> int16_t& { return p.settings.KeepProportions; }, false, true,
           "proportionscheck", kProportionsCaption, "keep the picture's proportions (black bars), or stretch",
           "KeepProportions"),
};
const size_t kSettingRowCount = sizeof kSettingRows / sizeof kSettingRows[0];

std::string SettingKey::Control() const {
  if (creature) return creature->checkName;
  if (!row->control) return "";
  return row->count > 1 ? std::string(row->control) + "(" + std::to_string(index) + ")" : row->control;
}

std::string SettingKey::Caption() const {
  if (creature) return creature->caption;
  return row->captions ? row->captions[index] : "";
}

bool SettingKey::OnByDefault() const { return row->onByDefault && row->onByDefault(index); }

std::string SettingKey::Written(long long value) const {
  if (row->type == SettingType::kMark) return "1";
  if (row->type == SettingType::kNumber && value < row->low) return std::to_string(row->low);
  return NumberText(value);
}

std::string SettingKey::DefaultText() const {
  switch (row->type) {
    case SettingType::kMark: return Written(1);
    case SettingType::kSwitch: return Written(OnByDefault() ? 1 : 0);
    case SettingType::kNumber: return Written(row->numberDefault);
    case SettingType::kText: return "";
  }
  return "";
}

const std::vector<SettingKey>& SettingKeys() {
  static const std::vector<SettingKey> keys = [] {
    std::vector<SettingKey> out;
    for (const SettingRow& r : kSettingRows) {
      for (int i = 0; i < r.count; ++i) {
        SettingKey k{&r, i, r.key};
        if (r.creatures) {
          k.creature = &kCreatures[i];
          k.key = k.creature->key;
        } else if (r.count > 1) {
          k.key += std::to_string(i);
        }
        out.push_back(k);
      }
    }
    return out;
  }();
  return keys;
}

const SettingKey* FindSetting(const std::string& key) {
  for (const SettingKey& k : SettingKeys())
    if (k.key == key) return &k;
  return nullptr;
}

void ApplySettingDefaults(Stage& p) {
  for (const SettingKey& k : SettingKeys()) {
    switch (k.row->type) {
      case SettingType::kMark: break;
      case SettingType::kSwitch: k.Flag(p) = VbBool(k.OnByDefault()); break;
      case SettingType::kNumber: k.Number(p) = k.row->numberDefault; break;
      case SettingType::kText: k.Text(p).clear(); break;
    }
  }
}

}  // namespace dusk
