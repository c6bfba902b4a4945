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
    const size_t end = text.find_first_of("\r\n", pos);
    if (end == std::string::npos) {
      lines.push_back({text.substr(pos), ""});
      break;
    }
    const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
    const size_t endLength = crlf ? 2 : 1;
    lines.push_back({text.substr(pos, end - pos), text.substr(end, endLength)});
    pos = end + endLength;
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
  const std::string newline = !lines.empty() && !lines.front().end.empty() ? lines.front().end : "\r\n";
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

namespace {

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The character at `pos` of UTF-8 text and its length; a byte that does not start a valid
// sequence stands for itself (Latin-1). The three-byte form of a surrogate is that surrogate.
uint32_t NextUtf8(const std::string& s, size_t pos, size_t& length) {
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(s[i]); };
  const uint8_t b = byte(pos);
  length = 1;
  int more = 0;
  uint32_t c = b, min = 0;
  if (b >= 0xC2 && b <= 0xDF) more = 1, c = b & 0x1F, min = 0x80;
  else if (b >= 0xE0 && b <= 0xEF) more = 2, c = b & 0x0F, min = 0x800;
  else if (b >= 0xF0 && b <= 0xF4) more = 3, c = b & 0x07, min = 0x10000;
  else return b;
  if (pos + more >= s.size()) return b;
  for (int i = 1; i <= more; ++i) {
    if ((byte(pos + i) & 0xC0) != 0x80) return b;
    c = (c << 6) | (byte(pos + i) & 0x3F);
  }
  if (c < min || c > 0x10FFFF) return b;
  length = static_cast<size_t>(more) + 1;
  return c;
}

}  // namespace

DecodedFile Decode(const uint8_t* bytes, size_t size) {
  DecodedFile file;
  if (size >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) {
    file.encoding = Encoding::kUtf8Mark;
    file.text.assign(reinterpret_cast<const char*>(bytes) + 3, size - 3);
    return file;
  }
  const bool le = size >= 2 && bytes[0] == 0xFF && bytes[1] == 0xFE;
  const bool be = size >= 2 && bytes[0] == 0xFE && bytes[1] == 0xFF;
  if (!le && !be) {
    file.text.assign(reinterpret_cast<const char*>(bytes), size);
    return file;
  }
  file.encoding = le ? Encoding::kUtf16Le : Encoding::kUtf16Be;
  const auto unit = [&](size_t i) -> uint32_t {
    return le ? bytes[i] | (bytes[i + 1] << 8) : (bytes[i] << 8) | bytes[i + 1];
  };
  // A lone surrogate keeps its three-byte form; an odd last byte is not a character.
  size_t i = 2;
  for (; i + 1 < size; i += 2) {
    uint32_t c = unit(i);
    if (c >= 0xD800 && c <= 0xDBFF && i + 3 < size && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
      i += 2;
    }
    AppendUtf8(file.text, c);
  }
  if (i < size) file.rest.assign(1, static_cast<char>(bytes[i]));
  return file;
}

std::string Readable(const DecodedFile& file) {
  if (file.encoding != Encoding::kUtf16Le && file.encoding != Encoding::kUtf16Be) return file.text;
  const std::string& text = file.text;
  std::string out;
  out.reserve(text.size());
  const auto byte = [&](size_t i) { return static_cast<uint8_t>(text[i]); };
  for (size_t i = 0; i < text.size(); ++i) {
    // ED A0..BF 80..BF: a surrogate's three-byte form.
    if (byte(i) == 0xED && i + 2 < text.size() && (byte(i + 1) & 0xE0) == 0xA0 && (byte(i + 2) & 0xC0) == 0x80) {
      out += "\xEF\xBF\xBD";
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::vector<uint8_t> Encode(const std::string& text, Encoding encoding, const std::string& rest) {
  std::vector<uint8_t> out;
  switch (encoding) {
    case Encoding::kPlain:
    case Encoding::kUtf8Mark: {
      const std::string mark = encoding == Encoding::kUtf8Mark ? "\xEF\xBB\xBF" : "";
      const std::string all = mark + text + rest;
      return std::vector<uint8_t>(all.begin(), all.end());
    }
    case Encoding::kUtf16Le:
    case Encoding::kUtf16Be:
      break;
  }
  const bool le = encoding == Encoding::kUtf16Le;
  const auto put = [&](uint32_t u) {
    out.push_back(static_cast<uint8_t>(le ? u & 0xFF : u >> 8));
    out.push_back(static_cast<uint8_t>(le ? u >> 8 : u & 0xFF));
  };
  out.reserve(2 + 2 * text.size());
  put(0xFEFF);
  for (size_t pos = 0, length = 0; pos < text.size(); pos += length) {
    const uint32_t c = NextUtf8(text, pos, length);
    if (c >= 0x10000) {
      put(0xD800 + ((c - 0x10000) >> 10));
      put(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      put(c);
    }
  }
  out.insert(out.end(), rest.begin(), rest.end());
  return out;
}

std::string CutValue(const std::string& value, size_t units) {
  size_t used = 0, i = 0;
  while (i < value.size()) {
    const unsigned char lead = static_cast<unsigned char>(value[i]);
    const size_t length = lead < 0x80 ? 1 : lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    const size_t need = length == 4 ? 2 : 1;  // beyond the basic plane: a surrogate pair
    if (used + need > units) break;
    used += need;
    i = std::min(value.size(), i + length);
  }
  return value.substr(0, i);
}

}  // namespace dusk::ini
