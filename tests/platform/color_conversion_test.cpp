// TColor (0x00BBGGRR) against Qt's colours: channels land in the right place both ways.
#include <gtest/gtest.h>

#include "ColorConversion.h"

namespace {

struct TColorCase {
  TColor Color;
  int Red, Green, Blue;
};

const TColorCase kCases[] = {
    {0x00000000, 0, 0, 0},       {0x00FFFFFF, 255, 255, 255}, {0x000000FF, 255, 0, 0},
    {0x0000FF00, 0, 255, 0},     {0x00FF0000, 0, 0, 255},     {0x00C0DCC0, 192, 220, 192},
    {0x00F0CAA6, 166, 202, 240}, {0x00123456, 0x56, 0x34, 0x12},
};

TEST(ColorConversion, ChannelsBothWays) {
  for (size_t i = 0; i < std::size(kCases); ++i) {
    const TColorCase& c = kCases[i];
    SCOPED_TRACE(i);
    EXPECT_EQ(ToQRgb(c.Color), qRgb(c.Red, c.Green, c.Blue));
    EXPECT_EQ(ToQColor(c.Color), QColor(c.Red, c.Green, c.Blue));
    EXPECT_EQ(FromQRgb(qRgb(c.Red, c.Green, c.Blue)), c.Color);
    EXPECT_EQ(FromQColor(QColor(c.Red, c.Green, c.Blue)), c.Color);
  }
}

TEST(ColorConversion, IgnoresWhatTheOtherSideCannotHold) {
  EXPECT_EQ(qAlpha(ToQRgb(0x00123456)), 255);
  EXPECT_EQ(ToQRgb(0xAB123456), ToQRgb(0x00123456)) << "the high byte of TColor is not a channel";
  EXPECT_EQ(FromQRgb(qRgba(0x56, 0x34, 0x12, 0x40)), 0x00123456u);
  EXPECT_EQ(FromQColor(QColor(0x56, 0x34, 0x12, 0x40)), 0x00123456u);
}

}  // namespace
