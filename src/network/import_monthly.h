#pragma once

#include "import_archive.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One value column of a monthly reference file and the archive field it fills.
struct TImportTarget {
    int firstColumn; // 1-based character positions, inclusive
    int lastColumn;
    double TMonthSummary::*field;
};

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

// The month matching of a column file, in memory: line ends are converted
// (ConvertLineEnds), `headerLines` lines at the start are skipped unread, and
// for every month of the range the line of that year and month (columns 1-4
// and 5-6) is searched forward in the file; its target columns give the
// month's numbers (a value that is not a number gives none). Throws TarvoError
// for a line met in the search whose year or month is not an integer.
TMonthValues MatchMonthlySeries(const QByteArray &bytes, int firstYear, int lastYear, int headerLines,
                                const QList<TImportTarget> &targets);

// Reads the file (TarvoError "E/A-Fehler %d" when it cannot be read).
QByteArray ReadImportFile(const QString &fileName);

// The month-matching import of a file into the current observer's archive:
// MatchMonthlySeries, then WriteMonthValues. Months of the range the file
// does not hold keep what they had. Throws TarvoError; nothing is written
// when the file cannot be read, holds a line whose year or month is not an
// integer, or has no line for any month of the range.
TImportReport ImportMonthlySeries(const QString &fileName, int firstYear, int lastYear, int headerLines,
                                  const QList<TImportTarget> &targets);
