#include "eval_plot.h"

#include <cmath>
#include <limits>

namespace {

constexpr double kThinLine = 1;
constexpr double kThickLine = 2.4;

// Smoothed series are drawn thick and over the monthly ones.
bool DrawnThick(const TCurveInfo &curve) {
    return curve.kind == TCurveKind::Smoothed || curve.field == &TMonthSummary::SIDCM;
}

QString ScaleNote(double scale) {
    if (scale == 1)
        return QString();
    return scale < 1 ? QStringLiteral("÷ %1").arg(std::lround(1 / scale))
                     : QStringLiteral("× %1").arg(std::lround(scale));
}

// The scale all shown curves share, or 0 when they differ (or none is shown).
double CommonScale(const TCurveSwitches &shown) {
    double common = 0;
    for (int c = 0; c < kCurveCount; ++c) {
        if (!shown[c])
            continue;
        if (common != 0 && common != Curves()[c].scale)
            return 0;
        common = Curves()[c].scale;
    }
    return common;
}

QString LegendLabel(int c, const TEvalData &data, bool noteScale) {
    const TCurveInfo &curve = Curves()[c];
    QString label = QString::fromUtf8(curve.legendText).replace(QLatin1Char('_'), QLatin1Char(' '));
    if (noteScale && curve.scale != 1)
        label += QLatin1Char(' ') + ScaleNote(curve.scale);
    if (!data.drawnInSpan(c))
        label += QStringLiteral(" (keine Daten)");
    return label;
}

} // namespace

QString EvaluationTitle(const TEvalData &data, const TCurveSwitches &shown) {
    bool anyShown = false, relative = false;
    for (int c = 0; c < kCurveCount; ++c)
        if (shown[c]) {
            anyShown = true;
            relative = relative || Curves()[c].relativeNumber;
        }
    const int first = data.firstYear, last = std::max(data.firstYear, data.lastYearShown());
    const QString span =
        first == last ? QString::number(first) : QStringLiteral("%1–%2").arg(first).arg(last);
    return (relative || !anyShown ? QStringLiteral("Relativzahlen ") : QStringLiteral("Monatsmittel ")) +
           span;
}

QString ObserverDisplayName(const TObserverProfile &profile) {
    const QString name = profile.Name2.text().trimmed();
    return name.isEmpty() ? profile.Name1.text().trimmed() : name;
}

TCurveColours CurveColours(const TObserverProfile &profile) {
    TCurveColours colours;
    for (int c = 0; c < kCurveCount; ++c)
        colours[c] = ColourFromFarbe(profile.Farbe[c]);
    return colours;
}

QString SilsoPlotAttribution() {
    return QStringLiteral(
        "SIDC-Reihen: WDC-SILSO, Royal Observatory of Belgium, Brussels (Lizenz CC BY-NC 4.0)");
}

TPlot EvaluationPlot(const TEvalData &data, const TEvalFigure &figure) {
    TPlot plot;
    plot.title = EvaluationTitle(data, figure.shown);
    if (!figure.observerName.isEmpty())
        plot.subtitle = QStringLiteral("Beobachter: %1").arg(figure.observerName);

    plot.x.kind = TPlotAxisKind::Calendar;
    plot.x.min = data.firstYear;
    plot.x.max = data.endYear;
    plot.x.title = QStringLiteral("Jahr");

    const double common = CommonScale(figure.shown);
    plot.y.title = QStringLiteral("Monatsmittel");
    if (common != 0 && common != 1)
        plot.y.title += QLatin1Char(' ') + ScaleNote(common);
    plot.y.autoMax = true;
    plot.y.zoom = std::max(1, figure.factor);
    plot.y.fallbackMax = 100;

    const double gap = std::numeric_limits<double>::quiet_NaN();
    bool silsoShown = false;
    for (int c : ReadOutOrder()) {
        if (!figure.shown[c])
            continue;
        const TCurveInfo &curve = Curves()[c];
        TPlotSeries series;
        series.label = LegendLabel(c, data, common == 0);
        series.colour = figure.colours[c];
        series.width = DrawnThick(curve) ? kThickLine : kThinLine;
        series.layer = DrawnThick(curve) ? 1 : 0;
        series.points.reserve(data.pointCount());
        for (int k = 0; k < data.pointCount(); ++k)
            series.points.push_back(
                QPointF(data.timeOfPoint(k), data.drawn[c][k] ? data.values[c][k] * curve.scale : gap));
        plot.series.push_back(std::move(series));
        silsoShown =
            silsoShown || ((curve.field == &TMonthSummary::SIDC || curve.field == &TMonthSummary::SIDCM) &&
                           data.drawnInSpan(c));
    }
    if (silsoShown)
        plot.attribution = SilsoPlotAttribution();
    return plot;
}
