// Curve fitting: TCurveFit keeps (x, y) data pairs together with running sums of their powers,
// reciprocals and logarithms, and answers descriptive statistics, correlation and least-squares
// fits from them. SphericalDistance, the great-circle distance, lives in the same unit.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "KVL_kvlbase.h"

// Domain problems met while accumulating pairs: the bits of TCurveFit::ErrIndic(). They tell
// which of the reciprocal and logarithmic sums received a stand-in value instead of the true
// term, and stay set until Init.
enum TCurveFitDomainFlag : uint8_t {
  dfXNotPositive = 1,  // some x <= 0: no ln x terms for that pair
  dfYNotPositive = 2,  // some y <= 0: no ln y terms for that pair
  dfXTiny = 4,         // some |x| <= 1e-30: BIG stands in for 1/x
  dfYTinyOrZero = 8    // some |y| <= 1e-30: BIG stands in for 1/y
};

// Results of TCurveFit::ImportASC. The header statuses are those of ReadAscHeader.
enum TAscImportStatus : int32_t {
  aiOk = 0,
  aiBadColumns = -1,       // the number of columns is unreadable
  aiBadRows = -2,          // the number of rows is unreadable or negative
  aiBadFlag = -3,          // a header flag is neither TRUE nor FALSE
  aiBadRowAttribute = -5,  // a row's attribute value is missing or not a number
  aiBadValues = -6,        // a row's x or y is missing or not a number, or the file is too short
                           // to hold the rows its header announces
  aiFourthFlag = -7        // the header announces a fourth kind of data (its fourth flag is TRUE)
};

// The running sums over all pairs held, in extended precision.
struct TCurveFitSums {
  long double sumx = 0, sumy = 0, sumxq = 0, sumyq = 0;  // x, y, x², y²
  long double sumDiff = 0, SumDiffq = 0;                  // x - y, (x - y)²
  long double sumxy = 0, sumx2y = 0, sumxy2 = 0;          // x·y, x²·y, x·y²
  long double sumx3 = 0, sumy3 = 0, sumx4 = 0, sumy4 = 0;
  long double sum1byy = 0, sum1byxy = 0, sum1byyq = 0, sumxbyy = 0;  // 1/y, 1/(x·y), 1/y², x/y
  long double sumybyx = 0, sum1byx = 0, sum1byxq = 0;                 // y/x, 1/x, 1/x²
  long double sumlnx = 0, sumlnxlny = 0, sumlnxq = 0;     // ln x, ln x·ln y, (ln x)²
  long double sumylnx = 0, sumxlnx = 0, sumlnxbyy = 0;    // y·ln x, x·ln x, ln x / y
  long double sumlny = 0, sumlnyq = 0;     // ln y, (ln y)²
  long double sumxlny = 0, sumxqlny = 0;   // x·ln y, x²·ln y
};

class TCurveFit : public TComponent {
 public:
  explicit TCurveFit(TComponent* AOwner = nullptr);

  // Forgets all pairs; the storage keeps its size.
  void Init();
  void EnterStatValue(double x, double y);
  // Removes pair ix (1-based) and moves the later pairs up; an index outside 1 .. NumData is
  // ignored. The extremes and the domain flags keep what the removed pair contributed.
  void RemoveStatValue(int32_t ix);

  // Means (NumData > 0), standard deviations and the correlation coefficient (NumData >= 3);
  // 0 where they are not defined.
  void CalcStatistics(int32_t& NumData, double& MeanX, double& MeanY, double& StdevX,
                      double& StdevY, double& MeanDiff, double& StdevDiff, double& rxy) const;
  // y = k·x + d. Fewer than 2 pairs raise EKVLMath2Error; all x equal leaves k = d = FitQual = 0.
  void CalcLinFit(double& k, double& d, double& FitQual) const;
  // y = k0 + k1·x + k2·x². Fewer than 3 pairs raise EKVLMath2Error.
  void CalcParabolFit(double& k0, double& k1, double& k2, double& FitQual) const;

  // Least-squares polynomial y = Params[0] + Params[1]·x + ... + Params[Degree]·x^Degree through
  // the solver SvdLeastSquares, whose result and Singular flag are returned. FitQual is r² of the
  // fitted against the observed values.
  bool CalcPolyFit(uint8_t Degree, std::vector<double>& Params, double& FitQual,
                   bool& Singular) const;
  // As CalcPolyFit about a centre: y ≈ Params[0] + Σ Params[j]·(x - Mean)^j. A nonzero Mean on
  // entry is the centre; 0 asks for the mean of x, which is returned in Mean. The powers are
  // scaled by the standard deviation of x, which keeps high degrees well conditioned.
  bool CalcCenteredPolyFit(uint8_t Degree, std::vector<double>& Params, double& Mean,
                           double& FitQual, bool& Singular) const;
  // Analysis of variance of a regression whose pairs are (observed, estimated), with NumVars
  // regression variables, with or without a constant term. A mean square whose degrees of
  // freedom are 0 is 0.
  void CalcAnovaReg(int32_t NumVars, bool IncludeConst, int32_t& dfreg, int32_t& dfres,
                    int32_t& dftotal, double& SSE, double& SSR, double& SST, double& MSE,
                    double& MSR, double& F) const;
  // Least-squares circle through the points: centre (dx, dy), radius r. Fewer than 3 pairs or
  // collinear points raise EKVLMath2Error.
  void CalcCircleFit(double& r, double& dx, double& dy) const;

