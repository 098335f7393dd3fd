// tarvo-cli plot: the evaluation picture of an observer's years as a PDF
// (its text read back with pdftotext) or a PNG of the asked size.
#include "../common/cli_run.h"
#include "../common/observer_fixture.h"

#include <QImage>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The PDF's text in reading order, and its page count.
QString PdfText(const QString &pdf) {
    const CliRun r =
        RunProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return r.exitCode == 0 ? QString::fromUtf8(r.out) : QStringLiteral("pdftotext fehlgeschlagen");
}

QString PdfInfo(const QString &pdf) {
    return QString::fromUtf8(RunProgram(QStringLiteral("pdfinfo"), {pdf}).out);
}

} // namespace

class CliPlotTest : public QObject {
    Q_OBJECT
    QTemporaryDir home_;
    QTemporaryDir out_;

private slots:
    void initTestCase() {
        TObserverFixture fixture;
        fixture.breaks = {200106, 200107, 200108};
        MakeObserverHome(home_.path(), fixture);
    }

    void pdfHoldsTitleAxesLegendAndAttribution() {
        const QString pdf = out_.filePath(QStringLiteral("auswertung.pdf"));
        const CliRun r = RunCli({"--home", home_.path(), "plot", "1995", "2005", pdf});
        QCOMPARE(r.exitCode, 0);
        QVERIFY(r.err.isEmpty());
        const QString info = PdfInfo(pdf);
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QLatin1String("842 x 595 pts (A4)")), qPrintable(info)); // landscape
        const QString text = PdfText(pdf);
        for (const char *expected : {"Relativzahlen 1995–2005", "Beobachter: Erika Mustermann",
                                     "Monatsmittel", "Jahr", "Re", "R13", "SIDC", "SIDC-Mittel", "1995",
                                     "2005", "WDC-SILSO, Royal Observatory of Belgium", "CC BY-NC 4.0"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!text.contains(QLatin1String("keine Daten")));
    }

    // The chosen curves only; without a SIDC series no attribution.
    void curvesAsAsked() {
        const QString pdf = out_.filePath(QStringLiteral("eigene.pdf"));
        const CliRun r = RunCli({"--home", home_.path(), "--observer", "Muster", "plot", "1999", "2003",
                                      pdf, "--curves", "ren,RES,p17,tarvodef"});
        QCOMPARE(r.exitCode, 0);
        const QString text = PdfText(pdf);
        for (const char *expected :
             {"Relativzahlen 1999–2003", "Re Nord", "Re Süd", "P17", "Tarvo Def (keine Daten)"})
            QVERIFY2(text.contains(QString::fromUtf8(expected)), expected);
        QVERIFY(!text.contains(QLatin1String("SILSO")));
        QVERIFY(!text.contains(QLatin1String("SIDC")));
    }

    void pngOfTheAskedSize_data() {
        QTest::addColumn<QStringList>("size");
        QTest::addColumn<QSize>("expected");
        QTest::newRow("default") << QStringList{} << QSize(1280, 800);
        QTest::newRow("asked") << QStringList{"--size", "900x600"} << QSize(900, 600);
    }
    void pngOfTheAskedSize() {
        QFETCH(QStringList, size);
        QFETCH(QSize, expected);
        const QString png = out_.filePath(QStringLiteral("bild.png"));
        const CliRun r = RunCli(QStringList{"--home", home_.path(), "plot", "1995", "2005", png} + size);
        QCOMPARE(r.exitCode, 0);
        const QImage image(png);
        QCOMPARE(image.size(), expected);
        QCOMPARE(image.pixelColor(0, 0), QColor(Qt::white));
    }

    void errors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("unknown curve")
            << QStringList{"1995", "2005", "x.png", "--curves", "re,rz"} << 2 << "unbekannte Kurve 'rz'";
        QTest::newRow("other suffix") << QStringList{"1995", "2005", "x.jpg"} << 2 << ".png oder .pdf";
        QTest::newRow("years reversed") << QStringList{"2005", "1995", "x.png"} << 2 << "FROM <= TO";
        QTest::newRow("too many years") << QStringList{"1900", "2005", "x.png"} << 2 << "höchstens 80 Jahre";
        QTest::newRow("bad size") << QStringList{"1995", "2005", "x.png", "--size", "10x10"} << 2 << "--size";
        QTest::newRow("value missing") << QStringList{"1995", "2005", "x.png", "--curves"} << 2 << "--curves";
        QTest::newRow("unknown observer")
            << QStringList{"--observer", "Niemand", "plot", "1995", "2005", "x.png"} << 1
            << "Beobachter 'Niemand' ist nicht vorhanden";
        QTest::newRow("folder missing")
            << QStringList{"1995", "2005", "nix/x.png"} << 1 << "kann nicht geschrieben werden";
    }
    void errors() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        for (QString &arg : args)
            if (arg.endsWith(QLatin1String(".png")) || arg.endsWith(QLatin1String(".jpg")))
                arg = out_.filePath(arg);
        if (args.first() != QLatin1String("--observer"))
            args.prepend(QStringLiteral("plot"));
        const CliRun r = RunCli(QStringList{"--home", home_.path()} + args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(QString::fromUtf8(r.err).contains(message), r.err.constData());
        QVERIFY(!QFile::exists(out_.filePath(QStringLiteral("x.png"))));
    }
};

QTEST_MAIN(CliPlotTest)
#include "test_cli_plot.moc"
