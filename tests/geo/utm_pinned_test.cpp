#include <gtest/gtest.h>

#include <cmath>

#include "KVL_geobasics.h"

namespace {

struct UtmCase {
  double lat;  // degrees
  double lon;  // degrees
  int zone;
  double easting;   // metres, to the millimetre
  double northing;  // metres, to the millimetre
};

constexpr UtmCase kWgs84Cases[] = {
    {45, -75, 18, 500000.000, 4982950.400},
    {48, 11, 32, 649187.875, 5318235.614},
    {-34, 18.5, 34, 269102.754, 6235026.074},
    {0, 3, 31, 500000.000, 0.000},
};

TEST(LatLongToUTM, PinnedWgs84Points) {
  for (std::size_t i = 0; i < std::size(kWgs84Cases); ++i) {
    const UtmCase& c = kWgs84Cases[i];
    SCOPED_TRACE(i);
    int zone = -1;
    double easting = 0;
    double northing = 0;
    LatLongToUTM(gelWGS84, c.lat, c.lon, zone, easting, northing);
    EXPECT_EQ(zone, c.zone);
    EXPECT_NEAR(easting, c.easting, 0.0005);
    EXPECT_NEAR(northing, c.northing, 0.0005);

    double lat = 0;
    double lon = 0;
    UTMToLatLong(zone, c.lat < 0, gelWGS84, easting, northing, lat, lon);
    EXPECT_NEAR(lat, c.lat, 1e-8);
    EXPECT_NEAR(lon, c.lon, 1e-8);
  }
}

TEST(LatLongToUTM, CentralMeridianOnTheEquatorIsExact) {
  int zone = -1;
  double easting = 0;
  double northing = 1;
  LatLongToUTM(gelWGS84, 0, 3, zone, easting, northing);
  EXPECT_EQ(zone, 31);
  EXPECT_EQ(easting, 500000.0);
  EXPECT_EQ(northing, 0.0);
}

// Outside the UTM area the zone is 0 and the projection is about the Greenwich meridian.
TEST(LatLongToUTM, OutsideTheAreaProjectsAboutGreenwich) {
  const struct {
    double lat;
    double lon;
  } cases[] = {{84.5, 10}, {-80.5, -20}, {10, 180}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.lat << ", " << c.lon);
    int zone = -1;
    double easting = 0;
    double northing = 0;
    LatLongToUTM(gelWGS84, c.lat, c.lon, zone, easting, northing);
    EXPECT_EQ(zone, 0);
    double x = 0;
    double y = 0;
    LatLongToTM(gelWGS84, c.lat * M_PI / 180, c.lon * M_PI / 180, 0.0, x, y);
    EXPECT_NEAR(easting, 0.9996 * x + 500000, 1e-6);
    EXPECT_NEAR(northing, 0.9996 * y + (y < 0 ? 1e7 : 0), 1e-6);
  }
}

TEST(MeridianArc, FootpointLatitudeInvertsIt) {
  for (TGeoEllipsoid e : {gelWGS84, gelClrk66, gelSphere}) {
    for (double deg = -89; deg <= 89; deg += 7.25) {
      SCOPED_TRACE(testing::Message() << EllipsoidIdent[e] << " " << deg);
      const double lat = deg * M_PI / 180;
      const double arc = MeridianArc(e, lat);
      EXPECT_EQ(std::signbit(arc), std::signbit(lat));
      EXPECT_NEAR(FootpointLatitude(e, arc), lat, 1e-11);  // radians: 0.06 mm
    }
  }
}

// On a sphere n and eta^2 vanish: the arc is a * lat and the series approximate the spherical
// Transverse Mercator.
TEST(SphereReduction, ArcIsRadiusTimesLatitudeAndSeriesMatchClosedForm) {
  const double a = EllipsoidAxes[gelSphere].SemiMajor;
  for (double deg = -80; deg <= 84; deg += 4) {
    SCOPED_TRACE(deg);
    const double lat = deg * M_PI / 180;
    EXPECT_EQ(MeridianArc(gelSphere, lat), a * lat);
    EXPECT_DOUBLE_EQ(FootpointLatitude(gelSphere, a * lat), lat);
    for (double dl : {-3.0, 1.5, 3.0}) {
      const double l = dl * M_PI / 180;
      double x = 0;
      double y = 0;
      LatLongToTM(gelSphere, lat, l, 0.0, x, y);
      EXPECT_NEAR(x, a * std::atanh(std::cos(lat) * std::sin(l)), 1e-6);
      EXPECT_NEAR(y, a * std::atan2(std::tan(lat), std::cos(l)), 1e-6);
    }
  }
}

TEST(UnknownEllipsoid, GivesNaNWithoutReadingPastTheTable) {
  const auto unknown = static_cast<TGeoEllipsoid>(kEllipsoidCount);
  double x = 0;
  double y = 0;
  int zone = -1;
  EXPECT_TRUE(std::isnan(MeridianArc(unknown, 0.5)));
  EXPECT_TRUE(std::isnan(FootpointLatitude(unknown, 1000)));
  LatLongToTM(unknown, 0.5, 0.1, 0, x, y);
  EXPECT_TRUE(std::isnan(x) && std::isnan(y));
  TMToLatLong(unknown, 1000, 1000, 0, x, y);
  EXPECT_TRUE(std::isnan(x) && std::isnan(y));
  LatLongToUTM(unknown, 45, 9, zone, x, y);
  EXPECT_EQ(zone, 32);
  EXPECT_TRUE(std::isnan(x) && std::isnan(y));
  UTMToLatLong(32, false, unknown, 500000, 5e6, x, y);
  EXPECT_TRUE(std::isnan(x) && std::isnan(y));
}

}  // namespace
