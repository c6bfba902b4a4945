// The settings panel's side of the settings file, from the settings table: what the panel shows,
// the values a file holds, the file the panel writes and whether a file the user brings is one.
// Values travel as lines "key<TAB>value" (a switch 1 or 0, a number, a text).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dusk::web {

// One line a key: key, type (switch, number, text), caption, default, low, high, longest text,
// the row's key, separated by tabs. The "firstrun" mark is not listed.
std::string SettingsTable();
// The value of every listed key in the settings text (its default where the text has none).
std::string SettingsValues(const std::string& iniText);
// A whole settings file (the program's section, every key in the order the dialog writes them,
// CRLF lines) holding the values given; keys not given keep their defaults.
std::string SettingsFile(const std::string& values);
// "" when `bytes` are a settings file of the program (its text, decoded, then in `text`);
// otherwise why not, in a sentence.
std::string CheckSettingsFile(const std::vector<uint8_t>& bytes, std::string& text);

}  // namespace dusk::web
