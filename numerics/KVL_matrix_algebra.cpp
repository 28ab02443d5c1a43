// Linear algebra of TMatrix: Crout LU decomposition, determinant, inversion, norms, and the
// trace of both matrix classes.
#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "KVL_math2_svd.h"
#include "KVL_matrix.h"

namespace {

// Pivots smaller than this count as zero; they are replaced by it so the decomposition can run
// to its end.
constexpr double kTinyPivot = 1e-100;

enum class TCroutResult { ok, zeroRow, smallPivot };

// x[i] -= y[i] * s for i < Count. Four elements are loaded before any is stored, which lets the
// compiler pair them into vector instructions whether or not x and y overlap.
inline void SubtractScaled(double* x, const double* y, double s, int32_t Count) {
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const double y0 = y[i], y1 = y[i + 1], y2 = y[i + 2], y3 = y[i + 3];
    const double x0 = x[i], x1 = x[i + 1], x2 = x[i + 2], x3 = x[i + 3];
    x[i] = x0 - y0 * s;
    x[i + 1] = x1 - y1 * s;
    x[i + 2] = x2 - y2 * s;
    x[i + 3] = x3 - y3 * s;
  }
  for (; i < Count; ++i) x[i] -= y[i] * s;
}

// x[i] := (x[i] - y[i] * s) - z[i] * t for i < Count: two updates of SubtractScaled in one pass,
// with the same rounding, reading and writing x once.
inline void SubtractScaledTwice(double* x, const double* y, double s, const double* z, double t,
                                int32_t Count) {
  int32_t i = 0;
  for (; i + 4 <= Count; i += 4) {
    const double y0 = y[i], y1 = y[i + 1], y2 = y[i + 2], y3 = y[i + 3];
    const double z0 = z[i], z1 = z[i + 1], z2 = z[i + 2], z3 = z[i + 3];
    const double x0 = x[i], x1 = x[i + 1], x2 = x[i + 2], x3 = x[i + 3];
    x[i] = (x0 - y0 * s) - z0 * t;
    x[i + 1] = (x1 - y1 * s) - z1 * t;
    x[i + 2] = (x2 - y2 * s) - z2 * t;
    x[i + 3] = (x3 - y3 * s) - z3 * t;
  }
  for (; i < Count; ++i) x[i] = (x[i] - y[i] * s) - z[i] * t;
}

// Crout decomposition with implicit scaled partial pivoting of the n x n column-major block a,
// in place: U on and above the diagonal, L (unit diagonal implied) below it, both of the rows
// permuted. Pivots[j] is the row exchanged with row j at step j; Sign is +1 or -1, the parity of
// the exchanges. A zero row stops at once; a small pivot is replaced and the decomposition runs
// on. Each column is built from the columns before it (left-looking), so the inner loops run
// down contiguous columns; the terms are still subtracted in the order of the textbook form.
TCroutResult CroutDecompose(double* a, int32_t n, std::vector<int32_t>& Pivots, int& Sign) {
  const auto at = [n](int32_t col) { return static_cast<std::size_t>(col) * static_cast<std::size_t>(n); };
  Sign = 1;
  std::vector<double> scale(static_cast<std::size_t>(n), 0.0);
  for (int32_t c = 0; c < n; ++c) {
    const double* col = a + at(c);
    for (int32_t i = 0; i < n; ++i) scale[i] = std::max(scale[i], std::fabs(col[i]));
  }
  for (double& s : scale) {
    if (!(s > 0)) return TCroutResult::zeroRow;  // also a row of NaNs
    s = 1.0 / s;
  }

  TCroutResult result = TCroutResult::ok;
  for (int32_t j = 0; j < n; ++j) {
    double* colj = a + at(j);
    // Columns k and k + 1 in one pass: u(k + 1, j) is final once column k has updated it.
    int32_t k = 0;
    for (; k + 1 < j; k += 2) {
      const double* colk = a + at(k);
      const double* colk1 = a + at(k + 1);
      const double ukj = colj[k];
      colj[k + 1] -= colk[k + 1] * ukj;
      SubtractScaledTwice(colj + k + 2, colk + k + 2, ukj, colk1 + k + 2, colj[k + 1], n - k - 2);
    }
    if (k < j) SubtractScaled(colj + k + 1, a + at(k) + k + 1, colj[k], n - k - 1);
    double big = 0.0;
    int32_t pivot = j;
    for (int32_t i = j; i < n; ++i) {
      const double weight = scale[i] * std::fabs(colj[i]);
      if (weight >= big) {  // a later row wins a tie
        big = weight;
        pivot = i;
      }
    }
    if (pivot != j) {
      for (int32_t c = 0; c < n; ++c) std::swap(a[at(c) + j], a[at(c) + pivot]);
      Sign = -Sign;
      scale[pivot] = scale[j];
    }
    Pivots[j] = pivot;
    if (!(std::fabs(colj[j]) >= kTinyPivot)) {  // NaN fails too
      result = TCroutResult::smallPivot;
      colj[j] = kTinyPivot;
    }
    const double diag = colj[j];
    for (int32_t i = j + 1; i < n; ++i) colj[i] /= diag;
  }
  return result;
}

