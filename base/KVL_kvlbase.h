// Base unit of the component library: the small value types, enumerations and event signatures
// shared by the map control and the numerics, the library's error classes, the owner/owned
// relation of non-visual components, the abstract drawing canvas and frame drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

// ---- value types -------------------------------------------------------------------------------

struct TPointDouble {
  double X = 0.0;
  double Y = 0.0;
};

// Edges are not ordered. TopLeft and BottomRight address the same storage as the edges.
struct TRectDouble {
  double Left = 0.0;
  double Top = 0.0;
  double Right = 0.0;
  double Bottom = 0.0;

  TPointDouble& TopLeft() { return *reinterpret_cast<TPointDouble*>(&Left); }
  const TPointDouble& TopLeft() const { return *reinterpret_cast<const TPointDouble*>(&Left); }
  TPointDouble& BottomRight() { return *reinterpret_cast<TPointDouble*>(&Right); }
  const TPointDouble& BottomRight() const { return *reinterpret_cast<const TPointDouble*>(&Right); }
};
static_assert(sizeof(TRectDouble) == 2 * sizeof(TPointDouble));

// Integer pixel position (control or bitmap pixels).
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// Growable 0-based array of 32-bit signed integers, empty when created.
using TIntArray = std::vector<int32_t>;

// ---- enumerations (one byte; the ordinal is the position in the list) --------------------------

enum TFrameStyle : uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };
enum TVerticalAlignment : uint8_t { vaTop, vaCenter, vaBottom };
enum TMouseBoxState : uint8_t { msNormal, msFirstCorner, msRectDraw, msFinished };
enum TMouseActMode : uint8_t {
  maNone, maPan, maPanHoriz, maPanVert, maRubberBand, maZoom, maZoomWind, maZoomWindPos,
  maZoomDrag, maDragCrossH, maDragLabel, maRotate, maRotAndZoom, maRotXOnly, maRotZOnly
};
enum TZoomState : uint8_t { zsNormal, zsDrawWin };

// ---- events (the sender comes first) -----------------------------------------------------------

using TZoomPanEvent = std::function<void(void* Sender)>;
using TSortExchgEvent = std::function<void(void* Sender, uint8_t ExchgWhat, int32_t index1,
                                           int32_t index2, int32_t first, int32_t last)>;

// ---- errors ------------------------------------------------------------------------------------

class EKVLError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EKVLDStructError : public EKVLError {
 public:
  using EKVLError::EKVLError;
};
class EKVLVectorError : public EKVLError {
 public:
  using EKVLError::EKVLError;
};
class EKVLMatrixError : public EKVLError {
 public:
  using EKVLError::EKVLError;
};
class EKVLMath2Error : public EKVLError {
 public:
  using EKVLError::EKVLError;
};
class EKVLGeoMapError : public EKVLError {
 public:
  using EKVLError::EKVLError;
};
// Deliberately outside the EKVLError hierarchy: a handler for library errors does not catch it.
class EKVLSLineError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The message of an error that concerns one object: Component "Name": reason
std::string ComponentMessage(const std::string& name, const std::string& reason);

// ---- non-visual components ---------------------------------------------------------------------

// A named object with an optional owner. The owner deletes the components it owns when it is
// deleted; a component deleted earlier leaves its owner's list by itself.
class TComponent {
 public:
  explicit TComponent(TComponent* AOwner = nullptr);
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  const std::string& Name() const { return FName; }
  void SetName(const std::string& AName) { FName = AName; }
  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return static_cast<int>(FComponents.size()); }

 private:
  std::string FName;
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
};

// ---- drawing canvas ----------------------------------------------------------------------------

// Colours are 0x00BBGGRR everywhere.
using TColor = uint32_t;

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psClear };
enum TPenMode : uint8_t { pmCopy, pmXor };
enum TBrushStyle : uint8_t { bsSolid, bsClear };
enum TFontStyle : uint8_t { fstBold = 1, fstItalic = 2, fstUnderline = 4, fstStrikeOut = 8 };
enum TStretchMode : uint8_t { smColorOnColor = 3, smHalftone = 4 };  // the platform's mode numbers

