#include "plot_layout.h"

#include "plot_axis.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>
#include <limits>

QPointF TPlotLayout::toPixel(QPointF data) const {
    const double x = plotRect.left() + (data.x() - xMin) / (xMax - xMin) * plotRect.width();
    const double y = plotRect.bottom() - (data.y() - yMin) / (yMax - yMin) * plotRect.height();
    return {x, y};
}

double TPlotLayout::xAt(double pixelX) const {
    return xMin + (pixelX - plotRect.left()) / plotRect.width() * (xMax - xMin);
}

namespace {

struct Metrics {
    explicit Metrics(const TPlotStyle &style)
        : tick(style.tickFont()), legend(style.legendFont()), axisTitle(style.axisTitleFont()),
          title(style.titleFont()), subtitle(style.subtitleFont()), small(style.smallPrintFont()),
          base(style.fontSize), margin(std::round(style.fontSize * 0.9)),
          gap(std::round(style.fontSize * 0.5)), tickLength(std::round(style.fontSize * 0.4)) {}
    QFontMetricsF tick, legend, axisTitle, title, subtitle, small;
    double base, margin, gap, tickLength;
};

bool IsFinite(QPointF p) {
    return std::isfinite(p.x()) && std::isfinite(p.y());
}

double LargestShownValue(const TPlot &plot) {
    double largest = -std::numeric_limits<double>::infinity();
    for (const TPlotSeries &s : plot.series)
        for (const QPointF &p : s.points)
            if (IsFinite(p) && p.x() >= plot.x.min && p.x() <= plot.x.max)
                largest = std::max(largest, p.y());
    return largest;
}

void ValueRange(const TPlot &plot, int maxIntervals, double &yMin, double &yMax) {
    yMin = plot.y.min;
    if (!plot.y.autoMax) {
        yMax = plot.y.max;
    } else {
        const double largest = LargestShownValue(plot);
        const double top =
            largest > yMin ? yMin + NiceCeiling(largest - yMin, maxIntervals) : plot.y.fallbackMax;
        yMax = yMin + (top - yMin) / (plot.y.zoom > 0 ? plot.y.zoom : 1);
    }
    if (!(yMax > yMin))
        yMax = yMin + 1;
}

// How a time axis is labelled at a given width per year.
struct CalendarScheme {
    int yearStep = 1;         // years between labels
    bool centredYears = true; // labels in the middle of their year (step 1), else at its start
    int monthLabels = 0;      // 0 none, 1 first letter, 3 short name
    bool monthTicks = false;
    bool yearTicks = false; // minor ticks at every year between the labelled ones
    int rows() const { return monthLabels ? 2 : 1; }
};

double WidestMonthLabel(const QFontMetricsF &fm, int letters) {
    double widest = 0;
    for (int m = 1; m <= 12; ++m)
        widest = std::max(widest, fm.horizontalAdvance(letters == 1 ? MonthLetter(m) : MonthAbbreviation(m)));
    return widest;
}

CalendarScheme ChooseCalendarScheme(double pixelsPerYear, const Metrics &m) {
    CalendarScheme s;
    const double need = m.tick.horizontalAdvance(QStringLiteral("0000")) + 2 * m.gap;
    if (pixelsPerYear < need) {
        s.centredYears = false;
        s.yearStep = 1000;
        for (int step : {2, 5, 10, 20, 25, 50, 100, 200, 500})
            if (pixelsPerYear * step >= need) {
                s.yearStep = step;
                break;
            }
        s.yearTicks = pixelsPerYear >= 3;
        return s;
    }
    const double perMonth = pixelsPerYear / 12;
    if (perMonth >= WidestMonthLabel(m.tick, 3) + m.gap)
        s.monthLabels = 3;
    else if (perMonth >= WidestMonthLabel(m.tick, 1) + 0.6 * m.gap)
        s.monthLabels = 1;
    s.monthTicks = perMonth >= 3;
    return s;
}

// Overhang of the time axis labels past the plot's right edge.
double RightOverhang(const TPlot &plot, const Metrics &m) {
    if (plot.x.kind == TPlotAxisKind::Calendar)
        return m.tick.horizontalAdvance(QStringLiteral("0000")) / 2;
    const double widest = std::max(m.tick.horizontalAdvance(TickLabel(plot.x.max, 0)),
                                   m.tick.horizontalAdvance(TickLabel(plot.x.min, 0)));
    return widest / 2 + m.gap;
}

TPlotText LabelCentredAt(double x, double top, const QString &text, const QFontMetricsF &fm) {
    const double w = fm.horizontalAdvance(text);
    return {QRectF(x - w / 2, top, w, fm.height()), text, Qt::AlignCenter};
}

void LayoutCalendarAxis(TPlotLayout &L, const Metrics &m, double labelTop) {
    const QRectF &r = L.plotRect;
    const double perYear = r.width() / (L.xMax - L.xMin);
    const CalendarScheme s = ChooseCalendarScheme(perYear, m);
    const double rowStep = m.tick.height() * 1.1;
    const int first = static_cast<int>(std::floor(L.xMin));
    const int last = static_cast<int>(std::ceil(L.xMax));
    auto pixel = [&](double x) { return r.left() + (x - L.xMin) * perYear; };
    auto inside = [&](double x) { return x >= L.xMin - 1e-9 && x <= L.xMax + 1e-9; };
    for (int year = first; year <= last; ++year) {
        const bool labelled = year % s.yearStep == 0;
        if (inside(year) && (labelled || s.yearTicks))
            L.xTicks.push_back({pixel(year), labelled});
        if (s.monthTicks)
            for (int month = 2; month <= 12; ++month)
                if (inside(year + (month - 1) / 12.0))
                    L.xTicks.push_back({pixel(year + (month - 1) / 12.0), false});
        if (!labelled)
            continue;
        const QString text = QString::number(year);
        if (!s.centredYears) {
            if (inside(year))
                L.xLabels.push_back(LabelCentredAt(pixel(year), labelTop, text, m.tick));
            continue;
        }
        // The visible part of the year must hold its label.
        const double from = std::max<double>(year, L.xMin), to = std::min<double>(year + 1, L.xMax);
        const double row = s.monthLabels ? labelTop + rowStep : labelTop;
        if ((to - from) * perYear >= m.tick.horizontalAdvance(text) + m.gap)
            L.xLabels.push_back(LabelCentredAt(pixel((from + to) / 2), row, text, m.tick));
        if (s.monthLabels)
            for (int month = 1; month <= 12; ++month) {
                const double middle = year + (month - 0.5) / 12;
                if (inside(year + (month - 1) / 12.0) && inside(year + month / 12.0))
                    L.xLabels.push_back(LabelCentredAt(
                        pixel(middle), labelTop,
                        s.monthLabels == 1 ? MonthLetter(month) : MonthAbbreviation(month), m.tick));
            }
    }
    std::sort(L.xTicks.begin(), L.xTicks.end(),
              [](const TPlotTick &a, const TPlotTick &b) { return a.pixel < b.pixel; });
    // Row by row, left to right.
    std::sort(L.xLabels.begin(), L.xLabels.end(), [](const TPlotText &a, const TPlotText &b) {
        return std::pair(a.rect.top(), a.rect.left()) < std::pair(b.rect.top(), b.rect.left());
    });
}

bool LabelsApart(const QVector<TPlotText> &labels, double gap) {
    for (int i = 1; i < labels.size(); ++i)
        if (labels[i - 1].rect.right() + gap > labels[i].rect.left())
            return false;
    return true;
}

void LayoutNumericXAxis(TPlotLayout &L, const Metrics &m, double labelTop) {
    const QRectF &r = L.plotRect;
    const double rough = m.tick.horizontalAdvance(TickLabel(L.xMax, 1)) + 3 * m.gap;
    for (int intervals = std::max(1, static_cast<int>(r.width() / rough)); intervals >= 1; --intervals) {
        const TAxisTicks ticks = NumericTicks(L.xMin, L.xMax, intervals);
        L.xTicks.clear();
        L.xLabels.clear();
        for (double v : ticks.values) {
            const double x = L.toPixel({v, L.yMin}).x();
            L.xTicks.push_back({x, true});
            L.xLabels.push_back(LabelCentredAt(x, labelTop, TickLabel(v, ticks.decimals), m.tick));
        }
        if (LabelsApart(L.xLabels, m.gap))
            return;
    }
}

void LayoutValueAxis(TPlotLayout &L, const Metrics &m, const TAxisTicks &ticks) {
    const QRectF &r = L.plotRect;
    const double right = r.left() - L.tickLength - 0.5 * m.gap;
    for (double v : ticks.values) {
        const double y = L.toPixel({L.xMin, v}).y();
        L.yTicks.push_back({y, true});
        const QString text = TickLabel(v, ticks.decimals);
        const double w = m.tick.horizontalAdvance(text);
        L.yLabels.push_back({QRectF(right - w, y - m.tick.height() / 2, w, m.tick.height()), text,
                             Qt::AlignRight | Qt::AlignVCenter});
    }
}

// Legend rows below the titles, each row centred; returns the bottom.
double LayoutLegend(TPlotLayout &L, const TPlot &plot, const Metrics &m, const QRectF &outer, double top) {
    const double sampleWidth = std::round(2.2 * m.base);
    const double sampleGap = std::round(0.5 * m.base);
    const double entryGap = std::round(1.5 * m.base);
    const double height = m.legend.height();
    struct Item {
        int series;
        QString text;
        double width;
    };
    QVector<QVector<Item>> rows(1);
    double rowWidth = 0;
    for (int i = 0; i < plot.series.size(); ++i) {
        if (!plot.series[i].inLegend)
            continue;
        const double maxText = std::max(10.0, outer.width() - sampleWidth - sampleGap);
        const QString text = m.legend.elidedText(plot.series[i].label, Qt::ElideRight, maxText);
        const double width = sampleWidth + sampleGap + m.legend.horizontalAdvance(text);
        if (!rows.last().isEmpty() && rowWidth + entryGap + width > outer.width()) {
            rows.push_back({});
            rowWidth = 0;
        }
        rowWidth += (rows.last().isEmpty() ? 0 : entryGap) + width;
        rows.last().push_back({i, text, width});
    }
    if (rows.first().isEmpty())
        return top;
    for (const QVector<Item> &row : rows) {
        double width = -entryGap;
        for (const Item &item : row)
            width += entryGap + item.width;
        double x = outer.left() + (outer.width() - width) / 2;
        for (const Item &item : row) {
            const double middle = top + height / 2;
            TPlotLegendEntry entry;
            entry.series = item.series;
            entry.sample = QLineF(x, middle, x + sampleWidth, middle);
            const double textWidth = item.width - sampleWidth - sampleGap;
            entry.text = {QRectF(x + sampleWidth + sampleGap, top, textWidth, height), item.text,
                          Qt::AlignLeft | Qt::AlignVCenter};
            L.legend.push_back(entry);
            x += item.width + entryGap;
        }
        top += height * 1.15;
    }
    return top;
}

void LayoutPaths(TPlotLayout &L, const TPlot &plot) {
    QVector<int> order(plot.series.size());
    for (int i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&plot](int a, int b) { return plot.series[a].layer < plot.series[b].layer; });
    for (int index : order) {
        const TPlotSeries &series = plot.series[index];
        TPlotSeriesPath path{index, {}, {}};
        QPolygonF run;
        auto dot = [&](QPointF p) {
            if (p.x() >= L.plotRect.left() - 0.5 && p.x() <= L.plotRect.right() + 0.5)
                path.dots.push_back(p);
        };
        auto close = [&] {
            if (series.markers) {
                for (const QPointF &p : std::as_const(run))
                    dot(p);
            } else if (run.size() == 1) {
                dot(run.first());
            }
            if (run.size() > 1)
                path.lines.push_back(run);
            run = QPolygonF();
        };
        for (const QPointF &p : series.points) {
            if (IsFinite(p))
                run.push_back(L.toPixel(p));
            else
                close();
        }
        close();
        L.paths.push_back(std::move(path));
    }
}

} // namespace

