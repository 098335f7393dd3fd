#pragma once

#include "comparison.h"

#include <QString>

// The comparisons as CSV, as tarvo-cli prints them and the window saves them:
// a header row, ',' between fields, '.' as decimal point, LF line ends; a
// value that is not defined is an empty field. Means have 1 decimal, k and
// the ratio statistics 3.
//
// Month: Tag,Re,SILSO,Verhaeltnis - one row per day of the month.
// Year:  Monat,Tage,Re,SILSO,k,Verhaeltnis_Mittel,Verhaeltnis_Streuung,
//        Re_Nord,SILSO_Nord,k_Nord,Re_Sued,SILSO_Sued,k_Sued - rows 1..12,
//        then "Jahr" over the whole year (its hemispheric fields empty).
// Span:  Jahr,Monat,Tage,Re,SILSO,k,k_13 - one row per month of the span.
QString MonthComparisonCsv(const TMonthComparison &month);
QString YearComparisonCsv(const TYearComparison &year);
QString SpanComparisonCsv(const TSpanComparison &span);

// The CSV with a last line that names the source of SILSO's numbers (one
// quoted field), as every saved copy of them must.
QString CsvWithSourceLine(const QString &csv, const QString &source);
