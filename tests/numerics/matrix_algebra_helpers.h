// Small helpers shared by the matrix algebra, statistics and sorting tests.
#pragma once

#include <Eigen/Dense>
#include <cstdint>
#include <vector>

#include "KVL_matrix.h"

namespace matrix_algebra_test {

template <typename M>
using Grid = std::vector<std::vector<typename M::Elem>>;

// Rows of values, top row first, into a matrix of matching shape.
template <typename M>
void Load(M& m, const Grid<M>& rows) {
  const auto nr = static_cast<int32_t>(rows.size());
  const auto nc = static_cast<int32_t>(rows.empty() ? 0 : rows[0].size());
  m.Resize(nc, nr);
  for (int32_t r = 1; r <= nr; ++r)
    for (int32_t c = 1; c <= nc; ++c) m.SetElement(c, r, rows[r - 1][c - 1]);
}

template <typename M>
Grid<M> Rows(const M& m) {
  Grid<M> rows(static_cast<std::size_t>(m.NrOfRows()));
  for (int32_t r = 1; r <= m.NrOfRows(); ++r)
    for (int32_t c = 1; c <= m.NrOfColumns(); ++c) rows[r - 1].push_back(m.Element(c, r));
  return rows;
}

inline Eigen::MatrixXd ToEigen(const TMatrix& m) {
  Eigen::MatrixXd e(m.NrOfRows(), m.NrOfColumns());
  for (int32_t r = 1; r <= m.NrOfRows(); ++r)
    for (int32_t c = 1; c <= m.NrOfColumns(); ++c) e(r - 1, c - 1) = m.Element(c, r);
  return e;
}

struct ChangeCounter {
  int count = 0;
  template <typename C>
  explicit ChangeCounter(C& c) {
    c.SetOnChange([this](void*) { ++count; });
  }
};

}  // namespace matrix_algebra_test
