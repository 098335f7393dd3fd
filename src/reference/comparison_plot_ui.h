#pragma once

#include "comparison.h"
#include "plot/plot.h"

#include <QString>

// The comparison's pictures, drawn by the evaluation's picture writer; each
// carries the SILSO source line. `observer` names the observer in the
// subtitle (none when empty).

// The month: the own Re and SILSO's daily values, day by day.
TPlot MonthComparisonPlot(const TMonthComparison &month, const QString &observer);
// The year: the monthly k with the year's k as a dashed level, and k North /
// k South where SILSO's hemispheric numbers are stored.
TPlot YearComparisonPlot(const TYearComparison &year, const QString &observer);
// The span: the monthly k and its running 13-month mean, with the span's k.
TPlot SpanComparisonPlot(const TSpanComparison &span, const QString &observer);

// "Juni 2000".
QString MonthAndYear(int year, int month);
// "1995–2005", or "2000" for a single year.
QString YearSpanText(int firstYear, int lastYear);
