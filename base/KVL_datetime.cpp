// ScanDateTime and FormatDateTime of KVL_stringl.h: date-time values as days since 30 December
// 1899 with the time of day as the fraction, laid out by patterns of field letters.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <string_view>

#include "KVL_stringl.h"

namespace {

using namespace std::chrono;

constexpr std::string_view kFieldLetters = "ymdHMS";
enum TField { fYear, fMonth, fDay, fHour, fMinute, fSecond, fCount };

constexpr int kMinYear = 1;
constexpr int kMaxYear = 9999;
constexpr int64_t kSecondsPerDay = 86400;
constexpr int64_t kFieldCap = 1'000'000'000;  // beyond any valid field; keeps long runs bounded
constexpr sys_days kEpoch = sys_days{year{1899} / December / 30};

// One step of a pattern: a run of Length field letters, or a literal character.
struct TPatternItem {
  int Field = fCount;  // fCount for a literal
  size_t Length = 1;
  char Literal = 0;
};

TPatternItem NextItem(const std::string& pattern, size_t at) {
  TPatternItem item;
  const size_t field = kFieldLetters.find(pattern[at]);
  if (field == std::string_view::npos) {
    item.Literal = pattern[at];
    return item;
  }
  item.Field = static_cast<int>(field);
  while (at + item.Length < pattern.size() && pattern[at + item.Length] == pattern[at]) {
    ++item.Length;
  }
  return item;
}

double Compose(const year_month_day& date, int64_t secondsOfDay) {
  const double days = static_cast<double>((sys_days{date} - kEpoch).count());
  const double time = static_cast<double>(secondsOfDay) / kSecondsPerDay;
  return days >= 0 ? days + time : days - time;
}

}  // namespace

TDateTime ScanDateTime(const std::string& Text, int32_t& Pos, const std::string& Pattern,
                       int32_t /*Options*/, bool& Failed) {
  Failed = true;
  if (Pos < 1) return 0.0;
  int64_t fields[fCount] = {1899, 12, 30, 0, 0, 0};
  size_t at = static_cast<size_t>(Pos) - 1;
  for (size_t p = 0; p < Pattern.size();) {
    const TPatternItem item = NextItem(Pattern, p);
    p += item.Length;
    if (item.Field == fCount) {
      if (at >= Text.size() || Text[at] != item.Literal) return 0.0;
      ++at;
      continue;
    }
    int64_t value = 0;
    for (size_t i = 0; i < item.Length; ++i, ++at) {
      if (at >= Text.size() || Text[at] < '0' || Text[at] > '9') return 0.0;
      value = std::min(value * 10 + (Text[at] - '0'), kFieldCap);
    }
    fields[item.Field] = value;
  }
  const year_month_day date{year{static_cast<int>(std::min<int64_t>(fields[fYear], kMaxYear + 1))},
                            month{static_cast<unsigned>(std::min<int64_t>(fields[fMonth], 13))},
                            day{static_cast<unsigned>(std::min<int64_t>(fields[fDay], 32))}};
  if (fields[fYear] < kMinYear || fields[fYear] > kMaxYear || !date.ok() || fields[fHour] > 23 ||
      fields[fMinute] > 59 || fields[fSecond] > 59) {
    return 0.0;
  }
  Failed = false;
  Pos = static_cast<int32_t>(std::min<size_t>(at + 1, INT32_MAX));
  return Compose(date, fields[fHour] * 3600 + fields[fMinute] * 60 + fields[fSecond]);
}

std::string FormatDateTime(const std::string& Pattern, TDateTime Value) {
  if (!std::isfinite(Value)) return {};
  // The whole days count toward zero; the fraction is the time of day on either side of 1899.
  double whole = std::trunc(Value);
  int64_t seconds = std::llround(std::fabs(Value - whole) * kSecondsPerDay);
  if (seconds == kSecondsPerDay) {
    whole += 1.0;
    seconds = 0;
  }
  constexpr double kDayRange = 3'000'000.0;  // wider than years 1..9999 around 1899
  if (std::fabs(whole) > kDayRange) return {};
  const year_month_day date{kEpoch + days{static_cast<int64_t>(whole)}};
  if (static_cast<int>(date.year()) < kMinYear || static_cast<int>(date.year()) > kMaxYear) return {};
  const int64_t fields[fCount] = {static_cast<int>(date.year()),
                                  static_cast<unsigned>(date.month()),
                                  static_cast<unsigned>(date.day()),
                                  seconds / 3600,
                                  seconds / 60 % 60,
                                  seconds % 60};
  std::string text;
  for (size_t p = 0; p < Pattern.size();) {
    const TPatternItem item = NextItem(Pattern, p);
    p += item.Length;
    if (item.Field == fCount) {
      text += item.Literal;
      continue;
    }
    // Exactly Length digits: zero-padded, or the lowest digits of a longer number.
    std::string digits(item.Length, '0');
    int64_t value = fields[item.Field];
    for (size_t i = item.Length; i-- > 0 && value > 0; value /= 10) {
      digits[i] = static_cast<char>('0' + value % 10);
    }
    text += digits;
  }
  return text;
}
