#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "KVL_vector.h"
#include "vector_test_support.h"

namespace {

std::string ThrownMessage(auto&& action) {
  try {
    action();
  } catch (const EKVLVectorError& e) {
    return e.what();
  }
  ADD_FAILURE() << "no EKVLVectorError";
  return {};
}

// Moments of (1, 2, 3, 4, 10): mean 4, deviations (-3, -2, -1, 0, 6), sums of their squares 50,
// cubes 180, fourth powers 1394; sample standard deviation sqrt(50 / 4).
const std::vector<double> kSkewed = {1, 2, 3, 4, 10};
const double kSkewedSkew = 180.0 / 5 / std::pow(12.5, 1.5);
const double kSkewedKurt = 1394.0 / 5 / (12.5 * 12.5) - 3;
const double kSkewedSampleSkew = kSkewedSkew * 25 / (4 * 3);      // 6 / sqrt(12.5)
const double kSkewedSampleKurt = (kSkewedKurt + 3) * 25 * 6 / (4 * 3 * 2) - 3.0 * 16 / (3 * 2);

}  // namespace

TEST(VectorStats, SumOverClampedRanges) {
  TVector v;
  Load(v, {1.5, 2.5, 3, 4});
  EXPECT_EQ(v.Sum(1, 4), 11);
  EXPECT_EQ(v.Sum(4, 2), 9.5);
  EXPECT_EQ(v.Sum(0, 0), 1.5);   // element 1 alone
  EXPECT_EQ(v.Sum(-9, 99), 11);
  // 1e16 + 1 needs more than a double's 53 bits.
  Load(v, {1e16, 1, 1, -1e16});
  EXPECT_EQ(v.Sum(1, 4), 2);

  TIntVector iv;
  Load(iv, {std::numeric_limits<int32_t>::max(), 1, 5});
  EXPECT_EQ(iv.Sum(1, 2), std::numeric_limits<int32_t>::min());  // wraps
  EXPECT_EQ(iv.Sum(2, 3), 6);
}

TEST(VectorStats, MeanAndVariance) {
  struct Case {
    std::vector<double> values;
    int32_t low, high;
    double mean, variance;
  } const cases[] = {
      {{1, 2, 3, 4}, 1, 4, 2.5, 5.0 / 3},
      {{1, 2, 3, 4}, 4, 2, 3, 1},
      {{0, 10}, 1, 2, 5, 1},                        // under three values: the neutral variance 1
      {{7, 3}, 0, 0, 7, 1},
      {{1e9 + 1, 1e9 + 2, 1e9 + 3}, 1, 3, 1e9 + 2, 1},  // far from zero: no cancellation
      {{-4, -4, -4, -4}, 1, 4, -4, 0},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    TVector v;
    Load(v, c.values);
    double mean = -1, variance = -1;
    v.MeanVar(c.low, c.high, mean, variance);
    EXPECT_DOUBLE_EQ(mean, c.mean) << "case " << k;
    EXPECT_DOUBLE_EQ(variance, c.variance) << "case " << k;

    TIntVector iv;
    Load(iv, std::vector<int32_t>(c.values.begin(), c.values.end()));
    iv.MeanVar(c.low, c.high, mean, variance);
    EXPECT_DOUBLE_EQ(mean, c.mean) << "int case " << k;
    EXPECT_DOUBLE_EQ(variance, c.variance) << "int case " << k;
  }
}

TEST(VectorStats, GeometricAndHarmonicMeans) {
  TVector v;
  Load(v, {4, 0, 9});
  EXPECT_EQ(v.GeometricMean(1, 3), 0);
  EXPECT_DOUBLE_EQ(v.GeometricMean(1, 1), 4);
  Load(v, {4, 9});
  EXPECT_DOUBLE_EQ(v.GeometricMean(1, 2), 6);
  Load(v, {1, 2, 4});
  EXPECT_DOUBLE_EQ(v.GeometricMean(1, 3), 2);
  EXPECT_DOUBLE_EQ(v.HarmonicMean(1, 3), 3 / 1.75);
  EXPECT_DOUBLE_EQ(v.HarmonicMean(3, 2), 2 / 0.75);

  TIntVector iv;
  Load(iv, {2, 8});
  EXPECT_DOUBLE_EQ(iv.GeometricMean(1, 2), 4);
  EXPECT_DOUBLE_EQ(iv.HarmonicMean(1, 2), 3.2);
}

