// Filling and reading matrices in tests as lists of rows.
#pragma once

#include <cstdint>
#include <vector>

// Rows of a matrix as written in the tests: Rows[r - 1][c - 1] is element (c, r).
template <typename T>
using Rows = std::vector<std::vector<T>>;

template <typename M>
void Assign(M& m, const Rows<typename M::Elem>& rows) {
  const auto nr = static_cast<int32_t>(rows.size());
  const auto nc = nr == 0 ? 0 : static_cast<int32_t>(rows[0].size());
  m.Resize(nc, nr);
  for (int32_t r = 1; r <= nr; ++r)
    for (int32_t c = 1; c <= nc; ++c) m.SetElement(c, r, rows[r - 1][c - 1]);
}

template <typename M>
Rows<typename M::Elem> RowsOf(const M& m) {
  Rows<typename M::Elem> rows(static_cast<size_t>(m.NrOfRows()));
  for (int32_t r = 1; r <= m.NrOfRows(); ++r)
    for (int32_t c = 1; c <= m.NrOfColumns(); ++c) rows[r - 1].push_back(m.Element(c, r));
  return rows;
}
