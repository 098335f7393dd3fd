#pragma once

#include <array>

// Time scales of the solar ephemeris: Julian day, ΔT, obliquity.

// ΔT in seconds for the years 1940 to 2010, one value per year.
extern const std::array<double, 71> DeltaTTable;

// Mean obliquity of the ecliptic in degrees, set by UpdateObliquity. Shared
// state: the ephemeris is not re-entrant.
extern double Obliquity;

// Julian day of a Gregorian/Julian calendar date; the day carries the time of
// day as fraction. The Gregorian term applies from the year 1582 on.
double JulianDay(int year, int month, double day);
// Julian centuries since JD 2415020.0 (1900 January 0.5).
double Centuries1900(double jd);
// Difference terrestrial minus universal time in seconds for a year.
double DeltaT(int year);
void UpdateObliquity(double jd);
