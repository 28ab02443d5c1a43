// The line discipline of geomap's converting subcommands: one output line per input line.
#pragma once

#include <functional>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

namespace geomap {

// Converts a data line to its output line, or returns nullopt and sets Problem.
using LineConverter = std::function<std::optional<std::string>(std::string_view line, std::string& problem)>;

// Reads In to the end. Blank lines and lines whose first non-blank character is '#' are copied
// unchanged; every other line goes through Convert. A line that fails is reported on Err as
// "<command>: line <n>: <problem>" and leaves an empty output line, so output stays aligned with
// input. Returns kExitOk, or kExitBadInput when some line failed.
int FilterLines(std::istream& in, std::ostream& out, std::ostream& err, std::string_view command,
                const LineConverter& convert);

}  // namespace geomap
