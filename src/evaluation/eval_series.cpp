#include "eval_series.h"

#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QLocale>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <cstring>

TYearSummaries ReadArchiveYear(int year) {
    TYearSummaries summaries;
    if (!LoadYearSummaries(year, summaries))
        throw TarvoError(QStringLiteral("Das Auswertungsarchiv für %1 kann nicht gelesen werden").arg(year));
    return summaries;
}

int TEvalData::pointAtTime(double t) const {
    return static_cast<int>(std::floor((t - firstYear) * 12)) + 1;
}

int TEvalData::lastYearShown() const {
    return pointCount() > 1 ? yearOfPoint(pointCount() - 1) : endYear - 1;
}

bool TEvalData::drawnInSpan(int curve) const {
    const QVector<bool> &d = drawn[curve];
    return std::find(d.begin() + std::min<qsizetype>(1, d.size()), d.end(), true) != d.end();
}

namespace {

// The records are packed: a member pointer's field may be misaligned, so it is
// copied bytewise.
template <class Record, class T> T LoadField(const Record &record, T Record::*member) {
    T value;
    std::memcpy(&value, &(record.*member), sizeof value);
    return value;
}

int LoadCount(const TMonthSummary &m, int index) {
    std::int32_t count;
    std::memcpy(&count, reinterpret_cast<const char *>(&m) + offsetof(TMonthSummary, Counts) + 4 * index,
                sizeof count);
    return count;
}

// Months whose day count of Re is not 0, as running sums: a window has Re
// values in every month when its sum equals its length.
QVector<int> RunningObservedMonths(const QVector<TMonthSummary> &months) {
    QVector<int> sums(months.size() + 1, 0);
    for (qsizetype e = 0; e < months.size(); ++e)
        sums[e + 1] = sums[e] + (LoadCount(months[e], 9) > 0 ? 1 : 0);
    return sums;
}

QVector<bool> DrawnMonths(const TCurveInfo &curve, const QVector<TMonthSummary> &months,
                          const QVector<int> &observedSums) {
    const qsizetype n = months.size();
    QVector<bool> drawn(n, false);
    switch (curve.kind) {
    case TCurveKind::OwnMean:
        for (qsizetype e = 0; e < n; ++e)
            drawn[e] = LoadCount(months[e], curve.countIndex) > 0;
        break;
    case TCurveKind::Smoothed:
        for (qsizetype e = curve.halfWindow; e + curve.halfWindow < n; ++e)
            drawn[e] = observedSums[e + curve.halfWindow + 1] - observedSums[e - curve.halfWindow] ==
                       2 * curve.halfWindow + 1;
        break;
    case TCurveKind::Imported: {
        qsizetype first = -1, last = -1;
        for (qsizetype e = 0; e < n; ++e)
            if (LoadField(months[e], curve.field) != 0) {
                if (first < 0)
                    first = e;
                last = e;
            }
        for (qsizetype e = first; first >= 0 && e <= last; ++e)
            drawn[e] = true;
        break;
    }
    }
    for (qsizetype e = 0; e < n; ++e)
        drawn[e] = drawn[e] && std::isfinite(LoadField(months[e], curve.field));
    return drawn;
}

} // namespace

TEvalData ComputeEvalData(const TEvalRange &range, const TYearReader &read) {
    TEvalData d;
    d.years = std::max(1, range.years);
    d.endYear = range.endYear;
    d.firstYear = range.endYear - d.years;

    // The months up to today: point k is month e = k + 11 of the months read
    // from January of the year before the span on.
    const int monthsToToday = (range.todayYear - d.firstYear) * 12 + range.todayMonth;
    const int lastPoint = std::min(d.years * 12, monthsToToday);
    if (lastPoint < 0)
        return d;
    // One year beyond the span holds the windows of the smoothed curves and
    // the ends of the imported ones.
    const int readFirst = d.firstYear - 1;
    const int readLast = std::min(d.endYear, range.todayYear);
    QVector<TMonthSummary> months;
    months.reserve((readLast - readFirst + 1) * 12);
    for (int year = readFirst; year <= readLast; ++year) {
        const TYearSummaries summaries = read(year);
        const int lastMonth = year == range.todayYear ? range.todayMonth : 12;
        for (int m = 1; m <= lastMonth; ++m)
            months.push_back(summaries[m - 1]);
    }

    const QVector<int> observedSums = RunningObservedMonths(months);
    const int count = lastPoint + 1;
    for (int c = 0; c < kCurveCount; ++c) {
        const QVector<bool> drawn = DrawnMonths(Curves()[c], months, observedSums);
        d.values[c].resize(count);
        d.drawn[c].resize(count);
        for (int k = 0; k < count; ++k) {
            d.values[c][k] = LoadField(months[k + 11], Curves()[c].field);
            d.drawn[c][k] = drawn[k + 11];
        }
    }
    return d;
}

QString TReadOut::text() const {
    QStringList all{heading};
    for (const TReadOutLine &line : lines)
        all << line.label + line.value;
    return all.join(QLatin1Char('\n'));
}

QString GermanMonthName(int month) {
    static const char *const names[] = {"Januar", "Februar", "März",      "April",   "Mai",      "Juni",
                                        "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
    return QString::fromUtf8(names[std::clamp(month, 1, 12) - 1]);
}

TReadOut ReadOutAt(const TEvalData &d, int k, const TCurveSwitches &shown, int todayYear, int todayMonth) {
    TReadOut out;
    if (k < 0)
        return out;
    const int year = d.yearOfPoint(k), month = d.monthOfPoint(k);
    if (year > todayYear || (year == todayYear && month > todayMonth)) {
        out.heading = QStringLiteral("Auch ich kann nicht \n in die Zukunft schauen");
        return out;
    }
    if (k >= d.pointCount())
        return out;
    static const QLocale german(QLocale::German, QLocale::Germany);
    out.heading = GermanMonthName(month) + QLatin1Char(' ') + QString::number(year);
    for (int c : ReadOutOrder()) {
        if (!shown[c])
            continue;
        const bool hasData = d.drawn[c][k];
        out.lines.push_back(
            {c, QString::fromUtf8(Curves()[c].readOutLabel),
             hasData ? german.toString(d.values[c][k], 'f', 1) : QStringLiteral("keine Daten"), hasData});
    }
    return out;
}

TEvalSpan DefaultEvalSpan(const QList<int> &yearsWithData, int todayYear) {
    if (yearsWithData.isEmpty())
        return {todayYear + 1, 15};
    const auto [first, last] = std::minmax_element(yearsWithData.begin(), yearsWithData.end());
    return {*last + 1, std::min(15, *last - *first + 1)};
}

QList<int> YearsWithOwnData(const TYearReader &read) {
    static const QRegularExpression yearFile(QStringLiteral("^SO(\\d{4})\\.DAT$"),
                                             QRegularExpression::CaseInsensitiveOption);
    QList<int> years;
    const QDir dir(ObserverFilePath(QString()));
    for (const QString &name : dir.entryList(QDir::Files)) {
        const QRegularExpressionMatch match = yearFile.match(name);
        if (!match.hasMatch())
            continue;
        const int year = match.captured(1).toInt();
        try {
            const TYearSummaries summaries = read(year);
            const bool observed = std::any_of(summaries.begin(), summaries.end(), [](const TMonthSummary &m) {
                for (int i = 0; i < 23; ++i)
                    if (LoadCount(m, i) > 0)
                        return true;
                return false;
            });
            if (observed)
                years << year;
        } catch (const TarvoError &) {
            // A year that cannot be read does not decide the first view.
        }
    }
    return years;
}
