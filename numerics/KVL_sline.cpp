#include "KVL_sline.h"

#include <array>
#include <cmath>
#include <numbers>

namespace {

// Stands in for a zero divisor when SubstituteInf is set, so the result is huge but finite.
constexpr double kSubstituteDivisor = 1e-100;

constexpr double kPi = std::numbers::pi;
constexpr double kHalfPi = kPi / 2.0;

struct TCandidate {
  double X;
  double Y;
};

}  // namespace

TSLine::TSLine(TComponent* AOwner) : TComponent(AOwner) {}

void TSLine::SetParA(double Value) {
  if (Value == 0.0 && FParB == 0.0) throw EKVLSLineError("parameter A and B must not both be zero");
  FParA = Value;
}

void TSLine::SetParB(double Value) {
  if (Value == 0.0 && FParA == 0.0) throw EKVLSLineError("parameter A and B must not both be zero");
  FParB = Value;
}

double TSLine::Direction() const {
  double a;
  if (FParB != 0.0)
    a = std::atan(-FParA / FParB);
  else
    a = FParA > 0.0 ? kHalfPi : -kHalfPi;
  // atan covers only the right half plane: move the angle to the quadrant of (B, -A).
  if (FParB <= 0.0) return a + kPi;
  if (FParA > 0.0) return a + 2.0 * kPi;
  return a;
}

double TSLine::Slope() const {
  if (FParB == 0.0) throw EKVLSLineError("slope is infinite");
  return -FParA / FParB;
}

double TSLine::Intercept() const {
  if (FParB == 0.0)
    throw EKVLSLineError("cannot calculate intercept (line is parallel to y axis)");
  return -FParC / FParB;
}

bool TSLine::LineFrom2Points(double P1X, double P1Y, double P2X, double P2Y) {
  if (P1X == P2X && P1Y == P2Y) return false;
  FParA = P1Y - P2Y;
  FParB = P2X - P1X;
  FParC = P1X * P2Y - P2X * P1Y;
  return true;
}

void TSLine::LineThroughPoint(double px, double py, double angle) {
  FParA = -std::sin(angle);
  FParB = std::cos(angle);
  FParC = -FParA * px - FParB * py;
}

void TSLine::LineFromSlopeIcpt(double k, double d) {
  FParA = k;
  FParB = -1.0;
  FParC = d;
}

void TSLine::NormalLine(double px, double py, const TSLine& OtherLine) {
  const double otherA = OtherLine.FParA;  // read first: OtherLine may be this line
  const double otherB = OtherLine.FParB;
  FParA = -otherB;
  FParB = otherA;
  FParC = -FParA * px - FParB * py;
}

void TSLine::ParallelLine(double px, double py, const TSLine& OtherLine) {
  FParA = OtherLine.FParA;
  FParB = OtherLine.FParB;
  FParC = -FParA * px - FParB * py;
}

void TSLine::CalcKDForm(double& k, double& d) const {
  if (FParB == 0.0) throw EKVLSLineError("cannot convert to k-d-form if ParB is zero");
  k = -FParA / FParB;
  d = -FParC / FParB;
}

double TSLine::CalcX(double y) const { return CalcXOrSubstitute(y, FSubstInf); }

double TSLine::CalcY(double x) const { return CalcYOrSubstitute(x, FSubstInf); }

double TSLine::CalcXOrSubstitute(double y, bool Substitute) const {
  double divisor = FParA;
  if (divisor == 0.0) {
    if (!Substitute) throw EKVLSLineError("cannot calculate x");
    divisor = kSubstituteDivisor;
  }
  return (-y * FParB - FParC) / divisor;
}

double TSLine::CalcYOrSubstitute(double x, bool Substitute) const {
  double divisor = FParB;
  if (divisor == 0.0) {
    if (!Substitute) throw EKVLSLineError("cannot calculate y");
    divisor = kSubstituteDivisor;
  }
  return (-x * FParA - FParC) / divisor;
}

double TSLine::Distance(double px, double py) const {
  // hypot, unlike sqrt(A² + B²), neither overflows nor underflows for extreme coefficients.
  return std::fabs(FParA * px + FParB * py + FParC) / std::hypot(FParA, FParB);
}

double TSLine::AngleBetweenLines(const TSLine& OtherLine) const {
  const double s = FParA * OtherLine.FParA + FParB * OtherLine.FParB;
  if (s == 0.0) return kHalfPi;
  return std::fabs(std::atan((FParA * OtherLine.FParB - OtherLine.FParA * FParB) / s));
}

bool TSLine::InterSection(const TSLine& OtherLine, double& x, double& y) const {
  const double det = FParA * OtherLine.FParB - OtherLine.FParA * FParB;
  if (det == 0.0) return false;
  x = (FParB * OtherLine.FParC - OtherLine.FParB * FParC) / det;
  y = (FParC * OtherLine.FParA - OtherLine.FParC * FParA) / det;
  return true;
}

bool TSLine::ClipBox(double bllx, double blly, double burx, double bury, double& x1, double& y1,
                     double& x2, double& y2) const {
  // Lines parallel to an edge give huge values for that edge, which the bounds test rejects.
  std::array<TCandidate, 4> accepted{};
  int count = 0;
  const auto acceptIf = [&](bool inside, double x, double y) {
    if (inside) accepted[count++] = {x, y};
  };
  const double yLeft = CalcYOrSubstitute(bllx, true);
  acceptIf(blly <= yLeft && yLeft <= bury, bllx, yLeft);
  const double yRight = CalcYOrSubstitute(burx, true);
  acceptIf(blly <= yRight && yRight <= bury, burx, yRight);
  const double xBottom = CalcXOrSubstitute(blly, true);
  acceptIf(bllx <= xBottom && xBottom <= burx, xBottom, blly);
  const double xTop = CalcXOrSubstitute(bury, true);
  acceptIf(bllx <= xTop && xTop <= burx, xTop, bury);
  if (count == 0) return false;

  // A corner is accepted on both of its edges and a line along an edge on up to three, so
  // take the pair that spans the longest piece rather than the first two.
  int first = 0;
  int second = 0;
  double longest = -1.0;
  for (int i = 0; i < count; ++i) {
    for (int j = i + 1; j < count; ++j) {
      const double length =
          std::hypot(accepted[j].X - accepted[i].X, accepted[j].Y - accepted[i].Y);
      if (length > longest) {
        longest = length;
        first = i;
        second = j;
      }
    }
  }
  x1 = accepted[first].X;
  y1 = accepted[first].Y;
  x2 = accepted[second].X;
  y2 = accepted[second].Y;
  return true;
}
