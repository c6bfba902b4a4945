#include "platform/ini.h"

#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace dusk::ini {
namespace {

struct Line {
  std::string text;  // without its line end
  std::string end;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> Split(const std::string& text) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t nl = text.find('\n', pos);
    if (nl == std::string::npos) {
      lines.push_back({text.substr(pos), ""});
      break;
    }
    const bool crlf = nl > pos && text[nl - 1] == '\r';
    const size_t end = crlf ? nl - 1 : nl;
    lines.push_back({text.substr(pos, end - pos), crlf ? "\r\n" : "\n"});
    pos = nl + 1;
  }
  return lines;
}

// Names and values stand between blanks and tabs.
std::string Trim(const std::string& s) { return dusk::Trim(s, " \t"); }

// "[name]" gives name; anything else gives nothing.
bool SectionName(const std::string& line, std::string& name) {
  std::string t = Trim(line);
  if (t.size() < 2 || t.front() != '[') return false;
  size_t close = t.find(']');
  if (close == std::string::npos) return false;
  name = Trim(t.substr(1, close - 1));
  return true;
}

bool KeyOf(const std::string& line, std::string& key, std::string& value) {
  std::string t = Trim(line);
  if (t.empty() || t[0] == ';') return false;
  size_t eq = line.find('=');
  if (eq == std::string::npos) return false;
  key = Trim(line.substr(0, eq));
  value = line.substr(eq + 1);
  return true;
}

std::string Cleaned(std::string value) {
  value = Trim(value);
  if (value.size() >= 2 && ((value.front() == '"' && value.back() == '"') ||
                            (value.front() == '\'' && value.back() == '\'')))
    value = value.substr(1, value.size() - 2);
  return value;
}

std::string Join(const std::vector<Line>& lines) {
  std::string out;
  for (const Line& l : lines) out += l.text + l.end;
  return out;
}

}  // namespace

std::string Get(const std::string& text, const std::string& section, const std::string& key) {
  bool inSection = false;
  for (const Line& l : Split(text)) {
    std::string name, k, v;
    if (SectionName(l.text, name)) inSection = EqualNoCase(name, section);
    else if (inSection && KeyOf(l.text, k, v) && EqualNoCase(k, key)) return Cleaned(v);
  }
  return "";
}

std::string Put(const std::string& text, const std::string& section, const std::string& key,
                const std::string& value) {
  std::vector<Line> lines = Split(text);
  const std::string newline =
      std::any_of(lines.begin(), lines.end(), [](const Line& l) { return l.end == "\n"; }) ? "\n" : "\r\n";
  const std::string entry = key + "=" + value;
  int sectionLine = -1, lastContent = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string name, k, v;
    if (SectionName(lines[i].text, name)) {
      if (sectionLine >= 0) break;  // the section ended
      if (EqualNoCase(name, section)) sectionLine = lastContent = static_cast<int>(i);
    } else if (sectionLine >= 0) {
      if (KeyOf(lines[i].text, k, v) && EqualNoCase(k, key)) {
        lines[i].text = entry;
        return Join(lines);
      }
      if (!Trim(lines[i].text).empty()) lastContent = static_cast<int>(i);
    }
  }
  if (!lines.empty() && lines.back().end.empty()) lines.back().end = newline;
  if (sectionLine < 0) {
    lines.push_back({"[" + section + "]", newline});
    lines.push_back({entry, newline});
  } else {
    lines.insert(lines.begin() + lastContent + 1, Line{entry, newline});
  }
  return Join(lines);
}

}  // namespace dusk::ini
