// geomap ellipsoids: the table of reference ellipsoids.
#include <charconv>
#include <cstdio>
#include <string>

#include "KVL_geoellipsoids.h"
#include "commands.h"

namespace geomap {

namespace {

constexpr const char* kHelp =
    "usage: geomap ellipsoids\n"
    "\n"
    "Lists the 61 reference ellipsoids, one a line: identifier, semi-major axis a and\n"
    "semi-minor axis b in metres, and the display name (which may contain blanks, so it\n"
    "comes last). The identifier is what --ellipsoid takes.\n";

// Shortest text that reads back as the same double.
std::string Shortest(double value) {
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

int RunEllipsoids(Arguments args) {
  if (!args.empty()) {
    const bool help = args[0] == "--help" || args[0] == "-h";
    std::fputs(kHelp, help ? stdout : stderr);
    return help ? kExitOk : kExitUsage;
  }
  for (std::size_t i = 0; i < kEllipsoidCount; ++i) {
    const std::string_view ident = EllipsoidIdent[i];
    const std::string_view name = EllipsoidName[i];
    std::printf("%-17.*s %-13s %-15s %.*s\n", static_cast<int>(ident.size()), ident.data(),
                Shortest(EllipsoidAxes[i].SemiMajor).c_str(),
                Shortest(EllipsoidAxes[i].SemiMinor).c_str(), static_cast<int>(name.size()),
                name.data());
  }
  return kExitOk;
}

}  // namespace geomap
