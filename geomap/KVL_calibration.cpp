#include "KVL_calibration.h"

#include <limits>

#include "KVL_calib_solver.h"
#include "KVL_matrix.h"

namespace {

constexpr int32_t kUTMZoneCleared = -1;

const char* const kAddNotSupported =
    "current calibration model does not support this version of AddCalibPoint";
const char* const kRemoveNotSupported =
    "current calibration model does not support this version of RemoveCalibPoint";
const char* const kUTMZoneChanged = "UTM zone parameter changed";

bool IsPointModel(TCalibModel Model) {
  return Model == cmBiquadraticPn || Model == cmConicConformal || Model == cmMillerCylindrical ||
         Model == cmEquiRect;
}

// Squared pixel distance; 64-bit so that no pair of 32-bit pixels overflows.
int64_t SquaredDistance(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int64_t dx = int64_t{x1} - x2;
  const int64_t dy = int64_t{y1} - y2;
  return dx * dx + dy * dy;
}

}  // namespace

TGeoCalibration::TGeoCalibration() : FGratMat(std::make_unique<TMatrix>()) { ResetGratMat(); }

TGeoCalibration::~TGeoCalibration() = default;

void TGeoCalibration::SetMapImageSize(int32_t Width, int32_t Height) {
  FMapImgWidth = Width;
  FMapImgHeight = Height;
}

void TGeoCalibration::SetBitmapSize(int32_t Width, int32_t Height) {
  FBitmapWidth = Width;
  FBitmapHeight = Height;
}

void TGeoCalibration::Repaint() const {
  if (OnRepaint) OnRepaint();
}

void TGeoCalibration::Fail(const std::string& Reason) const {
  throw EKVLGeoMapError(ComponentMessage(FName, Reason));
}

void TGeoCalibration::ResetGratMat() {
  FGratMat->Resize(kGratMatColumns, 1);
  FGratMat->Fill(0.0);
}

void TGeoCalibration::SetCalibModel(TCalibModel Model) {
  StoreCalibModel(Model);
  RecalcCalibration();
}

void TGeoCalibration::RecalcCalibration() {
  CalcGraticuleFits();
  CalcModelParams();
  CalcExtentsAndResolution();
  Repaint();
}

void TGeoCalibration::ClearCalibData() {
  FCalibData.NumCalLines = 0;
  for (int i = 1; i <= kMaxCalLines; ++i) FCalibData.CalLines[i].NumPoints = 0;
  FCalibData.Corners.fill(TCoords{});
  FCalibData.Resolution = 0.0;
  FCalibData.UTMZone = kUTMZoneCleared;
  FCalibData.UTMSouth = false;
  FCalibData.Ellipsoid = gelWGS84;
  ResetGratMat();
  FCalibData.CalQuads.Fill(TCalQuad{});
  FCalibData.NumCalQuads = 0;
  FParams.FEquRectSPPL = {};
  FParams.FEquRectPLSP = {};
  FParams.FCalParsPLSP = {};
  FParams.FCalParsSPPL = {};
  Repaint();
}

bool TGeoCalibration::AddCalibPoint(TGratLineKind GratLineKind, double LineValue, int32_t PixPosX,
                                    int32_t PixPosY) {
  if (FCalibModel != cmParabolicIp) Fail(kAddNotSupported);
  TCalibData& d = FCalibData;
  int32_t line = 0;
  for (int i = 1; i <= d.NumCalLines && line == 0; ++i) {
    if (d.CalLines[i].LineType == GratLineKind && d.CalLines[i].LineValue == LineValue) line = i;
  }
  if (line == 0 && d.NumCalLines < kMaxCalLines) {
    line = ++d.NumCalLines;
    d.CalLines[line].LineType = GratLineKind;
    d.CalLines[line].LineValue = LineValue;
    d.CalLines[line].NumPoints = 0;
  }
  bool stored = false;
  if (line != 0 && d.CalLines[line].NumPoints < kMaxCalLinePoints) {
    TCalibLine& l = d.CalLines[line];
    l.CalPoints[++l.NumPoints] = TPoint{PixPosX, PixPosY};
    stored = true;
  }
  RecalcCalibration();
  return stored;
}

bool TGeoCalibration::AddPointForm(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY) {
  bool stored = false;
  if (FCalibData.NumCalQuads < kMaxCalQuads) {
    FCalibData.CalQuads[++FCalibData.NumCalQuads] = TCalQuad{Latit, Longit, PixPosX, PixPosY};
    CalcModelParams();
    CalcExtentsAndResolution();
    stored = true;
  }
  Repaint();
  return stored;
}

bool TGeoCalibration::AddCalibPoint(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY) {
  if (!IsPointModel(FCalibModel)) Fail(kAddNotSupported);
  return AddPointForm(Latit, Longit, PixPosX, PixPosY);
}

bool TGeoCalibration::AddCalibPoint(double Northing, double Easting, int32_t Zone,
                                    THemisphere Hemisphere, int32_t PixPosX, int32_t PixPosY) {
  if (FCalibModel != cmUTM) Fail(kAddNotSupported);
  const bool south = Hemisphere == hemiSouth;
  if (Zone != FCalibData.UTMZone || south != FCalibData.UTMSouth) Fail(kUTMZoneChanged);
  return AddPointForm(Northing, Easting, PixPosX, PixPosY);
}

