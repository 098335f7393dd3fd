// The picture writer: round ticks, a value axis that fits, labels that never
// collide at any size, lines that break at gaps, markers and dashed lines, and
// the files it writes.
#include "plot/plot_axis.h"
#include "plot/plot_writer.h"
#include "storage/tarvo_error.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>

namespace {

constexpr double kGap = std::numeric_limits<double>::quiet_NaN();

// A plot over `years` years from 1995 with one monthly series of the given values.
TPlot CalendarPlot(int years, double peak = 180) {
    TPlot plot;
    plot.title = QStringLiteral("Relativzahlen");
    plot.subtitle = QStringLiteral("Beobachter: Erika Mustermann");
    plot.x = {QStringLiteral("Jahr"), TPlotAxisKind::Calendar, 1995, 1995.0 + years};
    plot.y.title = QStringLiteral("Monatsmittel");
    plot.y.autoMax = true;
    plot.attribution = QStringLiteral("SIDC-Reihen: WDC-SILSO, Royal Observatory of Belgium, Brussels");
    for (const char *label : {"Re", "R13", "SIDC", "SIDC-Mittel"}) {
        TPlotSeries s;
        s.label = QLatin1String(label);
        s.colour = Qt::darkBlue;
        for (int k = 0; k < years * 12; ++k)
            s.points << QPointF(1995 + (k + 0.5) / 12, peak * (0.5 + 0.5 * std::sin(k / 20.0)));
        plot.series << s;
    }
    return plot;
}

bool Apart(const QRectF &a, const QRectF &b) {
    return !a.intersects(b);
}

} // namespace

