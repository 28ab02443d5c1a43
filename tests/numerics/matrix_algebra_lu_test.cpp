#include <gtest/gtest.h>

#include <Eigen/Dense>
#include <cmath>
#include <memory>
#include <random>

#include "KVL_matrix.h"
#include "matrix_algebra_helpers.h"

using namespace matrix_algebra_test;

namespace {

using G = Grid<TMatrix>;

// A random n x n matrix made diagonally dominant, hence well conditioned.
void FillWellConditioned(TMatrix& m, int32_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  m.Resize(n, n);
  for (int32_t c = 1; c <= n; ++c)
    for (int32_t r = 1; r <= n; ++r) m.SetElement(c, r, dist(gen) + (c == r ? n : 0.0));
}

}  // namespace

TEST(MatrixLU, FactorsReproduceThePermutedRows) {
  for (int32_t n : {1, 2, 5, 12}) {
    SCOPED_TRACE(n);
    TMatrix a, l, u;
    FillWellConditioned(a, n, 7u + static_cast<unsigned>(n));
    const G before = Rows(a);
    ASSERT_TRUE(a.LUdecomposition(&l, &u));
    EXPECT_EQ(Rows(a), before);  // the matrix itself is not changed
    const Eigen::MatrixXd L = ToEigen(l), U = ToEigen(u), A = ToEigen(a);
    EXPECT_TRUE(L.isLowerTriangular()) << L;
    EXPECT_TRUE(U.isUpperTriangular()) << U;
    EXPECT_EQ(L.diagonal(), Eigen::VectorXd::Ones(n));
    // Each row of L U is a distinct row of A.
    const Eigen::MatrixXd LU = L * U;
    std::vector<bool> used(static_cast<std::size_t>(n), false);
    for (int32_t i = 0; i < n; ++i) {
      int32_t match = -1;
      for (int32_t k = 0; k < n; ++k)
        if (!used[k] && (LU.row(i) - A.row(k)).norm() < 1e-12 * A.norm()) match = k;
      ASSERT_GE(match, 0) << "row " << i;
      used[match] = true;
    }
  }
}

TEST(MatrixLU, EqualScaledPivotsGoToTheLaterRow) {
  // Scaled weights 1 * 1 and 0.5 * 2 tie: row 2 becomes the pivot.
  TMatrix a, l, u;
  Load(a, G{{1, 1}, {2, 1}});
  ASSERT_TRUE(a.LUdecomposition(&l, &u));
  EXPECT_EQ(Rows(u), (G{{2, 1}, {0, 0.5}}));
  EXPECT_EQ(Rows(l), (G{{1, 0}, {0.5, 1}}));
  EXPECT_DOUBLE_EQ(a.Determinant(), -1.0);
}

TEST(MatrixLU, FailuresAndWhatTheyLeave) {
  TMatrix a, l, u;
  Load(a, G{{1, 2}, {0, 0}});  // zero row: U is the matrix, L zeros
  EXPECT_FALSE(a.LUdecomposition(&l, &u));
  EXPECT_EQ(Rows(u), (G{{1, 2}, {0, 0}}));
  EXPECT_EQ(Rows(l), (G{{0, 0}, {0, 0}}));

  Load(a, G{{1, 2}, {2, 4}});  // singular: the small pivot is replaced, L stays zero
  EXPECT_FALSE(a.LUdecomposition(&l, &u));
  EXPECT_EQ(u.Element(2, 2), 1e-100);
  EXPECT_EQ(Rows(l), (G{{0, 0}, {0, 0}}));

  Load(a, G{{1, 2, 3}, {4, 5, 6}});
  EXPECT_FALSE(a.LUdecomposition(&l, &u));
  Load(a, G{{1, 2}, {3, 4}});
  EXPECT_FALSE(a.LUdecomposition(nullptr, &u));
  EXPECT_FALSE(a.LUdecomposition(&l, nullptr));
}

TEST(MatrixLU, DeterminantCases) {
  const struct {
    G rows;
    double expected;
  } cases[] = {
      {{{0, 1}, {1, 0}}, -1.0},  // one row exchange
      {{{1, 2}, {0, 0}}, 0.0},   // zero row
      {{{1, 2}, {2, 4}}, 0.0},   // singular
      {{{4, 7}, {2, 6}}, 10.0},
      {{{2, 0, 0}, {0, 3, 0}, {0, 0, -4}}, -24.0},
      {{{1, 2, 3}, {4, 5, 6}}, 0.0},  // not square
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TMatrix a;
    Load(a, cases[i].rows);
    EXPECT_NEAR(a.Determinant(), cases[i].expected, 1e-12) << "case " << i;
  }
}

