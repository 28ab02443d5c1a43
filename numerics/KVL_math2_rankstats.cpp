// Order and shape statistics of TCurveFit: quartiles, skewness and kurtosis, mean angles and
// the rank correlations of Kendall, Goodman-Kruskal and Spearman.
#include <algorithm>
#include <cmath>
#include <numeric>

#include "KVL_math2_curvefit.h"
#include "KVL_quartile.h"
#include "KVL_univconst.h"

namespace {

constexpr double kPi = 3.1415926535897932385;
constexpr double kSqrt2 = 1.4142135623730950488;

// Quartiles of the values, by the rule the vectors and matrices use.
bool Quartiles(std::span<const double> Values, double& q1, double& q2, double& q3) {
  q1 = q2 = q3 = 0;
  if (Values.empty()) return false;
  std::vector<double> sorted(Values.begin(), Values.end());
  CombSortDoubles(sorted, true);
  const auto n = static_cast<int64_t>(sorted.size());
  q1 = QuartileOfSorted(sorted.data(), n, 0.25);
  q2 = QuartileOfSorted(sorted.data(), n, 0.5);
  q3 = QuartileOfSorted(sorted.data(), n, 0.75);
  return true;
}

// Bias-corrected sample skewness and excess kurtosis; both 0 for fewer than 4 values or no spread.
void SkewKurtSample(std::span<const double> Values, double& Skewness, double& Kurtosis) {
  Skewness = Kurtosis = 0;
  const auto n = static_cast<long double>(Values.size());
  if (Values.size() < 4) return;
  long double sum = 0;
  for (double v : Values) sum += v;
  const long double mean = sum / n;
  long double s1 = 0, s2 = 0, s3 = 0, s4 = 0;
  for (double v : Values) {
    const long double d = v - mean;
    s1 += d;
    s2 += d * d;
    s3 += d * d * d;
    s4 += d * d * d * d;
  }
  const long double s = std::sqrt((s2 - s1 * s1 / n) / (n - 1));
  if (s == 0) return;
  const long double skew = s3 / n / (s * s * s);
  const long double kurt = s4 / n / (s * s * s * s) - 3;
  Skewness = static_cast<double>(skew * n * n / ((n - 1) * (n - 2)));
  Kurtosis = static_cast<double>((kurt + 3) * n * n * (n + 1) / ((n - 1) * (n - 2) * (n - 3)) -
                                 3 * (n - 1) * (n - 1) / ((n - 2) * (n - 3)));
}

double MeanAngle(std::span<const double> Degrees) {
  long double sinSum = 0;
  long double cosSum = 0;
  for (double a : Degrees) {
    sinSum += std::sin(a * kPi / 180);
    cosSum += std::cos(a * kPi / 180);
  }
  if (sinSum == 0 && cosSum == 0) return 0.0;  // no prevailing direction
  const double a = static_cast<double>(std::atan(sinSum / cosSum)) * 180 / kPi;
  if (cosSum < 0) return a + 180;
  return sinSum < 0 ? a + 360 : a;
}

// The error function by the rational approximation of its complement (error below 1.2e-7).
double Erf(double x) {
  const double z = std::fabs(x);
  const double t = 1 / (1 + 0.5 * z);
  const double erfc =
      t * std::exp(-z * z - 1.26551223 +
                   t * (1.00002368 +
                        t * (0.37409196 +
                             t * (0.09678418 +
                                  t * (-0.18628806 +
                                       t * (0.27886807 +
                                            t * (-1.13520398 +
                                                 t * (1.48851587 +
                                                      t * (-0.82215223 + t * 0.17087277)))))))));
  return x < 0 ? erfc - 1 : 1 - erfc;
}

// Mid-ranks (1-based, ties share the mean of their positions) of the values; returns the tie
// correction Σ t(t² - 1)/12 over the runs of t equal values.
double MidRanks(std::span<const double> Values, std::vector<double>& Ranks) {
  const size_t n = Values.size();
  std::vector<size_t> order(n);
  std::iota(order.begin(), order.end(), size_t{0});
  // NaNs sort last, so that the order stays a strict weak ordering whatever the data.
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    return Values[a] < Values[b] || (std::isnan(Values[b]) && !std::isnan(Values[a]));
  });
  Ranks.assign(n, 0.0);
  double ties = 0;
  for (size_t first = 0; first < n;) {
    size_t last = first;
    while (last + 1 < n && Values[order[last + 1]] == Values[order[first]]) ++last;
    const double rank = (static_cast<double>(first + last) + 2) / 2;
    for (size_t k = first; k <= last; ++k) Ranks[order[k]] = rank;
    const auto t = static_cast<double>(last - first + 1);
    ties += t * (t * t - 1) / 12;
    first = last + 1;
  }
  return ties;
}

}  // namespace

