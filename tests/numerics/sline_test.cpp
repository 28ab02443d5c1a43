#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <numbers>
#include <string>
#include <type_traits>

#include "KVL_sline.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTol = 1e-12;

// A line through two distinct points, for tables.
struct TTwoPoints {
  double P1X, P1Y, P2X, P2Y;
};

TSLine* MakeLine(TComponent& owner, TTwoPoints p) {
  auto* line = new TSLine(&owner);
  EXPECT_TRUE(line->LineFrom2Points(p.P1X, p.P1Y, p.P2X, p.P2Y));
  return line;
}

}  // namespace

static_assert(std::is_base_of_v<std::runtime_error, EKVLSLineError>);
static_assert(!std::is_base_of_v<EKVLError, EKVLSLineError>,
              "a handler for library errors must not catch line errors");

TEST(SLine, NewLineIsTheXAxis) {
  TSLine line;
  EXPECT_EQ(line.ParA(), 0.0);
  EXPECT_EQ(line.ParB(), 1.0);
  EXPECT_EQ(line.ParC(), 0.0);
  EXPECT_FALSE(line.SubstituteInf());
  EXPECT_EQ(line.Direction(), 0.0);
}

TEST(SLine, LineFrom2PointsSetsCoefficients) {
  TSLine line;
  ASSERT_TRUE(line.LineFrom2Points(0, 0, 2, 2));
  EXPECT_EQ(line.ParA(), -2.0);
  EXPECT_EQ(line.ParB(), 2.0);
  EXPECT_EQ(line.ParC(), 0.0);
  EXPECT_EQ(line.Slope(), 1.0);
  EXPECT_EQ(line.Intercept(), 0.0);
  EXPECT_NEAR(line.Direction(), kPi / 4, kTol);

  ASSERT_TRUE(line.LineFrom2Points(1, 5, 3, 9));  // y = 2x + 3
  double k = 0, d = 0;
  line.CalcKDForm(k, d);
  EXPECT_EQ(k, 2.0);
  EXPECT_EQ(d, 3.0);
  EXPECT_EQ(line.CalcY(4), 11.0);
  EXPECT_EQ(line.CalcX(11), 4.0);
}

TEST(SLine, IdenticalPointsKeepThePreviousLine) {
  TSLine line;
  line.LineFromSlopeIcpt(3, 4);
  EXPECT_FALSE(line.LineFrom2Points(1, 1, 1, 1));
  EXPECT_EQ(line.ParA(), 3.0);
  EXPECT_EQ(line.ParB(), -1.0);
  EXPECT_EQ(line.ParC(), 4.0);
}

// The direction vector (B, -A) of a line built at angle θ is (cos θ, sin θ), so Direction must
// give θ back in every quadrant; the axis-parallel rows pin the special cases.
TEST(SLine, DirectionCoversAllQuadrants) {
  for (const double angle : {0.0, 0.3, kPi / 2 - 0.1, 2.0, kPi, 3.5, 5.0, 2 * kPi - 0.2}) {
    TSLine line;
    line.LineThroughPoint(1, 2, angle);
    EXPECT_NEAR(line.Direction(), angle, kTol) << "angle " << angle;
  }
  const struct {
    TTwoPoints Points;
    double Expected;
  } cases[] = {
      {{0, 0, 0, 1}, kPi / 2},      // A = -1, B = 0: upwards
      {{0, 1, 0, 0}, 3 * kPi / 2},  // A = 1, B = 0: downwards
      {{1, 0, 0, 0}, kPi},          // A = 0, B = -1: to the left
  };
  for (const auto& c : cases) {
    TSLine line;
    line.LineFrom2Points(c.Points.P1X, c.Points.P1Y, c.Points.P2X, c.Points.P2Y);
    EXPECT_NEAR(line.Direction(), c.Expected, kTol) << c.Points.P1X << "," << c.Points.P1Y;
  }
}

