#include "comparison_plot_ui.h"

#include "network/import_rules.h"
#include "plot/plot_axis.h"

#include <QLocale>
#include <limits>

namespace {

const QColor kOwnColour(0x1F, 0x5F, 0xA8);
const QColor kSilsoColour(0xD9, 0x5F, 0x0E);
const QColor kLevelColour(0x44, 0x44, 0x44);
const QColor kNorthColour(0x2E, 0x8B, 0x57);
const QColor kSouthColour(0x8E, 0x44, 0xAD);

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

double Or(const std::optional<double> &value) {
    return value ? *value : kGap;
}

TPlotSeries Series(const QString &label, const QColor &colour, double width) {
    TPlotSeries s;
    s.label = label;
    s.colour = colour;
    s.width = width;
    return s;
}

// "k = 1,234" as the axis writes numbers.
QString Decimal(double value, int decimals) {
    return TickLabel(value, decimals);
}

QString Subtitle(const QString &observer, const QString &rest) {
    return observer.isEmpty() ? rest : QStringLiteral("Beobachter: %1 · %2").arg(observer, rest);
}

QString CommonDays(int days) {
    return days == 1 ? QStringLiteral("1 gemeinsamer Tag") : QStringLiteral("%1 gemeinsame Tage").arg(days);
}

QString StatsNote(const TComparisonStats &stats, const QString &what) {
    if (!stats.k)
        return stats.days == 0 ? QStringLiteral("keine gemeinsamen Tage")
                               : CommonDays(stats.days) + QStringLiteral(", k nicht bestimmbar");
    return QStringLiteral("%1 = %2 aus %3").arg(what, Decimal(*stats.k, 3), CommonDays(stats.days));
}

// The k plots share their value axis.
void KAxis(TPlot &plot) {
    plot.y.title = QStringLiteral("k = SILSO / Re");
    plot.y.autoMax = true;
    plot.y.fallbackMax = 2;
}

// A dashed level across the whole time axis.
TPlotSeries Level(const TPlot &plot, double value, const QString &label) {
    TPlotSeries s = Series(label, kLevelColour, 1.4);
    s.dashed = true;
    s.points = {QPointF(plot.x.min, value), QPointF(plot.x.max, value)};
    return s;
}

double MonthMiddle(int year, int month) {
    return year + (month - 0.5) / 12;
}

} // namespace

QString MonthAndYear(int year, int month) {
    return QStringLiteral("%1 %2").arg(QLocale(QLocale::German).standaloneMonthName(month)).arg(year);
}

QString YearSpanText(int firstYear, int lastYear) {
    return firstYear == lastYear ? QString::number(firstYear)
                                 : QStringLiteral("%1–%2").arg(firstYear).arg(lastYear);
}

TPlot MonthComparisonPlot(const TMonthComparison &month, const QString &observer) {
    TPlot plot;
    plot.title =
        QStringLiteral("Eigene Relativzahlen und SILSO – %1").arg(MonthAndYear(month.year, month.month));
    plot.subtitle = Subtitle(observer, StatsNote(month.stats, QStringLiteral("k")));
    plot.x.kind = TPlotAxisKind::Numeric;
    plot.x.min = 0.5;
    plot.x.max = month.days.size() + 0.5;
    plot.x.title = QStringLiteral("Tag");
    plot.y.title = QStringLiteral("Relativzahl");
    plot.y.autoMax = true;
    plot.y.fallbackMax = 100;
    TPlotSeries own = Series(QStringLiteral("Re (eigene Zählung)"), kOwnColour, 1.6);
    TPlotSeries silso = Series(QStringLiteral("SILSO (Tageswert)"), kSilsoColour, 1.6);
    own.markers = silso.markers = true;
    for (const TComparisonDay &d : month.days) {
        own.points.push_back(QPointF(d.day, d.re ? *d.re : kGap));
        silso.points.push_back(QPointF(d.day, d.silso ? *d.silso : kGap));
    }
    plot.series = {own, silso};
    plot.attribution = SilsoAttribution();
    return plot;
}

TPlot YearComparisonPlot(const TYearComparison &year, const QString &observer) {
    TPlot plot;
    plot.title = QStringLiteral("Persönlicher k-Faktor %1").arg(year.year);
    plot.subtitle = Subtitle(observer, StatsNote(year.stats, QStringLiteral("k des Jahres")));
    plot.x.kind = TPlotAxisKind::Calendar;
    plot.x.min = year.year;
    plot.x.max = year.year + 1;
    KAxis(plot);
    TPlotSeries k = Series(QStringLiteral("k je Monat"), kOwnColour, 2.2);
    TPlotSeries north = Series(QStringLiteral("k Nord"), kNorthColour, 1.2);
    TPlotSeries south = Series(QStringLiteral("k Süd"), kSouthColour, 1.2);
    k.markers = north.markers = south.markers = true;
    k.layer = 1;
    bool hemispheres = false;
    for (const TMonthComparison &m : year.months) {
        const double x = MonthMiddle(year.year, m.month);
        k.points.push_back(QPointF(x, Or(m.stats.k)));
        north.points.push_back(QPointF(x, Or(m.north.k)));
        south.points.push_back(QPointF(x, Or(m.south.k)));
        hemispheres = hemispheres || m.north.k || m.south.k;
    }
    plot.series = {k};
    if (year.stats.k)
        plot.series.push_back(
            Level(plot, *year.stats.k, QStringLiteral("k des Jahres (%1)").arg(Decimal(*year.stats.k, 3))));
    if (hemispheres)
        plot.series << north << south;
    plot.attribution = SilsoAttribution();
    return plot;
}

TPlot SpanComparisonPlot(const TSpanComparison &span, const QString &observer) {
    TPlot plot;
    plot.title = QStringLiteral("Persönlicher k-Faktor %1").arg(YearSpanText(span.firstYear, span.lastYear));
    plot.subtitle = Subtitle(observer, StatsNote(span.stats, QStringLiteral("k des Zeitraums")));
    plot.x.kind = TPlotAxisKind::Calendar;
    plot.x.min = span.firstYear;
    plot.x.max = span.lastYear + 1;
    plot.x.title = QStringLiteral("Jahr");
    KAxis(plot);
    TPlotSeries k = Series(QStringLiteral("k je Monat"), kOwnColour, 1.0);
    k.markers = span.months.size() <= 48;
    TPlotSeries running = Series(QStringLiteral("gleitendes 13-Monats-Mittel"), kSilsoColour, 2.6);
    running.layer = 1;
    for (const TSpanMonth &m : span.months) {
        const double x = MonthMiddle(m.year, m.month);
        k.points.push_back(QPointF(x, Or(m.stats.k)));
        running.points.push_back(QPointF(x, Or(m.runningK)));
    }
    plot.series = {k, running};
    if (span.stats.k)
        plot.series.push_back(Level(plot, *span.stats.k,
                                    QStringLiteral("k des Zeitraums (%1)").arg(Decimal(*span.stats.k, 3))));
    plot.attribution = SilsoAttribution();
    return plot;
}
