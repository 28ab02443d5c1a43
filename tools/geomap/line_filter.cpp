#include "line_filter.h"

#include "commands.h"

namespace geomap {

namespace {

bool IsPassedThrough(std::string_view line) {
  const std::size_t first = line.find_first_not_of(" \t");
  return first == std::string_view::npos || line[first] == '#';
}

}  // namespace

int FilterLines(std::istream& in, std::ostream& out, std::ostream& err, std::string_view command,
                const LineConverter& convert) {
  int status = kExitOk;
  std::string line;
  for (long number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();  // files written on Windows
    if (IsPassedThrough(line)) {
      out << line << '\n';
      continue;
    }
    std::string problem;
    if (const std::optional<std::string> converted = convert(line, problem)) {
      out << *converted << '\n';
    } else {
      err << command << ": line " << number << ": " << problem << '\n';
      out << '\n';
      status = kExitBadInput;
    }
  }
  return status;
}

}  // namespace geomap
