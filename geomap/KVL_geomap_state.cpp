// Property setters of the map control: compare or clamp, assign, then repaint where the property
// repaints.
#include <algorithm>
#include <cmath>

#include "KVL_geomap.h"

namespace {

constexpr int32_t kMinUTMZone = 1;
constexpr int32_t kMaxUTMZone = 60;

}  // namespace

void TGeoMap::SetAllowPan(bool Value) { FMouseAction = Value ? maPan : maNone; }

void TGeoMap::SetAntiAlias(bool Value) {
  FAntiAlias = Value;
  Paint();
}

void TGeoMap::SetCacheMagLimit(double Value) {
  const double fullLimit = 2.0 / 3.0;
  FCacheMagLimit = std::isnan(Value) ? 0.0 : std::clamp(Value, 0.0, fullLimit);
  // Above the full limit no cache is ever used, so the picture cannot change.
  if (FMagnify < fullLimit) Paint();
}

// Colours repaint even when unchanged.
void TGeoMap::SetColorBackGnd(TColor Value) {
  FColorBakGnd = Value;
  Paint();
}

void TGeoMap::SetColorGraticule(TColor Value) {
  FColorGratLine = Value;
  Paint();
}

void TGeoMap::SetColorCalibPoints(TColor Value) {
  FColorGratPoints = Value;
  Paint();
}

void TGeoMap::SetColorFrame(TColor Value) {
  FFrameColor = Value;
  Paint();
}

void TGeoMap::SetConfinePanToMapImage(bool Value) {
  FConfinePan = Value;
  if (FConfinePan) PanMapToFillWindow();
}

void TGeoMap::SetEmptyMsg(const std::string& Value) {
  FEmptyMsg = Value;
  Paint();
}

void TGeoMap::SetFrameStyle(TFrameStyle Value) {
  if (Value == FFrameStyle) return;
  FFrameStyle = Value;
  Paint();
}

void TGeoMap::SetGratLineDist(double Value) {
  FGratLineDist = std::isnan(Value) ? 0.0 : std::clamp(Value, 0.0, kMaxGratLineDist);
  Paint();
}

void TGeoMap::SetUTMGridDist(int32_t Value) {
  FUTMGridDist = std::clamp(Value, 0, kMaxUTMGridDist);
  Paint();
}

void TGeoMap::SetUTMZone(int32_t Value) {
  if (Value >= kMinUTMZone && Value <= kMaxUTMZone) FCalib.MutableCalibData().UTMZone = Value;
}

void TGeoMap::SetUTMHemisphere(THemisphere Value) {
  FCalib.MutableCalibData().UTMSouth = Value == hemiSouth;
}

void TGeoMap::SetShowGraticule(TShowGrat Value) {
  if (Value == FShowGrat) return;
  FShowGrat = Value;
  Paint();
}

void TGeoMap::SetLMRandomDisplayThreshold(int32_t Value) {
  if (Value <= kMinLMRandSampleLimit || Value == FLMRandSampleLimit) return;
  FLMRandSampleLimit = Value;
  Paint();
}

void TGeoMap::SetMagnification(double Value) {
  if (!(Value > 0.0)) return;  // also refuses NaN
  FMagnify = std::clamp(Value, kMinMagnification, kMaxMagnification);
  Paint();
}

void TGeoMap::SetSuppressPaint(bool Value) {
  if (Value == FSuppressPaint) return;
  FSuppressPaint = Value;
  if (!FSuppressPaint) Paint();
}

void TGeoMap::SetTopLeft(TPoint Value) {
  FTopLeft = Value;
  Paint();
}

double TGeoMap::LastClickLatitude() const {
  bool valid = false;
  const double lat = CalcLatitude(FLastMClickPosX, FLastMClickPosY, valid);
  return valid ? lat : 0.0;
}

double TGeoMap::LastClickLongitude() const {
  bool valid = false;
  const double lon = CalcLongitude(FLastMClickPosX, FLastMClickPosY, valid);
  return valid ? lon : 0.0;
}
