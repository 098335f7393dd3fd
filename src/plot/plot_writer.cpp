#include "plot_writer.h"

#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <cmath>

namespace {

// One layout pixel is 1/96 inch on paper.
constexpr double kLayoutDpi = 96;

void DrawText(QPainter &painter, const TPlotText &text) {
    if (!text.text.isEmpty())
        painter.drawText(text.rect, text.flags, text.text);
}

// Grid, frame and ticks are upright or level lines one layout pixel wide,
// filled as rectangles on whole device pixels: sharp, and far cheaper than
// stroking them.
class Rules {
public:
    Rules(QPainter &painter, const QColor &colour)
        : painter_(painter), colour_(colour), scale_(painter.deviceTransform().m11()) {}
    void level(double y, double x1, double x2) const {
        const double top = snap(y - 0.5);
        painter_.fillRect(QRectF(QPointF(x1, top), QPointF(x2, top + 1)), colour_);
    }
    void upright(double x, double y1, double y2) const {
        const double left = snap(x - 0.5);
        painter_.fillRect(QRectF(QPointF(left, y1), QPointF(left + 1, y2)), colour_);
    }

private:
    // To the device pixel grid where there is one (screens, images).
    double snap(double v) const { return scale_ > 4 ? v : std::round(v * scale_) / scale_; }
    QPainter &painter_;
    QColor colour_;
    double scale_;
};

void PaintGrid(QPainter &painter, const TPlotLayout &L, const TPlotStyle &style) {
    const QRectF &r = L.plotRect;
    const Rules rules(painter, style.grid);
    for (const TPlotTick &t : L.yTicks)
        if (t.pixel > r.top() + 0.5 && t.pixel < r.bottom() - 0.5)
            rules.level(t.pixel, r.left(), r.right());
    for (const TPlotTick &t : L.xTicks)
        if (t.major && t.pixel > r.left() + 0.5 && t.pixel < r.right() - 0.5)
            rules.upright(t.pixel, r.top(), r.bottom());
}

// The line moved sideways by `offset` pixels, each point along the normal of
// the line's direction there.
QPolygonF Offset(const QPolygonF &line, double offset) {
    QPolygonF moved(line.size());
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QPointF d = line[std::min(i + 1, line.size() - 1)] - line[std::max<qsizetype>(i - 1, 0)];
        const double length = std::hypot(d.x(), d.y());
        moved[i] = length > 0 ? line[i] + QPointF(-d.y(), d.x()) * (offset / length) : line[i];
    }
    return moved;
}

// On an image at one device pixel per layout pixel Qt strokes a line wider
// than a pixel many times slower than a one-pixel line; there a wide line is
// laid from one-pixel strands side by side. Scaled devices (PDF, images at 2x
// and 3x) get the true pen.
bool StrandsForWideLines(const QPainter &painter) {
    const int type = painter.device()->devType();
    return (type == QInternal::Image || type == QInternal::Pixmap) &&
           painter.deviceTransform().type() <= QTransform::TxTranslate;
}

void PaintSeries(QPainter &painter, const TPlot &plot, const TPlotLayout &L) {
    painter.save();
    // Lines end at the plot's edge (the clip also makes Qt's strokes faster).
    painter.setClipRect(L.plotRect);
    const bool strands = StrandsForWideLines(painter);
    for (const TPlotSeriesPath &path : L.paths) {
        const TPlotSeries &s = plot.series[path.series];
        painter.setBrush(Qt::NoBrush);
        if (strands && s.width > 1 && !s.dashed) {
            painter.setPen(QPen(s.colour, 1));
            const int count = static_cast<int>(std::ceil(s.width - 1)) + 1;
            const double spacing = (s.width - 1) / (count - 1);
            for (const QPolygonF &line : path.lines)
                for (int strand = 0; strand < count; ++strand)
                    painter.drawPolyline(Offset(line, (strand - (count - 1) / 2.0) * spacing));
        } else {
            painter.setPen(QPen(s.colour, s.width, s.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap,
                                Qt::RoundJoin));
            for (const QPolygonF &line : path.lines)
                painter.drawPolyline(line);
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(s.colour);
        const double radius = L.dotRadius(s.width);
        for (const QPointF &dot : path.dots)
            painter.drawEllipse(dot, radius, radius);
    }
    painter.restore();
}

void PaintAxes(QPainter &painter, const TPlotLayout &L, const TPlotStyle &style) {
    const QRectF &r = L.plotRect;
    const Rules rules(painter, style.axis);
    rules.level(r.top(), r.left() - 0.5, r.right() + 0.5);
    rules.level(r.bottom(), r.left() - 0.5, r.right() + 0.5);
    rules.upright(r.left(), r.top() - 0.5, r.bottom() + 0.5);
    rules.upright(r.right(), r.top() - 0.5, r.bottom() + 0.5);
    for (const TPlotTick &t : L.xTicks)
        rules.upright(t.pixel, r.bottom(), r.bottom() + (t.major ? L.tickLength : L.tickLength * 0.6));
    for (const TPlotTick &t : L.yTicks)
        rules.level(t.pixel, r.left() - L.tickLength, r.left());
    painter.setPen(style.text);
    painter.setFont(style.tickFont());
    for (const TPlotText &t : L.xLabels)
        DrawText(painter, t);
    for (const TPlotText &t : L.yLabels)
        DrawText(painter, t);
    painter.setFont(style.axisTitleFont());
    DrawText(painter, L.xTitle);
    if (!L.yTitle.text.isEmpty()) {
        painter.save();
        const QRectF &box = L.yTitle.rect;
        painter.translate(box.center());
        painter.rotate(-90);
        painter.drawText(QRectF(-box.height() / 2, -box.width() / 2, box.height(), box.width()),
                         Qt::AlignCenter, L.yTitle.text);
        painter.restore();
    }
}

void PaintTitlesAndLegend(QPainter &painter, const TPlot &plot, const TPlotLayout &L,
                          const TPlotStyle &style) {
    painter.setPen(style.text);
    painter.setFont(style.titleFont());
    DrawText(painter, L.title);
    painter.setPen(style.faint);
    painter.setFont(style.subtitleFont());
    DrawText(painter, L.subtitle);
    painter.setFont(style.legendFont());
    for (const TPlotLegendEntry &e : L.legend) {
        const TPlotSeries &s = plot.series[e.series];
        painter.setPen(
            QPen(s.colour, std::max(s.width, 1.5), s.dashed ? Qt::DashLine : Qt::SolidLine, Qt::FlatCap));
        painter.drawLine(e.sample);
        painter.setPen(style.text);
        DrawText(painter, e.text);
    }
    painter.setPen(style.faint);
    painter.setFont(style.smallPrintFont());
    DrawText(painter, L.attribution);
}

void WriteOrThrow(const QString &fileName, const QByteArray &bytes) {
    if (bytes.isEmpty())
        throw TarvoError::CannotWrite(fileName);
    WriteFileAtomically(fileName, bytes);
}

} // namespace

