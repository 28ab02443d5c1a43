// Straight lines in the plane in the general form A·x + B·y + C = 0: construction from points,
// angles and slope/intercept, evaluation, distances, angles, intersections and clipping to a box.
#pragma once

#include "KVL_kvlbase.h"

class TSLine : public TComponent {
 public:
  // A new line is the x axis (A = 0, B = 1, C = 0) with SubstituteInf false.
  explicit TSLine(TComponent* AOwner = nullptr);

  // Coefficients. A and B are never both zero: setting one of them to zero while the other is
  // zero raises EKVLSLineError and keeps the old value.
  double ParA() const { return FParA; }
  void SetParA(double Value);
  double ParB() const { return FParB; }
  void SetParB(double Value);
  double ParC() const { return FParC; }
  void SetParC(double Value) { FParC = Value; }

  // When true, CalcX and CalcY divide by 1e-100 instead of a zero coefficient and so return a
  // huge finite value for lines parallel to the axis asked about, instead of raising.
  bool SubstituteInf() const { return FSubstInf; }
  void SetSubstituteInf(bool Value) { FSubstInf = Value; }

  // Angle of the direction vector (B, -A) in radians, in [0, 2π).
  double Direction() const;
  // Slope and intercept of y = k·x + d; both raise when the line is parallel to the y axis.
  double Slope() const;
  double Intercept() const;

  // The line through two points; false (and no change) when the points are identical.
  bool LineFrom2Points(double P1X, double P1Y, double P2X, double P2Y);
  // The line through (px, py) rising at angle radians against the x axis.
  void LineThroughPoint(double px, double py, double angle);
  // The line y = k·x + d.
  void LineFromSlopeIcpt(double k, double d);
  // The line through (px, py) perpendicular (NormalLine) or parallel (ParallelLine) to OtherLine,
  // which may be this line itself.
  void NormalLine(double px, double py, const TSLine& OtherLine);
  void ParallelLine(double px, double py, const TSLine& OtherLine);

  // Slope k and intercept d of y = k·x + d; raises when B is zero.
  void CalcKDForm(double& k, double& d) const;
  // The x at which the line has the given y, and the y at which it has the given x.
  double CalcX(double y) const;
  double CalcY(double x) const;
  // Perpendicular distance of the point (px, py) from the line.
  double Distance(double px, double py) const;
  // The smaller angle between the two lines, radians in [0, π/2].
  double AngleBetweenLines(const TSLine& OtherLine) const;
  // The crossing point of the two lines; false (x and y untouched) when they are parallel.
  bool InterSection(const TSLine& OtherLine, double& x, double& y) const;

  // The part of the line inside the box with lower-left corner (bllx, blly) and upper-right
  // corner (burx, bury), edges inclusive. The crossings are looked for on the left, right, bottom
  // and top edge, in that order. Returns false, leaving the points untouched, when the line misses
  // the box. Otherwise (x1, y1) and (x2, y2) are the two crossings farthest apart, in edge order:
  // a line through a corner counts the corner once, a line along an edge gives that whole edge,
  // and a line that only touches a corner gives that corner in both points.
  bool ClipBox(double bllx, double blly, double burx, double bury, double& x1, double& y1,
               double& x2, double& y2) const;

 private:
  double CalcXOrSubstitute(double y, bool Substitute) const;
  double CalcYOrSubstitute(double x, bool Substitute) const;

  double FParA = 0.0;
  double FParB = 1.0;
  double FParC = 0.0;
  bool FSubstInf = false;
};
