#include <gtest/gtest.h>

#include <cmath>

#include "KVL_random.h"
#include "KVL_stringl.h"

namespace {

constexpr char kLandmarkPattern[] = "yyyymmddHHMMSS";

// Seconds since 30 December 1899: whole days count toward zero, the fraction is the time of day.
double Instant(double value) {
  const double days = std::trunc(value);
  return days * 86400.0 + std::fabs(value - days) * 86400.0;
}

struct ScanCase {
  const char* text;
  const char* pattern;
  double expected;  // days since 30 December 1899
  int32_t endPos;
};

TEST(ScanDateTime, Table) {
  const ScanCase cases[] = {
      {"20240229235958", kLandmarkPattern, 45351.0 + 86398.0 / 86400.0, 15},
      {"18991230000000", kLandmarkPattern, 0.0, 15},
      {"18991229060000", kLandmarkPattern, -1.25, 15},  // the fraction counts back before 1899
      {"00010101000000", kLandmarkPattern, -693593.0, 15},
      {"99991231000000x", kLandmarkPattern, 2958465.0, 15},
      {"12:30:00", "HH:MM:SS", 0.5 + 30.0 / 1440.0, 9},
      {"on 2000-01-01", "on yyyy-mm-dd", 36526.0, 14},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const ScanCase& c = cases[i];
    int32_t pos = 1;
    bool failed = true;
    EXPECT_NEAR(ScanDateTime(c.text, pos, c.pattern, 0, failed), c.expected, 1e-9) << "case " << i;
    EXPECT_FALSE(failed) << "case " << i;
    EXPECT_EQ(pos, c.endPos) << "case " << i;
  }
}

TEST(ScanDateTime, RefusesTextsThatNameNoValidTime) {
  const char* bad[] = {
      "20241301000000", "20230229000000", "20240100000000", "20240101240000", "20240101006000",
      "20240101000060", "00000101000000", "2024010100000",  "2024-101000000", "",
      "2024010100000\x01", "99999999999999",
  };
  for (const char* text : bad) {
    int32_t pos = 1;
    bool failed = false;
    EXPECT_EQ(ScanDateTime(text, pos, kLandmarkPattern, 0, failed), 0.0) << text;
    EXPECT_TRUE(failed) << text;
    EXPECT_EQ(pos, 1) << text;
  }
  int32_t pos = 0;
  bool failed = false;
  ScanDateTime("20240101000000", pos, kLandmarkPattern, 0, failed);
  EXPECT_TRUE(failed);
}

TEST(FormatDateTime, RoundTripsThroughScanDateTimeToTheSecond) {
  SetRandomSeed(20240229);
  for (int i = 0; i < 2000; ++i) {
    // Anywhere in years 1 to 9999.
    const double value = -693593.0 + RandomUniform() * (2958465.9 + 693593.0);
    const std::string text = FormatDateTime(kLandmarkPattern, value);
    ASSERT_EQ(text.size(), 14u) << value;
    int32_t pos = 1;
    bool failed = true;
    const double back = ScanDateTime(text, pos, kLandmarkPattern, 0, failed);
    ASSERT_FALSE(failed) << text;
    EXPECT_NEAR(Instant(back), Instant(value), 0.5 + 1e-3) << text;
    EXPECT_EQ(FormatDateTime(kLandmarkPattern, back), text);
  }
}

TEST(FormatDateTime, Fields) {
  EXPECT_EQ(FormatDateTime(kLandmarkPattern, 45351.0 + 86398.0 / 86400.0), "20240229235958");
  EXPECT_EQ(FormatDateTime(kLandmarkPattern, 0.9999999), "18991231000000");  // 23:59:59.99
  EXPECT_EQ(FormatDateTime("dd.mm.yy HH", 36526.75), "01.01.00 18");
  EXPECT_EQ(FormatDateTime(kLandmarkPattern, -1e9), "");
  EXPECT_EQ(FormatDateTime(kLandmarkPattern, NAN), "");
}

}  // namespace
