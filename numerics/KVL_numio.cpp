#include "KVL_numio.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace {

constexpr std::size_t kWordBufferBytes = 64 * 1024;

bool IsSeparator(char c) { return static_cast<unsigned char>(c) <= ' '; }

// from_chars takes no leading "+"; a "+" before a second sign stays and fails the parse.
std::string_view WithoutPlus(std::string_view Word) {
  if (Word.size() > 1 && Word[0] == '+' && Word[1] != '-' && Word[1] != '+') Word.remove_prefix(1);
  return Word;
}

}  // namespace

int64_t RangeLength(int32_t First, int32_t Last) {
  if (First < 1 || static_cast<int64_t>(Last) < static_cast<int64_t>(First) - 1) return -1;
  return static_cast<int64_t>(Last) - First + 1;
}

bool TWordReader::Fill() {
  if (FBuffer.empty()) FBuffer.resize(kWordBufferBytes);
  FPos = 0;
  FEnd = FSource.Read(FBuffer.data(), FBuffer.size());
  FBytesRead += static_cast<int64_t>(FEnd);
  return FEnd > 0;
}

bool TWordReader::Next(std::string& Word) {
  Word.clear();
  for (;;) {  // skip separators
    if (FPos == FEnd && !Fill()) return false;
    while (FPos < FEnd && IsSeparator(FBuffer[FPos])) ++FPos;
    if (FPos < FEnd) break;
  }
  for (;;) {
    while (FPos < FEnd && !IsSeparator(FBuffer[FPos])) {
      if (Word.size() <= kMaxNumberWordLength) Word.push_back(FBuffer[FPos]);
      ++FPos;
    }
    if (FPos < FEnd || !Fill()) return true;
  }
}

bool ParseIntWord(std::string_view Word, int32_t& Value) {
  if (Word.size() > kMaxNumberWordLength) return false;
  Word = WithoutPlus(Word);
  int32_t v = 0;
  const auto [end, error] = std::from_chars(Word.data(), Word.data() + Word.size(), v);
  if (Word.empty() || error != std::errc() || end != Word.data() + Word.size()) return false;
  Value = v;
  return true;
}

bool ParseRealWord(std::string_view Word, double& Value) {
  if (Word.size() > kMaxNumberWordLength) return false;
  Word = WithoutPlus(Word);
  double v = 0;
  const auto [end, error] = std::from_chars(Word.data(), Word.data() + Word.size(), v);
  if (Word.empty() || error != std::errc() || end != Word.data() + Word.size()) return false;
  Value = v;
  return true;
}

bool ParseRoundedIntWord(std::string_view Word, int32_t& Value) {
  double v = 0;
  if (!ParseRealWord(Word, v)) return false;
  const double rounded = std::nearbyint(v);
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max()))
    return false;  // also NaN
  Value = static_cast<int32_t>(rounded);
  return true;
}

std::string ExactNumberText(double Value) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, Value);
  return std::string(text, result.ptr);
}

bool ExtendedToIndex(long double Value, int32_t& Index) {
  const long double rounded = std::nearbyint(Value);
  if (!(rounded >= std::numeric_limits<int32_t>::min() &&
        rounded <= std::numeric_limits<int32_t>::max()))
    return false;
  Index = static_cast<int32_t>(rounded);
  return true;
}

namespace {

void CheckStreamWrite(bool Written) {
  if (!Written) throw EFileError("cannot write to stream: it took fewer bytes than given");
}

}  // namespace

void WriteRawItem(TStream& Stream, double Value) {
  CheckStreamWrite(WriteExtendedToStream(Stream, Value));
}

void WriteRawItem(TStream& Stream, int32_t Value) {
  CheckStreamWrite(WriteIntToStream(Stream, Value));
}

bool ReadRawItem(TStream& Stream, double& Value) {
  bool failed = false;
  const long double value = ReadExtendedFromStream(Stream, failed);
  if (!failed) Value = static_cast<double>(value);
  return !failed;
}

bool ReadRawItem(TStream& Stream, int32_t& Value) {
  bool failed = false;
  const int32_t value = ReadIntFromStream(Stream, failed);
  if (!failed) Value = value;
  return !failed;
}
