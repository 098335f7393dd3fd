#include "form_fixture.h"
#include "reports/sob09.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

class TestSob09 : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TYearBuffer year_;
    QString april_; // the faculae cases; output switch "Bemerkung" off

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(dir_.isValid());
        year_ = FixtureYear();
        const QString file = dir_.filePath(QStringLiteral("sob09.pdf"));
        WriteSob09Pdf(file, year_, 4, 2004, FixtureProfile(false),
                      ComputeMonthTotals(year_.Months[4], 4, 2004));
        april_ = PdfText(file);
        QVERIFY2(!april_.isEmpty(), "pdftotext gave no text");
        QCOMPARE(PdfPages(file), 1);
    }

    void headerTexts_data() {
        QTest::addColumn<QString>("text");
        for (const char *t : {"FACKELAKTIVITÄT",
                              "im Monat:",
                              "Jahr:",
                              "Beobachter:",
                              "HMUS",
                              "Hans Müller",
                              "geogr. Länge",
                              "Instrument/Methode",
                              "Vergrößerung:",
                              "Tag",
                              "Zeit",
                              "UT",
                              "hh:mm",
                              "Ruhe",
                              "Schärfe",
                              "Qualität",
                              "1-5",
                              "Hauptzone",
                              "Flächenfackeln",
                              "Polzone",
                              "Bemerkungen",
                              "Summe",
                              "Anzahl",
                              "Mittel",
                              "Ruhe, Schärfe: modifizierte Kiepenheuer-Skala, Wertestufen: 1 (keine "
                              "Bildbew.), 2, 3, 4 oder 5 "
                              "(Bildbew. >8\")",
                              "Qualität: 1=E(xcellent), 2=G(ood), 3=F(air), 4=P(oor), 5=W(orthless)",
                              "Formblatt: SOB09",
                              "Programm: TARVO32, v"})
            QTest::newRow(t) << QString::fromUtf8(t);
    }
    void headerTexts() {
        QFETCH(QString, text);
        QVERIFY2(april_.contains(text), qPrintable(text));
        QVERIFY(!april_.contains(QStringLiteral("SONNENFLECKENZAHLEN")));
    }

    void columnSymbols() {
        const QStringList symbols{"Fo", "Fm", "FEF", "FEP", "pfn", "pfs", "Z/F", "P", "Fl", "Bemerkungen"};
        bool found = false;
        for (const QString &line : april_.split(QLatin1Char('\n')))
            found = found || Tokens(line).mid(Tokens(line).indexOf(QStringLiteral("Fo"))) == symbols;
        QVERIFY(found);
    }

    void dayRows_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("tokens");
        QTest::newRow("all fields, remark without switch") << 2 << "2 10:00 2 3 2 4 2 1 0 1 Z N X Fackeln";
        QTest::newRow("Fm only, Fl 0") << 3 << "3 10:30 3 1 5 2 S";
        QTest::newRow("polar faculae only") << 4 << "4";
        QTest::newRow("Ruhe -1") << 5 << "5 11:30 2 2 1";
        QTest::newRow("faculae but no time") << 6 << "6";
        QTest::newRow("nothing") << 7 << "7";
    }
    void dayRows() {
        QFETCH(int, day);
        QFETCH(QString, tokens);
        QCOMPARE(RowTokens(april_, day).join(QLatin1Char(' ')), tokens);
    }

    void everyDayHasARow() {
        QList<int> expected;
        for (int d = 1; d <= 30; ++d)
            expected << d;
        QCOMPARE(RowDays(april_), expected);
        QVERIFY(!april_.contains(QStringLiteral("nur Pol")));
    }

    void summary_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tokens");
        // R, S, Q over the printed rows only (the 5 of day 4 is left out);
        // the faculae columns over every observed day (pfn 3 of day 4 counts).
        QTest::newRow("Summe") << "Summe"
                               << "Summe 5 5 5 5 7 1 0 4 2";
        QTest::newRow("Anzahl") << "Anzahl"
                                << "Anzahl 2 2 3 2 2 1 1 2 1";
        QTest::newRow("Mittel") << "Mittel"
                                << "Mittel 2,5 2,5 1,7 2,5 3,5 1,0 0,0 2,0 2,0";
    }
    void summary() {
        QFETCH(QString, caption);
        QFETCH(QString, tokens);
        QCOMPARE(SummaryTokens(april_, caption).join(QLatin1Char(' ')), tokens);
    }

    void everyRunStartsAfresh() {
        // Preview and printout are two runs of the same object: same numbers.
        TSOB09 form;
        form.setMonth(year_, 4, 2004, FixtureProfile(false), ComputeMonthTotals(year_.Months[4], 4, 2004));
        form.report().toImage(50);
        const QString file = dir_.filePath(QStringLiteral("second.pdf"));
        form.report().writePdf(file);
        QCOMPARE(SummaryTokens(PdfText(file), QStringLiteral("Summe")).join(QLatin1Char(' ')),
                 QStringLiteral("Summe 5 5 5 5 7 1 0 4 2"));
    }

    // At 300 dpi the captions "Ruhe", "Schärfe", "Qualität" keep clear of
    // the rules between them.
    void captionsKeepClearOfTheRules() {
        TSOB09 form;
        form.setMonth(year_, 4, 2004, FixtureProfile(false), ComputeMonthTotals(year_.Months[4], 4, 2004));
        const QImage image = form.report().toImage(300);
        const double left = 20, header = 10 + 42.2;
        for (double edge : {7.9, 19.0, 26.5, 33.9, 41.3}) {
            QVERIFY2(InkIn(image, left + edge - 0.45, header + 0.9, left + edge - 0.25, header + 2.5) == 0,
                     qPrintable(QStringLiteral("left of the rule at %1 mm").arg(edge)));
            QVERIFY2(InkIn(image, left + edge + 0.25, header + 0.9, left + edge + 0.45, header + 2.5) == 0,
                     qPrintable(QStringLiteral("right of the rule at %1 mm").arg(edge)));
        }
    }

    void rulePositions_data() {
        QTest::addColumn<bool>("vertical");
        QTest::addColumn<double>("at");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("expected");
        const double header = 52.2;
        const double rows = header + 14.9;
        const double summary = rows + 30 * 5.6;
        QTest::newRow("frame left") << true << 150.0 << 18.5 << 21.5 << 20.0;
        QTest::newRow("frame bottom") << false << 100.0 << 280.5 << 283.5 << 282.0;
        QTest::newRow("header foot") << false << 63.0 << rows - 1 << rows + 1 << rows;
        QTest::newRow("FEF rule below 3.0") << true << header + 4.5 << 87.9 << 89.3 << 88.6;
        QTest::newRow("pfn|pfs starts at 6.0") << true << header + 4.5 << 106.1 << 107.5 << -1.0;
        QTest::newRow("pfn|pfs below 6.0") << true << header + 10.0 << 106.1 << 107.5 << 106.8;
        QTest::newRow("Fo|Fm starts at 6.0") << true << header + 5.5 << 69.7 << 71.1 << -1.0;
        QTest::newRow("Fo|Fm in a row") << true << rows + 10 * 5.6 + 2.8 << 69.7 << 71.1 << 70.4;
        QTest::newRow("Fl|Bemerkung") << true << rows + 10 * 5.6 + 2.8 << 147.5 << 148.9 << 148.2;
        QTest::newRow("summary top") << false << 63.0 << summary - 1 << summary + 1 << summary;
        QTest::newRow("summary rule 14.1")
            << false << 63.0 << summary + 13.1 << summary + 15.1 << summary + 14.1;
        QTest::newRow("summary pfs|ZF") << true << summary + 6.4 << 115.2 << 116.6 << 115.9;
        QTest::newRow("summary none right of pfs") << true << summary + 6.4 << 126.8 << 128.2 << -1.0;
    }
    void rulePositions() {
        QFETCH(bool, vertical);
        QFETCH(double, at);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, expected);
        static QImage image;
        if (image.isNull()) {
            TSOB09 form;
            form.setMonth(year_, 4, 2004, FixtureProfile(false),
                          ComputeMonthTotals(year_.Months[4], 4, 2004));
            image = form.report().toImage(300);
        }
        const double found =
            vertical ? DarkCentreAlongX(image, at, from, to) : DarkCentreAlongY(image, at, from, to);
        if (expected < 0)
            QCOMPARE(found, -1.0);
        else
            QVERIFY2(std::abs(found - expected) <= 0.3, qPrintable(QStringLiteral("found %1").arg(found)));
    }
};

QTEST_MAIN(TestSob09)
#include "test_sob09.moc"
