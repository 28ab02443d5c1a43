// The --ellipsoid option shared by the subcommands.
#pragma once

#include <optional>
#include <string_view>

#include "KVL_geoellipsoids.h"

namespace geomap {

// The ellipsoid named by its identifier, ignoring case, with or without the "gel" prefix
// ("gelWGS84", "wgs84").
std::optional<TGeoEllipsoid> FindEllipsoid(std::string_view ident);

}  // namespace geomap
