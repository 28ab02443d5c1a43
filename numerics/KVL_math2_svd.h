// The least-squares solver of the library: singular value decomposition of a design matrix,
// back substitution for the coefficients and their standard errors, and the driver that
// discards negligible singular values.
//
// A design matrix has one column per unknown coefficient (n = NrOfColumns) and one row per
// observation (m = NrOfRows); element (j, i) is basis function j at observation i.
#pragma once

#include "KVL_matrix.h"
#include "KVL_vector.h"

// Singular values below this fraction of the largest one are treated as zero.
inline constexpr double kSvdSingularThreshold = 1e-14;
// QR sweeps allowed per singular value before the decomposition reports failure.
inline constexpr int kSvdMaxIterations = 30;

// A = U diag(W) V^T by the Golub-Reinsch method. A (m x n) is replaced by U (when m >= n, the
// columns of the nonzero singular values are orthonormal); V must be n x n and W have n elements (parts that do not fit are dropped). The
// singular values are >= 0 and left in the order the diagonalisation produces, not sorted.
// Returns false when some singular value did not converge within kSvdMaxIterations sweeps.
// Adds 1 to ProgressCount per step of each of its four phases. A and W notify once at the end,
// and so does V when it has the right shape (otherwise each element that fits is written and
// notifies through SetElement).
// With m < n the matrix is treated as padded with zero rows: A = U diag(W) V^T still holds,
// with at least n - m singular values 0.
bool SingularValueDecomposition(TMatrix& A, TMatrix& V, TVector& W);

// X := V diag(1/W) U^T Y, terms with W[k] = 0 left out. StdErr, when given, receives the square
// roots of the diagonal of V diag(1/W^2) V^T (coefficient errors for unit observation variance).
// Elements are read and written through the bounds-checked accessors. Always true.
bool SvdBackSubstitution(const TMatrix& U, const TMatrix& V, const TVector& W, const TVector& Y,
                         TVector& X, TVector* StdErr);

// Minimises |A x - y|: decomposes A (which is overwritten with U), zeroes the singular values
// below kSvdSingularThreshold times the largest (setting Singular) and back-substitutes, giving
// the minimum-norm solution of a rank-deficient problem. Returns false, writing neither X nor
// StdErr, when the decomposition did not converge.
bool SvdLeastSquares(TMatrix& A, const TVector& Y, TVector& X, TVector* StdErr, bool& Singular);