  // Linearised least-squares fits over the running sums. Each transforms the model into a
  // straight line (or a parabola) in transformed variables and solves that by least squares;
  // FitQual is r² in the transformed variables. When there are too few pairs (2, or 3 for the
  // three-parameter models), the transformed problem is degenerate, or a pair lies outside the
  // model's domain (see ErrIndic), every output is 0.
  //   ReciLin        y = 1 / (k0 + k1·x)            1/y against x         needs y ≠ 0
  //   Hyperbol       y = k0 + k1 / x                y against 1/x         needs x ≠ 0
  //   ReciHyperbol   y = x / (k0·x + k1)            1/y against 1/x       needs x, y ≠ 0
  //   Log            y = k0 + k1·ln x               y against ln x        needs x > 0
  //   ReciLog        y = 1 / (k0 + k1·ln x)         1/y against ln x      needs x > 0, y ≠ 0
  //   Power          y = k0·x^k1                    ln y against ln x     needs x, y > 0
  //   Exponential    y = k0·exp(k1·x)               ln y against x        needs y > 0
  //   Gauss          y = k0·exp(-(x - k1)² / (2·k2²))   ln y against x, x²  needs y > 0 and a
  //                  parabola open downwards; k1 is the centre and k2 the standard deviation
  //   Hoerl          y = k0·k1^x·x^k2               ln y against x, ln x  needs x, y > 0
  // "≠ 0" means a magnitude above 1e-30.
  void CalcReciLinFit(double& k0, double& k1, double& FitQual) const;
  void CalcHyperbolFit(double& k0, double& k1, double& FitQual) const;
  void CalcReciHyperbolFit(double& k0, double& k1, double& FitQual) const;
  void CalcLogFit(double& k0, double& k1, double& FitQual) const;
  void CalcReciLogFit(double& k0, double& k1, double& FitQual) const;
  void CalcPowerFit(double& k0, double& k1, double& FitQual) const;
  void CalcExponentialFit(double& k0, double& k1, double& FitQual) const;
  void CalcGaussFit(double& k0, double& k1, double& k2, double& FitQual) const;
  void CalcHoerlFit(double& k0, double& k1, double& k2, double& FitQual) const;

  // Quartiles of the x (or y) values, interpolated between the sorted values at the positions
  // (n + 1)·p. False, with all three 0, when there are no pairs.
  bool QuartilesX(double& q1, double& q2, double& q3) const;
  bool QuartilesY(double& q1, double& q2, double& q3) const;
  // Kendall's rank correlation τ; p receives its two-sided probability under independence.
  // 0 (and p = 0) for fewer than 3 pairs or when every pair is tied.
  double KendallsTau(double& p) const;

  // Writes the pairs as an ASC file: a five-line header (title, counts, flags, column names)
  // and one line "x<TAB>y" per pair with Precision decimals (FormatFixedWidth). The file is
  // replaced atomically. Returns "" on success, or the message of the failure when the file
  // cannot be created; failures while writing raise EFileError.
  std::string ExportAsASC(const std::string& FName, const std::string& Comment,
                          int32_t Precision);
  // Reads an ASC file of two columns, replacing the store on success. Values are numbers
  // separated by blanks, tabs or line ends. Returns a TAscImportStatus; on any failure the store
  // is left as it was. A column count other than 2 raises EKVLMath2Error; a file that cannot be
  // opened or read raises EFileError.
  int32_t ImportASC(const std::string& FName);

  // Interpolating cubic spline through the pairs, evaluated at x. Pairs of equal x form one knot
  // at their mean y. The ends are natural (second derivative 0) or clamped to the slopes
  // SplineDerivY1 / SplineDerivYN, as SplineNatural1 / SplineNaturalN say; beyond the outer
  // knots the spline continues as a straight line with its end slope. One knot gives its y, no
  // pairs give 0, and a non-finite value among the pairs gives NaN.
  double CubicSpline(double x) const;
  // Penalised smoothing spline evaluated at x: the natural cubic spline f that minimises
  //   Σ (yᵢ - f(xᵢ))² + λ·∫ f''(t)² dt,   λ = SplineSmoothingFactor (in x units cubed),
  // solved by Reinsch's method. λ = 0 interpolates; as λ grows f tends to the least-squares
  // line. FitQual is 1 - Σ(y - f(x))² / Σ(y - ȳ)² (1 when y has no spread). valid is false,
  // with result and FitQual 0, for fewer than two distinct x or non-finite values.
  double SmoothedSpline(double x, double& FitQual, bool& valid) const;

