# geomap calib, run by the geomap_case function of CMakeLists.txt.

# Points files. An equirectangular map at 100 pixels a degree with 50N 10E at the top left:
# x = (longitude - 10) * 100, y = (50 - latitude) * 100, so every fit is exact.
file(WRITE ${case_dir}/equirect_points.txt [=[# latitude longitude x y
50 10 0 0
50 14 400 0
46 10 0 400

46 14 400 400
48.5 11 100 150
47 13.5 350 300
]=])
# UTM zone 32N at 10 metres a pixel with northing 5400000, easting 500000 at the top left.
file(WRITE ${case_dir}/utm_points.txt [=[5400000 500000 0 0
5400000 510000 1000 0
5390000 500000 0 1000
5390000 510000 1000 1000
]=])
file(WRITE ${case_dir}/two_points.txt "50 10 0 0\n50 11 100 0\n")
# Three points on one image row leave the conic search an apex on that row with no angle pairs.
file(WRITE ${case_dir}/one_row_points.txt "50 10 0 0\n50 11 100 0\n50 12 200 0\n")
file(WRITE ${case_dir}/garbage_points.txt [=[50 10 0 0
50 11 100 zero
50 12 200 0 4
50 12 200.5 0
46 14 400 400
]=])
set(equirect_points ${case_dir}/equirect_points.txt)
set(utm_points ${case_dir}/utm_points.txt)

