#include "KVL_geomap_types.h"

#include <cctype>

#include "KVL_utf8.h"

namespace {

// Unicode code points of the Windows-1252 bytes 0x80 ... 0x9F. The five bytes the code page
// leaves undefined map to the C1 control of the same value, as Windows itself converts them.
constexpr char32_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char kUnrepresentable = '?';

char CodePointToCp1252(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == cp) return static_cast<char>(0x80 + i);
  }
  return kUnrepresentable;
}

constexpr const char* kModelNames[] = {"parabolicip",       "biquadraticpn", "conicconformal",
                                       "millercylindrical", "equirect",      "utm",
                                       "undefined"};

}  // namespace

const char* CalibModelName(TCalibModel Model) {
  return Model <= cmUndefined ? kModelNames[Model] : kModelNames[cmUndefined];
}

TCalibModel CalibModelFromName(const std::string& Name) {
  std::string lower;
  for (const char c : Name) lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  for (int m = cmParabolicIp; m < cmUndefined; ++m) {
    if (lower == kModelNames[m]) return static_cast<TCalibModel>(m);
  }
  return cmUndefined;
}

std::string Utf8ToCp1252(const std::string& Utf8, std::size_t Limit) {
  std::string out;
  std::size_t pos = 0;
  while (pos < Utf8.size() && out.size() < Limit) {
    const std::size_t len = Utf8CharLength(Utf8, pos);
    // A stray byte that starts no sequence is unrepresentable like any other foreign character.
    const bool wellFormed = len > 1 || static_cast<unsigned char>(Utf8[pos]) < 0x80;
    out += wellFormed ? CodePointToCp1252(Utf8Decode(Utf8, pos, len)) : kUnrepresentable;
    pos += len;
  }
  return out;
}

std::string Cp1252ToUtf8(const std::string& Bytes) {
  std::string out;
  for (const char c : Bytes) {
    const auto b = static_cast<unsigned char>(c);
    Utf8Append(out, (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : char32_t{b});
  }
  return out;
}
