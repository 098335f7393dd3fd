#include "silso_files.h"

#include "storage/tarvo_error.h"
#include "text_fields.h"

#include <QDir>

namespace {

constexpr int kDailyCsvFields = 8;
constexpr int kHemCsvFields = 13;
constexpr int kMonthlyCsvFields = 7;

bool IsDigits(std::string_view text) {
    if (text.empty())
        return false;
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// 1-based column of a line, or 0 past its end.
char At(std::string_view line, int column) {
    return static_cast<std::size_t>(column) <= line.size() ? line[column - 1] : 0;
}

TSilsoFileKind KindOfLine(std::string_view line) {
    if (line.find(';') != std::string_view::npos) {
        std::string_view fields[1];
        switch (SplitFields(line, ';', fields, 1)) {
        case kDailyCsvFields:
            return TSilsoFileKind::DailyCsv;
        case kHemCsvFields:
            return TSilsoFileKind::HemisphericCsv;
        case kMonthlyCsvFields:
            return TSilsoFileKind::MonthlyCsv;
        default:
            return TSilsoFileKind::Unknown;
        }
    }
    if (!IsDigits(line.substr(0, 4)))
        return TSilsoFileKind::Unknown;
    if (At(line, 5) == ' ' && At(line, 8) == ' ' && At(line, 11) == ' ' && At(line, 16) == '.')
        return TSilsoFileKind::DailyText;
    if (At(line, 13) == '.')
        return TSilsoFileKind::MonthlyText;
    return TSilsoFileKind::Unknown;
}

QString FileText(const QString &fileName) {
    return QDir::toNativeSeparators(fileName);
}

// What the file holds instead, for the message.
QString WhatItHolds(TSilsoFileKind kind) {
    switch (kind) {
    case TSilsoFileKind::Empty:
        return QStringLiteral("; sie ist leer");
    case TSilsoFileKind::DailyCsv:
    case TSilsoFileKind::DailyText:
        return QStringLiteral("; sie enthält SILSO-Tageszahlen (SN_d_tot)");
    case TSilsoFileKind::HemisphericCsv:
        return QStringLiteral("; sie enthält die Halbkugel-Monatszahlen (SN_m_hem)");
    case TSilsoFileKind::MonthlyCsv:
    case TSilsoFileKind::MonthlyText:
        return QStringLiteral("; sie enthält Monatszahlen (für „Datei – Import – SIDC“)");
    case TSilsoFileKind::Unknown:
        break;
    }
    return QString();
}

[[noreturn]] void ThrowWrongKind(const QString &fileName, const QString &wanted, TSilsoFileKind kind) {
    throw TarvoError(QStringLiteral("Die Datei „%1“ enthält keine %2%3.\nEs wurde nichts importiert.")
                         .arg(FileText(fileName), wanted, WhatItHolds(kind)));
}

[[noreturn]] void ThrowBadLine(const QString &fileName, const QString &what, int lineNumber,
                               std::string_view line) {
    QString shown = QString::fromLatin1(line.data(), static_cast<qsizetype>(line.size())).trimmed();
    if (shown.size() > 60)
        shown = shown.left(60) + QStringLiteral("…");
    throw TarvoError(QStringLiteral("Die Datei „%1“ enthält in Zeile %2 keine gültige %3:\n%4\n"
                                    "Es wurde nichts importiert.")
                         .arg(FileText(fileName))
                         .arg(lineNumber)
                         .arg(what, shown));
}

// A count or deviation that may be missing in a short text line.
template <class T>
bool OptionalNumber(std::string_view field, T &value, std::optional<T> (*read)(std::string_view)) {
    if (field.empty()) {
        value = -1;
        return true;
    }
    const std::optional<T> read_value = read(field);
    if (!read_value)
        return false;
    value = *read_value;
    return true;
}

bool DateOf(std::optional<int> year, std::optional<int> month, std::optional<int> day, TSilsoDay &out) {
    if (!year || !month || !day || *year < 1 || *year > 9999 || !QDate::isValid(*year, *month, *day))
        return false;
    out.day = static_cast<int>(QDate(*year, *month, *day).toJulianDay());
    return true;
}

bool ReadDailyCsvLine(std::string_view line, TSilsoDay &day) {
    std::string_view f[kDailyCsvFields];
    if (SplitFields(line, ';', f, kDailyCsvFields) != kDailyCsvFields)
        return false;
    const std::optional<int> sn = FieldInt(f[4]);
    const std::optional<double> stdDev = FieldReal(f[5]);
    const std::optional<int> observations = FieldInt(f[6]);
    const std::optional<int> flag = FieldInt(f[7]);
    if (!DateOf(FieldInt(f[0]), FieldInt(f[1]), FieldInt(f[2]), day) || !FieldReal(f[3]) || !sn || !stdDev ||
        !observations || !flag || (*flag != 0 && *flag != 1))
        return false;
    day.sn = *sn < 0 ? -1 : *sn;
    day.stdDev = *stdDev;
    day.observations = *observations;
    day.provisional = *flag == 0;
    return true;
}

bool ReadDailyTextLine(std::string_view line, TSilsoDay &day) {
    const std::optional<int> sn = FieldInt(LineColumns(line, 21, 24));
    const bool columnsApart = At(line, 5) == ' ' && At(line, 8) == ' ' && At(line, 11) == ' ' &&
                              At(line, 16) == '.' && At(line, 20) == ' ';
    if (line.size() < 24 || !columnsApart ||
        !DateOf(FieldInt(LineColumns(line, 1, 4)), FieldInt(LineColumns(line, 6, 7)),
                FieldInt(LineColumns(line, 9, 10)), day))
        return false;
    if (!FieldReal(LineColumns(line, 12, 19)) || !sn ||
        !OptionalNumber(LineColumns(line, 26, 30), day.stdDev, FieldReal) ||
        !OptionalNumber(LineColumns(line, 32, 35), day.observations, FieldInt))
        return false;
    day.sn = *sn < 0 ? -1 : *sn;
    day.provisional = At(line, 37) == '*';
    return true;
}

bool ReadHemCsvLine(std::string_view line, TSilsoHemMonth &month) {
    std::string_view f[kHemCsvFields];
    if (SplitFields(line, ';', f, kHemCsvFields) != kHemCsvFields)
        return false;
    const std::optional<int> year = FieldInt(f[0]);
    const std::optional<int> monthNumber = FieldInt(f[1]);
    if (!year || !monthNumber || *year < 1 || *year > 9999 || *monthNumber < 1 || *monthNumber > 12 ||
        !FieldReal(f[2]))
        return false;
    month.month = SilsoMonthKey(*year, *monthNumber);
    if (!ReadHemValues(f + 3, month))
        return false;
    const std::optional<int> flag = FieldInt(f[12]);
    if (!flag || (*flag != 0 && *flag != 1))
        return false;
    month.provisional = *flag == 0;
    return true;
}

// Every line that is not blank read with `read`; the first one that fails
// ends the parse with its number.
template <class Entry, class Reader>
std::vector<Entry> ParseLines(const QByteArray &bytes, const QString &fileName, const QString &what,
                              Reader read) {
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(bytes.size() / 36 + 1));
    ForEachDataLine(bytes, false, [&](std::string_view line, int lineNumber) {
        Entry entry;
        if (!read(line, entry))
            ThrowBadLine(fileName, what, lineNumber, line);
        entries.push_back(entry);
    });
    return entries;
}

} // namespace

