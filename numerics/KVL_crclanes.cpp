#include "KVL_crclanes.h"

#include "KVL_stringl.h"

std::string kvl_detail::LaneCrcText(const uint32_t* Registers, std::size_t Lanes) {
  std::string text;
  text.reserve(8 * Lanes);
  for (std::size_t k = 0; k < Lanes; ++k) text += IntToHexText(Registers[k], 8);
  return text;
}