// Solves L U x = P b in place for the output of CroutDecompose, x holding b on entry.
void CroutSolve(const double* lu, int32_t n, const std::vector<int32_t>& Pivots, double* x) {
  const auto at = [n](int32_t col) { return static_cast<std::size_t>(col) * static_cast<std::size_t>(n); };
  for (int32_t i = 0; i < n; ++i) std::swap(x[i], x[Pivots[i]]);
  int32_t first = 0;  // forward substitution skips the leading zeros of b
  while (first < n && x[first] == 0.0) ++first;
  // Both substitutions take two columns of L or U per pass, as the decomposition does.
  for (int32_t k = first; k + 1 < n; k += 2) {
    const double* colk = lu + at(k);
    x[k + 1] -= colk[k + 1] * x[k];
    SubtractScaledTwice(x + k + 2, colk + k + 2, x[k], lu + at(k + 1) + k + 2, x[k + 1], n - k - 2);
  }
  int32_t k = n - 1;
  for (; k >= 1; k -= 2) {
    const double* colk = lu + at(k);
    const double* colk1 = lu + at(k - 1);
    x[k] /= colk[k];
    x[k - 1] -= colk[k - 1] * x[k];
    x[k - 1] /= colk1[k - 1];
    SubtractScaledTwice(x, colk, x[k], colk1, x[k - 1], k - 1);
  }
  if (k == 0) x[0] /= lu[0];
}

// Gives M the n x n cells (column-major) and notifies it.
void StoreSquare(TMatrix& M, int32_t n, const std::vector<double>& Cells) {
  M.Resize(n, n);
  if (n > 0) std::copy(Cells.begin(), Cells.end(), M.Data());
  M.Changed();
}

}  // namespace

