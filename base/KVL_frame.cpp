// Frame drawing of KVL_kvlbase.h.
#include "KVL_kvlbase.h"

namespace {

// The four colours of a two-ring frame: outer top/left, outer bottom/right, inner top/left,
// inner bottom/right.
struct TRingColors {
  TColor OuterTopLeft;
  TColor OuterBottomRight;
  TColor InnerTopLeft;
  TColor InnerBottomRight;
};

// The drawing order is part of the result: later lines overwrite the corners of earlier ones.
void DrawTwoRings(TCanvas& c, int32_t L, int32_t T, int32_t R, int32_t B, const TRingColors& k) {
  c.SetPenColor(k.OuterTopLeft);
  c.MoveTo(L, B);
  c.LineTo(L, T);
  c.LineTo(R + 1, T);

  c.MoveTo(R, T + 1);
  c.SetPenColor(k.OuterBottomRight);
  c.LineTo(R, B);
  c.LineTo(L - 1, B);

  c.SetPenColor(k.InnerTopLeft);
  c.MoveTo(L + 1, B - 1);
  c.LineTo(L + 1, T + 1);
  c.LineTo(R, T + 1);

  c.MoveTo(R - 1, T + 2);
  c.SetPenColor(k.InnerBottomRight);
  c.LineTo(R - 1, B - 1);
  c.LineTo(L, B - 1);
}

}  // namespace

void DrawRectOutline(TCanvas& Canvas, int32_t Left, int32_t Top, int32_t Right, int32_t Bottom) {
  Canvas.MoveTo(Left, Top);
  Canvas.LineTo(Left, Bottom);
  Canvas.LineTo(Right, Bottom);
  Canvas.LineTo(Right, Top);
  Canvas.LineTo(Left, Top);
}

void Draw3DFrame(TCanvas& Canvas, TFrameStyle Style, int32_t Left, int32_t Top, int32_t Right,
                 int32_t Bottom, TColor ColHigh, TColor ColLight, TColor ColShadow, TColor ColDark,
                 TColor ColLine) {
  TRingColors rings{};
  switch (Style) {
    case fsSimple:
      Canvas.SetPenColor(ColLine);
      DrawRectOutline(Canvas, Left, Top, Right, Bottom);
      return;
    case fsLowered:
      rings = {ColShadow, ColHigh, ColDark, ColLight};
      break;
    case fsRaised:
      rings = {ColHigh, ColDark, ColLight, ColShadow};
      break;
    case fsEmbossed:
      rings = {ColHigh, ColShadow, ColShadow, ColHigh};
      break;
    case fsEngraved:
      rings = {ColShadow, ColHigh, ColHigh, ColShadow};
      break;
    default:  // fsNone and values outside the enumeration draw nothing
      return;
  }
  DrawTwoRings(Canvas, Left, Top, Right, Bottom, rings);
}
