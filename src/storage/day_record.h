#pragma once

#include "pstring.h"

#include <array>
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One observer's observation of one day. A number that was not given is -1.
// A day counts as observed exactly when Zeit is not empty.
struct TDayRecord {
    PString<15> Bemerkung; // remark; in slot 0 the dispatch status string
    PString<5> Zeit;       // "hh:mm" UT; empty = no observation
    std::int16_t Ruhe;
    std::int16_t Schaerfe;
    std::int16_t Qualitaet;
    std::int16_t g_n;
    std::int16_t f_n;
    std::int16_t g_s;
    std::int16_t f_s;
    std::int16_t g;
    std::int16_t f;
    std::int16_t Re;
    std::int32_t Rs;
    std::int16_t p;
    std::int16_t s;
    std::int16_t SN;
    std::int16_t CV;
    std::int8_t A;
    std::int8_t Ab;
    std::uint8_t Reserved1[4];
    std::int16_t Fo;
    std::int16_t Fm;
    std::int16_t FEF;
    std::int16_t FEP;
    std::int16_t pfn;
    std::int16_t pfs;
    PString<5> z_f;
    PString<5> Po;
    char Fl; // 'X' when the faculae areas were measured; any non-zero value counts as set
    std::int16_t LN;
    std::int16_t LS;
    std::int16_t LGES;
    std::uint8_t Reserved2[44];

    bool observed() const { return !Zeit.empty(); }
};

#pragma pack(pop)

static_assert(sizeof(TDayRecord) == 135);
static_assert(offsetof(TDayRecord, Bemerkung) == 0);
static_assert(offsetof(TDayRecord, Zeit) == 16);
static_assert(offsetof(TDayRecord, Ruhe) == 22);
static_assert(offsetof(TDayRecord, Schaerfe) == 24);
static_assert(offsetof(TDayRecord, Qualitaet) == 26);
static_assert(offsetof(TDayRecord, g_n) == 28);
static_assert(offsetof(TDayRecord, f_n) == 30);
static_assert(offsetof(TDayRecord, g_s) == 32);
static_assert(offsetof(TDayRecord, f_s) == 34);
static_assert(offsetof(TDayRecord, g) == 36);
static_assert(offsetof(TDayRecord, f) == 38);
static_assert(offsetof(TDayRecord, Re) == 40);
static_assert(offsetof(TDayRecord, Rs) == 42);
static_assert(offsetof(TDayRecord, p) == 46);
static_assert(offsetof(TDayRecord, s) == 48);
static_assert(offsetof(TDayRecord, SN) == 50);
static_assert(offsetof(TDayRecord, CV) == 52);
static_assert(offsetof(TDayRecord, A) == 54);
static_assert(offsetof(TDayRecord, Ab) == 55);
static_assert(offsetof(TDayRecord, Reserved1) == 56);
static_assert(offsetof(TDayRecord, Fo) == 60);
static_assert(offsetof(TDayRecord, Fm) == 62);
static_assert(offsetof(TDayRecord, FEF) == 64);
static_assert(offsetof(TDayRecord, FEP) == 66);
static_assert(offsetof(TDayRecord, pfn) == 68);
static_assert(offsetof(TDayRecord, pfs) == 70);
static_assert(offsetof(TDayRecord, z_f) == 72);
static_assert(offsetof(TDayRecord, Po) == 78);
static_assert(offsetof(TDayRecord, Fl) == 84);
static_assert(offsetof(TDayRecord, LN) == 85);
static_assert(offsetof(TDayRecord, LS) == 87);
static_assert(offsetof(TDayRecord, LGES) == 89);
static_assert(offsetof(TDayRecord, Reserved2) == 91);

// 32 day records: slot 0 is the month header (dispatch status string and the
// month sums), slots 1..31 are the days of the month.
struct TMonthBlock {
    std::array<TDayRecord, 32> Days;
    TDayRecord &Header() { return Days[0]; }
    const TDayRecord &Header() const { return Days[0]; }
};
static_assert(sizeof(TMonthBlock) == 4320);

// A whole year data file: 13 month blocks; block 0 is carried along unused.
struct TYearBuffer {
    std::array<TMonthBlock, 13> Months;
    TDayRecord &Day(int month, int day) { return Months[month].Days[day]; }
    const TDayRecord &Day(int month, int day) const { return Months[month].Days[day]; }
};
static_assert(sizeof(TYearBuffer) == 56160);

constexpr int kYearFileSize = 56160;
constexpr int kLegacyRecordSize = 103;
constexpr int kLegacyRecordCount = 416;
constexpr int kLegacyYearFileSize = kLegacyRecordSize * kLegacyRecordCount; // 42848
