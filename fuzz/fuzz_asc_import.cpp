// The ASC import of TCurveFit on arbitrary file contents. Besides not crashing and allocating
// no more than the file justifies, a successful import must hold exactly the rows its header
// announced, and a failed one must leave the store as it was.
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "KVL_bytestream.h"
#include "KVL_math2_curvefit.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::string path = "/tmp/velmo_fuzz_asc_" + std::to_string(getpid()) + ".asc";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(data),
                                              static_cast<std::streamsize>(size));
  TCurveFit fit;
  fit.EnterStatValue(-1, 2);
  try {
    const int32_t status = fit.ImportASC(path);
    if (status == aiOk) {
      Check(fit.NumData() == fit.DataCapacity());
      Check(static_cast<size_t>(fit.NumData()) <= size / 2);
    } else {
      Check(fit.NumData() == 1 && fit.DataX(1) == -1 && fit.Sums().sumy == 2);
    }
  } catch (const EKVLMath2Error&) {  // a column count other than 2
  } catch (const EFileError&) {      // unreadable bytes never get here, but a full disk might
  }
  std::remove(path.c_str());
  return 0;
}