TEST(MatrixLU, InvertAndDeterminantAgreeWithEigen) {
  for (int32_t n : {1, 3, 10, 40}) {
    SCOPED_TRACE(n);
    TMatrix a;
    FillWellConditioned(a, n, 100u + static_cast<unsigned>(n));
    const Eigen::MatrixXd A = ToEigen(a);
    EXPECT_NEAR(a.Determinant() / A.determinant(), 1.0, 1e-10);
    ChangeCounter changes(a);
    ASSERT_TRUE(a.Invert());
    EXPECT_EQ(changes.count, 1);
    const Eigen::MatrixXd inv = ToEigen(a), expected = A.inverse();
    EXPECT_LT((inv - expected).norm(), 1e-12 * expected.norm());
    EXPECT_LT((A * inv - Eigen::MatrixXd::Identity(n, n)).norm(), 1e-12 * n);
  }
}

TEST(MatrixLU, InvertKnownAndRefusedCases) {
  TMatrix a;
  Load(a, G{{4, 7}, {2, 6}});
  ASSERT_TRUE(a.Invert());
  const G inv = Rows(a), expected{{0.6, -0.7}, {-0.2, 0.4}};
  for (int r = 0; r < 2; ++r)
    for (int c = 0; c < 2; ++c) EXPECT_NEAR(inv[r][c], expected[r][c], 1e-15);

  for (const G& refused : {G{{1, 2, 3}, {4, 5, 6}}, G{{1, 2}, {2, 4}}, G{{1, 2}, {0, 0}}}) {
    TMatrix b;
    Load(b, refused);
    ChangeCounter changes(b);
    EXPECT_FALSE(b.Invert());
    EXPECT_EQ(Rows(b), refused);  // left as it was
    EXPECT_EQ(changes.count, 0);
  }
  a.Resize(0, 0);
  EXPECT_FALSE(a.Invert());
}

TEST(MatrixNorm, AllKinds) {
  TMatrix a;
  Load(a, G{{1, -2}, {3, 4}});
  EXPECT_DOUBLE_EQ(a.Norm(ntColwise), 6.0);
  EXPECT_DOUBLE_EQ(a.Norm(ntRowwise), 7.0);
  EXPECT_DOUBLE_EQ(a.Norm(ntFrobenius), std::sqrt(30.0));
  EXPECT_EQ(a.Norm(static_cast<TNormType>(9)), 0.0);
  for (const G& rows : {G{{1, -2}, {3, 4}}, G{{1, 2, 3}, {4, 5, 6}, {7, 8, 10}, {0, 1, 0}},
                        G{{1, 2, 3}, {-4, 5, 6}}}) {
    Load(a, rows);
    const double expected = Eigen::JacobiSVD<Eigen::MatrixXd>(ToEigen(a)).singularValues()(0);
    EXPECT_NEAR(a.Norm(ntSpectral), expected, 1e-12 * expected);
  }
  a.Resize(0, 3);
  for (TNormType nt : {ntColwise, ntRowwise, ntSpectral, ntFrobenius}) EXPECT_EQ(a.Norm(nt), 0.0);
}

TEST(MatrixTrace, DenseSparseAndWrapping) {
  TMatrix a;
  Load(a, G{{1, 2, 3}, {4, 5, 6}});
  EXPECT_EQ(a.Trace(), 0.0);  // not square
  Load(a, G{{1, 2, 3}, {4, 5, 6}, {7, 8, 9.5}});
  EXPECT_EQ(a.Trace(), 15.5);

  TIntMatrix i;
  Load(i, Grid<TIntMatrix>{{INT32_MAX, 0}, {0, 1}});
  EXPECT_EQ(i.Trace(), INT32_MIN);  // 32-bit wrap

  std::unique_ptr<TIntMatrix> s(TIntMatrix::CreateSparse(nullptr, 4));
  s->SetElement(1, 1, 5);
  s->SetElement(3, 3, 7);
  s->SetElement(2, 3, 100);
  EXPECT_EQ(s->Trace(), 12);
  s->SetElement(4, 1, 1);  // the bounding box is no longer square
  EXPECT_EQ(s->Trace(), 0);
}
