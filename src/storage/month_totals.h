#pragma once

#include "day_fields.h"
#include "day_record.h"

#include <array>
#include <cstdint>

// Sums and day counts of one month, over the observed days and the values
// that were given (not -1): the one aggregation of the program. The archive
// refresh, the month table, the report forms and tarvo-cli all take a month's
// totals from here. The sums are full width: 31 days of A = 5 sum to 155,
// although the month header record can only hold the wrapped value.
struct TMonthTotals {
    int DaysInMonth = 0;
    std::array<std::int64_t, kCountedFieldCount> Sums{}; // by counted field (0 = Ruhe ... 22 = pfs)
    std::array<std::int32_t, 50> Counts{};              // entries 23..49 stay 0

    bool hasValues(int field) const { return Counts[static_cast<std::size_t>(field)] != 0; }
    // Sum / count in extended precision, 0 when no day has a value.
    double mean(int field) const;
};

// The totals of the month's block; only days 1..MonthLength(month, year) count.
TMonthTotals ComputeMonthTotals(const TMonthBlock &block, int month, int year);

// Recomputes the month header record (slot 0) of the block: the dispatch
// status string is kept, the number fields get the sums in their own width,
// everything else becomes zero. Returns the full-width totals.
TMonthTotals SumMonth(TMonthBlock &block, int month, int year);
