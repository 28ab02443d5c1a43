// The binary matrix file loader and the sparse-matrix file loader on arbitrary bytes. The header
// reader must agree with the loader, a loaded matrix must have the counts the header gives, and
// a failed load leaves the matrix as it was. No storage beyond what the file justifies.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "KVL_matrix.h"
#include "KVL_numio.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckBinary(const std::string& Path, size_t Size) {
  int32_t columns = -1, rows = -1;
  std::string id;
  const bool header = TMatrix::ReadBinaryHeader(Path, columns, rows, id);
  TMatrix m;
  m.SetElement(1, 1, 5);
  const bool loaded = m.LoadBinary(Path);
  Check(header == loaded);
  if (loaded) {
    Check(m.NrOfColumns() == columns && m.NrOfRows() == rows && m.DataID() == id);
    const uint64_t cells =
        static_cast<uint64_t>(std::max(columns, 1)) * static_cast<uint64_t>(std::max(rows, 1));
    Check(AllocationJustified(cells, static_cast<int64_t>(Size)));
  } else {
    Check(m.NrOfColumns() == 1 && m.NrOfRows() == 1 && m.Element(1, 1) == 5);
  }
}

void CheckSparse(const std::string& Path, size_t Size) {
  TIntMatrix m;
  m.SetElement(1, 1, 5);
  if (m.LoadSparseMat(Path)) {
    Check(m.IsSparse());
    Check(static_cast<uint64_t>(m.SparseNumElem()) <= Size);
    for (const TSpMatElemInt& e : m.SparseEntries())
      Check(e.colidx >= 1 && e.colidx <= m.NrOfColumns() && e.rowidx >= 1 &&
            e.rowidx <= m.NrOfRows());
  } else {
    Check(!m.IsSparse() && m.Element(1, 1) == 5);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/velmo_fuzz_matrix_" + std::to_string(getpid()) + ".bin";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  CheckBinary(path, size);
  CheckSparse(path, size);
  std::remove(path.c_str());
  return 0;
}
