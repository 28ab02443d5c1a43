#include "KVL_crclanes.h"

#include "KVL_stringl.h"

std::string kvl_detail::LaneCrcText(const uint32_t* Registers, std::size_t Lanes) {
  std::string text;
  text.reserve(8 * Lanes);
  for (std::size_t k = 0; k < Lanes; ++k) text += IntToHexText(Registers[k], 8);
  return text;
}

namespace {

// A 32 x 32 matrix over GF(2), stored as its columns: column i is the image of bit i.
using TGf2Matrix = std::array<uint32_t, 32>;

uint32_t Apply(const TGf2Matrix& M, uint32_t x) {
  uint32_t result = 0;
  for (int i = 0; x != 0; ++i, x >>= 1)
    if (x & 1u) result ^= M[i];
  return result;
}

// ZeroPowers()[p] maps a register to itself after 2^p zero bytes.
const std::array<TGf2Matrix, 64>& ZeroPowers() {
  static const std::array<TGf2Matrix, 64> powers = [] {
    std::array<TGf2Matrix, 64> m{};
    for (int i = 0; i < 32; ++i) {
      const uint32_t bit = 1u << i;
      m[0][i] = kvl_detail::kCrc32Table[bit & 0xFFu] ^ (bit >> 8);
    }
    for (int p = 1; p < 64; ++p)
      for (int i = 0; i < 32; ++i) m[p][i] = Apply(m[p - 1], m[p - 1][i]);
    return m;
  }();
  return powers;
}

}  // namespace

uint32_t kvl_detail::AdvanceOverZeros(uint32_t Register, uint64_t Count) {
  const auto& powers = ZeroPowers();
  for (int p = 0; Count != 0; ++p, Count >>= 1)
    if (Count & 1u) Register = Apply(powers[p], Register);
  return Register;
}
