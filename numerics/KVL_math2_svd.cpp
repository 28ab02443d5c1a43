#include "KVL_math2_svd.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "KVL_univconst.h"

namespace {

double Sign(double a, double b) { return b >= 0.0 ? std::fabs(a) : -std::fabs(a); }
double Hypot(double a, double b) { return std::sqrt(a * a + b * b); }

// A column-major block addressed 1-based in the mathematical sense: (row, column).
class TColumnView {
 public:
  TColumnView(double* Data, std::size_t Stride) : FData(Data), FStride(Stride) {}
  double& operator()(int r, int c) const {
    return FData[static_cast<std::size_t>(c - 1) * FStride + static_cast<std::size_t>(r - 1)];
  }
  double* Column(int c) const { return FData + static_cast<std::size_t>(c - 1) * FStride; }

 private:
  double* FData;
  std::size_t FStride;
};

// The loops below keep every sum in its written order, so results do not depend on how they
// are scheduled; what they gain comes from independent work side by side: two rows per step in
// the element-wise updates (which the compiler can pair into one vector operation) and several
// dot products running together.

// (p, q) := (p c + q s, q c - p s) over the first Rows rows of two distinct columns.
void Rotate(double* __restrict pj, double* __restrict pi, int Rows, double c, double s) {
  int r = 0;
  for (; r + 1 < Rows; r += 2) {
    const double y0 = pj[r], y1 = pj[r + 1];
    const double z0 = pi[r], z1 = pi[r + 1];
    pj[r] = y0 * c + z0 * s;
    pj[r + 1] = y1 * c + z1 * s;
    pi[r] = z0 * c - y0 * s;
    pi[r + 1] = z1 * c - y1 * s;
  }
  if (r < Rows) {
    const double y = pj[r], z = pi[r];
    pj[r] = y * c + z * s;
    pi[r] = z * c - y * s;
  }
}

// y[k] += f x[k] for k < Count.
void Axpy(double* __restrict y, const double* __restrict x, double f, int Count) {
  int k = 0;
  for (; k + 1 < Count; k += 2) {
    y[k] += f * x[k];
    y[k + 1] += f * x[k + 1];
  }
  if (k < Count) y[k] += f * x[k];
}

// Sums[j] := sum over k < Count, in order, of x[k] * Columns(j)[k], for j in First .. Last;
// four sums at a time.
template <typename ColumnOf>
void Dots(const double* x, ColumnOf Columns, int First, int Last, int Count, double* Sums) {
  int j = First;
  for (; j + 3 <= Last; j += 4) {
    const double *c0 = Columns(j), *c1 = Columns(j + 1), *c2 = Columns(j + 2), *c3 = Columns(j + 3);
    double s0 = 0.0, s1 = 0.0, s2 = 0.0, s3 = 0.0;
    for (int k = 0; k < Count; ++k) {
      s0 += x[k] * c0[k];
      s1 += x[k] * c1[k];
      s2 += x[k] * c2[k];
      s3 += x[k] * c3[k];
    }
    Sums[j] = s0;
    Sums[j + 1] = s1;
    Sums[j + 2] = s2;
    Sums[j + 3] = s3;
  }
  for (; j <= Last; ++j) {
    const double* c0 = Columns(j);
    double s0 = 0.0;
    for (int k = 0; k < Count; ++k) s0 += x[k] * c0[k];
    Sums[j] = s0;
  }
}

void RotateColumns(const TColumnView& M, int j, int i, int Rows, double c, double s) {
  Rotate(M.Column(j), M.Column(i), Rows, c, s);
}

// Golub-Reinsch on an m x n block a (m >= n), writing v (n x n) and w, e (1-based, n + 1 long).
class TGolubReinsch {
 public:
  TGolubReinsch(const TColumnView& a, const TColumnView& v, int m, int n)
      : a(a), v(v), m(m), n(n), w(n + 1, 0.0), e(n + 1, 0.0), sums(n + 1, 0.0), scratch(m + 1, 0.0) {}

