// Polynomial, circle, analysis-of-variance and linearised fits of TCurveFit.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "KVL_math2_curvefit.h"

namespace {

const std::vector<double> kPositiveX = {0.5, 1, 2, 3, 4.5, 6};

void EnterModel(TCurveFit& fit, const std::function<double(double)>& model) {
  for (double x : kPositiveX) fit.EnterStatValue(x, model(x));
}

TEST(CurveFitLinearised, TwoParameterModelsOnExactData) {
  using Calc = void (TCurveFit::*)(double&, double&, double&) const;
  struct Case {
    const char* name;
    Calc calc;
    double k0, k1;
    std::function<double(double, double, double)> model;
  };
  const Case cases[] = {
      {"ReciLin", &TCurveFit::CalcReciLinFit, 0.5, 0.25,
       [](double x, double a, double b) { return 1 / (a + b * x); }},
      {"Hyperbol", &TCurveFit::CalcHyperbolFit, 2, 3,
       [](double x, double a, double b) { return a + b / x; }},
      {"ReciHyperbol", &TCurveFit::CalcReciHyperbolFit, 0.5, 2,
       [](double x, double a, double b) { return x / (a * x + b); }},
      {"Log", &TCurveFit::CalcLogFit, 1, 2,
       [](double x, double a, double b) { return a + b * std::log(x); }},
      {"ReciLog", &TCurveFit::CalcReciLogFit, 1, 0.5,
       [](double x, double a, double b) { return 1 / (a + b * std::log(x)); }},
      {"Power", &TCurveFit::CalcPowerFit, 3, 1.5,
       [](double x, double a, double b) { return a * std::pow(x, b); }},
      {"Exponential", &TCurveFit::CalcExponentialFit, 2, -0.3,
       [](double x, double a, double b) { return a * std::exp(b * x); }},
  };
  for (const Case& c : cases) {
    TCurveFit fit;
    EnterModel(fit, [&](double x) { return c.model(x, c.k0, c.k1); });
    double k0 = 0, k1 = 0, q = 0;
    (fit.*c.calc)(k0, k1, q);
    EXPECT_NEAR(k0, c.k0, 1e-12) << c.name;
    EXPECT_NEAR(k1, c.k1, 1e-12) << c.name;
    EXPECT_NEAR(q, 1, 1e-12) << c.name;
  }
}

TEST(CurveFitLinearised, ThreeParameterModelsOnExactData) {
  using Calc = void (TCurveFit::*)(double&, double&, double&, double&) const;
  struct Case {
    const char* name;
    Calc calc;
    double k0, k1, k2;
    std::function<double(double, double, double, double)> model;
  };
  const Case cases[] = {
      {"Gauss", &TCurveFit::CalcGaussFit, 4, 2, 1.5,
       [](double x, double a, double m, double s) {
         return a * std::exp(-(x - m) * (x - m) / (2 * s * s));
       }},
      {"Hoerl", &TCurveFit::CalcHoerlFit, 2, 1.5, -0.5,
       [](double x, double a, double b, double c) { return a * std::pow(b, x) * std::pow(x, c); }},
  };
  for (const Case& c : cases) {
    TCurveFit fit;
    EnterModel(fit, [&](double x) { return c.model(x, c.k0, c.k1, c.k2); });
    double k0 = 0, k1 = 0, k2 = 0, q = 0;
    (fit.*c.calc)(k0, k1, k2, q);
    EXPECT_NEAR(k0, c.k0, 1e-10) << c.name;
    EXPECT_NEAR(k1, c.k1, 1e-10) << c.name;
    EXPECT_NEAR(k2, c.k2, 1e-10) << c.name;
    EXPECT_NEAR(q, 1, 1e-12) << c.name;
  }
}

TEST(CurveFitLinearised, NoisyDataQualityIsRSquaredOfTransformedData) {
  // ln y against ln x: the points (0, 0), (ln 2, ln 2 + 0.1), (ln 4, 2 ln 2) give r² < 1.
  TCurveFit fit;
  fit.EnterStatValue(1, 1);
  fit.EnterStatValue(2, 2 * std::exp(0.1));
  fit.EnterStatValue(4, 4);
  double k0, k1, q;
  fit.CalcPowerFit(k0, k1, q);
  const double u[] = {0, std::log(2.0), std::log(4.0)};
  const double v[] = {0, std::log(2.0) + 0.1, std::log(4.0)};
  double su = 0, sv = 0, suu = 0, svv = 0, suv = 0;
  for (int i = 0; i < 3; ++i) {
    su += u[i];
    sv += v[i];
    suu += u[i] * u[i];
    svv += v[i] * v[i];
    suv += u[i] * v[i];
  }
  const double sxy = suv - su * sv / 3;
  const double r2 = sxy * sxy / ((suu - su * su / 3) * (svv - sv * sv / 3));
  EXPECT_NEAR(q, r2, 1e-14);
  EXPECT_LT(q, 1);
  EXPECT_NEAR(k1, sxy / (suu - su * su / 3), 1e-14);
}

TEST(CurveFitLinearised, RefusedOutsideTheDomainOrWhenDegenerate) {
  double k0 = 9, k1 = 9, k2 = 9, q = 9;
  TCurveFit negativeX;
  negativeX.EnterStatValue(-1, 2);
  EnterModel(negativeX, [](double x) { return 2 * x; });
  negativeX.CalcPowerFit(k0, k1, q);
  EXPECT_EQ(k0, 0);
  EXPECT_EQ(k1, 0);
  EXPECT_EQ(q, 0);
  negativeX.CalcExponentialFit(k0, k1, q);  // y > 0 throughout: fine
  EXPECT_NE(k0, 0);
  negativeX.CalcHoerlFit(k0, k1, k2, q);
  EXPECT_EQ(k0, 0);

  TCurveFit zeroY;
  EnterModel(zeroY, [](double x) { return x - 1; });  // y = 0 at x = 1
  zeroY.CalcReciLinFit(k0, k1, q);
  EXPECT_EQ(k0, 0);

  TCurveFit constantX;  // all x equal: no line through 1/x
  for (double y : {1.0, 2.0, 3.0}) constantX.EnterStatValue(0.1, y);
  constantX.CalcHyperbolFit(k0, k1, q);
  EXPECT_EQ(k1, 0);
  constantX.CalcHoerlFit(k0, k1, k2, q);
  EXPECT_EQ(k0, 0);

  TCurveFit upwards;  // ln y a parabola open upwards: no Gaussian
  EnterModel(upwards, [](double x) { return std::exp(x * x); });
  upwards.CalcGaussFit(k0, k1, k2, q);
  EXPECT_EQ(k0, 0);
  EXPECT_EQ(k2, 0);
}

TEST(CurveFitPolynomial, ExactCubic) {
  TCurveFit fit;
  for (double x = -2; x <= 3; x += 1) fit.EnterStatValue(x, 1 - 2 * x + 0.5 * x * x * x);
  std::vector<double> params;
  double q = 0;
  bool singular = true;
  ASSERT_TRUE(fit.CalcPolyFit(3, params, q, singular));
  ASSERT_EQ(params.size(), 4u);
  const double expected[] = {1, -2, 0, 0.5};
  for (size_t j = 0; j < 4; ++j) EXPECT_NEAR(params[j], expected[j], 1e-12) << j;
  EXPECT_NEAR(q, 1, 1e-14);
  EXPECT_FALSE(singular);
}

TEST(CurveFitPolynomial, DegreeZeroIsTheMean) {
  TCurveFit fit;
  for (double y : {1.0, 2.0, 6.0}) fit.EnterStatValue(y * 3, y);
  std::vector<double> params;
  double q = 0;
  bool singular = true;
  ASSERT_TRUE(fit.CalcPolyFit(0, params, q, singular));
  ASSERT_EQ(params.size(), 1u);
  EXPECT_NEAR(params[0], 3, 1e-14);
  EXPECT_EQ(q, 0);  // constant fitted values have no spread
}

TEST(CurveFitPolynomial, RankDeficientIsSingular) {
  TCurveFit fit;
  for (auto [x, y] : {std::pair{1.0, 2.0}, {1.0, 4.0}, {2.0, 5.0}}) fit.EnterStatValue(x, y);
  std::vector<double> params;
  double q = 0;
  bool singular = false;
  EXPECT_TRUE(fit.CalcPolyFit(2, params, q, singular));
  EXPECT_TRUE(singular);
  // Whatever the minimum-norm solution, it passes through the mean at x = 1 and the point at 2.
  EXPECT_NEAR(params[0] + params[1] + params[2], 3, 1e-12);
  EXPECT_NEAR(params[0] + 2 * params[1] + 4 * params[2], 5, 1e-12);
}

TEST(CurveFitPolynomial, CenteredOnTheMeanOrAGivenCentre) {
  TCurveFit fit;
  // y = 7 + 2·(x - 1000) - 0.5·(x - 1000)² + 0.01·(x - 1000)³ at x = 995 .. 1005.
  auto model = [](double x) {
    const double u = x - 1000;
    return 7 + 2 * u - 0.5 * u * u + 0.01 * u * u * u;
  };
  for (int i = -5; i <= 5; ++i) fit.EnterStatValue(1000 + i, model(1000 + i));
  std::vector<double> params;
  double mean = 0, q = 0;
  bool singular = true;
  ASSERT_TRUE(fit.CalcCenteredPolyFit(3, params, mean, q, singular));
  EXPECT_EQ(mean, 1000);
  const double expected[] = {7, 2, -0.5, 0.01};
  for (size_t j = 0; j < 4; ++j) EXPECT_NEAR(params[j], expected[j], 1e-10) << j;
  EXPECT_NEAR(q, 1, 1e-14);
  EXPECT_FALSE(singular);

  double centre = 1002;  // about another centre the same curve has other coefficients
  ASSERT_TRUE(fit.CalcCenteredPolyFit(3, params, centre, q, singular));
  EXPECT_EQ(centre, 1002);
  for (double x : {996.5, 1000.0, 1004.25}) {
    const double u = x - centre;
    EXPECT_NEAR(params[0] + params[1] * u + params[2] * u * u + params[3] * u * u * u, model(x),
                1e-9);
  }
}

TEST(CurveFitAnova, HandComputedTables) {
  TCurveFit fit;
  for (auto [obs, est] : {std::pair{1.0, 1.1}, {2.0, 1.9}, {3.0, 3.2}, {4.0, 3.8}})
    fit.EnterStatValue(obs, est);
  struct Case {
    bool includeConst;
    int32_t dfreg, dfres, dftotal;
    double sse, ssr, sst, mse, msr, f;
  };
  const Case cases[] = {
      {true, 1, 2, 3, 0.1, 4.5, 5, 0.05, 4.5, 90},
      {false, 1, 3, 4, 0.1, 29.5, 30, 0.1 / 3, 29.5, 885},
  };
  for (const Case& c : cases) {
    int32_t dfreg, dfres, dftotal;
    double sse, ssr, sst, mse, msr, f;
    fit.CalcAnovaReg(1, c.includeConst, dfreg, dfres, dftotal, sse, ssr, sst, mse, msr, f);
    const std::string at = c.includeConst ? "with constant" : "without constant";
    EXPECT_EQ(dfreg, c.dfreg) << at;
    EXPECT_EQ(dfres, c.dfres) << at;
    EXPECT_EQ(dftotal, c.dftotal) << at;
    EXPECT_NEAR(sse, c.sse, 1e-13) << at;
    EXPECT_NEAR(ssr, c.ssr, 1e-13) << at;
    EXPECT_NEAR(sst, c.sst, 1e-13) << at;
    EXPECT_NEAR(mse, c.mse, 1e-13) << at;
    EXPECT_NEAR(msr, c.msr, 1e-13) << at;
    EXPECT_NEAR(f, c.f, 1e-9) << at;
  }
}

TEST(CurveFitAnova, PerfectFitAndNoDegreesOfFreedom) {
  TCurveFit fit;
  for (double v : {1.0, 2.0, 4.0}) fit.EnterStatValue(v, v);
  int32_t dfreg, dfres, dftotal;
  double sse, ssr, sst, mse, msr, f;
  fit.CalcAnovaReg(1, true, dfreg, dfres, dftotal, sse, ssr, sst, mse, msr, f);
  EXPECT_EQ(sse, 0);
  EXPECT_EQ(f, 1e10);
  fit.CalcAnovaReg(2, true, dfreg, dfres, dftotal, sse, ssr, sst, mse, msr, f);
  EXPECT_EQ(dfres, 0);
  EXPECT_EQ(mse, 0);
  EXPECT_TRUE(std::isfinite(f));
}

TEST(CurveFitCircle, ExactCircles) {
  struct Case {
    double cx, cy, r;
    int points;
  };
  const Case cases[] = {{0, 0, 1, 4}, {3, -2, 5, 8}, {1e3, 2e3, 0.5, 5}};
  for (const Case& c : cases) {
    TCurveFit fit;
    for (int i = 0; i < c.points; ++i) {
      const double a = 2 * 3.14159265358979323846 * i / c.points;
      fit.EnterStatValue(c.cx + c.r * std::cos(a), c.cy + c.r * std::sin(a));
    }
    double r, dx, dy;
    fit.CalcCircleFit(r, dx, dy);
    EXPECT_NEAR(dx, c.cx, 1e-9 * (1 + std::fabs(c.cx)));
    EXPECT_NEAR(dy, c.cy, 1e-9 * (1 + std::fabs(c.cy)));
    EXPECT_NEAR(r, c.r, 1e-7);
  }
}

TEST(CurveFitCircle, Errors) {
  struct Case {
    std::vector<std::pair<double, double>> points;
    const char* message;
  };
  const Case cases[] = {
      {{{1, 0}, {0, 1}}, "CalcCircleFit: not enough data points"},
      {{{0, 0}, {1, 1}, {2, 2}}, "CalcCircleFit: radius is infinite"},
  };
  for (const Case& c : cases) {
    TCurveFit fit;
    for (auto [x, y] : c.points) fit.EnterStatValue(x, y);
    double r = 9, dx = 9, dy = 9;
    try {
      fit.CalcCircleFit(r, dx, dy);
      ADD_FAILURE() << "no error for " << c.message;
    } catch (const EKVLMath2Error& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(r, 0);
  }
}

}  // namespace

namespace {

TEST(CurveFitEmpty, EveryQueryIsNeutral) {
  TCurveFit fit;
  std::vector<double> params;
  double q = 9, mean = 0;
  bool singular = true;
  fit.CalcPolyFit(2, params, q, singular);
  EXPECT_EQ(params, std::vector<double>(3, 0.0));
  EXPECT_EQ(q, 0);
  fit.CalcCenteredPolyFit(1, params, mean, q, singular);
  EXPECT_EQ(mean, 0);
  double k0 = 9, k1 = 9, k2 = 9;
  fit.CalcPowerFit(k0, k1, q);
  EXPECT_EQ(k0, 0);
  fit.CalcGaussFit(k0, k1, k2, q);
  EXPECT_EQ(k2, 0);
  int32_t dfreg, dfres, dftotal;
  double sse, ssr, sst, mse, msr, f;
  fit.CalcAnovaReg(1, true, dfreg, dfres, dftotal, sse, ssr, sst, mse, msr, f);
  EXPECT_EQ(dftotal, -1);
  EXPECT_EQ(ssr, 0);
  EXPECT_EQ(f, 0);
  double p = 9;
  EXPECT_EQ(fit.KendallsTau(p), 0);
  EXPECT_EQ(fit.SpearmanRankCorr(), 0);
  EXPECT_EQ(fit.SkewnessX(), 0);
}

}  // namespace
