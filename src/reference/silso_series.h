#pragma once

#include <QDate>
#include <optional>
#include <vector>

// SILSO's reference series as the program keeps them: the daily total
// sunspot number and the monthly hemispheric numbers (both version 2.0).

// One day of the daily total series.
struct TSilsoDay {
    int day = 0;           // Julian day number (QDate::toJulianDay)
    int sn = -1;           // the day's sunspot number; -1: SILSO has none
    double stdDev = -1;    // standard deviation; -1: none
    int observations = -1; // number of observations; -1: none
    bool provisional = false;
    bool operator==(const TSilsoDay &) const = default;
    int key() const { return day; }
    bool hasValue() const { return sn >= 0; }
};

// A month as year * 12 + month - 1.
inline int SilsoMonthKey(int year, int month) {
    return year * 12 + month - 1;
}
inline int SilsoKeyYear(int key) {
    return key / 12;
}
inline int SilsoKeyMonth(int key) {
    return key % 12 + 1;
}

// One month of the hemispheric series; a number below 0 is none.
struct TSilsoHemMonth {
    int month = 0; // SilsoMonthKey
    double total = -1;
    double north = -1;
    double south = -1;
    double stdTotal = -1;
    double stdNorth = -1;
    double stdSouth = -1;
    int obsTotal = -1;
    int obsNorth = -1;
    int obsSouth = -1;
    bool provisional = false;
    bool operator==(const TSilsoHemMonth &) const = default;
    int key() const { return month; }
    bool hasValue() const { return north >= 0 || south >= 0; }
};

// Both series hold their entries in ascending order, one per day (month).
struct TSilsoDailySeries {
    std::vector<TSilsoDay> days;
};
struct TSilsoHemSeries {
    std::vector<TSilsoHemMonth> months;
};

// SILSO's number for the day, when it has one.
std::optional<int> SilsoDailyValue(const TSilsoDailySeries &series, const QDate &date);
// Whether SILSO has a number for at least one day of the year.
bool HasSilsoValuesInYear(const TSilsoDailySeries &series, int year);
// The first and last day with a number (invalid dates when there is none).
QDate FirstSilsoValueDate(const TSilsoDailySeries &series);
QDate LastSilsoValueDate(const TSilsoDailySeries &series);

// The month's entry, or nullptr.
const TSilsoHemMonth *FindSilsoHemMonth(const TSilsoHemSeries &series, int year, int month);

// Entries sorted by key with one entry per key: of several, the last one.
template <class Entry> void SortUniqueKeepLast(std::vector<Entry> &entries);
// `stored` with every entry of `incoming` put in: an entry of the same key is
// replaced, all others are kept. Both must be sorted and unique by key.
template <class Entry>
std::vector<Entry> MergeReplacing(const std::vector<Entry> &stored, const std::vector<Entry> &incoming);

extern template void SortUniqueKeepLast(std::vector<TSilsoDay> &);
extern template void SortUniqueKeepLast(std::vector<TSilsoHemMonth> &);
extern template std::vector<TSilsoDay> MergeReplacing(const std::vector<TSilsoDay> &,
                                                      const std::vector<TSilsoDay> &);
extern template std::vector<TSilsoHemMonth> MergeReplacing(const std::vector<TSilsoHemMonth> &,
                                                           const std::vector<TSilsoHemMonth> &);
