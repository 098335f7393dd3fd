#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One month of one observer in the evaluation archive: means, day counts,
// smoothed relative numbers and imported reference series.
struct TMonthSummary {
    std::uint8_t Monat;
    std::int32_t Jahr;
    double DatStamp; // stamp of the year data file at the last aggregation; 0 = never
    double MeanRe;
    double MeanReNord;
    double MeanReSued;
    double R13;
    double P17;
    double MeanBeck;
    double MeanSN;
    double MeanCV;
    double MeanA;
    double MeanAb;
    double NetDef;
    double NetProv;
    double Extra1;
    double Extra2;
    double Extra3;
    double Extra4;
    double Zuerich;
    double SIDC;
    double SIDCM;
    double ANetz;
    double AbNetz;
    double MeanFo;
    double MeanFm;
    double MeanFEF;
    double MeanFEP;
    double MeanPfn;
    double MeanPfs;
    std::int32_t Counts[50];
    double P9;
    std::uint8_t Reserved[152];
};

#pragma pack(pop)

static_assert(sizeof(TMonthSummary) == 589);
static_assert(offsetof(TMonthSummary, Jahr) == 1);
static_assert(offsetof(TMonthSummary, DatStamp) == 5);
static_assert(offsetof(TMonthSummary, MeanRe) == 13);
static_assert(offsetof(TMonthSummary, MeanReNord) == 21);
static_assert(offsetof(TMonthSummary, MeanReSued) == 29);
static_assert(offsetof(TMonthSummary, R13) == 37);
static_assert(offsetof(TMonthSummary, P17) == 45);
static_assert(offsetof(TMonthSummary, MeanBeck) == 53);
static_assert(offsetof(TMonthSummary, MeanSN) == 61);
static_assert(offsetof(TMonthSummary, MeanCV) == 69);
static_assert(offsetof(TMonthSummary, MeanA) == 77);
static_assert(offsetof(TMonthSummary, MeanAb) == 85);
static_assert(offsetof(TMonthSummary, NetDef) == 93);
static_assert(offsetof(TMonthSummary, NetProv) == 101);
static_assert(offsetof(TMonthSummary, Extra1) == 109);
static_assert(offsetof(TMonthSummary, Zuerich) == 141);
static_assert(offsetof(TMonthSummary, SIDC) == 149);
static_assert(offsetof(TMonthSummary, SIDCM) == 157);
static_assert(offsetof(TMonthSummary, ANetz) == 165);
static_assert(offsetof(TMonthSummary, AbNetz) == 173);
static_assert(offsetof(TMonthSummary, MeanFo) == 181);
static_assert(offsetof(TMonthSummary, MeanFm) == 189);
static_assert(offsetof(TMonthSummary, MeanFEF) == 197);
static_assert(offsetof(TMonthSummary, MeanFEP) == 205);
static_assert(offsetof(TMonthSummary, MeanPfn) == 213);
static_assert(offsetof(TMonthSummary, MeanPfs) == 221);
static_assert(offsetof(TMonthSummary, Counts) == 229);
static_assert(offsetof(TMonthSummary, P9) == 429);
static_assert(offsetof(TMonthSummary, Reserved) == 437);

constexpr int kArchiveYears = 50;
constexpr int kArchiveRecords = kArchiveYears * 12;
