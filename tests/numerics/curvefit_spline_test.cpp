// Interpolating and smoothing cubic splines of TCurveFit.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "KVL_math2_curvefit.h"

namespace {

using Pairs = std::vector<std::pair<double, double>>;

void Enter(TCurveFit& fit, const Pairs& pairs) {
  for (const auto& [x, y] : pairs) fit.EnterStatValue(x, y);
}

const Pairs kWiggly = {{0, 1}, {0.5, 2.5}, {1.25, 0.5}, {2, 1.75}, {3.5, -1}, {4, 0.25}, {5, 2}};

TEST(CurveFitCubicSpline, HandComputedNaturalSpline) {
  // (0, 0), (1, 1), (2, 0): the middle second derivative is -3, so f(0.5) = 0.5 + 0.1875.
  TCurveFit fit;
  Enter(fit, {{2, 0}, {0, 0}, {1, 1}});  // any order
  EXPECT_NEAR(fit.CubicSpline(0.5), 0.6875, 1e-15);
  EXPECT_NEAR(fit.CubicSpline(1.5), 0.6875, 1e-15);
  EXPECT_NEAR(fit.CubicSpline(1), 1, 1e-15);
  // Beyond the ends: straight on with the end slope 1.5 (natural end).
  EXPECT_NEAR(fit.CubicSpline(-1), -1.5, 1e-15);
  EXPECT_NEAR(fit.CubicSpline(3), -1.5, 1e-15);
}

TEST(CurveFitCubicSpline, PassesThroughEveryPair) {
  TCurveFit fit;
  Enter(fit, kWiggly);
  for (const auto& [x, y] : kWiggly) EXPECT_NEAR(fit.CubicSpline(x), y, 1e-14) << x;
}

TEST(CurveFitCubicSpline, ClampedEndsReproduceACubic) {
  auto cubic = [](double x) { return x * x * x - 2 * x + 1; };
  TCurveFit fit;
  for (double x : {-1.0, -0.2, 0.5, 1.0, 2.5, 3.0}) fit.EnterStatValue(x, cubic(x));
  fit.SetSplineNatural1(false);
  fit.SetSplineNaturalN(false);
  fit.SetSplineDerivY1(3 * 1 - 2);   // y' = 3x² - 2 at -1
  fit.SetSplineDerivYN(3 * 9 - 2);   // and at 3
  for (double x : {-0.9, 0.1, 1.7, 2.9}) EXPECT_NEAR(fit.CubicSpline(x), cubic(x), 1e-12) << x;
}

TEST(CurveFitCubicSpline, SettingsAndDataChangesAreSeen) {
  TCurveFit fit;
  Enter(fit, {{0, 0}, {1, 1}, {2, 0}});
  const double natural = fit.CubicSpline(0.5);
  fit.SetSplineNatural1(false);  // clamped with slope 0 at x = 0
  const double clamped = fit.CubicSpline(0.5);
  EXPECT_NE(clamped, natural);
  EXPECT_NEAR(fit.CubicSpline(1e-7), 0, 1e-12);  // flat start
  fit.SetSplineDerivY1(1);
  EXPECT_NE(fit.CubicSpline(0.5), clamped);
  fit.EnterStatValue(3, 5);
  EXPECT_NEAR(fit.CubicSpline(3), 5, 1e-14);
  fit.RemoveStatValue(4);
  EXPECT_NE(fit.CubicSpline(3), 5);
}

TEST(CurveFitCubicSpline, DegenerateData) {
  TCurveFit fit;
  EXPECT_EQ(fit.CubicSpline(1), 0);
  fit.EnterStatValue(2, 7);
  EXPECT_EQ(fit.CubicSpline(-5), 7);
  fit.EnterStatValue(2, 9);  // equal x: one knot at the mean
  EXPECT_EQ(fit.CubicSpline(3), 8);
  fit.EnterStatValue(4, 10);  // two knots, natural ends: a straight line
  EXPECT_NEAR(fit.CubicSpline(3), 9, 1e-15);
  fit.EnterStatValue(std::numeric_limits<double>::quiet_NaN(), 1);
  EXPECT_TRUE(std::isnan(fit.CubicSpline(3)));
}

TEST(CurveFitSmoothedSpline, NoSmoothingInterpolates) {
  TCurveFit fit;
  Enter(fit, kWiggly);
  fit.SetSplineSmoothingFactor(0);
  for (double x : {-1.0, 0.3, 1.9, 3.0, 4.7, 6.0}) {
    double q = 0;
    bool valid = false;
    EXPECT_NEAR(fit.SmoothedSpline(x, q, valid), fit.CubicSpline(x), 1e-12) << x;
    EXPECT_TRUE(valid);
    EXPECT_NEAR(q, 1, 1e-14);
  }
}

TEST(CurveFitSmoothedSpline, HeavySmoothingGivesTheRegressionLine) {
  TCurveFit fit;
  Enter(fit, kWiggly);
  fit.SetSplineSmoothingFactor(1e12);
  double k, d, lineQ;
  fit.CalcLinFit(k, d, lineQ);
  double q = 0;
  bool valid = false;
  for (double x : {0.0, 2.2, 5.0, 7.0}) {
    EXPECT_NEAR(fit.SmoothedSpline(x, q, valid), k * x + d, 1e-8) << x;
  }
  EXPECT_NEAR(q, lineQ, 1e-8);
}

TEST(CurveFitSmoothedSpline, IsTheNaturalSplineThroughItsFittedValues) {
  TCurveFit fit;
  Enter(fit, kWiggly);
  fit.EnterStatValue(2, 0.75);  // a repeated x weighs twice
  fit.SetSplineSmoothingFactor(0.3);
  double q = 0;
  bool valid = false;
  TCurveFit through;
  double sumResidual = 0, sumXResidual = 0;
  for (double x : {0.0, 0.5, 1.25, 2.0, 3.5, 4.0, 5.0}) {
    const double g = fit.SmoothedSpline(x, q, valid);
    through.EnterStatValue(x, g);
  }
  for (int32_t i = 1; i <= fit.NumData(); ++i) {
    const double r = fit.DataY(i) - fit.SmoothedSpline(fit.DataX(i), q, valid);
    sumResidual += r;
    sumXResidual += fit.DataX(i) * r;
  }
  // The penalty ignores straight lines, so the residuals are orthogonal to 1 and x ...
  EXPECT_NEAR(sumResidual, 0, 1e-13);
  EXPECT_NEAR(sumXResidual, 0, 1e-12);
  // ... and between its knots the smoothing spline is the natural interpolating spline.
  for (double x : {0.2, 1.0, 2.7, 4.5}) {
    EXPECT_NEAR(fit.SmoothedSpline(x, q, valid), through.CubicSpline(x), 1e-13) << x;
  }
  EXPECT_GT(q, 0);
  EXPECT_LT(q, 1);
}

TEST(CurveFitSmoothedSpline, MoreSmoothingFitsWorse) {
  TCurveFit fit;
  Enter(fit, kWiggly);
  double previous = 2;
  for (double lambda : {0.0, 0.01, 0.1, 1.0, 10.0}) {
    fit.SetSplineSmoothingFactor(lambda);
    double q = 0;
    bool valid = false;
    fit.SmoothedSpline(1, q, valid);
    EXPECT_LT(q, previous) << lambda;
    previous = q;
  }
}

TEST(CurveFitSmoothedSpline, InvalidWithoutTwoDistinctX) {
  TCurveFit fit;
  double q = 9;
  bool valid = true;
  EXPECT_EQ(fit.SmoothedSpline(1, q, valid), 0);
  EXPECT_FALSE(valid);
  Enter(fit, {{1, 2}, {1, 4}});
  EXPECT_EQ(fit.SmoothedSpline(1, q, valid), 0);
  EXPECT_FALSE(valid);
  EXPECT_EQ(q, 0);
  fit.EnterStatValue(3, 6);  // two distinct x: the line through (1, 3) and (3, 6)
  EXPECT_NEAR(fit.SmoothedSpline(2, q, valid), 4.5, 1e-14);
  EXPECT_TRUE(valid);
}

}  // namespace
