// Lifecycle of the map control, Clear, and the way a picture reaches the screen.
#include "KVL_geomap.h"

#include <QPainter>

#include "KVL_geomap_memory.h"
#include "TBitmap.h"

namespace {

constexpr int32_t kDefaultWidth = 500;  // control pixels
constexpr int32_t kDefaultHeight = 400;
constexpr double kDefaultCacheMagLimit = 2.0 / 3.0;  // the double 0x3FE5555555555555
constexpr int32_t kDefaultLMRandSampleLimit = 20000;
constexpr TColor kBlack = 0x00000000;
constexpr TColor kGray = 0x00808080;
constexpr TColor kSilver = 0x00C0C0C0;
constexpr TColor kWhite = 0x00FFFFFF;
constexpr TColor kBlue = 0x00FF0000;
constexpr TColor kRed = 0x000000FF;
constexpr TColor kYellow = 0x0000FFFF;
constexpr int32_t kEmptyMsgOffset = 10;  // control pixels from the top-left corner

TLandMark DefaultLandMark() {
  TLandMark lm;
  lm.SymbolProps = TSymbolProperties{lmCross, 7, kBlue, kWhite, false, 0, 10};
  TLMTextProperties& c = lm.Caption;
  c.Size = 8;
  c.FontName = "MS Sans Serif";
  c.FontStyles = 0;
  c.FGColor = kBlack;
  c.BGColor = kWhite;
  c.Transparent = true;
  c.Direction = 0;
  c.dx = 0;
  c.dy = 8;
  c.HAlignment = taCenter;
  c.VAlignment = vaTop;
  return lm;
}

}  // namespace

TGeoMap::TGeoMap(QWidget* AOwner) : QWidget(AOwner) {
  resize(kDefaultWidth, kDefaultHeight);
  FTopLeft = TPoint{0, 0};
  FConfinePan = true;
  FGratLineDist = 0.0;
  FLastMClickPosX = 0;
  FLastMClickPosY = 0;
  FShowGrat = sgNone;
  FSuppressPaint = false;
  FAntiAlias = true;
  FMagnify = 1.0;
  FEmptyMsg = "GeoMap: empty";
  FNumLandMarks = 0;
  FLMRandSampleLimit = kDefaultLMRandSampleLimit;
  AllocateOrFail(Name(), [this] { FLandMarks.resize(kInitialLandMarkRoom); });
  FLMClassVisible.fill(true);
  FColorGratLine = kBlue;
  FColorGratPoints = kRed;
  FColorBakGnd = kSilver;
  FColBlackLine = kBlack;
  FColGrayLine = kGray;
  FColWhiteLine = kWhite;
  FFrameStyle = fsSimple;
  FFrameColor = kBlack;
  FMapImgName.clear();
  FMapImgWidth = 0;
  FMapImgHeight = 0;
  FMouseBoxState = msNormal;
  FZoomState = zsNormal;
  FMouseAction = maPan;
  FRubberBandOn = false;
  FDefaultLM = DefaultLandMark();
  FHighLM = 0;
  FHighLMColFG = kBlue;
  FHighLMColBG = kYellow;
  FHighLMTrans = false;
  ClearZoomHistory();
  GrafBmp = std::make_unique<TBitmap>(0, 0, pfDevice);
  AuxBmp = std::make_unique<TBitmap>(0, 0, pf15bit);
  FImgCache = std::make_unique<TBitmap>(0, 0, pf15bit);
  FFrontBmp = std::make_unique<TBitmap>(0, 0, pfDevice);
  FCacheMag = 0.0;
  FCacheAA = FAntiAlias;
  FCacheMagLimit = kDefaultCacheMagLimit;

  FCalib.OnRepaint = [this] { Paint(); };
  connect(this, &QObject::objectNameChanged, this,
          [this](const QString& name) { FCalib.SetName(name.toStdString()); });
}

TGeoMap::~TGeoMap() = default;

void TGeoMap::SyncImageSizes() {
  FCalib.SetMapImageSize(FMapImgWidth, FMapImgHeight);
  FCalib.SetBitmapSize(GrafBmp->Width(), GrafBmp->Height());
}

void TGeoMap::Clear() {
  ClearCalibData();
  FCalib.StoreCalibModel(cmUndefined);
  FCalib.MutableCalibData().MapFName.clear();
  FCalib.MutableCalibData().Caption.clear();
  FMapImgName.clear();
  FMapImgWidth = 0;
  FMapImgHeight = 0;
  SyncImageSizes();
  Paint();
}

void TGeoMap::Paint() {
  if (FSuppressPaint) return;
  RenderMap();
  const int32_t w = width();
  const int32_t h = height();
  if (FFrontBmp->Width() != w || FFrontBmp->Height() != h) FFrontBmp->SetSize(w, h);
  FFrontBmp->Canvas().CopyRect(0, 0, w, h, AuxBmp->Canvas(), 0, 0);
  update();
}

void TGeoMap::RenderMap() {
  const int32_t w = width();
  const int32_t h = height();
  if (AuxBmp->Height() < h) AuxBmp->SetHeight(h);
  if (AuxBmp->Width() < w) AuxBmp->SetWidth(w);
  TCanvas& canvas = AuxBmp->Canvas();
  canvas.SetPenStyle(psSolid);
  canvas.SetPenMode(pmCopy);
  const auto fillBackground = [&] {
    canvas.SetBrushColor(FColorBakGnd);
    canvas.SetPenColor(FColorBakGnd);
    canvas.Rectangle(0, 0, w, h);
  };
  if (FMapImgName.empty()) {
    fillBackground();
    canvas.SetFontColor(FFrameColor);
    canvas.TextOut(kEmptyMsgOffset, kEmptyMsgOffset, FEmptyMsg);
  } else if (isVisible()) {
    fillBackground();
  }
  // The plain outline is always black, whatever ColorFrame is.
  Draw3DFrame(canvas, FFrameStyle, 0, 0, w - 1, h - 1, FColWhiteLine, kSilver, FColGrayLine,
              FColBlackLine, kBlack);
}

void TGeoMap::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, FFrontBmp->Image());
}

void TGeoMap::resizeEvent(QResizeEvent*) { Paint(); }

void TGeoMap::DoZoomPan() {
  if (OnZoomPan) OnZoomPan(this);
}
