#pragma once

#include "storage/month_summary.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

// One value column of a monthly reference file and the archive field it fills.
struct TImportTarget {
    int firstColumn; // 1-based character positions, inclusive
    int lastColumn;
    double TMonthSummary::*field;
};

// Reads the 12 archive summaries of every year from `firstYear` to
// `lastYear`, lets `update` change each month and writes the year back.
// Throws TarvoError when an archive cannot be read or written; years written
// before stay written.
void UpdateArchiveYears(int firstYear, int lastYear,
                        const std::function<void(int year, int month, TMonthSummary &summary)> &update);

// The lines of a text file: split at LF, a CR before the LF dropped, no empty
// line behind a final line end.
QList<QByteArray> SplitTextLines(const QByteArray &bytes);

// Columns first..last (1-based) of a line, shorter when the line is.
QByteArray LineColumns(const QByteArray &line, int first, int last);
// An integer as the reference files write it: leading blanks and a sign
// allowed, nothing behind the digits.
std::optional<int> ParseColumnInt(const QByteArray &text);
// A real number with '.' as decimal point, blanks around it allowed.
std::optional<double> ParseColumnReal(const QByteArray &text);

// The month-matching import: for every month of the range the line of that
// year and month (columns 1-4 and 5-6) is searched forward in the file and its
// target columns are stored; a month without a line gets 0.0 in every target,
// a value that is not a number leaves its field unchanged. `headerLines` lines
// at the start are skipped unread. Line ends are converted first
// (ConvertLineEnds); a copy made for that is deleted again. Throws TarvoError
// for an unreadable file and for a line whose year or month is not an integer.
// Returns the number of months found in the file.
int ImportMonthlySeries(const QString &fileName, int firstYear, int lastYear, int headerLines,
                        const QList<TImportTarget> &targets);
