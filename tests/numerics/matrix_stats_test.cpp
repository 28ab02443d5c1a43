#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <string>

#include "KVL_matrix.h"
#include "matrix_algebra_helpers.h"

using namespace matrix_algebra_test;

namespace {

using G = Grid<TMatrix>;
using IG = Grid<TIntMatrix>;

struct Block {
  int32_t lowCol, lowRow, highCol, highRow;
};

template <typename F>
std::string ErrorOf(F&& f) {
  try {
    f();
  } catch (const EKVLMatrixError& e) {
    return e.what();
  }
  return "no error";
}

}  // namespace

TEST(MatrixStats, BlocksAreNormalisedPerRange) {
  TMatrix a;  // columns (1, 2, 3) and (4, 5, 6)
  Load(a, G{{1, 4}, {2, 5}, {3, 6}});
  const struct {
    Block block;
    double sum;
  } cases[] = {
      {{0, 0, 0, 0}, 21},   // all
      {{2, 0, 2, 0}, 15},   // column 2, all rows
      {{0, 3, 0, 3}, 9},    // row 3, all columns
      {{2, 3, 1, 2}, 16},   // both ranges reversed: rows 2 .. 3
      {{-5, 1, 9, 1}, 5},   // columns clamped into 1 .. 2
      {{1, 0, 1, 7}, 6},    // (0, 7) is not (0, 0): rows clamped to 1 .. 3
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const Block& b = cases[i].block;
    EXPECT_EQ(a.Sum(b.lowCol, b.lowRow, b.highCol, b.highRow), cases[i].sum) << "case " << i;
  }
}

TEST(MatrixStats, MinMaxCoversEveryElement) {
  TMatrix a;
  Load(a, G{{1e39, 1e39}, {1e39, 1e39}});
  double lo = 0, hi = 0;
  a.MinMax(0, 0, 0, 0, lo, hi);
  EXPECT_EQ(lo, 1e39);  // not a start value
  EXPECT_EQ(hi, 1e39);
  Load(a, G{{3, -7}, {2, 8}});
  a.MinMax(1, 1, 1, 2, lo, hi);
  EXPECT_EQ(lo, 2.0);
  EXPECT_EQ(hi, 3.0);
  a.MinMax(0, 0, 0, 0, lo, hi);
  EXPECT_EQ(lo, -7.0);
  EXPECT_EQ(hi, 8.0);

  TIntMatrix i;
  Load(i, IG{{INT32_MIN, INT32_MIN}});
  int32_t ilo = 0, ihi = 0;
  i.MinMax(0, 0, 0, 0, ilo, ihi);
  EXPECT_EQ(ilo, INT32_MIN);
  EXPECT_EQ(ihi, INT32_MIN);
}

TEST(MatrixStats, MeanAndVariance) {
  TMatrix a;
  Load(a, G{{1, 4}, {2, 5}, {3, 6}});
  double mean = 0, var = 0;
  a.MeanVar(0, 0, 0, 0, mean, var);
  EXPECT_DOUBLE_EQ(mean, 3.5);
  EXPECT_DOUBLE_EQ(var, 3.5);  // 17.5 / 5
  a.MeanVar(2, 2, 2, 3, mean, var);
  EXPECT_EQ(mean, 5.5);
  EXPECT_EQ(var, 1.0);  // fewer than 3 elements
  Load(a, G{{0.1, 0.1, 0.1}, {0.1, 0.1, 0.1}});
  a.MeanVar(0, 0, 0, 0, mean, var);
  EXPECT_GE(var, 0.0);
  EXPECT_LT(var, 1e-30);
  a.Resize(0, 4);  // no elements
  a.MeanVar(0, 0, 0, 0, mean, var);
  EXPECT_EQ(mean, 0.0);
  EXPECT_EQ(var, 1.0);
}

TEST(MatrixStats, GeometricAndHarmonicMeans) {
  TMatrix a;
  a.SetName("M");
  Load(a, G{{4, 9}});
  EXPECT_DOUBLE_EQ(a.GeometricMean(0, 0, 0, 0), 6.0);
  Load(a, G{{4, 0, 9}});
  EXPECT_EQ(a.GeometricMean(0, 0, 0, 0), 0.0);
  Load(a, G{{1, 2, 4}});
  EXPECT_DOUBLE_EQ(a.HarmonicMean(0, 0, 0, 0), 3 / 1.75);
  Load(a, G{{4, -1}});
  EXPECT_EQ(ErrorOf([&] { a.GeometricMean(0, 0, 0, 0); }),
            "Component \"M\": negative argument passed to GeometricMean");
  EXPECT_DOUBLE_EQ(a.GeometricMean(1, 1, 1, 1), 4.0);  // the block leaves -1 out
  for (const G& rows : {G{{4, -1}}, G{{4, 0}}})
    EXPECT_EQ(ErrorOf([&] {
                Load(a, rows);
                a.HarmonicMean(0, 0, 0, 0);
              }),
              "Component \"M\": negative or zero argument passed to HarmonicMean");
}

