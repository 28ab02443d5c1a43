// Sparse-matrix files of TIntMatrix (layout in docs/MATRIX_FORMATS.md): a line with the counts
// and the number of entries, then one line "col row value" per entry in (column, row) order.
#include <memory>
#include <new>

#include "KVL_matrix.h"
#include "KVL_numio.h"

namespace {

// "c r v" and a separator: the least an entry can take in a file.
constexpr int64_t kMinBytesPerEntry = 3 * kMinTextBytesPerValue;

bool ReadIntWord(TWordReader& Words, std::string& Word, int32_t& Value) {
  return Words.Next(Word) && ParseIntWord(Word, Value);
}

bool Before(const TSpMatElemInt& A, int32_t Col, int32_t Row) {
  return A.colidx < Col || (A.colidx == Col && A.rowidx < Row);
}

}  // namespace

bool TIntMatrix::StoreSparseMat(const std::string& FileName) const {
  const auto entryLine = [](int32_t c, int32_t r, int32_t v) {
    return std::to_string(c) + ' ' + std::to_string(r) + ' ' + std::to_string(v);
  };
  try {
    WriteTextFileAtomically(FileName, [&](TTextFile& File) {
      if (FIsSparse) {
        File.WriteLine(entryLine(FNCol, FNRow, FSparse.NumElem()));
        for (const TSpMatElemInt& e : FSparse.Entries())
          File.WriteLine(entryLine(e.colidx, e.rowidx, e.value));
        return;
      }
      int32_t nonzero = 0;
      for (int64_t c = 1; c <= FNCol; ++c)
        for (int64_t r = 1; r <= FNRow; ++r)
          nonzero += Element(Index32(c), Index32(r)) != 0 ? 1 : 0;
      File.WriteLine(entryLine(FNCol, FNRow, nonzero));
      for (int64_t c = 1; c <= FNCol; ++c)
        for (int64_t r = 1; r <= FNRow; ++r)
          if (const int32_t v = Element(Index32(c), Index32(r)); v != 0)
            File.WriteLine(entryLine(Index32(c), Index32(r), v));
    });
  } catch (const EFileError&) {
    return false;
  }
  return true;
}

bool TIntMatrix::LoadSparseMat(const std::string& FileName) {
  int32_t columns = 0;
  int32_t rows = 0;
  TSparseIntStore store;
  try {
    TFileStream file(FileName, fmOpenRead);
    TWordReader words(file);
    std::string word;
    int32_t count = 0;
    if (!ReadIntWord(words, word, columns) || !ReadIntWord(words, word, rows) ||
        !ReadIntWord(words, word, count) || columns < 0 || rows < 0 || count < 0)
      return false;
    const int64_t remaining = file.Size() - words.BytesConsumed();
    if (count > (remaining + 1) / kMinBytesPerEntry) return false;
    store.Reset(FIsSparse ? FSparse.AllocBy() : 1);
    for (int32_t i = 0; i < count; ++i) {
      int32_t c = 0, r = 0, v = 0;
      if (!ReadIntWord(words, word, c) || !ReadIntWord(words, word, r) ||
          !ReadIntWord(words, word, v))
        return false;
      if (!IndexInRange(c, columns) || !IndexInRange(r, rows)) return false;
      if (store.NumElem() > 0 && !Before(store.Entries().back(), c, r)) return false;
      store.Append(c, r, v);
    }
  } catch (const EFileError&) {
    return false;
  } catch (const std::bad_alloc&) {
    ThrowNoMemory();
  }
  FSparse = std::move(store);
  std::vector<int32_t>().swap(FMat);
  FIsSparse = true;
  FNCol = columns;
  FNRow = rows;
  Changed();
  return true;
}
