#pragma once

// An example observer for the pictures of the README and the metadata: the
// profile of the form tests, and sixteen years of daily counts that follow
// the real sunspot cycle of the SILSO test data (1990-2005), made the same on
// every run.
#include "../reports/form_fixture.h"

#include "storage/month_totals.h"
#include "network/import_sidc.h"
#include "shell/observer_admin.h"
#include "calendar/tpdate.h"
#include "storage/archive.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QFile>
#include <QHash>
#include <QStringList>
#include <algorithm>
#include <cmath>
#include <cstring>

inline constexpr int kExampleFirstYear = 1990;
inline constexpr int kExampleLastYear = 2005;

// The SILSO monthly means of the test data, keyed by year * 100 + month.
inline QHash<int, double> SilsoMonthlyMeans() {
    QHash<int, double> means;
    QFile file(QStringLiteral(TARVO_TEST_DATA "/silso/monthssn_1950-2005.dat"));
    if (!file.open(QIODevice::ReadOnly))
        return means;
    for (const QByteArray &line : file.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() >= 3)
            means.insert(fields[0].toInt(), fields[2].toDouble());
    }
    return means;
}

// A small linear congruential generator: the same numbers on every system.
class ExampleRandom {
public:
    explicit ExampleRandom(std::uint32_t seed) : state_(seed) {}
    double uniform() {
        state_ = state_ * 1664525u + 1013904223u;
        return (state_ >> 8) / double(1u << 24);
    }
    int between(int low, int high) { return low + std::min(high - low, int(uniform() * (high - low + 1))); }

private:
    std::uint32_t state_;
};

inline TObserverProfile ExampleProfile() {
    TObserverProfile p = FixtureProfile(true);
    for (int category : {CatBemerkung, CatWolf, CatNS, CatBeck, CatPettis, CatCV, CatA}) {
        p.Ein.set(category, true);
        p.Aus.set(category, true);
    }
    p.Radius = 100;
    // Colours of the curves Re, R13, SIDC and SIDC M, as an observer picks them.
    p.Farbe[0] = 0x0000C0;
    p.Farbe[3] = 0x800000;
    p.Farbe[13] = 0x008000;
    p.Farbe[14] = 0x808000;
    return p;
}

// One observed day with about `mean` as relative number.
inline TDayRecord ExampleDay(ExampleRandom &random, int month, double mean) {
    TDayRecord d;
    std::memset(&d, 0, sizeof d);
    const bool summer = month >= 4 && month <= 9;
    d.Zeit.assign(QStringLiteral("%1:%2")
                      .arg(random.between(summer ? 7 : 9, summer ? 15 : 13), 2, 10, QLatin1Char('0'))
                      .arg(random.between(0, 11) * 5, 2, 10, QLatin1Char('0')));
    d.Ruhe = random.between(1, 4);
    d.Schaerfe = random.between(1, 4);
    d.Qualitaet = std::max(d.Ruhe, d.Schaerfe);
    const double day = mean * (0.6 + 0.8 * random.uniform());
    const int g = int(std::lround(day / 17));
    const int f = g == 0 ? 0 : std::max(g, int(std::lround(day - 10 * g)));
    d.g_n = std::min(g, int(std::lround(g * (0.3 + 0.4 * random.uniform()))));
    d.g_s = g - d.g_n;
    d.f_n = g == 0 ? 0 : std::clamp(int(std::lround(double(f) * d.g_n / g)), int(d.g_n), f - d.g_s);
    d.f_s = f - d.f_n;
    d.g = g;
    d.f = f;
    d.Re = 10 * g + f;
    d.Rs = g * random.between(40, 110) + 2 * f;
    d.p = std::max(0, g - random.between(0, 1));
    d.s = int(std::lround(f * 0.6));
    d.SN = 10 * d.p + d.s;
    d.CV = g * random.between(2, 7);
    d.A = day > 140 && random.uniform() < 0.3 ? 1 : 0;
    d.Ab = -1;
    for (auto *faculae : {&d.Fo, &d.Fm, &d.FEF, &d.FEP, &d.pfn, &d.pfs})
        *faculae = -1;
    d.LN = d.LS = d.LGES = -1;
    if (random.uniform() < 0.12) {
        static const char *const remarks[] = {"Dunst", "Cirren", "Wolkenlücken", "Wind", "Seeing wechselnd"};
        d.Bemerkung.assign(QString::fromUtf8(remarks[random.between(0, 4)]));
    }
    return d;
}

// One example year: the observed days of each month (more in summer, none on
// cloudy days) with their month header records summed as the month table does.
inline TYearBuffer ExampleYear(int year, const QHash<int, double> &means) {
    TYearBuffer buffer;
    std::memset(&buffer, 0, sizeof buffer);
    ExampleRandom random(std::uint32_t(year) * 7919u);
    static const double clearSky[12] = {.35, .4, .5, .55, .6, .65, .7, .65, .55, .45, .35, .3};
    for (int month = 1; month <= 12; ++month) {
        const double mean = 1.15 * means.value(year * 100 + month);
        for (int day = 1; day <= MonthLength(month, year); ++day)
            if (random.uniform() < clearSky[month - 1])
                buffer.Day(month, day) = ExampleDay(random, month, mean);
        SumMonth(buffer.Months[month], month, year);
    }
    return buffer;
}

// Sets up the example observer in the program directory `home` as the
// program would: tarvo.ini, the observer's folder with beob.ini, the year
// files and the archive with the SIDC numbers imported. Returns the profile.
inline TObserverProfile MakeExampleObserver(const QString &home) {
    StorageStartUp(home);
    TObserverProfile profile = EmptyProfile();
    LoadProgramSettings(profile);
    profile = ExampleProfile();
    AddObserver(profile, FindFreeObserverDir());
    const QHash<int, double> means = SilsoMonthlyMeans();
    for (int year = kExampleFirstYear; year <= kExampleLastYear; ++year)
        WriteYear(year, ExampleYear(year, means));
    ImportSidc(QStringLiteral(TARVO_TEST_DATA "/silso/monthssn_1950-2005.dat"), kExampleFirstYear,
               kExampleLastYear);
    return profile;
}
