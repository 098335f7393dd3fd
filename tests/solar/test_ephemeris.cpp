// Angle helpers, time scales, the Sun's orientation and the spot position.
#include "solar/astro.h"
#include "solar/astromat.h"
#include "solar/spot_position.h"
#include "solar/sun.h"

#include <QTest>
#include <cmath>

namespace {
constexpr double kPi = 3.141592653589793;

// Four shown decimals agree.
bool SameTo4(double a, double b) {
    return std::fabs(a - b) < 0.00005 + 1e-9;
}

QString Fixed(double v) {
    return QString::number(v, 'f', 6);
}
} // namespace

class TestEphemeris : public QObject {
    Q_OBJECT
private slots:
    void norm360_data();
    void norm360();
    void arcTan2_data();
    void arcTan2();
    void arcSin_data();
    void arcSin();
    void arcSinOutsideDomainThrows();
    void degreeFactors();
    void julianDay_data();
    void julianDay();
    void gregorianReformByYear();
    void deltaT_data();
    void deltaT();
    void deltaTSeamsAreContinuous_data();
    void deltaTSeamsAreContinuous();
    void deltaTDefinedEverywhere();
    void obliquity();
    void sunOrientationWorkedExample();
    void sunOrientationInRadians();
    void carringtonRotation_data();
    void carringtonRotation();
    void carringtonBoundaries();
    void carringtonIsMonotone();
    void spotPosition_data();
    void spotPosition();
    void spotOnTheCircleIsAccepted();
    void spotRotationWrap_data();
    void spotRotationWrap();
    void spotOffTheDisk_data();
    void spotOffTheDisk();
    void spotBeyondVisiblePole();
    void readMillimetres_data();
    void readMillimetres();
    void fixed4();
    void observationTexts_data();
    void observationTexts();
};

void TestEphemeris::norm360_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("-0.5") << -0.5 << 359.5;
    QTest::newRow("720.25") << 720.25 << 0.25;
    QTest::newRow("-360") << -360.0 << 0.0;
    QTest::newRow("0") << 0.0 << 0.0;
    QTest::newRow("359.75") << 359.75 << 359.75;
    QTest::newRow("-725.5") << -725.5 << 354.5;
    QTest::newRow("large") << 36000.76983 * 10 << std::fmod(360007.6983, 360.0);
    QTest::newRow("beyond 64-bit") << 1.0e20 << std::fmod(1.0e20, 360.0);
}

void TestEphemeris::norm360() {
    QFETCH(double, x);
    QFETCH(double, expected);
    const double r = Norm360(x);
    QVERIFY2(std::fabs(r - expected) < 1e-9, qPrintable(Fixed(r)));
    QVERIFY(r >= 0.0 && r < 360.0);
}

void TestEphemeris::arcTan2_data() {
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("origin") << 0.0 << 0.0 << 0.0;
    QTest::newRow("negative x axis") << 0.0 << -1.0 << kPi;
    QTest::newRow("negative zero y is not negative") << -0.0 << -1.0 << kPi;
    QTest::newRow("negative y axis") << -1.0 << 0.0 << -PiHalf;
    QTest::newRow("positive y axis") << 1.0 << 0.0 << PiHalf;
    QTest::newRow("first quadrant") << 1.0 << 1.0 << kPi / 4;
    QTest::newRow("second quadrant") << 1.0 << -1.0 << 3 * kPi / 4;
    QTest::newRow("third quadrant") << -1.0 << -1.0 << -3 * kPi / 4;
    QTest::newRow("steep fourth quadrant") << -3.0 << 1.0 << std::atan2(-3.0, 1.0);
}

void TestEphemeris::arcTan2() {
    QFETCH(double, y);
    QFETCH(double, x);
    QFETCH(double, expected);
    QVERIFY2(std::fabs(ArcTan2(y, x) - expected) < 1e-15, qPrintable(Fixed(ArcTan2(y, x))));
}

