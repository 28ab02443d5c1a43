// The abstract drawing surface that frame drawing and the map control paint on. The platform
// layer implements it on Qt; tests implement small recording or raster canvases of their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Integer pixel position (control or bitmap pixels).
struct TPoint {
  int32_t X = 0;
  int32_t Y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

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
// top-left corner at the point (rotated about that point). Coordinates are pixels of the surface;
// any 32-bit coordinate is accepted and drawing is clipped to the surface. Defaults of a new canvas:
// black solid 1-pixel pen in copy mode, white solid brush, black 8-point font, angle 0.
class TCanvas {
 public:
  virtual ~TCanvas() = default;

  virtual int32_t Width() const = 0;
  virtual int32_t Height() const = 0;

  virtual TColor PenColor() const = 0;
  virtual void SetPenColor(TColor Color) = 0;
  virtual int32_t PenWidth() const = 0;
  virtual void SetPenWidth(int32_t Width) = 0;  // pixels; below 1 counts as 1
  virtual TPenStyle PenStyle() const = 0;
  virtual void SetPenStyle(TPenStyle Style) = 0;
  virtual TPenMode PenMode() const = 0;
  virtual void SetPenMode(TPenMode Mode) = 0;  // applies to lines, Rectangle, Ellipse and Polygon

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
  // Outline on the pixels Left ... Right - 1, Top ... Bottom - 1, each drawn once (so an XOR
  // rectangle drawn twice restores the picture); the brush fills inside it. With a clear pen the
  // fill covers Left ... Right - 2, Top ... Bottom - 2. Swapped corners are put in order.
  virtual void Rectangle(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;
  // [Left, Right) x [Top, Bottom) in the brush colour, always in copy mode; nothing with a clear brush.
  virtual void FillRect(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;
  virtual void Ellipse(int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) = 0;
  virtual void Polygon(const std::vector<TPoint>& Points) = 0;
  virtual TColor Pixel(int32_t X, int32_t Y) const = 0;  // 0xFFFFFFFF outside the surface
  virtual void SetPixel(int32_t X, int32_t Y, TColor Color) = 0;

  // UTF-8 text in the font colour; with a solid brush the text's cell (TextWidth x TextHeight,
  // rotated with the text) is first filled with the brush colour.
  virtual void TextOut(int32_t X, int32_t Y, const std::string& Text) = 0;
  virtual int32_t TextWidth(const std::string& Text) const = 0;
  virtual int32_t TextHeight(const std::string& Text) const = 0;

  // Copies the rectangle [SrcLeft, SrcLeft + Width) x [SrcTop, SrcTop + Height) of Source to
  // (DestLeft, DestTop), clipped to both surfaces. Source must be a canvas of the same
  // implementation and may be this canvas, with overlapping rectangles.
  virtual void CopyRect(int32_t DestLeft, int32_t DestTop, int32_t Width, int32_t Height,
                        const TCanvas& Source, int32_t SrcLeft, int32_t SrcTop) = 0;
  // Scales the source rectangle onto the destination rectangle (StretchBlt): smColorOnColor keeps
  // the source pixel under each destination pixel's centre, smHalftone averages. Destination
  // pixels whose centre maps outside the source surface keep their colour. Sizes below 1 draw
  // nothing.
  virtual void StretchRect(int32_t DestLeft, int32_t DestTop, int32_t DestWidth, int32_t DestHeight,
                           const TCanvas& Source, int32_t SrcLeft, int32_t SrcTop,
                           int32_t SrcWidth, int32_t SrcHeight, TStretchMode Mode) = 0;
};
