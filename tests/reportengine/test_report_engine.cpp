#include "../common/file_size_limit.h"
#include "../common/modal.h"
#include "reportengine/report.h"
#include "reportengine/report_preview_dlg.h"
#include "storage/tarvo_error.h"

#include <QFile>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

namespace {

// Leftmost and rightmost dark pixel (mm) on the scan line at yMm.
QPair<double, double> DarkExtent(const QImage &image, double yMm, double fromMm, double toMm) {
    const double pxPerMm = image.dotsPerMeterX() / 1000.0;
    double first = -1, last = -1;
    for (int y = qRound(yMm * pxPerMm) - 3; y <= qRound(yMm * pxPerMm) + 3; ++y)
        for (int x = qRound(fromMm * pxPerMm); x <= qRound(toMm * pxPerMm); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                const double mm = (x + 0.5) / pxPerMm;
                first = first < 0 ? mm : std::min(first, mm);
                last = std::max(last, mm);
            }
    return {first, last};
}

QString PdfText(const QString &pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// A report of `rows` detail rows, 10 mm each, numbered in the detail band.
struct CountingReport {
    TReport report;
    int row = 0;
    int rows = 0;
    int starts = 0;
    explicit CountingReport(int rowCount) : rows(rowCount) {
        report.page.frameWidth = 0.75;
        report.title.height = 20;
        report.title.addText(0, 0, 14, TReportAlign::Left, QStringLiteral("Titelzeile"));
        report.columnHeader.height = 10;
        report.columnHeader.bottomRule = 0.75;
        report.columnHeader.addText(0, 1, 10, TReportAlign::Left, QStringLiteral("Kopf"));
        report.detail.height = 10;
        report.detail.bottomRule = 0.25;
        report.detail.addField(0, 1, 10, TReportAlign::Left,
                               [this] { return QStringLiteral("Zeile %1").arg(row); });
        report.summary.height = 10;
        report.summary.addText(0, 1, 10, TReportAlign::Left, QStringLiteral("Ende"));
        report.beforePrint = [this] {
            row = 0;
            ++starts;
        };
        report.needData = [this] { return ++row <= rows; };
    }
};

} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT

private slots:
    void textAlignment_data() {
        QTest::addColumn<int>("align");
        QTest::addColumn<double>("x");
        QTest::addColumn<double>("left"); // expected ink extent, mm from the paper's edge; -1 = not checked
        QTest::addColumn<double>("right");
        // The ink of "H" starts and ends one side bearing (0.08 em) inside the pen.
        const double bearing = 0.08 * 20 * 25.4 / 72;
        QTest::newRow("left edge") << int(TReportAlign::Left) << 40.0 << 60.0 + bearing << -1.0;
        QTest::newRow("right edge") << int(TReportAlign::Right) << 40.0 << -1.0 << 60.0 - bearing;
        QTest::newRow("centred") << int(TReportAlign::Center) << 40.0 << -2.0 << -2.0;
    }
    void textAlignment() {
        QFETCH(int, align);
        QFETCH(double, x);
        QFETCH(double, left);
        QFETCH(double, right);
        TReport report;
        report.title.height = 20;
        report.title.addText(x, 5, 20, static_cast<TReportAlign>(align), QStringLiteral("HHHH"));
        const QImage image = report.toImage(300);
        const auto [first, last] = DarkExtent(image, 10 + 5 + 4, 20, 180);
        QVERIFY(first > 0);
        if (left > 0)
            QVERIFY2(std::abs(first - left) <= 0.3, qPrintable(QString::number(first)));
        if (right > 0)
            QVERIFY2(std::abs(last - right) <= 0.3, qPrintable(QString::number(last)));
        if (left == -2.0)
            QVERIFY2(std::abs((first + last) / 2 - 60) <= 0.3,
                     qPrintable(QString::number((first + last) / 2)));
    }

    void textTopIsTheGivenY() {
        // A capital's top lies a little below the line's top, never above it.
        TReport report;
        report.title.height = 30;
        report.title.addText(10, 10, 20, TReportAlign::Left, QStringLiteral("H"));
        const QImage image = report.toImage(300);
        const double pxPerMm = image.dotsPerMeterY() / 1000.0;
        int top = -1;
        for (int y = 0; y < image.height() && top < 0; ++y)
            for (int x = qRound(30 * pxPerMm); x < qRound(40 * pxPerMm); ++x)
                if (qGray(image.pixel(x, y)) < 128) {
                    top = y;
                    break;
                }
        const double topMm = top / pxPerMm;
        // 20 pt Liberation Sans: ascent 0.905 em, cap height 0.716 em.
        QVERIFY2(std::abs(topMm - (20 + (0.905 - 0.716) * 20 * 25.4 / 72)) <= 0.3,
                 qPrintable(QString::number(topMm)));
    }

