// The XML matrix readers on arbitrary bytes, from a memory stream and from a text file, for
// both element types, with and without a wanted identifier. A reader may grow the storage only
// as far as the input justifies, and a failed read leaves the matrix and its DataID as they were.
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "KVL_matrix.h"
#include "KVL_numio.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

template <typename M, typename Read>
void CheckRead(size_t Size, Read&& read) {
  M m;
  m.Resize(2, 3);
  m.Fill(5);
  m.SetDataID("before");
  const std::string before = m.CRCofData();
  if (!read(m)) {
    Check(m.CRCofData() == before && m.NrOfColumns() == 2 && m.NrOfRows() == 3);
    Check(m.DataID() == "before");
  }
  const uint64_t cells = static_cast<uint64_t>(std::max(m.NrOfColumns(), 1)) *
                         static_cast<uint64_t>(std::max(m.NrOfRows(), 1));
  Check(cells <= 6 || AllocationJustified(cells, static_cast<int64_t>(Size)));
}

template <typename M>
void ReadAll(const std::string& Path, const uint8_t* Data, size_t Size) {
  for (const char* id : {"", "m"}) {
    CheckRead<M>(Size, [&](M& m) {
      TMemoryStream stream(std::vector<uint8_t>(Data, Data + Size));
      return m.ReadFromXMLStream(stream, id);
    });
    CheckRead<M>(Size, [&](M& m) { return m.LoadFromXMLFile(Path, id); });
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/velmo_fuzz_matrix_" + std::to_string(getpid()) + ".xml";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  ReadAll<TMatrix>(path, data, size);
  ReadAll<TIntMatrix>(path, data, size);
  std::remove(path.c_str());
  return 0;
}