void TestEphemeris::arcSin_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    QTest::newRow("1") << 1.0 << PiHalf;
    QTest::newRow("-1") << -1.0 << -PiHalf;
    QTest::newRow("0") << 0.0 << 0.0;
    QTest::newRow("0.5") << 0.5 << kPi / 6;
    QTest::newRow("-0.5") << -0.5 << -kPi / 6;
}

void TestEphemeris::arcSin() {
    QFETCH(double, x);
    QFETCH(double, expected);
    QVERIFY(std::fabs(ArcSin(x) - expected) < 1e-15);
}

void TestEphemeris::arcSinOutsideDomainThrows() {
    QVERIFY_THROWS_EXCEPTION(FloatingPointError, ArcSin(1.0000001));
    QVERIFY_THROWS_EXCEPTION(FloatingPointError, ArcSin(-2.0));
    try {
        ArcSin(1.5);
    } catch (const FloatingPointError &e) {
        QCOMPARE(QString::fromUtf8(e.what()), QStringLiteral("Ungültige Gleitkommaoperation"));
    }
}

void TestEphemeris::degreeFactors() {
    // The program's own literal factors, not the exact conversions.
    QCOMPARE(DegToRad(1.0), 0.0174532925199433);
    QCOMPARE(RadToDeg(1.0), 57.29577951308);
    QVERIFY(std::fabs(Tan(DegToRad(45.0)) - 1.0) < 1e-12);
}

void TestEphemeris::julianDay_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<double>("day");
    QTest::addColumn<double>("jd");
    QTest::newRow("J2000") << 2000 << 1 << 1.5 << 2451545.0;
    QTest::newRow("13 Oct 1992") << 1992 << 10 << 13.0 << 2448908.5;
    QTest::newRow("rotation epoch 9 Nov 1853") << 1853 << 11 << 9.0 << 2398166.5;
    QTest::newRow("4 Oct 1957 fraction") << 1957 << 10 << 4.81 << 2436116.31;
    QTest::newRow("February uses previous year") << 2024 << 2 << 29.0 << 2460369.5;
    QTest::newRow("31 Dec 3999") << 3999 << 12 << 31.0 << 3182028.5;
    QTest::newRow("1 Jan 1600") << 1600 << 1 << 1.0 << 2305447.5;
}

void TestEphemeris::julianDay() {
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(double, day);
    QFETCH(double, jd);
    QVERIFY2(std::fabs(JulianDay(year, month, day) - jd) < 1e-6,
             qPrintable(Fixed(JulianDay(year, month, day))));
}

void TestEphemeris::gregorianReformByYear() {
    QCOMPARE(JulianDay(1582, 10, 15.0) - JulianDay(1582, 10, 5.0), 10.0);
    // January 1582 already gets the Gregorian term (the test looks at the year
    // alone), so the turn of 1581 to 1582 steps back by nine days.
    const double jan1582 = JulianDay(1582, 1, 1.0);
    const double dec1581 = JulianDay(1581, 12, 31.0);
    QCOMPARE(jan1582 - dec1581, 1.0 - 10.0);
}

void TestEphemeris::deltaT_data() {
    QTest::addColumn<int>("year");
    QTest::addColumn<double>("seconds");
    QTest::newRow("1600 parabola") << 1600 << 128.325;
    QTest::newRow("1619 parabola") << 1619 << 0.00325 * 191 * 191 - 15;
    QTest::newRow("1940 table") << 1940 << 24.3;
    QTest::newRow("1990 table") << 1990 << 56.9;
    QTest::newRow("1992 table") << 1992 << 58.3;
    QTest::newRow("2010 table") << 2010 << 80.0;
    // Inside the fits, away from the faded seams.
    QTest::newRow("1700 fit") << 1700 << 8.83;
    QTest::newRow("1800 fit") << 1800 << 13.72;
    QTest::newRow("1860 fit") << 1860 << 7.62;
    QTest::newRow("1900 fit") << 1900 << -2.79;
    QTest::newRow("1920 fit") << 1920 << 21.20;
    QTest::newRow("2050 fit") << 2050 << 93.0;
    QTest::newRow("2150 fit") << 2150 << -20.0 + 32.0 * 3.3 * 3.3;
}

