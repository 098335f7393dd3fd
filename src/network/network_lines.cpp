#include "network_lines.h"

#include "calendar/tpdate.h"
#include "storage/file_io.h"
#include "storage/tarvo_error.h"

namespace {

// Right-aligned in at least `width` columns; a wider value widens the field.
QByteArray Num(long value, int width) {
    return QByteArray::number(static_cast<qlonglong>(value)).rightJustified(width, ' ');
}

QByteArray RightAligned(const QByteArray &text, int width) {
    return text.rightJustified(width, ' ');
}
QByteArray LeftAligned(const QByteArray &text, int width) {
    return text.leftJustified(width, ' ');
}

// "3.0" for 3; a missing value reads "0.0".
QByteArray SeeingText(std::int16_t value) {
    return Num(value == -1 ? 0 : value, 1) + ".0";
}

// The quality letter of 1..5; anything else (missing or an odd legacy value)
// gives no letter.
char QualityLetter(std::int16_t value) {
    static const char kLetters[] = "EGFPW";
    return value >= 1 && value <= 5 ? kLetters[value - 1] : '\0';
}

QByteArray NameField(const TObserverProfile &profile) {
    return LeftAligned(profile.Name1.bytes(), 16) + ' ';
}

QByteArray OptionalNumber(const QByteArray &text) {
    return text.isEmpty() ? QByteArray("0") : text;
}

// Year, month and day in widths 4, 2, 2 with the given separator.
QByteArray DatePart(int year, int month, int day, const char *separator) {
    return Num(year, 4) + separator + Num(month, 2) + separator + Num(day, 2);
}

// The common start of the relative-number and faculae lines: date, time and seeing.
QByteArray DateTimeSeeing(const TDayRecord &r, int year, int month, int day) {
    return DatePart(year, month, day, "") + ' ' + NetworkTimeText(r.Zeit.bytes()) + ' ' + SeeingText(r.Ruhe) +
           ' ' + SeeingText(r.Schaerfe);
}

const TDayRecord &DayOf(const TYearBuffer &yearData, int month, int day) {
    if (month < 1 || month > 12 || day < 1 || day > 31)
        throw TarvoError(QStringLiteral("Ungültiges Datum %1.%2.").arg(day).arg(month));
    return yearData.Day(month, day);
}

} // namespace

QByteArray NetworkTimeText(const QByteArray &zeit) {
    QByteArray text = zeit;
    const qsizetype colon = text.indexOf(':');
    const qsizetype p = colon + 1; // 1-based, 0 when there is none
    if (colon >= 0)
        text[colon] = '.';
    if (p <= 2)
        text.prepend(' ');
    text.truncate(4);
    if (!text.isEmpty() && text[0] == '0')
        text[0] = ' ';
    // An odd stored text (legacy data) must not shift the following columns.
    return LeftAligned(text, 4);
}

QByteArray FormatRelativeNumberLine(const TObserverProfile &profile, const TYearBuffer &yearData, int year,
                                    int month, int day) {
    const TDayRecord &r = DayOf(yearData, month, day);
    if (!r.observed() || (r.g == -1 && r.Rs == -1))
        return {};
    const char quality = QualityLetter(r.Qualitaet);
    return DateTimeSeeing(r, year, month, day) + Num(r.g_n, 3) + Num(r.f_n, 4) + Num(r.g_s, 3) +
           Num(r.f_s, 4) + Num(r.g, 3) + Num(r.f, 4) + Num(r.Rs, 5) + (quality ? quality : ' ') + ' ' +
           NameField(profile) + RightAligned(profile.Instrument.bytes(), 5) +
           RightAligned(OptionalNumber(profile.Oeffn.bytes()), 4) +
           RightAligned(OptionalNumber(profile.Brenn.bytes()), 5);
}

QByteArray FormatANumberLine(const TObserverProfile &profile, const TYearBuffer &yearData, int year,
                             int month, int day) {
    const TDayRecord &r = DayOf(yearData, month, day);
    QByteArray line = DatePart(year, month, day, " ") + ' ';
    if (!r.observed())
        return line;
    const char quality = QualityLetter(r.Qualitaet);
    return line + NetworkTimeText(r.Zeit.bytes()) + ' ' + SeeingText(r.Ruhe) + ' ' + SeeingText(r.Schaerfe) +
           ' ' + (quality ? quality : ' ') + ' ' + Num(r.A, 3) + ' ' + Num(r.Ab, 3) + ' ' +
           NameField(profile) + LeftAligned(profile.Instrument.bytes(), 5);
}

QByteArray FormatFaculaeLine(const TObserverProfile &profile, const TYearBuffer &yearData, int year,
                             int month, int day) {
    const TDayRecord &r = DayOf(yearData, month, day);
    if (!r.observed() || (r.Fo == -1 && r.Fm == -1 && r.FEF == -1 && r.FEP == -1))
        return {};
    const char quality = QualityLetter(r.Qualitaet);
    const QByteArray qualityText = quality ? QByteArray(1, quality) + ' ' : QByteArray("-1");
    return DateTimeSeeing(r, year, month, day) + Num(r.Fo, 3) + Num(r.Fm, 3) +
           Num(long(r.Fo) + long(r.Fm), 3) + Num(r.FEF, 4) + Num(r.FEP, 4) + qualityText +
           NameField(profile) + RightAligned(profile.Instrument.bytes(), 6) +
           RightAligned(OptionalNumber(profile.Oeffn.bytes()), 4) +
           RightAligned(OptionalNumber(profile.Brenn.bytes()), 5);
}

QByteArray FormatObserverHeaderLine(const TObserverProfile &profile) {
    return ';' + profile.Name2.bytes() + ", " + profile.Name3.bytes() + ", " + profile.Name4.bytes();
}

QByteArray FormatNetworkLine(NetworkLineKind kind, const TObserverProfile &profile,
                             const TYearBuffer &yearData, int year, int month, int day) {
    switch (kind) {
    case NetworkLineKind::RelativeNumbers:
        return FormatRelativeNumberLine(profile, yearData, year, month, day);
    case NetworkLineKind::ANumbers:
        return FormatANumberLine(profile, yearData, year, month, day);
    case NetworkLineKind::Faculae:
        return FormatFaculaeLine(profile, yearData, year, month, day);
    }
    return {};
}

QByteArray MonthLines(NetworkLineKind kind, const TObserverProfile &profile, const TYearBuffer &yearData,
                      int year, int month) {
    QByteArray text;
    if (kind == NetworkLineKind::ANumbers)
        text += FormatObserverHeaderLine(profile) + "\r\n";
    const int days = MonthLength(month, year);
    for (int day = 1; day <= days; ++day) {
        const QByteArray line = FormatNetworkLine(kind, profile, yearData, year, month, day);
        if (!line.isEmpty())
            text += line + "\r\n";
    }
    return text;
}

void AppendMonthLines(NetworkLineKind kind, const TObserverProfile &profile, const TYearBuffer &yearData,
                      int year, int month, const QString &fileName) {
    const QByteArray lines = MonthLines(kind, profile, yearData, year, month);
    const FileReadResult existing = ReadWholeFile(fileName);
    if (existing.exists && !existing.ok())
        throw TarvoError::Io(existing.errorCode);
    WriteFileAtomically(fileName, existing.bytes + lines);
}
