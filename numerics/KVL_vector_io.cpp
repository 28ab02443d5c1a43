// Vector text files and raw streams (layouts in docs/MATRIX_FORMATS.md).
#include <cmath>
#include <memory>
#include <optional>

#include "KVL_numio.h"
#include "KVL_stringl.h"
#include "KVL_textfile.h"
#include "KVL_vector.h"

namespace {

// Precision of TVector::StoreOnFile: decimals of the fixed notation, or a scientific width.
constexpr int32_t kMaxPrecision = 20;
constexpr int32_t kPrecisionBelowRange = 2;
constexpr int32_t kShortScientific = -1;
constexpr int32_t kShortScientificWidth = 13;  // 5 significant digits
constexpr int32_t kLongScientificWidth = 26;   // 18 significant digits
constexpr int32_t kScientificDecimals = -1;    // FormatFixedWidth: scientific, 4-digit exponent

std::string PrecisionText(int32_t Precision, double Value) {
  if (Precision >= 0) return FormatFixedWidth(1, Precision, Value);
  const int32_t width =
      Precision == kShortScientific ? kShortScientificWidth : kLongScientificWidth;
  return FormatFixedWidth(width, kScientificDecimals, Value);
}

int32_t AdjustPrecision(int32_t Precision) {
  if (Precision > kMaxPrecision) return kMaxPrecision;
  if (Precision < -2) return kPrecisionBelowRange;
  return Precision;
}

// Writes the text file of StoreOnFile; false when it cannot be written (the old file is kept).
template <typename T, typename Format>
bool StoreVectorText(const TVectorCore<T>& Vec, int32_t FirstElem, int32_t LastElem,
                     const std::string& FileName, Format&& ValueText) {
  if (LastElem < FirstElem) std::swap(FirstElem, LastElem);
  if (FirstElem < 1) FirstElem = 1;
  if (LastElem > Vec.NrOfElem()) LastElem = Vec.NrOfElem();
  try {
    WriteTextFileAtomically(FileName, [&](TTextFile& File) {
      File.WriteLine(std::to_string(FirstElem) + ' ' + std::to_string(LastElem));
      for (int64_t i = FirstElem; i <= LastElem; ++i)
        File.WriteLine(ValueText(Vec.Element(static_cast<int32_t>(i))));
    });
  } catch (const EFileError&) {
    return false;
  }
  return true;
}

bool ReadTextValue(std::string_view Word, double& Value) { return ParseRealWord(Word, Value); }
// Integer vectors read reals and round them, so that a file of TVector loads too.
bool ReadTextValue(std::string_view Word, int32_t& Value) {
  return ParseRoundedIntWord(Word, Value);
}

// Whether a header First .. Last with room for Capacity values and a source of SourceBytes
// bytes may be loaded into Vec: a proper range whose values the source can hold, and with
// Adjust a new size the source justifies (shrinking needs no justification).
template <typename T>
bool HeaderAcceptable(const TVectorCore<T>& Vec, int32_t First, int32_t Last, int64_t Capacity,
                      int64_t SourceBytes, bool Adjust) {
  const int64_t count = RangeLength(First, Last);
  if (count < 0 || count > Capacity) return false;
  return !Adjust || Last <= Vec.NrOfElem() ||
         AllocationJustified(static_cast<uint64_t>(Last), SourceBytes);
}

}  // namespace

bool TVector::StoreOnFile(int32_t FirstElem, int32_t LastElem, int32_t Precision,
                          const std::string& FileName) const {
  const int32_t precision = AdjustPrecision(Precision);
  return StoreVectorText(*this, FirstElem, LastElem, FileName,
                         [precision](double v) { return PrecisionText(precision, v); });
}

bool TIntVector::StoreOnFile(int32_t FirstElem, int32_t LastElem,
                             const std::string& FileName) const {
  return StoreVectorText(*this, FirstElem, LastElem, FileName,
                         [](int32_t v) { return std::to_string(v); });
}

