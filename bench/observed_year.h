#pragma once

#include "storage/day_record.h"

#include <QString>
#include <cstring>
#include <memory>

// A year observed on days 1..28 of every month at 10:00 with a relative
// number (g groups, f spots); every other number is not given.
inline std::unique_ptr<TYearBuffer> ObservedYear() {
    auto year = std::make_unique<TYearBuffer>();
    std::memset(year.get(), 0, sizeof *year);
    for (int m = 1; m <= 12; ++m)
        for (int d = 1; d <= 28; ++d) {
            TDayRecord &r = year->Day(m, d);
            std::memset(&r, 0xFF, sizeof r);
            r.Zeit.assign(QStringLiteral("10:00"));
            r.g = static_cast<std::int16_t>(d % 9);
            r.f = static_cast<std::int16_t>(d * 7 % 61);
            r.Re = static_cast<std::int16_t>(10 * r.g + r.f);
        }
    return year;
}
