#pragma once

#include "storage/day_record.h"

#include <array>
#include <cstdint>

// Sums and day counts of one month, over the observed days and the values
// that were given (not -1). The sums are full width: 31 days of A = 5 sum to
// 155, although the month header record can only hold the wrapped value.
struct TMonthTotals {
    int DaysInMonth = 0;
    std::array<std::int64_t, kCountedFieldCount> Sums{};
    std::array<std::int32_t, 50> Counts{}; // entries 23..49 stay 0

    bool hasValues(int field) const { return Counts[field] != 0; }
    // Sum / count, 0 when no day has a value.
    double mean(int field) const;
};

// Recomputes the month header record (slot 0) of the block: the dispatch
// status string is kept, the numeric fields get the sums in their own width,
// everything else becomes zero. Returns the full-width totals.
TMonthTotals SumMonth(TMonthBlock &block, int month, int year);

// The same totals without touching the block.
TMonthTotals ComputeMonthTotals(const TMonthBlock &block, int month, int year);
