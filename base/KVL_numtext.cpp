// Number-to-text conversions of KVL_stringl.h. Digits come from std::to_chars, which ignores the
// process locale: a Qt program sets the user's locale at start-up, and "." must stay the mark.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "KVL_stringl.h"

namespace {

// Bounds that keep a careless width or decimal count from allocating without limit; 255 is the
// longest text the fixed-width field ever had.
constexpr int64_t kMaxWidth = 255;
constexpr int32_t kMaxDecimals = 64;
constexpr long double kFixedLimit = 1e36L;  // from here on fixed notation turns scientific
constexpr int32_t kScientificOverhead = 8;  // sign, ".", "E", exponent sign, four digits
constexpr int32_t kMinSignificant = 2;
constexpr int32_t kMaxSignificant = 18;
constexpr int32_t kExponentDigits = 4;
constexpr int32_t kShortExponentDigits = 2;
constexpr int32_t kDecimalsShortExponent = -2;

constexpr int32_t kMaxDegreeDecimals = 8;
constexpr double kSnapTolerance = 3e-12;  // hides the error of dividing a rounded total again
constexpr double kMinutesPerDegree = 60.0;
constexpr double kSecondsPerDegree = 3600.0;
constexpr double kExactLimit = 4503599627370496.0;  // 2^52: doubles from here on are integers
constexpr char kDegreeSign[] = "\u00B0";

std::string PadLeft(std::string text, int64_t width) {
  if (static_cast<int64_t>(text.size()) < width) {
    text.insert(0, static_cast<size_t>(width) - text.size(), ' ');
  }
  return text;
}

// Scientific form with a four-digit exponent: " 1.2340E+0003", right-aligned in Width.
std::string Scientific(long double value, int64_t width) {
  const int32_t significant = static_cast<int32_t>(
      std::clamp<int64_t>(width - kScientificOverhead, kMinSignificant, kMaxSignificant));
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                    std::chars_format::scientific, significant - 1);
  const std::string digits(buffer, result.ptr);
  const size_t e = digits.find('e');
  const int exponent = std::atoi(digits.c_str() + e + 1);
  std::string exponentText = std::to_string(std::abs(exponent));
  exponentText.insert(0, kExponentDigits - std::min<size_t>(exponentText.size(), kExponentDigits),
                      '0');
  std::string text = value < 0 ? "-" : " ";
  text += digits.substr(0, e);
  text += 'E';
  text += exponent < 0 ? '-' : '+';
  text += exponentText;
  return PadLeft(text, width);
}

// The two-digit exponent form; a value that needs more exponent digits becomes all "*".
std::string ShortScientific(long double value, int64_t width) {
  std::string text = Scientific(value, width + (kExponentDigits - kShortExponentDigits));
  const size_t at = text.size() - kExponentDigits;
  const bool fits = text[at] == '0' && text[at + 1] == '0';
  text.erase(at, kExponentDigits - kShortExponentDigits);
  if (!fits) text.assign(text.size(), '*');
  return text;
}

std::string Fixed(long double value, int32_t decimals, int64_t width) {
  char buffer[128];  // below 1e36: at most 36 digits, the point, 64 decimals and a sign
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
  return PadLeft(std::string(buffer, result.ptr), width);
}

std::string NonFinite(long double value, int64_t width) {
  if (std::isnan(value)) return PadLeft("NAN", width);
  return PadLeft(value < 0 ? "-INF" : "INF", width);
}

// Leading blanks become zeros, and a minus sign behind them moves to the front.
void ZeroFill(std::string& text) {
  const size_t blanks = text.find_first_not_of(' ');
  if (blanks == std::string::npos) return;
  std::fill_n(text.begin(), blanks, '0');
  if (text[blanks] == '-') {
    text[blanks] = '0';
    text[0] = '-';
  }
}

// Rounds half away from zero to the given number of decimals.
double RoundTo(double value, int32_t decimals) {
  const double scale = std::pow(10.0, decimals);
  const double scaled = value * scale;
  if (!std::isfinite(scaled) || std::fabs(scaled) >= kExactLimit) return value;
  return std::round(scaled) / scale;
}