  bool Run() {
    Bidiagonalise();
    AccumulateRight();
    AccumulateLeft();
    return Diagonalise();
  }

  // The singular values, 1-based (element 0 is unused).
  const std::vector<double>& SingularValues() const { return w; }

 private:
  const TColumnView a, v;
  const int m, n;
  std::vector<double> w, e;           // diagonal and superdiagonal, 1-based
  std::vector<double> sums, scratch;  // per column, per row
  double anorm = 0.0;

  // |x| + anorm == anorm with the sum in 80-bit extended precision.
  bool Negligible(double x) const {
    const long double sum = static_cast<long double>(std::fabs(x)) + static_cast<long double>(anorm);
    return sum == static_cast<long double>(anorm);
  }

  void Bidiagonalise() {
    double g = 0.0, scale = 0.0;
    for (int i = 1; i <= n; ++i) {
      const int l = i + 1;
      e[i] = scale * g;
      g = scale = 0.0;
      double* ai = a.Column(i);
      for (int k = i; k <= m; ++k) scale += std::fabs(ai[k - 1]);
      if (scale != 0.0) {
        double s = 0.0;
        for (int k = i; k <= m; ++k) {
          ai[k - 1] /= scale;
          s += ai[k - 1] * ai[k - 1];
        }
        const double f = ai[i - 1];
        g = -Sign(std::sqrt(s), f);
        const double h = f * g - s;
        ai[i - 1] = f - g;
        // Column j's update reads only column i and itself, so all the sums can come first.
        Dots(ai + (i - 1), [this, i](int j) { return a.Column(j) + (i - 1); }, l, n, m - i + 1,
             sums.data());
        for (int j = l; j <= n; ++j) Axpy(a.Column(j) + (i - 1), ai + (i - 1), sums[j] / h, m - i + 1);
        for (int k = i; k <= m; ++k) ai[k - 1] *= scale;
      }
      w[i] = scale * g;
      g = scale = 0.0;
      if (i <= m && i != n) {
        for (int k = l; k <= n; ++k) scale += std::fabs(a(i, k));
        if (scale != 0.0) {
          double s = 0.0;
          for (int k = l; k <= n; ++k) {
            a(i, k) /= scale;
            s += a(i, k) * a(i, k);
          }
          const double f = a(i, l);
          g = -Sign(std::sqrt(s), f);
          const double h = f * g - s;
          a(i, l) = f - g;
          for (int k = l; k <= n; ++k) e[k] = a(i, k) / h;
          // Row j's sum over k runs in the same order as row by row, but column by column the
          // memory is read contiguously.
          std::fill(scratch.begin() + l, scratch.end(), 0.0);
          for (int k = l; k <= n; ++k) {
            const double aik = a(i, k);
            const double* ak = a.Column(k);
            for (int j = l; j <= m; ++j) scratch[j] += ak[j - 1] * aik;
          }
          for (int k = l; k <= n; ++k) {
            double* ak = a.Column(k);
            const double ek = e[k];
            for (int j = l; j <= m; ++j) ak[j - 1] += scratch[j] * ek;
          }
          for (int k = l; k <= n; ++k) a(i, k) *= scale;
        }
      }
      anorm = std::max(anorm, std::fabs(w[i]) + std::fabs(e[i]));
      StepProgressCount();
    }
  }

  void AccumulateRight() {
    double g = 0.0;
    for (int i = n; i >= 1; --i) {
      const int l = i + 1;
      if (i < n) {
        if (g != 0.0) {
          for (int j = l; j <= n; ++j) v(j, i) = (a(i, j) / a(i, l)) / g;
          for (int j = l; j <= n; ++j) {
            double s = 0.0;
            for (int k = l; k <= n; ++k) s += a(i, k) * v(k, j);
            for (int k = l; k <= n; ++k) v(k, j) += s * v(k, i);
          }
        }
        for (int j = l; j <= n; ++j) v(i, j) = v(j, i) = 0.0;
      }
      v(i, i) = 1.0;
      g = e[i];
      StepProgressCount();
    }
  }