bool ReadHemValues(const std::string_view *fields, TSilsoHemMonth &month) {
    double *const reals[] = {&month.total,    &month.north,    &month.south,
                             &month.stdTotal, &month.stdNorth, &month.stdSouth};
    for (int i = 0; i < 6; ++i) {
        const std::optional<double> value = FieldReal(fields[i]);
        if (!value)
            return false;
        *reals[i] = *value < 0 ? -1 : *value;
    }
    int *const counts[] = {&month.obsTotal, &month.obsNorth, &month.obsSouth};
    for (int i = 0; i < 3; ++i) {
        const std::optional<int> value = FieldInt(fields[6 + i]);
        if (!value)
            return false;
        *counts[i] = *value < 0 ? -1 : *value;
    }
    return true;
}

TSilsoFileKind RecogniseSilsoFile(const QByteArray &bytes) {
    TLineReader lines(bytes);
    std::string_view line;
    while (lines.next(line))
        if (!IsBlankLine(line))
            return KindOfLine(line);
    return TSilsoFileKind::Empty;
}

std::vector<TSilsoDay> ParseSilsoDailyFile(const QByteArray &bytes, const QString &fileName) {
    const TSilsoFileKind kind = RecogniseSilsoFile(bytes);
    const QString what = QStringLiteral("SILSO-Tageszeile");
    if (kind == TSilsoFileKind::DailyCsv)
        return ParseLines<TSilsoDay>(bytes, fileName, what, ReadDailyCsvLine);
    if (kind == TSilsoFileKind::DailyText)
        return ParseLines<TSilsoDay>(bytes, fileName, what, ReadDailyTextLine);
    ThrowWrongKind(fileName, QStringLiteral("SILSO-Tageszahlen (SN_d_tot als CSV oder Text)"), kind);
}

std::vector<TSilsoHemMonth> ParseSilsoHemFile(const QByteArray &bytes, const QString &fileName) {
    const TSilsoFileKind kind = RecogniseSilsoFile(bytes);
    if (kind != TSilsoFileKind::HemisphericCsv)
        ThrowWrongKind(fileName, QStringLiteral("SILSO-Halbkugelzahlen (SN_m_hem als CSV)"), kind);
    return ParseLines<TSilsoHemMonth>(bytes, fileName, QStringLiteral("Halbkugel-Monatszeile"),
                                      ReadHemCsvLine);
}
