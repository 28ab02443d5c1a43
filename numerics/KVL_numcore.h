// Small pieces shared by the vector and matrix classes: the storage limit, the element
// arithmetic of the two element types and the normalisation of index ranges.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>

// Largest storage one vector or matrix may hold, in bytes (1 GiB). Linux overcommits memory: an
// allocation far beyond what the machine can back succeeds, and the process is killed later when
// the pages are touched. Refusing such sizes up front turns them into the ordinary
// "not enough memory" errors and leaves the object as it was.
inline constexpr std::size_t kMaxStorageBytes = std::size_t{1} << 30;

// True when Count elements of ElemSize bytes stay within kMaxStorageBytes.
inline bool StorageFits(std::size_t Count, std::size_t ElemSize) {
  return Count <= kMaxStorageBytes / ElemSize;
}

// Element arithmetic: doubles as usual, 32-bit integers wrapping on overflow.
inline double ArithAdd(double a, double b) { return a + b; }
inline double ArithSub(double a, double b) { return a - b; }
inline double ArithMul(double a, double b) { return a * b; }
inline long double ArithAdd(long double a, long double b) { return a + b; }
inline long double ArithMul(long double a, long double b) { return a * b; }
inline int32_t ArithAdd(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
inline int32_t ArithSub(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) - static_cast<uint32_t>(b));
}
inline int32_t ArithMul(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * static_cast<uint32_t>(b));
}

// True when 1 <= ix <= Count, without overflow for any ix.
inline bool IndexInRange(int32_t ix, int32_t Count) {
  return static_cast<uint32_t>(ix) - 1u < static_cast<uint32_t>(Count);
}

// Clamped range over 1 .. Count: bounds below 1 become 1, above Count become Count, then a
// reversed pair is swapped. (0, 0) therefore selects index 1 alone.
inline void ClampRange(int32_t& Low, int32_t& High, int32_t Count) {
  auto clamp = [Count](int32_t ix) { return ix < 1 ? 1 : (ix > Count ? Count : ix); };
  Low = clamp(Low);
  High = clamp(High);
  if (High < Low) std::swap(Low, High);
}

// Clamped range in which the pair (0, 0) selects the whole range 1 .. Count.
inline void ClampRangeZeroAll(int32_t& Low, int32_t& High, int32_t Count) {
  if (Low == 0 && High == 0) {
    Low = 1;
    High = Count;
  } else {
    ClampRange(Low, High, Count);
  }
}
