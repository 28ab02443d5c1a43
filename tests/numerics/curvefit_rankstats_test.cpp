// Quartiles, skewness and kurtosis, mean angles and rank correlations of TCurveFit.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

#include "KVL_math2_curvefit.h"

namespace {

using Pairs = std::vector<std::pair<double, double>>;

void Enter(TCurveFit& fit, const Pairs& pairs) {
  for (const auto& [x, y] : pairs) fit.EnterStatValue(x, y);
}

// Pearson correlation, the oracle for Spearman's ρ on mid-ranks.
double Pearson(const std::vector<double>& a, const std::vector<double>& b) {
  const double n = static_cast<double>(a.size());
  double sa = 0, sb = 0, saa = 0, sbb = 0, sab = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    sa += a[i];
    sb += b[i];
    saa += a[i] * a[i];
    sbb += b[i] * b[i];
    sab += a[i] * b[i];
  }
  return (sab - sa * sb / n) / std::sqrt((saa - sa * sa / n) * (sbb - sb * sb / n));
}

TEST(CurveFitQuartiles, InterpolatedAndClampedPositions) {
  struct Case {
    std::vector<double> values;
    double q1, q2, q3;
  };
  const Case cases[] = {
      {{4, 1, 3, 2}, 1.25, 2.5, 3.75},
      {{1, 2}, 1, 1.5, 2},  // the upper quartile never falls below the median
      {{7}, 7, 7, 7},
      {{9, 1, 5, 3, 7}, 2, 5, 8},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    TCurveFit fit;
    for (double v : cases[i].values) fit.EnterStatValue(v, -v);
    double q1, q2, q3;
    EXPECT_TRUE(fit.QuartilesX(q1, q2, q3));
    EXPECT_DOUBLE_EQ(q1, cases[i].q1) << "case " << i;
    EXPECT_DOUBLE_EQ(q2, cases[i].q2) << "case " << i;
    EXPECT_DOUBLE_EQ(q3, cases[i].q3) << "case " << i;
    EXPECT_TRUE(fit.QuartilesY(q1, q2, q3));
    EXPECT_DOUBLE_EQ(q2, -cases[i].q2) << "case " << i;
  }
  TCurveFit empty;
  double q1 = 9, q2 = 9, q3 = 9;
  EXPECT_FALSE(empty.QuartilesX(q1, q2, q3));
  EXPECT_EQ(q1, 0);
}

TEST(CurveFitShape, SkewnessAndKurtosisFromMoments) {
  const std::vector<double> data = {2, 4, 4, 4, 5, 5, 7, 9};
  TCurveFit fit;
  for (double v : data) fit.EnterStatValue(v, 10 - v);
  // Central moments m2 = 4, m3 = 5.25, m4 = 44.5; the bias-corrected estimates are
  // G1 = g1·sqrt(n(n - 1))/(n - 2) and G2 = (n - 1)/((n - 2)(n - 3))·((n + 1)·g2 + 6).
  const double n = 8;
  const double g1 = 5.25 / std::pow(4.0, 1.5);
  const double g2 = 44.5 / 16 - 3;
  const double skew = g1 * std::sqrt(n * (n - 1)) / (n - 2);
  const double kurt = (n - 1) / ((n - 2) * (n - 3)) * ((n + 1) * g2 + 6);
  EXPECT_NEAR(fit.SkewnessX(), skew, 1e-14);
  EXPECT_NEAR(fit.KurtosisX(), kurt, 1e-14);
  EXPECT_NEAR(fit.SkewnessY(), -skew, 1e-14);
  EXPECT_NEAR(fit.KurtosisY(), kurt, 1e-14);

  TCurveFit three;
  Enter(three, {{1, 1}, {2, 5}, {9, 2}});
  EXPECT_EQ(three.SkewnessX(), 0);
  EXPECT_EQ(three.KurtosisY(), 0);
}

