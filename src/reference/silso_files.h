#pragma once

#include "silso_series.h"

#include <QByteArray>
#include <QString>
#include <string_view>
#include <vector>

// SILSO's published files (version 2.0) as they are downloaded:
// - daily total, CSV: year;month;day;decimal date;SN;std dev;observations;flag
//   (flag 1 definitive, 0 provisional), blanks around the fields;
// - daily total, text: year 1-4, month 6-7, day 9-10, decimal date 12-19,
//   SN 21-24, std dev 26-30, observations 32-35, '*' in 37 = provisional;
// - hemispheric monthly, CSV: year;month;decimal date;SN total;north;south;
//   three std devs;three observation counts;flag (the month written " 1" in
//   older lines, "04" in newer ones).
// SN -1 (or any number below 0) means no value.

enum class TSilsoFileKind {
    Empty,          // nothing but blank lines
    DailyCsv,       // SN_d_tot_V2.0.csv
    DailyText,      // SN_d_tot_V2.0.txt
    HemisphericCsv, // SN_m_hem_V2.0.csv
    MonthlyCsv,     // SN_m_tot / SN_ms_tot as CSV
    MonthlyText,    // SN_m_tot / SN_ms_tot as text, or an old monthssn.dat
    Unknown,
};

// The kind of file, from its first line that is not blank.
TSilsoFileKind RecogniseSilsoFile(const QByteArray &bytes);

// The days of a daily file (CSV or text), in file order. Throws TarvoError,
// naming the file, for a file of another kind and for a line that is not a
// daily line (the message names the line).
std::vector<TSilsoDay> ParseSilsoDailyFile(const QByteArray &bytes, const QString &fileName);

// The months of a hemispheric file, in file order; throws like the above.
std::vector<TSilsoHemMonth> ParseSilsoHemFile(const QByteArray &bytes, const QString &fileName);

// The nine numbers of a hemispheric month as SILSO's file and the store list
// them from `fields[0]` on: SN total, north, south, their standard deviations
// and their numbers of observations (a number below 0 becomes -1). False when
// one is not a number.
bool ReadHemValues(const std::string_view *fields, TSilsoHemMonth &month);
