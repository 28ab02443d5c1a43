#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

#include "KVL_math2_svd.h"
#include "KVL_univconst.h"

namespace {

using Eigen::MatrixXd;
using Eigen::VectorXd;

TMatrix* NewMatrix(const MatrixXd& source) {
  auto* m = new TMatrix;
  m->Resize(static_cast<int32_t>(source.cols()), static_cast<int32_t>(source.rows()));
  for (int c = 0; c < source.cols(); ++c)
    for (int r = 0; r < source.rows(); ++r) m->SetElement(c + 1, r + 1, source(r, c));
  return m;
}

MatrixXd ToEigen(const TMatrix& m) {
  MatrixXd out(m.NrOfRows(), m.NrOfColumns());
  for (int c = 0; c < out.cols(); ++c)
    for (int r = 0; r < out.rows(); ++r) out(r, c) = m.Element(c + 1, r + 1);
  return out;
}

void Load(TVector& v, const VectorXd& source) {
  v.Resize(static_cast<int32_t>(source.size()));
  for (int i = 0; i < source.size(); ++i) v.SetElement(i + 1, source(i));
}

VectorXd ToEigen(const TVector& v, int n) {
  VectorXd out(n);
  for (int i = 0; i < n; ++i) out(i) = v.Element(i + 1);
  return out;
}

// Relative tolerance of the decomposition: a few hundred rounding errors of the largest value.
double Tolerance(const MatrixXd& a) {
  return 1e-13 * std::max(1.0, a.norm()) * std::sqrt(static_cast<double>(a.rows() + a.cols()));
}

// Decomposes a copy of A and checks the defining properties: A = U diag(W) V^T, V orthogonal,
// the columns of U that carry a nonzero singular value orthonormal, W >= 0 and equal (as a set)
// to the singular values Eigen finds.
void CheckDecomposition(const MatrixXd& a, const char* label) {
  SCOPED_TRACE(label);
  const int n = static_cast<int>(a.cols());
  TMatrix* u = NewMatrix(a);
  TMatrix v;
  TVector w;
  v.Resize(n, n);
  w.Resize(n);
  ASSERT_TRUE(SingularValueDecomposition(*u, v, w));
  const MatrixXd U = ToEigen(*u), V = ToEigen(v);
  const VectorXd W = ToEigen(w, n);
  delete u;
  const double tol = Tolerance(a);
  EXPECT_LE((U * W.asDiagonal() * V.transpose() - a).norm(), tol);
  EXPECT_LE((V.transpose() * V - MatrixXd::Identity(n, n)).norm(), 1e-13 * n);
  std::vector<int> carried;
  for (int k = 0; k < n; ++k)
    if (W(k) > tol) carried.push_back(k);
  for (int i : carried)
    for (int j : carried)
      EXPECT_NEAR(U.col(i).dot(U.col(j)), i == j ? 1.0 : 0.0, 1e-12) << i << "," << j;
  EXPECT_GE(W.minCoeff(), 0.0);
  VectorXd sorted = W;
  std::sort(sorted.data(), sorted.data() + n, std::greater<>());
  const VectorXd expected = Eigen::JacobiSVD<MatrixXd>(a).singularValues();
  for (int k = 0; k < std::min<int>(n, static_cast<int>(expected.size())); ++k)
    EXPECT_NEAR(sorted(k), expected(k), tol) << "singular value " << k;
}

// Solves with SvdLeastSquares and checks the normal equations and agreement with Eigen's
// minimum-norm solution, and for a full-rank design the standard errors against
// sqrt(diag((A^T A)^-1)); returns Singular.
bool CheckLeastSquares(const MatrixXd& a, const VectorXd& y, bool fullRank, const char* label) {
  SCOPED_TRACE(label);
  const int n = static_cast<int>(a.cols());
  TMatrix* scratch = NewMatrix(a);
  TVector ty, x, err;
  Load(ty, y);
  x.Resize(n);
  err.Resize(n);
  bool singular = true;
  EXPECT_TRUE(SvdLeastSquares(*scratch, ty, x, &err, singular));
  delete scratch;
  const VectorXd X = ToEigen(x, n);
  const VectorXd reference = a.completeOrthogonalDecomposition().solve(y);
  const double scale = std::max(1.0, reference.norm());
  EXPECT_LE((X - reference).norm(), 1e-9 * scale);
  EXPECT_LE((a.transpose() * (a * X - y)).norm(), 1e-10 * std::max(1.0, a.norm() * a.norm() * scale));
  if (fullRank) {
    const VectorXd expectedErr = (a.transpose() * a).inverse().diagonal().cwiseSqrt();
    EXPECT_LE((ToEigen(err, n) - expectedErr).norm(), 1e-9 * expectedErr.norm());
  }
  return singular;
}

MatrixXd Random(int m, int n, std::mt19937& gen) {
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  MatrixXd a(m, n);
  for (int c = 0; c < n; ++c)
    for (int r = 0; r < m; ++r) a(r, c) = dist(gen);
  return a;
}

}  // namespace

TEST(Svd, PropertiesOnRandomRankDeficientAndZeroMatrices) {
  std::mt19937 gen(20240611);
  struct Case {
    int m, n, rank;  // rank < n makes the last columns combinations of the first
  };
  const Case cases[] = {{1, 1, 1}, {4, 2, 2}, {200, 6, 6}, {50, 20, 20}, {30, 7, 4}, {12, 5, 1},
                        {9, 9, 9}, {5, 3, 0}, {3, 5, 3}, {1, 4, 1}};
  for (const Case& c : cases) {
    MatrixXd a = Random(c.m, c.n, gen);
    if (c.rank < c.n) a = (c.rank == 0) ? MatrixXd::Zero(c.m, c.n) : MatrixXd(a.leftCols(c.rank) * Random(c.rank, c.n, gen));
    const std::string label = std::to_string(c.m) + "x" + std::to_string(c.n) + " rank " + std::to_string(c.rank);
    CheckDecomposition(a, label.c_str());
    const bool fullRank = c.rank == c.n && c.m >= c.n;
    const bool singular = CheckLeastSquares(a, Random(c.m, 1, gen), fullRank, label.c_str());
    if (c.rank > 0) {
      EXPECT_EQ(singular, c.rank < c.n || c.m < c.n) << label;
    }
  }
}

