// TGeoMap: a control that shows a raster map image and ties its pixels to geographic coordinates.
// A facade over the widget-free calibration (KVL_calibration.h); it adds the view (TopLeft,
// Magnification), the bitmaps, repainting, events and the mouse.
//
// Sources by concern: KVL_geomap.cpp (lifecycle, Clear, painting to the screen),
// KVL_geomap_state.cpp (properties), KVL_geomap_view.cpp (zoom history, confining and fitting
// the view, view conversions).
#pragma once

#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "KVL_calibration.h"
#include "KVL_geomap_types.h"

class TBitmap;

class TGeoMap : public QWidget {
  Q_OBJECT

 public:
  static constexpr int32_t kZoomHistorySize = 16;
  static constexpr int32_t kInitialLandMarkRoom = 1000;
  static constexpr int32_t kMinLMRandSampleLimit = 1000;  // exclusive
  static constexpr double kMaxGratLineDist = 60.0;        // degrees
  static constexpr int32_t kMaxUTMGridDist = 10000000;    // metres
  static constexpr double kMinMagnification = 1e-4;       // control pixels per map image pixel
  static constexpr double kMaxMagnification = 1e4;

  // One view of the zoom history.
  struct TZoomEntry {
    int32_t X = 0;  // TopLeft, map image pixels
    int32_t Y = 0;
    double Magnification = 0.0;
    friend bool operator==(const TZoomEntry&, const TZoomEntry&) = default;
  };

  // Raises EKVLGeoMapError Component "Name": insufficient memory when the landmark array cannot
  // be obtained.
  explicit TGeoMap(QWidget* AOwner = nullptr);
  ~TGeoMap() override;

  // The name that messages quote (the object name).
  std::string Name() const { return objectName().toStdString(); }

  // Composes the picture in AuxBmp and copies it to the front buffer; nothing while
  // SuppressPaint is true.
  virtual void Paint();

  // ---- published properties ----

