#include "eval_painter.h"

#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

QColor EvalBackground() {
    return Qt::white;
}

namespace {

void DrawLines(QPainter &painter, const QVector<TEvalLine> &lines) {
    for (const TEvalLine &l : lines)
        painter.drawLine(l.x1, l.y1, l.x2, l.y2);
}

void DrawTexts(QPainter &painter, const QVector<TEvalText> &texts) {
    const int ascent = painter.fontMetrics().ascent();
    for (const TEvalText &t : texts)
        painter.drawText(t.x, t.y + ascent, t.text);
}

} // namespace

void PaintTimeAxis(QPainter &painter, const TEvalGeometry &geometry) {
    painter.setPen(QPen(Qt::black, 1));
    DrawLines(painter, geometry.ticks);
    DrawTexts(painter, geometry.yearTexts);
}

void PaintValueAxis(QPainter &painter, QSize box, int factor) {
    painter.setPen(QPen(Qt::black, 1));
    DrawLines(painter, ValueAxisTicks(box.width(), box.height(), factor));
    DrawTexts(painter, ValueAxisTexts(box.width(), box.height(), factor, painter.fontMetrics().height()));
}

void PaintCurves(QPainter &painter, const TEvalGeometry &geometry, const TCurveSwitches &shown,
                 const TCurveColours &colours) {
    for (int c = 0; c < kCurveCount; ++c) {
        if (!shown[c] || geometry.points[c].isEmpty())
            continue;
        painter.setPen(QPen(colours[c], 1));
        painter.drawPolyline(geometry.points[c].constData(), geometry.points[c].size());
    }
}

void PaintPicture(QPainter &painter, const TEvalPicture &p) {
    const QSize total = p.size();
    painter.fillRect(QRect(QPoint(0, 0), total), EvalBackground());
    painter.setFont(p.font);
    painter.save();
    painter.setClipRect(0, 0, p.valueAxisWidth, p.curveBox.height());
    PaintValueAxis(painter, QSize(p.valueAxisWidth, p.curveBox.height()), p.factor);
    painter.restore();
    if (!p.geometry)
        return;
    painter.save();
    painter.translate(p.valueAxisWidth, 0);
    painter.setClipRect(0, 0, p.curveBox.width(), p.curveBox.height());
    PaintCurves(painter, *p.geometry, p.shown, p.colours);
    painter.restore();
    painter.save();
    painter.translate(0, p.curveBox.height());
    painter.setClipRect(0, 0, total.width(), p.timeAxisHeight);
    PaintTimeAxis(painter, *p.geometry);
    painter.restore();
}

QImage RenderPicture(const TEvalPicture &picture) {
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(EvalBackground());
    QPainter painter(&image);
    PaintPicture(painter, picture);
    return image;
}

QString ImageFileName(const QString &chosen, bool pdf) {
    if (chosen.endsWith(QLatin1String(".png"), Qt::CaseInsensitive) ||
        chosen.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        return chosen;
    return chosen + (pdf ? QStringLiteral(".pdf") : QStringLiteral(".png"));
}

void SavePicture(const TEvalPicture &picture, const QString &fileName) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)) {
        // One pixel = one point, so the page has exactly the picture's size.
        QPdfWriter writer(&buffer);
        writer.setResolution(72);
        writer.setPageLayout(QPageLayout(QPageSize(QSizeF(picture.size()), QPageSize::Point),
                                         QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(QStringLiteral("Graphische Auswertung"));
        writer.setCreator(QStringLiteral("Tarvo"));
        QPainter painter(&writer);
        PaintPicture(painter, picture);
        painter.end();
    } else {
        if (!RenderPicture(picture).save(&buffer, "PNG"))
            throw TarvoError::CannotWrite(fileName);
    }
    buffer.close();
    if (!WriteFileAtomically(fileName, bytes))
        throw TarvoError::CannotWrite(fileName);
}
