// The scanners, the quoted-name parser and the number formatters on arbitrary bytes. The first
// bytes choose the parameters, the rest is the text; results must stay in their documented range.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "KVL_stringl.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckPos(int32_t pos, int32_t start, const std::string& text) {
  Check(pos == start || (pos >= 1 && static_cast<size_t>(pos) <= text.size() + 1));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 2 + 8 + 10;  // options, double, extended
  if (size < kHeader) return 0;
  const int8_t width = static_cast<int8_t>(data[0]);
  const int8_t decimals = static_cast<int8_t>(data[1]);
  double d = 0.0;
  std::memcpy(&d, data + 2, sizeof d);
  long double x = 0.0L;
  std::memcpy(&x, data + 10, 10);
  const std::string text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
  const int32_t start = 1 + (data[0] & 3);

  int32_t pos = start;
  ScanInteger(text, pos);
  CheckPos(pos, start, text);
  pos = start;
  const double f = ScanFloat(text, pos, data[1] & 1, data[1] & 3);
  Check(std::fabs(f) <= 1.7e308);
  CheckPos(pos, start, text);
  pos = start;
  ScanHex(text, pos);
  CheckPos(pos, start, text);
  pos = start;
  bool failed = false;
  const double when = ScanDateTime(text, pos, "yyyymmddHHMMSS", 0, failed);
  if (!failed) Check(FormatDateTime("yyyymmddHHMMSS", when) == text.substr(start - 1, 14));

  std::string name;
  TQuotedStrState state = vsStart;
  for (const char c : text) ParseQuotedName(c, '"', name, state);
  Check(name.size() <= text.size());

  Check(ReplaceUnsafeChars(text).size() <= text.size());
  Check(TrimBlanks(text).size() <= text.size());
  Check(NthPos("\"", text, start, true, 2) <= static_cast<int32_t>(text.size()));

  Check(FormatFixedWidth(width, decimals, x).size() <= 512);
  Check(FormatFixedWidth(width, -2, x).size() <= 512);
  Check(FormatDegrees(data[0] & 3, decimals, d).size() <= 512);
  return 0;
}
