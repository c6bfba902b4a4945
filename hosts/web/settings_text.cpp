#include "hosts/web/settings_text.h"

#include <map>
#include <sstream>

#include "platform/ini.h"
#include "platform/numbers.h"
#include "platform/system.h"
#include "scene/settings_table.h"

namespace dusk::web {
namespace {

const char* TypeName(SettingType t) {
  switch (t) {
    case SettingType::kSwitch: return "switch";
    case SettingType::kNumber: return "number";
    case SettingType::kText: return "text";
    case SettingType::kMark: return "mark";
  }
  return "";
}

std::string OneLine(std::string s) {
  for (char& c : s)
    if (c == '\t' || c == '\n' || c == '\r') c = ' ';
  return s;
}

std::map<std::string, std::string> Lines(const std::string& values) {
  std::map<std::string, std::string> out;
  std::istringstream in(values);
  for (std::string line; std::getline(in, line);) {
    const size_t tab = line.find('\t');
    if (tab != std::string::npos) out[line.substr(0, tab)] = line.substr(tab + 1);
  }
  return out;
}

// A value as the panel shows it: a switch 1 or 0, a number whole.
std::string Shown(const SettingKey& k, const std::string& written) {
  switch (k.row->type) {
    case SettingType::kSwitch: return ReadNumber(written) > 0 ? "1" : "0";
    case SettingType::kNumber: return std::to_string(RoundToInt32(ReadNumber(written)));
    default: return written;
  }
}

}  // namespace

std::string SettingsTable() {
  std::string out;
  for (const SettingKey& k : SettingKeys()) {
    if (k.row->type == SettingType::kMark) continue;
    std::string caption = k.Caption();
    if (caption.empty() && k.row->label) caption = k.row->label;
    if (caption.empty()) caption = k.key;
    out += k.key + "\t" + TypeName(k.row->type) + "\t" + OneLine(caption) + "\t" + Shown(k, k.DefaultText()) + "\t" +
           std::to_string(k.row->low) + "\t" + std::to_string(k.row->high) + "\t" + std::to_string(k.row->maxLength) +
           "\t" + k.row->key + "\n";
  }
  return out;
}

std::string SettingsValues(const std::string& iniText) {
  const bool written = !ini::Get(iniText, kSettingsSection, kFirstRunKey).empty();
  std::string out;
  for (const SettingKey& k : SettingKeys()) {
    if (k.row->type == SettingType::kMark) continue;
    std::string value = written ? ini::Get(iniText, kSettingsSection, k.key) : "";
    if (!written || (value.empty() && k.row->type != SettingType::kText)) value = k.DefaultText();
    out += k.key + "\t" + OneLine(Shown(k, value)) + "\n";
  }
  return out;
}

std::string SettingsFile(const std::string& values) {
  const auto given = Lines(values);
  std::string out = std::string("[") + kSettingsSection + "]\r\n";
  for (const SettingKey& k : SettingKeys()) {
    const auto it = given.find(k.key);
    std::string value = k.DefaultText();
    if (it != given.end() && k.row->type != SettingType::kMark) {
      if (k.row->type == SettingType::kText) value = k.Written(it->second);
      else value = k.Written(RoundToInt32(ReadNumber(it->second)));
    }
    out += k.key + "=" + value + "\r\n";
  }
  return out;
}

std::string CheckSettingsFile(const std::vector<uint8_t>& bytes, std::string& text) {
  if (bytes.empty()) return "The file is empty.";
  if (bytes.size() > 64 * 1024) return "The file is too large to be a settings file.";
  const ini::DecodedFile decoded = ini::Decode(bytes);
  if (decoded.text.find('\0') != std::string::npos) return "The file is not a text file.";
  if (ini::Get(decoded.text, kSettingsSection, kFirstRunKey).empty())
    return std::string("The file holds no [") + kSettingsSection + "] settings.";
  for (const SettingKey& k : SettingKeys()) {
    if (k.row->type != SettingType::kNumber && k.row->type != SettingType::kSwitch) continue;
    const std::string v = ini::Get(decoded.text, kSettingsSection, k.key);
    if (!v.empty() && !IsNumericText(v)) return "The value of " + k.key + " (" + v + ") is not a number.";
  }
  text = decoded.text;
  return "";
}

}  // namespace dusk::web
