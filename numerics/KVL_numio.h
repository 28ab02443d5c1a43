// Pieces shared by the vector and matrix file formats: a reader of the white-space separated
// words of a byte source, the number texts those formats write and read, and the limits that
// keep a loader from allocating more than its source can justify.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

#include "KVL_bytestream.h"
#include "KVL_univconst.h"

// Every number in a text format takes at least one character and one separator (the last one
// may lack its separator): a source of N bytes holds at most (N + 1) / 2 numbers.
inline constexpr int64_t kMinTextBytesPerValue = 2;
// The most elements a loader may allocate per byte of its source. A block need not start at
// index 1, so a file may ask for more elements than it holds values; the factor keeps a small
// file from demanding gigabytes. A short range far from index 1 (say elements 10^6 .. 10^6 + 9)
// therefore loads only into an object that is large enough already.
inline constexpr int64_t kMaxElementsPerSourceByte = 8;
// A word longer than this is no number any format writes; it is read up to here and refused.
inline constexpr std::size_t kMaxNumberWordLength = 64;

// The most numbers a text of Bytes bytes can hold.
inline int64_t TextValueCapacity(int64_t Bytes) {
  return Bytes <= 0 ? 0 : (Bytes + 1) / kMinTextBytesPerValue;
}

// True when a source of SourceBytes bytes justifies storage of Elements elements.
inline bool AllocationJustified(uint64_t Elements, int64_t SourceBytes) {
  return SourceBytes > 0 &&
         Elements <= static_cast<uint64_t>(SourceBytes) * kMaxElementsPerSourceByte;
}

// A loop index known to lie in the 32-bit range; loops over 1-based ranges run in 64 bits so
// that a range ending at INT32_MAX cannot overflow their counter.
inline int32_t Index32(int64_t Index) { return static_cast<int32_t>(Index); }

// Number of indices First .. Last for a range with 1 <= First and First - 1 <= Last (the latter
// being an empty range); -1 for any other pair.
int64_t RangeLength(int32_t First, int32_t Last);

// Reads the words (runs of bytes above the blank) of a byte stream from its position, through
// a buffer; control bytes and blanks separate words.
class TWordReader {
 public:
  explicit TWordReader(TStream& Source) : FSource(Source) {}
  // The next word, cut to kMaxNumberWordLength + 1 bytes; false at the end of the source.
  bool Next(std::string& Word);
  // Bytes of the source consumed so far (those read ahead into the buffer not counted).
  int64_t BytesConsumed() const { return FBytesRead - static_cast<int64_t>(FEnd - FPos); }

 private:
  bool Fill();

  TStream& FSource;
  std::vector<char> FBuffer;
  std::size_t FPos = 0;
  std::size_t FEnd = 0;
  int64_t FBytesRead = 0;
};

// Parsers of single words; each is false (Value untouched) unless the whole word is the number.
// A decimal integer with an optional sign, within the 32-bit range.
bool ParseIntWord(std::string_view Word, int32_t& Value);
// A real in fixed or scientific notation with "." as decimal mark and an optional sign; "NAN",
// "INF" and "-INF" (any case) as FormatFixedWidth writes them; false beyond the double range.
bool ParseRealWord(std::string_view Word, double& Value);
// A real rounded half to even, which must be finite and within the 32-bit range.
bool ParseRoundedIntWord(std::string_view Word, int32_t& Value);
inline bool ParseNumberWord(std::string_view Word, double& Value) {
  return ParseRealWord(Word, Value);
}
inline bool ParseNumberWord(std::string_view Word, int32_t& Value) {
  return ParseIntWord(Word, Value);
}

// The shortest text that reads back as the same double ("0.1", "-2.5e-300", "inf", "nan").
std::string ExactNumberText(double Value);
inline std::string ExactNumberText(int32_t Value) { return std::to_string(Value); }

// An index stored as an extended float in the vector and matrix streams, rounded half to even;
// false unless it is finite and within the 32-bit range.
bool ExtendedToIndex(long double Value, int32_t& Index);

// Items of the raw vector and matrix streams: a 10-byte extended float for the real classes
// (the indices included), a 4-byte integer for the integer classes. Writes throw EFileError when
// the stream takes fewer bytes; reads are false when the stream ends first.
inline constexpr int64_t RawItemBytes(double) { return 10; }
inline constexpr int64_t RawItemBytes(int32_t) { return 4; }
void WriteRawItem(TStream& Stream, double Value);
void WriteRawItem(TStream& Stream, int32_t Value);
bool ReadRawItem(TStream& Stream, double& Value);
bool ReadRawItem(TStream& Stream, int32_t& Value);
// An index item of a stream of element type T; false also for an extended float that does not
// round to a 32-bit integer.
template <typename T>
bool ReadRawIndex(TStream& Stream, int32_t& Index) {
  bool failed = false;
  if constexpr (std::is_same_v<T, double>) {
    const long double value = ReadExtendedFromStream(Stream, failed);
    return !failed && ExtendedToIndex(value, Index);
  } else {
    const int32_t value = ReadIntFromStream(Stream, failed);
    if (!failed) Index = value;
    return !failed;
  }
}

// Holds back the OnChange handler of Obj while it lives, so that a loader that resizes and then
// fills an object notifies once, when it is done.
template <typename TObj>
class TChangeSilencer {
 public:
  explicit TChangeSilencer(TObj& Obj) : FObj(Obj), FHandler(Obj.OnChange()) {
    Obj.SetOnChange(nullptr);
  }
  ~TChangeSilencer() { FObj.SetOnChange(std::move(FHandler)); }
  TChangeSilencer(const TChangeSilencer&) = delete;
  TChangeSilencer& operator=(const TChangeSilencer&) = delete;

 private:
  TObj& FObj;
  std::remove_cvref_t<decltype(std::declval<TObj&>().OnChange())> FHandler;
};
