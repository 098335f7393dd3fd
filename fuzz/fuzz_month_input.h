#pragma once

#include "storage/column_layout.h"
#include "storage/day_record.h"
#include "storage/profile.h"

#include <QLocale>
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

// One month of one observer as the outputs (data lines, exports, report
// forms) get it, made from the fuzzer's bytes, all in memory:
//   byte 0       month (low nibble, 1..12), locale bit 0x10 (German or C)
//   bytes 1-2    year, little-endian, 0..3999
//   984 bytes    the observer's profile
//   4320 bytes   the month block (header record and 31 days)
//   the rest     column layout records (AEF.CFG order), over the defaults
// Missing bytes are zeros. Every byte of a day record and of the profile is
// mutated, so texts without their length byte's worth of characters, numbers
// of any size and switches with any value all occur.
struct FuzzMonth {
    TYearBuffer year{};
    TObserverProfile profile{};
    TColumnLayout layout{};
    int month = 1;
    int yearNumber = 2004;
    QLocale locale = QLocale::c();

    static constexpr std::size_t kHeaderSize = 3;
    static constexpr std::size_t kProfileAt = kHeaderSize;
    static constexpr std::size_t kBlockAt = kProfileAt + sizeof(TObserverProfile);
    static constexpr std::size_t kLayoutAt = kBlockAt + sizeof(TMonthBlock);

    FuzzMonth(const std::uint8_t *data, std::size_t size, const TColumnLayout &defaultLayout)
        : layout(defaultLayout) {
        std::memset(static_cast<void *>(&year), 0, sizeof year);
        std::memset(static_cast<void *>(&profile), 0, sizeof profile);
        const auto take = [&](std::size_t at, void *into, std::size_t width) {
            if (at < size)
                std::memcpy(into, data + at, std::min(width, size - at));
        };
        if (size > 0) {
            month = 1 + (data[0] & 0x0F) % 12;
            if (data[0] & 0x10)
                locale = QLocale(QLocale::German, QLocale::Germany);
        }
        if (size > 2)
            yearNumber = (data[1] | data[2] << 8) % 4000;
        take(kProfileAt, &profile, sizeof profile);
        take(kBlockAt, &year.Months[static_cast<std::size_t>(month)], sizeof(TMonthBlock));
        take(kLayoutAt, layout.data(), sizeof layout);
    }
};
