#pragma once

#include "storage/month_totals.h"
#include "storage/day_record.h"

#include <QLocale>
#include <QString>

// Texts of the month table's cells. Column kinds are the indexes of the
// column layout: 0 "Tag", 1 "Bemerkung", 2 "UT", 3..25 the number fields in
// the order of the month counts (kind k shows counted field k - 3).

constexpr int kColumnKindCount = 26;
constexpr int kKindTag = 0;
constexpr int kKindBemerkung = 1;
constexpr int kKindUT = 2;
constexpr int kKindRb = 13;

// Counted field shown by a column kind, -1 for the kinds without a number.
int CountedFieldOfKind(int kind);
// Whether the kind has the rows "Summe", "Anzahl" and "Mittel".
inline bool KindHasSummary(int kind) {
    return CountedFieldOfKind(kind) >= 0;
}

// "01".."31" for the days of the month, empty for the rows behind it.
QString DayNumberText(int row, int daysInMonth);

// The cell of one day for a kind 1..25. `observed` says whether the day
// counts (time given and within the month): the remark is shown always, the
// time and numbers only for an observed day, and -1 never.
QString DayCellText(const TDayRecord &day, int kind, bool observed);

struct TSummaryTexts {
    QString sum;
    QString count;
    QString mean;
};

// Sum, count and mean of a kind with summary rows. Sums are full width;
// for R, S and Q the sum is only shown when above 0.
TSummaryTexts SummaryTexts(const TMonthTotals &totals, int kind, const QLocale &locale);

// Fixed-point text with `digits` decimals after rounding to `precision`
// significant digits, with the locale's decimal separator and no digit
// grouping; numbers with more integer digits than `precision` are written
// in scientific form ("1,235E+004").
QString FormatFixed(double value, int precision, int digits, const QLocale &locale);