void TestEphemeris::deltaT() {
    QFETCH(int, year);
    QFETCH(double, seconds);
    QVERIFY2(std::fabs(DeltaT(year) - seconds) < 1e-9, qPrintable(Fixed(DeltaT(year))));
}

void TestEphemeris::deltaTSeamsAreContinuous_data() {
    QTest::addColumn<int>("year");
    // From year-1 to year. Where the program's parabola and table meet the fits, and where the fits meet each
    // other.
    for (int year : {1620, 1700, 1800, 1860, 1900, 1920, 1940, 2011, 2050, 2150})
        QTest::newRow(qPrintable(QString::number(year))) << year;
}

void TestEphemeris::deltaTSeamsAreContinuous() {
    QFETCH(int, year);
    const double jump = std::fabs(DeltaT(year) - DeltaT(year - 1));
    QVERIFY2(jump < 3.0, qPrintable(QStringLiteral("%1 -> %2").arg(DeltaT(year - 1)).arg(DeltaT(year))));
}

void TestEphemeris::deltaTDefinedEverywhere() {
    // Every year the position dialog accepts: finite, and never a sudden leap.
    for (int year = 1600; year <= 3999; ++year) {
        QVERIFY(std::isfinite(DeltaT(year)));
        if (year > 1600)
            QVERIFY2(std::fabs(DeltaT(year) - DeltaT(year - 1)) < 15.0, qPrintable(QString::number(year)));
    }
    QVERIFY(DeltaT(1800) > 0.0 && DeltaT(1800) < 20.0);
}

void TestEphemeris::obliquity() {
    UpdateObliquity(2415020.0);
    QCOMPARE(Obliquity, 23.452);
    UpdateObliquity(2415020.0 + 36525.0);
    QVERIFY(std::fabs(Obliquity - (23.452 - 0.01301 - 0.0000016 + 0.0000005)) < 1e-12);
}

void TestEphemeris::sunOrientationWorkedExample() {
    const double jd = JulianDay(1992, 10, 13.0);
    const TSunOrientation o = SunOrientation(false, jd, DeltaT(1992));
    QVERIFY2(SameTo4(o.P, 26.2739), qPrintable(Fixed(o.P)));
    QVERIFY2(SameTo4(o.B0, 5.9884), qPrintable(Fixed(o.B0)));
    QVERIFY2(SameTo4(o.L0, 238.6295), qPrintable(Fixed(o.L0)));
    QCOMPARE(CarringtonRotation(jd), 1861);
    // SunOrientation leaves the obliquity of its moment behind.
    QVERIFY(std::fabs(Obliquity - 23.44) < 0.01);
}

void TestEphemeris::sunOrientationInRadians() {
    const double jd = JulianDay(1992, 10, 13.0);
    const TSunOrientation d = SunOrientation(false, jd, 58.3);
    const TSunOrientation r = SunOrientation(true, jd, 58.3);
    QVERIFY(std::fabs(RadToDeg(r.P) - d.P) < 1e-9);
    QVERIFY(std::fabs(RadToDeg(r.B0) - d.B0) < 1e-9);
    QVERIFY(std::fabs(RadToDeg(r.L0) - d.L0) < 1e-9);
    QVERIFY(r.L0 >= 0.0 && r.L0 < TwoPi);
    // L0 falls by about 13.2 degrees a day.
    const TSunOrientation next = SunOrientation(false, jd + 1.0, 58.3);
    QVERIFY(std::fabs(Norm360(d.L0 - next.L0) - 13.2) < 0.1);
}

