#include "comparison.h"

#include <cmath>
#include <cstring>
#include <memory>

namespace {

std::optional<int> OwnRe(const TDayRecord &day) {
    if (!day.observed() || day.Re < 0)
        return std::nullopt;
    return int(day.Re); // a copy: the packed field may be misaligned
}

// 10 g + f of a hemisphere on an observed day where both are given.
std::optional<int> OwnHemisphere(const TDayRecord &day, std::int16_t g, std::int16_t f) {
    if (!day.observed() || g < 0 || f < 0)
        return std::nullopt;
    return 10 * g + f;
}

THemisphereComparison CompareHemisphere(const TYearBuffer &own, int month, int length, bool north,
                                        const TSilsoHemMonth *silso) {
    THemisphereComparison h;
    long sum = 0;
    for (int d = 1; d <= length; ++d) {
        const TDayRecord &day = own.Day(month, d);
        const std::optional<int> value =
            north ? OwnHemisphere(day, day.g_n, day.f_n) : OwnHemisphere(day, day.g_s, day.f_s);
        if (!value)
            continue;
        ++h.days;
        sum += *value;
    }
    if (h.days > 0)
        h.ownMean = static_cast<double>(sum) / h.days;
    const double reference = silso ? (north ? silso->north : silso->south) : -1;
    if (reference >= 0)
        h.silso = reference;
    if (h.silso && h.ownMean && *h.ownMean > 0)
        h.k = *h.silso / *h.ownMean;
    return h;
}

// The days of a month without the hemispheres (what the span needs).
QVector<TComparisonDay> CompareDays(const TYearBuffer &own, int year, int month,
                                    const TSilsoDailySeries &silso) {
    const int length = QDate(year, month, 1).daysInMonth();
    QVector<TComparisonDay> days(length);
    for (int d = 1; d <= length; ++d) {
        TComparisonDay &c = days[d - 1];
        c.day = d;
        c.re = OwnRe(own.Day(month, d));
        c.silso = SilsoDailyValue(silso, QDate(year, month, d));
        if (c.common() && *c.re > 0)
            c.ratio = static_cast<double>(*c.silso) / *c.re;
    }
    return days;
}

} // namespace

TComparisonStats ComparisonStats(const QVector<TComparisonDay> &days) {
    TComparisonStats s;
    long sumRe = 0, sumSilso = 0;
    double sumRatio = 0;
    for (const TComparisonDay &d : days) {
        if (!d.common())
            continue;
        ++s.days;
        sumRe += *d.re;
        sumSilso += *d.silso;
        if (d.ratio) {
            ++s.ratios;
            sumRatio += *d.ratio;
        }
    }
    if (s.days == 0)
        return s;
    s.meanRe = static_cast<double>(sumRe) / s.days;
    s.meanSilso = static_cast<double>(sumSilso) / s.days;
    if (sumRe > 0)
        s.k = static_cast<double>(sumSilso) / static_cast<double>(sumRe);
    if (s.ratios == 0)
        return s;
    s.ratioMean = sumRatio / s.ratios;
    if (s.ratios < 2)
        return s;
    double squares = 0;
    for (const TComparisonDay &d : days)
        if (d.common() && d.ratio)
            squares += (*d.ratio - *s.ratioMean) * (*d.ratio - *s.ratioMean);
    s.ratioSpread = std::sqrt(squares / (s.ratios - 1));
    return s;
}

TMonthComparison CompareMonth(const TYearBuffer &own, int year, int month, const TSilsoDailySeries &silso,
                              const TSilsoHemSeries &hem) {
    TMonthComparison m;
    m.year = year;
    m.month = month;
    m.days = CompareDays(own, year, month, silso);
    m.stats = ComparisonStats(m.days);
    const TSilsoHemMonth *reference = FindSilsoHemMonth(hem, year, month);
    m.north = CompareHemisphere(own, month, static_cast<int>(m.days.size()), true, reference);
    m.south = CompareHemisphere(own, month, static_cast<int>(m.days.size()), false, reference);
    return m;
}

TYearComparison CompareYear(const TYearBuffer &own, int year, const TSilsoDailySeries &silso,
                            const TSilsoHemSeries &hem) {
    TYearComparison y;
    y.year = year;
    QVector<TComparisonDay> all;
    all.reserve(366);
    for (int month = 1; month <= 12; ++month) {
        y.months[month - 1] = CompareMonth(own, year, month, silso, hem);
        all += y.months[month - 1].days;
    }
    y.stats = ComparisonStats(all);
    return y;
}

TSpanComparison CompareSpan(int firstYear, int lastYear, const TOwnYearReader &readYear,
                            const TSilsoDailySeries &silso) {
    TSpanComparison span;
    span.firstYear = firstYear;
    span.lastYear = lastYear;
    // Monthly k from January of the year before to December of the year after.
    QVector<std::optional<double>> k;
    QVector<TComparisonDay> all;
    const auto buffer = std::make_unique<TYearBuffer>();
    for (int year = firstYear - 1; year <= lastYear + 1; ++year) {
        std::memset(static_cast<void *>(buffer.get()), 0, sizeof(TYearBuffer));
        readYear(year, *buffer);
        const bool inSpan = year >= firstYear && year <= lastYear;
        for (int month = 1; month <= 12; ++month) {
            const QVector<TComparisonDay> days = CompareDays(*buffer, year, month, silso);
            TSpanMonth m{year, month, ComparisonStats(days), std::nullopt};
            k.push_back(m.stats.k);
            if (!inSpan)
                continue;
            all += days;
            span.months.push_back(m);
        }
    }
    span.stats = ComparisonStats(all);
    const int half = kRunningWindow / 2;
    for (int i = 0; i < span.months.size(); ++i) {
        const int centre = i + 12;
        int count = 0;
        double sum = 0;
        for (int j = centre - half; j <= centre + half; ++j)
            if (k[j]) {
                ++count;
                sum += *k[j];
            }
        if (count >= kRunningMinimum)
            span.months[i].runningK = sum / count;
    }
    return span;
}

QString NoSilsoYearMessage(const QString &years) {
    return QStringLiteral("Für %1 sind keine SILSO-Tageszahlen gespeichert. Importieren Sie die Datei "
                          "SN_d_tot_V2.0.csv mit „Datei – Import – SILSO-Tageszahlen“ "
                          "(oder tarvo-cli import silso-daily DATEI).")
        .arg(years);
}

int DefaultComparisonYear(const TSilsoDailySeries &silso, int currentYear,
                          const std::function<bool(int)> &hasYear) {
    std::optional<int> latestWithFile;
    for (int year = currentYear; year > currentYear - 60; --year) {
        if (!hasYear(year))
            continue;
        if (HasSilsoValuesInYear(silso, year))
            return year;
        if (!latestWithFile)
            latestWithFile = year;
    }
    return latestWithFile.value_or(currentYear);
}

int DefaultSpanFirstYear(int lastYear, const std::function<bool(int)> &hasYear) {
    for (int year = lastYear - 10; year < lastYear; ++year)
        if (hasYear(year))
            return year;
    return lastYear;
}
