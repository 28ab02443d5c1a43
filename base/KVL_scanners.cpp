// The scanners of KVL_stringl.h that read numbers at a moving 1-based position.
#include <algorithm>
#include <cstdint>
#include <charconv>
#include <cmath>
#include <system_error>

#include "KVL_stringl.h"

namespace {

constexpr double kFloatLimit = 1.7e308;
constexpr int32_t kExponentCut = 4200;  // larger exponents are out of any range anyway

bool InText(const std::string& text, int32_t pos) {
  return pos >= 1 && static_cast<size_t>(pos) <= text.size();
}

char At(const std::string& text, int32_t pos) { return text[static_cast<size_t>(pos) - 1]; }

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// ---- the ScanFloat state machine ----

enum TCharClass { ccMark, ccSign, ccBlank, ccDigit, ccExp, ccOther };

constexpr int kFail = -1;
constexpr int kDone = 9;
constexpr int kExpOrDone = 10;  // state 6 when exponents are allowed, else done

// Rows are the states 1..8, columns the character classes in TCharClass order.
constexpr int kTransitions[8][6] = {
    // mark  sign   blank  digit  E           other
    {4,      2,     1,     3,     kFail,      kFail},  // 1 start
    {4,      kFail, kFail, 3,     kFail,      kFail},  // 2 after sign
    {4,      kDone, kDone, 3,     kExpOrDone, kDone},  // 3 integer digits
    {kFail,  kDone, kDone, 5,     kExpOrDone, kDone},  // 4 after mark
    {kFail,  kDone, kDone, 5,     kExpOrDone, kDone},  // 5 fraction digits
    {kFail,  7,     kFail, 8,     kFail,      kDone},  // 6 after E
    {kFail,  kFail, kFail, 8,     kFail,      kDone},  // 7 after exponent sign
    {kDone,  kDone, kDone, 8,     kDone,      kDone},  // 8 exponent digits
};
constexpr int kStateAfterE = 6;
constexpr int kStateExponentDigits = 8;

bool IsMark(char c, int32_t decimalMark) {
  switch (decimalMark) {
    case kDecimalPoint:
      return c == '.';
    case kDecimalComma:
      return c == ',';
    case kDecimalPointOrComma:
      return c == '.' || c == ',';
    default:
      return false;
  }
}

TCharClass Classify(char c, int32_t decimalMark) {
  if (IsMark(c, decimalMark)) return ccMark;
  if (c == '+' || c == '-') return ccSign;
  if (c == ' ') return ccBlank;
  if (IsDigit(c)) return ccDigit;
  if (c == 'E') return ccExp;
  return ccOther;
}

// Decimal exponent of the leading non-zero digit of a collected number such as "-0.012E5".
int64_t Magnitude(const std::string& number) {
  const size_t e = number.find('E');
  const std::string mantissa = number.substr(0, e);
  const size_t point = std::min(mantissa.find('.'), mantissa.size());
  const size_t lead = mantissa.find_first_of("123456789");
  int64_t magnitude = lead < point ? static_cast<int64_t>(point - lead) - 1
                                   : -static_cast<int64_t>(lead - point);
  if (e != std::string::npos) {
    int64_t exponent = 0;
    std::from_chars(number.data() + e + 1 + (number[e + 1] == '+'), number.data() + number.size(),
                    exponent);
    magnitude += exponent;
  }
  return magnitude;
}

// Converts the collected text: blanks, an optional sign, digits with ".", an optional exponent.
double ConvertCollected(std::string collected) {
  collected.erase(0, collected.find_first_not_of(' '));
  bool negative = false;
  if (!collected.empty() && (collected[0] == '+' || collected[0] == '-')) {
    negative = collected[0] == '-';
    collected.erase(0, 1);
  }
  if (!collected.empty() && collected.back() == '.') collected += '0';
  double value = 0.0;
  const auto result =
      std::from_chars(collected.data(), collected.data() + collected.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    value = Magnitude(collected) >= 0 ? kFloatLimit : 0.0;
  }
  value = std::min(value, kFloatLimit);
  return negative ? -value : value;
}

}  // namespace

int32_t ScanInteger(const std::string& Text, int32_t& Pos) {
  if (!InText(Text, Pos)) return 0;
  const auto size = static_cast<int32_t>(std::min<size_t>(Text.size(), INT32_MAX));
  while (Pos < size && At(Text, Pos) == ' ') ++Pos;
  bool negative = false;
  if (At(Text, Pos) == '-' || At(Text, Pos) == '+') {
    negative = At(Text, Pos) == '-';
    ++Pos;
  }
  uint32_t value = 0;  // unsigned, so that overflow wraps
  while (Pos <= size && IsDigit(At(Text, Pos))) {
    value = value * 10u + static_cast<uint32_t>(At(Text, Pos) - '0');
    ++Pos;
  }
  return static_cast<int32_t>(negative ? 0u - value : value);
}

double ScanFloat(const std::string& Text, int32_t& Pos, bool AllowExponent, int32_t DecimalMark) {
  // Behind the text the machine would read one "other" character and fail in its start state.
  if (!InText(Text, Pos)) return 0.0;
  std::string collected;
  int32_t exponent = 0;
  bool exponentCut = false;
  int state = 1;
  size_t index = static_cast<size_t>(Pos) - 1;
  do {
    const char c = index < Text.size() ? AsciiUpper(Text[index]) : 'Z';
    ++index;
    int next = kTransitions[state - 1][Classify(c, DecimalMark)];
    if (next == kExpOrDone) next = AllowExponent ? kStateAfterE : kDone;
    if (next != kFail && next != kDone) {
      if (next == kStateExponentDigits) {
        exponent = std::min(exponent * 10 + (c - '0'), kExponentCut + 1);
      }
      if (!exponentCut) collected += c == ',' ? '.' : c;
      if (exponent > kExponentCut) exponentCut = true;
    }
    state = next;
  } while (state != kFail && state != kDone);
  // Rest on the character that ended the number: the last one examined.
  Pos = static_cast<int32_t>(std::min<size_t>(index, INT32_MAX));
  return state == kDone ? std::clamp(ConvertCollected(collected), -kFloatLimit, kFloatLimit) : 0.0;
}

int32_t ScanHex(const std::string& Text, int32_t& Pos) {
  if (!InText(Text, Pos)) return 0;
  const auto size = static_cast<int32_t>(std::min<size_t>(Text.size(), INT32_MAX));
  while (Pos < size && At(Text, Pos) == ' ') ++Pos;
  if (At(Text, Pos) == '$' || At(Text, Pos) == '#') {
    ++Pos;
  } else if (At(Text, Pos) == '0' && Pos < size && AsciiUpper(At(Text, Pos + 1)) == 'X') {
    Pos += 2;
  }
  uint32_t value = 0;
  while (Pos <= size && HexDigit(At(Text, Pos)) >= 0) {
    value = (value << 4) | static_cast<uint32_t>(HexDigit(At(Text, Pos)));
    ++Pos;
  }
  return static_cast<int32_t>(value);
}