// The drawing surface that frame drawing and the map control paint on, with the semantics of the
// classic desktop GDI: LineTo excludes the end point, Rectangle and Ellipse exclude the right and
// bottom edges and are outlined with the pen and filled with the brush, TextOut places the text's
// top-left corner at the point (rotated about that point). Coordinates are pixels of the surface.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;

  virtual TColor PenColor() const = 0;
  virtual void SetPenColor(TColor Color) = 0;
  virtual int32_t PenWidth() const = 0;
  virtual void SetPenWidth(int32_t Width) = 0;
  virtual TPenStyle PenStyle() const = 0;
  virtual void SetPenStyle(TPenStyle Style) = 0;
  virtual TPenMode PenMode() const = 0;
  virtual void SetPenMode(TPenMode Mode) = 0;

  virtual TColor BrushColor() const = 0;
  virtual void SetBrushColor(TColor Color) = 0;  // also makes the brush solid
  virtual TBrushStyle BrushStyle() const = 0;
  virtual void SetBrushStyle(TBrushStyle Style) = 0;

  virtual std::string FontName() const = 0;
  virtual void SetFontName(const std::string& Name) = 0;
  virtual int32_t FontSize() const = 0;  // points
  virtual void SetFontSize(int32_t Points) = 0;
  virtual uint8_t FontStyles() const = 0;  // TFontStyle flags
  virtual void SetFontStyles(uint8_t Styles) = 0;
  virtual TColor FontColor() const = 0;
  virtual void SetFontColor(TColor Color) = 0;
  virtual double FontAngle() const = 0;  // degrees, counter-clockwise
  virtual void SetFontAngle(double Degrees) = 0;

  virtual TPoint PenPos() const = 0;
  virtual void MoveTo(int32_t X, int32_t Y) = 0;
  virtual void LineTo(int32_t X, int32_t Y) = 0;
  virtual void Rectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;
  virtual void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;  // brush only
  virtual void Ellipse(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;
  virtual void Polygon(const std::vector<TPoint>& Points) = 0;
  virtual TColor Pixel(int32_t X, int32_t Y) const = 0;
  virtual void SetPixel(int32_t X, int32_t Y, TColor Color) = 0;

  virtual void TextOut(int32_t X, int32_t Y, const std::string& Text) = 0;  // UTF-8
  virtual int32_t TextWidth(const std::string& Text) const = 0;
  virtual int32_t TextHeight(const std::string& Text) const = 0;

  // Copies the rectangle [SrcLeft, SrcLeft + Width) x [SrcTop, SrcTop + Height) of Source to
  // (DestLeft, DestTop). Source must be a canvas of the same implementation.
  virtual void CopyRect(int32_t DestLeft, int32_t DestTop, int32_t Width, int32_t Height,
                        const TCanvas& Source, int32_t SrcLeft, int32_t SrcTop) = 0;
  // Scales the source rectangle onto the destination rectangle (StretchBlt).
  virtual void StretchRect(int32_t DestLeft, int32_t DestTop, int32_t DestWidth, int32_t DestHeight,
                           const TCanvas& Source, int32_t SrcLeft, int32_t SrcTop,
                           int32_t SrcWidth, int32_t SrcHeight, TStretchMode Mode) = 0;
};

// ---- frame drawing -----------------------------------------------------------------------------

// Every pixel of the rectangle's border, both ends inclusive, in the current pen.
void DrawRectOutline(TCanvas& Canvas, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);

// The border of a control in one of the six frame styles; the edges are inclusive pixel
// coordinates. Changes only the pen colour and the current position of the canvas.
void Draw3DFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right,
                 int32_t Bottom, TColor ColHigh, TColor ColLight, TColor ColShadow, TColor ColDark,
                 TColor ColLine);
