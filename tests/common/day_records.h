#pragma once

#include "storage/day_record.h"

#include <QString>
#include <cstring>

// An observed day at `zeit` with g groups and f spots (Re = 10 g + f); every
// other number is -1 (not given), texts empty, reserved bytes zero.
inline TDayRecord ObservedDayRecord(const char *zeit, int g, int f) {
    TDayRecord d;
    std::memset(&d, 0xFF, sizeof d);
    std::memset(&d.Bemerkung, 0, sizeof d.Bemerkung);
    std::memset(&d.z_f, 0, sizeof d.z_f);
    std::memset(&d.Po, 0, sizeof d.Po);
    d.Fl = 0;
    std::memset(d.Reserved1, 0, sizeof d.Reserved1);
    std::memset(d.Reserved2, 0, sizeof d.Reserved2);
    d.Zeit.assign(QString::fromLatin1(zeit));
    d.g = static_cast<std::int16_t>(g);
    d.f = static_cast<std::int16_t>(f);
    d.Re = static_cast<std::int16_t>(10 * g + f);
    return d;
}
