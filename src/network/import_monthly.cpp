#include "import_monthly.h"

#include "line_ends.h"
#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QLocale>
#include <cerrno>
#include <cmath>

QList<QByteArray> SplitTextLines(const QByteArray &bytes) {
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray &line : lines)
        if (line.endsWith('\r'))
            line.chop(1);
    return lines;
}

QByteArray LineColumns(const QByteArray &line, int first, int last) {
    return line.mid(first - 1, last - first + 1);
}

std::optional<int> ParseColumnInt(const QByteArray &text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const QByteArray rest = text.mid(i);
    if (rest.isEmpty())
        return std::nullopt;
    qsizetype digits = (rest[0] == '-' || rest[0] == '+') ? 1 : 0;
    if (digits == rest.size())
        return std::nullopt;
    for (qsizetype k = digits; k < rest.size(); ++k)
        if (rest[k] < '0' || rest[k] > '9')
            return std::nullopt;
    bool ok = false;
    const int value = rest.toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<double> ParseColumnReal(const QByteArray &text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(QString::fromLatin1(text.trimmed()), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

// Year and month of a line as MonthKey, nullopt when it has none. `strict`: a
// line that is not blank and whose columns are no integers is an error.
std::optional<int> LineMonth(const QByteArray &line, bool strict) {
    if (line.trimmed().isEmpty())
        return std::nullopt;
    const QByteArray yearText = LineColumns(line, 1, 4);
    const QByteArray monthText = LineColumns(line, 5, 6);
    const std::optional<int> year = ParseColumnInt(yearText);
    const std::optional<int> month = ParseColumnInt(monthText);
    if (!year || !month) {
        if (strict)
            throw TarvoError::NotAnInteger(QString::fromLatin1(!year ? yearText : monthText));
        return std::nullopt;
    }
    // Month 13 or 00 would otherwise pass for a month of the next or the
    // previous year.
    if (*month < 1 || *month > 12)
        return std::nullopt;
    return MonthKey(*year, *month);
}

} // namespace

TMonthValues MatchMonthlySeries(const QByteArray &bytes, int firstYear, int lastYear, int headerLines,
                                const QList<TImportTarget> &targets) {
    const QList<QByteArray> lines = SplitTextLines(ConvertLineEnds(bytes));
    TMonthValues values;
    values.firstYear = firstYear;
    values.lastYear = lastYear;
    for (qsizetype i = headerLines; i < lines.size(); ++i)
        if (const std::optional<int> key = LineMonth(lines[i], false))
            values.noteFileMonth(*key);
    // A file without a single month line is not a damaged one of this kind
    // but another file: it matches nothing, which says more than the first
    // line that is not a number.
    if (values.fileFirst < 0)
        return values;

    qsizetype current = headerLines; // the first line after the header
    for (int wanted = MonthKey(firstYear, 1); wanted <= MonthKey(lastYear, 12); ++wanted) {
        // Search forward; the file is in ascending order, so a line past the
        // wanted month means the month is missing and the line is kept for the
        // months still to come.
        bool match = false;
        while (current < lines.size()) {
            const bool last = current == lines.size() - 1;
            const std::optional<int> key = LineMonth(lines[current], !last);
            if (key && *key == wanted) {
                match = true;
                break;
            }
            if ((key && *key > wanted) || last)
                break;
            ++current;
        }
        if (!match)
            continue;
        std::vector<TFieldValue> &numbers = values.months[wanted];
        for (const TImportTarget &t : targets)
            if (const std::optional<double> v =
                    ParseColumnReal(LineColumns(lines[current], t.firstColumn, t.lastColumn)))
                numbers.push_back({t.field, *v});
    }
    return values;
}

QByteArray ReadImportFile(const QString &fileName) {
    const FileReadResult read = ReadWholeFile(fileName);
    if (!read.ok())
        throw TarvoError::FileIo(fileName, read.exists ? read.errorCode : ENOENT);
    return read.bytes;
}

TImportReport ImportMonthlySeries(const QString &fileName, int firstYear, int lastYear, int headerLines,
                                  const QList<TImportTarget> &targets) {
    const TMonthValues values =
        MatchMonthlySeries(ReadImportFile(fileName), firstYear, lastYear, headerLines, targets);
    return WriteMonthValues(fileName, values);
}
