// Base unit of the component library: the small value types, enumerations and event signatures
// shared by the map control and the numerics, the library's error classes, the owner/owned
// relation of non-visual components, the abstract drawing canvas and frame drawing.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "KVL_canvas.h"

// ---- value types -------------------------------------------------------------------------------

struct TPointDouble {
  double X = 0.0;
  double Y = 0.0;
  friend bool operator==(const TPointDouble&, const TPointDouble&) = default;
};

// A corner of a TRectDouble seen as a point: X and Y refer to two edges of the rectangle, so
// reading and writing through it reads and writes those edges. It converts to a TPointDouble and
// takes one by assignment.
template <typename TEdge>  // double, or const double for a read-only view
struct TCornerView {
  TEdge& X;
  TEdge& Y;

  TCornerView(TEdge& AX, TEdge& AY) : X(AX), Y(AY) {}
  TCornerView(const TCornerView&) = default;
  operator TPointDouble() const { return {X, Y}; }
  // Assignment writes through to the edges; it never rebinds the view.
  const TCornerView& operator=(const TPointDouble& P) const {
    X = P.X;
    Y = P.Y;
    return *this;
  }
  const TCornerView& operator=(const TCornerView& Other) const {
    return *this = static_cast<TPointDouble>(Other);
  }
};

// Edges are not ordered. TopLeft is (Left, Top) and BottomRight is (Right, Bottom), both views of
// the edges themselves rather than copies; views avoid the aliasing of one storage by two types.
struct TRectDouble {
  double Left = 0.0;
  double Top = 0.0;
  double Right = 0.0;
  double Bottom = 0.0;

  TCornerView<double> TopLeft() { return {Left, Top}; }
  TCornerView<const double> TopLeft() const { return {Left, Top}; }
  TCornerView<double> BottomRight() { return {Right, Bottom}; }
  TCornerView<const double> BottomRight() const { return {Right, Bottom}; }

  friend bool operator==(const TRectDouble&, const TRectDouble&) = default;
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

// ---- frame drawing -----------------------------------------------------------------------------

// Every pixel of the rectangle's border, both ends inclusive, in the current pen.
void DrawRectOutline(TCanvas& Canvas, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom);

// The border of a control in one of the six frame styles; the edges are inclusive pixel
// coordinates. Changes only the pen colour and the current position of the canvas.
void Draw3DFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right,
                 int32_t Bottom, TColor ColHigh, TColor ColLight, TColor ColShadow, TColor ColDark,
                 TColor ColLine);
