// Geodesy: the Transverse Mercator series on the reference ellipsoids and the UTM projection built
// on them. Plain functions without state; they never throw. An ellipsoid value outside the table
// yields NaN results instead of reading past it.
//
// Units: degrees at the UTM interface, radians at the Transverse Mercator interface, metres for
// plane coordinates. Latitude is positive north, longitude positive east.
#pragma once

#include <cstdint>

#include "KVL_geoellipsoids.h"

enum THemisphere : uint8_t { hemiNorth, hemiSouth };

// Scale on the central meridian, false easting and the false northing of the southern hemisphere.
inline constexpr double kUtmScale = 0.9996;
inline constexpr double kUtmFalseEasting = 500'000.0;
inline constexpr double kUtmFalseNorthingSouth = 10'000'000.0;

// Degrees to radians in extended precision; radians to degrees as a double.
inline constexpr long double kDegToRad = 3.14159265358979323846264338327950288L / 180.0L;
inline constexpr double kRadToDeg = 57.29577951308232;

// Zone (1 ... 60) and latitude band ('C' ... 'X' without 'I' and 'O') of a point given in degrees,
// with the Norway (band V) and Svalbard (band X) exceptions. Outside 80S ... 84N or
// -180 <= Long < 180 (or for NaN) Zone is 0 and Band a blank.
void CalcUTMZone(double Lat, double Long, int& Zone, char& Band) noexcept;

// Central meridian of a zone in radians; 0 for a zone outside 1 ... 60.
double UTMCentralMeridian(int Zone) noexcept;

// Length of the meridian from the equator to Lat (radians), metres; negative south.
double MeridianArc(TGeoEllipsoid Ellipsoid, double Lat) noexcept;

// Latitude (radians) whose meridian arc is Arc (metres).
double FootpointLatitude(TGeoEllipsoid Ellipsoid, double Arc) noexcept;

// Transverse Mercator of Lat, Long (radians) about CentralMeridian (radians): X metres east of the
// central meridian, Y metres north of the equator, both unscaled.
void LatLongToTM(TGeoEllipsoid Ellipsoid, double Lat, double Long, double CentralMeridian,
                 double& X, double& Y) noexcept;

// Inverse of LatLongToTM: X, Y in unscaled metres to Lat, Long in radians.
void TMToLatLong(TGeoEllipsoid Ellipsoid, double X, double Y, double CentralMeridian,
                 double& Lat, double& Long) noexcept;

// UTM coordinates (metres) of Lat, Long (degrees) in the point's own zone. Outside the UTM area
// Zone is 0 and the projection is taken about the Greenwich meridian. A negative northing gets
// the southern false northing.
void LatLongToUTM(TGeoEllipsoid Ellipsoid, double Lat, double Long, int& Zone, double& Easting,
                  double& Northing) noexcept;

// Inverse of LatLongToUTM: Easting, Northing (metres) in Zone, with the southern false northing
// when South, to Lat, Long (degrees). A zone outside 1 ... 60 is taken about Greenwich.
void UTMToLatLong(int Zone, bool South, TGeoEllipsoid Ellipsoid, double Easting, double Northing,
                  double& Lat, double& Long) noexcept;