void TGeoCalibration::RemoveLinePoint(int32_t Line, int32_t Point) {
  TCalibData& d = FCalibData;
  TCalibLine& l = d.CalLines[Line];
  l.CalPoints[Point] = l.CalPoints[l.NumPoints];
  --l.NumPoints;
  if (l.NumPoints == 0) {
    d.CalLines[Line] = d.CalLines[d.NumCalLines];
    --d.NumCalLines;
  }
}

bool TGeoCalibration::RemoveCalibPoint(TGratLineKind GratLineKind, double LineValue,
                                       int32_t PixPosX, int32_t PixPosY) {
  if (FCalibModel != cmParabolicIp) Fail(kRemoveNotSupported);
  const TCalibData& d = FCalibData;
  bool removed = false;
  for (int i = 1; i <= d.NumCalLines; ++i) {
    const TCalibLine& l = d.CalLines[i];
    if (l.LineType != GratLineKind || l.LineValue != LineValue) continue;
    for (int k = 1; k <= l.NumPoints; ++k) {
      if (l.CalPoints[k] == TPoint{PixPosX, PixPosY}) {
        RemoveLinePoint(i, k);
        removed = true;
        break;
      }
    }
    break;  // only the first line of this kind and value is searched
  }
  RecalcCalibration();
  return removed;
}

bool TGeoCalibration::RemoveCalibPoint(int32_t PixPosX, int32_t PixPosY) {
  TCalibData& d = FCalibData;
  bool removed = false;
  if (FCalibModel >= cmBiquadraticPn && FCalibModel <= cmUTM) {
    int32_t nearest = 0;
    int64_t best = std::numeric_limits<int64_t>::max();
    for (int i = 1; i <= d.NumCalQuads; ++i) {
      const int64_t dist =
          SquaredDistance(d.CalQuads[i].MapX, d.CalQuads[i].MapY, PixPosX, PixPosY);
      if (dist < best) {
        best = dist;
        nearest = i;
      }
    }
    if (nearest != 0) {
      FBiQuadOops = d.CalQuads[nearest];
      FRestoreBiQuadOK = true;
      d.CalQuads[nearest] = d.CalQuads[d.NumCalQuads];
      --d.NumCalQuads;
      removed = true;
    }
  } else if (FCalibModel == cmParabolicIp) {
    int32_t nearLine = 0;
    int32_t nearPoint = 0;
    int64_t best = std::numeric_limits<int64_t>::max();
    for (int i = 1; i <= d.NumCalLines; ++i) {
      const TCalibLine& l = d.CalLines[i];
      for (int k = 1; k <= l.NumPoints; ++k) {
        const int64_t dist = SquaredDistance(l.CalPoints[k].X, l.CalPoints[k].Y, PixPosX, PixPosY);
        if (dist < best) {
          best = dist;
          nearLine = i;
          nearPoint = k;
        }
      }
    }
    if (nearLine != 0) {
      const TCalibLine& l = d.CalLines[nearLine];
      FParaIpOops = TCalibLine{};
      FParaIpOops.LineType = l.LineType;
      FParaIpOops.LineValue = l.LineValue;
      FParaIpOops.NumPoints = 1;
      FParaIpOops.CalPoints[1] = l.CalPoints[nearPoint];
      FRestoreParaIpOK = true;
      RemoveLinePoint(nearLine, nearPoint);
      removed = true;
    }
  }
  RecalcCalibration();
  return removed;
}

void TGeoCalibration::RestoreLastDeletedCalPoint() {
  if (FCalibModel >= cmBiquadraticPn && FCalibModel <= cmEquiRect) {
    if (FRestoreBiQuadOK) {
      AddCalibPoint(FBiQuadOops.Latitude, FBiQuadOops.Longitude, FBiQuadOops.MapX,
                    FBiQuadOops.MapY);
      FRestoreBiQuadOK = false;
    }
  } else if (FCalibModel == cmParabolicIp) {
    if (FRestoreParaIpOK) {
      AddCalibPoint(FParaIpOops.LineType, FParaIpOops.LineValue, FParaIpOops.CalPoints[1].X,
                    FParaIpOops.CalPoints[1].Y);
      FRestoreParaIpOK = false;
    }
  } else if (FCalibModel == cmUTM && FRestoreBiQuadOK) {
    // The saved point holds northing and easting of the calibration's own zone, so it goes back
    // unchanged (the point form would refuse cmUTM).
    AddPointForm(FBiQuadOops.Latitude, FBiQuadOops.Longitude, FBiQuadOops.MapX, FBiQuadOops.MapY);
    FRestoreBiQuadOK = false;
  }
}

void TGeoCalibration::CalibQuality(double& QualX, double& QualY) const {
  std::vector<double> storedX, storedY, computedX, computedY;
  if (FCalibModel >= cmBiquadraticPn && FCalibModel <= cmUTM) {
    for (int i = 1; i <= FCalibData.NumCalQuads; ++i) {
      const TCalQuad& q = FCalibData.CalQuads[i];
      int32_t x = 0;
      int32_t y = 0;
      // Under cmUTM the stored values are northing and easting.
      if (FCalibModel == cmUTM) {
        CalcPixelCoordsUTM(q.Latitude, q.Longitude, x, y);
      } else {
        CalcPixelCoords(q.Latitude, q.Longitude, x, y);
      }
      storedX.push_back(q.MapX);
      computedX.push_back(x);
      storedY.push_back(q.MapY);
      computedY.push_back(y);
    }
  }
  QualX = StdevOfDifferences(storedX, computedX);
  QualY = StdevOfDifferences(storedY, computedY);
}