  void AccumulateLeft() {
    for (int i = n; i >= 1; --i) {
      const int l = i + 1;
      double g = w[i];
      for (int j = l; j <= n; ++j) a(i, j) = 0.0;
      double* ai = a.Column(i);
      if (g != 0.0) {
        g = 1.0 / g;
        Dots(ai + i, [this, i](int j) { return a.Column(j) + i; }, l, n, m - i, sums.data());
        for (int j = l; j <= n; ++j)
          Axpy(a.Column(j) + (i - 1), ai + (i - 1), (sums[j] / ai[i - 1]) * g, m - i + 1);
        for (int j = i; j <= m; ++j) ai[j - 1] *= g;
      } else {
        for (int j = i; j <= m; ++j) ai[j - 1] = 0.0;
      }
      ai[i - 1] += 1.0;
      StepProgressCount();
    }
  }

  bool Diagonalise() {
    bool converged = true;
    for (int k = n; k >= 1; --k) {
      for (int its = 1; its <= kSvdMaxIterations; ++its) {
        // Split: e[1] is 0, so l = 1 ends the search (also when anorm is not a number).
        int l = k;
        bool cancel = false;
        for (; l >= 1; --l) {
          if (l == 1 || Negligible(e[l])) break;
          if (Negligible(w[l - 1])) {
            cancel = true;
            break;
          }
        }
        if (cancel) {
          double c = 0.0, s = 1.0;
          for (int i = l; i <= k; ++i) {
            const double f = s * e[i];
            if (Negligible(f)) continue;
            const double g = w[i];
            const double h = Hypot(f, g);
            w[i] = h;
            c = g / h;
            s = -f / h;
            RotateColumns(a, l - 1, i, m, c, s);
          }
        }
        const double z = w[k];
        if (l == k) {
          if (z < 0.0) {
            w[k] = -z;
            double* vk = v.Column(k);
            for (int j = 0; j < n; ++j) vk[j] = -vk[j];
          }
          break;
        }
        if (its == kSvdMaxIterations) converged = false;
        Sweep(l, k);
      }
      StepProgressCount();
    }
    return converged;
  }

  // One implicitly shifted QR sweep over the block l .. k.
  void Sweep(int l, int k) {
    double x = w[l];
    double y = w[k - 1];
    double g = e[k - 1];
    double h = e[k];
    double z = w[k];
    double f = ((y - z) * (y + z) + (g - h) * (g + h)) / (2.0 * h * y);
    g = Hypot(f, 1.0);
    f = ((x - z) * (x + z) + h * (y / (f + Sign(g, f)) - h)) / x;
    double c = 1.0, s = 1.0;
    for (int j = l; j <= k - 1; ++j) {
      const int i = j + 1;
      g = e[i];
      y = w[i];
      h = s * g;
      g = c * g;
      z = Hypot(f, h);
      e[j] = z;
      c = f / z;
      s = h / z;
      f = x * c + g * s;
      g = g * c - x * s;
      h = y * s;
      y = y * c;
      RotateColumns(v, j, i, n, c, s);
      z = Hypot(f, h);
      w[j] = z;
      if (z != 0.0) {
        c = f / z;
        s = h / z;
      }
      f = c * g + s * y;
      x = c * y - s * g;
      RotateColumns(a, j, i, m, c, s);
    }
    e[l] = 0.0;
    e[k] = f;
    w[k] = x;
  }
};

}  // namespace

