#include "text_fields.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace geomap {

namespace {

bool IsSeparator(char c) { return c == ' ' || c == '\t' || c == ','; }

}  // namespace

std::optional<std::vector<double>> ParseNumbers(std::string_view line) {
  std::vector<double> numbers;
  std::size_t pos = 0;
  while (true) {
    while (pos < line.size() && IsSeparator(line[pos])) ++pos;
    if (pos == line.size()) return numbers;
    std::size_t end = pos;
    while (end < line.size() && !IsSeparator(line[end])) ++end;
    std::string_view field = line.substr(pos, end - pos);
    if (field.size() > 1 && field[0] == '+' && field[1] != '-') field.remove_prefix(1);
    double value = 0;
    const auto [last, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || last != field.data() + field.size() || !std::isfinite(value)) {
      return std::nullopt;
    }
    numbers.push_back(value);
    pos = end;
  }
}

std::optional<int> ParseInteger(std::string_view text) {
  int value = 0;
  const auto [last, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || last != text.data() + text.size() || text.empty()) return std::nullopt;
  return value;
}

std::optional<int32_t> WholeNumber(double value) {
  using Limits = std::numeric_limits<int32_t>;
  if (value != std::trunc(value) || value < Limits::min() || value > Limits::max()) {
    return std::nullopt;
  }
  return static_cast<int32_t>(value);
}

std::string FormatFixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string text = buffer;
  if (text[0] == '-' && text.find_first_not_of("-0.") == std::string::npos) text.erase(0, 1);
  return text;
}

}  // namespace geomap
