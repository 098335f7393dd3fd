#include "astromat.h"

#include <cmath>
#include <cstdint>

namespace {
// π with the precision of a double, as the results are defined with it.
constexpr double kPi = 3.141592653589793;

long double Frac(long double v) {
    return v - std::trunc(v);
}
} // namespace

FloatingPointError::FloatingPointError() : std::domain_error("Ungültige Gleitkommaoperation") {}

double ArcTan2(double y, double x) {
    if (x == 0.0 && y == 0.0)
        return 0.0;
    const long double a = std::fabs(x);
    const long double b = std::fabs(y);
    long double h = a > b ? std::atan(b / a) : PiHalf - std::atan(a / b);
    if (x < 0.0)
        h = kPi - h;
    if (y < 0.0)
        h = -h;
    return static_cast<double>(h);
}

double ArcSin(double x) {
    if (x == 1.0)
        return PiHalf;
    if (x == -1.0)
        return -PiHalf;
    if (!(std::fabs(x) < 1.0))
        throw FloatingPointError();
    const long double v = x;
    return static_cast<double>(std::atan(v / std::sqrt(1.0L - v * v)));
}

double Tan(double x) {
    const long double v = x;
    return static_cast<double>(std::sin(v) / std::cos(v));
}

double Norm360(double x) {
    if (!std::isfinite(x))
        return x;
    if (std::fabs(x) >= 9.0e18) {
        // Beyond a 64-bit integer: every such double is a whole number anyway.
        const long double r = std::fmod(static_cast<long double>(x), 360.0L);
        return static_cast<double>(r < 0.0L ? r + 360.0L : r);
    }
    const auto n = static_cast<std::int64_t>(std::trunc(static_cast<long double>(x)));
    long double r = 360.0L * Frac(static_cast<long double>(n) / 360.0L) + Frac(x);
    if (r < 0.0L)
        r += 360.0L;
    return static_cast<double>(r);
}

double DegToRad(double x) {
    return static_cast<double>(x * 0.0174532925199433L);
}

double RadToDeg(double x) {
    return static_cast<double>(x * 57.29577951308L);
}