TEST(VectorStats, MeansRefuseNonPositiveElements) {
  TVector v;
  v.SetName("v");
  Load(v, {0, -1, 5});  // the negative element raises even after a zero
  EXPECT_EQ(ThrownMessage([&] { v.GeometricMean(1, 3); }),
            "Component \"v\": negative argument passed to GeometricMean");
  EXPECT_EQ(v.GeometricMean(3, 3), 5);  // only the range is looked at
  for (int32_t bad : {1, 2}) {
    EXPECT_EQ(ThrownMessage([&] { v.HarmonicMean(bad, 3); }),
              "Component \"v\": negative or zero argument passed to HarmonicMean");
  }
  TIntVector iv;
  iv.SetName("iv");
  Load(iv, {3, -2});
  EXPECT_EQ(ThrownMessage([&] { iv.GeometricMean(1, 2); }),
            "Component \"iv\": negative argument passed to GeometricMean");
}

TEST(VectorStats, SkewnessAndKurtosis) {
  TVector v;
  Load(v, kSkewed);
  double skew = 0, kurt = 0;
  v.SkewKurt(1, 5, skew, kurt);
  EXPECT_NEAR(skew, kSkewedSkew, 1e-14);
  EXPECT_NEAR(kurt, kSkewedKurt, 1e-14);
  v.SkewKurtSample(5, 1, skew, kurt);
  EXPECT_NEAR(skew, kSkewedSampleSkew, 1e-14);
  EXPECT_NEAR(skew, 6 / std::sqrt(12.5), 1e-14);
  EXPECT_NEAR(kurt, kSkewedSampleKurt, 1e-13);
  EXPECT_NEAR(kurt, 3.152, 1e-13);

  TIntVector iv;
  Load(iv, {1, 2, 3, 4, 10});
  iv.SkewKurtSample(1, 5, skew, kurt);
  EXPECT_NEAR(skew, kSkewedSampleSkew, 1e-14);
  EXPECT_NEAR(kurt, kSkewedSampleKurt, 1e-13);

  // Mirrored data: the skewness changes sign, the kurtosis stays.
  Load(v, {-1, -2, -3, -4, -10});
  v.SkewKurt(1, 5, skew, kurt);
  EXPECT_NEAR(skew, -kSkewedSkew, 1e-14);
  EXPECT_NEAR(kurt, kSkewedKurt, 1e-14);
}

TEST(VectorStats, SkewnessAndKurtosisNeedFourValuesWithSpread) {
  TVector v;
  Load(v, {1, 2, 3, 4, 10});
  for (auto [low, high] : {std::pair{1, 3}, std::pair{2, 4}}) {
    double skew = 9, kurt = 9;
    v.SkewKurt(low, high, skew, kurt);
    EXPECT_EQ(skew, 0);
    EXPECT_EQ(kurt, 0);
    skew = kurt = 9;
    v.SkewKurtSample(low, high, skew, kurt);
    EXPECT_EQ(skew, 0);
    EXPECT_EQ(kurt, 0);
  }
  Load(v, {3, 3, 3, 3, 3});
  double skew = 9, kurt = 9;
  v.SkewKurtSample(1, 5, skew, kurt);
  EXPECT_EQ(skew, 0);
  EXPECT_EQ(kurt, 0);
}

TEST(VectorStats, CentreAndStandardizeWithoutNotification) {
  TVector v;
  Load(v, {1, 2, 3, 6});
  int changes = 0;
  v.SetOnChange([&](void*) { ++changes; });
  EXPECT_EQ(v.MeanCenter(), 3);
  EXPECT_EQ(Values(v), (std::vector<double>{-2, -1, 0, 3}));
  EXPECT_EQ(changes, 0);

  Load(v, {2, 4, 6});
  changes = 0;
  double mean = 0, stddev = 0;
  v.Standardize(mean, stddev);
  EXPECT_EQ(mean, 4);
  EXPECT_EQ(stddev, 2);
  EXPECT_EQ(Values(v), (std::vector<double>{-1, 0, 1}));
  EXPECT_EQ(changes, 0);

  Load(v, {5, 5, 5});
  changes = 0;
  v.Standardize(mean, stddev);
  EXPECT_EQ(mean, 5);
  EXPECT_EQ(stddev, 0);
  EXPECT_EQ(Values(v), (std::vector<double>{5, 5, 5}));
  EXPECT_EQ(changes, 0);
}
