#include "month_edit.h"

#include "storage/tarvo_error.h"

#include <cstring>

void ClearDay(TYearBuffer &year, int month, int day) {
    std::memset(&year.Day(month, day), 0, sizeof(TDayRecord));
}

void ClearDispatchStatus(TYearBuffer &year, int month) {
    year.Months[month].Header().Bemerkung.len = 0;
}

TDayRecord ApplyNextDayTemplate(TYearBuffer &year, int month, int day) {
    TDayRecord &slot = year.Day(month, day);
    const TDayRecord undo = slot;
    // Slot 0 is the month header, never a template.
    if (!slot.observed() && day >= 2)
        slot = year.Day(month, day - 1);
    return undo;
}

void CheckShiftTarget(int source, int target) {
    if (target < 1 || target > 12)
        throw TarvoError(QStringLiteral("Zielmonat %1 gibt es nicht. Bitte einen Monat von 1 bis 12 angeben.")
                             .arg(target));
    if (target == source)
        throw TarvoError(QStringLiteral("Der Monat %1 kann nicht auf sich selbst verschoben werden. "
                                        "Bitte einen anderen Zielmonat angeben.")
                             .arg(source));
}

void ShiftMonth(TYearBuffer &year, int source, int target) {
    if (source < 1 || source > 12)
        throw TarvoError(QStringLiteral("Monat %1 gibt es nicht.").arg(source));
    CheckShiftTarget(source, target);
    year.Months[target] = year.Months[source];
    std::memset(&year.Months[source], 0, sizeof(TMonthBlock));
}