void TestEphemeris::carringtonRotation_data() {
    QTest::addColumn<double>("jd");
    QTest::addColumn<int>("rotation");
    QTest::newRow("1992") << 2448908.5 << 1861;
    QTest::newRow("1600 before rotation 1") << JulianDay(1600, 1, 1.0) << 0;
    QTest::newRow("epoch day before start") << 2398166.5 << 0;
    QTest::newRow("rotation 1 running") << 2398180.0 << 1;
    QTest::newRow("rotation 2 running") << 2398200.0 << 2;
    QTest::newRow("31 Dec 3999") << JulianDay(3999, 12, 31.0)
                                 << static_cast<int>((JulianDay(3999, 12, 31.0) - 2398140.227) / 27.2752316);
}

void TestEphemeris::carringtonRotation() {
    QFETCH(double, jd);
    QFETCH(int, rotation);
    QCOMPARE(CarringtonRotation(jd), rotation);
}

namespace {
// Start of rotation k as the ephemeris defines it.
double RotationStart(int k) {
    const long double m = DegToRad(Norm360(static_cast<double>(281.96L + 26.882476L * k)));
    return static_cast<double>(27.2752316L * k + 2398140.227L + 0.1454L * std::sin(m) -
                               0.0085L * std::sin(2 * m) - 0.0141L * std::cos(2 * m));
}
} // namespace

void TestEphemeris::carringtonBoundaries() {
    for (int k : {1, 2, 100, 1861, 2000, 2282, 5000}) {
        const double start = RotationStart(k);
        QCOMPARE(CarringtonRotation(start), k);
        QCOMPARE(CarringtonRotation(start - 3.0 / 24.0), k - 1);
        QCOMPARE(CarringtonRotation(start + 3.0 / 24.0), k);
    }
}

void TestEphemeris::carringtonIsMonotone() {
    // Up to the year 3999 the number never falls and grows by one at a time.
    int last = CarringtonRotation(2398100.0);
    QCOMPARE(last, 0);
    const double end = JulianDay(4000, 1, 1.0);
    for (double jd = 2398100.0; jd < end; jd += 0.5) {
        const int r = CarringtonRotation(jd);
        if (r != last) {
            QVERIFY2(r == last + 1,
                     qPrintable(QStringLiteral("JD %1: %2 after %3").arg(jd, 0, 'f', 2).arg(r).arg(last)));
            last = r;
        }
    }
    QVERIFY(last > 20000);
}

void TestEphemeris::spotPosition_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<double>("b");
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("azm");
    QTest::addColumn<QString>("hemisphere");
    QTest::addColumn<QString>("side");
    QTest::newRow("east") << 50.0 << 0.0 << 18.0877 << 210.4879 << -28.1416 << "Nord"
                          << "Ost";
    QTest::newRow("west") << -50.0 << 0.0 << -7.4565 << 265.5123 << 26.8829 << "Süd"
                          << "West";
    QTest::newRow("north") << 0.0 << 50.0 << 32.4285 << 253.8314 << 15.2019 << "Nord"
                           << "West";
    QTest::newRow("centre") << 0.0 << 0.0 << 5.9884 << 238.6295 << 0.0 << "Nord"
                            << "West";
}

void TestEphemeris::spotPosition() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(double, b);
    QFETCH(double, l);
    QFETCH(double, azm);
    QFETCH(QString, hemisphere);
    QFETCH(QString, side);
    const TSunValues sun = ComputeSunValues(1992, 10, 13, 0);
    QCOMPARE(sun.DeltaT, 58.3);
    QCOMPARE(sun.Rotation, 1861);
    const TSpotResult r = ComputeSpotPosition(sun.Radians, x, y, 100);
    QCOMPARE(r.Check, TCircleCheck::Inside);
    QVERIFY2(SameTo4(r.Position.B, b), qPrintable(Fixed(r.Position.B)));
    QVERIFY2(SameTo4(r.Position.L, l), qPrintable(Fixed(r.Position.L)));
    QVERIFY2(SameTo4(r.Position.AZM, azm), qPrintable(Fixed(r.Position.AZM)));
    QCOMPARE(HemisphereWord(r.Position.B), hemisphere);
    QCOMPARE(SideWord(r.Position.AZM), side);
    QCOMPARE(r.Position.Note, TRotationNote::None);
}

