// The vector loaders on arbitrary bytes: the text file loader and, over the same bytes, the raw
// stream loader, for both element types. Besides not crashing, a loader may grow a vector only
// as far as the input justifies, and a failed load changes no element (only a stream with too
// few values for a vector that is large enough could, and that is refused before reading).
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "KVL_numio.h"
#include "KVL_vector.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

constexpr int32_t kStartCount = 3;

template <typename V>
void LoadBoth(const std::string& Path, const uint8_t* Data, size_t Size, bool Adjust) {
  V fromFile;
  fromFile.Resize(kStartCount);
  fromFile.Fill(7);
  const std::string before = fromFile.CRCofData();
  if (!fromFile.LoadFromFile(Path, Adjust)) Check(fromFile.CRCofData() == before);
  Check(
      fromFile.NrOfElem() <= kStartCount ||
      AllocationJustified(static_cast<uint64_t>(fromFile.NrOfElem()), static_cast<int64_t>(Size)));

  V fromStream;
  fromStream.Resize(kStartCount);
  TMemoryStream stream(std::vector<uint8_t>(Data, Data + Size));
  fromStream.LoadFromStream(&stream, Adjust);
  Check(fromStream.NrOfElem() <= kStartCount ||
        AllocationJustified(static_cast<uint64_t>(fromStream.NrOfElem()),
                            static_cast<int64_t>(Size)));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/velmo_fuzz_vector_" + std::to_string(getpid()) + ".txt";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  for (const bool adjust : {true, false}) {
    LoadBoth<TVector>(path, data, size, adjust);
    LoadBoth<TIntVector>(path, data, size, adjust);
  }
  std::remove(path.c_str());
  return 0;
}
