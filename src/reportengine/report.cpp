#include "report.h"

#include "storage/tarvo_error.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include "storage/file_io.h"

namespace {

constexpr double kMmPerInch = 25.4;
// Guards against a need-data callback that never says "no more rows".
constexpr int kMaxDetailRows = 100000;

} // namespace

void TReport::paintFrame(QPainter &painter) {
    if (page.frameWidth <= 0)
        return;
    QPen pen(Qt::black, page.frameWidth * pxPerMmX_);
    pen.setJoinStyle(Qt::MiterJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(page.left * pxPerMmX_, page.top * pxPerMmY_, page.innerWidth() * pxPerMmX_,
                            page.innerHeight() * pxPerMmY_));
}

void TReport::paintBand(QPainter &painter, const TReportBand &band, double topMm) {
    const double left = page.left;
    auto drawRule = [&](double x1, double y1, double x2, double y2, double width) {
        QPen pen(Qt::black, width * pxPerMmX_);
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        painter.drawLine(QPointF((left + x1) * pxPerMmX_, (topMm + y1) * pxPerMmY_),
                         QPointF((left + x2) * pxPerMmX_, (topMm + y2) * pxPerMmY_));
    };
    if (band.topRule > 0)
        drawRule(0, 0, bandWidthMm(), 0, band.topRule);
    if (band.bottomRule > 0)
        drawRule(0, band.height, bandWidthMm(), band.height, band.bottomRule);
    for (const TReportRule &r : band.rules())
        drawRule(r.x1, r.y1, r.x2, r.y2, r.width);

    painter.setPen(Qt::black);
    forEachText(band, [&](const TReportText &t, const QString &text) {
        const FieldFont &field = fieldFont(t.pointSize, painter.device());
        painter.setFont(field.font);
        const QFontMetricsF &metrics = field.metrics;
        const double natural = metrics.horizontalAdvance(text);
        const double room = t.maxWidth * pxPerMmX_;
        const double squeeze = room > 0 && natural > room ? room / natural : 1.0;
        const double width = natural * squeeze;
        double x = (left + t.x) * pxPerMmX_;
        if (t.align == TReportAlign::Right)
            x -= width;
        else if (t.align == TReportAlign::Center)
            x -= width / 2;
        const QPointF baseline(x, (topMm + t.y) * pxPerMmY_ + metrics.ascent());
        if (squeeze == 1.0) {
            painter.drawText(baseline, text);
            return;
        }
        painter.save();
        painter.translate(baseline);
        painter.scale(squeeze, 1.0);
        painter.drawText(QPointF(0, 0), text);
        painter.restore();
    });
}

void TReport::forEachText(const TReportBand &band,
                          const std::function<void(const TReportText &, const QString &)> &field) {
    for (const TReportText &t : band.texts()) {
        const QString text = t.print ? t.print() : QString();
        if (!text.isEmpty())
            field(t, text);
    }
}

const TReport::FieldFont &TReport::fieldFont(double pointSize, QPaintDevice *device) {
    auto it = fieldFonts_.find(pointSize);
    if (it == fieldFonts_.end()) {
        QFont font;
        font.setFamilies(page.fontFamilies);
        font.setStyleHint(QFont::SansSerif);
        font.setHintingPreference(QFont::PreferNoHinting);
        font.setPointSizeF(pointSize);
        it = fieldFonts_.emplace(pointSize, FieldFont{font, QFontMetricsF(font, device)}).first;
    }
    return it->second;
}

int TReport::paint(QPainter &painter, const std::function<bool()> &newPage) {
    fieldFonts_.clear(); // another device, or other font families
    pxPerMmX_ = painter.device()->logicalDpiX() / kMmPerInch;
    pxPerMmY_ = painter.device()->logicalDpiY() / kMmPerInch;
    return run([&](const TReportBand &band, double topMm) { paintBand(painter, band, topMm); },
               [&] { paintFrame(painter); }, newPage);
}

void TReport::runTexts(const std::function<void(const TReportBand &band, const TReportText &field,
                                                const QString &text)> &field) {
    run(
        [&](const TReportBand &band, double) {
            forEachText(band, [&](const TReportText &t, const QString &text) { field(band, t, text); });
        },
        [] {}, {});
}

int TReport::run(const std::function<void(const TReportBand &, double)> &showBand,
                 const std::function<void()> &startSheet, const std::function<bool()> &newPage) {
    lastDetailRows_ = 0;
    if (beforePrint)
        beforePrint();

    int pages = 1;
    const double bottomLimit = page.height - page.bottom;
    double y = page.top;
    startSheet();
    // Starts another sheet with frame and column header; false = no room left.
    auto breakPage = [&]() {
        if (!newPage || !newPage())
            return false;
        ++pages;
        y = page.top;
        startSheet();
        if (columnHeader.beforePrint)
            columnHeader.beforePrint();
        showBand(columnHeader, y);
        y += columnHeader.height;
        return true;
    };

    for (TReportBand *band : {&title, &columnHeader}) {
        if (band->beforePrint)
            band->beforePrint();
        showBand(*band, y);
        y += band->height;
    }
    bool room = true;
    while (needData && lastDetailRows_ < kMaxDetailRows && needData()) {
        if (y + detail.height > bottomLimit + 1e-9 && !breakPage()) {
            room = false;
            break;
        }
        if (detail.beforePrint)
            detail.beforePrint();
        showBand(detail, y);
        y += detail.height;
        ++lastDetailRows_;
    }
    if (room && (y + summary.height <= bottomLimit + 1e-9 || breakPage())) {
        if (summary.beforePrint)
            summary.beforePrint();
        showBand(summary, y);
    }
    return pages;
}

int TReport::print(QPaintDevice *device) {
    QPainter painter;
    if (!painter.begin(device))
        throw TarvoError(QStringLiteral("Die Seite kann nicht ausgegeben werden"));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    auto *paged = dynamic_cast<QPagedPaintDevice *>(device);
    const int pages = paint(painter, paged ? std::function<bool()>([paged] { return paged->newPage(); })
                                           : std::function<bool()>());
    painter.end();
    return pages;
}

QImage TReport::toImage(double dpi) {
    const double pxPerMm = dpi / kMmPerInch;
    QImage image(qRound(page.width * pxPerMm), qRound(page.height * pxPerMm), QImage::Format_RGB32);
    const int dotsPerMeter = qRound(dpi / kMmPerInch * 1000);
    image.setDotsPerMeterX(dotsPerMeter);
    image.setDotsPerMeterY(dotsPerMeter);
    image.fill(Qt::white);
    print(&image);
    return image;
}

void TReport::writePdf(const QString &fileName, const QString &title) {
    QBuffer file;
    file.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QSizeF(page.width, page.height), QPageSize::Millimeter, QString(),
                                     QPageSize::FuzzyMatch));
        writer.setPageOrientation(page.width > page.height ? QPageLayout::Landscape : QPageLayout::Portrait);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
        writer.setResolution(1200);
        writer.setCreator(QStringLiteral("Tarvo"));
        writer.setTitle(title);
        print(&writer);
    }
    WriteFileAtomically(fileName, file.data());
}
