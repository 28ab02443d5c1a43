// The calibration of a map, without a widget: the calibration records, the model parameters, the
// fitting of the six models and every conversion between map image pixels and geographic
// coordinates. TGeoMap owns one and forwards to it; the command-line tool and the tests use it
// directly.
//
// Sources: KVL_calibration.cpp (adding, removing and restoring points, recalculation),
// KVL_calib_models.cpp (the model steps), KVL_conversion.cpp (conversions and extents).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "KVL_geomap_types.h"

class TMatrix;

// Fitted parameters of the point-based models, indexed 1-based as [direction][coefficient].
struct TCalibParams {
  // Pixels x, y (map image pixels) and coordinates Lat, Long (degrees; under cmUTM northing and
  // easting, metres).
  TArray1<TArray1<double, 3>, 2> FEquRectSPPL;  // [1] x, [2] y = c1 + c2·Lat + c3·Long
  TArray1<TArray1<double, 3>, 2> FEquRectPLSP;  // [1] Lat, [2] Long = c1 + c2·x + c3·y
  TArray1<TArray1<double, 6>, 2> FCalParsPLSP;  // [1] Lat, [2] Long in 1, x, y, x², xy, y²
  // [1] x, [2] y in 1, Lat, Long, Lat², Lat·Long, Long²
  TArray1<TArray1<double, 6>, 2> FCalParsSPPL;
  // [1][1] kB, [1][2] dB of y = kB·ln(tan(π/4 + 0.4φ)) + dB;
  // [2][1] kA, [2][2] dA of x = kA·λ + dA (φ, λ in radians)
  TArray1<TArray1<double, 2>, 2> FMillercylPar;
  // [1], [2] apex pixel x0, y0; [3] kR, [4] dR of Lat = kR·r + dR; [5] kA, [6] dA of
  // Long = kA·θ + dA with θ = arctan((x - x0) / (y - y0))
  TArray1<double, 6> FConicPars;
};

class TGeoCalibration {
 public:
  static constexpr int32_t kGratMatColumns = 5;  // kind, value, k0, k1, k2

  TGeoCalibration();
  ~TGeoCalibration();
  TGeoCalibration(const TGeoCalibration&) = delete;
  TGeoCalibration& operator=(const TGeoCalibration&) = delete;

  // Name quoted in error messages: Component "Name": reason.
  const std::string& Name() const { return FName; }
  void SetName(const std::string& AName) { FName = AName; }

  // Called wherever the map control repaints after a calibration change.
  std::function<void()> OnRepaint;

  // Size of the map image (MapImgWidth/MapImgHeight), map image pixels; the conic apex search
  // starts from it.
  void SetMapImageSize(int32_t Width, int32_t Height);
  // Size of the full-resolution bitmap, map image pixels; the extents are computed over it.
  void SetBitmapSize(int32_t Width, int32_t Height);

  TCalibModel CalibModel() const { return FCalibModel; }
  // Stores the model, then RecalcCalibration. A value outside the enumeration counts as
  // cmUndefined.
  void SetCalibModel(TCalibModel Model);
  // Stores the model without recalculating (Clear, calibration files).
  void StoreCalibModel(TCalibModel Model) {
    FCalibModel = Model <= cmUndefined ? Model : cmUndefined;
  }

  const TCalibData& CalibData() const { return FCalibData; }
  // Direct access for the control's properties and the file reader; nothing is recalculated.
  TCalibData& MutableCalibData() { return FCalibData; }
  // Replaces the whole record without recalculation or repaint.
  void SetCalibData(const TCalibData& Data) { FCalibData = Data; }

  const TMatrix& GratMat() const { return *FGratMat; }
  const TCalibParams& Params() const { return FParams; }

  // ---- calibration points (KVL_calibration.cpp) ----

