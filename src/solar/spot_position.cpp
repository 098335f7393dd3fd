#include "spot_position.h"

#include "astro.h"
#include "astromat.h"
#include "calendar/tpdate.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

const char *const kMsgDateWrong = "Das Datum ist falsch!";
const char *const kMsgTimeWrong = "Die Zeit ist falsch!";
const char *const kMsgOutsideCircle = "Der Punkt liegt nicht innerhalb des Kreises";
const char *const kMsgRadiusNotSet =
    "Der Projektionsradius ist nicht eingestellt. Bitte tragen Sie ihn im Menü "
    "„Beobachter“ unter „Projektionsradius“ ein.";
const char *const kDatePicture = "dd.mm.yyyy";
const char *const kTimePicture = "hh:mm";

namespace {
// Rounding may push a sine a hair beyond ±1 at the limb or a pole.
double ClampUnit(double v) {
    return std::clamp(v, -1.0, 1.0);
}

// The value as the four decimals show it: what rounds to 0.0000 counts as 0.
double AsShown(double value) {
    return std::fabs(value) < 0.00005 ? 0.0 : value;
}

} // namespace

// A text of another length than the picture's would be read as the
// reader's defaults (a valid date), so it is refused here.
std::optional<TObservationDate> ReadObservationDate(const QString &text) {
    const QString picture = QLatin1String(kDatePicture);
    const DateFields d = ReadDate(picture, text);
    if (text.size() != picture.size() || !d.valid)
        return std::nullopt;
    return TObservationDate{d.day, d.month, ExpandYear(d.year)};
}

std::optional<int> ReadObservationTime(const QString &text) {
    const QString picture = QLatin1String(kTimePicture);
    const TimeFields time = ReadTime(picture, text);
    if (text.size() != picture.size() || !time.valid)
        return std::nullopt;
    // Not wrapped at midnight: 23:60 is 0 h of the next day, not of this one.
    return time.hours * 3600 + time.minutes * 60 + time.seconds;
}

TSunValues ComputeSunValues(int year, int month, int day, int seconds) {
    TSunValues v;
    v.DeltaT = DeltaT(year);
    v.JD = JulianDay(year, month, day + seconds / 86400.0);
    v.Degrees = SunOrientation(false, v.JD, v.DeltaT);
    v.Radians = {DegToRad(v.Degrees.P), DegToRad(v.Degrees.B0), DegToRad(v.Degrees.L0)};
    v.Rotation = CarringtonRotation(v.JD);
    return v;
}

TCircleCheck CheckCircle(double rho, int radius) {
    if (radius <= 0)
        return TCircleCheck::RadiusNotSet;
    return rho <= radius ? TCircleCheck::Inside : TCircleCheck::Outside;
}

QString CircleMessage(TCircleCheck check) {
    switch (check) {
    case TCircleCheck::Outside:
        return QString::fromUtf8(kMsgOutsideCircle);
    case TCircleCheck::RadiusNotSet:
        return QString::fromUtf8(kMsgRadiusNotSet);
    case TCircleCheck::Inside:
        break;
    }
    return {};
}

TSpotResult ComputeSpotPosition(const TSunOrientation &sun, double x, double y, int radius) {
    TSpotResult result;
    const double rho = std::hypot(x, y);
    result.Check = CheckCircle(rho, radius);
    if (result.Check != TCircleCheck::Inside)
        return result;

    const double alpha = ArcTan2(y, x) + sun.P;
    const double sigma = ArcSin(rho / radius);
    const double sinB =
        std::cos(sigma) * std::sin(sun.B0) + std::sin(sigma) * std::sin(alpha) * std::cos(sun.B0);
    const double b = ArcSin(ClampUnit(sinB));
    // Longitude from both of its components: an arc sine alone folds the
    // points beyond the visible pole back onto the near side.
    const double dl =
        ArcTan2(-std::sin(sigma) * std::cos(alpha),
                std::cos(sigma) * std::cos(sun.B0) - std::sin(sigma) * std::sin(sun.B0) * std::sin(alpha));

    TSpotPosition &p = result.Position;
    p.AZM = RadToDeg(dl);
    p.L = RadToDeg(sun.L0 + dl);
    if (p.L > 360.0) {
        p.L -= 360.0;
        p.Note = TRotationNote::Next;
    } else if (p.L < 0.0) {
        p.L += 360.0;
        p.Note = TRotationNote::Old;
    }
    p.B = RadToDeg(b);
    return result;
}

QString HemisphereWord(double b) {
    return AsShown(b) >= 0.0 ? QStringLiteral("Nord") : QStringLiteral("Süd");
}

QString SideWord(double azm) {
    return AsShown(azm) >= 0.0 ? QStringLiteral("West") : QStringLiteral("Ost");
}

std::optional<double> ReadMillimetres(const QString &text) {
    const QString t = text.trimmed();
    QLocale user;
    user.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = user.toDouble(t, &ok);
    if (!ok) {
        QLocale c = QLocale::c();
        c.setNumberOptions(QLocale::RejectGroupSeparator);
        v = c.toDouble(t, &ok);
    }
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

QString Fixed4(double value, const QLocale &locale) {
    return locale.toString(AsShown(value), 'f', 4);
}
