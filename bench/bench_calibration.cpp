// Map calibration: conversions per second under each model, and refitting 200 calibration
// points (the conic model's apex search fits 500 candidate apexes).
#include <benchmark/benchmark.h>

#include <cmath>
#include <numbers>

#include "KVL_calibration.h"
#include "KVL_math2_curvefit.h"

namespace {

constexpr int32_t kWidth = 2000;  // map image pixels
constexpr int32_t kHeight = 1500;
constexpr int kPoints = 200;

// A cone with its apex above the image: Lat = 76 - 0.01·r, Long = 10 + 40·θ (degrees).
TCoords ConeCoords(double x, double y) {
  const double dx = x - 1000.0, dy = y + 2600.0;
  return TCoords{76.0 - 0.01 * std::hypot(dx, dy), 10.0 + 40.0 * std::atan(dx / dy)};
}

// 200 points on a 20 x 10 grid over the image, with coordinates of a plausible map of the model.
void Calibrate(TGeoCalibration& calib, TCalibModel model) {
  calib.SetMapImageSize(kWidth, kHeight);
  calib.SetBitmapSize(kWidth, kHeight);
  calib.MutableCalibData().UTMZone = 32;
  calib.StoreCalibModel(model);
  for (int i = 0; i < kPoints; ++i) {
    const int32_t x = 50 + (i % 20) * 100;
    const int32_t y = 50 + (i / 20) * 140;
    const TCoords cone = ConeCoords(x, y);
    TCalQuad& q = calib.MutableCalibData().CalQuads[i + 1];
    if (model == cmUTM) {
      q = TCalQuad{5330000.0 - 50.0 * y, 400000.0 + 50.0 * x, x, y};
    } else if (model == cmConicConformal) {
      q = TCalQuad{cone.Latit, cone.Longit, x, y};
    } else {
      q = TCalQuad{50.0 - y / 61.3 + 1e-6 * x * x / 100, 5.0 + x / 43.7, x, y};
    }
  }
  calib.MutableCalibData().NumCalQuads = kPoints;
  if (model == cmParabolicIp) {
    for (int l = 0; l < 2 * 10; ++l) {  // 10 parallels and 10 meridians of 10 points
      const bool parallel = l < 10;
      for (int k = 0; k < kMaxCalLinePoints; ++k) {
        const int32_t along = 100 + 180 * k;
        calib.AddCalibPoint(parallel ? gtlParallel : gtlMeridian, 40.0 + l,
                            parallel ? along : 100 + 90 * l, parallel ? 100 + 130 * l : along);
      }
    }
  }
  calib.RecalcCalibration();
}

void BM_Recalc(benchmark::State& state) {
  const auto model = static_cast<TCalibModel>(state.range(0));
  TGeoCalibration calib;
  Calibrate(calib, model);
  for (auto _ : state) {
    calib.RecalcCalibration();
    benchmark::DoNotOptimize(calib.Params());
  }
  state.SetLabel(CalibModelName(model));
}

// Pixel to latitude and longitude and back, one round trip per item.
void BM_RoundTrip(benchmark::State& state) {
  const auto model = static_cast<TCalibModel>(state.range(0));
  TGeoCalibration calib;
  Calibrate(calib, model);
  int32_t x = 0, y = 0;
  for (auto _ : state) {
    bool valid = false;
    const double lat = calib.CalcLatitude(x, y, valid);
    const double lon = calib.CalcLongitude(x, y, valid);
    int32_t px = 0, py = 0;
    benchmark::DoNotOptimize(calib.CalcPixelCoords(lat, lon, px, py));
    x = (x + 37) % kWidth;
    y = (y + 23) % kHeight;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(CalibModelName(model));
}

// The apex search's line fits done through TCurveFit: the alternative to the calibration's own
// straight-line fit, which computes the same least-squares line without the store's other sums.
void BM_ConicSearchWithCurveFit(benchmark::State& state) {
  TGeoCalibration calib;
  Calibrate(calib, cmConicConformal);
  const TCalibData& d = calib.CalibData();
  TCurveFit radial, angular;
  for (auto _ : state) {
    for (int candidate = 0; candidate < 500; ++candidate) {
      const double x0 = 1000.0 + candidate, y0 = -2600.0 - candidate;
      radial.Init();
      angular.Init();
      for (int i = 1; i <= d.NumCalQuads; ++i) {
        const TCalQuad& q = d.CalQuads[i];
        radial.EnterStatValue(std::hypot(q.MapX - x0, q.MapY - y0), q.Latitude);
        angular.EnterStatValue(std::atan((q.MapX - x0) / (q.MapY - y0)), q.Longitude);
      }
      double k = 0, dd = 0, quality = 0;
      radial.CalcLinFit(k, dd, quality);
      angular.CalcLinFit(k, dd, quality);
      benchmark::DoNotOptimize(k);
    }
  }
}

const auto kModels = {int64_t{cmParabolicIp}, int64_t{cmBiquadraticPn}, int64_t{cmConicConformal},
                      int64_t{cmMillerCylindrical}, int64_t{cmEquiRect}, int64_t{cmUTM}};

}  // namespace

BENCHMARK(BM_Recalc)->ArgsProduct({kModels})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RoundTrip)->ArgsProduct({kModels});
BENCHMARK(BM_ConicSearchWithCurveFit)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