bool TMatrix::LUdecomposition(TMatrix* MatL, TMatrix* MatU) const {
  if (!MatL || !MatU || FNCol != FNRow) return false;
  const int32_t n = FNCol;
  const std::size_t cells = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
  std::vector<double> lower, upper;
  std::vector<int32_t> pivots;
  try {
    upper.assign(FMat.begin(), FMat.begin() + static_cast<std::ptrdiff_t>(cells));
    lower.assign(cells, 0.0);
    pivots.resize(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  int sign = 1;
  const TCroutResult result = CroutDecompose(upper.data(), n, pivots, sign);
  // A zero row leaves U as the matrix; a small pivot leaves L and U together in U.
  if (result == TCroutResult::ok) {
    for (int32_t c = 0; c < n; ++c) {
      const std::size_t col = static_cast<std::size_t>(c) * static_cast<std::size_t>(n);
      lower[col + static_cast<std::size_t>(c)] = 1.0;
      for (int32_t r = c + 1; r < n; ++r) {
        lower[col + static_cast<std::size_t>(r)] = upper[col + static_cast<std::size_t>(r)];
        upper[col + static_cast<std::size_t>(r)] = 0.0;
      }
    }
  }
  StoreSquare(*MatL, n, lower);
  StoreSquare(*MatU, n, upper);
  return result == TCroutResult::ok;
}

double TMatrix::Determinant() const {
  if (FNCol != FNRow) return 0.0;
  const int32_t n = FNCol;
  std::vector<double> lu;
  std::vector<int32_t> pivots;
  try {
    lu.assign(FMat.begin(), FMat.begin() + static_cast<std::ptrdiff_t>(static_cast<std::size_t>(n) * n));
    pivots.resize(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  int sign = 1;
  if (CroutDecompose(lu.data(), n, pivots, sign) != TCroutResult::ok) return 0.0;
  double det = sign;  // each row exchange flips the sign
  for (int32_t i = 0; i < n; ++i) det *= lu[static_cast<std::size_t>(i) * n + i];
  return det;
}

bool TMatrix::Invert() {
  if (FNCol != FNRow || FNCol < 1) return false;
  const int32_t n = FNCol;
  const std::size_t cells = static_cast<std::size_t>(n) * static_cast<std::size_t>(n);
  std::vector<double> lu, inverse;
  std::vector<int32_t> pivots;
  try {
    lu = FMat;
    inverse.assign(cells, 0.0);
    pivots.resize(static_cast<std::size_t>(n));
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  int sign = 1;
  // The matrix is decomposed in a copy, so a failure leaves it as it was.
  if (CroutDecompose(lu.data(), n, pivots, sign) != TCroutResult::ok) return false;
  for (int32_t c = 0; c < n; ++c) {
    double* x = inverse.data() + static_cast<std::size_t>(c) * static_cast<std::size_t>(n);
    x[c] = 1.0;
    CroutSolve(lu.data(), n, pivots, x);
  }
  FMat.swap(inverse);
  Changed();
  return true;
}

double TMatrix::Norm(TNormType nt) const {
  const auto column = [this](int32_t c) { return FMat.data() + static_cast<std::size_t>(c) * FStride; };
  switch (nt) {
    case ntColwise: {
      long double largest = 0;
      for (int32_t c = 0; c < FNCol; ++c) {
        long double sum = 0;
        for (int32_t r = 0; r < FNRow; ++r) sum += std::fabs(column(c)[r]);
        largest = std::max(largest, sum);
      }
      return static_cast<double>(largest);
    }
    case ntRowwise: {
      std::vector<long double> sums(static_cast<std::size_t>(std::max(FNRow, 0)), 0.0L);
      for (int32_t c = 0; c < FNCol; ++c)
        for (int32_t r = 0; r < FNRow; ++r) sums[r] += std::fabs(column(c)[r]);
      return sums.empty() ? 0.0 : static_cast<double>(*std::max_element(sums.begin(), sums.end()));
    }
    case ntSpectral: {
      if (FNCol < 1 || FNRow < 1) return 0.0;
      TMatrix a, v;
      TVector w;
      a.Resize(FNCol, FNRow);
      std::copy(FMat.begin(), FMat.end(), a.Data());
      v.Resize(FNCol, FNCol);
      w.Resize(FNCol);
      if (!SingularValueDecomposition(a, v, w))
        throw EKVLMatrixError("near singular covariance matrix");
      return *std::max_element(w.Data(), w.Data() + w.NrOfElem());
    }
    case ntFrobenius: {
      long double sum = 0;
      for (int32_t c = 0; c < FNCol; ++c)
        for (int32_t r = 0; r < FNRow; ++r) sum += static_cast<long double>(column(c)[r]) * column(c)[r];
      return static_cast<double>(std::sqrt(sum));
    }
  }
  return 0.0;
}

template <typename T>
T TMatrixCore<T>::Trace() const {
  typename TVectorTraits<T>::Accum sum{0};
  if constexpr (kSparseCapable) {
    if (FIsSparse) {
      if (FSparse.HighRow() != FSparse.HighCol()) return T{0};
      for (const TSpMatElemInt& entry : FSparse.Entries())
        if (entry.colidx == entry.rowidx) sum = ArithAdd(sum, entry.value);
      return sum;
    }
  }
  if (FNCol != FNRow || FNCol < 1) return T{0};
  for (int32_t i = 0; i < FNCol; ++i)
    sum = ArithAdd(sum, static_cast<decltype(sum)>(FMat[static_cast<std::size_t>(i) * FStride + i]));
  return static_cast<T>(sum);
}

template double TMatrixCore<double>::Trace() const;
template int32_t TMatrixCore<int32_t>::Trace() const;
