#pragma once

#include <stdexcept>

// Angle helpers of the solar ephemeris.

constexpr double TwoPi = 6.283185307179586;
constexpr double PiHalf = 1.5707963267948966;

// An argument outside the domain of a function (the arc sine of a value
// beyond ±1). The text is the program's German message, UTF-8 encoded; the
// logic library cannot reach TarvoError (storage builds on this library).
class FloatingPointError : public std::domain_error {
public:
    FloatingPointError();
};

// Angle of the point (x, y) in radians, -π < angle ≤ π; 0 for the origin.
double ArcTan2(double y, double x);
// Arc sine in radians; throws FloatingPointError for |x| > 1.
double ArcSin(double x);
double Tan(double x);
// Degrees brought into 0 ≤ result < 360.
double Norm360(double x);
double DegToRad(double x);
double RadToDeg(double x);
