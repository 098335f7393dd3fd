#pragma once

#include "grid/grid_export.h"
#include "storage/column_layout.h"
#include "storage/day_record.h"

#include <QLocale>
#include <QString>

// Rows of the month table: the title row, the day slots 1..31 and the three
// summary rows.
constexpr int kMonthGridRows = 35;
constexpr int kMonthLastDayRow = 31;
constexpr int kMonthSumRow = 32;
constexpr int kMonthCountRow = 33;
constexpr int kMonthMeanRow = 34;

// The month table's text export: ';' after every cell; the HTML export's caption.
constexpr char16_t kMonthExportSeparator = u';';
inline QString MonthExportCaption() {
    return QStringLiteral("Tarvo Daten");
}

// The whole month table as its grid shows it: the column titles, the day
// numbers and day cells, and "Summe", "Anzahl" and "Mittel" with their
// values, each cell with its alignment. The grid of the month window is
// filled from this table, so its exports and those of tarvo-cli agree.
// Means use the locale's decimal separator.
TGridTable MonthGridTable(const TYearBuffer &year, int month, int yearNumber, const TColumnLayout &layout,
                          const QLocale &locale);

// The table's two export files as Windows-1252 bytes.
QByteArray MonthTableCsv(const TGridTable &table);
QByteArray MonthTableHtml(const TGridTable &table);
