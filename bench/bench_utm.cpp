// UTM conversions per second: the library, the series evaluated term by term, GeographicLib's
// TransverseMercator::UTM() and PROJ's batch transformation, on the same points of zone 32.
#include <benchmark/benchmark.h>

#include <GeographicLib/TransverseMercator.hpp>
#include <proj.h>

#include <cmath>
#include <vector>

#include "../tests/geo/utm_reference.h"
#include "KVL_geobasics.h"

namespace {

constexpr int kZone = 32;
constexpr double kCentralMeridian = 9.0;  // degrees
constexpr std::size_t kPoints = 4096;

struct Points {
  std::vector<double> lat;  // degrees
  std::vector<double> lon;  // degrees
  std::vector<double> easting;
  std::vector<double> northing;
};

// A deterministic scatter over zone 32 north of the equator, Norway excluded.
const Points& ZonePoints() {
  static const Points points = [] {
    Points p;
    for (std::size_t i = 0; i < kPoints; ++i) {
      const double lat = 0.5 + std::fmod(i * 0.618033988749895, 1.0) * 55;
      const double lon = 6.0 + std::fmod(i * 0.414213562373095, 1.0) * 5.999;
      int zone = 0;
      double easting = 0;
      double northing = 0;
      LatLongToUTM(gelWGS84, lat, lon, zone, easting, northing);
      p.lat.push_back(lat);
      p.lon.push_back(lon);
      p.easting.push_back(easting);
      p.northing.push_back(northing);
    }
    return p;
  }();
  return points;
}

void Finish(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kPoints));
}

void BM_Velmo_LatLongToUTM(benchmark::State& state) {
  const Points& p = ZonePoints();
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      int zone = 0;
      double easting = 0;
      double northing = 0;
      LatLongToUTM(gelWGS84, p.lat[i], p.lon[i], zone, easting, northing);
      benchmark::DoNotOptimize(easting);
      benchmark::DoNotOptimize(northing);
    }
  }
  Finish(state);
}

void BM_Velmo_UTMToLatLong(benchmark::State& state) {
  const Points& p = ZonePoints();
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      double lat = 0;
      double lon = 0;
      UTMToLatLong(kZone, false, gelWGS84, p.easting[i], p.northing[i], lat, lon);
      benchmark::DoNotOptimize(lat);
      benchmark::DoNotOptimize(lon);
    }
  }
  Finish(state);
}

void BM_TermByTerm_LatLongToUTM(benchmark::State& state) {
  const Points& p = ZonePoints();
  const auto wgs84 = reference::Of<double>(gelWGS84);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      int zone = 0;
      double easting = 0;
      double northing = 0;
      reference::LatLongToUTM(wgs84, p.lat[i], p.lon[i], zone, easting, northing);
      benchmark::DoNotOptimize(easting);
      benchmark::DoNotOptimize(northing);
    }
  }
  Finish(state);
}

void BM_TermByTerm_UTMToLatLong(benchmark::State& state) {
  const Points& p = ZonePoints();
  const auto wgs84 = reference::Of<double>(gelWGS84);
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      double lat = 0;
      double lon = 0;
      reference::UTMToLatLong(kZone, false, wgs84, p.easting[i], p.northing[i], lat, lon);
      benchmark::DoNotOptimize(lat);
      benchmark::DoNotOptimize(lon);
    }
  }
  Finish(state);
}

void BM_GeographicLib_Forward(benchmark::State& state) {
  const Points& p = ZonePoints();
  const auto& utm = GeographicLib::TransverseMercator::UTM();
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      double x = 0;
      double y = 0;
      utm.Forward(kCentralMeridian, p.lat[i], p.lon[i], x, y);
      benchmark::DoNotOptimize(x);
      benchmark::DoNotOptimize(y);
    }
  }
  Finish(state);
}

void BM_GeographicLib_Reverse(benchmark::State& state) {
  const Points& p = ZonePoints();
  const auto& utm = GeographicLib::TransverseMercator::UTM();
  for (auto _ : state) {
    for (std::size_t i = 0; i < kPoints; ++i) {
      double lat = 0;
      double lon = 0;
      utm.Reverse(kCentralMeridian, p.easting[i] - kUtmFalseEasting, p.northing[i], lat, lon);
      benchmark::DoNotOptimize(lat);
      benchmark::DoNotOptimize(lon);
    }
  }
  Finish(state);
}

// proj_trans_generic on +proj=utm: radians in, metres out (and back), in place over a copy.
void RunProj(benchmark::State& state, PJ_DIRECTION direction) {
  const Points& p = ZonePoints();
  PJ_CONTEXT* context = proj_context_create();
  PJ* utm = proj_create(context, "+proj=utm +zone=32 +ellps=WGS84");
  if (utm == nullptr) {
    state.SkipWithError("PROJ could not create +proj=utm");
    proj_context_destroy(context);
    return;
  }
  std::vector<double> x(kPoints);
  std::vector<double> y(kPoints);
  for (auto _ : state) {
    state.PauseTiming();
    for (std::size_t i = 0; i < kPoints; ++i) {
      x[i] = direction == PJ_FWD ? proj_torad(p.lon[i]) : p.easting[i];
      y[i] = direction == PJ_FWD ? proj_torad(p.lat[i]) : p.northing[i];
    }
    state.ResumeTiming();
    proj_trans_generic(utm, direction, x.data(), sizeof(double), kPoints, y.data(), sizeof(double),
                       kPoints, nullptr, 0, 0, nullptr, 0, 0);
    benchmark::DoNotOptimize(x.data());
    benchmark::DoNotOptimize(y.data());
  }
  Finish(state);
  proj_destroy(utm);
  proj_context_destroy(context);
}

void BM_Proj_Forward(benchmark::State& state) { RunProj(state, PJ_FWD); }
void BM_Proj_Inverse(benchmark::State& state) { RunProj(state, PJ_INV); }

}  // namespace

BENCHMARK(BM_Velmo_LatLongToUTM);
BENCHMARK(BM_TermByTerm_LatLongToUTM);
BENCHMARK(BM_GeographicLib_Forward);
BENCHMARK(BM_Proj_Forward);
BENCHMARK(BM_Velmo_UTMToLatLong);
BENCHMARK(BM_TermByTerm_UTMToLatLong);
BENCHMARK(BM_GeographicLib_Reverse);
BENCHMARK(BM_Proj_Inverse);

BENCHMARK_MAIN();
