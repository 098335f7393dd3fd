#pragma once

#include "import_report.h"

#include <QByteArray>
#include <QString>

// The monthly sunspot-number files the SIDC import understands.
enum class TSidcFormat {
    OldColumns,   // monthssn.dat: year 1-4, month 5-6, values in 20-24 and 28-32 (pre-2015 scale)
    MonthlyText,  // SN_m_tot_V2.0.txt: year 1-4, month 6-7, monthly mean 19-23
    MonthlyCsv,   // SN_m_tot_V2.0.csv (also the hemispheric SN_m_hem file: total in field 4)
    SmoothedText, // SN_ms_tot_V2.0.txt: 13-month smoothed mean 19-23
    SmoothedCsv,  // SN_ms_tot_V2.0.csv
};

struct TSidcImportResult {
    TSidcFormat format = TSidcFormat::OldColumns;
    TImportReport report;
};

// Recognises the file's format from its content; the file name only decides
// between monthly and smoothed values when the content is too short to tell.
TSidcFormat RecogniseSidcFormat(const QByteArray &bytes, const QString &fileName = QString());

// Whether the numbers of the format are on the old SILSO scale (before 2015).
bool IsOldSidcScale(TSidcFormat format);

// The numbers the file gives SIDC and SIDCM for the years firstYear..lastYear,
// in memory:
// - old column file: the month-matching import (SIDC from 20-24, SIDCM from
//   28-32);
// - monthly V2.0 file: SIDC := the monthly mean, SIDCM := the 13-month
//   smoothed mean computed from the file's means;
// - smoothed V2.0 file: SIDCM := its value, SIDC unchanged.
// In the V2.0 files a value of -1 (none) and a smoothed value that cannot be
// formed give no number. Throws TarvoError for a year or month that is not an
// integer.
TMonthValues SidcMonthValues(const QByteArray &bytes, TSidcFormat format, int firstYear, int lastYear);

// Imports the file into the current observer's archive. Months the file does
// not hold keep what they had. Throws TarvoError, with nothing written, for
// an unreadable file, a year or month that is not an integer and a file
// without a line for any month of the range; and for archive failures.
TSidcImportResult ImportSidc(const QString &fileName, int firstYear, int lastYear);

// The 13-month smoothed mean of SILSO: weights 1/2 at +-6 months, 1 between,
// divided by 12; `window` holds the 13 monthly means, the centre at index 6.
double SilsoSmoothed(const double *window);
