#include "hosts/kit/song_levels.h"

#include <cctype>
#include <string>

namespace dusk::kit {
namespace {

constexpr int kSlots = 12;

struct FontLevels {
  const char* name;  // the file's name without its extension, in lower case
  double gainDb[kSlots];
};

// Measured by rendering every song whole at 44100 Hz (tools/assetgen's tests check them).
constexpr FontLevels kFonts[] = {
    {"timgm6mb", {-0.1, -0.8, 1.4, -0.2, 0.7, -0.4, -1.1, 0.9, 1.7, 1.7, 0.8, 0.4}},
    {"fluidr3_gm", {-1.4, -0.6, -2.8, -1.2, -1.6, -0.8, 0, -2.4, -2.7, -2.8, -1.7, -1.4}},
};

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string_view BaseName(std::string_view path) {
  const size_t slash = path.find_last_of("/\\");
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

}  // namespace

int SongSlot(std::string_view path) {
  const std::string name = Lower(BaseName(path));
  constexpr std::string_view kPrefix = "h_song", kSuffix = ".mid";
  if (name.size() <= kPrefix.size() + kSuffix.size() || name.compare(0, kPrefix.size(), kPrefix) != 0 ||
      name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) != 0)
    return -1;
  const std::string digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  if (digits.empty() || digits.size() > 2 || (digits.size() > 1 && digits[0] == '0')) return -1;
  int slot = 0;
  for (char c : digits) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return -1;
    slot = slot * 10 + (c - '0');
  }
  return slot < kSlots ? slot : -1;
}

double SongGainDb(std::string_view fontPath, int slot) {
  if (slot < 0 || slot >= kSlots) return 0;
  std::string name = Lower(BaseName(fontPath));
  for (std::string_view ext : {".sf2", ".sf3"}) {
    if (name.size() > ext.size() && name.compare(name.size() - ext.size(), ext.size(), ext) == 0)
      name.resize(name.size() - ext.size());
  }
  for (const FontLevels& font : kFonts) {
    if (name == font.name) return font.gainDb[slot];
  }
  return 0;
}

}  // namespace dusk::kit
