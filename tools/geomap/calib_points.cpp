#include "calib_points.h"

#include <string>

#include "text_fields.h"

namespace geomap {

namespace {

constexpr std::size_t kFieldsPerPoint = 4;  // two coordinates, pixel x and y

bool IsSkipped(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '#';
}

}  // namespace

std::optional<std::vector<CalibPoint>> ReadCalibPoints(std::istream& in, std::ostream& err,
                                                       std::string_view prefix,
                                                       std::string_view form, int maxPoints) {
  std::vector<CalibPoint> points;
  bool allRead = true;
  bool overflowReported = false;
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // files written on Windows
    if (IsSkipped(line)) continue;
    const auto numbers = ParseNumbers(line);
    const auto x = numbers && numbers->size() == kFieldsPerPoint ? WholeNumber((*numbers)[2])
                                                                 : std::nullopt;
    const auto y = x ? WholeNumber((*numbers)[3]) : std::nullopt;
    if (!y) {
      err << prefix << "line " << number << ": expected \"" << form
          << " x y\", x and y in whole map image pixels\n";
      allRead = false;
    } else if (static_cast<int>(points.size()) == maxPoints) {
      if (!overflowReported) {
        err << prefix << "line " << number << ": more than " << maxPoints
            << " calibration points\n";
      }
      overflowReported = true;
      allRead = false;
    } else {
      points.push_back(CalibPoint{(*numbers)[0], (*numbers)[1], *x, *y, number});
    }
  }
  if (in.bad()) {
    err << prefix << "read error\n";
    allRead = false;
  }
  if (!allRead) return std::nullopt;
  return points;
}

}  // namespace geomap
