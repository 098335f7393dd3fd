#include "month_totals.h"

#include "solar/tpdate.h"

#include <cstring>

double TMonthTotals::mean(int field) const {
    const int count = Counts[field];
    return count == 0 ? 0.0 : static_cast<double>(static_cast<long double>(Sums[field]) / count);
}

TMonthTotals ComputeMonthTotals(const TMonthBlock &block, int month, int year) {
    TMonthTotals totals;
    totals.DaysInMonth = MonthLength(month, year);
    for (int d = 1; d <= totals.DaysInMonth; ++d) {
        const TDayRecord &day = block.Days[d];
        if (!day.observed())
            continue;
        for (int k = 0; k < kCountedFieldCount; ++k) {
            const std::int32_t value = CountedField(day, k);
            if (value != -1) {
                totals.Sums[k] += value;
                ++totals.Counts[k];
            }
        }
    }
    return totals;
}

namespace {

template <typename Field> void StoreWrapped(Field &field, std::int64_t sum) {
    // The header keeps its stored layout: the sum in the field's own width.
    using Unsigned = std::make_unsigned_t<Field>;
    field = static_cast<Field>(static_cast<Unsigned>(static_cast<std::uint64_t>(sum)));
}

} // namespace

TMonthTotals SumMonth(TMonthBlock &block, int month, int year) {
    const TMonthTotals totals = ComputeMonthTotals(block, month, year);
    TDayRecord &h = block.Header();
    const auto status = h.Bemerkung;
    std::memset(&h, 0, sizeof h);
    h.Bemerkung = status;
    const auto &s = totals.Sums;
    StoreWrapped(h.Ruhe, s[0]);
    StoreWrapped(h.Schaerfe, s[1]);
    StoreWrapped(h.Qualitaet, s[2]);
    StoreWrapped(h.g_n, s[3]);
    StoreWrapped(h.f_n, s[4]);
    StoreWrapped(h.g_s, s[5]);
    StoreWrapped(h.f_s, s[6]);
    StoreWrapped(h.g, s[7]);
    StoreWrapped(h.f, s[8]);
    StoreWrapped(h.Re, s[9]);
    StoreWrapped(h.Rs, s[10]);
    StoreWrapped(h.p, s[11]);
    StoreWrapped(h.s, s[12]);
    StoreWrapped(h.SN, s[13]);
    StoreWrapped(h.CV, s[14]);
    StoreWrapped(h.A, s[15]);
    StoreWrapped(h.Ab, s[16]);
    StoreWrapped(h.Fo, s[17]);
    StoreWrapped(h.Fm, s[18]);
    StoreWrapped(h.FEF, s[19]);
    StoreWrapped(h.FEP, s[20]);
    StoreWrapped(h.pfn, s[21]);
    StoreWrapped(h.pfs, s[22]);
    return totals;
}
