// Rounding of real positions to pixels, and the view transform between control pixels and map
// image pixels. The pixel/geographic conversions are members of TGeoCalibration
// (KVL_calibration.h) and are defined in KVL_conversion.cpp.
#pragma once

#include <cstdint>

#include "KVL_canvas.h"

// Largest pixel coordinate a conversion returns, in either direction (pixels). Finite results
// beyond it are clamped, so that sums and products of pixel coordinates stay far from the 32-bit
// limits.
inline constexpr double kMaxPixelCoord = 1.0e9;

// Round half to even, clamped to ±kMaxPixelCoord. Returns false, with Pixel untouched, when Value
// is not finite.
bool RealToPixel(double Value, int32_t& Pixel);

// Round half to even of a value that is expected to be finite; not finite gives 0.
int32_t RoundPixel(double Value);

// Control pixel to map image pixel for the view TopLeft (map image pixels) and Magnification
// (control pixels per map image pixel, > 0).
TPoint ControlToMapImage(TPoint APoint, TPoint TopLeft, double Magnification);
// Map image pixel to control pixel.
TPoint MapImageToControl(TPoint APoint, TPoint TopLeft, double Magnification);