void TestEphemeris::spotOnTheCircleIsAccepted() {
    // ρ = R: σ is exactly 90°, with B0 = 0 and P = 0 the point at the east limb lies 90° east.
    const TSunOrientation sun{0.0, 0.0, DegToRad(200.0)};
    const TSpotResult r = ComputeSpotPosition(sun, 100.0, 0.0, 100);
    QCOMPARE(r.Check, TCircleCheck::Inside);
    QVERIFY(SameTo4(r.Position.AZM, -90.0));
    QVERIFY(SameTo4(r.Position.L, 110.0));
    QVERIFY(SameTo4(r.Position.B, 0.0));
    // At the limb of a tilted disk rounding must not turn into an error.
    const TSunValues tilted = ComputeSunValues(1992, 10, 13, 0);
    for (double angle = 0.0; angle < 360.0; angle += 7.5) {
        const double a = DegToRad(angle);
        const TSpotResult limb =
            ComputeSpotPosition(tilted.Radians, 100.0 * std::cos(a), 100.0 * std::sin(a), 100);
        QVERIFY(std::isfinite(limb.Position.B) && std::isfinite(limb.Position.L));
    }
}

void TestEphemeris::spotRotationWrap_data() {
    QTest::addColumn<double>("l0");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("l");
    QTest::addColumn<double>("azm");
    QTest::addColumn<int>("note");
    const double r20 = 100.0 * std::sin(DegToRad(20.0));
    QTest::newRow("west over 360") << 350.0 << -r20 << 10.0 << 20.0 << int(TRotationNote::Next);
    QTest::newRow("east below 0") << 10.0 << r20 << 350.0 << -20.0 << int(TRotationNote::Old);
    QTest::newRow("inside range") << 180.0 << r20 << 160.0 << -20.0 << int(TRotationNote::None);
}

void TestEphemeris::spotRotationWrap() {
    QFETCH(double, l0);
    QFETCH(double, x);
    QFETCH(double, l);
    QFETCH(double, azm);
    QFETCH(int, note);
    const TSunOrientation sun{0.0, 0.0, DegToRad(l0)};
    const TSpotResult r = ComputeSpotPosition(sun, x, 0.0, 100);
    QCOMPARE(r.Check, TCircleCheck::Inside);
    QVERIFY2(SameTo4(r.Position.L, l), qPrintable(Fixed(r.Position.L)));
    QVERIFY2(SameTo4(r.Position.AZM, azm), qPrintable(Fixed(r.Position.AZM)));
    QCOMPARE(int(r.Position.Note), note);
}

void TestEphemeris::spotOffTheDisk_data() {
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("y");
    QTest::addColumn<int>("radius");
    QTest::addColumn<int>("check");
    QTest::addColumn<QString>("message");
    QTest::newRow("outside") << 80.0 << 61.0 << 100 << int(TCircleCheck::Outside)
                             << "Der Punkt liegt nicht innerhalb des Kreises";
    QTest::newRow("radius 0, centre")
        << 0.0 << 0.0 << 0 << int(TCircleCheck::RadiusNotSet) << QString::fromUtf8(kMsgRadiusNotSet);
    QTest::newRow("radius 0, off centre")
        << 3.0 << 4.0 << 0 << int(TCircleCheck::RadiusNotSet) << QString::fromUtf8(kMsgRadiusNotSet);
    QTest::newRow("negative radius") << 3.0 << 4.0 << -1 << int(TCircleCheck::RadiusNotSet)
                                     << QString::fromUtf8(kMsgRadiusNotSet);
}

void TestEphemeris::spotOffTheDisk() {
    QFETCH(double, x);
    QFETCH(double, y);
    QFETCH(int, radius);
    QFETCH(int, check);
    QFETCH(QString, message);
    const TSunValues sun = ComputeSunValues(1992, 10, 13, 0);
    const TSpotResult r = ComputeSpotPosition(sun.Radians, x, y, radius);
    QCOMPARE(int(r.Check), check);
    QCOMPARE(CircleMessage(r.Check), message);
    QVERIFY(message.contains(QStringLiteral("Projektionsradius")) || radius > 0);
}

