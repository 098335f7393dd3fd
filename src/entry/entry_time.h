#pragma once

#include <QString>

// The time of observation as the entry dialog keeps it: five characters
// "hh:mm", a one-digit hour with a leading blank (" 9:30"), the untouched
// field "  :  ".

// The stored five-character text of the time field's display text (the mask
// shows unfilled places as `blank`).
QString StoredTimeText(const QString &displayText, QChar blank = u'_');

enum class TimeStatus {
    Empty,      // "  :  ": no observation
    Valid,      // a real time 0:00..23:59
    Incomplete, // a required digit is missing
    OutOfRange, // hours above 23 or minutes above 59
};

TimeStatus CheckTimeText(const QString &stored);

// The message for a refused time (empty for Empty and Valid).
QString TimeMessage(TimeStatus status);

// The text for the time field's mask from a stored time.
QString TimeDisplayText(const QString &stored);