TEST(MatrixStats, SkewnessAndKurtosis) {
  TMatrix a;
  double skew = 9, kurt = 9;
  Load(a, G{{1, 2, 6}});  // mean 3, deviations -2 -1 3, s^2 = 7
  a.SkewKurt(0, 0, 0, 0, skew, kurt);
  EXPECT_DOUBLE_EQ(skew, 6 / std::pow(7.0, 1.5));
  EXPECT_DOUBLE_EQ(kurt, 98.0 / 3 / 49 - 3);
  a.SkewKurtSample(0, 0, 0, 0, skew, kurt);
  EXPECT_EQ(skew, 0.0);
  EXPECT_EQ(kurt, 0.0);
  a.SkewKurt(1, 1, 1, 1, skew, kurt);  // one element
  EXPECT_EQ(skew, 0.0);
  EXPECT_EQ(kurt, 0.0);

  Load(a, G{{1, 2}, {3, 10}});  // mean 4, deviations -3 -2 -1 6 (column by column: 1 3 2 10)
  const double s2 = 50.0 / 3, k = 1394.0 / 4 / (s2 * s2) - 3, s = 180.0 / 4 / std::pow(s2, 1.5);
  a.SkewKurt(0, 0, 0, 0, skew, kurt);
  EXPECT_DOUBLE_EQ(skew, s);
  EXPECT_DOUBLE_EQ(kurt, k);
  a.SkewKurtSample(0, 0, 0, 0, skew, kurt);
  EXPECT_DOUBLE_EQ(skew, s * 16 / 6);
  EXPECT_DOUBLE_EQ(kurt, (k + 3) * 80 / 6 - 27.0 / 2);

  Load(a, G{{5, 5, 5, 5}});  // no spread
  a.SkewKurt(0, 0, 0, 0, skew, kurt);
  EXPECT_EQ(skew, 0.0);
  EXPECT_EQ(kurt, 0.0);
}

TEST(MatrixStats, QuartilesAndPercentiles) {
  TMatrix a;
  double q1 = 0, q2 = 0, q3 = 0;
  Load(a, G{{4, 3}, {1, 2}});
  ASSERT_TRUE(a.Quartiles(0, 0, 0, 0, q1, q2, q3));
  EXPECT_EQ(q1, 1.25);
  EXPECT_EQ(q2, 2.5);
  EXPECT_EQ(q3, 3.75);
  EXPECT_EQ(Rows(a), (G{{4, 3}, {1, 2}}));  // sorted in a copy
  ASSERT_TRUE(a.Quartiles(1, 0, 1, 0, q1, q2, q3));  // column 1: (4, 1)
  EXPECT_EQ(q1, 1.0);
  EXPECT_EQ(q2, 2.5);
  EXPECT_EQ(q3, 4.0);  // never below the median

  Load(a, G{{5, 100}, {1, 100}, {2, 100}, {3, 100}, {4, 100}});  // column 1 only: 5 1 2 3 4
  const struct {
    double prob, expected;
  } cases[] = {{50, 3}, {100, 5}, {-7, 1}, {250, 5}, {25, 2}, {12.5, 1.5}};
  for (const auto& c : cases) EXPECT_EQ(a.Percentile(c.prob, 1, 0, 1, 0), c.expected) << c.prob;
  a.Resize(0, 0);
  EXPECT_FALSE(a.Quartiles(0, 0, 0, 0, q1, q2, q3));
  EXPECT_EQ(a.Percentile(50, 0, 0, 0, 0), 0.0);
}