TEST(CurveFitShape, MeanAngleInEveryQuadrant) {
  struct Case {
    double a, b, mean;
  };
  const Case cases[] = {{10, 30, 20}, {100, 140, 120}, {200, 220, 210}, {300, 320, 310},
                        {-30, -10, 340}};
  for (const Case& c : cases) {
    TCurveFit fit;
    fit.EnterStatValue(c.a, c.b);
    fit.EnterStatValue(c.b, c.a);
    EXPECT_NEAR(fit.MeanAngleX(), c.mean, 1e-12) << c.a << ", " << c.b;
    EXPECT_NEAR(fit.MeanAngleY(), c.mean, 1e-12) << c.a << ", " << c.b;
  }
  TCurveFit empty;
  EXPECT_EQ(empty.MeanAngleX(), 0);
}

TEST(CurveFitKendall, ConcordantDataAndItsProbability) {
  TCurveFit fit;
  for (int i = 1; i <= 5; ++i) fit.EnterStatValue(i, 2 * i + 1);
  double p = 0;
  EXPECT_EQ(fit.KendallsTau(p), 1);
  // variance (4n + 10)/(9n(n - 1)) = 1/6: p = 1 - erf(sqrt(6)/sqrt(2)).
  EXPECT_NEAR(p, 1 - std::erf(std::sqrt(3.0)), 2e-7);
  EXPECT_EQ(fit.KruskalGamma(), 1);
}

TEST(CurveFitKendall, TiesAndDiscordantPairs) {
  // Pairs of points: one tied in x, two tied in y, one concordant, two discordant.
  TCurveFit fit;
  Enter(fit, {{1, 1}, {1, 2}, {2, 2}, {3, 1}});
  double p = 0;
  EXPECT_NEAR(fit.KendallsTau(p), -1 / std::sqrt(20.0), 1e-15);
  EXPECT_GT(p, 0);
  EXPECT_LT(p, 1);
  EXPECT_NEAR(fit.KruskalGamma(), -1.0 / 3, 1e-15);
}

TEST(CurveFitKendall, RecountedAfterChangesAndZeroForFewPairs) {
  TCurveFit fit;
  Enter(fit, {{1, 2}, {2, 1}, {3, 3}});
  double p = 0;
  EXPECT_NEAR(fit.KendallsTau(p), 1.0 / 3, 1e-15);
  fit.EnterStatValue(4, 0);  // discordant with all three
  EXPECT_NEAR(fit.KendallsTau(p), -1.0 / 3, 1e-15);
  fit.RemoveStatValue(4);
  EXPECT_NEAR(fit.KruskalGamma(), 1.0 / 3, 1e-15);
  fit.RemoveStatValue(3);
  EXPECT_EQ(fit.KendallsTau(p), 0);
  EXPECT_EQ(p, 0);
  EXPECT_EQ(fit.KruskalGamma(), 0);
}

TEST(CurveFitSpearman, WithAndWithoutTies) {
  TCurveFit plain;
  Enter(plain, {{1, 1}, {2, 3}, {3, 2}, {4, 5}, {5, 4}});
  EXPECT_NEAR(plain.SpearmanRankCorr(), 0.8, 1e-15);  // 1 - 6·4/120

  TCurveFit tied;
  Enter(tied, {{1, 2}, {2, 4}, {3, 5}, {4, 4}, {5, 5}});
  EXPECT_NEAR(tied.SpearmanRankCorr(), Pearson({1, 2, 3, 4, 5}, {1, 2.5, 4.5, 2.5, 4.5}), 1e-15);

  TCurveFit bothTied;
  Enter(bothTied, {{3, 1}, {1, 1}, {3, 2}, {2, 7}, {1, 2}});
  EXPECT_NEAR(bothTied.SpearmanRankCorr(),
              Pearson({4.5, 1.5, 4.5, 3, 1.5}, {1.5, 1.5, 3.5, 5, 3.5}), 1e-15);

  TCurveFit reversed;
  Enter(reversed, {{1, 9}, {2, 8}, {3, 7}});
  EXPECT_NEAR(reversed.SpearmanRankCorr(), -1, 1e-15);

  TCurveFit twoPairs;
  Enter(twoPairs, {{1, 1}, {2, 2}});
  EXPECT_EQ(twoPairs.SpearmanRankCorr(), 0);

  TCurveFit constantY;
  Enter(constantY, {{1, 4}, {2, 4}, {3, 4}});
  EXPECT_EQ(constantY.SpearmanRankCorr(), 0);
}

}  // namespace
