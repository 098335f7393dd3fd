#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QString>
#include <QVector>

// What a plot shows, independent of where it is drawn (window, image, PDF):
// title, axes, line series and small print. LayoutPlot (plot_layout.h) places
// it on a surface; PaintPlot and the file writers (plot_writer.h) draw it.

enum class TPlotAxisKind {
    Numeric,  // ticks at round numbers
    Calendar, // decimal years (2000.5 = the middle of 2000): years, and months when there is room
};

struct TPlotAxis {
    QString title;
    TPlotAxisKind kind = TPlotAxisKind::Numeric;
    double min = 0;
    double max = 1;
    // Value axis: the top is the largest value shown within the x range,
    // rounded up to a round step, then divided by `zoom` (2 shows the lower
    // half); `fallbackMax` when nothing is shown. Otherwise `max` holds.
    bool autoMax = false;
    double zoom = 1;
    double fallbackMax = 100;
};

struct TPlotSeries {
    QString label; // legend text
    QColor colour;
    double width = 1.2; // line width in layout pixels
    int layer = 0;      // painted in ascending layer, within a layer in list order
    bool inLegend = true;
    // Points in data coordinates; a point with a NaN y is a gap that breaks
    // the line. A point with gaps on both sides is drawn as a dot.
    QVector<QPointF> points;
    bool dashed = false;  // a dashed line, e.g. a reference level
    bool markers = false; // a dot at every point, not only at lone ones
};

struct TPlot {
    QString title;
    QString subtitle;
    TPlotAxis x;
    TPlotAxis y;
    QVector<TPlotSeries> series; // in legend order
    QString attribution;         // small print at the bottom, e.g. the source of data
};

// Fonts and colours of every plot of the program, so that all look alike.
// Sizes are layout pixels: 1/96 inch on paper, one pixel on a 1x screen.
struct TPlotStyle {
    QString fontFamily = QStringLiteral("Liberation Sans");
    int fontSize = 12; // tick labels and legend; the other texts are scaled from it
    QColor background = Qt::white;
    QColor text = QColor(0x22, 0x22, 0x22);
    QColor axis = QColor(0x55, 0x55, 0x55);
    QColor grid = QColor(0xE4, 0xE4, 0xE4);
    QColor faint = QColor(0x5E, 0x5E, 0x5E); // subtitle and small print

    QFont tickFont() const { return font(1.0, false); }
    QFont legendFont() const { return font(1.0, false); }
    QFont axisTitleFont() const { return font(1.1, false); }
    QFont titleFont() const { return font(1.5, true); }
    QFont subtitleFont() const { return font(1.1, false); }
    QFont smallPrintFont() const { return font(0.85, false); }

    QFont font(double scale, bool bold) const {
        QFont f(fontFamily);
        f.setPixelSize(qRound(fontSize * scale));
        f.setBold(bold);
        f.setStyleStrategy(QFont::PreferAntialias);
        return f;
    }
};
