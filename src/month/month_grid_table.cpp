#include "month_grid_table.h"

#include "month_cells.h"
#include "month_columns.h"
#include "storage/month_totals.h"
#include "calendar/tpdate.h"
#include "storage/cp1252.h"

TGridTable MonthGridTable(const TYearBuffer &year, int month, int yearNumber, const TColumnLayout &layout,
                          const QLocale &locale) {
    const std::vector<TShownColumn> columns = ShownColumns(layout);
    const int cols = static_cast<int>(columns.size());
    TGridTable table(kMonthGridRows, cols);
    table.FixedRows = 1;
    table.GridColor = 0xFFFFFF;
    table.Border = 1; // every cell framed in the HTML export
    if (month < 1 || month > 12)
        return table;
    const int daysInMonth = MonthLength(month, yearNumber);

    for (int col = 0; col < cols; ++col) {
        const TMyAlign align = AlignFromByte(columns[static_cast<size_t>(col)].Ausr);
        for (int row = 0; row < kMonthGridRows; ++row)
            table.cell(row, col).Align = align;
        table.cell(0, col).Text = columns[static_cast<size_t>(col)].Title;
    }
    if (cols > 1) {
        // The labels stand in the second column; a kind with sums there writes over them.
        const QString labels[] = {QStringLiteral("Summe"), QStringLiteral("Anzahl"),
                                  QStringLiteral("Mittel")};
        for (int i = 0; i < 3; ++i) {
            TExportCell &cell = table.cell(kMonthSumRow + i, 1);
            cell.Text = labels[i];
            cell.Align = TMyAlign::alRight;
        }
    }

    for (int row = 1; row <= kMonthLastDayRow; ++row) {
        if (cols > 0)
            table.cell(row, 0).Text = DayNumberText(row, daysInMonth);
        const TDayRecord &day = year.Day(month, row);
        const bool observed = day.observed() && row <= daysInMonth;
        for (int col = 1; col < cols; ++col)
            table.cell(row, col).Text = DayCellText(day, columns[static_cast<size_t>(col)].Kind, observed);
    }

    const TMonthTotals totals =
        ComputeMonthTotals(year.Months[static_cast<size_t>(month)], month, yearNumber);
    for (int col = 1; col < cols; ++col) {
        const int kind = columns[static_cast<size_t>(col)].Kind;
        if (!KindHasSummary(kind))
            continue;
        const TSummaryTexts texts = SummaryTexts(totals, kind, locale);
        table.cell(kMonthSumRow, col).Text = texts.sum;
        table.cell(kMonthCountRow, col).Text = texts.count;
        table.cell(kMonthMeanRow, col).Text = texts.mean;
    }
    return table;
}

QByteArray MonthTableCsv(const TGridTable &table) {
    return ToCp1252(ExportSeparatedText(table, QChar(kMonthExportSeparator)));
}

QByteArray MonthTableHtml(const TGridTable &table) {
    return ToCp1252(ExportHtmlTable(table, MonthExportCaption()));
}
