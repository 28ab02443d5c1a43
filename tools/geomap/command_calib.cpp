// geomap calib: fits a map calibration to calibration points, reports the fit, and converts
// between map image pixels and geographic coordinates with it.
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "KVL_calibration.h"
#include "calib_points.h"
#include "calib_report.h"
#include "commands.h"
#include "ellipsoid_option.h"
#include "line_filter.h"
#include "text_fields.h"

namespace geomap {

namespace {

constexpr const char* kHelp =
    "usage: geomap calib --model NAME --points FILE [--precision N] [--pixels | --coords]\n"
    "       geomap calib --model utm --zone Z [--south] [--ellipsoid ID] --points FILE ...\n"
    "\n"
    "Fits the calibration model NAME to the calibration points in FILE. Without --pixels\n"
    "and --coords it reports the fit; with one of them it converts the lines of standard\n"
    "input with the fitted calibration.\n"
    "\n"
    "Models (the names of calibration files) and the points each needs at least:\n"
    "  biquadraticpn      second-order polynomials in both directions          6\n"
    "  conicconformal     cone apex; radius ~ latitude, angle ~ longitude      3\n"
    "  millercylindrical  Miller cylindrical projection                        3\n"
    "  equirect           affine: equirectangular maps                         3\n"
    "  utm                affine in UTM northing and easting of one zone       3\n"
    "(parabolicip is fitted to meridians and parallels, not to points.)\n"
    "\n"
    "Points file: one point a line, \"latitude longitude x y\": the position in decimal\n"
    "degrees (north and east positive) and its map image pixel, column x and row y in\n"
    "whole pixels from the top left corner. Under utm a line is \"northing easting x y\",\n"
    "in metres in zone Z; with --south the northings include the southern false northing\n"
    "of 10000000 m. At most 200 points; blank lines and lines starting with # are ignored.\n"
    "\n"
    "Report: the fitted parameters; CalibQuality, the standard deviations in x and in y\n"
    "of the stored minus the fitted pixel; a table of the points (by their line in FILE)\n"
    "with fitted pixel and residuals dx dy, stored minus fitted, in pixels; and the root\n"
    "mean square of the residual distances. A fitted pixel is rounded to the whole pixel,\n"
    "as the calibration converts.\n"
    "\n"
    "Conversion, one output line for each input line:\n"
    "  --pixels  input \"x y\" (map image pixels, whole numbers), output \"latitude\n"
    "            longitude\" in degrees, under utm as well\n"
    "  --coords  input \"latitude longitude\" in degrees, output \"x y\" in map image pixels;\n"
    "            under utm the position is projected in its own zone\n"
    "Only the converted lines are written; run without the option to see the fit.\n"
    "\n"
    "Options:\n"
    "  --model NAME    calibration model, see above (case does not matter)\n"
    "  --points FILE   calibration points\n"
    "  --zone Z        UTM zone of the points, 1 ... 60 (utm only, required)\n"
    "  --south         southern hemisphere (utm only)\n"
    "  --ellipsoid ID  reference ellipsoid (utm only), default gelWGS84; the identifiers\n"
    "                  are listed by 'geomap ellipsoids'\n"
    "  --precision N   decimals of the coordinates written, 0 ... 17; default 9 for\n"
    "                  degrees, 3 for metres\n"
    "  --pixels        convert pixels to coordinates\n"
    "  --coords        convert coordinates to pixels\n"
    "  --help          this text\n"
    "\n"
    "Numbers are separated by blanks, tabs or commas and use \".\" as decimal mark. On\n"
    "standard input, blank lines and lines starting with # are copied to the output\n"
    "unchanged; a line that cannot be converted is reported on standard error with its\n"
    "line number and gives an empty output line.\n"
    "\n"
    "Exit status: 0 on success; 1 when the points file cannot be read, has a bad line or\n"
    "too few points, the fit fails, or some input line did not convert; 2 for a bad\n"
    "command line.\n"
    "\n"
    "Example (points of a map at 100 pixels a degree with 50N 10E at the top left):\n"
    "  echo \"150 250\" | geomap calib --model equirect --points map.txt --pixels\n"
    "                                                      -> 47.500000000 11.500000000\n";

constexpr const char* kCommand = "geomap calib";
constexpr int kDegreeDecimals = 9;
constexpr int kMetreDecimals = 3;
constexpr int kMaxDecimals = 17;
constexpr int kMinZone = 1;
constexpr int kMaxZone = 60;
constexpr int kBiquadraticCoefficients = 6;  // per direction
constexpr int kLinearCoefficients = 3;       // per direction; also the line fits' minimum

enum class Conversion { none, pixels, coords };

struct Options {
  std::string modelName;
  TCalibModel model = cmUndefined;
  std::string pointsFile;
  std::optional<int> zone;
  bool south = false;
  std::optional<TGeoEllipsoid> ellipsoid;
  std::optional<int> precision;
  Conversion conversion = Conversion::none;
};

int UsageError(const std::string& message) {
  std::fprintf(stderr, "%s: %s\n(see 'geomap calib --help')\n", kCommand, message.c_str());
  return kExitUsage;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// Fewest points that determine the model's coefficients; 0 for a model that is not fitted to
// points.
int MinimumPoints(TCalibModel model) {
  switch (model) {
    case cmBiquadraticPn:
      return kBiquadraticCoefficients;
    case cmConicConformal:
    case cmMillerCylindrical:
    case cmEquiRect:
    case cmUTM:
      return kLinearCoefficients;
    case cmParabolicIp:
    case cmUndefined:
      break;
  }
  return 0;
}

// Checks what the options say together once they are all read.
std::optional<int> CheckOptions(Options& options) {
  if (options.modelName.empty()) return UsageError("--model is required");
  if (options.pointsFile.empty()) return UsageError("--points is required");
  options.model = CalibModelFromName(options.modelName);
  if (Lower(options.modelName) != CalibModelName(options.model)) {
    return UsageError("unknown model \"" + options.modelName +
                      "\"; the models are biquadraticpn, conicconformal, millercylindrical, "
                      "equirect and utm");
  }
  if (MinimumPoints(options.model) == 0) {
    return UsageError("model \"" + options.modelName + "\" is not fitted to calibration points");
  }
  if (options.model == cmUTM && !options.zone) return UsageError("--model utm needs --zone");
  if (options.model != cmUTM && (options.zone || options.south || options.ellipsoid)) {
    return UsageError("--zone, --south and --ellipsoid go with --model utm");
  }
  return std::nullopt;
}

// Fills Options from the arguments; returns an exit status when the command should end there.
std::optional<int> ParseOptions(Arguments args, Options& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool takesValue = arg == "--model" || arg == "--points" || arg == "--zone" ||
                            arg == "--ellipsoid" || arg == "--precision";
    if (takesValue && i + 1 == args.size()) return UsageError(std::string(arg) + " needs a value");
    const std::string_view value = takesValue ? args[++i] : std::string_view();
    if (arg == "--help" || arg == "-h") {
      std::fputs(kHelp, stdout);
      return kExitOk;
    } else if (arg == "--model") {
      options.modelName = value;
    } else if (arg == "--points") {
      options.pointsFile = value;
    } else if (arg == "--south") {
      options.south = true;
    } else if (arg == "--pixels" || arg == "--coords") {
      if (options.conversion != Conversion::none) {
        return UsageError("give one of --pixels and --coords");
      }
      options.conversion = arg == "--pixels" ? Conversion::pixels : Conversion::coords;
    } else if (arg == "--zone") {
      options.zone = ParseInteger(value);
      if (!options.zone || *options.zone < kMinZone || *options.zone > kMaxZone) {
        return UsageError("--zone takes a whole number from 1 to 60");
      }
    } else if (arg == "--ellipsoid") {
      options.ellipsoid = FindEllipsoid(value);
      if (!options.ellipsoid) {
        return UsageError("unknown ellipsoid \"" + std::string(value) +
                          "\"; 'geomap ellipsoids' lists them");
      }
    } else if (arg == "--precision") {
      options.precision = ParseInteger(value);
      if (!options.precision || *options.precision < 0 || *options.precision > kMaxDecimals) {
        return UsageError("--precision takes a whole number from 0 to 17");
      }
    } else {
      return UsageError("unknown option \"" + std::string(arg) + "\"");
    }
  }
  return CheckOptions(options);
}

// Reads the points file; reports its problems and returns nullopt when it is not usable.
std::optional<std::vector<CalibPoint>> ReadPoints(const Options& options) {
  const std::string prefix = std::string(kCommand) + ": " + options.pointsFile + ": ";
  std::ifstream file(options.pointsFile);
  if (!file) {
    std::cerr << prefix << "cannot open the points file\n";
    return std::nullopt;
  }
  const char* form = options.model == cmUTM ? "northing easting" : "latitude longitude";
  auto points = ReadCalibPoints(file, std::cerr, prefix, form, kMaxCalQuads);
  const int needed = MinimumPoints(options.model);
  if (points && static_cast<int>(points->size()) < needed) {
    std::cerr << prefix << "model " << CalibModelName(options.model) << " needs at least "
              << needed << " calibration points, found " << points->size() << '\n';
    return std::nullopt;
  }
  return points;
}

// Stores the points and fits the model at once, so that no intermediate set of points is fitted.
void Fit(const Options& options, const std::vector<CalibPoint>& points, TGeoCalibration& calib) {
  calib.StoreCalibModel(options.model);
  TCalibData& data = calib.MutableCalibData();
  data.UTMZone = options.zone.value_or(data.UTMZone);
  data.UTMSouth = options.south;
  data.Ellipsoid = options.ellipsoid.value_or(gelWGS84);
  data.NumCalQuads = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  for (const CalibPoint& p : points) {
    data.CalQuads[++data.NumCalQuads] = TCalQuad{p.first, p.second, p.x, p.y};
    right = std::max(right, p.x);
    bottom = std::max(bottom, p.y);
  }
  // There is no image: it is taken to reach to the last point, so that the conic apex search
  // starts from the middle of the points.
  calib.SetMapImageSize(right, bottom);
  calib.RecalcCalibration();
}

std::optional<std::string> PixelToCoords(const TGeoCalibration& calib, int decimals,
                                         std::string_view line, std::string& problem) {
  const auto numbers = ParseNumbers(line);
  const auto x = numbers && numbers->size() == 2 ? WholeNumber((*numbers)[0]) : std::nullopt;
  const auto y = x ? WholeNumber((*numbers)[1]) : std::nullopt;
  if (!y) {
    problem = "expected \"x y\" in whole map image pixels";
    return std::nullopt;
  }
  bool latValid = false;
  bool longValid = false;
  const double lat = calib.CalcLatitude(*x, *y, latValid);
  const double lon = calib.CalcLongitude(*x, *y, longValid);
  if (!latValid || !longValid) {
    problem = "the calibration gives no position for this pixel";
    return std::nullopt;
  }
  return FormatFixed(lat, decimals) + ' ' + FormatFixed(lon, decimals);
}

std::optional<std::string> CoordsToPixel(const TGeoCalibration& calib, std::string_view line,
                                         std::string& problem) {
  const auto numbers = ParseNumbers(line);
  if (!numbers || numbers->size() != 2) {
    problem = "expected \"latitude longitude\" in decimal degrees";
    return std::nullopt;
  }
  const double lat = (*numbers)[0];
  const double lon = (*numbers)[1];
  // The UTM projection is defined on these ranges only.
  if (calib.CalibModel() == cmUTM && (std::abs(lat) > 90 || std::abs(lon) > 180)) {
    problem = "latitude must lie in -90 ... 90 and longitude in -180 ... 180 degrees";
    return std::nullopt;
  }
  int32_t x = 0;
  int32_t y = 0;
  if (!calib.CalcPixelCoords(lat, lon, x, y)) {
    problem = "the calibration gives no pixel for this position";
    return std::nullopt;
  }
  return std::to_string(x) + ' ' + std::to_string(y);
}

}  // namespace

int RunCalib(Arguments args) {
  Options options;
  if (const std::optional<int> status = ParseOptions(args, options)) return *status;
  const std::optional<std::vector<CalibPoint>> points = ReadPoints(options);
  if (!points) return kExitBadInput;

  TGeoCalibration calib;
  try {
    Fit(options, *points, calib);
  } catch (const EKVLError& error) {
    std::cerr << kCommand << ": " << options.pointsFile << ": the fit failed: " << error.what()
              << '\n';
    return kExitBadInput;
  }

  const bool metres = options.model == cmUTM && options.conversion == Conversion::none;
  const int decimals = options.precision.value_or(metres ? kMetreDecimals : kDegreeDecimals);
  switch (options.conversion) {
    case Conversion::none:
      PrintCalibReport(calib, *points, decimals, std::cout);
      return kExitOk;
    case Conversion::pixels:
      return FilterLines(std::cin, std::cout, std::cerr, kCommand,
                         [&calib, decimals](std::string_view line, std::string& problem) {
                           return PixelToCoords(calib, decimals, line, problem);
                         });
    case Conversion::coords:
      return FilterLines(std::cin, std::cout, std::cerr, kCommand,
                         [&calib](std::string_view line, std::string& problem) {
                           return CoordsToPixel(calib, line, problem);
                         });
  }
  return kExitOk;
}

}  // namespace geomap
