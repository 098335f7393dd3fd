#include "tpdate.h"

#include <QDate>
#include <limits>
#include <optional>

namespace {

// Taken once, when the program starts.
const QDate kStartDate = QDate::currentDate();

constexpr int kPictureLimit = 20;

// Signed decimal integer, nothing else; nullopt when the text is not one.
std::optional<int> ParseInteger(const QString &text) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    long long value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c - u'0');
        if (value > std::numeric_limits<int>::max() + 1LL)
            return std::nullopt;
    }
    value = negative ? -value : value;
    if (value > std::numeric_limits<int>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

// Position of a lower-case-only letter (t, e) in the picture, or -1.
qsizetype MarkerPosition(const QString &picture, char letter) { return picture.indexOf(QLatin1Char(letter)); }

// The text character under a marker, in upper case; 0 when there is none.
QChar MarkerCharacter(const QString &text, qsizetype position) {
    return position < text.size() ? text[position].toUpper() : QChar();
}

} // namespace

int StartYear() { return kStartDate.year(); }
int StartMonth() { return kStartDate.month(); }

bool LeapYear(int year) {
    if (year % 4 != 0)
        return false;
    if (year % 4000 == 0)
        return false;
    if (year % 100 != 0)
        return true;
    return year % 400 == 0;
}

int ExpandYear(int year) {
    if (year < 0 || year > 99)
        return year;
    const int expanded = 1900 + year;
    return expanded < YearPivot ? 2000 + year : expanded;
}

int MonthLength(int month, int year) {
    year = ExpandYear(year);
    switch (month) {
    case 2: return LeapYear(year) ? 29 : 28;
    case 4: case 6: case 9: case 11: return 30;
    case 1: case 3: case 5: case 7: case 8: case 10: case 12: return 31;
    default: return 0;
    }
}

bool CheckDate(int day, int month, int year) {
    year = ExpandYear(year);
    return day >= 1 && year >= 1600 && year <= 3999 && month >= 1 && month <= 12 && day <= MonthLength(month, year);
}

int PictureField(const QString &picture, const QString &text, QChar letter, int defaultValue, int errorValue) {
    const QChar lower = letter.toLower();
    const qsizetype position = picture.indexOf(lower, 0, Qt::CaseInsensitive);
    if (position < 0 || text.size() != picture.size())
        return defaultValue;
    QString collected;
    for (qsizetype i = position; i < picture.size() && picture[i].toLower() == lower; ++i) {
        if (text[i] == QLatin1Char(' '))
            continue;
        if (collected.size() >= kPictureLimit)
            break;
        collected += text[i];
    }
    return ParseInteger(collected).value_or(errorValue);
}

DateFields ReadDate(const QString &picture, const QString &text) {
    const QString pic = picture.left(kPictureLimit);
    const QString txt = text.left(kPictureLimit);
    DateFields f;
    f.month = PictureField(pic, txt, QLatin1Char('m'), StartMonth(), -1);
    f.day = PictureField(pic, txt, QLatin1Char('d'), 1, -1);
    f.year = PictureField(pic, txt, QLatin1Char('y'), StartYear(), -1);
    f.valid = CheckDate(f.day, f.month, f.year);
    return f;
}

TimeFields ReadTime(const QString &picture, const QString &text) {
    const QString pic = picture.left(kPictureLimit);
    const QString txt = text.left(kPictureLimit);
    TimeFields f;
    f.hours = PictureField(pic, txt, QLatin1Char('h'), 0, -1);
    f.minutes = PictureField(pic, txt, QLatin1Char('m'), 0, -1);
    f.seconds = PictureField(pic, txt, QLatin1Char('s'), 0, -1);
    if (f.hours == -1 || f.minutes == -1 || f.seconds == -1)
        return f;

    if (const qsizetype t = MarkerPosition(pic, 't'); t >= 0) {
        const QChar marker = MarkerCharacter(txt, t);
        if (marker == QLatin1Char(' ') || marker == QLatin1Char('A'))
            f.hours = f.hours == 12 ? 0 : (f.hours >= 1 && f.hours <= 11 ? f.hours : -1);
        else if (marker == QLatin1Char('P'))
            f.hours = f.hours < 12 ? f.hours + 12 : (f.hours == 12 ? 12 : -1);
        else
            f.hours = -1;
    }
    if (const qsizetype e = MarkerPosition(pic, 'e'); e >= 0) {
        const QChar marker = MarkerCharacter(txt, e);
        if (marker != QLatin1Char(' ') && marker != QLatin1Char('M'))
            f.hours = -1;
    }
    f.valid = CheckTime(f.hours, f.minutes, f.seconds);
    return f;
}

bool CheckTime(int hours, int minutes, int seconds) {
    return hours >= 0 && hours <= 23 && minutes >= 0 && minutes <= 60 && seconds >= 0 && seconds <= 60;
}

int SecondsOfDay(int hours, int minutes, int seconds) {
    const int h = hours & 0xFF;
    const int m = minutes & 0xFF;
    const int s = seconds & 0xFF;
    return ((h % 24) * 3600 + m * 60 + s) % 86400;
}

int ReadTimeSeconds(const QString &picture, const QString &text) {
    const TimeFields f = ReadTime(picture, text);
    return f.valid ? SecondsOfDay(f.hours, f.minutes, f.seconds) : -1;
}
