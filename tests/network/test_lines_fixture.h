#pragma once
// Small fixtures shared by the network tests: a profile and day records.

#include "storage/day_record.h"
#include "storage/profile.h"

#include <QString>
#include <cstring>
#include <memory>

inline TObserverProfile LinesTestProfile() {
    TObserverProfile p = EmptyProfile();
    p.Name1.assign(QStringLiteral("Muster"));
    p.Name2.assign(QStringLiteral("Max Müller"));
    p.Name3.assign(QStringLiteral("Hauptstr. 1"));
    p.Name4.assign(QStringLiteral("12345 Ort"));
    p.Instrument.assign(QStringLiteral("Refr."));
    p.Oeffn.assign(QStringLiteral("80"));
    p.Brenn.assign(QStringLiteral("1200"));
    return p;
}

// An observed day with every number missing.
inline TDayRecord EmptyObservedDay(const char *zeit = "09:30") {
    TDayRecord r;
    std::memset(&r, 0, sizeof r);
    r.Zeit.assignBytes(zeit);
    r.Ruhe = r.Schaerfe = r.Qualitaet = -1;
    r.g_n = r.f_n = r.g_s = r.f_s = r.g = r.f = r.Re = -1;
    r.Rs = -1;
    r.p = r.s = r.SN = r.CV = -1;
    r.A = r.Ab = -1;
    r.Fo = r.Fm = r.FEF = r.FEP = r.pfn = r.pfs = -1;
    r.LN = r.LS = r.LGES = -1;
    return r;
}

// A typical full observation.
inline TDayRecord FullDay() {
    TDayRecord r = EmptyObservedDay("09:30");
    r.Ruhe = 2;
    r.Schaerfe = 3;
    r.Qualitaet = 1;
    r.g_n = 2;
    r.f_n = 10;
    r.g_s = 1;
    r.f_s = 4;
    r.g = 3;
    r.f = 14;
    r.Re = 44;
    r.Rs = 50;
    r.A = 2;
    r.Ab = -1;
    r.Fo = 1;
    r.Fm = 2;
    r.FEF = 5;
    r.FEP = 0;
    return r;
}

inline std::unique_ptr<TYearBuffer> ZeroYear() {
    auto year = std::make_unique<TYearBuffer>();
    std::memset(year.get(), 0, sizeof(TYearBuffer));
    return year;
}