TEST(Svd, StraightLineFit) {
  MatrixXd a(4, 2);
  a << 1, 1, 2, 1, 3, 1, 4, 1;  // columns (t, 1)
  VectorXd y(4);
  y << 5, 8, 11, 14;
  TMatrix* u = NewMatrix(a);
  TMatrix v;
  TVector w;
  v.Resize(2, 2);
  w.Resize(2);
  ASSERT_TRUE(SingularValueDecomposition(*u, v, w));
  EXPECT_NEAR(w.Element(1), 5.7794, 5e-5);  // unsorted: the larger comes first here
  EXPECT_NEAR(w.Element(2), 0.7738, 5e-5);
  delete u;

  u = NewMatrix(a);
  TVector ty, x;
  Load(ty, y);
  x.Resize(2);
  bool singular = true;
  EXPECT_TRUE(SvdLeastSquares(*u, ty, x, nullptr, singular));  // no StdErr
  EXPECT_FALSE(singular);
  EXPECT_NEAR(x.Element(1), 3.0, 1e-13);
  EXPECT_NEAR(x.Element(2), 2.0, 1e-13);
  delete u;
}

TEST(Svd, SingularValuesAreNotSorted) {
  for (const auto& [d1, d2] : {std::pair{1.0, 3.0}, {3.0, 1.0}}) {
    TMatrix a, v;
    TVector w;
    a.Resize(2, 2);
    a.SetElement(1, 1, d1);
    a.SetElement(2, 2, d2);
    v.Resize(2, 2);
    w.Resize(2);
    ASSERT_TRUE(SingularValueDecomposition(a, v, w));
    EXPECT_EQ(w.Element(1), d1);
    EXPECT_EQ(w.Element(2), d2);
  }
}

TEST(Svd, IdenticalColumnsGiveMinimumNormSolution) {
  MatrixXd a(3, 2);
  a << 1, 1, 2, 2, 3, 3;
  TMatrix* u = NewMatrix(a);
  TVector y, x, err;
  Load(y, VectorXd::LinSpaced(3, 2, 6));
  x.Resize(2);
  err.Resize(2);
  bool singular = false;
  EXPECT_TRUE(SvdLeastSquares(*u, y, x, &err, singular));
  EXPECT_TRUE(singular);
  EXPECT_NEAR(x.Element(1), 1.0, 1e-13);
  EXPECT_NEAR(x.Element(2), 1.0, 1e-13);
  // The discarded direction adds nothing to the errors: both are sqrt(1/2) / |(1, 2, 3, 1, 2, 3)|.
  EXPECT_NEAR(err.Element(1), std::sqrt(0.5) / std::sqrt(28.0), 1e-14);
  delete u;
}

TEST(Svd, AllZeroDesignIsNotSingularAndGivesZero) {
  TMatrix a;
  a.Resize(2, 3);
  TVector y, x;
  Load(y, VectorXd::Ones(3));
  x.Resize(2);
  x.Fill(9);
  bool singular = true;
  EXPECT_TRUE(SvdLeastSquares(a, y, x, nullptr, singular));
  EXPECT_FALSE(singular);
  EXPECT_EQ(x.Element(1), 0.0);
  EXPECT_EQ(x.Element(2), 0.0);
}

TEST(Svd, NonConvergenceIsReportedAndLeavesTheSolutionAlone) {
  MatrixXd a = MatrixXd::Identity(3, 2);
  a(1, 0) = std::numeric_limits<double>::quiet_NaN();
  TMatrix* u = NewMatrix(a);
  TVector y, x;
  Load(y, VectorXd::Ones(3));
  x.Resize(2);
  x.Fill(7);
  bool singular = true;
  EXPECT_FALSE(SvdLeastSquares(*u, y, x, nullptr, singular));
  EXPECT_EQ(x.Element(1), 7.0);
  EXPECT_FALSE(singular);
  delete u;
}

TEST(Svd, CountsOneProgressStepPerOuterLoopIndexOfEachPhase) {
  TMatrix a, v;
  TVector w;
  a.Resize(3, 5);
  a.FillRandomUniform(-1, 1);
  v.Resize(3, 3);
  w.Resize(3);
  const int32_t before = ProgressCount();
  ASSERT_TRUE(SingularValueDecomposition(a, v, w));
  EXPECT_EQ(ProgressCount() - before, 4 * 3);
}

TEST(Svd, OutputsOfTheWrongShapeKeepWhatFits) {
  MatrixXd a(4, 3);
  a << 4, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0;
  TMatrix* u = NewMatrix(a);
  TMatrix v;  // 1 x 1
  TVector w;  // 1 element
  int vChanges = 0;
  v.SetOnChange([&](void*) { ++vChanges; });
  ASSERT_TRUE(SingularValueDecomposition(*u, v, w));
  EXPECT_EQ(w.Element(1), 4.0);
  EXPECT_EQ(std::fabs(v.Element(1, 1)), 1.0);
  EXPECT_EQ(vChanges, 1);  // only the write that fits notifies
  delete u;
}
