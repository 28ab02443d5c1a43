// Reading numbers from an input line and writing them back, independent of the locale.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace geomap {

// The finite decimal numbers of a line separated by blanks, tabs or commas; nullopt when any field
// is not such a number.
std::optional<std::vector<double>> ParseNumbers(std::string_view line);

// One number from a whole text (an option value); nullopt unless it is exactly an integer.
std::optional<int> ParseInteger(std::string_view text);

// The value as a 32-bit integer when it is a whole number in range (a pixel position).
std::optional<int32_t> WholeNumber(double value);

// Value with a fixed number of decimals, "." as decimal mark, and no sign on a value that shows as
// zero.
std::string FormatFixed(double value, int decimals);

}  // namespace geomap
