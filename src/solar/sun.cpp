#include "sun.h"

#include "astro.h"
#include "astromat.h"

#include <cmath>

namespace {
double Degrees(bool radians, long double degrees) {
    return radians ? DegToRad(static_cast<double>(degrees)) : static_cast<double>(degrees);
}

// The day on which Carrington rotation 1 begins.
constexpr double kRotationEpoch = 2398166.5;
} // namespace

double Centuries2000(double jd) {
    return static_cast<double>((jd - 2451545.0L) / 36525.0L);
}

double SunMeanLongitude(bool radians, double t) {
    const long double tt = t;
    return Degrees(radians,
                   Norm360(static_cast<double>(280.46645L + 36000.76983L * tt + 0.0003032L * tt * tt)));
}

double SunMeanAnomaly(bool radians, double t) {
    const long double tt = t;
    return Degrees(radians,
                   Norm360(static_cast<double>(357.5291L + 35999.0503L * tt - 0.0001559L * tt * tt)));
}

double SunEquationOfCentre(bool radians, double t, double m) {
    const long double tt = t;
    const long double mm = m;
    const long double c1 = DegToRad(static_cast<double>(1.9146L - 0.004817L * tt - 0.000014L * tt * tt));
    const long double c2 = DegToRad(static_cast<double>(0.019993L - 0.0001017L * tt));
    const long double c3 = DegToRad(0.00029);
    const long double c = c1 * std::sin(mm) + c2 * std::sin(2.0L * mm) + c3 * std::sin(3.0L * mm);
    return radians ? static_cast<double>(c) : RadToDeg(static_cast<double>(c));
}

double SunApparentLongitude(bool radians, double jde) {
    const double t = Centuries2000(jde);
    const double m = SunMeanAnomaly(true, t);
    const long double l = SunMeanLongitude(true, t);
    const long double c = SunEquationOfCentre(true, t, m);
    const double omega = static_cast<double>(125.04L - 1934.136L * t);
    const long double lambda =
        l + c -
        DegToRad(
            static_cast<double>(0.00569L - 0.00478L * std::sin(static_cast<long double>(DegToRad(omega)))));
    return radians ? static_cast<double>(lambda) : RadToDeg(static_cast<double>(lambda));
}

int CarringtonRotation(double jd) {
    const long double n = std::trunc((jd - static_cast<long double>(kRotationEpoch)) / 27.2752L);
    const long double k = n + 1.0L;
    const long double m = DegToRad(Norm360(static_cast<double>(281.96L + 26.882476L * k)));
    const long double start = 27.2752316L * k + 2398140.227L + 0.1454L * std::sin(m) -
                              0.0085L * std::sin(2.0L * m) - 0.0141L * std::cos(2.0L * m);
    // The start is compared as the double it is handed on as, so that the
    // rotation's own start JD already counts as the new rotation.
    const long double number = jd - static_cast<double>(start) >= 0.0 ? k : n;
    // Before rotation 1 (9 November 1853) the count has no meaning.
    return number < 1.0L ? 0 : static_cast<int>(number);
}

TSunOrientation SunOrientation(bool radians, double jd, double deltaT) {
    const double jde = static_cast<double>(jd + deltaT / 86400.0L);
    UpdateObliquity(jde);
    const double epsilon = Obliquity;
    const long double theta = DegToRad(Norm360(static_cast<double>((jde - 2398220.0L) * 360.0L / 25.38L)));
    const long double i = DegToRad(7.25);
    const long double k =
        DegToRad(static_cast<double>(73.6667L + 1.3958333L * (jde - 2396758.0L) / 36525.0L));
    const long double lambda = SunApparentLongitude(true, jde);

    const long double x = std::atan(-std::cos(lambda) * static_cast<long double>(Tan(DegToRad(epsilon))));
    const long double y =
        std::atan(-std::cos(lambda - k) * static_cast<long double>(Tan(static_cast<double>(i))));
    const long double p = x + y;
    const long double b0 = ArcSin(static_cast<double>(std::sin(lambda - k) * std::sin(i)));
    const long double eta = ArcTan2(static_cast<double>(-std::sin(lambda - k) * std::cos(i)),
                                    static_cast<double>(-std::cos(lambda - k)));
    long double l0 = eta - theta;
    if (l0 < 0.0L)
        l0 += TwoPi;
    if (l0 < 0.0L)
        l0 += TwoPi;

    TSunOrientation r{static_cast<double>(p), static_cast<double>(b0), static_cast<double>(l0)};
    if (!radians) {
        r.P = RadToDeg(r.P);
        r.B0 = RadToDeg(r.B0);
        r.L0 = RadToDeg(r.L0);
    }
    return r;
}
