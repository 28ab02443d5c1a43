#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "KVL_geobasics.h"

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct ZoneCase {
  double lat;
  double lon;
  int zone;
  char band;
};

constexpr ZoneCase kZoneCases[] = {
    {45, -75, 18, 'T'},
    {-80, -180, 1, 'C'},
    {-72, 0, 31, 'D'},
    {-32.5, 0, 31, 'H'},
    {-32, 0, 31, 'J'},  // no band I
    {-0.5, 0, 31, 'M'},
    {0, 0, 31, 'N'},
    {8, 0, 31, 'P'},  // no band O
    {71.9, 0, 31, 'W'},
    {72, 0, 31, 'X'},
    {84, 0, 31, 'X'},
    {0, 179.9, 60, 'N'},
    // Norway: band V from 3E to 12E is zone 32.
    {60, 5, 32, 'V'},
    {56, 3, 32, 'V'},
    {56, 2.9, 31, 'V'},
    {63.9, 11.9, 32, 'V'},
    {60, 12, 33, 'V'},
    {64, 5, 31, 'W'},
    {55.9, 5, 31, 'U'},
    // Svalbard: band X from 0E to 42E is zones 31, 33, 35, 37.
    {78, 10, 33, 'X'},
    {72, 8.9, 31, 'X'},
    {72, 9, 33, 'X'},
    {80, 20.9, 33, 'X'},
    {80, 21, 35, 'X'},
    {80, 33, 37, 'X'},
    {80, 41.9, 37, 'X'},
    {80, 42, 38, 'X'},
    {80, -0.1, 30, 'X'},
    // Outside the UTM area.
    {84.5, 0, 0, ' '},
    {-80.5, 0, 0, ' '},
    {0, 180, 0, ' '},
    {0, -180.5, 0, ' '},
    {kNaN, 0, 0, ' '},
    {0, kNaN, 0, ' '},
};

TEST(CalcUTMZone, ZonesAndBands) {
  for (std::size_t i = 0; i < std::size(kZoneCases); ++i) {
    const ZoneCase& c = kZoneCases[i];
    SCOPED_TRACE(testing::Message() << "case " << i << ": " << c.lat << ", " << c.lon);
    int zone = -1;
    char band = '?';
    CalcUTMZone(c.lat, c.lon, zone, band);
    EXPECT_EQ(zone, c.zone);
    EXPECT_EQ(band, c.band);
  }
}

// Points a rounding error away from an edge stay on their own side of it.
TEST(CalcUTMZone, NoRoundingAcrossEdges) {
  struct EdgeCase {
    double lat;
    double lon;
    int zone;
    char band;
  };
  const double tiny = 1e-300;
  const EdgeCase cases[] = {
      {0, std::nextafter(180.0, 0.0), 60, 'N'},
      {0, -tiny, 30, 'N'},
      {-tiny, 0, 31, 'M'},
      {std::nextafter(56.0, 0.0), 3, 31, 'U'},
      {60, std::nextafter(3.0, 0.0), 31, 'V'},
      {80, std::nextafter(9.0, 0.0), 31, 'X'},
  };
  for (const EdgeCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
    int zone = -1;
    char band = '?';
    CalcUTMZone(c.lat, c.lon, zone, band);
    EXPECT_EQ(zone, c.zone);
    EXPECT_EQ(band, c.band);
  }
}

TEST(UTMCentralMeridian, RadiansInsideTheZoneRangeOnly) {
  const struct {
    int zone;
    double degrees;
  } cases[] = {{1, -177}, {18, -75}, {31, 3}, {60, 177}, {0, 0}, {61, 0}, {-1, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.zone);
    EXPECT_NEAR(UTMCentralMeridian(c.zone), c.degrees * M_PI / 180, 1e-15);
  }
}

}  // namespace
