// Commands over the solar ephemeris: sun, position.
#include "cli_command.h"

#include "solar/spot_position.h"
#include "storage/tarvo_error.h"

namespace {

struct Moment {
    int year = 0;
    int month = 0;
    int day = 0;
    int seconds = 0;
};

Moment ReadMoment(const QString &dateText, const QString &timeText) {
    const std::optional<TObservationDate> date = ReadObservationDate(dateText);
    if (!date)
        throw TarvoError(QString::fromUtf8(kMsgDateWrong));
    const std::optional<int> seconds = ReadObservationTime(timeText);
    if (!seconds)
        throw TarvoError(QString::fromUtf8(kMsgTimeWrong));
    return {date->year, date->month, date->day, *seconds};
}

QString Line(const char *name, const QString &value) {
    return QLatin1String(name) + QLatin1Char('=') + value + '\n';
}

QString Number(double value) {
    return Fixed4(value, QLocale::c());
}

int Sun(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 2, 2);
    const Moment m = ReadMoment(args[0], args[1]);
    const TSunValues v = ComputeSunValues(m.year, m.month, m.day, m.seconds);
    CliPrint(Line("P", Number(v.Degrees.P)) + Line("B0", Number(v.Degrees.B0)) +
             Line("L0", Number(v.Degrees.L0)) + Line("Rotation", QString::number(v.Rotation)));
    return 0;
}

double ReadCoordinate(const QString &text) {
    const std::optional<double> v = ReadMillimetres(text);
    if (!v)
        throw TarvoError::NotAFloat(text);
    return *v;
}

int Position(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 5, 5);
    const Moment m = ReadMoment(args[0], args[1]);
    const double x = ReadCoordinate(args[2]);
    const double y = ReadCoordinate(args[3]);
    const int radius = CliIntArgument(args[4], "RADIUS", 0, 1000000);
    const TSunValues v = ComputeSunValues(m.year, m.month, m.day, m.seconds);
    const TSpotResult r = ComputeSpotPosition(v.Radians, x, y, radius);
    if (r.Check != TCircleCheck::Inside)
        throw TarvoError(CircleMessage(r.Check));
    const TSpotPosition &p = r.Position;
    QString out = Line("B", Number(p.B)) + Line("L", Number(p.L)) + Line("AZM", Number(p.AZM)) +
                  Line("Hemisphere", HemisphereWord(p.B)) + Line("Side", SideWord(p.AZM));
    if (p.Note == TRotationNote::Next)
        out += Line("Rotation", QStringLiteral("Nächste"));
    else if (p.Note == TRotationNote::Old)
        out += Line("Rotation", QStringLiteral("Alte"));
    CliPrint(out);
    return 0;
}

const CliCommandRegistrar kSun("sun", "DD.MM.YYYY HH:MM", Sun,
                               "P, B0, L0 und Rotationsnummer der Sonne zu Datum und Uhrzeit (UT)",
                               CliNeeds::NoObserver);
const CliCommandRegistrar kPosition("position", "DD.MM.YYYY HH:MM X Y RADIUS", Position,
                                    "heliographische Breite, Länge und Zentralmeridiandistanz eines Flecks",
                                    CliNeeds::NoObserver);

} // namespace
