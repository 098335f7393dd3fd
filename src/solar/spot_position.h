#pragma once

#include "sun.h"

#include <QLocale>
#include <QString>
#include <optional>

// The computation behind the position dialog and `tarvo-cli position`: the
// Sun's values for a moment in UT and the heliographic place of a point on
// the projected disk.

extern const char *const kMsgDateWrong;     // "Das Datum ist falsch!"
extern const char *const kMsgTimeWrong;     // "Die Zeit ist falsch!"
extern const char *const kMsgOutsideCircle; // "Der Punkt liegt nicht innerhalb des Kreises"
extern const char *const kMsgRadiusNotSet;  // no projection radius in the observer settings

// The pictures the date and time texts are read with.
extern const char *const kDatePicture; // "dd.mm.yyyy"
extern const char *const kTimePicture; // "hh:mm"

struct TObservationDate {
    int day = 0;
    int month = 0;
    int year = 0;
};
// The date text as "dd.mm.yyyy"; nothing when it is not a valid date. A
// two-digit year is expanded as the date check sees it (0024 is 1924).
std::optional<TObservationDate> ReadObservationDate(const QString &text);
// The UT time text as "hh:mm" in seconds since 0 h of the date (23:60 gives
// 86400, midnight of the next day); nothing when not valid.
std::optional<int> ReadObservationTime(const QString &text);

struct TSunValues {
    double DeltaT = 0.0; // seconds
    double JD = 0.0;     // universal time
    TSunOrientation Degrees;
    TSunOrientation Radians;
    int Rotation = 0; // 0 before the first Carrington rotation
};

// Sun's values for a calendar date and the seconds since 0 h UT.
TSunValues ComputeSunValues(int year, int month, int day, int seconds);

enum class TRotationNote { None, Next, Old };

struct TSpotPosition {
    double B = 0.0;   // heliographic latitude, degrees
    double L = 0.0;   // heliographic longitude, degrees, brought into 0..360
    double AZM = 0.0; // distance from the central meridian, degrees, west positive
    TRotationNote Note = TRotationNote::None;
};

enum class TCircleCheck { Inside, Outside, RadiusNotSet };

// Whether a point at distance `rho` (mm) from the centre lies on the disk of
// radius `radius` (mm); a radius of 0 or below has not been set.
TCircleCheck CheckCircle(double rho, int radius);
// The German message of a failed check; empty for Inside.
QString CircleMessage(TCircleCheck check);

struct TSpotResult {
    TCircleCheck Check = TCircleCheck::Inside;
    TSpotPosition Position; // valid only when Check is Inside
};

// Heliographic place of the point (x, y) in mm, x toward celestial east and
// y toward north, on a disk of `radius` mm, for the orientation `sun` in
// radians. Points off the disk and an unset radius are reported, not computed.
TSpotResult ComputeSpotPosition(const TSunOrientation &sun, double x, double y, int radius);

// "Nord" for B ≥ 0 (as shown with four decimals), else "Süd".
QString HemisphereWord(double b);
// "West" for a central meridian distance ≥ 0 (as shown), else "Ost".
QString SideWord(double azm);

// A millimetre value as typed: the user's decimal separator, or '.'.
std::optional<double> ReadMillimetres(const QString &text);

// A value with four decimals in fixed notation; a value that rounds to zero
// is shown without a minus sign.
QString Fixed4(double value, const QLocale &locale);