template <typename T>
bool TVectorCore<T>::LoadFromFile(const std::string& FileName, bool AdjustVectorSize) {
  std::unique_ptr<TFileStream> file;
  try {
    file = std::make_unique<TFileStream>(FileName, fmOpenRead);
  } catch (const EFileError&) {
    return false;
  }
  bool result = false;
  try {
    const int64_t size = file->Size();
    TWordReader words(*file);
    std::string word;
    int32_t first = 0;
    int32_t last = 0;
    if (!words.Next(word) || !ParseIntWord(word, first) || !words.Next(word) ||
        !ParseIntWord(word, last))
      return false;
    const int64_t capacity = TextValueCapacity(size - words.BytesConsumed());
    if (HeaderAcceptable(*this, first, last, capacity, size, AdjustVectorSize)) {
      // Read everything first: a file that ends early changes nothing. An empty entry stands
      // for a word that is no number, whose element keeps its value.
      const int64_t count = RangeLength(first, last);
      std::vector<std::optional<T>> values;
      values.reserve(static_cast<size_t>(count));
      while (static_cast<int64_t>(values.size()) < count && words.Next(word)) {
        T value{};
        values.push_back(ReadTextValue(word, value) ? std::optional<T>(value) : std::nullopt);
      }
      if (static_cast<int64_t>(values.size()) == count) {
        if (AdjustVectorSize) Resize(last);
        if (FNElem >= last) {
          result = true;
          for (int64_t k = 0; k < count; ++k)
            if (const std::optional<T>& value = values[static_cast<size_t>(k)])
              SetElement(static_cast<int32_t>(first + k), *value);
        }
      }
    }
  } catch (const EFileError&) {
    result = false;
  }
  Changed();
  return result;
}

template <typename T>
void TVectorCore<T>::SaveToStream(std::unique_ptr<TMemoryStream>& OutStream, int32_t LowElem,
                                  int32_t HighElem) const {
  if (!OutStream) OutStream = std::make_unique<TMemoryStream>();
  SaveToStream(*OutStream, LowElem, HighElem);
}

template <typename T>
void TVectorCore<T>::SaveToStream(TStream& OutStream, int32_t LowElem, int32_t HighElem) const {
  ClampRangeZeroAll(LowElem, HighElem, FNElem);
  WriteRawItem(OutStream, static_cast<T>(LowElem));
  WriteRawItem(OutStream, static_cast<T>(HighElem));
  for (int64_t i = LowElem; i <= HighElem; ++i) WriteRawItem(OutStream, FVec[i - 1]);
}

template <typename T>
bool TVectorCore<T>::LoadFromStream(TStream* InStream, bool AdjustVectorSize) {
  if (!InStream) return false;
  bool result = false;
  try {
    const int64_t start = InStream->Position();
    int32_t first = 0;
    int32_t last = 0;
    if (!ReadRawIndex<T>(*InStream, first) || !ReadRawIndex<T>(*InStream, last)) return false;
    const int64_t remaining = InStream->Size() - InStream->Position();
    const int64_t capacity = remaining / RawItemBytes(T{});
    if (HeaderAcceptable(*this, first, last, capacity, InStream->Size() - start,
                         AdjustVectorSize)) {
      if (AdjustVectorSize) Resize(last);
      if (FNElem >= last) {
        result = true;
        for (int64_t i = first; i <= last; ++i) {
          T value{};
          if (ReadRawItem(*InStream, value)) {
            SetElement(static_cast<int32_t>(i), value);
          } else {
            result = false;
          }
        }
      }
    }
  } catch (const EFileError&) {
    result = false;
  }
  Changed();
  return result;
}

#define VELMO_VECTOR_IO(T)                                                                      \
  template bool TVectorCore<T>::LoadFromFile(const std::string&, bool);                         \
  template void TVectorCore<T>::SaveToStream(std::unique_ptr<TMemoryStream>&, int32_t, int32_t) \
      const;                                                                                    \
  template void TVectorCore<T>::SaveToStream(TStream&, int32_t, int32_t) const;                 \
  template bool TVectorCore<T>::LoadFromStream(TStream*, bool);
VELMO_VECTOR_IO(double)
VELMO_VECTOR_IO(int32_t)
#undef VELMO_VECTOR_IO
