#include "KVL_utf8.h"

namespace {

bool IsContinuation(unsigned char c) { return (c & 0xC0u) == 0x80u; }

constexpr char32_t kReplacement = 0xFFFD;

}  // namespace

size_t Utf8CharLength(const std::string& Text, size_t Index) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(Text[i]); };
  const unsigned char lead = at(Index);
  size_t length = 1;
  // The allowed range of the second byte refuses overlong forms, surrogates and code points
  // above U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead < 0x80) return 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 1;
  }
  if (Index + length > Text.size()) return 1;
  if (at(Index + 1) < low || at(Index + 1) > high) return 1;
  for (size_t i = 2; i < length; ++i) {
    if (!IsContinuation(at(Index + i))) return 1;
  }
  return length;
}

char32_t Utf8Decode(const std::string& Text, size_t Index, size_t Length) {
  const auto at = [&](size_t i) { return static_cast<unsigned char>(Text[i]); };
  if (Length == 1) return at(Index);
  static constexpr unsigned char kLeadMask[] = {0, 0, 0x1F, 0x0F, 0x07};
  char32_t cp = at(Index) & kLeadMask[Length];
  for (size_t i = 1; i < Length; ++i) cp = (cp << 6) | (at(Index + i) & 0x3Fu);
  return cp;
}

void Utf8Append(std::string& Out, char32_t CodePoint) {
  if ((CodePoint >= 0xD800 && CodePoint <= 0xDFFF) || CodePoint > 0x10FFFF) {
    CodePoint = kReplacement;
  }
  const auto put = [&](char32_t byte) { Out.push_back(static_cast<char>(byte)); };
  if (CodePoint < 0x80) {
    put(CodePoint);
  } else if (CodePoint < 0x800) {
    put(0xC0 | (CodePoint >> 6));
    put(0x80 | (CodePoint & 0x3F));
  } else if (CodePoint < 0x10000) {
    put(0xE0 | (CodePoint >> 12));
    put(0x80 | ((CodePoint >> 6) & 0x3F));
    put(0x80 | (CodePoint & 0x3F));
  } else {
    put(0xF0 | (CodePoint >> 18));
    put(0x80 | ((CodePoint >> 12) & 0x3F));
    put(0x80 | ((CodePoint >> 6) & 0x3F));
    put(0x80 | (CodePoint & 0x3F));
  }
}
