#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "KVL_matrix.h"
#include "matrix_algebra_helpers.h"

using namespace matrix_algebra_test;

namespace {
using G = Grid<TMatrix>;
}

TEST(MatrixDistances, EveryModeOnTwoRows) {
  TMatrix a, d;
  Load(a, G{{1, 2}, {3, 0}});  // a = (1, 2), b = (3, 0): ab 3, aa 5, bb 9
  const struct {
    TDistMode mode;
    double expected;
  } cases[] = {
      {dmJaccard, 3.0 / (5 + 9 - 3)}, {dmManhattan, 4.0},      {dmEuclid, std::sqrt(8.0)},
      {dmEuclidSqr, 8.0},             {dmDice, 6.0 / (5 + 9)}, {dmUserDef, 0.0},
  };
  for (const auto& c : cases) {
    Load(d, G{{9, 9}, {9, 9}});
    ASSERT_EQ(a.CalcDistMat(c.mode, &d), 0) << int(c.mode);
    EXPECT_EQ(d.Element(1, 1), 0.0);
    EXPECT_EQ(d.Element(2, 2), 0.0);
    EXPECT_DOUBLE_EQ(d.Element(1, 2), c.expected) << int(c.mode);
    EXPECT_EQ(d.Element(2, 1), d.Element(1, 2));
  }
}

TEST(MatrixDistances, EuclidAndStatuses) {
  TMatrix a, d;
  Load(a, G{{0, 0}, {3, 4}});
  d.Resize(2, 2);
  EXPECT_EQ(a.CalcDistMat(dmEuclid, &d), 0);
  EXPECT_EQ(Rows(d), (G{{0, 5}, {5, 0}}));

  Load(d, G{{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
  EXPECT_EQ(a.CalcDistMat(dmEuclid, &d), -2);
  EXPECT_EQ(d.Element(1, 1), 1.0);  // nothing computed
  d.Resize(2, 3);
  EXPECT_EQ(a.CalcDistMat(dmEuclid, &d), -1);
  d.Resize(3, 2);  // not square and of the wrong size: not square wins
  EXPECT_EQ(a.CalcDistMat(dmEuclid, &d), -1);
  EXPECT_EQ(a.CalcDistMat(dmEuclid, nullptr), -1);

  Load(a, G{{0, 0}, {0, 0}});  // two zero rows have no defined similarity
  d.Resize(2, 2);
  for (TDistMode mode : {dmJaccard, dmDice}) {
    EXPECT_EQ(a.CalcDistMat(mode, &d), 0);
    EXPECT_EQ(Rows(d), (G{{0, 0}, {0, 0}}));
  }
}

TEST(MatrixDistances, UserDefinedAndIntoItself) {
  TMatrix a, d;
  Load(a, G{{1}, {2}, {4}});
  std::vector<std::pair<int32_t, int32_t>> calls;
  a.SetOnCalcDistance([&](void* sender, int32_t r1, int32_t r2, double& dist) {
    EXPECT_EQ(sender, &a);
    EXPECT_EQ(dist, 0.0);
    calls.emplace_back(r1, r2);
    dist = 10 * r1 + r2;
  });
  d.Resize(3, 3);
  ASSERT_EQ(a.CalcDistMat(dmUserDef, &d), 0);
  EXPECT_EQ(calls, (std::vector<std::pair<int32_t, int32_t>>{{1, 2}, {1, 3}, {2, 3}}));
  EXPECT_EQ(Rows(d), (G{{0, 12, 13}, {12, 0, 23}, {13, 23, 0}}));

  Load(a, G{{0, 3, 1}, {4, 0, 1}, {0, 0, 1}});  // the rows are read before the result is written
  ASSERT_EQ(a.CalcDistMat(dmManhattan, &a), 0);
  EXPECT_EQ(Rows(a), (G{{0, 7, 3}, {7, 0, 4}, {3, 4, 0}}));
}

TEST(MatrixCorrelate, PearsonOverAllElements) {
  TMatrix a, b;
  Load(a, G{{1, 2}, {3, 4}});
  Load(b, G{{2, 4}, {6, 8}});
  EXPECT_NEAR(a.Correlate(&b), 1.0, 1e-15);
  Load(b, G{{8, 6}, {4, 2}});
  EXPECT_NEAR(a.Correlate(&b), -1.0, 1e-15);
  Load(b, G{{1, 0}, {0, 0}});  // x = 1 3 2 4 (column by column), y = 1 0 0 0: Sxy -1.5, Sxx 5, Syy 0.75
  EXPECT_NEAR(a.Correlate(&b), -1.5 / std::sqrt(3.75), 1e-15);
  Load(b, G{{0.1, 0.1}, {0.1, 0.1}});  // constant
  EXPECT_EQ(a.Correlate(&b), 0.0);
  Load(a, G{{1, 2}});  // too few elements
  Load(b, G{{2, 1}});
  EXPECT_EQ(a.Correlate(&b), 0.0);

  a.SetName("M1");
  Load(b, G{{1, 2, 3}});
  try {
    a.Correlate(&b);
    FAIL() << "no error";
  } catch (const EKVLMatrixError& e) {
    EXPECT_STREQ(e.what(), "Component \"M1\": matrices do not match");
  }
}

TEST(MatrixStandardize, ColumnsAndRows) {
  TMatrix a;
  TVector means, sds;
  means.Resize(3);
  sds.Resize(3);
  Load(a, G{{1, 5, 2}, {2, 5, 4}, {3, 5, 9}});  // columns: mean 2 sd 1; constant 5; mean 5 sd sqrt(13)
  ChangeCounter changes(a);
  a.StandardizeColumns(&means, &sds);
  EXPECT_EQ(changes.count, 1);
  const double s = std::sqrt(13.0);
  const G expected{{-1, 5, -3 / s}, {0, 5, -1 / s}, {1, 5, 4 / s}};
  const G got = Rows(a);
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(got[r][c], expected[r][c], 1e-15) << r << c;
  EXPECT_EQ(means.Element(1), 2.0);
  EXPECT_EQ(means.Element(2), 5.0);
  EXPECT_EQ(means.Element(3), 5.0);
  EXPECT_EQ(sds.Element(1), 1.0);
  EXPECT_EQ(sds.Element(2), 0.0);
  EXPECT_NEAR(sds.Element(3), s, 1e-15);

  Load(a, G{{1, 2, 3}, {4, 4, 4}});
  a.StandardizeRows(&means, nullptr);
  EXPECT_EQ(Rows(a), (G{{-1, 0, 1}, {4, 4, 4}}));
  EXPECT_EQ(means.Element(1), 2.0);
  EXPECT_EQ(means.Element(2), 4.0);
}

TEST(MatrixStandardize, MeanCentring) {
  TMatrix a;
  TVector means;
  means.Resize(2);
  Load(a, G{{1, 10}, {3, 30}});
  a.MeanCenterColumns(&means);
  EXPECT_EQ(Rows(a), (G{{-1, -10}, {1, 10}}));
  EXPECT_EQ(means.Element(1), 2.0);
  EXPECT_EQ(means.Element(2), 20.0);
  Load(a, G{{1, 3}, {10, 30}});
  a.MeanCenterRows(nullptr);
  EXPECT_EQ(Rows(a), (G{{-1, 1}, {-10, 10}}));
}
