#pragma once

// A month worked out by hand: March 2000 of an observer against SILSO files
// written for it. Common days (observed, Re given, SILSO >= 0) are 1, 2, 3
// and 8:
//   day  Zeit   Re   SILSO  ratio
//    1   yes    50    60    1.2
//    2   yes    40    48    1.2
//    3   yes     0    10    -      (Re 0: no ratio)
//    4   no    (99)   70    -      not observed
//    5   yes    -1    80    -      Re not given
//    6   yes    30     -    -      no SILSO line
//    7   yes    20    -1    -      SILSO has no value
//    8   yes    10    16    1.6
// n = 4, sum Re = 100, sum SILSO = 134, k = 1.34, mean Re 25, mean SILSO 33.5,
// ratios 1.2, 1.2, 1.6: mean 1.3333, sample deviation sqrt(0.10667 / 2) = 0.23094.
// Hemispheres (10 g + f on observed days with both given):
//   north: day 1 30, day 2 15, day 8 0 -> mean 15; SILSO north 30 -> k 2.0
//   south: day 1 20, day 8 10 -> mean 15; SILSO south 22.5 -> k 1.5
// (day 4 is not observed, day 2 has no southern groups).

#include "../common/day_records.h"
#include "../common/observer_fixture.h"
#include "storage/day_record.h"
#include "storage/year_file.h"

#include <QDir>
#include <QFile>
#include <cstring>
#include <stdexcept>

inline constexpr int kHandYear = 2000;
inline constexpr int kHandMonth = 3;

inline TYearBuffer HandYear() {
    TYearBuffer year;
    std::memset(static_cast<void *>(&year), 0, sizeof year);
    auto day = [&](int d, int re, int gn, int fn, int gs, int fs, bool observed = true) {
        TDayRecord r = ObservedDayRecord("09:30", 0, 0);
        r.Re = static_cast<std::int16_t>(re);
        r.g_n = static_cast<std::int16_t>(gn);
        r.f_n = static_cast<std::int16_t>(fn);
        r.g_s = static_cast<std::int16_t>(gs);
        r.f_s = static_cast<std::int16_t>(fs);
        if (!observed)
            r.Zeit.assign(QString());
        year.Day(kHandMonth, d) = r;
    };
    day(1, 50, 2, 10, 1, 10);
    day(2, 40, 1, 5, -1, -1);
    day(3, 0, -1, -1, -1, -1);
    day(4, 99, 5, 5, 5, 5, false);
    day(5, -1, -1, -1, -1, -1);
    day(6, 30, -1, -1, -1, -1);
    day(7, 20, -1, -1, -1, -1);
    day(8, 10, 0, 0, 1, 0);
    return year;
}

// SILSO's daily CSV for the hand month (day 6 left out).
inline QByteArray HandSilsoDailyCsv() {
    return "2000;03;01;2000.163;  60;  3.0;  10;1\n"
           "2000;03;02;2000.166;  48;  2.9;  11;1\n"
           "2000;03;03;2000.169;  10;  1.0;  12;1\n"
           "2000;03;04;2000.171;  70;  4.0;  13;1\n"
           "2000;03;05;2000.174;  80;  4.5;  14;1\n"
           "2000;03;07;2000.180;  -1; -1.0;   0;1\n"
           "2000;03;08;2000.182;  16;  1.5;  15;1\n";
}

// SILSO's hemispheric CSV for the hand month.
inline QByteArray HandSilsoHemCsv() {
    return "2000; 3;2000.204;  52.5; 30.0; 22.5;   4.0;  3.0;  2.0;  500; 400; 400;1\n";
}

inline void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

inline QByteArray ReadBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A program folder in `home` with the observer "Erika Mustermann" (key Muster,
// folder 0001) whose only year file is the hand year 2000; the storage is
// started on it.
inline void MakeHandHome(const QString &home) {
    TObserverFixture noYears;
    noYears.firstYear = 1;
    noYears.lastYear = 0;
    noYears.sidcFirstYear = 0;
    MakeObserverHome(home, noYears);
    if (!WriteYear(kHandYear, HandYear()))
        throw std::runtime_error("cannot write the hand year");
}
