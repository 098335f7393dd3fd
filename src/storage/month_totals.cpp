#include "month_totals.h"

#include "calendar/tpdate.h"

#include <cstring>

double TMonthTotals::mean(int field) const {
    const int count = Counts[static_cast<std::size_t>(field)];
    return count == 0 ? 0.0
                      : static_cast<double>(static_cast<long double>(Sums[static_cast<std::size_t>(field)]) / count);
}

TMonthTotals ComputeMonthTotals(const TMonthBlock &block, int month, int year) {
    TMonthTotals totals;
    totals.DaysInMonth = MonthLength(month, year);
    for (int d = 1; d <= totals.DaysInMonth; ++d) {
        const TDayRecord &day = block.Days[static_cast<std::size_t>(d)];
        if (!day.observed())
            continue;
        ForEachCountedValue(day, [&totals](int k, std::int32_t value) {
            if (value != -1) {
                totals.Sums[static_cast<std::size_t>(k)] += value;
                ++totals.Counts[static_cast<std::size_t>(k)];
            }
        });
    }
    return totals;
}

TMonthTotals SumMonth(TMonthBlock &block, int month, int year) {
    const TMonthTotals totals = ComputeMonthTotals(block, month, year);
    TDayRecord &h = block.Header();
    const auto status = h.Bemerkung;
    std::memset(&h, 0, sizeof h);
    h.Bemerkung = status;
    // The header keeps its stored layout: each sum in its field's own width.
    for (int k = 0; k < kCountedFieldCount; ++k)
        SetDayNumber(h, kCountedFields[static_cast<std::size_t>(k)], totals.Sums[static_cast<std::size_t>(k)]);
    return totals;
}
