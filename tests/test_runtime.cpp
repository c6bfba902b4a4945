// The run-time rules: checked integers, bounded arrays, reading numbers from text, rounding.
#include <gtest/gtest.h>

#include "platform/numbers.h"
#include "platform/runtime.h"

namespace dusk {
namespace {

int ErrorOf(auto&& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number;
  }
  return 0;
}

TEST(CheckedIntegers, SixteenBitResultsOutsideTheRangeRaiseOverflow) {
  Int16 a = 32767;
  EXPECT_EQ(ErrorOf([&] { a += 1; }), kErrOverflow);
  EXPECT_EQ(a, 32767);  // unchanged after the failed step
  Int16 b = -32768;
  EXPECT_EQ(ErrorOf([&] { b = b - 1; }), kErrOverflow);
  EXPECT_EQ(ErrorOf([&] { (void)-b; }), kErrOverflow);
  EXPECT_EQ(ErrorOf([&] { Int16 c = 40000; (void)c; }), kErrOverflow);
  Int16 w = 200, f = 9;
  EXPECT_EQ(ErrorOf([&] { Int16 x = w * Int16(200); (void)x; }), kErrOverflow);
  EXPECT_EQ(w * f, 1800);
}

TEST(CheckedIntegers, MixedWidthsComputeInTheWiderType) {
  Int16 small = 30000;
  Int32 big = 30000;
  Int32 sum = small + big;  // fits in 32 bits
  EXPECT_EQ(sum, 60000);
  EXPECT_EQ(ErrorOf([&] { Int16 narrow = small + big; (void)narrow; }), kErrOverflow);
  Int32 edge = 2147483647;
  EXPECT_EQ(ErrorOf([&] { edge += 1; }), kErrOverflow);
}

TEST(FixedArrays, IndexOutsideTheDeclaredBoundsRaisesSubscript) {
  FixedArray<int, 0, 11> a;
  a[0] = 1;
  a[11] = 2;
  EXPECT_EQ(ErrorOf([&] { a[12] = 3; }), kErrSubscript);
  EXPECT_EQ(ErrorOf([&] { a[-1] = 3; }), kErrSubscript);
  FixedArray<int, 1, 3> b;
  EXPECT_EQ(ErrorOf([&] { b[0] = 1; }), kErrSubscript);
}

TEST(NumberReader, ReadsTheNumberATextBeginsWith) {
  EXPECT_EQ(ReadNumber("70"), 70);
  EXPECT_EQ(ReadNumber(" 70"), 70);
  EXPECT_EQ(ReadNumber("1abc"), 1);
  EXPECT_EQ(ReadNumber("0.5"), 0.5);
  EXPECT_EQ(ReadNumber(".5"), 0.5);
  EXPECT_EQ(ReadNumber("-1"), -1);
  EXPECT_EQ(ReadNumber("abc"), 0);
  EXPECT_EQ(ReadNumber(""), 0);
  EXPECT_EQ(ReadNumber("1.5e2x"), 150);
  EXPECT_EQ(ReadNumber("2e"), 2);  // an exponent without digits is not part of the number
  EXPECT_EQ(ReadNumber("12-3"), 12);
}

TEST(NumberReader, BlanksTabsAndLineFeedsAreIgnoredWhereverTheyStand) {
  EXPECT_EQ(ReadNumber("1 2 3"), 123);
  EXPECT_EQ(ReadNumber("\t- 4\n5"), -45);
  EXPECT_EQ(ReadNumber("7\r8"), 7);  // a carriage return is not ignorable
}

TEST(NumberReader, HexadecimalAndOctalPrefixes) {
  EXPECT_EQ(ReadNumber("&H1F"), 31);
  EXPECT_EQ(ReadNumber("&h10zz"), 16);
  EXPECT_EQ(ReadNumber("&O17"), 15);
  EXPECT_EQ(ReadNumber("&HFFFF"), -1);  // a 16-bit pattern
  EXPECT_EQ(ReadNumber("&H8000"), -32768);
  EXPECT_EQ(ReadNumber("&H10000"), 65536);
  EXPECT_EQ(ReadNumber("&Hxyz"), 0);
}

TEST(Rounding, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundHalfEven(70.5), 70);
  EXPECT_EQ(RoundHalfEven(71.5), 72);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(441.5), 442);
  EXPECT_EQ(RoundHalfEven(12.5), 12);
}

TEST(Rounding, SixteenBitEdges) {
  EXPECT_EQ(RoundToInt16(32767.4), 32767);
  EXPECT_EQ(ErrorOf([] { RoundToInt16(32767.5); }), kErrOverflow);  // rounds to 32768
  EXPECT_EQ(RoundToInt16(-32768.5), -32768);                        // rounds to the even -32768
  EXPECT_EQ(ErrorOf([] { RoundToInt16(-32769); }), kErrOverflow);
  EXPECT_EQ(RoundToInt16(32766.5), 32766);
}

TEST(NumberText, OneBlankForZeroOrMoreAMinusOtherwise) {
  EXPECT_EQ(NumberText(70), " 70");
  EXPECT_EQ(NumberText(0), " 0");
  EXPECT_EQ(NumberText(-5), "-5");
}

TEST(WholeNumbers, TextThatIsNotANumberRaisesTypeMismatch) {
  EXPECT_EQ(WholeNumberFromText(" 1234"), 1234);
  EXPECT_EQ(WholeNumberFromText("1234 "), 1234);
  EXPECT_EQ(ErrorOf([] { WholeNumberFromText(""); }), kErrTypeMismatch);
  EXPECT_EQ(ErrorOf([] { WholeNumberFromText("12ab"); }), kErrTypeMismatch);
  EXPECT_EQ(ErrorOf([] { WholeNumberFromText("99999999999"); }), kErrOverflow);
}

TEST(RandomGenerator, DrawsLieInTheUnitIntervalAndReseedingMixes) {
  RandomGenerator g;
  g.Seed(1234.5);
  double first = g.Next();
  for (int i = 0; i < 10000; ++i) {
    double r = g.Next();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
  RandomGenerator h;
  h.Seed(1234.5);
  EXPECT_EQ(h.Next(), first);  // the same seed repeats the sequence
  h.Seed(1234.5);
  EXPECT_NE(h.Next(), first);  // re-seeding at the same moment does not repeat the last draw
}

}  // namespace
}  // namespace dusk
