// Raw little-endian values on a byte stream (declared in KVL_univconst.h).
#include <bit>
#include <cstring>
#include <limits>

#include "KVL_univconst.h"

namespace {

// The stored extended float is the x87 80-bit format, which is what long double holds on x86-64.
static_assert(std::numeric_limits<long double>::digits == 64, "long double must be x87 80-bit");
static_assert(std::endian::native == std::endian::little, "raw values are stored little-endian");
constexpr size_t kExtendedBytes = 10;

}  // namespace

bool WriteExtendedToStream(TStream& Stream, long double Value) {
  unsigned char bytes[sizeof(long double)] = {};
  std::memcpy(bytes, &Value, sizeof Value);
  return Stream.Write(bytes, kExtendedBytes) == kExtendedBytes;
}

bool WriteIntToStream(TStream& Stream, int32_t Value) {
  return Stream.Write(&Value, sizeof Value) == sizeof Value;
}

long double ReadExtendedFromStream(TStream& Stream, bool& Failed) {
  unsigned char bytes[sizeof(long double)] = {};  // padding beyond the 10 bytes stays zero
  Failed = Stream.Read(bytes, kExtendedBytes) != kExtendedBytes;
  if (Failed) return 0.0L;
  long double value = 0.0L;
  std::memcpy(&value, bytes, sizeof value);
  return value;
}

int32_t ReadIntFromStream(TStream& Stream, bool& Failed) {
  int32_t value = 0;
  Failed = Stream.Read(&value, sizeof value) != sizeof value;
  return Failed ? 0 : value;
}