bool SingularValueDecomposition(TMatrix& A, TMatrix& V, TVector& W) {
  const int n = A.NrOfColumns();
  const int m = A.NrOfRows();
  if (n == 0) return true;
  // Work in place where the shapes allow it; otherwise in scratch blocks (a short A padded with
  // zero rows, a V of the wrong shape) whose contents are copied out at the end.
  const int rows = std::max(m, n);
  const bool inPlaceA = m >= n;
  const bool inPlaceV = V.NrOfColumns() == n && V.NrOfRows() == n;
  std::vector<double> padded, scratchV;
  if (!inPlaceA) {
    padded.assign(static_cast<std::size_t>(rows) * n, 0.0);
    for (int c = 1; c <= n; ++c)
      for (int r = 1; r <= m; ++r) padded[static_cast<std::size_t>(c - 1) * rows + (r - 1)] = A.Element(c, r);
  }
  if (!inPlaceV) scratchV.assign(static_cast<std::size_t>(n) * n, 0.0);
  const TColumnView a = inPlaceA ? TColumnView(A.Data(), A.ColumnStride()) : TColumnView(padded.data(), rows);
  const TColumnView v = inPlaceV ? TColumnView(V.Data(), V.ColumnStride()) : TColumnView(scratchV.data(), n);

  TGolubReinsch svd(a, v, rows, n);
  const bool converged = svd.Run();

  if (!inPlaceA)
    for (int c = 1; c <= n; ++c)
      for (int r = 1; r <= m; ++r) A.Data()[static_cast<std::size_t>(c - 1) * A.ColumnStride() + (r - 1)] = a(r, c);
  A.Changed();
  if (inPlaceV) {
    V.Changed();
  } else {
    for (int c = 1; c <= n; ++c)
      for (int r = 1; r <= n; ++r) V.SetElement(c, r, v(r, c));
  }
  const int written = std::min(n, W.NrOfElem());
  std::copy_n(svd.SingularValues().begin() + 1, written, W.Data());
  W.SetIsEmpty(false);
  W.Changed();
  return converged;
}

bool SvdBackSubstitution(const TMatrix& U, const TMatrix& V, const TVector& W, const TVector& Y,
                         TVector& X, TVector* StdErr) {
  const int n = U.NrOfColumns();
  const int m = U.NrOfRows();
  const int yCount = std::min(m, Y.NrOfElem());  // Y reads 0 beyond its end
  std::vector<double> t(static_cast<std::size_t>(n) + 1, 0.0);
  for (int i = 1; i <= n; ++i) {
    const double wi = W.Element(i);
    if (wi == 0.0) continue;
    const double* ui = U.Data() + static_cast<std::size_t>(i - 1) * U.ColumnStride();
    long double sum = 0;
    for (int r = 0; r < yCount; ++r) sum += static_cast<long double>(ui[r]) * Y.Data()[r];
    t[i] = static_cast<double>(sum / wi);
  }
  for (int j = 1; j <= n; ++j) {
    long double sum = 0;
    for (int k = 1; k <= n; ++k) sum += static_cast<long double>(V.Element(k, j)) * t[k];
    X.SetElement(j, static_cast<double>(sum));
  }
  if (StdErr) {
    std::vector<double> q(static_cast<std::size_t>(n) + 1, 0.0);
    for (int k = 1; k <= n; ++k) {
      const double wk = W.Element(k);
      if (wk != 0.0) q[k] = 1.0 / (wk * wk);
    }
    for (int l = 1; l <= n; ++l) {
      long double sum = 0;
      for (int k = 1; k <= n; ++k) {
        const long double vkl = V.Element(k, l);
        sum += vkl * vkl * q[k];
      }
      StdErr->SetElement(l, static_cast<double>(std::sqrt(sum)));
    }
  }
  return true;
}

bool SvdLeastSquares(TMatrix& A, const TVector& Y, TVector& X, TVector* StdErr, bool& Singular) {
  Singular = false;
  const int n = A.NrOfColumns();
  TMatrix V;
  TVector W;
  V.Resize(n, n);
  W.Resize(n);
  if (!SingularValueDecomposition(A, V, W)) return false;
  double wmax = 0.0;
  for (int j = 1; j <= n; ++j) wmax = std::max(wmax, W.Element(j));
  const double thresh = kSvdSingularThreshold * wmax;
  for (int j = 1; j <= n; ++j) {
    if (W.Element(j) < thresh) {
      W.SetElement(j, 0.0);
      Singular = true;
    }
  }
  return SvdBackSubstitution(A, V, W, Y, X, StdErr);
}
