// Small text helpers: names compared whatever their case, values trimmed of blanks.
#pragma once

#include <algorithm>
#include <cctype>
#include <string>

namespace dusk {

inline std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return s;
}

inline bool EqualNoCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

inline bool StartsWithNoCase(const std::string& s, const std::string& prefix) {
  return s.size() >= prefix.size() && EqualNoCase(s.substr(0, prefix.size()), prefix);
}

// Without the leading and trailing characters of `blanks`.
inline std::string Trim(const std::string& s, const char* blanks = " ") {
  const size_t b = s.find_first_not_of(blanks);
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(blanks) - b + 1);
}

}  // namespace dusk
