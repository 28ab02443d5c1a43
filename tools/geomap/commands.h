// The subcommands of geomap. Each takes the arguments after its name and returns the exit status.
#pragma once

#include <span>
#include <string_view>

namespace geomap {

// Exit statuses shared by all subcommands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 1;  // some input line could not be converted
inline constexpr int kExitUsage = 2;     // bad command line

using Arguments = std::span<const std::string_view>;

int RunEllipsoids(Arguments args);
int RunUtm(Arguments args);
int RunCalib(Arguments args);

}  // namespace geomap
