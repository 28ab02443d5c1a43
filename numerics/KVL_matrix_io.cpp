// Matrix text files and raw streams (layouts in docs/MATRIX_FORMATS.md), and the step that
// every matrix loader ends with: taking the values it has read into the matrix.
#include <algorithm>
#include <memory>

#include "KVL_matrix.h"
#include "KVL_numio.h"

namespace {

// A range of a block to save: clamped with (0, 0) meaning all; empty (1, 0) when the matrix
// has no column or no row.
void NormaliseBlockRange(int32_t& Lo, int32_t& Hi, int32_t Count) {
  if (Count <= 0) {
    Lo = 1;
    Hi = 0;
    return;
  }
  ClampRangeZeroAll(Lo, Hi, Count);
}

uint64_t StorageCells(int32_t Nc, int32_t Nr) {
  return static_cast<uint64_t>(std::max(Nc, 1)) * static_cast<uint64_t>(std::max(Nr, 1));
}

// The block a loader is about to read, checked before anything is allocated.
struct TBlockHeader {
  int32_t LoC = 0, LoR = 0, HiC = 0, HiR = 0;
  int64_t Columns = 0, Rows = 0;

  uint64_t Count() const { return static_cast<uint64_t>(Columns * Rows); }
  // Index of element (c, r) in the block's values, column by column.
  std::size_t At(int64_t c, int64_t r) const {
    return static_cast<std::size_t>((c - LoC) * Rows + (r - LoR));
  }
};

// True when the four bounds form a block whose values fit in Capacity and that Matrix can take:
// with Adjust, storage of (HiC, HiR) that a source of SourceBytes bytes justifies (or no more
// than the matrix has now); without, a matrix that holds the block already.
template <typename T>
bool AcceptBlock(const TMatrixCore<T>& Matrix, TBlockHeader& Block, int64_t Capacity,
                 int64_t SourceBytes, bool Adjust) {
  Block.Columns = RangeLength(Block.LoC, Block.HiC);
  Block.Rows = RangeLength(Block.LoR, Block.HiR);
  if (Block.Columns < 0 || Block.Rows < 0) return false;
  if (Block.Count() > static_cast<uint64_t>(std::max<int64_t>(Capacity, 0))) return false;
  if (!Adjust) return Block.HiC <= Matrix.NrOfColumns() && Block.HiR <= Matrix.NrOfRows();
  const uint64_t cells = StorageCells(Block.HiC, Block.HiR);
  return cells <= StorageCells(Matrix.NrOfColumns(), Matrix.NrOfRows()) ||
         AllocationJustified(cells, SourceBytes);
}

}  // namespace

template <typename T>
void TMatrixCore<T>::StoreLoadedBlock(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR,
                                      const std::vector<T>& Values) {
  auto next = Values.begin();
  if constexpr (kSparseCapable) {
    if (FIsSparse) {
      // Merge the block into the entry list in one ordered pass, into a new list that replaces
      // the old one only when complete.
      const std::vector<TSpMatElemInt>& entries = FSparse.Entries();
      auto entry = entries.begin();
      const auto before = [](const TSpMatElemInt& e, int64_t c, int64_t r) {
        return e.colidx < c || (e.colidx == c && e.rowidx < r);
      };
      TSparseIntStore merged;
      try {
        merged.Reset(FSparse.AllocBy());
        for (int64_t c = LoC; c <= HiC; ++c) {
          for (int64_t r = LoR; r <= HiR; ++r, ++next) {
            for (; entry != entries.end() && before(*entry, c, r); ++entry)
              merged.Append(entry->colidx, entry->rowidx, entry->value);
            const bool present = entry != entries.end() && entry->colidx == c && entry->rowidx == r;
            if (present) ++entry;
            if (*next != 0 || present) merged.Append(Index32(c), Index32(r), *next);
          }
        }
        for (; entry != entries.end(); ++entry)
          merged.Append(entry->colidx, entry->rowidx, entry->value);
      } catch (const std::bad_alloc&) {
        ThrowNoMemory();
      }
      FSparse = std::move(merged);
      return;
    }
  }
  for (int64_t c = LoC; c <= HiC; ++c) {
    T* column = FMat.data() + static_cast<std::size_t>(c - 1) * FStride;
    for (int64_t r = LoR; r <= HiR; ++r, ++next) column[r - 1] = *next;
  }
}

template <typename T>
bool TMatrixCore<T>::StoreOnFile(int32_t LoC, int32_t LoR, int32_t HiC, int32_t HiR,
                                 const std::string& FileName) const {
  NormaliseBlockRange(LoC, HiC, FNCol);
  NormaliseBlockRange(LoR, HiR, FNRow);
  try {
    WriteTextFileAtomically(FileName, [&](TTextFile& File) {
      File.WriteLine(std::to_string(LoC) + ' ' + std::to_string(LoR) + ' ' + std::to_string(HiC) +
                     ' ' + std::to_string(HiR));
      if (HiC < LoC) return;
      std::string line;
      for (int64_t r = LoR; r <= HiR; ++r) {
        line.clear();
        for (int64_t c = LoC; c <= HiC; ++c) {
          if (c > LoC) line += ' ';
          line += ExactNumberText(Element(Index32(c), Index32(r)));
        }
        File.WriteLine(line);
      }
    });
  } catch (const EFileError&) {
    return false;
  }
  return true;
}

