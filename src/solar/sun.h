#pragma once

// The Sun's position (low-precision theory) and the orientation of its disk
// (Carrington's elements). Functions with a `radians` flag return radians when
// it is true and degrees otherwise.

// Julian centuries since JD 2451545.0 (J2000.0).
double Centuries2000(double jd);
double SunMeanLongitude(bool radians, double t);
double SunMeanAnomaly(bool radians, double t);
// Equation of the centre for the mean anomaly `m` given in radians.
double SunEquationOfCentre(bool radians, double t, double m);
// Apparent longitude for a time in terrestrial time; not normalised.
double SunApparentLongitude(bool radians, double jde);

// Number of the Carrington rotation running at `jd` (universal time); 0
// before rotation 1 began on 9 November 1853.
int CarringtonRotation(double jd);

struct TSunOrientation {
    double P = 0.0;  // position angle of the northern rotation axis, east of north
    double B0 = 0.0; // heliographic latitude of the disk centre
    double L0 = 0.0; // heliographic longitude of the central meridian, 0 ≤ L0 < 360°
};
// Orientation of the disk for `jd` in universal time and ΔT in seconds. Sets
// the shared Obliquity on the way.
TSunOrientation SunOrientation(bool radians, double jd, double deltaT);
