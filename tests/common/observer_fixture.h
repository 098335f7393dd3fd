#pragma once

// A program folder with one observer, "Erika Mustermann" (key Muster, folder
// 0001): year files whose daily counts follow SILSO's monthly numbers, with
// cloudy days and months without any observation, and the SIDC import of the
// real SILSO monthly file. Used by the evaluation tests, tarvo-cli's plot test
// and for screenshots.

#include "day_records.h"
#include "network/import_sidc.h"
#include "storage/ini_file.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QSet>
#include <cmath>
#include <random>
#include <stdexcept>

struct TObserverFixture {
    int firstYear = 1995;
    int lastYear = 2005;
    // Months (year * 100 + month) without a single observation.
    QSet<int> breaks;
    // SIDC import of the real SILSO V2.0 monthly file for these years (none when 0).
    int sidcFirstYear = 1994;
    int sidcLastYear = 2005;
};

// SILSO's monthly means (year * 100 + month -> value) from the V2.0 text file.
inline QMap<int, double> SilsoMonthlyMeans() {
    QFile file(QStringLiteral(TARVO_TEST_DATA "/silso/SN_m_tot_V2.0_1950-2005.txt"));
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("SILSO test file missing");
    QMap<int, double> means;
    for (const QByteArray &line : file.readAll().split('\n'))
        if (line.size() >= 23)
            means[line.left(4).toInt() * 100 + line.mid(5, 2).trimmed().toInt()] =
                line.mid(18, 5).trimmed().toDouble();
    return means;
}

// A day's counts near `target` relative number, split over both hemispheres.
inline TDayRecord FixtureDay(double target, std::mt19937 &random) {
    std::normal_distribution<double> spread(1.0, 0.22);
    const int re = std::max(0, static_cast<int>(std::lround(target * spread(random))));
    const int g = re == 0 ? 0 : std::max(1, static_cast<int>(std::lround(re / 17.0)));
    const int f = re == 0 ? 0 : std::max(g, re - 10 * g);
    TDayRecord d = ObservedDayRecord("09:30", g, f);
    d.g_n = static_cast<std::int16_t>((g + 1) / 2);
    d.f_n = static_cast<std::int16_t>(f * 11 / 20);
    d.g_s = static_cast<std::int16_t>(g - d.g_n);
    d.f_s = static_cast<std::int16_t>(f - d.f_n);
    d.Ruhe = d.Schaerfe = d.Qualitaet = 2;
    return d;
}

// Makes the program folder in `home` and starts the storage on it with the
// observer current. Throws std::runtime_error when something fails.
inline void MakeObserverHome(const QString &home, const TObserverFixture &fixture = TObserverFixture()) {
    QDir(home).mkpath(QStringLiteral("0001"));
    IniFile settings(home + QStringLiteral("/tarvo.ini"));
    settings.writeString(QStringLiteral("TARVO32"), QStringLiteral("Beobachter"), QStringLiteral("Muster"));
    settings.writeString(QStringLiteral("TARVO32"), QStringLiteral("FileVersion"), QStringLiteral("99"));
    settings.writeString(QStringLiteral("Beobachter"), QStringLiteral("Muster"), QStringLiteral("0001/"));
    settings.save();
    IniFile beob(home + QStringLiteral("/0001/beob.ini"));
    beob.writeString(QStringLiteral("Beobachter"), QStringLiteral("Name1"), QStringLiteral("Muster"));
    beob.writeString(QStringLiteral("Beobachter"), QStringLiteral("Name2"),
                     QStringLiteral("Erika Mustermann"));
    beob.save();

    StorageStartUp(home);
    TObserverProfile profile = EmptyProfile();
    LoadProgramSettings(profile);

    const QMap<int, double> silso = SilsoMonthlyMeans();
    std::mt19937 random(1995);
    std::uniform_real_distribution<double> chance(0, 1);
    for (int year = fixture.firstYear; year <= fixture.lastYear; ++year) {
        TYearBuffer buffer{};
        for (int month = 1; month <= 12; ++month) {
            if (fixture.breaks.contains(year * 100 + month))
                continue;
            // Clear days are rarer in winter.
            const double clear = 0.45 + 0.25 * std::sin((month - 3.5) / 12.0 * 2 * M_PI);
            for (int day = 1; day <= QDate(year, month, 1).daysInMonth(); ++day)
                if (chance(random) < clear)
                    buffer.Day(month, day) = FixtureDay(0.65 * silso.value(year * 100 + month), random);
        }
        try {
            WriteYear(year, buffer);
        } catch (const TarvoError &e) {
            throw std::runtime_error(e.message().toStdString());
        }
    }
    if (fixture.sidcFirstYear > 0)
        ImportSidc(QStringLiteral(TARVO_TEST_DATA "/silso/SN_m_tot_V2.0_1950-2005.txt"),
                   fixture.sidcFirstYear, fixture.sidcLastYear);
}
