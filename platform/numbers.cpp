#include "platform/numbers.h"

#include <cmath>
#include <cstring>
#include <limits>

#include "platform/runtime.h"

namespace dusk {
namespace {

bool Ignorable(char c) { return c == ' ' || c == '\t' || c == '\n'; }

// Characters of the text with the ignorable ones dropped, as the reader sees them.
std::string Squeezed(const std::string& text) {
  std::string s;
  s.reserve(text.size());
  for (char c : text)
    if (!Ignorable(c)) s += c;
  return s;
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// A "&H" or "&O" number: the digits as a 32-bit pattern (so &HFFFFFFFF is -1), a 16-bit pattern
// when it has at most four hexadecimal or six octal digits (so &HFFFF is -1 too).
double ReadRadix(const std::string& s, size_t pos, int radix) {
  uint64_t v = 0;
  size_t digits = 0;
  while (pos < s.size() && DigitValue(s[pos]) < radix) {
    v = v * radix + DigitValue(s[pos]);
    if (v > 0xFFFFFFFFull) return 0;  // does not fit: not a number the reader accepts
    ++pos;
    ++digits;
  }
  if (digits == 0) return 0;
  bool shortForm = (radix == 16 && digits <= 4) || (radix == 8 && digits <= 6 && v <= 0xFFFF);
  if (shortForm) return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(v)));
  return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(v)));
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Where the longest decimal number starting at s[i] ends, before `end`: a sign, digits, a point and
// digits, then an exponent where digits follow its letter ("e", or "d" as well with `dExponent`).
// `i` itself when no number starts there.
size_t DecimalEnd(const std::string& s, size_t i, size_t end, bool dExponent) {
  const size_t begin = i;
  if (i < end && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < end && IsDigit(s[i])) ++i, ++digits;
  if (i < end && s[i] == '.') {
    ++i;
    while (i < end && IsDigit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return begin;
  const char x = i < end ? static_cast<char>(s[i] | 0x20) : 0;
  if (x == 'e' || (dExponent && x == 'd')) {
    size_t j = i + 1;
    if (j < end && (s[j] == '+' || s[j] == '-')) ++j;
    const size_t digitsFrom = j;
    while (j < end && IsDigit(s[j])) ++j;
    if (j > digitsFrom) i = j;  // an exponent without digits is not part of the number
  }
  return i;
}

}  // namespace

double ReadNumber(const std::string& text) {
  const std::string s = Squeezed(text);
  if (s.size() >= 2 && s[0] == '&') {
    char k = static_cast<char>(s[1] | 0x20);
    if (k == 'h') return ReadRadix(s, 2, 16);
    if (k == 'o') return ReadRadix(s, 2, 8);
    return ReadRadix(s, 1, 8);  // "&17" is octal as well
  }
  // The longest prefix that reads as a decimal number.
  const size_t begin = 0, end = DecimalEnd(s, 0, s.size(), true);
  if (end == begin) return 0;
  std::string num = s.substr(begin, end - begin);
  for (char& c : num)
    if (c == 'd' || c == 'D') c = 'e';
  double v = std::strtod(num.c_str(), nullptr);
  if (std::isinf(v)) Raise(kErrOverflow);
  return v;
}

double RoundHalfEven(double v) { return std::nearbyint(v); }  // default rounding mode: to even

int16_t RoundToInt16(double v) {
  double r = RoundHalfEven(v);
  if (!(r >= -32768.0 && r <= 32767.0)) Raise(kErrOverflow);
  return static_cast<int16_t>(r);
}

int32_t RoundToInt32(double v) {
  double r = RoundHalfEven(v);
  if (!(r >= -2147483648.0 && r <= 2147483647.0)) Raise(kErrOverflow);
  return static_cast<int32_t>(r);
}

bool IsNumericText(const std::string& text) {
  size_t b = 0, e = text.size();
  while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
  while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
  if (b == e) return false;
  const size_t end = DecimalEnd(text, b, e, false);
  return end != b && end == e;
}

int32_t WholeNumberFromText(const std::string& text) {
  if (!IsNumericText(text)) Raise(kErrTypeMismatch);
  return RoundToInt32(std::strtod(text.c_str(), nullptr));
}

std::string NumberText(long long v) {
  std::string text = std::to_string(v);
  if (v >= 0) text.insert(text.begin(), ' ');
  return text;
}

void RandomGenerator::Seed(double clockSeconds) {
  // Fold the reading's bit pattern into 16 bits and put them in the middle of the state.
  uint64_t bits;
  std::memcpy(&bits, &clockSeconds, sizeof bits);
  uint32_t hi = static_cast<uint32_t>(bits >> 32);
  uint32_t lo = static_cast<uint32_t>(bits);
  uint32_t folded = ((hi & 0xFFFF) ^ (hi >> 16) ^ (lo & 0xFFFF) ^ (lo >> 16)) << 8;
  state_ = (state_ & 0xFF0000FFu) | (folded & 0x00FFFF00u);
}

double RandomGenerator::Next() {
  state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  return static_cast<double>(state_) / 16777216.0;
}

}  // namespace dusk