  bool AllowPan() const { return FMouseAction == maPan; }
  void SetAllowPan(bool Value);
  bool AntiAlias() const { return FAntiAlias; }
  void SetAntiAlias(bool Value);
  TCalibModel CalibModel() const { return FCalib.CalibModel(); }
  void SetCalibModel(TCalibModel Model) { FCalib.SetCalibModel(Model); }
  double CacheMagLimit() const { return FCacheMagLimit; }
  void SetCacheMagLimit(double Value);
  TColor ColorBackGnd() const { return FColorBakGnd; }
  void SetColorBackGnd(TColor Value);
  TColor ColorGraticule() const { return FColorGratLine; }
  void SetColorGraticule(TColor Value);
  TColor ColorCalibPoints() const { return FColorGratPoints; }
  void SetColorCalibPoints(TColor Value);
  TColor ColorFrame() const { return FFrameColor; }
  void SetColorFrame(TColor Value);
  bool ConfinePanToMapImage() const { return FConfinePan; }
  void SetConfinePanToMapImage(bool Value);
  const std::string& EmptyMsg() const { return FEmptyMsg; }
  void SetEmptyMsg(const std::string& Value);
  TFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TFrameStyle Value);
  double GratLineDist() const { return FGratLineDist; }  // degrees, 0 = automatic
  void SetGratLineDist(double Value);
  int32_t UTMGridDist() const { return FUTMGridDist; }  // metres, 0 = automatic
  void SetUTMGridDist(int32_t Value);
  int32_t UTMZone() const { return FCalib.CalibData().UTMZone; }
  void SetUTMZone(int32_t Value);
  THemisphere UTMHemisphere() const { return FCalib.CalibData().UTMSouth ? hemiSouth : hemiNorth; }
  void SetUTMHemisphere(THemisphere Value);
  TMouseActMode MouseAction() const { return FMouseAction; }
  void SetMouseAction(TMouseActMode Value) { FMouseAction = Value; }
  TShowGrat ShowGraticule() const { return FShowGrat; }
  void SetShowGraticule(TShowGrat Value);

  // ---- public properties ----

  const TCalibData& CalibData() const { return FCalib.CalibData(); }
  void SetCalibData(const TCalibData& Data) { FCalib.SetCalibData(Data); }
  const std::string& CalibDataFile() const { return FCalDatName; }
  const std::string& Caption() const { return FCalib.CalibData().Caption; }
  void SetCaption(const std::string& Value) { FCalib.MutableCalibData().Caption = Value; }
  int32_t HighLightLandMark() const { return FHighLM; }
  const TLandMark& LandMarkDefault() const { return FDefaultLM; }
  void SetLandMarkDefault(const TLandMark& Value) { FDefaultLM = Value; }
  double LastClickLatitude() const;   // degrees, 0 when not valid
  double LastClickLongitude() const;  // degrees, 0 when not valid
  int32_t LastClickPosX() const { return FLastMClickPosX; }
  int32_t LastClickPosY() const { return FLastMClickPosY; }
  int32_t LMRandomDisplayThreshold() const { return FLMRandSampleLimit; }
  void SetLMRandomDisplayThreshold(int32_t Value);
  double Magnification() const { return FMagnify; }
  // Values outside kMinMagnification ... kMaxMagnification are clamped; NaN and values <= 0 are
  // ignored.
  void SetMagnification(double Value);
  const std::string& MapImgFile() const { return FMapImgName; }
  int32_t MapImgWidth() const { return FMapImgWidth; }
  int32_t MapImgHeight() const { return FMapImgHeight; }
  TBitmap& MapBitmap() { return *GrafBmp; }
  int32_t NumLandMarks() const { return FNumLandMarks; }
  bool SuppressPaint() const { return FSuppressPaint; }
  void SetSuppressPaint(bool Value);
  TPoint TopLeft() const { return FTopLeft; }
  void SetTopLeft(TPoint Value);
  TZoomState ZoomState() const { return FZoomState; }

  // ---- view operations ----

  // Empties calibration, captions, map image name and size; keeps the bitmap.
  void Clear();
  // Returns to the view stored Index steps back (0 = the last, -15 the oldest).
  void ZoomHistory(int32_t Index);
  void ClearZoomHistory();
  void PanMapToFillWindow();
  // Fits the whole image into the control; without an image (a side of 0 pixels) nothing
  // changes and nothing is drawn.
  void ZoomFitPage();
  TPoint ControlToMapImage(TPoint APoint) const;
  TPoint MapImageToControl(TPoint APoint) const;

  // The applied window layout: the zoom history stores no view in between.
  void BeginLayoutLoad() { FLoadingLayout = true; }
  void EndLayoutLoad() { FLoadingLayout = false; }

  // ---- calibration and conversions (KVL_calibration.h) ----

  TGeoCalibration& Calibration() { return FCalib; }
  const TGeoCalibration& Calibration() const { return FCalib; }
  bool AddCalibPoint(TGratLineKind Kind, double LineValue, int32_t PixPosX, int32_t PixPosY) {
    return FCalib.AddCalibPoint(Kind, LineValue, PixPosX, PixPosY);
  }
  bool AddCalibPoint(double Latit, double Longit, int32_t PixPosX, int32_t PixPosY) {
    return FCalib.AddCalibPoint(Latit, Longit, PixPosX, PixPosY);
  }
  bool AddCalibPoint(double Northing, double Easting, int32_t Zone, THemisphere Hemisphere,
                     int32_t PixPosX, int32_t PixPosY) {
    return FCalib.AddCalibPoint(Northing, Easting, Zone, Hemisphere, PixPosX, PixPosY);
  }
  bool RemoveCalibPoint(TGratLineKind Kind, double LineValue, int32_t PixPosX, int32_t PixPosY) {
    return FCalib.RemoveCalibPoint(Kind, LineValue, PixPosX, PixPosY);
  }
  bool RemoveCalibPoint(int32_t PixPosX, int32_t PixPosY) {
    return FCalib.RemoveCalibPoint(PixPosX, PixPosY);
  }
  void RestoreLastDeletedCalPoint() { FCalib.RestoreLastDeletedCalPoint(); }
  void ClearCalibData() { FCalib.ClearCalibData(); }
  void RecalcCalibration() { FCalib.RecalcCalibration(); }
  void CalibQuality(double& QualX, double& QualY) const { FCalib.CalibQuality(QualX, QualY); }
  double CalcLatitude(int32_t x, int32_t y, bool& valid) const {
    return FCalib.CalcLatitude(x, y, valid);
  }
  double CalcLatitude(TPoint APoint, bool& valid) const {
    return FCalib.CalcLatitude(APoint, valid);
  }
  double CalcLongitude(int32_t x, int32_t y, bool& valid) const {
    return FCalib.CalcLongitude(x, y, valid);
  }
  double CalcLongitude(TPoint APoint, bool& valid) const {
    return FCalib.CalcLongitude(APoint, valid);
  }
  bool CalcPixelCoords(double Lat, double Long, int32_t& x, int32_t& y) const {
    return FCalib.CalcPixelCoords(Lat, Long, x, y);
  }
  bool CalcPixelCoordsUTM(double Northing, double Easting, int32_t& x, int32_t& y) const {
    return FCalib.CalcPixelCoordsUTM(Northing, Easting, x, y);
  }
  bool IsPositionWithinMap(double Latit, double Longit) const {
    return FCalib.IsPositionWithinMap(Latit, Longit);
  }
  void CalcExtentsAndResolution() { FCalib.CalcExtentsAndResolution(); }

  // ---- events ----

  TOnRubberBandActionEvent OnBeginRubberBand;
  TOnRubberBandActionEvent OnContinueRubberBand;
  TOnRubberBandActionEvent OnEndRubberBand;
  TProgressEvent OnDataLoading;
  TRenderEvent OnDataRendered;
  TRenderEvent OnBeforeRenderData;
  TDrawLandMarkEvent OnDrawLandmark;
  TMapImgRequestEvent OnMapImageRequest;
  TLandMarkActionEvent OnLandMarkAction;
  TZoomPanEvent OnZoomPan;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;

  // Composes the whole picture in AuxBmp.
  void RenderMap();
  void PushZoomHistory();
  void DoZoomPan();
  // Tells the calibration the sizes of the map image and of GrafBmp.
  void SyncImageSizes();

  // Fields in the control's declaration order. The calibration model, its parameters (FGratMat
  // and the model tables), CalibData and the restore buffers live in FCalib.
  std::unique_ptr<TBitmap> AuxBmp;     // 15 bits per pixel
  std::unique_ptr<TBitmap> FImgCache;  // 15 bits per pixel
  double FCacheMag = 0.0;
  bool FCacheAA = true;
  double FCacheMagLimit = 0.0;
  int32_t FNumLandMarks = 0;
  std::vector<TLandMark> FLandMarks;
  TLandMark FDefaultLM;
  TColor FColorBakGnd = 0;
  TFrameStyle FFrameStyle = fsNone;
  TColor FFrameColor = 0;
  TColor FColorGratLine = 0;
  TColor FColorGratPoints = 0;
  TColor FColBlackLine = 0;
  TColor FColGrayLine = 0;
  TColor FColWhiteLine = 0;
  std::string FEmptyMsg;
  bool FLButtonWasDown = false;
  std::array<bool, 256> FLMClassVisible{};
  int32_t FLMRandSampleLimit = 0;
  std::string FMapImgName;
  int32_t FMapImgWidth = 0;
  int32_t FMapImgHeight = 0;
  double FMagnify = 0.0;
  TZoomState FZoomState = zsNormal;
  TMouseBoxState FMouseBoxState = msNormal;
  int32_t FMouseBoxX1 = 0, FMouseBoxX2 = 0, FMouseBoxY1 = 0, FMouseBoxY2 = 0;
  int32_t FWindOldCornerX = 0, FWindOldCornerY = 0, FWindAnchorX = 0, FWindAnchorY = 0;
  TShowGrat FShowGrat = sgNone;
  TPoint FTopLeft;
  bool FSuppressPaint = false;
  bool FConfinePan = false;
  TMouseActMode FMouseAction = maNone;
  bool FRubberBandOn = false;
  int32_t FRubberBAnchorX = 0, FRubberBAnchorY = 0, FRubberBandOldX = 0, FRubberBandOldY = 0;
  bool FAntiAlias = false;
  double FGratLineDist = 0.0;
  int32_t FUTMGridDist = 0;
  TGeoCalibration FCalib;
  int32_t FHighLM = 0;
  TColor FHighLMColFG = 0;
  TColor FHighLMColBG = 0;
  bool FHighLMTrans = false;
  int32_t FTopLeftXAnchor = 0, FTopLeftYAnchor = 0;
  TArray1<TZoomEntry, kZoomHistorySize> FZoomStack;
  int32_t FZStackPoi = 1;
  std::string FCalDatName;
  int32_t MouseAnchorX = 0, MouseAnchorY = 0;
  int32_t FLastMClickPosX = 0, FLastMClickPosY = 0;
  std::unique_ptr<TBitmap> GrafBmp;    // the map image at full resolution
  std::unique_ptr<TBitmap> FFrontBmp;  // what the screen shows; paintEvent only copies it
  bool FLoadingLayout = false;
};
