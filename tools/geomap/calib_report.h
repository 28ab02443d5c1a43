// The report of 'geomap calib': fitted parameters, quality and per-point residuals.
#pragma once

#include <ostream>
#include <vector>

#include "KVL_calibration.h"
#include "calib_points.h"

namespace geomap {

// Writes the parameters of the calibration's model, its CalibQuality and a table of the points
// with their residuals (stored minus fitted pixel) and the root mean square of the residual
// distances. Coordinates are written with Decimals decimals.
void PrintCalibReport(const TGeoCalibration& calib, const std::vector<CalibPoint>& points,
                      int decimals, std::ostream& out);

}  // namespace geomap
