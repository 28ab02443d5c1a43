#include "ellipsoid_option.h"

#include <algorithm>
#include <cctype>

namespace geomap {

namespace {

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

std::optional<TGeoEllipsoid> FindEllipsoid(std::string_view ident) {
  constexpr std::string_view kPrefix = "gel";
  for (std::size_t i = 0; i < kEllipsoidCount; ++i) {
    const std::string_view known = EllipsoidIdent[i];
    if (EqualIgnoringCase(ident, known) || EqualIgnoringCase(ident, known.substr(kPrefix.size()))) {
      return static_cast<TGeoEllipsoid>(i);
    }
  }
  return std::nullopt;
}

}  // namespace geomap
