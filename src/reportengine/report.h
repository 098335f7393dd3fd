#pragma once

#include "report_band.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QStringList>
#include <functional>
#include <map>

class QPainter;
class QPaintDevice;

// Paper and margins in millimetres. The heavy frame is drawn around the area
// inside the margins on every page.
struct TReportPage {
    double width = 210; // A4 portrait
    double height = 297;
    double top = 10;
    double bottom = 15;
    double left = 20;
    double right = 10;
    double frameWidth = 0; // line width of the frame in mm, 0 = no frame
    // "Arial" comes first: the forms are laid out for it; fontconfig maps it
    // to the metric-compatible Liberation Sans.
    QStringList fontFamilies{QStringLiteral("Arial"), QStringLiteral("Liberation Sans")};

    double innerWidth() const { return width - left - right; }
    double innerHeight() const { return height - top - bottom; }
};

// A banded report: a title and a column header band, one detail band that is
// printed as long as the need-data callback asks for another row, and a
// summary band. Positions are in millimetres, font sizes in points, so the
// same report paints onto a printer, a PDF file or an image.
class TReport {
public:
    TReport() = default;
    TReport(const TReport &) = delete;
    TReport &operator=(const TReport &) = delete;

    TReportPage page;
    double bandWidth = 0; // 0 = the width inside the margins
    TReportBand title;
    TReportBand columnHeader;
    TReportBand detail;
    TReportBand summary;
    std::function<void()> beforePrint; // report start, before every run
    std::function<bool()> needData;    // true = print another detail row

    // One run of the report with the painter's origin at the paper's top left
    // corner. When a band does not fit, `newPage` is asked for a fresh sheet;
    // without it (or when it fails) the rest of the report is left out.
    // Returns the number of pages painted.
    int paint(QPainter &painter, const std::function<bool()> &newPage = {});

    // Paints onto a device whose origin is the paper's corner (a printer set
    // to full page, a PDF writer without margins, an image). Paged devices
    // get further pages when needed.
    int print(QPaintDevice *device);

    // One run of the report on a single sheet, exactly as painting goes (the
    // report's and the bands' before-print handlers, the detail rows the
    // need-data callback asks for, every field's print callback), but without
    // painting: `field` gets each non-empty text. For checks and fuzzing of
    // what a form prints.
    void runTexts(const std::function<void(const TReportBand &band, const TReportText &field,
                                           const QString &text)> &field);

    // The page as an image of the paper's size at `dpi`, white background.
    QImage toImage(double dpi);

    // Writes the report as a PDF file. The file is replaced only when the
    // whole document was written; throws TarvoError otherwise.
    void writePdf(const QString &fileName, const QString &title = QString());

    // Detail rows painted by the last run.
    int lastDetailRows() const { return lastDetailRows_; }

private:
    double bandWidthMm() const { return bandWidth > 0 ? bandWidth : page.innerWidth(); }
    void paintBand(QPainter &painter, const TReportBand &band, double topMm);
    void paintFrame(QPainter &painter);
    // The run common to painting and runTexts: `showBand` is called for every
    // band at its top position (mm), `startSheet` at the start of every sheet.
    int run(const std::function<void(const TReportBand &, double)> &showBand,
            const std::function<void()> &startSheet, const std::function<bool()> &newPage);
    // Calls `field` with the text of every field of the band that prints one.
    static void forEachText(const TReportBand &band,
                            const std::function<void(const TReportText &, const QString &)> &field);
    // The fields' font of each point size, with its metrics on the device
    // painted on: made once per paint, not once per field.
    struct FieldFont {
        QFont font;
        QFontMetricsF metrics;
    };
    const FieldFont &fieldFont(double pointSize, QPaintDevice *device);
    std::map<double, FieldFont> fieldFonts_;
    double pxPerMmX_ = 1;
    double pxPerMmY_ = 1;
    int lastDetailRows_ = 0;
};
