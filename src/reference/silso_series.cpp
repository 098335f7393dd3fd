#include "silso_series.h"

#include <algorithm>

namespace {

auto DayAtOrAfter(const TSilsoDailySeries &series, qint64 day) {
    return std::lower_bound(series.days.begin(), series.days.end(), day,
                            [](const TSilsoDay &d, qint64 wanted) { return d.day < wanted; });
}

} // namespace

std::optional<int> SilsoDailyValue(const TSilsoDailySeries &series, const QDate &date) {
    const qint64 day = date.toJulianDay();
    const auto it = DayAtOrAfter(series, day);
    if (it == series.days.end() || it->day != day || !it->hasValue())
        return std::nullopt;
    return it->sn;
}

bool HasSilsoValuesInYear(const TSilsoDailySeries &series, int year) {
    const qint64 last = QDate(year, 12, 31).toJulianDay();
    for (auto it = DayAtOrAfter(series, QDate(year, 1, 1).toJulianDay());
         it != series.days.end() && it->day <= last; ++it)
        if (it->hasValue())
            return true;
    return false;
}

QDate FirstSilsoValueDate(const TSilsoDailySeries &series) {
    const auto it =
        std::find_if(series.days.begin(), series.days.end(), [](const TSilsoDay &d) { return d.hasValue(); });
    return it == series.days.end() ? QDate() : QDate::fromJulianDay(it->day);
}

QDate LastSilsoValueDate(const TSilsoDailySeries &series) {
    const auto it = std::find_if(series.days.rbegin(), series.days.rend(),
                                 [](const TSilsoDay &d) { return d.hasValue(); });
    return it == series.days.rend() ? QDate() : QDate::fromJulianDay(it->day);
}

const TSilsoHemMonth *FindSilsoHemMonth(const TSilsoHemSeries &series, int year, int month) {
    const int key = SilsoMonthKey(year, month);
    const auto it = std::lower_bound(series.months.begin(), series.months.end(), key,
                                     [](const TSilsoHemMonth &m, int wanted) { return m.month < wanted; });
    return it != series.months.end() && it->month == key ? &*it : nullptr;
}

template <class Entry> void SortUniqueKeepLast(std::vector<Entry> &entries) {
    const auto strictlyAscending = [](const Entry &a, const Entry &b) { return a.key() >= b.key(); };
    if (std::adjacent_find(entries.begin(), entries.end(), strictlyAscending) == entries.end())
        return; // the usual case: a file in order
    std::stable_sort(entries.begin(), entries.end(),
                     [](const Entry &a, const Entry &b) { return a.key() < b.key(); });
    // Of equal keys the last one stays: walk backwards and keep the first seen.
    std::vector<Entry> unique;
    unique.reserve(entries.size());
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if (unique.empty() || unique.back().key() != it->key())
            unique.push_back(*it);
    std::reverse(unique.begin(), unique.end());
    entries = std::move(unique);
}

template <class Entry>
std::vector<Entry> MergeReplacing(const std::vector<Entry> &stored, const std::vector<Entry> &incoming) {
    std::vector<Entry> merged;
    merged.reserve(stored.size() + incoming.size());
    auto s = stored.begin();
    auto i = incoming.begin();
    while (s != stored.end() || i != incoming.end()) {
        if (i == incoming.end() || (s != stored.end() && s->key() < i->key())) {
            merged.push_back(*s++);
            continue;
        }
        if (s != stored.end() && s->key() == i->key())
            ++s; // replaced
        merged.push_back(*i++);
    }
    return merged;
}

template void SortUniqueKeepLast(std::vector<TSilsoDay> &);
template void SortUniqueKeepLast(std::vector<TSilsoHemMonth> &);
template std::vector<TSilsoDay> MergeReplacing(const std::vector<TSilsoDay> &,
                                               const std::vector<TSilsoDay> &);
template std::vector<TSilsoHemMonth> MergeReplacing(const std::vector<TSilsoHemMonth> &,
                                                    const std::vector<TSilsoHemMonth> &);
