// The web page's settings panel: the file it writes, the values it shows, the files it takes.
#include <gtest/gtest.h>

#include <map>
#include <sstream>

#include "hosts/web/settings_text.h"
#include "platform/ini.h"
#include "scene/settings_table.h"

namespace dusk::web {
namespace {

std::map<std::string, std::string> Values(const std::string& lines) {
  std::map<std::string, std::string> out;
  std::istringstream in(lines);
  for (std::string line; std::getline(in, line);) out[line.substr(0, line.find('\t'))] = line.substr(line.find('\t') + 1);
  return out;
}

const SettingKey& First(SettingType type, bool on = false) {
  for (const SettingKey& k : SettingKeys())
    if (k.row->type == type && (!on || k.OnByDefault())) return k;
  throw std::logic_error("no such key");
}

TEST(WebSettings, TheFileThePanelWritesHoldsTheValuesItWasGiven) {
  const SettingKey& creature = First(SettingType::kSwitch, true);
  const SettingKey& number = First(SettingType::kNumber);
  const SettingKey& text = First(SettingType::kText);
  const int n = number.row->high > number.row->low ? number.row->high : 5;
  const std::string file = SettingsFile(creature.key + "\t0\n" + number.key + "\t" + std::to_string(n) + "\n" + text.key +
                                        "\tGood evening\n");
  // The program's section, every key once, in the order the settings dialog writes them.
  EXPECT_EQ(file.rfind("[Duskhollow]\r\n", 0), 0u);
  size_t at = 0;
  for (const SettingKey& k : SettingKeys()) {
    const size_t found = file.find("\r\n" + k.key + "=", at);
    ASSERT_NE(found, std::string::npos) << k.key;
    at = found + 1;
  }
  const auto shown = Values(SettingsValues(file));
  const auto defaults = Values(SettingsValues(""));
  EXPECT_EQ(shown.at(creature.key), "0");
  EXPECT_EQ(shown.at(number.key), std::to_string(n));
  EXPECT_EQ(shown.at(text.key), "Good evening");
  for (const auto& [key, value] : shown) {
    if (key != creature.key && key != number.key && key != text.key) {
      EXPECT_EQ(value, defaults.at(key)) << key;
    }
  }
}

TEST(WebSettings, ANewVisitShowsTheTablesDefaults) {
  const auto shown = Values(SettingsValues(""));
  std::istringstream table(SettingsTable());
  size_t rows = 0;
  for (std::string line; std::getline(table, line); ++rows) {
    std::vector<std::string> cells;
    std::istringstream in(line);
    for (std::string cell; std::getline(in, cell, '\t');) cells.push_back(cell);
    ASSERT_EQ(cells.size(), 8u) << line;
    EXPECT_EQ(shown.at(cells[0]), cells[3]) << cells[0];
    EXPECT_FALSE(cells[2].empty()) << cells[0];
  }
  EXPECT_EQ(rows, shown.size());
  EXPECT_EQ(shown.count(kFirstRunKey), 0u);  // the mark is the file's, not the user's
}

TEST(WebSettings, OnlyTheProgramsSettingsFilesAreTaken) {
  auto check = [](const std::string& bytes) {
    std::string text = "unchanged";
    const std::string problem = CheckSettingsFile(std::vector<uint8_t>(bytes.begin(), bytes.end()), text);
    if (!problem.empty()) {
      EXPECT_EQ(text, "unchanged");
    }
    return problem;
  };
  EXPECT_NE(check(""), "");
  EXPECT_NE(check(std::string("\x89PNG\r\n\x1a\n\0\0", 10)), "");
  EXPECT_NE(check("[Other]\r\nfirstrun=1\r\n").find("[Duskhollow]"), std::string::npos);
  const SettingKey& number = First(SettingType::kNumber);
  EXPECT_NE(check("[Duskhollow]\r\nfirstrun=1\r\n" + number.key + "=fast\r\n").find(number.key), std::string::npos);

  // A file saved as UTF-16 by a Windows editor is taken, its text decoded.
  const std::string good = "[Duskhollow]\r\nfirstrun=1\r\n" + number.key + "=90\r\n";
  const std::vector<uint8_t> utf16 = ini::Encode(good, ini::Encoding::kUtf16Le);
  std::string text;
  EXPECT_EQ(CheckSettingsFile(utf16, text), "");
  EXPECT_EQ(text, good);
  EXPECT_EQ(Values(SettingsValues(text)).at(number.key), "90");
}

}  // namespace
}  // namespace dusk::web
