// Records, enumerations and event types shared by every part of the map control. Plain values
// without Qt: the calibration, the landmark store and the file formats use them without a widget.
#pragma once

#include <array>
#include <cassert>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "KVL_canvas.h"
#include "KVL_geobasics.h"
#include "KVL_kvlbase.h"

// ---- 1-based fixed arrays ----------------------------------------------------------------------

// A fixed array addressed 1 ... N, as the map records and the model parameter tables are.
template <typename T, std::size_t N>
struct TArray1 {
  std::array<T, N> Items{};

  T& operator[](int i) {
    assert(i >= 1 && i <= static_cast<int>(N));
    return Items[static_cast<std::size_t>(i - 1)];
  }
  const T& operator[](int i) const {
    assert(i >= 1 && i <= static_cast<int>(N));
    return Items[static_cast<std::size_t>(i - 1)];
  }
  static constexpr int Count() { return static_cast<int>(N); }
  void Fill(const T& value) { Items.fill(value); }
  friend bool operator==(const TArray1&, const TArray1&) = default;
};

// ---- enumerations (one byte each; the ordinal is the position in the list) ---------------------

enum TCalibModel : uint8_t {
  cmParabolicIp,        // calibration lines (meridians, parallels) fitted by parabolas
  cmBiquadraticPn,      // second-order polynomials in both directions
  cmConicConformal,     // cone apex, radius ~ latitude, angle ~ longitude
  cmMillerCylindrical,  // Miller cylindrical projection
  cmEquiRect,           // affine: equirectangular maps
  cmUTM,                // affine in UTM northing/easting of one zone
  cmUndefined
};
enum TGratLineKind : uint8_t { gtlMeridian, gtlParallel };
enum TShowGrat : uint8_t {
  sgNone, sgPoints, sgLines, sgPointsAndLines, sgUTMGrid, sgPointsAndUTMGrid
};
enum TLandMarkElement : uint8_t {
  lmCross, lmSquare, lmTriangle, lmCircle, lmArrowFrom, lmArrowTo, lmCrossBox, lmSpade, lmUserDef
};
enum TLandMarkAction : uint8_t { lmaAdd, lmaRemove };
enum TCorners : uint8_t { gcoTopLeft, gcoBottomLeft, gcoBottomRight, gcoTopRight };
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TProgressStage : uint8_t { psStarting, psRunning, psEnding };

// Name of a model in calibration files ("equirect", ...).
const char* CalibModelName(TCalibModel Model);
// The model of a name, compared without regard to case; cmUndefined for an unknown name.
TCalibModel CalibModelFromName(const std::string& Name);

// ---- fixed-capacity 8-bit texts ----------------------------------------------------------------

// A length byte and at most N single-byte characters in Windows-1252. Assigning a longer text
// keeps its first N characters; characters that Windows-1252 cannot represent become '?'.
template <std::size_t N>
struct TShortText {
  static_assert(N < 256, "the length is one byte");
  uint8_t Length = 0;
  std::array<char, N> Chars{};

  TShortText() = default;
  TShortText(const std::string& Utf8) { Assign(Utf8); }  // NOLINT: texts convert implicitly

  void Assign(const std::string& Utf8);
  std::string ToString() const;  // UTF-8
  std::string Bytes() const { return std::string(Chars.data(), Length); }  // Windows-1252
  static constexpr int Capacity() { return static_cast<int>(N); }

  friend bool operator==(const TShortText& a, const TShortText& b) {
    return a.Bytes() == b.Bytes();
  }
};
using TLMIdentifier = TShortText<15>;
using TLMText = TShortText<80>;
static_assert(sizeof(TLMIdentifier) == 16 && sizeof(TLMText) == 81);

// Windows-1252 conversions of the 8-bit texts; Limit counts characters.
std::string Utf8ToCp1252(const std::string& Utf8, std::size_t Limit);
std::string Cp1252ToUtf8(const std::string& Bytes);

template <std::size_t N>
void TShortText<N>::Assign(const std::string& Utf8) {
  const std::string bytes = Utf8ToCp1252(Utf8, N);
  Length = static_cast<uint8_t>(bytes.size());
  Chars.fill('\0');
  bytes.copy(Chars.data(), bytes.size());
}

template <std::size_t N>
std::string TShortText<N>::ToString() const {
  return Cp1252ToUtf8(Bytes());
}

// ---- records -----------------------------------------------------------------------------------

constexpr int kMaxCalLines = 25;       // calibration lines of cmParabolicIp
constexpr int kMaxCalLinePoints = 10;  // points per calibration line
constexpr int kMaxCalQuads = 200;      // calibration points of the point-based models

// A geographic position.
struct TCoords {
  double Latit = 0.0;   // degrees, north positive
  double Longit = 0.0;  // degrees, east positive
  friend bool operator==(const TCoords&, const TCoords&) = default;
};

