#include "astro.h"

#include "astromat.h"

#include <cmath>

const std::array<double, 71> DeltaTTable = {
    24.3, 24.8,  25.3, 25.75, 26.2, 26.65, 27.3, 27.75, 28.2, 28.65, // 1940
    29.1, 29.55, 30.0, 30.35, 30.7, 31.05, 31.4, 31.8,  32.2, 32.65, // 1950
    33.1, 33.55, 34.0, 34.5,  35.0, 35.75, 36.5, 37.4,  38.3, 39.25, // 1960
    40.2, 41.1,  42.2, 43.35, 44.5, 45.5,  46.5, 47.5,  48.5, 49.5,  // 1970
    50.5, 51.35, 52.2, 53.0,  53.8, 54.35, 54.9, 55.35, 55.8, 56.35, // 1980
    56.9, 57.6,  58.3, 59.0,  60.0, 61.0,  62.0, 63.0,  64.0, 65.0,  // 1990
    67.0, 68.0,  69.0, 70.0,  71.0, 72.0,  73.0, 74.0,  75.0, 76.0,  // 2000
    80.0,                                                            // 2010
};

double Obliquity = 0.0;

namespace {

constexpr int kTableFirst = 1940;
constexpr int kTableLast = 2010;
constexpr int kFormulaEnd = 1620; // the old parabola serves the years before

// Horner evaluation of c[0] + c[1]·t + c[2]·t² + ...
template <std::size_t N> long double Poly(long double t, const long double (&c)[N]) {
    long double r = 0.0L;
    for (std::size_t i = N; i-- > 0;)
        r = r * t + c[i];
    return r;
}

long double OldParabola(long double year) {
    return 0.00325L * (year - 1810.0L) * (year - 1810.0L) - 15.0L;
}

// ΔT fits by F. Espenak and J. Meeus (Five Millennium Canon of Solar Eclipses,
// NASA, 2006), piecewise by their year ranges.
long double EspenakMeeus(long double y) {
    if (y < 1700.0L)
        return Poly(y - 1600.0L, {120.0L, -0.9808L, -0.01532L, 1.0L / 7129.0L});
    if (y < 1800.0L)
        return Poly(y - 1700.0L, {8.83L, 0.1603L, -0.0059285L, 0.00013336L, -1.0L / 1174000.0L});
    if (y < 1860.0L)
        return Poly(y - 1800.0L, {13.72L, -0.332447L, 0.0068612L, 0.0041116L, -0.00037436L, 0.0000121272L,
                                  -0.0000001699L, 0.000000000875L});
    if (y < 1900.0L)
        return Poly(y - 1860.0L, {7.62L, 0.5737L, -0.251754L, 0.01680668L, -0.0004473624L, 1.0L / 233174.0L});
    if (y < 1920.0L)
        return Poly(y - 1900.0L, {-2.79L, 1.494119L, -0.0598939L, 0.0061966L, -0.000197L});
    if (y < 1941.0L)
        return Poly(y - 1920.0L, {21.20L, 0.84493L, -0.076100L, 0.0020936L});
    if (y < 1961.0L)
        return Poly(y - 1950.0L, {29.07L, 0.407L, -1.0L / 233.0L, 1.0L / 2547.0L});
    if (y < 1986.0L)
        return Poly(y - 1975.0L, {45.45L, 1.067L, -1.0L / 260.0L, -1.0L / 718.0L});
    if (y < 2005.0L)
        return Poly(y - 2000.0L, {63.86L, 0.3345L, -0.060374L, 0.0017275L, 0.000651814L, 0.00002373599L});
    const long double u = (y - 1820.0L) / 100.0L;
    if (y < 2050.0L)
        return Poly(y - 2000.0L, {62.92L, 0.32217L, 0.005589L});
    if (y < 2150.0L)
        return -20.0L + 32.0L * u * u - 0.5628L * (2150.0L - y);
    return -20.0L + 32.0L * u * u;
}

// The fits disagree with the program's own values where they meet them
// (about 7 s at 1620, 13 s at 2010). The difference is faded out linearly over
// the next fit interval, the same device the fits use at 2050, so that ΔT has
// no jump at either seam.
long double FadedJoin(long double y, long double seam, long double end, long double valueAtSeam) {
    const long double gap = valueAtSeam - EspenakMeeus(seam);
    return EspenakMeeus(y) + gap * (end - y) / (end - seam);
}

} // namespace

double JulianDay(int year, int month, double day) {
    int y = year;
    int m = month;
    if (month == 1 || month == 2) {
        y = year - 1;
        m = month + 12;
    }
    const int a = y / 100;
    const int b = 2 - a + a / 4;
    const long double c = std::trunc(y < 0 ? 365.25L * y - 0.75L : 365.25L * y);
    const long double d = std::trunc(30.6001L * (m + 1));
    long double jd = c + d + day + 1720994.5L;
    if (year >= 1582)
        jd += b;
    return static_cast<double>(jd);
}

double Centuries1900(double jd) {
    return static_cast<double>((jd - 2415020.0L) / 36525.0L);
}

double DeltaT(int year) {
    const long double y = year;
    if (year < kFormulaEnd)
        return static_cast<double>(OldParabola(y));
    if (year >= kTableFirst && year <= kTableLast)
        return DeltaTTable[year - kTableFirst];
    if (year < 1700)
        return static_cast<double>(FadedJoin(y, kFormulaEnd, 1700.0L, OldParabola(kFormulaEnd)));
    if (year < kTableFirst)
        return static_cast<double>(EspenakMeeus(y));
    if (year < 2050)
        return static_cast<double>(FadedJoin(y, kTableLast, 2050.0L, DeltaTTable.back()));
    return static_cast<double>(EspenakMeeus(y));
}

void UpdateObliquity(double jd) {
    const long double t = Centuries1900(jd);
    Obliquity = static_cast<double>(23.452L - 0.01301L * t - 0.0000016L * t * t + 0.0000005L * t * t * t);
}
