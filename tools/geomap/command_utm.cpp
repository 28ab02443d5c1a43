// geomap utm: latitude/longitude to UTM and back, one point a line, in the manner of
// GeographicLib's GeoConvert and GDAL's gdaltransform.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <limits>
#include <optional>
#include <string>

#include "KVL_geobasics.h"
#include "commands.h"
#include "ellipsoid_option.h"
#include "line_filter.h"
#include "text_fields.h"

namespace geomap {

namespace {

constexpr const char* kHelp =
    "usage: geomap utm [--ellipsoid ID] [--precision N]\n"
    "       geomap utm --inverse --zone Z [--south] [--ellipsoid ID] [--precision N]\n"
    "\n"
    "Reads points from standard input, one a line, and writes one line for each.\n"
    "\n"
    "Forward: each line is \"latitude longitude\" in decimal degrees (north and east\n"
    "positive, latitude -90 ... 90, longitude -180 ... 180). The output is\n"
    "\"zone easting northing\", the easting and northing in metres. The zone is the\n"
    "zone number followed by the hemisphere, n or s (\"32n\", \"34s\"); a southern\n"
    "northing includes the false northing of 10000000 m. The zone is the point's own,\n"
    "Norway and Svalbard exceptions included. Zone 0 (\"0n\", \"0s\") means the point\n"
    "lies outside the UTM area (80S to 84N, longitude below 180); it is then projected\n"
    "about the Greenwich meridian.\n"
    "\n"
    "Inverse (--inverse): each line is \"easting northing\" in metres in zone Z\n"
    "(0 ... 60, 0 meaning about Greenwich); --south says that the northings include\n"
    "the southern false northing. The output is \"latitude longitude\" in degrees.\n"
    "\n"
    "Options:\n"
    "  --ellipsoid ID  reference ellipsoid, default gelWGS84; the identifiers are listed\n"
    "                  by 'geomap ellipsoids' (case and the \"gel\" prefix may be dropped)\n"
    "  --precision N   decimals written, 0 ... 17; default 3 for metres, 9 for degrees\n"
    "  --zone Z        zone of the input (inverse only)\n"
    "  --south         southern hemisphere (inverse only)\n"
    "  --help          this text\n"
    "\n"
    "Numbers are separated by blanks, tabs or commas and use \".\" as decimal mark.\n"
    "Blank lines and lines starting with # are copied to the output unchanged. A line\n"
    "that cannot be converted is reported on standard error with its line number and\n"
    "gives an empty output line, so the output stays aligned with the input.\n"
    "\n"
    "Exit status: 0 when every line converted, 1 when some line did not, 2 for a bad\n"
    "command line.\n"
    "\n"
    "Examples:\n"
    "  echo \"45 -75\" | geomap utm                          -> 18n 500000.000 4982950.400\n"
    "  echo \"269102.754 6235026.074\" | geomap utm --inverse --zone 34 --south\n"
    "                                                      -> -34.000000003 18.500000003\n";

constexpr int kMetreDecimals = 3;
constexpr int kDegreeDecimals = 9;
constexpr int kMaxDecimals = 17;

struct Options {
  TGeoEllipsoid ellipsoid = gelWGS84;
  bool inverse = false;
  std::optional<int> zone;
  bool south = false;
  std::optional<int> precision;
};

int UsageError(const std::string& message) {
  std::fprintf(stderr, "geomap utm: %s\n(see 'geomap utm --help')\n", message.c_str());
  return kExitUsage;
}

// Fills Options from the arguments; returns an exit status when the command should end there.
std::optional<int> ParseOptions(Arguments args, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool takesValue = arg == "--ellipsoid" || arg == "--precision" || arg == "--zone";
    if (takesValue && i + 1 == args.size()) return UsageError(std::string(arg) + " needs a value");
    const std::string_view value = takesValue ? args[++i] : std::string_view();
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    } else if (arg == "--inverse") {
      options.inverse = true;
    } else if (arg == "--south") {
      options.south = true;
    } else if (arg == "--ellipsoid") {
      const std::optional<TGeoEllipsoid> e = FindEllipsoid(value);
      if (!e) return UsageError("unknown ellipsoid \"" + std::string(value) + "\"; 'geomap ellipsoids' lists them");
      options.ellipsoid = *e;
    } else if (arg == "--precision") {
      options.precision = ParseInteger(value);
      if (!options.precision || *options.precision < 0 || *options.precision > kMaxDecimals) {
        return UsageError("--precision takes a whole number from 0 to 17");
      }
    } else if (arg == "--zone") {
      options.zone = ParseInteger(value);
      if (!options.zone || *options.zone < 0 || *options.zone > 60) {
        return UsageError("--zone takes a whole number from 0 to 60");
      }
    } else {
      return UsageError("unknown option \"" + std::string(arg) + "\"");
    }
  }
  if (options.inverse && !options.zone) return UsageError("--inverse needs --zone");
  if (!options.inverse && (options.zone || options.south)) {
    return UsageError("--zone and --south go with --inverse");
  }
  return std::nullopt;
}

std::optional<std::string> Forward(const Options& options, std::string_view line, std::string& problem) {
  const auto numbers = ParseNumbers(line);
  if (!numbers || numbers->size() != 2) {
    problem = "expected \"latitude longitude\" in decimal degrees";
    return std::nullopt;
  }
  double lat = (*numbers)[0];
  const double lon = (*numbers)[1];
  if (std::abs(lat) > 90 || std::abs(lon) > 180) {
    problem = "latitude must lie in -90 ... 90 and longitude in -180 ... 180 degrees";
    return std::nullopt;
  }
  // A latitude too small to survive the conversion to radians is the equator; this keeps the
  // hemisphere letter in step with the false northing.
  if (std::abs(lat) < std::numeric_limits<double>::min()) lat = 0.0;
  int zone = 0;
  double easting = 0;
  double northing = 0;
  LatLongToUTM(options.ellipsoid, lat, lon, zone, easting, northing);
  if (!std::isfinite(easting) || !std::isfinite(northing)) {
    problem = "the projection has no finite result here";
    return std::nullopt;
  }
  const int decimals = options.precision.value_or(kMetreDecimals);
  return std::to_string(zone) + (lat < 0 ? "s " : "n ") + FormatFixed(easting, decimals) + ' ' +
         FormatFixed(northing, decimals);
}

std::optional<std::string> Inverse(const Options& options, std::string_view line, std::string& problem) {
  const auto numbers = ParseNumbers(line);
  if (!numbers || numbers->size() != 2) {
    problem = "expected \"easting northing\" in metres";
    return std::nullopt;
  }
  double lat = 0;
  double lon = 0;
  UTMToLatLong(*options.zone, options.south, options.ellipsoid, (*numbers)[0], (*numbers)[1], lat, lon);
  if (!std::isfinite(lat) || !std::isfinite(lon)) {
    problem = "the inverse projection has no finite result here";
    return std::nullopt;
  }
  const int decimals = options.precision.value_or(kDegreeDecimals);
  return FormatFixed(lat, decimals) + ' ' + FormatFixed(lon, decimals);
}

}  // namespace

int RunUtm(Arguments args) {
  Options options;
  if (const std::optional<int> status = ParseOptions(args, options)) return *status;
  return FilterLines(std::cin, std::cout, std::cerr, "geomap utm",
                     [&options](std::string_view line, std::string& problem) {
                       return options.inverse ? Inverse(options, line, problem)
                                              : Forward(options, line, problem);
                     });
}

}  // namespace geomap
