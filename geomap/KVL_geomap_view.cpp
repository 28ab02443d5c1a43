// The view (TopLeft, Magnification): the zoom history ring, confining the view to the image,
// fitting the image into the control, and the control/image pixel conversions.
#include <algorithm>

#include "KVL_conversion.h"
#include "KVL_geomap.h"

void TGeoMap::PushZoomHistory() {
  if (FLoadingLayout) return;
  FZoomStack[FZStackPoi] = TZoomEntry{FTopLeft.X, FTopLeft.Y, FMagnify};
  ++FZStackPoi;
  if (FZStackPoi > kZoomHistorySize) FZStackPoi = 1;
}

void TGeoMap::ClearZoomHistory() {
  FZoomStack.Fill(TZoomEntry{});
  FZStackPoi = 1;
  PushZoomHistory();
}

void TGeoMap::ZoomHistory(int32_t Index) {
  if (Index < 1 - kZoomHistorySize || Index > 0) return;
  int32_t slot = FZStackPoi - 1 + Index;
  if (slot < 1) slot += kZoomHistorySize;
  const TZoomEntry entry = FZoomStack[slot];
  if (entry == TZoomEntry{}) return;  // never filled
  FTopLeft = TPoint{entry.X, entry.Y};
  FMagnify = entry.Magnification;
  Paint();
}

void TGeoMap::PanMapToFillWindow() {
  const double a = FMapImgWidth - width() / FMagnify;
  if (FTopLeft.X > a) FTopLeft.X = RoundPixel(a);
  const double b = FMapImgHeight - height() / FMagnify;
  if (FTopLeft.Y > b) FTopLeft.Y = RoundPixel(b);
  FTopLeft.X = std::max(FTopLeft.X, 0);
  FTopLeft.Y = std::max(FTopLeft.Y, 0);
}

void TGeoMap::ZoomFitPage() {
  if (FMapImgWidth <= 0 || FMapImgHeight <= 0) return;
  const double byWidth = double(width()) / FMapImgWidth;
  const double byHeight = double(height()) / FMapImgHeight;
  const double fit = byHeight < byWidth ? byHeight : byWidth;
  if (fit > 0.0) FMagnify = std::clamp(fit, kMinMagnification, kMaxMagnification);
  SetTopLeft(TPoint{0, 0});
}

TPoint TGeoMap::ControlToMapImage(TPoint APoint) const {
  return ::ControlToMapImage(APoint, FTopLeft, FMagnify);
}

TPoint TGeoMap::MapImageToControl(TPoint APoint) const {
  return ::MapImageToControl(APoint, FTopLeft, FMagnify);
}
