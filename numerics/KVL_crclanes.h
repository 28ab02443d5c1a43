// Fingerprint of numeric data: one standard CRC-32 (reflected polynomial 0xEDB88320) per byte
// lane. An element of Lanes bytes feeds byte k, in little-endian memory order, to register k.
#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kvl_detail {

inline constexpr std::array<uint32_t, 256> MakeCrc32Table() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int bit = 0; bit < 8; ++bit) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
inline constexpr std::array<uint32_t, 256> kCrc32Table = MakeCrc32Table();

// Lanes hexadecimal groups of 8 upper-case digits, register 0 first.
std::string LaneCrcText(const uint32_t* Registers, std::size_t Lanes);

// A CRC register after absorbing Count zero bytes, in O(log Count) steps: one zero byte is a
// linear map of the register over GF(2), applied by its precomputed powers of two.
uint32_t AdvanceOverZeros(uint32_t Register, uint64_t Count);

}  // namespace kvl_detail

template <typename T>
class TLaneCrc32 {
 public:
  static constexpr std::size_t kLanes = sizeof(T);

  TLaneCrc32() { FReg.fill(0xFFFFFFFFu); }

  // Absorbs Count elements stored contiguously.
  void Absorb(const T* Elems, std::size_t Count) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(Elems);
    // Local registers: the byte pointer may alias anything, so members would be reloaded and
    // stored at every step.
    std::array<uint32_t, kLanes> reg = FReg;
    for (std::size_t i = 0; i < Count; ++i, bytes += kLanes)
      for (std::size_t k = 0; k < kLanes; ++k)
        reg[k] = kvl_detail::kCrc32Table[(reg[k] ^ bytes[k]) & 0xFFu] ^ (reg[k] >> 8);
    FReg = reg;
  }
  void Absorb(T Value) { Absorb(&Value, 1); }
  // Absorbs Count elements of value 0 without visiting them (sparse data).
  void AbsorbZeros(uint64_t Count) {
    for (uint32_t& reg : FReg) reg = kvl_detail::AdvanceOverZeros(reg, Count);
  }

  // The complemented registers as 8 * kLanes hexadecimal digits.
  std::string Text() const {
    std::array<uint32_t, kLanes> out;
    for (std::size_t k = 0; k < kLanes; ++k) out[k] = ~FReg[k];
    return kvl_detail::LaneCrcText(out.data(), kLanes);
  }

 private:
  static_assert(std::endian::native == std::endian::little,
                "byte k of an element must be its k-th lowest-order byte in memory");
  std::array<uint32_t, kLanes> FReg;
};