# A coefficient that an exact fit leaves at zero comes out as solver noise far below 1e-9.
set(zero "(0|-?[1-9][.0-9]*e-(09|1[0-9]|2[0-9]))")
geomap_case(calib_equirect_report ARGS calib --model equirect --points ${equirect_points}
  --precision 3
  INPUT ""
  OUTPUT_MATCHES "^latitude = c1 \\+ c2\\*x \\+ c3\\*y:  50  ${zero}  -0\\.01
longitude = c1 \\+ c2\\*x \\+ c3\\*y:  10  0\\.01  ${zero}
x = c1 \\+ c2\\*latitude \\+ c3\\*longitude:  -1000  ${zero}  100
y = c1 \\+ c2\\*latitude \\+ c3\\*longitude:  5000  -100  ${zero}
CalibQuality x 0\\.000 y 0\\.000 pixels [^\n]*
 line +latitude +longitude +x +y +fitted x +fitted y +dx +dy
 +2 +50\\.000 +10\\.000 +0 +0 +0 +0 +0 +0
 +3 +50\\.000 +14\\.000 +400 +0 +400 +0 +0 +0
 +4 +46\\.000 +10\\.000 +0 +400 +0 +400 +0 +0
 +6 +46\\.000 +14\\.000 +400 +400 +400 +400 +0 +0
 +7 +48\\.500 +11\\.000 +100 +150 +100 +150 +0 +0
 +8 +47\\.000 +13\\.500 +350 +300 +350 +300 +0 +0
rms residual 0\\.000 pixels over 6 of 6 points
$")

# Comments and blank lines pass through; a half pixel is not a pixel.
geomap_case(calib_equirect_pixels ARGS calib --model equirect --points ${equirect_points}
  --pixels --precision 3
  INPUT [=[# x y
150 250

0 0
400.5 3
]=]
  OUTPUT [=[# x y
47.500 11.500

50.000 10.000

]=]
  STATUS 1
  STDERR "^geomap calib: line 5: [^\n]*\n$")

geomap_case(calib_equirect_coords ARGS calib --model equirect --points ${equirect_points}
  --coords
  INPUT [=[47.5 11.5
46 14
]=]
  OUTPUT [=[150 250
400 400
]=])

# An affine map is a special case of the second-order polynomials.
geomap_case(calib_biquadratic_pixels ARGS calib --model BiquadraticPn --points ${equirect_points}
  --pixels --precision 3
  INPUT [=[150 250
400 0
]=]
  OUTPUT [=[47.500 11.500
50.000 14.000
]=])

geomap_case(calib_utm_report ARGS calib --model utm --zone 32 --points ${utm_points}
  INPUT ""
  OUTPUT_MATCHES "^northing = c1 \\+ c2\\*x \\+ c3\\*y:  5400000  ${zero}  -10
easting = c1 \\+ c2\\*x \\+ c3\\*y:  500000  10  ${zero}
x = c1 \\+ c2\\*northing \\+ c3\\*easting:  -50000  ${zero}  0\\.1
y = c1 \\+ c2\\*northing \\+ c3\\*easting:  540000  -0\\.1  ${zero}
CalibQuality x 0\\.000 y 0\\.000 pixels [^\n]*
 line +northing +easting .*
 +4 +5390000\\.000 +510000\\.000 +1000 +1000 +1000 +1000 +0 +0
rms residual 0\\.000 pixels over 4 of 4 points
$")

# The positions are those 'geomap utm --inverse --zone 32' gives for (500000, 5400000) and
# (505000, 5395000), the easting and northing of the two pixels.
geomap_case(calib_utm_pixels ARGS calib --model utm --zone 32 --points ${utm_points} --pixels
  INPUT [=[0 0
500 500
]=]
  OUTPUT [=[48.753013004 9.000000000
48.708012764 9.067963301
]=])
geomap_case(calib_utm_coords ARGS calib --model utm --zone 32 --points ${utm_points} --coords
  INPUT [=[48.753013004 9.000000000
48.708012764 9.067963301
91 9
]=]
  OUTPUT [=[0 0
500 500

]=]
  STATUS 1
  STDERR "^geomap calib: line 3: [^\n]*\n$")

geomap_case(calib_unknown_model ARGS calib --model mercator --points ${equirect_points}
  INPUT "" OUTPUT "" STATUS 2 STDERR "unknown model \"mercator\"")
geomap_case(calib_line_model ARGS calib --model parabolicip --points ${equirect_points}
  INPUT "" OUTPUT "" STATUS 2 STDERR "\"parabolicip\" is not fitted to calibration points")
geomap_case(calib_utm_needs_zone ARGS calib --model utm --points ${utm_points}
  INPUT "" OUTPUT "" STATUS 2 STDERR "--model utm needs --zone")
geomap_case(calib_too_few_points ARGS calib --model equirect --points ${case_dir}/two_points.txt
  INPUT "" OUTPUT "" STATUS 1
  STDERR "two_points\\.txt: model equirect needs at least 3 calibration points, found 2\n$")
geomap_case(calib_too_few_biquadratic ARGS calib --model biquadraticpn --points ${utm_points}
  INPUT "" OUTPUT "" STATUS 1 STDERR "needs at least 6 calibration points, found 4\n$")
geomap_case(calib_garbage_points ARGS calib --model equirect
  --points ${case_dir}/garbage_points.txt
  INPUT "" OUTPUT "" STATUS 1
  STDERR "^geomap calib: [^\n]*_points\\.txt: line 2: expected \"latitude longitude x y\"[^\n]*
geomap calib: [^\n]*: line 3: [^\n]*
geomap calib: [^\n]*: line 4: [^\n]*
$")
geomap_case(calib_missing_points_file ARGS calib --model equirect --points ${case_dir}/none.txt
  INPUT "" OUTPUT "" STATUS 1 STDERR "none\\.txt: cannot open the points file")
geomap_case(calib_fit_fails ARGS calib --model conicconformal
  --points ${case_dir}/one_row_points.txt
  INPUT "" OUTPUT "" STATUS 1 STDERR "the fit failed: CalcLinFit: not enough data points")

add_test(NAME geomap.calib_help COMMAND $<TARGET_FILE:geomap> calib --help)
string(CONCAT calib_help "biquadraticpn.*conicconformal.*millercylindrical.*equirect.*utm.*"
  "\"latitude longitude x y\".*\"northing easting x y\".*CalibQuality.*"
  "--pixels.*--coords.*--precision.*Exit status")
set_tests_properties(geomap.calib_help PROPERTIES LABELS tools
  PASS_REGULAR_EXPRESSION "${calib_help}")
