// Curve fitting: TCurveFit keeps (x, y) data pairs together with running sums of their powers,
// reciprocals and logarithms, and answers descriptive statistics, correlation and least-squares
// fits from them. SphericalDistance, the great-circle distance, lives in the same unit.
#pragma once

#include <cstdint>
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
  long double sumlny = 0, sumlnyq = 0, sumxlny = 0, sumxqlny = 0;  // ln y, (ln y)², x·ln y, x²·ln y
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

  // Pair ix (1-based); 0 outside 1 .. NumData.
  double DataX(int32_t ix) const;
  double DataY(int32_t ix) const;
  // Rows of the pair store: 1000 at creation, growing by 1000 whenever a pair does not fit.
  int32_t DataCapacity() const { return static_cast<int32_t>(FDataX.size()); }
  uint8_t ErrIndic() const { return FErrIndic; }
  const TCurveFitSums& Sums() const { return FSums; }

 private:
  // Adds (Weight 1) or subtracts (Weight -1) the pair's terms to every running sum and sets the
  // domain flags it meets; removing a pair meets the flags its entry already set.
  void AccumulateSums(double x, double y, long double Weight);
  void InvalidateCaches();
  // Means of the stored x and y columns.
  void ColumnMeans(double& MeanX, double& MeanY) const;

  TCurveFitSums FSums;
  int32_t FNumData = 0;
  double FMinX = 0, FMaxX = 0, FMinY = 0, FMaxY = 0;
  uint8_t FErrIndic = 0;
  // The pairs, column 1 (x) and column 2 (y) of the store; entries beyond FNumData are not data.
  // Each column is contiguous and its memory grows geometrically, so entering a million pairs
  // does not copy the store a thousand times.
  std::vector<double> FDataX;
  std::vector<double> FDataY;
  bool FSplineValid = false;
  bool FPenSplineValid = false;
  bool FKendallValid = false;
};

// Great-circle distance between two points given in degrees on a sphere of radius R, in the
// unit of R.
double SphericalDistance(double R, double Lat1, double Lon1, double Lat2, double Lon2);