  // Line form, cmParabolicIp only: a pixel on the meridian/parallel of LineValue degrees.
  bool AddCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                     int32_t PixPosY);
  // Point form, cmBiquadraticPn ... cmEquiRect: latitude, longitude (degrees) at a pixel.
  bool AddCalibPoint(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY);
  // UTM form, cmUTM only: northing, easting (metres) in the calibration's zone and hemisphere.
  bool AddCalibPoint(double Northing, double Easting, int32_t Zone, THemisphere Hemisphere,
                     int32_t PixPosX, int32_t PixPosY);
  // Line form, cmParabolicIp only; does not fill the restore buffer.
  bool RemoveCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                        int32_t PixPosY);
  // Removes the point nearest to the pixel, however far; it can be restored once.
  bool RemoveCalibPoint(int32_t PixPosX, int32_t PixPosY);
  void RestoreLastDeletedCalPoint();
  void ClearCalibData();
  void RecalcCalibration();
  // Standard deviations (map image pixels) of stored minus recomputed pixel positions.
  void CalibQuality(double& QualX, double& QualY) const;

  // ---- model steps (KVL_calib_models.cpp) ----

  // Fits the calibration lines; true when at least 2 parallels and 2 meridians are fitted.
  bool CalcGraticuleFits();
  void CalcBiquadParams();
  void CalcLinearParams();
  void CalcMillerParams();
  void CalcConicParams();
  // Line fits for the apex in FConicPars[1], [2]; the residuals rho1 (degrees of latitude) and
  // rho2 (degrees of longitude).
  void FitConicApex(double& Rho1, double& Rho2);
  // The model step of the current model.
  void CalcModelParams();

  // ---- conversions (KVL_conversion.cpp) ----
  // A pixel result that is not finite is reported as not valid; a finite one beyond
  // ±kMaxPixelCoord is clamped to it. A latitude or longitude that is not finite is reported as
  // not valid with the result 0.

  double CalcLatitude(int32_t x, int32_t y, bool& valid) const;
  double CalcLatitude(TPoint APoint, bool& valid) const {
    return CalcLatitude(APoint.X, APoint.Y, valid);
  }
  double CalcLongitude(int32_t x, int32_t y, bool& valid) const;
  double CalcLongitude(TPoint APoint, bool& valid) const {
    return CalcLongitude(APoint.X, APoint.Y, valid);
  }
  bool CalcPixelCoords(double Lat, double Long, int32_t& x, int32_t& y) const;
  bool CalcPixelCoordsUTM(double Northing, double Easting, int32_t& x, int32_t& y) const;
  bool IsPositionWithinMap(double Latit, double Longit) const;
  void CalcExtentsAndResolution();
  // Row where the line of northing N (metres) crosses column x; none when that line runs along
  // the column (no single crossing) or the result is not finite.
  std::optional<int32_t> RowOnNorthing(int32_t x, double N) const;
  // Column where the line of easting E (metres) crosses row y; none as above.
  std::optional<int32_t> ColumnOnEasting(int32_t y, double E) const;

 private:
  void Repaint() const;
  [[noreturn]] void Fail(const std::string& Reason) const;
  void ResetGratMat();
  void RemoveLinePoint(int32_t Line, int32_t Point);
  bool AddPointForm(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY);
  double ParabolicLatLong(bool Latitude, int32_t x, int32_t y, bool& valid) const;
  // Latitude (Y) and longitude (X), degrees, of a map image pixel under the UTM model.
  TPointDouble UTMPixelToLatLong(double fx, double fy) const;
  bool ParabolicPixel(double Lat, double Long, int32_t& x, int32_t& y) const;

  std::string FName;
  TCalibModel FCalibModel = cmUndefined;
  TCalibData FCalibData;
  std::unique_ptr<TMatrix> FGratMat;  // 5 columns, one row per calibration line
  TCalibParams FParams;
  TCalQuad FBiQuadOops;
  TCalibLine FParaIpOops;
  bool FRestoreBiQuadOK = false;
  bool FRestoreParaIpOK = false;
  int32_t FMapImgWidth = 0;
  int32_t FMapImgHeight = 0;
  int32_t FBitmapWidth = 0;
  int32_t FBitmapHeight = 0;
};
