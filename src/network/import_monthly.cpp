#include "import_monthly.h"

#include "line_ends.h"
#include "storage/archive.h"
#include "storage/file_io.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QFile>
#include <QLocale>
#include <cerrno>
#include <cmath>
#include <cstring>

void UpdateArchiveYears(int firstYear, int lastYear,
                        const std::function<void(int year, int month, TMonthSummary &summary)> &update) {
    // Each year is read, changed and written under the observer's lock, so
    // that an import running at the same time in another process loses
    // nothing of this one and this one nothing of it.
    for (int year = firstYear; year <= lastYear; ++year)
        UpdateYearSummaries(year, [&](TYearSummaries &summaries) {
            for (int month = 1; month <= 12; ++month)
                update(year, month, summaries[month - 1]);
        });
}

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

// The records are packed: a member pointer's field may be misaligned, so it is
// copied bytewise.
template <class Record, class T> void StoreField(Record &record, T Record::*member, T value) {
    std::memcpy(&(record.*member), &value, sizeof value);
}

// Year and month of a line, nullopt when it has none. `strict`: a line that is
// not blank and whose columns are no integers is an error.
std::optional<int> MonthKey(const QByteArray &line, bool strict) {
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
    return *year * 12 + (*month - 1);
}

// Removes the converted copy however the import ends.
struct CopyRemover {
    TConvertedFile file;
    ~CopyRemover() {
        if (file.copyMade)
            QFile::remove(file.fileName);
    }
};

} // namespace

int ImportMonthlySeries(const QString &fileName, int firstYear, int lastYear, int headerLines,
                        const QList<TImportTarget> &targets) {
    const CopyRemover converted{ConvertLineEnds(fileName)};
    const FileReadResult read = ReadWholeFile(converted.file.fileName);
    if (!read.ok())
        throw TarvoError::Io(read.exists ? read.errorCode : ENOENT);
    const QList<QByteArray> lines = SplitTextLines(read.bytes);

    qsizetype current = headerLines; // the first line after the header
    int found = 0;
    UpdateArchiveYears(firstYear, lastYear, [&](int year, int month, TMonthSummary &summary) {
        const int wanted = year * 12 + (month - 1);
        // Search forward; the file is in ascending order, so a line past the
        // wanted month means the month is missing and the line is kept for the
        // months still to come.
        bool match = false;
        while (current < lines.size()) {
            const bool last = current == lines.size() - 1;
            const std::optional<int> key = MonthKey(lines[current], !last);
            if (key && *key == wanted) {
                match = true;
                break;
            }
            if ((key && *key > wanted) || last)
                break;
            ++current;
        }
        if (!match) {
            for (const TImportTarget &t : targets)
                StoreField(summary, t.field, 0.0);
            return;
        }
        ++found;
        for (const TImportTarget &t : targets)
            if (const std::optional<double> v =
                    ParseColumnReal(LineColumns(lines[current], t.firstColumn, t.lastColumn)))
                StoreField(summary, t.field, *v);
    });
    return found;
}
