// The pair store, its running sums and domain flags, the descriptive statistics, the straight
// line and parabola fits and the great-circle distance.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

#include "KVL_math2_curvefit.h"

namespace {

using Pairs = std::vector<std::pair<double, double>>;

void Enter(TCurveFit& fit, const Pairs& pairs) {
  for (const auto& [x, y] : pairs) fit.EnterStatValue(x, y);
}

TEST(CurveFitStore, InitForgetsEverything) {
  TCurveFit fit;
  Enter(fit, {{0, 5}, {2, 7}});
  fit.Init();
  EXPECT_EQ(fit.NumData(), 0);
  EXPECT_EQ(fit.ErrIndic(), 0);
  EXPECT_EQ(fit.Sums().sumx, 0);
  EXPECT_EQ(fit.Sums().sum1byx, 0);
  EXPECT_EQ(fit.MinX(), 1.7e308);
  EXPECT_EQ(fit.MaxY(), -1.7e308);
  EXPECT_EQ(fit.DataX(1), 0);
}

TEST(CurveFitStore, TracksExtremes) {
  TCurveFit fit;
  Enter(fit, {{3, -2}, {-1, 8}, {2, 0}});
  EXPECT_EQ(fit.MinX(), -1);
  EXPECT_EQ(fit.MaxX(), 3);
  EXPECT_EQ(fit.MinY(), -2);
  EXPECT_EQ(fit.MaxY(), 8);
}

TEST(CurveFitStore, DomainFlags) {
  struct Case {
    double x, y;
    uint8_t flags;
  };
  const Case cases[] = {
      {0, 5, dfXNotPositive | dfXTiny},
      {2, -1, dfYNotPositive},
      {3, 0, dfYTinyOrZero | dfYNotPositive},
      {-2, 1e-31, dfXNotPositive | dfYTinyOrZero},
      {1, 1, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TCurveFit fit;
    fit.EnterStatValue(cases[i].x, cases[i].y);
    EXPECT_EQ(fit.ErrIndic(), cases[i].flags) << "case " << i;
  }
}

TEST(CurveFitStore, StandInsForTinyValues) {
  TCurveFit fit;
  fit.EnterStatValue(0, 2);  // x tiny: BIG replaces 1/x, BIG/y replaces 1/(x·y)
  fit.EnterStatValue(4, 0);  // y tiny: BIG replaces 1/y, BIG/x replaces 1/(x·y)
  const TCurveFitSums& s = fit.Sums();
  EXPECT_EQ(s.sum1byx, 1.7e38L + 0.25L);
  EXPECT_EQ(s.sum1byxy, 1.7e38L / 2 + 1.7e38L / 4);
  EXPECT_EQ(s.sum1byy, 0.5L + 1.7e38L);
  EXPECT_EQ(s.sumybyx, 1.7e38L * 2);
  EXPECT_EQ(s.sumxbyy, 1.7e38L * 4);
  EXPECT_EQ(s.sumlnx, std::log(4.0));  // only x > 0
  EXPECT_EQ(s.sumlny, std::log(2.0));  // only y > 0
}

TEST(CurveFitStore, GrowsByThousandRows) {
  TCurveFit fit;
  EXPECT_EQ(fit.DataCapacity(), 1000);
  for (int i = 1; i <= 1000; ++i) fit.EnterStatValue(i, 0);
  EXPECT_EQ(fit.DataCapacity(), 1000);
  fit.EnterStatValue(1001, 0);
  EXPECT_EQ(fit.DataCapacity(), 2000);
  EXPECT_EQ(fit.DataX(1001), 1001);
  EXPECT_EQ(fit.DataX(1002), 0);  // beyond the data
  fit.Init();
  EXPECT_EQ(fit.DataCapacity(), 2000);
}

TEST(CurveFitStore, RemoveMovesLaterPairsUpAndRestoresSums) {
  TCurveFit fit;
  TCurveFit reference;
  for (int i = 1; i <= 400; ++i) {
    fit.EnterStatValue(i, 0.5 * i + 1);
    if (i != 300) reference.EnterStatValue(i, 0.5 * i + 1);
  }
  fit.RemoveStatValue(300);
  ASSERT_EQ(fit.NumData(), 399);
  EXPECT_EQ(fit.DataX(299), 299);
  EXPECT_EQ(fit.DataX(300), 301);
  EXPECT_EQ(fit.DataY(399), 201);
  EXPECT_EQ(fit.DataX(400), 0);
  const TCurveFitSums& a = fit.Sums();
  const TCurveFitSums& b = reference.Sums();
  EXPECT_NEAR(a.sumx, b.sumx, 1e-9);
  EXPECT_NEAR(a.sumy4, b.sumy4, 1e-3);
  EXPECT_NEAR(a.sum1byxy, b.sum1byxy, 1e-15);
  EXPECT_NEAR(a.sumxqlny, b.sumxqlny, 1e-6);
  EXPECT_NEAR(a.sumlnxbyy, b.sumlnxbyy, 1e-15);
}

TEST(CurveFitStore, RemoveOutOfRangeChangesNothing) {
  TCurveFit fit;
  Enter(fit, {{1, 2}, {3, 4}});
  for (int32_t ix : {0, -1, 3, INT32_MIN, INT32_MAX}) fit.RemoveStatValue(ix);
  EXPECT_EQ(fit.NumData(), 2);
  EXPECT_EQ(fit.Sums().sumx, 4);
}

TEST(CurveFitStore, RemovingAPairTakesBackItsStandIns) {
  TCurveFit fit;
  fit.EnterStatValue(0, 0);
  fit.RemoveStatValue(1);
  const TCurveFitSums& s = fit.Sums();
  EXPECT_EQ(s.sum1byx, 0);
  EXPECT_EQ(s.sum1byxq, 0);
  EXPECT_EQ(s.sum1byy, 0);
  EXPECT_EQ(s.sum1byyq, 0);
  EXPECT_EQ(s.sum1byxy, 0);
  EXPECT_EQ(fit.ErrIndic(), dfXNotPositive | dfXTiny | dfYTinyOrZero | dfYNotPositive);
}

TEST(CurveFitStatistics, ExactLine) {
  TCurveFit fit;
  Enter(fit, {{1, 3}, {2, 5}, {3, 7}});
  int32_t n = 0;
  double mx, my, sx, sy, md, sd, r;
  fit.CalcStatistics(n, mx, my, sx, sy, md, sd, r);
  EXPECT_EQ(n, 3);
  EXPECT_DOUBLE_EQ(mx, 2);
  EXPECT_DOUBLE_EQ(my, 5);
  EXPECT_DOUBLE_EQ(sx, 1);
  EXPECT_DOUBLE_EQ(sy, 2);
  EXPECT_DOUBLE_EQ(md, -3);  // x - y: -2, -3, -4
  EXPECT_DOUBLE_EQ(sd, 1);
  EXPECT_DOUBLE_EQ(r, 1);
  EXPECT_DOUBLE_EQ(fit.CorrCoeff(), 1);
  EXPECT_DOUBLE_EQ(fit.StdDevY(), 2);
}

TEST(CurveFitStatistics, HandComputedCorrelation) {
  // x = 1..5, y = 2 4 5 4 5: Sxx = 10, Syy = 6, Sxy = 6, r = 6 / sqrt(60).
  TCurveFit fit;
  Enter(fit, {{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}});
  EXPECT_NEAR(fit.CorrCoeff(), 6 / std::sqrt(60.0), 1e-15);
  EXPECT_NEAR(fit.StdDevX(), std::sqrt(2.5), 1e-15);
  EXPECT_NEAR(fit.StdDevY(), std::sqrt(1.5), 1e-15);
}

TEST(CurveFitStatistics, TwoPairsGiveMeansOnly) {
  TCurveFit fit;
  Enter(fit, {{1, 10}, {3, 20}});
  int32_t n = 0;
  double mx, my, sx, sy, md, sd, r;
  fit.CalcStatistics(n, mx, my, sx, sy, md, sd, r);
  EXPECT_EQ(n, 2);
  EXPECT_EQ(mx, 2);
  EXPECT_EQ(my, 15);
  EXPECT_EQ(md, -13);
  EXPECT_EQ(sx, 0);
  EXPECT_EQ(sy, 0);
  EXPECT_EQ(sd, 0);
  EXPECT_EQ(r, 0);
}

TEST(CurveFitStatistics, EmptyAndConstantData) {
  TCurveFit fit;
  EXPECT_EQ(fit.MeanX(), 0);
  EXPECT_EQ(fit.CorrCoeff(), 0);
  Enter(fit, {{1, 5}, {2, 5}, {3, 5}});  // no spread in y
  EXPECT_EQ(fit.CorrCoeff(), 0);
}

TEST(CurveFitLinear, ExactLine) {
  TCurveFit fit;
  Enter(fit, {{1, 3}, {2, 5}, {3, 7}});
  double k, d, q;
  fit.CalcLinFit(k, d, q);
  EXPECT_NEAR(k, 2, 1e-14);
  EXPECT_NEAR(d, 1, 1e-14);
  EXPECT_NEAR(q, 1, 1e-14);
}

TEST(CurveFitLinear, FarFromOrigin) {
  TCurveFit fit;
  for (int i = 0; i < 50; ++i) fit.EnterStatValue(5e6 + i, -0.25 * (5e6 + i) + 3e5);
  double k, d, q;
  fit.CalcLinFit(k, d, q);
  EXPECT_NEAR(k, -0.25, 1e-12);
  EXPECT_NEAR(d, 3e5, 1e-5);
  EXPECT_NEAR(q, 1, 1e-12);
}

TEST(CurveFitLinear, NoisyDataQualityIsRSquared) {
  TCurveFit fit;
  Enter(fit, {{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}});
  double k, d, q;
  fit.CalcLinFit(k, d, q);
  EXPECT_NEAR(k, 0.6, 1e-14);
  EXPECT_NEAR(d, 2.2, 1e-14);
  EXPECT_NEAR(q, 0.6, 1e-14);  // r² = 36 / 60
}

TEST(CurveFitLinear, EqualXIsNoError) {
  TCurveFit fit;
  Enter(fit, {{2, 1}, {2, 5}});
  double k = 9, d = 9, q = 9;
  fit.CalcLinFit(k, d, q);
  EXPECT_EQ(k, 0);
  EXPECT_EQ(d, 0);
  EXPECT_EQ(q, 0);
}

TEST(CurveFitLinear, TooFewPairs) {
  TCurveFit fit;
  fit.EnterStatValue(1, 1);
  double k = 9, d = 9, q = 9;
  try {
    fit.CalcLinFit(k, d, q);
    FAIL() << "no error";
  } catch (const EKVLMath2Error& e) {
    EXPECT_STREQ(e.what(), "CalcLinFit: not enough data points");
  }
  EXPECT_EQ(k, 0);
}

TEST(CurveFitParabola, ExactParabolas) {
  struct Case {
    Pairs pairs;
    double k0, k1, k2;
  };
  const Case cases[] = {
      {{{-1, 1}, {0, 0}, {1, 1}, {2, 4}}, 0, 0, 1},
      {{{10, 3 - 20 + 50}, {11, 3 - 22 + 60.5}, {13, 3 - 26 + 84.5}, {14, 3 - 28 + 98}},
       3, -2, 0.5},
      {{{1, 4}, {2, 4}, {3, 4}}, 4, 0, 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TCurveFit fit;
    Enter(fit, cases[i].pairs);
    double k0, k1, k2, q;
    fit.CalcParabolFit(k0, k1, k2, q);
    EXPECT_NEAR(k0, cases[i].k0, 1e-9) << "case " << i;
    EXPECT_NEAR(k1, cases[i].k1, 1e-10) << "case " << i;
    EXPECT_NEAR(k2, cases[i].k2, 1e-12) << "case " << i;
    EXPECT_NEAR(q, 1, 1e-12) << "case " << i;
  }
}

TEST(CurveFitParabola, TooFewPairs) {
  TCurveFit fit;
  Enter(fit, {{1, 1}, {2, 2}});
  double k0, k1, k2, q;
  EXPECT_THROW(fit.CalcParabolFit(k0, k1, k2, q), EKVLMath2Error);
  try {
    fit.CalcParabolFit(k0, k1, k2, q);
  } catch (const EKVLMath2Error& e) {
    EXPECT_STREQ(e.what(), "CalcParabolFit: not enough data points");
  }
}

TEST(SphericalDistance, Cases) {
  const double R = 6378000;
  const double pi = std::numbers::pi;
  struct Case {
    double lat1, lon1, lat2, lon2, expected;
  };
  const Case cases[] = {
      {0, 0, 0, 90, R * pi / 2},
      {0, 0, 0, 180, R * pi},
      {90, 0, -90, 0, R * pi},
      {48, 16, 48, 16, 0},
      {0, -10, 0, 10, R * pi / 9},
      {60, 0, 60, 180, R * pi / 3},  // over the pole
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const Case& c = cases[i];
    EXPECT_NEAR(SphericalDistance(R, c.lat1, c.lon1, c.lat2, c.lon2), c.expected, 1e-2)
        << "case " << i;
  }
}

}  // namespace
