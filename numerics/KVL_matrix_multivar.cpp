// Multivariate operations of TMatrix: the distance matrix of its rows, the correlation with
// another matrix, and standardising and centring of columns or rows.
#include <cmath>
#include <new>
#include <vector>

#include "KVL_matrix.h"

namespace {

// CalcDistMat statuses.
constexpr int32_t kDistOk = 0;
constexpr int32_t kDistNotSquare = -1;
constexpr int32_t kDistWrongSize = -2;

// Distance (or similarity) of two rows of Features values each.
double RowDistance(TDistMode Mode, const double* a, const double* b, int32_t Features) {
  long double ab = 0, aa = 0, bb = 0, absDiff = 0, sqDiff = 0;
  for (int32_t k = 0; k < Features; ++k) {
    const long double x = a[k], y = b[k];
    ab += x * y;
    aa += x * x;
    bb += y * y;
    absDiff += std::fabs(x - y);
    sqDiff += (x - y) * (x - y);
  }
  // Two rows of zeros have no defined similarity: 0, the neutral result.
  switch (Mode) {
    case dmJaccard:
      return aa + bb - ab == 0 ? 0.0 : static_cast<double>(ab / (aa + bb - ab));
    case dmManhattan:
      return static_cast<double>(absDiff);
    case dmEuclid:
      return static_cast<double>(std::sqrt(sqDiff));
    case dmEuclidSqr:
      return static_cast<double>(sqDiff);
    case dmDice:
      return aa + bb == 0 ? 0.0 : static_cast<double>(2 * ab / (aa + bb));
    case dmUserDef:
      break;
  }
  return 0.0;
}

}  // namespace

int32_t TMatrix::CalcDistMat(TDistMode Mode, TMatrix* DMat) {
  if (!DMat || DMat->FNCol != DMat->FNRow) return kDistNotSquare;
  if (DMat->FNCol != FNRow) return kDistWrongSize;
  const int32_t n = FNRow;
  const int32_t features = FNCol;
  if (n == 0) return kDistOk;
  // The rows are copied out row by row (so each distance reads contiguous values) and the
  // distances are collected before DMat is written, so DMat may be this matrix.
  std::vector<double> rows, dist;
  try {
    rows.resize(static_cast<std::size_t>(n) * static_cast<std::size_t>(features));
    dist.assign(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 0.0);
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  for (int32_t c = 0; c < features; ++c)
    for (int32_t r = 0; r < n; ++r)
      rows[static_cast<std::size_t>(r) * features + c] = FMat[static_cast<std::size_t>(c) * FStride + r];
  for (int32_t r1 = 0; r1 < n; ++r1) {
    for (int32_t r2 = r1 + 1; r2 < n; ++r2) {
      double d = RowDistance(Mode, rows.data() + static_cast<std::size_t>(r1) * features,
                             rows.data() + static_cast<std::size_t>(r2) * features, features);
      if (Mode == dmUserDef && FOnCalcDistance) FOnCalcDistance(this, r1 + 1, r2 + 1, d);
      dist[static_cast<std::size_t>(r1) * n + r2] = d;
      dist[static_cast<std::size_t>(r2) * n + r1] = d;
    }
  }
  // A handler may have resized DMat meanwhile.
  if (DMat->FNCol != n || DMat->FNRow != n) return kDistWrongSize;
  DMat->FMat.swap(dist);
  DMat->Changed();
  return kDistOk;
}

double TMatrix::Correlate(const TMatrix* OtherMat) const {
  if (!OtherMat) return 0.0;
  if (OtherMat->FNCol != FNCol || OtherMat->FNRow != FNRow)
    throw EKVLMatrixError(ComponentMessage(Name(), "matrices do not match"));
  const int64_t n = static_cast<int64_t>(FNCol) * FNRow;
  if (n <= 2) return 0.0;
  // Same counts, at least one row: the elements are the first n cells of both storages.
  const double* x = FMat.data();
  const double* y = OtherMat->FMat.data();
  long double sx = 0, sy = 0, sxx = 0, syy = 0;
  for (int64_t i = 0; i < n; ++i) {
    sx += x[i];
    sy += y[i];
    sxx += static_cast<long double>(x[i]) * x[i];
    syy += static_cast<long double>(y[i]) * y[i];
  }
  if (!(sxx > 0 && syy > 0)) return 0.0;
  // Centred sums: the same quantities as sum(xy) - sum(x)sum(y)/n and so on, without their
  // cancellation, so that constant data gives exactly 0.
  const long double mx = sx / n, my = sy / n;
  long double cxx = 0, cyy = 0, cxy = 0;
  for (int64_t i = 0; i < n; ++i) {
    const long double dx = x[i] - mx, dy = y[i] - my;
    cxx += dx * dx;
    cyy += dy * dy;
    cxy += dx * dy;
  }
  if (cxx == 0 || cyy == 0) return 0.0;
  return static_cast<double>(cxy / std::sqrt(std::fabs(cxx * cyy)));
}

void TMatrix::StandardizeColumns(TVector* Means, TVector* StdDevs) {
  for (int32_t c = 1; c <= FNCol; ++c) {
    double mean = 0, variance = 0;
    MeanVar(c, 0, c, 0, mean, variance);
    const double sd = std::sqrt(variance);
    if (variance > 0) {
      double* col = FMat.data() + static_cast<std::size_t>(c - 1) * FStride;
      for (int32_t r = 0; r < FNRow; ++r) col[r] = (col[r] - mean) / sd;
    }
    if (Means) Means->SetElement(c, mean);
    if (StdDevs) StdDevs->SetElement(c, sd);
  }
  Changed();
}

void TMatrix::StandardizeRows(TVector* Means, TVector* StdDevs) {
  for (int32_t r = 1; r <= FNRow; ++r) {
    double mean = 0, variance = 0;
    MeanVar(0, r, 0, r, mean, variance);
    const double sd = std::sqrt(variance);
    if (variance > 0)
      for (int32_t c = 0; c < FNCol; ++c) {
        double& x = FMat[static_cast<std::size_t>(c) * FStride + static_cast<std::size_t>(r - 1)];
        x = (x - mean) / sd;
      }
    if (Means) Means->SetElement(r, mean);
    if (StdDevs) StdDevs->SetElement(r, sd);
  }
  Changed();
}

void TMatrix::MeanCenterColumns(TVector* Means) {
  for (int32_t c = 1; c <= FNCol; ++c) {
    double mean = 0, variance = 0;
    MeanVar(c, 0, c, 0, mean, variance);
    double* col = FMat.data() + static_cast<std::size_t>(c - 1) * FStride;
    for (int32_t r = 0; r < FNRow; ++r) col[r] -= mean;
    if (Means) Means->SetElement(c, mean);
  }
  Changed();
}

void TMatrix::MeanCenterRows(TVector* Means) {
  for (int32_t r = 1; r <= FNRow; ++r) {
    double mean = 0, variance = 0;
    MeanVar(0, r, 0, r, mean, variance);
    for (int32_t c = 0; c < FNCol; ++c)
      FMat[static_cast<std::size_t>(c) * FStride + static_cast<std::size_t>(r - 1)] -= mean;
    if (Means) Means->SetElement(r, mean);
  }
  Changed();
}
