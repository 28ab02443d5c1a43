#include "KVL_bytestream.h"

#include <algorithm>
#include <cstring>

size_t TMemoryStream::Read(void* Buffer, size_t Count) {
  const size_t n = std::min(Count, FBytes.size() - FPosition);
  if (n > 0) std::memcpy(Buffer, FBytes.data() + FPosition, n);
  FPosition += n;
  return n;
}

size_t TMemoryStream::Write(const void* Buffer, size_t Count) {
  if (Count == 0) return 0;
  if (FPosition + Count > FBytes.size()) FBytes.resize(FPosition + Count);
  std::memcpy(FBytes.data() + FPosition, Buffer, Count);
  FPosition += Count;
  return Count;
}

void TMemoryStream::SetPosition(int64_t Position) {
  FPosition = static_cast<size_t>(std::clamp<int64_t>(Position, 0, Size()));
}

void TMemoryStream::Clear() {
  FBytes.clear();
  FPosition = 0;
}
