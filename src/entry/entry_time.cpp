#include "entry_time.h"

namespace {
bool IsDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}
} // namespace

QString StoredTimeText(const QString &displayText, QChar blank) {
    QString t = displayText;
    t.replace(blank, u' ');
    t = t.leftJustified(5, u' ', true);
    // The hour's first digit is optional; a lone digit is stored right-aligned.
    QString hour;
    for (int i = 0; i < 2; ++i)
        if (IsDigit(t[i]))
            hour += t[i];
    QString minutes = t.mid(3, 2);
    return hour.rightJustified(2, u' ') + u':' + minutes;
}

TimeStatus CheckTimeText(const QString &stored) {
    if (stored.trimmed() == QStringLiteral(":") || stored.trimmed().isEmpty())
        return TimeStatus::Empty;
    if (stored.size() != 5 || stored[2] != u':' || !IsDigit(stored[1]) || !IsDigit(stored[3]) ||
        !IsDigit(stored[4]) || !(stored[0] == u' ' || IsDigit(stored[0])))
        return TimeStatus::Incomplete;
    const int hours = stored.left(2).trimmed().toInt();
    const int minutes = stored.mid(3, 2).toInt();
    if (hours > 23 || minutes > 59)
        return TimeStatus::OutOfRange;
    return TimeStatus::Valid;
}

QString TimeMessage(TimeStatus status) {
    switch (status) {
    case TimeStatus::Incomplete:
        return QStringLiteral(
            "Ungültiger Eingabewert. Mit der Taste ESC machen Sie die Änderungen rückgängig.");
    case TimeStatus::OutOfRange:
        return QStringLiteral(
            "Ungültige Uhrzeit: erlaubt sind die Stunden 0 bis 23 und die Minuten 0 bis 59.");
    default:
        return {};
    }
}

QString TimeDisplayText(const QString &stored) {
    QString t = stored.leftJustified(5, u' ', true);
    return t.left(2) + u':' + t.mid(3, 2);
}
