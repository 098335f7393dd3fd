#pragma once

#include "plot.h"
#include "plot_layout.h"

#include <QByteArray>
#include <QImage>
#include <QPixmap>
#include <QSize>

class QPainter;

// The picture writer: draws a plot on any paint device (widget, image, PDF)
// and writes it as a PNG or PDF file.
//
//     TPlot plot;                 // title, axes, series (plot.h)
//     const TPlotLayout layout = LayoutPlot(plot, QSizeF(800, 500));
//     PaintPlot(painter, plot, layout);                          // on a widget
//     WritePlotPng(plot, "k.png", QSize(800, 500), 2);          // 1600 x 1000 pixels
//     WritePlotPdf(plot, "k.pdf");                              // A4 landscape, vector

// Draws the laid-out plot; the painter's coordinates are layout pixels.
void PaintPlot(QPainter &painter, const TPlot &plot, const TPlotLayout &layout,
               const TPlotStyle &style = TPlotStyle());

// The plot laid out on `size` layout pixels, rendered at `scale` device
// pixels per layout pixel (the image is size * scale pixels large).
QImage RenderPlotImage(const TPlot &plot, QSize size, double scale = 1,
                       const TPlotStyle &style = TPlotStyle());

// The laid-out plot painted once into a pixmap for a window (at the
// screen's device pixel ratio), so that repaints only copy it.
QPixmap RenderPlotPixmap(const TPlot &plot, const TPlotLayout &layout, qreal devicePixelRatio,
                         const TPlotStyle &style = TPlotStyle());

QByteArray PlotPngBytes(const TPlot &plot, QSize size, double scale = 1,
                        const TPlotStyle &style = TPlotStyle());
// One A4 landscape page with the plot within 10 mm margins, in vector form.
QByteArray PlotPdfBytes(const TPlot &plot, const TPlotStyle &style = TPlotStyle());

// The files, written atomically; throw TarvoError ("In %s kann nicht
// geschrieben werden") when that fails, leaving an existing file as it was.
void WritePlotPng(const TPlot &plot, const QString &fileName, QSize size, double scale = 1,
                  const TPlotStyle &style = TPlotStyle());
void WritePlotPdf(const TPlot &plot, const QString &fileName, const TPlotStyle &style = TPlotStyle());

// A PDF when the name ends in ".pdf" (any case), else a PNG.
void WritePlotFile(const TPlot &plot, const QString &fileName, QSize pngSize, double pngScale = 1,
                   const TPlotStyle &style = TPlotStyle());

// Whether a file name asks for a PDF (ends in ".pdf", any case).
bool IsPdfFileName(const QString &fileName);
// The file name a picture is saved under: `chosen` as it is when it ends in
// ".png" or ".pdf", else with ".pdf" (when `pdf`) or ".png" added.
QString ImageFileName(const QString &chosen, bool pdf);