TEST(SLine, ErrorsCarryTheirMessages) {
  TSLine vertical;  // x = 3: A = -1, B = 0, C = 3
  vertical.LineFrom2Points(3, 0, 3, 1);
  TSLine horizontal;  // y = 2: A = 0
  horizontal.LineFromSlopeIcpt(0, 2);
  const struct {
    std::function<void()> Call;
    std::string Message;
  } cases[] = {
      {[&] { vertical.SetParA(0); }, "parameter A and B must not both be zero"},
      {[&] { horizontal.SetParB(0); }, "parameter A and B must not both be zero"},
      {[&] { double k, d; vertical.CalcKDForm(k, d); },
       "cannot convert to k-d-form if ParB is zero"},
      {[&] { horizontal.CalcX(1); }, "cannot calculate x"},
      {[&] { vertical.CalcY(1); }, "cannot calculate y"},
      {[&] { vertical.Slope(); }, "slope is infinite"},
      {[&] { vertical.Intercept(); }, "cannot calculate intercept (line is parallel to y axis)"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    try {
      cases[i].Call();
      ADD_FAILURE() << "row " << i << " did not raise";
    } catch (const EKVLSLineError& e) {
      EXPECT_EQ(e.what(), cases[i].Message) << "row " << i;
    }
  }
  // A rejected write keeps the old coefficient.
  EXPECT_EQ(vertical.ParA(), -1.0);
  EXPECT_EQ(horizontal.ParB(), -1.0);
}

TEST(SLine, CoefficientWritesKeepTheInvariant) {
  TSLine line;
  line.SetParA(2);
  line.SetParB(0);  // allowed: A is not zero
  EXPECT_EQ(line.ParB(), 0.0);
  EXPECT_THROW(line.SetParA(0), EKVLSLineError);
  EXPECT_EQ(line.ParA(), 2.0);
  line.SetParC(-7);
  EXPECT_EQ(line.ParC(), -7.0);
}

TEST(SLine, SubstituteInfGivesHugeFiniteValues) {
  TSLine vertical;  // -x + 3 = 0
  vertical.LineFrom2Points(3, 0, 3, 1);
  vertical.SetSubstituteInf(true);
  EXPECT_DOUBLE_EQ(vertical.CalcY(0), -3e100);  // (-x·A - C) / 1e-100
  TSLine horizontal;  // y = 2: A = 0, B = -1, C = 2
  horizontal.LineFromSlopeIcpt(0, 2);
  horizontal.SetSubstituteInf(true);
  EXPECT_DOUBLE_EQ(horizontal.CalcX(5), 3e100);  // (-y·B - C) / 1e-100
}

TEST(SLine, DistanceIsPerpendicularAndScaleFree) {
  TSLine line;
  line.LineFrom2Points(0, 2, 2, 0);  // x + y = 2
  EXPECT_NEAR(line.Distance(0, 0), std::sqrt(2.0), kTol);
  EXPECT_NEAR(line.Distance(1, 1), 0.0, kTol);
  // Coefficients whose squares underflow must not turn the distance into infinity.
  line.SetParA(1e-200);
  line.SetParB(1e-200);
  line.SetParC(-2e-200);
  EXPECT_NEAR(line.Distance(0, 0), std::sqrt(2.0), kTol);
}

TEST(SLine, ConstructionsThroughAPoint) {
  TSLine line;
  line.LineThroughPoint(1, 2, kPi / 4);
  EXPECT_NEAR(line.Distance(1, 2), 0.0, kTol);
  EXPECT_NEAR(line.Distance(4, 5), 0.0, kTol);

  TSLine base;
  base.LineFromSlopeIcpt(2, 1);
  TSLine parallel;
  parallel.ParallelLine(0, 5, base);
  EXPECT_NEAR(parallel.Distance(0, 5), 0.0, kTol);
  EXPECT_NEAR(parallel.AngleBetweenLines(base), 0.0, kTol);
  TSLine normal;
  normal.NormalLine(1, 3, base);
  EXPECT_NEAR(normal.Distance(1, 3), 0.0, kTol);
  EXPECT_NEAR(normal.AngleBetweenLines(base), kPi / 2, kTol);

  // Building the normal of a line onto the line itself must use its old coefficients.
  TSLine self;
  self.LineFrom2Points(0, 0, 1, 2);  // y = 2x
  self.NormalLine(2, -1, self);
  EXPECT_NEAR(self.Distance(2, -1), 0.0, kTol);
  EXPECT_NEAR(self.Distance(-4, 2), 0.0, kTol);
}

TEST(SLine, AngleBetweenLines) {
  const struct {
    TTwoPoints First, Second;
    double Expected;
  } cases[] = {
      {{0, 0, 1, 0}, {0, 0, 1, 1}, kPi / 4},    // x axis and y = x
      {{0, 0, 1, 0}, {0, 0, 0, 1}, kPi / 2},    // x axis and x = 0
      {{0, 0, 1, 1}, {0, 0, 1, -1}, kPi / 2},   // y = x and y = -x
      {{0, 0, 1, 1}, {0, 1, 1, 2}, 0.0},        // parallel
      {{0, 0, 1, 0}, {0, 0, -1, 1}, kPi / 4},   // 135° apart is 45° between lines
  };
  TComponent owner;
  for (size_t i = 0; i < std::size(cases); ++i) {
    const TSLine* a = MakeLine(owner, cases[i].First);
    const TSLine* b = MakeLine(owner, cases[i].Second);
    EXPECT_NEAR(a->AngleBetweenLines(*b), cases[i].Expected, kTol) << "row " << i;
    EXPECT_NEAR(b->AngleBetweenLines(*a), cases[i].Expected, kTol) << "row " << i;
  }
}

TEST(SLine, InterSection) {
  TSLine rising, falling, shifted;
  rising.LineFromSlopeIcpt(1, 0);
  falling.LineFromSlopeIcpt(-1, 2);
  shifted.LineFromSlopeIcpt(1, 3);
  double x = -9, y = -9;
  ASSERT_TRUE(rising.InterSection(falling, x, y));
  EXPECT_DOUBLE_EQ(x, 1.0);
  EXPECT_DOUBLE_EQ(y, 1.0);
  x = y = -9;
  EXPECT_FALSE(rising.InterSection(shifted, x, y));
  EXPECT_EQ(x, -9.0);
  EXPECT_EQ(y, -9.0);
}

TEST(SLine, ClipBoxGivesTheSegmentInsideTheBox) {
  const struct {
    const char* What;
    TTwoPoints Line;
    double X1, Y1, X2, Y2;
  } cases[] = {
      {"y = x + 5", {0, 5, 1, 6}, 0, 5, 5, 10},
      {"vertical x = 3", {3, 0, 3, 1}, 3, 0, 3, 10},
      {"horizontal y = 4", {0, 4, 1, 4}, 0, 4, 10, 4},
      {"diagonal through two corners", {0, 0, 1, 1}, 0, 0, 10, 10},
      {"corner and opposite edge", {0, 0, 1, 2}, 0, 0, 5, 10},
      {"touches a corner only", {0, 0, 1, -1}, 0, 0, 0, 0},
      {"along the bottom edge", {0, 0, 1, 0}, 0, 0, 10, 0},
      {"along the top edge", {0, 10, 1, 10}, 0, 10, 10, 10},
      {"along the left edge", {0, 0, 0, 1}, 0, 0, 0, 10},
      {"along the right edge", {10, 0, 10, 1}, 10, 0, 10, 10},
  };
  TComponent owner;
  for (const auto& c : cases) {
    const TSLine* line = MakeLine(owner, c.Line);
    double x1 = -1, y1 = -1, x2 = -1, y2 = -1;
    ASSERT_TRUE(line->ClipBox(0, 0, 10, 10, x1, y1, x2, y2)) << c.What;
    EXPECT_NEAR(x1, c.X1, kTol) << c.What;
    EXPECT_NEAR(y1, c.Y1, kTol) << c.What;
    EXPECT_NEAR(x2, c.X2, kTol) << c.What;
    EXPECT_NEAR(y2, c.Y2, kTol) << c.What;
  }
}

TEST(SLine, ClipBoxMissLeavesPointsAndFlagAlone) {
  for (const bool substitute : {false, true}) {
    TSLine line;
    line.LineFromSlopeIcpt(0, 20);
    line.SetSubstituteInf(substitute);
    double x1 = -1, y1 = -2, x2 = -3, y2 = -4;
    EXPECT_FALSE(line.ClipBox(0, 0, 10, 10, x1, y1, x2, y2));
    EXPECT_EQ(x1, -1.0);
    EXPECT_EQ(y1, -2.0);
    EXPECT_EQ(x2, -3.0);
    EXPECT_EQ(y2, -4.0);
    EXPECT_EQ(line.SubstituteInf(), substitute);
    // A vertical line still raises afterwards unless substitution was switched on.
    line.LineFrom2Points(3, 0, 3, 1);
    EXPECT_TRUE(line.ClipBox(0, 0, 10, 10, x1, y1, x2, y2));
    if (substitute)
      EXPECT_NO_THROW(line.CalcY(0));
    else
      EXPECT_THROW(line.CalcY(0), EKVLSLineError);
  }
}
