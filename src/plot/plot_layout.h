#pragma once

#include "plot.h"

#include <QLineF>
#include <QPolygonF>
#include <QRectF>
#include <QSizeF>
#include <algorithm>

// Where every part of a plot goes on a surface of a given size, in layout
// pixels: the geometry a painter draws, and what tests check without pixels.

struct TPlotText {
    QRectF rect;
    QString text;
    int flags = 0; // Qt::Alignment and text flags for QPainter::drawText
    bool operator==(const TPlotText &) const = default;
};

struct TPlotTick {
    double pixel; // x (time axis) or y (value axis)
    bool major;   // major ticks are longer and carry a grid line
    bool operator==(const TPlotTick &) const = default;
};

struct TPlotLegendEntry {
    int series; // index into TPlot::series
    QLineF sample;
    TPlotText text;
};

// The lines and dots of one series, in pixels.
struct TPlotSeriesPath {
    int series; // index into TPlot::series
    QVector<QPolygonF> lines;
    QVector<QPointF> dots;
};

struct TPlotLayout {
    QSizeF size;
    QRectF plotRect; // the data area; lines are clipped to it
    double xMin = 0, xMax = 1, yMin = 0, yMax = 1;
    TPlotText title, subtitle, xTitle, attribution;
    TPlotText yTitle; // its rect is the upright box left of the plot; the text runs upwards
    QVector<TPlotTick> xTicks, yTicks;
    QVector<TPlotText> xLabels, yLabels;
    QVector<TPlotLegendEntry> legend;
    QVector<TPlotSeriesPath> paths; // in paint order
    double tickLength = 5;
    double dotRadius(double lineWidth) const { return std::max(2.2, 1.6 * lineWidth); }

    QPointF toPixel(QPointF data) const;
    // The data x under a pixel column.
    double xAt(double pixelX) const;
};

TPlotLayout LayoutPlot(const TPlot &plot, QSizeF size, const TPlotStyle &style = TPlotStyle());
