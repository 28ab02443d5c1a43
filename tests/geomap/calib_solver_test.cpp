// The calibration's own straight-line fit gives what TCurveFit.CalcLinFit gives; the design
// solver completes underdetermined systems to their minimum-norm solution.
#include <gtest/gtest.h>

#include <cmath>

#include "KVL_calib_solver.h"
#include "KVL_math2_curvefit.h"

namespace {

TEST(CalibSolver, LineFitMatchesCurveFit) {
  const std::vector<std::vector<double>> xs = {
      {1, 2, 3}, {0.5, -3, 7, 1e4, 2e4}, {4, 4, 4}, {-1e6, 1e6}, {0.1, 0.2, 0.3, 0.4}};
  const std::vector<std::vector<double>> ys = {
      {3, 5, 7}, {1, 2, -3, 8, 40}, {1, 2, 3}, {5, 7}, {1e-3, 4e-3, 2e-3, 9e-3}};
  for (std::size_t s = 0; s < xs.size(); ++s) {
    TCurveFit reference;
    for (std::size_t i = 0; i < xs[s].size(); ++i) reference.EnterStatValue(xs[s][i], ys[s][i]);
    double k = 0, d = 0, quality = 0;
    reference.CalcLinFit(k, d, quality);
    const TLineFit fit = FitLine(xs[s], ys[s]);
    EXPECT_NEAR(fit.K, k, 1e-12 * (1 + std::abs(k))) << "set " << s;
    EXPECT_NEAR(fit.D, d, 1e-12 * (1 + std::abs(d))) << "set " << s;
  }
  try {
    FitLine({1.0}, {2.0});
    FAIL() << "no error";
  } catch (const EKVLMath2Error& e) {
    EXPECT_STREQ(e.what(), "CalcLinFit: not enough data points");
  }
}

TEST(CalibSolver, UnderdeterminedSystemGetsTheMinimumNormSolution) {
  // One observation 1·c1 + 2·c2 + 2·c3 = 9: the shortest solution is (1, 2, 2).
  double c[3] = {7, 7, 7};
  ASSERT_TRUE(SolveLeastSquares(3, {1.0, 2.0, 2.0}, {9.0}, c));
  EXPECT_NEAR(c[0], 1.0, 1e-12);
  EXPECT_NEAR(c[1], 2.0, 1e-12);
  EXPECT_NEAR(c[2], 2.0, 1e-12);
  // An overdetermined consistent system is solved exactly: y = 2 + 3t.
  double line[2] = {};
  ASSERT_TRUE(SolveLeastSquares(2, {1, 1, 1, 2, 1, 3, 1, 4}, {5, 8, 11, 14}, line));
  EXPECT_NEAR(line[0], 2.0, 1e-12);
  EXPECT_NEAR(line[1], 3.0, 1e-12);
}

}  // namespace
