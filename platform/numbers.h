// Numbers read from and written as text, and the rounding the program uses everywhere.
#pragma once

#include <cstdint>
#include <string>

namespace dusk {

// The number a text begins with, read as a settings value is read: blanks, tabs and line feeds
// are ignored wherever they stand, "&H" and "&O" start hexadecimal and octal numbers, reading
// stops at the first character that cannot continue the number, and no number reads as 0.
double ReadNumber(const std::string& text);

// Rounds to the nearest whole number, a half going to the even neighbour.
double RoundHalfEven(double v);

// A rounded value stored in a 16- or 32-bit integer: outside the range raises 6.
int16_t RoundToInt16(double v);
int32_t RoundToInt32(double v);

// A text that must be a whole number (blanks around it allowed) and its value; anything else
// raises 13, a value beyond 32 bits raises 6.
int32_t WholeNumberFromText(const std::string& text);

// True when the whole text reads as a number (blanks before and after allowed).
bool IsNumericText(const std::string& text);

// The number-text form: one leading blank for 0 or more, a minus sign otherwise (" 70", "-5").
std::string NumberText(long long v);

// The program's uniform random generator: values in [0, 1), re-seeded from a clock reading.
class RandomGenerator {
 public:
  // Mixes a clock reading (seconds) into the seed, keeping part of the previous state so that
  // re-seeding twice at the same moment does not repeat a draw.
  void Seed(double clockSeconds);
  double Next();

 private:
  uint32_t state_ = 0x50000;
};

}  // namespace dusk