    void framesAndBandRules() {
        CountingReport counting(3);
        const QImage image = counting.report.toImage(300);
        // frame at the margins, header foot at 10 + 20 + 10 mm, row feet every 10 mm
        const auto [frameLeft, frameLeftEnd] = DarkExtent(image, 150, 18, 22);
        QVERIFY(std::abs((frameLeft + frameLeftEnd) / 2 - 20) <= 0.3);
        const double pxPerMm = image.dotsPerMeterX() / 1000.0;
        auto darkAt = [&](double xMm, double yMm) {
            return qGray(image.pixel(qRound(xMm * pxPerMm), qRound(yMm * pxPerMm))) < 128;
        };
        QVERIFY(darkAt(100, 40));
        QVERIFY(darkAt(100, 50));
        QVERIFY(darkAt(100, 70));
        QVERIFY(!darkAt(100, 80)); // no fourth row
        QVERIFY(darkAt(200, 150)); // right frame edge at 210 - 10
        QVERIFY(darkAt(100, 282)); // bottom frame edge at 297 - 15
        QVERIFY(!darkAt(100, 45));
    }

    void detailRepeatsAndRestarts() {
        QTemporaryDir dir;
        CountingReport counting(4);
        const QString file = dir.filePath(QStringLiteral("r.pdf"));
        counting.report.toImage(50);
        counting.report.writePdf(file);
        QCOMPARE(counting.starts, 2);
        QCOMPARE(counting.report.lastDetailRows(), 4);
        const QString text = PdfText(file);
        for (int r = 1; r <= 4; ++r)
            QVERIFY(text.contains(QStringLiteral("Zeile %1").arg(r)));
        QVERIFY(!text.contains(QStringLiteral("Zeile 5")));
        QVERIFY(text.indexOf(QStringLiteral("Zeile 4")) < text.indexOf(QStringLiteral("Ende")));
    }

    void longReportBreaksPages() {
        QTemporaryDir dir;
        CountingReport counting(40); // 40 rows of 10 mm do not fit on one page
        const QString file = dir.filePath(QStringLiteral("long.pdf"));
        counting.report.writePdf(file);
        const QString text = PdfText(file);
        QCOMPARE(text.count(QStringLiteral("Kopf")), 2); // header again on the second page
        QVERIFY(text.contains(QStringLiteral("Zeile 40")));
        QVERIFY(text.contains(QStringLiteral("Ende")));
    }

    // A run without painting goes through the same bands, rows and fields as
    // painting on one sheet, in the same order.
    void textRunFollowsThePrintedPage() {
        CountingReport counting(3);
        QStringList texts;
        counting.report.runTexts([&](const TReportBand &band, const TReportText &, const QString &text) {
            texts << (&band == &counting.report.detail ? QStringLiteral("detail: ") : QString()) + text;
        });
        QCOMPARE(texts, (QStringList{"Titelzeile", "Kopf", "detail: Zeile 1", "detail: Zeile 2", "detail: Zeile 3",
                                     "Ende"}));
        QCOMPARE(counting.starts, 1);
        QCOMPARE(counting.report.lastDetailRows(), 3);

        CountingReport endless(1000000); // as on an unpaged device: what fits on one sheet
        int rows = 0;
        endless.report.runTexts([&](const TReportBand &band, const TReportText &, const QString &) {
            rows += &band == &endless.report.detail ? 1 : 0;
        });
        endless.report.toImage(30);
        QCOMPARE(rows, endless.report.lastDetailRows());
    }

    void unpagedDeviceStopsWhenFull() {
        CountingReport counting(1000000); // need-data that goes on and on
        counting.report.toImage(30);
        QVERIFY(counting.report.lastDetailRows() < 30);
    }

    void pdfReplacesFileAtomically() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("f.pdf"));
        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("alt");
        old.close();
        CountingReport counting(1);
        counting.report.writePdf(file);
        QFile now(file);
        QVERIFY(now.open(QIODevice::ReadOnly));
        QVERIFY(now.readAll().startsWith("%PDF"));
    }

    void pdfWriteFailureThrows() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("fehlt/f.pdf"));
        CountingReport counting(1);
        try {
            counting.report.writePdf(file);
            QFAIL("no error");
        } catch (const TarvoError &e) {
            QCOMPARE(e.message(), QStringLiteral("In %1 kann nicht geschrieben werden").arg(file));
        }
        QVERIFY(!QFile::exists(file));
    }

    // Printing from the preview into a PDF file goes through the atomic
    // writer: a failed write keeps the previous file and is shown.
    void printToFileIsAtomic() {
        std::signal(SIGXFSZ, SIG_IGN);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("druck.pdf"));
        CountingReport counting(40);
        counting.report.writePdf(file);
        QFile old(file);
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray before = old.readAll();
        old.close();

        TReportPreviewDlg preview(counting.report, file);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(file);
        MessageBoxCatcher messages;
        {
            FileSizeLimit limit(before.size() / 2);
            emit preview.paintRequested(&printer);
        }
        QCOMPARE(messages.texts, QStringList{QStringLiteral("In %1 kann nicht geschrieben werden").arg(file)});
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), before);
        old.close();

        counting.row = 0;
        emit preview.paintRequested(&printer); // the retry
        QVERIFY(old.open(QIODevice::ReadOnly));
        const QByteArray after = old.readAll();
        QVERIFY(after.startsWith("%PDF") && after.trimmed().endsWith("%%EOF"));
    }
};

QTEST_MAIN(TestReportEngine)
#include "test_report_engine.moc"
