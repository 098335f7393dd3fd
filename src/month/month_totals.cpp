#include "month_totals.h"

#include "calendar/tpdate.h"

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

// The header keeps its stored layout: the sum in the field's own width. (A
// value, not a reference: the packed field may be misaligned.)
template <typename Field> Field Wrapped(std::int64_t sum) {
    using Unsigned = std::make_unsigned_t<Field>;
    return static_cast<Field>(static_cast<Unsigned>(static_cast<std::uint64_t>(sum)));
}

} // namespace

TMonthTotals SumMonth(TMonthBlock &block, int month, int year) {
    const TMonthTotals totals = ComputeMonthTotals(block, month, year);
    TDayRecord &h = block.Header();
    const auto status = h.Bemerkung;
    std::memset(&h, 0, sizeof h);
    h.Bemerkung = status;
    const auto &s = totals.Sums;
    h.Ruhe = Wrapped<decltype(h.Ruhe)>(s[0]);
    h.Schaerfe = Wrapped<decltype(h.Schaerfe)>(s[1]);
    h.Qualitaet = Wrapped<decltype(h.Qualitaet)>(s[2]);
    h.g_n = Wrapped<decltype(h.g_n)>(s[3]);
    h.f_n = Wrapped<decltype(h.f_n)>(s[4]);
    h.g_s = Wrapped<decltype(h.g_s)>(s[5]);
    h.f_s = Wrapped<decltype(h.f_s)>(s[6]);
    h.g = Wrapped<decltype(h.g)>(s[7]);
    h.f = Wrapped<decltype(h.f)>(s[8]);
    h.Re = Wrapped<decltype(h.Re)>(s[9]);
    h.Rs = Wrapped<decltype(h.Rs)>(s[10]);
    h.p = Wrapped<decltype(h.p)>(s[11]);
    h.s = Wrapped<decltype(h.s)>(s[12]);
    h.SN = Wrapped<decltype(h.SN)>(s[13]);
    h.CV = Wrapped<decltype(h.CV)>(s[14]);
    h.A = Wrapped<decltype(h.A)>(s[15]);
    h.Ab = Wrapped<decltype(h.Ab)>(s[16]);
    h.Fo = Wrapped<decltype(h.Fo)>(s[17]);
    h.Fm = Wrapped<decltype(h.Fm)>(s[18]);
    h.FEF = Wrapped<decltype(h.FEF)>(s[19]);
    h.FEP = Wrapped<decltype(h.FEP)>(s[20]);
    h.pfn = Wrapped<decltype(h.pfn)>(s[21]);
    h.pfs = Wrapped<decltype(h.pfs)>(s[22]);
    return totals;
}