bool TCurveFit::QuartilesX(double& q1, double& q2, double& q3) const {
  return Quartiles(ColumnX(), q1, q2, q3);
}

bool TCurveFit::QuartilesY(double& q1, double& q2, double& q3) const {
  return Quartiles(ColumnY(), q1, q2, q3);
}

double TCurveFit::SkewnessX() const {
  double skew, kurt;
  SkewKurtSample(ColumnX(), skew, kurt);
  return skew;
}

double TCurveFit::SkewnessY() const {
  double skew, kurt;
  SkewKurtSample(ColumnY(), skew, kurt);
  return skew;
}

double TCurveFit::KurtosisX() const {
  double skew, kurt;
  SkewKurtSample(ColumnX(), skew, kurt);
  return kurt;
}

double TCurveFit::KurtosisY() const {
  double skew, kurt;
  SkewKurtSample(ColumnY(), skew, kurt);
  return kurt;
}

double TCurveFit::MeanAngleX() const { return MeanAngle(ColumnX()); }

double TCurveFit::MeanAngleY() const { return MeanAngle(ColumnY()); }

// Every pair of points once: O(n²).
void TCurveFit::CountKendallPairs() const {
  if (FKendallValid) return;
  FKendallConcord = FKendallDiscord = FKendallTies1 = FKendallTies2 = 0;
  const int32_t n = FNumData;
  if (n >= 3) {
    for (int32_t i = 0; i < n; ++i) {
      const double xi = FDataX[static_cast<size_t>(i)];
      const double yi = FDataY[static_cast<size_t>(i)];
      for (int32_t j = i + 1; j < n; ++j) {
        const double a = xi - FDataX[static_cast<size_t>(j)];
        const double b = yi - FDataY[static_cast<size_t>(j)];
        const double p = a * b;
        if (p > 0) {
          ++FKendallConcord;
        } else if (p < 0) {
          ++FKendallDiscord;
        } else if (a != 0) {
          ++FKendallTies1;
        } else if (b != 0) {
          ++FKendallTies2;
        }
      }
    }
  }
  FKendallValid = true;
}

double TCurveFit::KendallsTau(double& p) const {
  CountKendallPairs();
  const auto c = static_cast<double>(FKendallConcord);
  const auto d = static_cast<double>(FKendallDiscord);
  const double den = std::sqrt((c + d + static_cast<double>(FKendallTies1)) *
                               (c + d + static_cast<double>(FKendallTies2)));
  p = 0;
  if (den == 0) return 0.0;
  const double tau = (c - d) / den;
  const double n = FNumData;
  const double variance = (4 * n + 10) / (9 * n * (n - 1));
  p = 1 - Erf(std::fabs(tau) / std::sqrt(variance) / kSqrt2);
  return tau;
}

double TCurveFit::KruskalGamma() const {
  CountKendallPairs();
  const auto c = static_cast<double>(FKendallConcord);
  const auto d = static_cast<double>(FKendallDiscord);
  return c + d != 0 ? (c - d) / (c + d) : 0.0;
}

double TCurveFit::SpearmanRankCorr() const {
  const int32_t count = FNumData;
  if (count < 3) return 0.0;
  std::vector<double> rankX;
  std::vector<double> rankY;
  const double sf = MidRanks(ColumnX(), rankX);
  const double sg = MidRanks(ColumnY(), rankY);
  double dsum = 0;
  for (size_t i = 0; i < rankX.size(); ++i) dsum += (rankX[i] - rankY[i]) * (rankX[i] - rankY[i]);
  const double n = count;
  const double n3 = n * (n * n - 1);
  if (sf == 0 && sg == 0) return 1 - 6 * dsum / n3;
  if (12 * sf == n3 || 12 * sg == n3) return 0.0;
  return (n3 - 6 * (sf + sg + dsum)) / std::sqrt((n3 - 12 * sf) * (n3 - 12 * sg));
}
