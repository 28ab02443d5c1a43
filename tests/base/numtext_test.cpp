#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KVL_stringl.h"

namespace {

struct FixedCase {
  int32_t width;
  int32_t decimals;
  long double value;
  const char* expected;
};

TEST(FormatFixedWidth, Table) {
  const FixedCase cases[] = {
      {8, 3, -1.5L, "  -1.500"},
      {-8, 3, -1.5L, "-001.500"},
      {-8, 3, 1.5L, "0001.500"},
      {1, 5, 48.2L, "48.20000"},
      {0, 0, 7.0L, "7"},
      {3, 2, 123.456L, "123.46"},  // wider than asked when needed
      {6, 1, -0.0L, "   0.0"},
      {12, 0, 1e20L, "100000000000000000000"},
      {12, 2, 1e36L, " 1.000E+0036"},  // fixed turns scientific at 1e36
      {12, -1, 1234.56L, " 1.235E+0003"},
      {13, -1, -0.000123456L, "-1.2346E-0004"},
      {5, -1, 3.14159L, " 3.1E+0000"},    // below 10: two digits, ten characters
      {30, -1, 1.0L, "     1.00000000000000000E+0000"},  // at most 18 digits, right-aligned
      {10, -2, 1234.4L, " 1.234E+03"},
      {10, -2, -1234.4L, "-1.234E+03"},
      {10, -2, 1e150L, "**********"},
      {10, -2, 1e-100L, "**********"},
      {8, -2, 5.0L, " 5.0E+00"},
      {-12, -1, 2.0L, "02.000E+0000"},
      {4, 1, std::numeric_limits<long double>::quiet_NaN(), " NAN"},
      {5, 1, -std::numeric_limits<long double>::infinity(), " -INF"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const FixedCase& c = cases[i];
    EXPECT_EQ(FormatFixedWidth(c.width, c.decimals, c.value), c.expected) << "case " << i;
  }
}

TEST(FormatFixedWidth, UsesExtendedPrecision) {
  // 2^63 + 1 is exact in 80 bits but not in a double.
  const long double value = 9223372036854775809.0L;
  EXPECT_EQ(FormatFixedWidth(1, 0, value), "9223372036854775809");
}

TEST(FormatFixedWidth, HugeWidthAndDecimalsStayBounded) {
  EXPECT_EQ(FormatFixedWidth(INT32_MIN, 0, 1.0L).size(), 255u);
  EXPECT_EQ(FormatFixedWidth(INT32_MAX, -1, 1.0L).size(), 255u);
  EXPECT_EQ(FormatFixedWidth(1, INT32_MAX, 1.0L), "1." + std::string(64, '0'));
  EXPECT_EQ(FormatFixedWidth(1, INT32_MIN, 1.0L), " 1.0E+0000");
}

struct DegreeCase {
  int32_t style;
  int32_t decimals;
  double value;
  const char* expected;
};

TEST(FormatDegrees, Table) {
  const DegreeCase cases[] = {
      {0, 2, 12.3456789, "12.35\u00B0"},
      {1, 2, 12.3456789, "12\u00B0 20.74'"},
      {2, 2, 12.3456789, "12\u00B0 20' 44.44\""},
      {3, 2, 12.3456789, "12.35"},
      {4, 2, 12.3456789, ""},
      {-1, 2, 12.3456789, ""},
      {1, 0, 12.99, "12\u00B0  59'"},
      {1, 0, 12.9999, "13\u00B0   0'"},  // 780 minutes: the degrees snap to 13
      {2, 0, 10.5, "10\u00B0 30'   0\""},
      {2, 0, 10.99999, "11\u00B0  0'   0\""},
      {2, 0, -10.5, "-10\u00B0 30'   0\""},
      {1, 0, -0.5, "-0\u00B0  30'"},  // the sign survives a zero degree part
      {3, 20, 1.0, "1.00000000"},      // decimals clamped to 8
      {0, -3, 1.6, "2\u00B0"},
      {1, 1, 0.0, "0\u00B0  0.0'"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const DegreeCase& c = cases[i];
    EXPECT_EQ(FormatDegrees(c.style, c.decimals, c.value), c.expected) << "case " << i;
  }
}

TEST(FormatDegrees, NonFiniteAndHugeValuesGiveText) {
  EXPECT_EQ(FormatDegrees(2, 0, std::nan("")), "NAN\u00B0");
  EXPECT_EQ(FormatDegrees(1, 0, 1e300), " 1.0E+0300\u00B0   0'");
}

TEST(IntToHexText, Table) {
  EXPECT_EQ(IntToHexText(0x1234ABCDu, 4), "ABCD");
  EXPECT_EQ(IntToHexText(5, 0), "5");
  EXPECT_EQ(IntToHexText(0x1234ABCDu, 8), "1234ABCD");
  EXPECT_EQ(IntToHexText(0xFFu, 255), "000000FF");
  EXPECT_EQ(IntToHexText(0xA0u, 3), "0A0");
}

TEST(BoolToText, AllStyles) {
  const char* expected[][2] = {{"TRUE", "FALSE"}, {"T", "F"},   {".T.", ".F."}, {"1", "0"},
                               {"-1", "0"},       {"FF", "00"}, {"TRUE", "FALSE"}};
  for (int32_t style = 0; style <= 6; ++style) {
    EXPECT_EQ(BoolToText(true, style), expected[style][0]) << style;
    EXPECT_EQ(BoolToText(false, style), expected[style][1]) << style;
  }
  EXPECT_EQ(BoolToText(true, -1), "TRUE");
}

}  // namespace
