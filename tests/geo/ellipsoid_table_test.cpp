#include <gtest/gtest.h>

#include <set>
#include <string>

#include "KVL_geoellipsoids.h"

namespace {

struct TableRow {
  TGeoEllipsoid ellipsoid;
  const char* ident;
  const char* name;
  double a;
  double b;
};

// Spot checks across the table: first, last, the spheres and rows that are easy to mix up.
constexpr TableRow kRows[] = {
    {gelWGS84, "gelWGS84", "WGS 1984", 6378137, 6356752.314245},
    {gelClrk80RGS, "gelClrk80RGS", "Clarke 1880 RGS", 6378249.145, 6356514.86955},
    {gelEver30Ind, "gelEver30Ind", "Everest 1830 (India 1937 adj.)", 6377276.3452, 6356075.4133},
    {gelGRS80, "gelGRS80", "GRS 1980", 6378137, 6356752.31414},
    {gelSphere, "gelSphere", "Normal Sphere", 6370997, 6370997},
    {gelClrk80intfoot, "gelClrk80intfoot", "Clarke 1880 (international foot)", 6378306.3696, 6356571.996},
    {gelInt24AuthSph, "gelInt24AuthSph", "International 1924 Authalic Sphere", 6371228, 6371228},
    {gelPopVisSphere, "gelPopVisSphere", "Popular Visualisation Sphere", 6378137, 6378137},
    {gelNahrwan29, "gelNahrwan29", "Nahrwan 1929", 6378300.782, 6356566.42744},
};

TEST(EllipsoidTable, SpotRows) {
  for (const TableRow& row : kRows) {
    SCOPED_TRACE(row.ident);
    EXPECT_EQ(EllipsoidIdent[row.ellipsoid], row.ident);
    EXPECT_EQ(EllipsoidName[row.ellipsoid], row.name);
    EXPECT_EQ(EllipsoidAxes[row.ellipsoid].SemiMajor, row.a);
    EXPECT_EQ(EllipsoidAxes[row.ellipsoid].SemiMinor, row.b);
  }
}

TEST(EllipsoidTable, EveryRowIsPlausibleAndDistinct) {
  static_assert(sizeof(TGeoEllipsoid) == 1);
  std::set<std::string_view> idents;
  std::set<std::string_view> names;
  for (std::size_t i = 0; i < kEllipsoidCount; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(EllipsoidIdent[i].substr(0, 3), "gel");
    EXPECT_TRUE(idents.insert(EllipsoidIdent[i]).second);
    EXPECT_TRUE(names.insert(EllipsoidName[i]).second);
    const TEllipsoidAxes axes = EllipsoidAxes[i];
    EXPECT_GE(axes.SemiMajor, axes.SemiMinor);
    // Every entry is an Earth model: axes between 6350 and 6380 km, flattening below 1/290.
    EXPECT_GT(axes.SemiMinor, 6'350'000.0);
    EXPECT_LT(axes.SemiMajor, 6'380'000.0);
    EXPECT_LT((axes.SemiMajor - axes.SemiMinor) / axes.SemiMajor, 1.0 / 290);
  }
}

}  // namespace