  bool SplineNatural1() const { return FNatural1; }
  void SetSplineNatural1(bool Value);
  bool SplineNaturalN() const { return FNaturalN; }
  void SetSplineNaturalN(bool Value);
  double SplineDerivY1() const { return FY1Dash; }
  void SetSplineDerivY1(double Value);
  double SplineDerivYN() const { return FYNDash; }
  void SetSplineDerivYN(double Value);
  double SplineSmoothingFactor() const { return FPSplineSmooth; }
  void SetSplineSmoothingFactor(double Value);

  int32_t NumData() const { return FNumData; }
  double MinX() const { return FMinX; }
  double MaxX() const { return FMaxX; }
  double MinY() const { return FMinY; }
  double MaxY() const { return FMaxY; }
  double MeanX() const;
  double MeanY() const;
  double MeanDiff() const;
  double StdDevX() const;
  double StdDevY() const;
  double StdDevDiff() const;
  double CorrCoeff() const;
  // Sample skewness and excess kurtosis (the bias-corrected estimates); 0 for fewer than 4 pairs.
  double SkewnessX() const;
  double SkewnessY() const;
  double KurtosisX() const;
  double KurtosisY() const;
  // Goodman and Kruskal's γ from the Kendall counts; 0 when no pair is concordant or discordant.
  double KruskalGamma() const;
  // Spearman's ρ with mid-ranks for ties; 0 for fewer than 3 pairs.
  double SpearmanRankCorr() const;
  // Mean direction of the x (or y) values read as angles in degrees, in [0, 360); 0 when the
  // directions cancel or there are no pairs.
  double MeanAngleX() const;
  double MeanAngleY() const;

  // Pair ix (1-based); 0 outside 1 .. NumData.
  double DataX(int32_t ix) const;
  double DataY(int32_t ix) const;
  // Rows of the pair store: 1000 at creation, growing by 1000 whenever a pair does not fit.
  int32_t DataCapacity() const { return static_cast<int32_t>(FDataX.size()); }
  uint8_t ErrIndic() const { return FErrIndic; }
  const TCurveFitSums& Sums() const { return FSums; }

 private:
  // Adds the pair's terms to every running sum (or subtracts them, Remove) and sets the domain
  // flags it meets; removing a pair meets the flags its entry already set.
  template <bool Remove>
  void AccumulateSums(double x, double y);
  void TrackExtremes(double x, double y);
  void InvalidateCaches();
  // Means of the stored x and y columns.
  void ColumnMeans(double& MeanX, double& MeanY) const;
  // The stored x or y values, 1 .. NumData.
  std::span<const double> ColumnX() const { return {FDataX.data(), static_cast<size_t>(FNumData)}; }
  std::span<const double> ColumnY() const { return {FDataY.data(), static_cast<size_t>(FNumData)}; }
  // Brings the Kendall counts up to date.
  void CountKendallPairs() const;

  // A cubic spline by its knots (ascending, distinct x), values and second derivatives.
  struct TSplineKnots {
    std::vector<double> X, Y, D2;
    std::vector<double> Weight;  // pairs merged into each knot
    double Evaluate(double x) const;
  };
  // Knots of the pairs: sorted by x, equal x merged at their mean y. False, with no knots, when
  // some value is not finite.
  bool BuildKnots(TSplineKnots& Knots) const;
  void UpdateSpline() const;
  void UpdateSmoothedSpline() const;

  TCurveFitSums FSums;
  int32_t FNumData = 0;
  double FMinX = 0, FMaxX = 0, FMinY = 0, FMaxY = 0;
  uint8_t FErrIndic = 0;
  // The pairs, column 1 (x) and column 2 (y) of the store; entries beyond FNumData are not data.
  // Each column is contiguous and its memory grows geometrically, so entering a million pairs
  // does not copy the store a thousand times.
  std::vector<double> FDataX;
  std::vector<double> FDataY;
  bool FNatural1 = true;
  bool FNaturalN = true;
  double FY1Dash = 0;
  double FYNDash = 0;
  double FPSplineSmooth = 0.5;
  mutable bool FSplineValid = false;
  mutable bool FSplineUsable = false;  // the data gave knots
  mutable TSplineKnots FSpline;
  mutable bool FPenSplineValid = false;
  mutable bool FPenSplineUsable = false;
  mutable TSplineKnots FPenSpline;
  mutable double FPSplineFQ = 0;
  mutable bool FKendallValid = false;
  // Concordant and discordant pairs, pairs tied in y only and pairs tied in x only. 64 bits: the
  // number of pairs of pairs exceeds 32 bits from about 65000 pairs on.
  mutable int64_t FKendallConcord = 0;
  mutable int64_t FKendallDiscord = 0;
  mutable int64_t FKendallTies1 = 0;
  mutable int64_t FKendallTies2 = 0;
};

// Great-circle distance between two points given in degrees on a sphere of radius R, in the
// unit of R.
double SphericalDistance(double R, double Lat1, double Lon1, double Lat2, double Lon2);