class TestPlotLayout : public QObject {
    Q_OBJECT
private slots:
    void niceNumbers_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("intervals");
        QTest::addColumn<double>("ceiling");
        QTest::newRow("182.3 in 8") << 182.3 << 8 << 200.0;
        QTest::newRow("244 in 12: steps of 25") << 244.0 << 12 << 250.0;
        QTest::newRow("95 in 5") << 95.0 << 5 << 100.0;
        QTest::newRow("exactly on a step") << 150.0 << 6 << 150.0;
        QTest::newRow("below one") << 0.87 << 4 << 1.0;
        QTest::newRow("nothing") << 0.0 << 5 << 0.0;
    }
    void niceNumbers() {
        QFETCH(double, value);
        QFETCH(int, intervals);
        QFETCH(double, ceiling);
        QCOMPARE(NiceCeiling(value, intervals), ceiling);
    }

    void numericTicks() {
        TAxisTicks t = NumericTicks(0, 200, 8);
        QCOMPARE(t.step, 25.0);
        QCOMPARE(t.values.size(), 9);
        QCOMPARE(t.decimals, 0);
        t = NumericTicks(0.6, 1.3, 7);
        QCOMPARE(t.step, 0.1);
        QCOMPARE(t.decimals, 1);
        QCOMPARE(t.values.first(), 0.6);
        QCOMPARE(TickLabel(t.values.last(), t.decimals), QStringLiteral("1,3"));
        t = NumericTicks(0, 1, 4);
        QCOMPARE(t.step, 0.25);
        QCOMPARE(t.decimals, 2);
        QCOMPARE(TickLabel(1234, 0), QStringLiteral("1234"));
        QCOMPARE(MonthAbbreviation(3), QStringLiteral("Mär"));
        QCOMPARE(MonthLetter(10), QStringLiteral("O"));
    }

    void valueAxisFitsTheLargestValue_data() {
        QTest::addColumn<double>("peak");
        QTest::addColumn<double>("zoom");
        QTest::addColumn<double>("top");
        QTest::newRow("peak 182") << 182.0 << 1.0 << 200.0;
        QTest::newRow("zoom 2 shows the lower half") << 182.0 << 2.0 << 100.0;
        QTest::newRow("small values") << 9.3 << 1.0 << 10.0;
        QTest::newRow("nothing shown: the fallback") << 0.0 << 1.0 << 100.0;
    }
    void valueAxisFitsTheLargestValue() {
        QFETCH(double, peak);
        QFETCH(double, zoom);
        QFETCH(double, top);
        TPlot plot = CalendarPlot(10, peak);
        plot.y.zoom = zoom;
        // A point left of the time axis (the month before) does not count.
        plot.series[0].points.prepend(QPointF(1994.9, 5000));
        const TPlotLayout layout = LayoutPlot(plot, QSizeF(1000, 600));
        QCOMPARE(layout.yMin, 0.0);
        QCOMPARE(layout.yMax, top);
        QCOMPARE(layout.yLabels.first().text, QStringLiteral("0"));
        QCOMPARE(layout.yTicks.last().pixel, layout.plotRect.top());
    }

    // No label touches another, a tick mark, the plot or the titles, at any
    // size from small pictures to large screens and for every span length.
    void labelsNeverCollide_data() {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("years");
        for (QSize size :
             {QSize(500, 320), QSize(1004, 480), QSize(1260, 700), QSize(1900, 860), QSize(2560, 1400)})
            for (int years : {1, 2, 3, 5, 11, 15, 24, 40, 80})
                QTest::addRow("%dx%d, %d years", size.width(), size.height(), years) << size << years;
    }
    void labelsNeverCollide() {
        QFETCH(QSize, size);
        QFETCH(int, years);
        const TPlotLayout L = LayoutPlot(CalendarPlot(years, 244), QSizeF(size));
        const QRectF figure(QPointF(0, 0), QSizeF(size));
        const QRectF &plot = L.plotRect;
        QVERIFY(L.xLabels.size() >= 2);
        QVERIFY(L.yLabels.size() >= 3);
        QVector<QRectF> all;
        for (const TPlotText &t : L.xLabels + L.yLabels)
            all << t.rect;
        for (const TPlotText *t : {&L.title, &L.subtitle, &L.xTitle, &L.attribution})
            all << t->rect;
        for (const TPlotLegendEntry &e : L.legend)
            all << e.text.rect << QRectF(e.sample.p1(), e.sample.p2()).adjusted(0, -1, 0, 1);
        for (int i = 0; i < all.size(); ++i) {
            QVERIFY2(figure.contains(all[i]), qPrintable(QStringLiteral("outside: %1").arg(i)));
            QVERIFY2(Apart(all[i], plot), qPrintable(QStringLiteral("on the plot: %1").arg(i)));
            for (int j = i + 1; j < all.size(); ++j)
                QVERIFY2(Apart(all[i], all[j]), qPrintable(QStringLiteral("%1 meets %2").arg(i).arg(j)));
        }
        // Tick marks stay clear of their labels.
        for (const TPlotText &t : L.yLabels)
            QVERIFY(t.rect.right() < plot.left() - L.tickLength);
        for (const TPlotText &t : L.xLabels)
            QVERIFY(t.rect.top() > plot.bottom() + L.tickLength);
        // The upright axis title stays left of the value labels.
        for (const TPlotText &t : L.yLabels)
            QVERIFY(L.yTitle.rect.right() < t.rect.left());
    }

    void timeAxisLabels_data() {
        QTest::addColumn<int>("years");
        QTest::addColumn<int>("width");
        QTest::addColumn<QStringList>("first");
        QTest::newRow("eleven years: every year") << 11 << 1000 << QStringList{"1995", "1996", "1997"};
        QTest::newRow("one year: month names and the year") << 1 << 1000 << QStringList{"Jan", "Feb", "Mär"};
        QTest::newRow("three years: month letters") << 3 << 800 << QStringList{"J", "F", "M"};
        QTest::newRow("80 years in 700 pixels") << 80 << 700 << QStringList{"2000", "2010", "2020"};
    }
    void timeAxisLabels() {
        QFETCH(int, years);
        QFETCH(int, width);
        QFETCH(QStringList, first);
        TPlot plot = CalendarPlot(years);
        if (years == 80)
            plot.x.min = 1995, plot.x.max = 2075;
        const TPlotLayout L = LayoutPlot(plot, QSizeF(width, 500));
        QStringList texts;
        for (const TPlotText &t : L.xLabels)
            texts << t.text;
        QCOMPARE(texts.mid(0, 3), first);
        if (years == 1) {
            QCOMPARE(texts.size(), 13);
            QVERIFY(texts.contains(QStringLiteral("1995")));
        }
        if (years == 11) {
            // Centred in their year, between the year ticks.
            QCOMPARE(texts.size(), 11);
            const QPointF middle = L.toPixel({1995.5, 0});
            QVERIFY(std::abs(L.xLabels[0].rect.center().x() - middle.x()) < 0.5);
        }
    }

    void linesBreakAtGaps() {
        TPlot plot;
        plot.x = {QString(), TPlotAxisKind::Numeric, 0, 10};
        plot.y.max = 10;
        TPlotSeries s;
        s.points = {{0, 1}, {1, 2}, {2, kGap}, {3, 4}, {4, kGap}, {5, 5}, {6, 6}, {7, 7}, {8, kGap}};
        plot.series << s;
        TPlotSeries hidden;
        hidden.inLegend = false;
        hidden.points = {{12, 3}}; // outside the x range: no dot
        plot.series << hidden;
        const TPlotLayout L = LayoutPlot(plot, QSizeF(600, 400));
        QCOMPARE(L.paths.size(), 2);
        QCOMPARE(L.paths[0].lines.size(), 2);
        QCOMPARE(L.paths[0].lines[0].size(), 2);
        QCOMPARE(L.paths[0].lines[1].size(), 3);
        QCOMPARE(L.paths[0].dots, QVector<QPointF>{L.toPixel({3, 4})});
        QCOMPARE(L.paths[0].lines[1].first(), L.toPixel({5, 5}));
        QVERIFY(L.paths[1].dots.isEmpty());
        QCOMPARE(L.legend.size(), 1);
        // Numeric ticks at round numbers.
        QCOMPARE(L.xLabels.first().text, QStringLiteral("0"));
        QCOMPARE(L.xLabels.last().text, QStringLiteral("10"));
    }

    // Markers put a dot on every point, joined or not; a dashed line leaves
    // gaps between its dashes.
    void markersAndDashes() {
        TPlot plot;
        plot.x = {QString(), TPlotAxisKind::Numeric, 0, 10};
        plot.y.max = 10;
        TPlotSeries marked;
        marked.markers = true;
        marked.points = {{1, 2}, {2, 3}, {3, kGap}, {4, 4}, {12, 5}};
        TPlotSeries level;
        level.colour = Qt::red;
        level.width = 2;
        level.dashed = true;
        level.points = {{0, 8}, {10, 8}};
        plot.series << marked << level;
        const TPlotLayout L = LayoutPlot(plot, QSizeF(600, 400));
        QCOMPARE(L.paths[0].lines.size(), 2);
        QCOMPARE(L.paths[0].dots,
                 (QVector<QPointF>{L.toPixel({1, 2}), L.toPixel({2, 3}), L.toPixel({4, 4})}));
        const QImage image = RenderPlotImage(plot, QSize(600, 400));
        int red = 0, other = 0;
        const int y = qRound(L.toPixel({0, 8}).y());
        for (int x = qRound(L.plotRect.left()) + 10; x < qRound(L.plotRect.right()) - 10; ++x)
            (image.pixelColor(x, y).red() > 200 && image.pixelColor(x, y).green() < 100 ? red : other) += 1;
        QVERIFY2(red > 200 && other > 40,
                 qPrintable(QStringLiteral("%1 red, %2 other").arg(red).arg(other)));
    }

    // The painted picture: series at their points in their colours, layers
    // in order, gaps empty.
    void paintedPicture() {
        TPlot plot;
        plot.x = {QString(), TPlotAxisKind::Numeric, 0, 10};
        plot.y.max = 10;
        TPlotSeries thick{QStringLiteral("dick"), Qt::blue, 6, 1, true, {{0, 5}, {10, 5}}};
        TPlotSeries thin{
            QStringLiteral("dünn"), Qt::red, 2, 0, true, {{0, 5}, {4, 5}, {5, kGap}, {6, 5}, {10, 5}}};
        plot.series << thick << thin;
        const QImage image = RenderPlotImage(plot, QSize(400, 300));
        const TPlotLayout L = LayoutPlot(plot, QSizeF(400, 300));
        // The thick line lies over the thin one (higher layer), though listed first.
        QCOMPARE(L.paths[0].series, 1);
        const QPoint on = L.toPixel({2, 5}).toPoint();
        QCOMPARE(image.pixelColor(on), QColor(Qt::blue));
        // Alone, the thin line shows, except in its gap.
        plot.series.removeFirst();
        const QImage thinOnly = RenderPlotImage(plot, QSize(400, 300));
        QCOMPARE(thinOnly.pixelColor(on), QColor(Qt::red));
        const QColor gap = thinOnly.pixelColor(L.toPixel({5, 5}).toPoint());
        QVERIFY(gap.red() - gap.green() < 30);
        // A scale of 2 gives twice the pixels with the same layout.
        QCOMPARE(RenderPlotImage(plot, QSize(400, 300), 2).size(), QSize(800, 600));
    }

    void files() {
        const TPlot plot = CalendarPlot(5);
        QTemporaryDir dir;
        WritePlotFile(plot, dir.filePath(QStringLiteral("a.png")), QSize(640, 400), 3);
        QCOMPARE(QImage(dir.filePath(QStringLiteral("a.png"))).size(), QSize(1920, 1200));
        WritePlotFile(plot, dir.filePath(QStringLiteral("a.PDF")), QSize(640, 400));
        QFile pdf(dir.filePath(QStringLiteral("a.PDF")));
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF-"));
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") + bytes.count("/Type /Page "),
                 1);
        // A folder that does not exist: the error, and nothing left behind.
        const QString bad = dir.filePath(QStringLiteral("nix/a.png"));
        QVERIFY_THROWS_EXCEPTION(TarvoError, WritePlotPng(plot, bad, QSize(100, 100)));
        QVERIFY(!QFile::exists(bad));
        QCOMPARE(ImageFileName(QStringLiteral("x.jpg"), true), QStringLiteral("x.jpg.pdf"));
        QCOMPARE(ImageFileName(QStringLiteral("x.PNG"), true), QStringLiteral("x.PNG"));
    }
};

QTEST_MAIN(TestPlotLayout)
#include "test_plot_layout.moc"