TPlotLayout LayoutPlot(const TPlot &plot, QSizeF size, const TPlotStyle &style) {
    const Metrics m(style);
    TPlotLayout L;
    L.size = size;
    L.tickLength = m.tickLength;
    L.xMin = plot.x.min;
    L.xMax = plot.x.max > plot.x.min ? plot.x.max : plot.x.min + 1;
    const QRectF outer = QRectF(QPointF(0, 0), size).adjusted(m.margin, m.margin, -m.margin, -m.margin);

    // Top: title, subtitle, legend.
    double top = outer.top();
    if (!plot.title.isEmpty()) {
        L.title = {QRectF(outer.left(), top, outer.width(), m.title.height()),
                   m.title.elidedText(plot.title, Qt::ElideRight, outer.width()), Qt::AlignCenter};
        top += m.title.height();
    }
    if (!plot.subtitle.isEmpty()) {
        L.subtitle = {QRectF(outer.left(), top, outer.width(), m.subtitle.height()),
                      m.subtitle.elidedText(plot.subtitle, Qt::ElideRight, outer.width()), Qt::AlignCenter};
        top += m.subtitle.height();
    }
    if (!plot.title.isEmpty() || !plot.subtitle.isEmpty())
        top += m.gap;
    top = LayoutLegend(L, plot, m, outer, top);
    const double plotTop = top + m.gap + m.tick.height() / 2;

    // Bottom: small print, time axis title, tick labels.
    double bottom = outer.bottom();
    if (!plot.attribution.isEmpty()) {
        const QRectF wrapped = m.small.boundingRect(QRectF(0, 0, outer.width(), 1000),
                                                    Qt::TextWordWrap | Qt::AlignRight, plot.attribution);
        L.attribution = {QRectF(outer.left(), bottom - wrapped.height(), outer.width(), wrapped.height()),
                         plot.attribution, Qt::TextWordWrap | Qt::AlignRight | Qt::AlignBottom};
        bottom -= wrapped.height() + m.gap;
    }
    if (!plot.x.title.isEmpty()) {
        L.xTitle = {QRectF(outer.left(), bottom - m.axisTitle.height(), outer.width(), m.axisTitle.height()),
                    plot.x.title, Qt::AlignCenter};
        bottom -= m.axisTitle.height() + 0.5 * m.gap;
    }
    const double yTitleWidth = plot.y.title.isEmpty() ? 0 : m.axisTitle.height() + m.gap;
    const double right = outer.right() - RightOverhang(plot, m);

    // The plot's size decides the ticks, and the ticks the room their labels
    // take: settle it in a few rounds.
    int labelRows = 1;
    double labelWidth = m.tick.horizontalAdvance(QStringLiteral("000"));
    TAxisTicks yTicks;
    // Both only grow, so the rounds end.
    for (int round = 0; round < 6; ++round) {
        const double labelsHeight = labelRows * m.tick.height() * 1.1 + L.tickLength + 0.35 * m.tick.height();
        const double left = outer.left() + yTitleWidth + labelWidth + 0.5 * m.gap + L.tickLength;
        L.plotRect = QRectF(QPointF(std::round(left), std::round(plotTop)),
                            QPointF(std::round(std::max(left + 10, right)),
                                    std::round(std::max(plotTop + 10, bottom - labelsHeight))));
        // Labels at least two lines apart, and no more than a reader counts at a glance.
        const int maxIntervals =
            std::clamp(static_cast<int>(L.plotRect.height() / (2.2 * m.tick.height())), 1, 12);
        ValueRange(plot, maxIntervals, L.yMin, L.yMax);
        yTicks = NumericTicks(L.yMin, L.yMax, maxIntervals);
        double widest = 0;
        for (double v : yTicks.values)
            widest = std::max(widest, m.tick.horizontalAdvance(TickLabel(v, yTicks.decimals)));
        const int rows = plot.x.kind == TPlotAxisKind::Calendar
                             ? ChooseCalendarScheme(L.plotRect.width() / (L.xMax - L.xMin), m).rows()
                             : 1;
        if (widest <= labelWidth && rows <= labelRows)
            break;
        labelWidth = std::max(labelWidth, widest);
        labelRows = std::max(labelRows, rows);
    }

    LayoutValueAxis(L, m, yTicks);
    const double labelTop = L.plotRect.bottom() + L.tickLength + 0.35 * m.tick.height();
    if (plot.x.kind == TPlotAxisKind::Calendar)
        LayoutCalendarAxis(L, m, labelTop);
    else
        LayoutNumericXAxis(L, m, labelTop);

    if (!plot.y.title.isEmpty())
        L.yTitle = {QRectF(outer.left(), L.plotRect.top(), m.axisTitle.height(), L.plotRect.height()),
                    plot.y.title, Qt::AlignCenter};
    if (!plot.x.title.isEmpty())
        L.xTitle.rect =
            QRectF(L.plotRect.left(), L.xTitle.rect.top(), L.plotRect.width(), L.xTitle.rect.height());
    LayoutPaths(L, plot);
    return L;
}
