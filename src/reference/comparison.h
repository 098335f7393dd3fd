#pragma once

#include "silso_series.h"
#include "storage/day_record.h"

#include <QVector>
#include <array>
#include <functional>
#include <optional>

// The observer's relative numbers against SILSO's daily sunspot numbers.
//
// The common days of a month are the days that are observed (Zeit not empty),
// have Re given and have a SILSO value of 0 or more. Over them:
//   n = number of common days; Re mean and SILSO mean;
//   k = sum of SILSO / sum of Re (none when the sum of Re is 0);
//   the daily ratios S/Re of the common days with Re > 0: their mean and
//   sample standard deviation (n - 1; none below two ratios).
// A year takes the same over all common days of the year. Per hemisphere, the
// own relative number of a day is 10 g + f from g_n, f_n (g_s, f_s) on the
// observed days where both are given; k North = SILSO's monthly north value
// / the own north mean, k South likewise.

struct TComparisonDay {
    int day = 0;
    std::optional<int> re;       // observed with Re given
    std::optional<int> silso;    // SILSO's value, 0 or more
    std::optional<double> ratio; // S/Re on a common day with Re > 0
    bool common() const { return re && silso; }
};

struct TComparisonStats {
    int days = 0;   // n: the common days
    int ratios = 0; // common days with Re > 0
    std::optional<double> meanRe;
    std::optional<double> meanSilso;
    std::optional<double> k;
    std::optional<double> ratioMean;
    std::optional<double> ratioSpread;
};

struct THemisphereComparison {
    int days = 0;                  // own days with g and f of the hemisphere
    std::optional<double> ownMean; // mean of 10 g + f
    std::optional<double> silso;   // SILSO's monthly value
    std::optional<double> k;       // silso / ownMean
};

struct TMonthComparison {
    int year = 0;
    int month = 0;
    QVector<TComparisonDay> days; // day 1 .. the month's length
    TComparisonStats stats;
    THemisphereComparison north;
    THemisphereComparison south;
};

struct TYearComparison {
    int year = 0;
    std::array<TMonthComparison, 12> months; // January first
    TComparisonStats stats;                  // over all common days of the year
};

// One month of a span of years.
struct TSpanMonth {
    int year = 0;
    int month = 0;
    TComparisonStats stats;
    // The mean of the monthly k of the 13 months from six before to six
    // after, over those that have one; none when fewer than 10 of them do.
    std::optional<double> runningK;
};

struct TSpanComparison {
    int firstYear = 0;
    int lastYear = 0;
    QVector<TSpanMonth> months; // January of firstYear .. December of lastYear
    TComparisonStats stats;     // over all common days of the span
};

// Months in the running mean's window, and how many of them need a k.
constexpr int kRunningWindow = 13;
constexpr int kRunningMinimum = 10;

// The statistics over the common days of a list.
TComparisonStats ComparisonStats(const QVector<TComparisonDay> &days);

TMonthComparison CompareMonth(const TYearBuffer &own, int year, int month, const TSilsoDailySeries &silso,
                              const TSilsoHemSeries &hem);
TYearComparison CompareYear(const TYearBuffer &own, int year, const TSilsoDailySeries &silso,
                            const TSilsoHemSeries &hem);

// Reads a year of the observer (false with an empty year when there is none).
using TOwnYearReader = std::function<bool(int year, TYearBuffer &buffer)>;
// The span firstYear..lastYear; the running mean also looks at the year before
// and after. Reads every year once; throws what the reader throws.
TSpanComparison CompareSpan(int firstYear, int lastYear, const TOwnYearReader &readYear,
                            const TSilsoDailySeries &silso);

// Why there is nothing to compare with: no SILSO daily value stored for the
// year (or years, "1995–2005"), and how to import them.
QString NoSilsoYearMessage(const QString &years);

// The year the window opens on: the latest year up to `currentYear` (looking
// back 60 years) that the observer has a year file for (`hasYear`) and SILSO
// has daily values for; else the latest with a year file; else currentYear.
int DefaultComparisonYear(const TSilsoDailySeries &silso, int currentYear,
                          const std::function<bool(int)> &hasYear);
// The first year of the span shown with `lastYear`: the earliest of the ten
// years before it that has a year file, else lastYear itself.
int DefaultSpanFirstYear(int lastYear, const std::function<bool(int)> &hasYear);
