// The points file of 'geomap calib': one calibration point a line.
#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string_view>
#include <vector>

namespace geomap {

// A calibration point as read: its coordinates (latitude and longitude in degrees, or northing and
// easting in metres for the UTM model) at a map image pixel.
struct CalibPoint {
  double first = 0.0;   // latitude or northing
  double second = 0.0;  // longitude or easting
  int32_t x = 0;        // map image pixel column
  int32_t y = 0;        // map image pixel row
  long line = 0;        // line number in the points file
};

// Reads In to the end: every line that is not blank and does not start with '#' must hold four
// numbers, the two coordinates and the pixel x y in whole pixels; Form names the coordinates for
// the messages ("latitude longitude"). At most MaxPoints points are taken. Each bad line is
// reported on Err as "<prefix>line <n>: <problem>". Returns nullopt when any line was bad.
std::optional<std::vector<CalibPoint>> ReadCalibPoints(std::istream& in, std::ostream& err,
                                                       std::string_view prefix,
                                                       std::string_view form, int maxPoints);

}  // namespace geomap