double SnapToInteger(double value) {
  const double nearest = std::nearbyint(value);
  return std::fabs(value - nearest) < kSnapTolerance ? nearest : value;
}

// The integer part toward zero; "-0" keeps the sign of values between -1 and 0.
std::string WholeDegrees(double d) {
  const double whole = std::trunc(d);
  const std::string text = FormatFixedWidth(1, 0, whole);
  return (d < 0 && whole == 0) ? "-" + text : text;
}

std::string DegreesMinutes(double value, int32_t decimals) {
  const double d =
      SnapToInteger(RoundTo(value * kMinutesPerDegree, decimals) / kMinutesPerDegree);
  double whole = 0.0;
  const double minutes = std::modf(std::fabs(d), &whole) * kMinutesPerDegree;
  return WholeDegrees(d) + kDegreeSign + " " + FormatFixedWidth(decimals + 3, decimals, minutes) +
         "'";
}

std::string DegreesMinutesSeconds(double value, int32_t decimals) {
  const double d =
      SnapToInteger(RoundTo(value * kSecondsPerDegree, decimals) / kSecondsPerDegree);
  double whole = 0.0;
  const double minutes = SnapToInteger(std::modf(std::fabs(d), &whole) * kMinutesPerDegree);
  double wholeMinutes = 0.0;
  const double seconds = std::modf(minutes, &wholeMinutes) * kMinutesPerDegree;
  return WholeDegrees(d) + kDegreeSign + " " + FormatFixedWidth(2, 0, wholeMinutes) + "' " +
         FormatFixedWidth(decimals + 3, decimals, seconds) + "\"";
}

}  // namespace

std::string FormatFixedWidth(int32_t Width, int32_t Decimals, long double Value) {
  const int64_t width = std::min<int64_t>(std::abs(static_cast<int64_t>(Width)), kMaxWidth);
  if (!std::isfinite(Value)) return NonFinite(Value, width);
  Value += 0.0L;  // a negative zero prints as zero
  std::string text;
  if (Decimals == kDecimalsShortExponent) {
    text = ShortScientific(Value, width);
  } else if (Decimals < 0 || std::fabs(Value) >= kFixedLimit) {
    text = Scientific(Value, width);
  } else {
    text = Fixed(Value, std::min(Decimals, kMaxDecimals), width);
  }
  if (Width < 0) ZeroFill(text);
  return text;
}

std::string FormatDegrees(int32_t Style, int32_t Decimals, double Value) {
  Decimals = std::clamp(Decimals, 0, kMaxDegreeDecimals);
  switch (Style) {
    case 0:
      return FormatFixedWidth(1, Decimals, Value) + kDegreeSign;
    case 1:
    case 2:
      if (!std::isfinite(Value)) return FormatFixedWidth(1, Decimals, Value) + kDegreeSign;
      return Style == 1 ? DegreesMinutes(Value, Decimals)
                        : DegreesMinutesSeconds(Value, Decimals);
    case 3:
      return FormatFixedWidth(1, Decimals, Value);
    default:
      return {};
  }
}

std::string IntToHexText(uint32_t Value, uint8_t Count) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  constexpr int kBitsPerDigit = 4;
  const int count = std::clamp<int>(Count, 1, 8);
  std::string text(static_cast<size_t>(count), '0');
  for (int i = count - 1; i >= 0; --i) {
    text[static_cast<size_t>(i)] = kDigits[Value & 0xFu];
    Value >>= kBitsPerDigit;
  }
  return text;
}

std::string BoolToText(bool Value, int32_t Style) {
  struct TPair {
    const char* True;
    const char* False;
  };
  static constexpr TPair kStyles[] = {{"TRUE", "FALSE"}, {"T", "F"},   {".T.", ".F."},
                                      {"1", "0"},        {"-1", "0"}, {"FF", "00"}};
  const TPair& pair = (Style >= 0 && Style <= 5) ? kStyles[Style] : kStyles[0];
  return Value ? pair.True : pair.False;
}
