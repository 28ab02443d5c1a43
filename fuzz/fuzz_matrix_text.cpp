// The matrix block loaders on arbitrary bytes: the text file loader and, over the same bytes,
// the raw stream loader, for both element types, adjusting the size or not. A loader may grow
// the storage only as far as the input justifies, and a failed load leaves the matrix as it was.
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

template <typename M>
uint64_t Cells(const M& m) {
  return static_cast<uint64_t>(std::max(m.NrOfColumns(), 1)) *
         static_cast<uint64_t>(std::max(m.NrOfRows(), 1));
}

template <typename M, typename Load>
void CheckLoad(size_t Size, Load&& load) {
  M m;
  m.Resize(2, 3);
  m.Fill(5);
  const std::string before = m.CRCofData();
  if (!load(m)) Check(m.CRCofData() == before && m.NrOfColumns() == 2 && m.NrOfRows() == 3);
  Check(Cells(m) <= 6 || AllocationJustified(Cells(m), static_cast<int64_t>(Size)));
}

template <typename M>
void LoadBoth(const std::string& Path, const uint8_t* Data, size_t Size, bool Adjust) {
  CheckLoad<M>(Size, [&](M& m) { return m.LoadFromFile(Path, Adjust); });
  CheckLoad<M>(Size, [&](M& m) {
    TMemoryStream stream(std::vector<uint8_t>(Data, Data + Size));
    return m.LoadFromStream(&stream, Adjust);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/velmo_fuzz_matrix_" + std::to_string(getpid()) + ".txt";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  for (const bool adjust : {true, false}) {
    LoadBoth<TMatrix>(path, data, size, adjust);
    LoadBoth<TIntMatrix>(path, data, size, adjust);
  }
  std::remove(path.c_str());
  return 0;
}