template <typename T>
bool TMatrixCore<T>::LoadFromFile(const std::string& FileName, bool AdjustMatrixSize) {
  try {
    TFileStream file(FileName, fmOpenRead);
    const int64_t size = file.Size();
    TWordReader words(file);
    std::string word;
    TBlockHeader block;
    for (int32_t* bound : {&block.LoC, &block.LoR, &block.HiC, &block.HiR})
      if (!words.Next(word) || !ParseIntWord(word, *bound)) return false;
    const int64_t capacity = TextValueCapacity(size - words.BytesConsumed());
    if (!AcceptBlock(*this, block, capacity, size, AdjustMatrixSize)) return false;
    std::vector<T> values(block.Count());
    for (int64_t r = block.LoR; r <= block.HiR; ++r) {
      for (int64_t c = block.LoC; c <= block.HiC; ++c) {
        if (!words.Next(word) || !ParseNumberWord(word, values[block.At(c, r)])) return false;
      }
    }
    {
      TChangeSilencer silencer(*this);
      if (AdjustMatrixSize) Resize(block.HiC, block.HiR);
    }
    StoreLoadedBlock(block.LoC, block.LoR, block.HiC, block.HiR, values);
  } catch (const EFileError&) {
    return false;
  }
  Changed();
  return true;
}

template <typename T>
void TMatrixCore<T>::SaveToStream(std::unique_ptr<TMemoryStream>& OutStream, int32_t LoC,
                                  int32_t LoR, int32_t HiC, int32_t HiR) const {
  if (!OutStream) OutStream = std::make_unique<TMemoryStream>();
  SaveToStream(*OutStream, LoC, LoR, HiC, HiR);
}

template <typename T>
void TMatrixCore<T>::SaveToStream(TStream& OutStream, int32_t LoC, int32_t LoR, int32_t HiC,
                                  int32_t HiR) const {
  NormaliseBlockRange(LoC, HiC, FNCol);
  NormaliseBlockRange(LoR, HiR, FNRow);
  for (int32_t bound : {LoC, LoR, HiC, HiR}) WriteRawItem(OutStream, static_cast<T>(bound));
  for (int64_t c = LoC; c <= HiC; ++c)
    for (int64_t r = LoR; r <= HiR; ++r) WriteRawItem(OutStream, Element(Index32(c), Index32(r)));
}

template <typename T>
bool TMatrixCore<T>::LoadFromStream(TStream* InStream, bool AdjustMatrixSize) {
  if (!InStream) return false;
  try {
    const int64_t start = InStream->Position();
    TBlockHeader block;
    for (int32_t* bound : {&block.LoC, &block.LoR, &block.HiC, &block.HiR})
      if (!ReadRawIndex<T>(*InStream, *bound)) return false;
    const int64_t capacity = (InStream->Size() - InStream->Position()) / RawItemBytes(T{});
    if (!AcceptBlock(*this, block, capacity, InStream->Size() - start, AdjustMatrixSize))
      return false;
    std::vector<T> values(block.Count());
    for (T& value : values)
      if (!ReadRawItem(*InStream, value)) return false;
    {
      TChangeSilencer silencer(*this);
      if (AdjustMatrixSize) Resize(block.HiC, block.HiR);
    }
    StoreLoadedBlock(block.LoC, block.LoR, block.HiC, block.HiR, values);
  } catch (const EFileError&) {
    return false;
  }
  Changed();
  return true;
}

#define VELMO_MATRIX_IO(T)                                                                        \
  template void TMatrixCore<T>::StoreLoadedBlock(int32_t, int32_t, int32_t, int32_t,              \
                                                 const std::vector<T>&);                          \
  template bool TMatrixCore<T>::StoreOnFile(int32_t, int32_t, int32_t, int32_t,                   \
                                            const std::string&) const;                            \
  template bool TMatrixCore<T>::LoadFromFile(const std::string&, bool);                           \
  template void TMatrixCore<T>::SaveToStream(std::unique_ptr<TMemoryStream>&, int32_t, int32_t,   \
                                             int32_t, int32_t) const;                             \
  template void TMatrixCore<T>::SaveToStream(TStream&, int32_t, int32_t, int32_t, int32_t) const; \
  template bool TMatrixCore<T>::LoadFromStream(TStream*, bool);
VELMO_MATRIX_IO(double)
VELMO_MATRIX_IO(int32_t)
#undef VELMO_MATRIX_IO