TEST(MatrixStats, SparseBlocksCountAbsentPositionsAsZeros) {
  // The same values dense and sparse must give the same statistics.
  TIntMatrix dense;
  Load(dense, IG{{4, 0, 0, 1}, {0, 0, -2, 0}, {0, 9, 0, 0}});
  std::unique_ptr<TIntMatrix> sparse(TIntMatrix::CreateSparse(nullptr, 2));
  for (int32_t c = 1; c <= 4; ++c)
    for (int32_t r = 1; r <= 3; ++r)
      if (dense.Element(c, r) != 0) sparse->SetElement(c, r, dense.Element(c, r));
  ASSERT_TRUE(sparse->IsSparse());
  for (const Block& b : {Block{0, 0, 0, 0}, Block{2, 2, 3, 3}, Block{1, 1, 1, 3}, Block{4, 2, 4, 3}}) {
    SCOPED_TRACE(::testing::Message() << b.lowCol << "," << b.lowRow << "," << b.highCol << "," << b.highRow);
    int32_t lo1, hi1, lo2, hi2;
    dense.MinMax(b.lowCol, b.lowRow, b.highCol, b.highRow, lo1, hi1);
    sparse->MinMax(b.lowCol, b.lowRow, b.highCol, b.highRow, lo2, hi2);
    EXPECT_EQ(lo1, lo2);
    EXPECT_EQ(hi1, hi2);
    EXPECT_EQ(dense.Sum(b.lowCol, b.lowRow, b.highCol, b.highRow),
              sparse->Sum(b.lowCol, b.lowRow, b.highCol, b.highRow));
    double m1, v1, m2, v2, s1, k1, s2, k2;
    dense.MeanVar(b.lowCol, b.lowRow, b.highCol, b.highRow, m1, v1);
    sparse->MeanVar(b.lowCol, b.lowRow, b.highCol, b.highRow, m2, v2);
    EXPECT_DOUBLE_EQ(m1, m2);
    EXPECT_DOUBLE_EQ(v1, v2);
    dense.SkewKurt(b.lowCol, b.lowRow, b.highCol, b.highRow, s1, k1);
    sparse->SkewKurt(b.lowCol, b.lowRow, b.highCol, b.highRow, s2, k2);
    EXPECT_NEAR(s1, s2, 1e-12);
    EXPECT_NEAR(k1, k2, 1e-12);
    dense.SkewKurtSample(b.lowCol, b.lowRow, b.highCol, b.highRow, s1, k1);
    sparse->SkewKurtSample(b.lowCol, b.lowRow, b.highCol, b.highRow, s2, k2);
    EXPECT_NEAR(s1, s2, 1e-12);
    EXPECT_NEAR(k1, k2, 1e-12);
    double q[2][3];
    dense.Quartiles(b.lowCol, b.lowRow, b.highCol, b.highRow, q[0][0], q[0][1], q[0][2]);
    sparse->Quartiles(b.lowCol, b.lowRow, b.highCol, b.highRow, q[1][0], q[1][1], q[1][2]);
    EXPECT_EQ((std::vector<double>(q[0], q[0] + 3)), (std::vector<double>(q[1], q[1] + 3)));
    EXPECT_EQ(dense.Percentile(70, b.lowCol, b.lowRow, b.highCol, b.highRow),
              sparse->Percentile(70, b.lowCol, b.lowRow, b.highCol, b.highRow));
  }
  EXPECT_EQ(sparse->GeometricMean(1, 1, 2, 3), 0.0);  // absent positions are zeros
  EXPECT_THROW(sparse->HarmonicMean(1, 1, 2, 3), EKVLMatrixError);
  EXPECT_DOUBLE_EQ(sparse->HarmonicMean(2, 3, 2, 3), 9.0);
  int32_t lo = 0, hi = 0;
  sparse->MinMax(2, 3, 2, 3, lo, hi);  // the stored 9 alone
  EXPECT_EQ(lo, 9);
  EXPECT_EQ(hi, 9);
  sparse->MinMax(1, 1, 2, 3, lo, hi);  // 4 and 9 with absent zeros
  EXPECT_EQ(lo, 0);
  EXPECT_EQ(hi, 9);
}

TEST(MatrixStats, SumsInExtendedPrecisionOrWrapping) {
  TMatrix a;
  Load(a, G{{1e16, 1, 1, -1e16}});  // in double the two 1s would be lost
  EXPECT_EQ(a.Sum(0, 0, 0, 0), 2.0);
  TIntMatrix i;
  Load(i, IG{{INT32_MAX, 1}, {1, 0}});
  EXPECT_EQ(i.Sum(0, 0, 0, 0), INT32_MIN + 1);
  double mean = 0, var = 0;
  i.MeanVar(1, 0, 1, 0, mean, var);  // floating point: no wrap
  EXPECT_EQ(mean, (2147483647.0 + 1) / 2);
}

TEST(MatrixHistogram, CountsBinsUnderAndOverflow) {
  TMatrix a;
  Load(a, G{{-1, 0.5, 9}, {1.5, 2, 2.5}, {3.9, 99, 1}});
  TIntVector histo;
  int32_t under = -1, over = -1, maxCnt = -1;
  // Bins of width 1 from 0 to 4: [0,1) [1,2) [2,3) [3,4); the rows 1 .. 3 of columns 1 .. 2.
  ASSERT_TRUE(a.Histogram(1, 1, 2, 3, 0, 4, 1, &histo, under, over, maxCnt));
  EXPECT_EQ(histo.NrOfElem(), 4);
  EXPECT_EQ((std::vector<int32_t>(histo.Data(), histo.Data() + 4)), (std::vector<int32_t>{1, 1, 1, 1}));
  EXPECT_EQ(under, 1);  // -1
  EXPECT_EQ(over, 1);   // 99
  EXPECT_EQ(maxCnt, 1);
  // Indices outside the matrix read 0 and are counted too.
  ASSERT_TRUE(a.Histogram(1, 1, 1, 4, 0, 4, 1, &histo, under, over, maxCnt));
  EXPECT_EQ((std::vector<int32_t>(histo.Data(), histo.Data() + 4)), (std::vector<int32_t>{1, 1, 0, 1}));

  EXPECT_FALSE(a.Histogram(1, 1, 3, 3, 0, 1000, 1, &histo, under, over, maxCnt));  // 1000 bins
  EXPECT_FALSE(a.Histogram(1, 1, 3, 3, 0, 10, 0, &histo, under, over, maxCnt));    // no width
  EXPECT_FALSE(a.Histogram(1, 1, 3, 3, 0, 10, -1, &histo, under, over, maxCnt));
  EXPECT_FALSE(a.Histogram(1, 1, 3, 3, 0, 10, 1, nullptr, under, over, maxCnt));
}
