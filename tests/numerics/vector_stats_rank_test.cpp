#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "KVL_univconst.h"
#include "KVL_vector.h"
#include "vector_test_support.h"

TEST(VectorRankStats, Mode) {
  struct Case {
    std::vector<int32_t> values;
    int32_t low, high;
    int32_t mode;
  } const cases[] = {
      {{5, 1, 5, 2, 2, 7}, 1, 6, 2},  // equally long runs: the smaller value
      {{3, 1, 2}, 1, 3, 1},           // no repeats: the smallest
      {{1, 3, 2, 3, 9, 3, 2}, 1, 7, 3},
      {{1, 3, 2, 3, 9, 3, 2}, 5, 7, 2},
      {{8, 1, 1}, 0, 0, 8},           // element 1 alone
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    TIntVector iv;
    Load(iv, c.values);
    EXPECT_EQ(iv.Mode(c.low, c.high), c.mode) << "case " << k;
    TVector v;
    Load(v, std::vector<double>(c.values.begin(), c.values.end()));
    EXPECT_EQ(v.Mode(c.low, c.high), c.mode) << "case " << k;
    EXPECT_EQ(Values(iv), c.values) << "case " << k;  // the vector is not sorted
  }
}

TEST(VectorRankStats, Quartiles) {
  struct Case {
    std::vector<double> values;
    double q1, q2, q3;
  } const cases[] = {
      {{4, 1, 3, 2}, 1.25, 2.5, 3.75},
      {{1, 2}, 1, 1.5, 2},       // positions 0.75 and 2.25 take the extremes
      {{3, 1, 2}, 1, 2, 3},
      {{7}, 7, 7, 7},
      {{10, 0, 30, 20, 50, 40, 60}, 10, 30, 50},
      {{1, 2, 3, 4, 5, 6}, 1.75, 3.5, 5.25},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    const auto n = static_cast<int32_t>(c.values.size());
    TVector v;
    Load(v, c.values);
    double q1 = 0, q2 = 0, q3 = 0;
    EXPECT_TRUE(v.Quartiles(1, n, q1, q2, q3));
    EXPECT_DOUBLE_EQ(q1, c.q1) << "case " << k;
    EXPECT_DOUBLE_EQ(q2, c.q2) << "case " << k;
    EXPECT_DOUBLE_EQ(q3, c.q3) << "case " << k;
    EXPECT_EQ(Values(v), c.values) << "case " << k;

    TIntVector iv;
    Load(iv, std::vector<int32_t>(c.values.begin(), c.values.end()));
    EXPECT_TRUE(iv.Quartiles(n, 1, q1, q2, q3));
    EXPECT_DOUBLE_EQ(q1, c.q1) << "int case " << k;
    EXPECT_DOUBLE_EQ(q2, c.q2) << "int case " << k;
    EXPECT_DOUBLE_EQ(q3, c.q3) << "int case " << k;
  }
}

TEST(VectorRankStats, Percentile) {
  TVector v;
  Load(v, {5, 3, 1, 4, 2, 100});
  struct Case {
    double prob;
    int32_t low, high;
    double expected;
  } const cases[] = {
      {50, 1, 5, 3},
      {100, 1, 5, 5},
      {-7, 1, 5, 1},
      {250, 1, 5, 5},
      {10, 1, 5, 1.4},
      {62.5, 5, 1, 3.5},
      {std::nextafter(100.0, 0.0), 1, 5, 5},  // rounds to the last position, no further
      {99, 3, 3, 1},                          // one element
      {50, 1, 6, 3.5},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    EXPECT_DOUBLE_EQ(v.Percentile(c.prob, c.low, c.high), c.expected) << "case " << k;
  }
  EXPECT_TRUE(std::isnan(v.Percentile(std::nan(""), 1, 5)));

  TIntVector iv;
  Load(iv, {40, 10, 30, 20});
  EXPECT_DOUBLE_EQ(iv.Percentile(50, 1, 4), 25);
}

TEST(VectorRankStats, WorkingCopiesAdvanceTheProgressCount) {
  TVector v;
  Load(v, {3, 1, 2});
  int32_t hooked = 0;
  SetProgressHook([&](int32_t) { ++hooked; });
  const int32_t before = ProgressCount();
  v.Mode(1, 3);
  EXPECT_GT(ProgressCount(), before);
  EXPECT_EQ(hooked, ProgressCount() - before);
  SetProgressHook({});
}

TEST(VectorRankStats, HistogramCountsEveryElementOnce) {
  TVector v;
  Load(v, {0.5, 1.5, 1.7, 2.9, -1, 3.5, 10, std::nan("")});
  TIntVector histo;
  int changes = 0;
  histo.SetOnChange([&](void*) { ++changes; });
  int32_t under = -1, over = -1, maxCnt = -1;
  // Index 0 lies outside the vector and reads 0: it counts in the first bin.
  ASSERT_TRUE(v.Histogram(0, 8, 0, 2, 1, histo, under, over, maxCnt));
  EXPECT_EQ(Values(histo), (std::vector<int32_t>{2, 2, 1}));
  EXPECT_EQ(under, 1);
  EXPECT_EQ(over, 3);  // 3.5, 10 and NaN
  EXPECT_EQ(maxCnt, 2);
  EXPECT_EQ(changes, 1 + 1 + 5);  // resize, clear, one per counted element

  // Reversed element bounds count nothing; the histogram is still cleared.
  ASSERT_TRUE(v.Histogram(8, 1, 0, 2, 1, histo, under, over, maxCnt));
  EXPECT_EQ(Values(histo), (std::vector<int32_t>{0, 0, 0}));
  EXPECT_EQ(under + over + maxCnt, 0);
}

TEST(VectorRankStats, HistogramBinCount) {
  TVector v;
  Load(v, {0.25});
  struct Case {
    double firstBin, lastBin, binWidth;
    int32_t bins;  // 0: refused
  } const cases[] = {
      {0, 2.5, 1, 3},    // 2.5 bins round to 2 (half to even), plus the last
      {0, 3.5, 1, 5},
      {0, 0, 1, 1},
      {0, 500, 1, 501},
      {0, 1000, 1, 0},   // 1000 bins are too many
      {0, 501, 1, 0},
      {0, 1, 0, 0},
      {0, 1, -0.5, 0},
      {0, std::numeric_limits<double>::infinity(), 1, 0},
      {std::nan(""), 1, 1, 0},
  };
  for (std::size_t k = 0; k < std::size(cases); ++k) {
    const Case& c = cases[k];
    TIntVector histo;
    Load(histo, {9, 9});
    int32_t under = -1, over = -1, maxCnt = -1;
    const bool ok = v.Histogram(1, 1, c.firstBin, c.lastBin, c.binWidth, histo, under, over,
                                maxCnt);
    EXPECT_EQ(ok, c.bins > 0) << "case " << k;
    if (ok) {
      EXPECT_EQ(histo.NrOfElem(), c.bins) << "case " << k;
      EXPECT_EQ(histo.Element(1), 1) << "case " << k;
      EXPECT_EQ(under + over, 0) << "case " << k;
    } else {
      EXPECT_EQ(Values(histo), (std::vector<int32_t>{9, 9})) << "case " << k;
      EXPECT_EQ(under, -1) << "case " << k;
    }
  }
}
