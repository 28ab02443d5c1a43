#include <gtest/gtest.h>

#include <string>

#include "KVL_stringl.h"

namespace {

struct IntCase {
  const char* text;
  int32_t pos;
  int32_t expected;
  int32_t endPos;
};

TEST(ScanInteger, Table) {
  const IntCase cases[] = {
      {"  -42x", 1, -42, 6},
      {"+", 1, 0, 2},
      {"", 1, 0, 1},
      {"abc", 1, 0, 1},
      {"12 34", 3, 34, 6},
      {"   ", 1, 0, 3},             // blanks skipped only up to the last character
      {"7", 2, 0, 2},               // behind the text
      {"7", 0, 0, 0},               // before the text
      {"4294967297", 1, 1, 11},     // wraps in 32 bits
      {"-2147483648", 1, INT32_MIN, 12},
      {"2147483648", 1, INT32_MIN, 11},
      {"--5", 1, 0, 2},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const IntCase& c = cases[i];
    int32_t pos = c.pos;
    EXPECT_EQ(ScanInteger(c.text, pos), c.expected) << "case " << i;
    EXPECT_EQ(pos, c.endPos) << "case " << i;
  }
}

TEST(ScanInteger, StopsAtEmbeddedNul) {
  const std::string text("12\0" "34", 5);
  int32_t pos = 1;
  EXPECT_EQ(ScanInteger(text, pos), 12);
  EXPECT_EQ(pos, 3);
}

struct FloatCase {
  const char* text;
  bool allowExponent;
  int32_t mark;
  double expected;
  int32_t endPos;
};

TEST(ScanFloat, Table) {
  const FloatCase cases[] = {
      {"12,5;", false, 1, 12.0, 3},
      {"12,5;", false, 3, 12.5, 5},
      {"12.5", false, 3, 12.5, 5},
      {"12,5", false, 2, 12.5, 5},
      {"12.5", false, 2, 12.0, 3},
      {"12.5", false, 0, 12.0, 3},  // no decimal mark at all
      {"5.", false, 1, 5.0, 3},
      {"--1", false, 1, 0.0, 2},
      {"1E999", true, 1, 1.7e308, 6},
      {"-1E999", true, 1, -1.7e308, 7},
      {"1E-999", true, 1, 0.0, 7},
      {"1.5E3", true, 1, 1500.0, 6},
      {"1.5E3", false, 1, 1.5, 4},
      {"1.5e-3x", true, 1, 0.0015, 7},
      {"  -.25 ", false, 1, -0.25, 7},
      {"+7", false, 1, 7.0, 3},
      {".", false, 1, 0.0, 2},
      {"-.", false, 1, 0.0, 3},
      {"12E", true, 1, 12.0, 4},
      {"12E+", true, 1, 12.0, 5},
      {"12E+x", true, 1, 12.0, 5},
      {"E5", true, 1, 0.0, 1},
      {"x", true, 1, 0.0, 1},
      {"", true, 1, 0.0, 1},
      {"3", true, 1, 3.0, 2},
      {"1..2", true, 1, 0.0, 3},
      {"1 2", true, 1, 1.0, 2},
      {"2-3", true, 1, 2.0, 2},
      {"1E5.3", true, 1, 1e5, 4},
      {"5.E3", true, 1, 5000.0, 5},
      {"-.E3", true, 1, 0.0, 5},  // no digit before the exponent
      {"3.4e38", true, 3, 3.4e38, 7},
      {"1E000000000000000000000000002", true, 1, 100.0, 30},
      {"1E42009", true, 1, 1.7e308, 8},  // exponent cut after 4200: still out of range
      {"0.000000000000000000000000000000001E4200", true, 1, 1.7e308, 41},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const FloatCase& c = cases[i];
    int32_t pos = 1;
    EXPECT_DOUBLE_EQ(ScanFloat(c.text, pos, c.allowExponent, c.mark), c.expected) << "case " << i;
    EXPECT_EQ(pos, c.endPos) << "case " << i;
  }
}

TEST(ScanFloat, ReadsFromTheGivenPositionAndLeavesOutsidePositions) {
  int32_t pos = 4;
  EXPECT_DOUBLE_EQ(ScanFloat("ab 3.25;", pos, false, 1), 3.25);
  EXPECT_EQ(pos, 8);
  for (const int32_t start : {0, -5, 9, INT32_MAX}) {
    pos = start;
    EXPECT_EQ(ScanFloat("ab 3.25;", pos, true, 3), 0.0) << start;
    EXPECT_EQ(pos, start);
  }
}

TEST(ScanFloat, LongDigitRunsConvertCorrectly) {
  const std::string many = std::string(400, '9') + ".5";
  int32_t pos = 1;
  EXPECT_EQ(ScanFloat(many, pos, false, 1), 1.7e308);
  const std::string tiny = "0." + std::string(400, '0') + "1";
  pos = 1;
  EXPECT_EQ(ScanFloat(tiny, pos, true, 1), 0.0);
  EXPECT_EQ(pos, static_cast<int32_t>(tiny.size()) + 1);
}

TEST(Scanners, HugeTextsEndInTheNeutralResult) {
  const std::string blanks(1'000'000, ' ');
  int32_t pos = 1;
  EXPECT_EQ(ScanInteger(blanks, pos), 0);
  EXPECT_EQ(pos, 1'000'000);
  pos = 1;
  EXPECT_EQ(ScanFloat(blanks, pos, true, 3), 0.0);
  EXPECT_EQ(pos, 1'000'001);
  const std::string digits(1'000'000, '7');
  pos = 1;
  EXPECT_EQ(ScanFloat(digits, pos, true, 1), 1.7e308);
  pos = 1;
  ScanInteger(digits, pos);  // wraps silently
  EXPECT_EQ(pos, 1'000'001);
}

struct HexCase {
  const char* text;
  int32_t expected;
  int32_t endPos;
};

TEST(ScanHex, Table) {
  const HexCase cases[] = {
      {"00FF8040", 0x00FF8040, 9},
      {"$ff", 0xFF, 4},
      {"#aBc;", 0xABC, 5},
      {"0x1F", 0x1F, 5},
      {"  1a g", 0x1A, 5},
      {"FFFFFFFF", -1, 9},
      {"123456789", 0x23456789, 10},  // wraps in 32 bits
      {"g", 0, 1},
      {"$", 0, 2},
      {"", 0, 1},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const HexCase& c = cases[i];
    int32_t pos = 1;
    EXPECT_EQ(ScanHex(c.text, pos), c.expected) << "case " << i;
    EXPECT_EQ(pos, c.endPos) << "case " << i;
  }
}

TEST(ScanHex, ReadsWhatIntToHexTextWrites) {
  for (const uint32_t value : {0u, 0x00C08040u, 0xFFFFFFFFu, 0x80000000u}) {
    int32_t pos = 1;
    EXPECT_EQ(static_cast<uint32_t>(ScanHex(IntToHexText(value, 8), pos)), value);
  }
}

}  // namespace
