// The least-squares pieces the calibration models are fitted with: the design-matrix solver of
// the numerics and the straight-line and parabola fits of curve fitting, over plain arrays.
#pragma once

#include <cstdint>
#include <vector>

// Coefficients c (NumCols of them) minimising |A c - y|, A given row by row (Rows holds
// Y.size() rows of NumCols values). A system with fewer rows than columns is completed with zero
// rows, which gives its minimum-norm solution. Returns false, leaving Coeffs untouched, when the
// decomposition does not converge.
bool SolveLeastSquares(int32_t NumCols, const std::vector<double>& Rows,
                       const std::vector<double>& Y, double* Coeffs);

// y = K·x + D in the least-squares sense, computed as TCurveFit.CalcLinFit does (sums about the
// means; K = D = 0 when all x are equal). Raises EKVLMath2Error "CalcLinFit: not enough data
// points" with fewer than 2 pairs.
struct TLineFit {
  double K = 0.0;
  double D = 0.0;
};
TLineFit FitLine(const std::vector<double>& X, const std::vector<double>& Y);

// y = K0 + K1·x + K2·x² through TCurveFit.CalcParabolFit; raises its error with fewer than 3
// pairs.
struct TParabolaFit {
  double K0 = 0.0;
  double K1 = 0.0;
  double K2 = 0.0;
};
TParabolaFit FitParabola(const std::vector<double>& X, const std::vector<double>& Y);

// Standard deviation of the differences x - y over the pairs (CalcStatistics' StdevDiff): 0 with
// fewer than 3 pairs.
double StdevOfDifferences(const std::vector<double>& X, const std::vector<double>& Y);

