// geomap <subcommand> [options]: dispatches to one subcommand per source file.
#include <cstdio>
#include <string_view>
#include <vector>

#include "commands.h"

namespace {

struct Subcommand {
  std::string_view name;
  std::string_view summary;
  int (*run)(geomap::Arguments);
};

constexpr Subcommand kSubcommands[] = {
    {"ellipsoids", "list the reference ellipsoids: identifier, axes a and b in metres, name",
     geomap::RunEllipsoids},
    {"utm", "convert latitude/longitude to UTM, or back with --inverse", geomap::RunUtm},
#ifdef GEOMAP_WITH_CALIB  // needs the map control's library
    {"calib", "fit a map calibration to points; convert pixels and coordinates with it",
     geomap::RunCalib},
#endif
};

void PrintUsage(std::FILE* to) {
  std::fputs("usage: geomap <subcommand> [options]\n\nsubcommands:\n", to);
  for (const Subcommand& s : kSubcommands) {
    std::fprintf(to, "  %-11.*s %.*s\n", static_cast<int>(s.name.size()), s.name.data(),
                 static_cast<int>(s.summary.size()), s.summary.data());
  }
  std::fputs("\n'geomap <subcommand> --help' describes a subcommand.\n", to);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  if (args.empty()) {
    PrintUsage(stderr);
    return geomap::kExitUsage;
  }
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
    PrintUsage(stdout);
    return geomap::kExitOk;
  }
  for (const Subcommand& s : kSubcommands) {
    if (args[0] == s.name) return s.run(geomap::Arguments(args).subspan(1));
  }
  std::fprintf(stderr, "geomap: unknown subcommand \"%.*s\"\n\n", static_cast<int>(args[0].size()),
               args[0].data());
  PrintUsage(stderr);
  return geomap::kExitUsage;
}