// Latitude and longitude of the four image corners, indexed by TCorners.
using TCornerArray = std::array<TCoords, 4>;

// One calibration point of the point-based models.
struct TCalQuad {
  double Latitude = 0.0;   // degrees; under cmUTM the northing in metres
  double Longitude = 0.0;  // degrees; under cmUTM the easting in metres
  int32_t MapX = 0;        // map image pixel column
  int32_t MapY = 0;        // map image pixel row
  friend bool operator==(const TCalQuad&, const TCalQuad&) = default;
};

// One calibration line of cmParabolicIp.
struct TCalibLine {
  TGratLineKind LineType = gtlMeridian;
  double LineValue = 0.0;  // longitude (meridian) or latitude (parallel), degrees
  int32_t NumPoints = 0;   // entries 1 ... NumPoints of CalPoints are valid
  TArray1<TPoint, kMaxCalLinePoints> CalPoints;  // map image pixels on the line
  friend bool operator==(const TCalibLine&, const TCalibLine&) = default;
};

// Everything that calibrates a map.
struct TCalibData {
  std::string MapFName;  // map image file the calibration belongs to
  std::string Caption;
  TCornerArray Corners{};   // filled by CalcExtentsAndResolution
  double Resolution = 0.0;  // metres per map image pixel along the horizontal middle line
  int32_t NumCalLines = 0;
  TArray1<TCalibLine, kMaxCalLines> CalLines;
  int32_t NumCalQuads = 0;
  TArray1<TCalQuad, kMaxCalQuads> CalQuads;
  int32_t UTMZone = 0;  // 1 ... 60; -1 after ClearCalibData
  bool UTMSouth = false;
  TGeoEllipsoid Ellipsoid = gelWGS84;
  friend bool operator==(const TCalibData&, const TCalibData&) = default;
};

// How a landmark's symbol looks.
struct TSymbolProperties {
  TLandMarkElement Kind = lmCross;
  int32_t Size = 0;  // pixels
  TColor FGColor = 0;
  TColor BGColor = 0;
  bool Transparent = false;  // true: not filled
  int32_t Direction = 0;     // arrow symbols
  int32_t Length = 0;        // arrow symbols, pixels
  friend bool operator==(const TSymbolProperties&, const TSymbolProperties&) = default;
};

// A landmark's caption.
struct TLMTextProperties {
  TLMText Text;
  int32_t Size = 0;  // points
  std::string FontName;
  uint8_t FontStyles = 0;  // TFontStyle bits: bold, italic, underline, strike-out
  TColor FGColor = 0;
  TColor BGColor = 0;
  bool Transparent = false;  // true: no background
  int32_t dx = 0;            // offset from the landmark, pixels
  int32_t dy = 0;
  int32_t Direction = 0;
  TAlignment HAlignment = taLeftJustify;
  TVerticalAlignment VAlignment = vaTop;
  friend bool operator==(const TLMTextProperties&, const TLMTextProperties&) = default;
};

// One landmark.
struct TLandMark {
  double Latitude = 0.0;   // degrees
  double Longitude = 0.0;  // degrees
  double Altitude = 0.0;   // carried along, not drawn
  uint8_t ClassFlag = 0;
  int32_t Tag = 0;
  TSymbolProperties SymbolProps;
  TLMTextProperties Caption;
  TLMIdentifier Identifier;
  double Time = 0.0;  // days since 30 December 1899, fraction = time of day
  friend bool operator==(const TLandMark&, const TLandMark&) = default;
};

// Integer rectangle of the image decoder's progress report.
struct TPixelRect {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Right = 0;
  int32_t Bottom = 0;
};

// ---- events (the sender is the map control) ----------------------------------------------------

class TGeoMap;

using TRenderEvent = std::function<void(TGeoMap* Sender, TCanvas& Canvas)>;
using TDrawLandMarkEvent = std::function<void(TGeoMap* Sender, bool& Handled, TCanvas& Canvas,
                                              TPoint APoint, const TLandMark& LandMarkData)>;
using TLandMarkActionEvent = std::function<void(TGeoMap* Sender, bool& Allowed,
                                                TLandMarkAction Action,
                                                const TLandMark& LandMarkData)>;
using TMapImgRequestEvent = std::function<void(TGeoMap* Sender, std::string& FileName)>;
using TOnRubberBandActionEvent = std::function<void(TGeoMap* Sender, TPoint APoint)>;
using TProgressEvent =
    std::function<void(TGeoMap* Sender, TProgressStage Stage, uint8_t PercentDone,
                       bool RedrawNow, const TPixelRect& R, const std::string& Msg)>;
// A plain routine, not bound to an object.
using TOnDrawMapDataEvent = void (*)(TGeoMap* Sender, TCanvas& MapCanvas, double LatLow,
                                     double LongLow, double LatHigh, double LongHigh,
                                     int32_t Wid, int32_t Hgt);
