#pragma once

#include "comparison.h"

#include <QLocale>
#include <QStringList>
#include <QVector>

// The comparison as the window's table shows it: texts with the locale's
// decimal separator, an empty cell where a value is not defined.
struct TComparisonTable {
    QStringList headers;
    QStringList headerTips;
    QVector<QStringList> rows;
    QVector<bool> totalRow; // the year's row of the year table
    QString summary;        // one line with the result of the whole period
};

TComparisonTable MonthTable(const TMonthComparison &month, const QLocale &locale);
TComparisonTable YearTable(const TYearComparison &year, const QLocale &locale);
TComparisonTable SpanTable(const TSpanComparison &span, const QLocale &locale);