void TestEphemeris::spotBeyondVisiblePole() {
    // North pole tilted 7° toward us: just inside the north limb, beyond the
    // pole, the spot lies on the far meridian, not next to the central one.
    const TSunOrientation sun{0.0, DegToRad(7.0), DegToRad(100.0)};
    const TSpotResult r = ComputeSpotPosition(sun, -1.0, 99.9, 100);
    QCOMPARE(r.Check, TCircleCheck::Inside);
    QVERIFY2(r.Position.B > 80.0, qPrintable(Fixed(r.Position.B)));
    QVERIFY2(std::fabs(r.Position.AZM) > 170.0, qPrintable(Fixed(r.Position.AZM)));
    // Below the pole on the same line the near meridian is right.
    const TSpotResult nearSide = ComputeSpotPosition(sun, -1.0, 90.0, 100);
    QVERIFY2(std::fabs(nearSide.Position.AZM) < 10.0, qPrintable(Fixed(nearSide.Position.AZM)));
}

void TestEphemeris::readMillimetres_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "50" << true << 50.0;
    QTest::newRow("point") << "-12.5" << true << -12.5;
    QTest::newRow("blanks") << " 7 " << true << 7.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "5x" << false << 0.0;
    QTest::newRow("group separator") << "1,000.5" << false << 0.0;
    QTest::newRow("infinity") << "inf" << false << 0.0;
}

void TestEphemeris::readMillimetres() {
    QFETCH(QString, text);
    QFETCH(bool, ok);
    QFETCH(double, value);
    const std::optional<double> v = ReadMillimetres(text);
    QCOMPARE(v.has_value(), ok);
    if (ok)
        QCOMPARE(*v, value);
}

void TestEphemeris::fixed4() {
    const QLocale german(QLocale::German, QLocale::Germany);
    QCOMPARE(Fixed4(26.27386, german), QStringLiteral("26,2739"));
    QCOMPARE(Fixed4(-0.00001, german), QStringLiteral("0,0000"));
    QCOMPARE(Fixed4(-28.14163, QLocale::c()), QStringLiteral("-28.1416"));
    QCOMPARE(Fixed4(1234.5, german), QStringLiteral("1.234,5000"));
}

void TestEphemeris::observationTexts_data() {
    QTest::addColumn<QString>("date");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("seconds");
    QTest::newRow("plain") << "13.10.1992"
                           << "00:00" << 1992 << 0;
    QTest::newRow("blanks from the mask") << " 3.10.1992"
                                          << " 7:05" << 1992 << 25500;
    QTest::newRow("two-digit year") << "13.10.0092"
                                    << "23:59" << 1992 << 86340;
    QTest::newRow("short date") << "3.10.1992"
                                << "00:00" << -1 << 0;
    QTest::newRow("short time") << "13.10.1992"
                                << "7:05" << 1992 << -1;
    QTest::newRow("24:00") << "13.10.1992"
                           << "24:00" << 1992 << -1;
    QTest::newRow("empty mask") << "  .  .    "
                                << "  :  " << -1 << -1;
    QTest::newRow("year 4000") << "01.01.4000"
                               << "12:00" << -1 << 43200;
}

void TestEphemeris::observationTexts() {
    QFETCH(QString, date);
    QFETCH(QString, time);
    QFETCH(int, year);
    QFETCH(int, seconds);
    const std::optional<TObservationDate> d = ReadObservationDate(date);
    QCOMPARE(d ? d->year : -1, year);
    const std::optional<int> s = ReadObservationTime(time);
    QCOMPARE(s ? *s : -1, seconds);
}

QTEST_GUILESS_MAIN(TestEphemeris)
#include "test_ephemeris.moc"
