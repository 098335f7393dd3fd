#pragma once

#include "storage/day_record.h"
#include "storage/profile.h"

#include <QByteArray>
#include <QString>

// The three network lists. The numbers are the list's kind in the mail dialog
// and its position in the month's dispatch status string (minus one).
enum class NetworkLineKind : int {
    RelativeNumbers = 0, // "Rezahl.dat", subject word "REZAHL: "
    ANumbers = 1,        // "Azahl.dat", subject word "A-ZAHL: "
    Faculae = 2,         // "Fzahl.dat", subject word "Fackel-Daten: "
};

// The networks read these lines by fixed byte columns, so every builder works
// on Windows-1252 bytes and returns them without a line end.

// Relative-number line of a day; empty when the day produces none.
QByteArray FormatRelativeNumberLine(const TObserverProfile &profile, const TYearBuffer &yearData, int year,
                                    int month, int day);
// A-number line of a day; only the date part when the day was not observed.
QByteArray FormatANumberLine(const TObserverProfile &profile, const TYearBuffer &yearData, int year,
                             int month, int day);
// Faculae line of a day; empty when the day produces none.
QByteArray FormatFaculaeLine(const TObserverProfile &profile, const TYearBuffer &yearData, int year,
                             int month, int day);
// ";" Name2 ", " Name3 ", " Name4
QByteArray FormatObserverHeaderLine(const TObserverProfile &profile);

// The day's line of the given kind (empty when the day produces none).
QByteArray FormatNetworkLine(NetworkLineKind kind, const TObserverProfile &profile,
                             const TYearBuffer &yearData, int year, int month, int day);

// The month's lines of one kind, each ending with CR LF, exactly as
// AppendMonthLines adds them to a file (A numbers: header line first).
QByteArray MonthLines(NetworkLineKind kind, const TObserverProfile &profile, const TYearBuffer &yearData,
                      int year, int month);

// Appends the month's lines of one kind to a text file, creating it when it
// does not exist; an existing file is never truncated. The file is replaced
// atomically, so a failed write leaves it as it was; the failure throws
// TarvoError.
void AppendMonthLines(NetworkLineKind kind, const TObserverProfile &profile, const TYearBuffer &yearData,
                      int year, int month, const QString &fileName);

// The network time text (four columns) of a stored "hh:mm" text.
QByteArray NetworkTimeText(const QByteArray &zeit);