void PaintPlot(QPainter &painter, const TPlot &plot, const TPlotLayout &layout, const TPlotStyle &style) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.fillRect(QRectF(QPointF(0, 0), layout.size), style.background);
    PaintGrid(painter, layout, style);
    PaintSeries(painter, plot, layout);
    PaintAxes(painter, layout, style);
    PaintTitlesAndLegend(painter, plot, layout, style);
    painter.restore();
}

QImage RenderPlotImage(const TPlot &plot, QSize size, double scale, const TPlotStyle &style) {
    QImage image(size * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    const int dotsPerMeter = qRound(kLayoutDpi * scale / 0.0254);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    QPainter painter(&image);
    PaintPlot(painter, plot, LayoutPlot(plot, QSizeF(size), style), style);
    return image;
}

QPixmap RenderPlotPixmap(const TPlot &plot, const TPlotLayout &layout, qreal devicePixelRatio,
                         const TPlotStyle &style) {
    QPixmap pixmap((layout.size * devicePixelRatio).toSize());
    pixmap.setDevicePixelRatio(devicePixelRatio);
    QPainter painter(&pixmap);
    PaintPlot(painter, plot, layout, style);
    return pixmap;
}

QByteArray PlotPngBytes(const TPlot &plot, QSize size, double scale, const TPlotStyle &style) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!RenderPlotImage(plot, size, scale, style).save(&buffer, "PNG"))
        return QByteArray();
    return bytes;
}

QByteArray PlotPdfBytes(const TPlot &plot, const TPlotStyle &style) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(1200);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                                     QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    writer.setTitle(plot.title);
    writer.setCreator(QStringLiteral("Tarvo"));
    QPainter painter(&writer);
    // Laid out as on a screen of 96 dpi, then scaled to the page.
    const double scale = writer.resolution() / kLayoutDpi;
    const QSizeF size(writer.width() / scale, writer.height() / scale);
    painter.scale(scale, scale);
    PaintPlot(painter, plot, LayoutPlot(plot, size, style), style);
    painter.end();
    return bytes;
}

void WritePlotPng(const TPlot &plot, const QString &fileName, QSize size, double scale,
                  const TPlotStyle &style) {
    WriteOrThrow(fileName, PlotPngBytes(plot, size, scale, style));
}

void WritePlotPdf(const TPlot &plot, const QString &fileName, const TPlotStyle &style) {
    WriteOrThrow(fileName, PlotPdfBytes(plot, style));
}

bool IsPdfFileName(const QString &fileName) {
    return fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive);
}

void WritePlotFile(const TPlot &plot, const QString &fileName, QSize pngSize, double pngScale,
                   const TPlotStyle &style) {
    if (IsPdfFileName(fileName))
        WritePlotPdf(plot, fileName, style);
    else
        WritePlotPng(plot, fileName, pngSize, pngScale, style);
}

QString ImageFileName(const QString &chosen, bool pdf) {
    if (chosen.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) || IsPdfFileName(chosen))
        return chosen;
    return chosen + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".png"));
}
