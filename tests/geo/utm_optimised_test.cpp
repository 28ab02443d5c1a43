// The library shares one sine and cosine per latitude and evaluates the series by Horner's rule.
// Its results must stay with the series as written: compared with the term-by-term evaluation in
// extended precision, on grids that reach the zone edges in both hemispheres.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "KVL_geobasics.h"
#include "utm_reference.h"

namespace {

// Four units in the last place of a northing near 10'000'000 m: what a double evaluation of the
// series can hold. The term-by-term evaluation in double strays this far (7.45e-9 m measured).
constexpr double kTolerance = 7.5e-9;  // metres
constexpr double kMetresPerDegree = 111'320.0;

TEST(OptimisedSeries, ForwardAndInverseStayWithTheSeriesAsWritten) {
  for (TGeoEllipsoid ellipsoid : {gelWGS84, gelClrk80, gelSphere}) {
    SCOPED_TRACE(EllipsoidIdent[ellipsoid]);
    const auto reference = reference::Of<long double>(ellipsoid);
    double worstForward = 0;
    double worstInverse = 0;
    for (int zone : {1, 31, 60}) {
      const double meridian = 6 * zone - 183;
      for (double lat = -80; lat <= 84; lat += 0.5) {
        for (double dl = -3; dl < 3; dl += 0.5) {
          const double lon = meridian + dl;
          int z = 0;
          double easting = 0;
          double northing = 0;
          LatLongToUTM(ellipsoid, lat, lon, z, easting, northing);
          int refZone = 0;
          double refEasting = 0;
          double refNorthing = 0;
          reference::LatLongToUTM(reference, lat, lon, refZone, refEasting, refNorthing);
          ASSERT_EQ(z, refZone);
          worstForward = std::max({worstForward, std::abs(easting - refEasting),
                                   std::abs(northing - refNorthing)});

          const bool south = lat < 0;
          double backLat = 0;
          double backLon = 0;
          UTMToLatLong(z, south, ellipsoid, easting, northing, backLat, backLon);
          double refLat = 0;
          double refLon = 0;
          reference::UTMToLatLong(z, south, reference, easting, northing, refLat, refLon);
          worstInverse = std::max(
              {worstInverse, std::abs(backLat - refLat) * kMetresPerDegree,
               std::abs(backLon - refLon) * std::cos(lat * M_PI / 180) * kMetresPerDegree});
        }
      }
    }
    EXPECT_LE(worstForward, kTolerance);
    EXPECT_LE(worstInverse, kTolerance);
  }
}

}  // namespace
