#include "form_fixture.h"
#include "reports/sob01.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

class TestSob01 : public QObject {
    Q_OBJECT

    QTemporaryDir dir_;
    TYearBuffer year_;
    QString march_;        // the filled month, remarks switched on
    QString marchNoNotes_; // the same with the output switch "Bemerkung" off
    QString february_;     // the month with known sums

    QString render(int month, int yearNo, bool remarks) {
        const QString file =
            dir_.filePath(QStringLiteral("sob01-%1-%2-%3.pdf").arg(month).arg(yearNo).arg(remarks));
        WriteSob01Pdf(file, year_, month, yearNo, FixtureProfile(remarks),
                      ComputeMonthTotals(year_.Months[month], month, yearNo));
        return PdfText(file);
    }

private slots:
    void initTestCase() {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QVERIFY(dir_.isValid());
        year_ = FixtureYear();
        march_ = render(3, 2004, true);
        marchNoNotes_ = render(3, 2004, false);
        february_ = render(2, 2003, true);
        QVERIFY2(!march_.isEmpty(), "pdftotext gave no text");
    }

    void headerTexts_data() {
        QTest::addColumn<QString>("text");
        for (const char *t : {"SONNENFLECKENZAHLEN",
                              "im Monat:",
                              "Jahr:",
                              "Beobachter:",
                              "HMUS",
                              "Hans Müller",
                              "Sonnenweg 5",
                              "12345 Sternberg",
                              "geogr. Länge",
                              "13.4 O",
                              "geogr. Breite",
                              "52.5 N",
                              "Instrument/Methode",
                              "Instrument:",
                              "Refr.",
                              "Öffnung:",
                              "Brennweite",
                              "1200",
                              "Vergrößerung:",
                              "Tag",
                              "Zeit",
                              "UT",
                              "hh:mm",
                              "Ruhe",
                              "Schärfe",
                              "Qualität",
                              "1-5",
                              "Wolfsche Relativzahl",
                              "Nord",
                              "Süd",
                              "gesamt",
                              "Beck",
                              "Rb",
                              "Pettis",
                              "Klassif.W",
                              "CV",
                              "bloßes Auge",
                              "=gn+gs",
                              "=fn+fs",
                              "=10*g+f",
                              "=10*p+s",
                              "A*",
                              "Summe",
                              "Anzahl",
                              "Mittel",
                              "Ruhe, Schärfe: modifizierte Kiepenheuer-Skala, Wertestufen: 1 (keine "
                              "Bildbew.), 2, 3, 4 oder 5 "
                              "(Bildbew. >8\")",
                              "Qualität: 1=E(xcellent), 2=G(ood), 3=F(air), 4=P(oor), 5=W(orthless)",
                              "Formblatt: SOB01"})
            QTest::newRow(t) << QString::fromUtf8(t);
    }
    void headerTexts() {
        QFETCH(QString, text);
        QVERIFY2(march_.contains(text), qPrintable(text));
    }

    void columnSymbols() {
        const QStringList symbols{"gn", "fn", "gs", "fs", "g",  "f", "Re",
                                  "Rb", "p",  "s",  "SN", "CV", "A", "A*"};
        bool found = false;
        for (const QString &line : march_.split(QLatin1Char('\n')))
            found = found || Tokens(line).mid(Tokens(line).indexOf(QStringLiteral("gn"))) == symbols;
        QVERIFY(found);
    }

    void captions() {
        const QString line = march_.split(QLatin1Char('\n')).filter(QStringLiteral("im Monat:")).value(0);
        QCOMPARE(Tokens(line).mid(Tokens(line).size() - 4), (QStringList{"Monat:", "3", "Jahr:", "2004"}));
        const QString optics = march_.split(QLatin1Char('\n')).filter(QStringLiteral("Öffnung:")).value(0);
        QCOMPARE(Tokens(optics).mid(Tokens(optics).size() - 3), (QStringList{"Öffnung:", "80", "mm"}));
    }

    void programLine() {
        QString version = Storage().ProgramVersion;
        if (version.isEmpty())
            version = ReadProgramVersion();
        QVERIFY(march_.contains(QStringLiteral("Programm: TARVO32, v%1, Tarvo").arg(version)));
        QCOMPARE(FormProgramLine(), QStringLiteral("Programm: TARVO32, v%1, Tarvo").arg(version));
    }

    void dayRows_data() {
        QTest::addColumn<int>("day");
        QTest::addColumn<QString>("tokens");
        QTest::newRow("all values") << 5 << "5 09:15 2 3 1 1 4 2 5 3 9 39 55 2 6 26 12 5 0";
        QTest::newRow("values but no time") << 7 << "7";
        QTest::newRow("remark but no time") << 9 << "9";
        QTest::newRow("-1 empty, 0 printed") << 12 << "12 10:05 3 3 2 0 1 2 1 2 12 0 0 7 5";
        QTest::newRow("wide Beck number")
            << 31 << "31 12:59 5 5 5 9 99 9 99 18 198 378 70000 9 99 189 321 5 1";
    }
    void dayRows() {
        QFETCH(int, day);
        QFETCH(QString, tokens);
        QCOMPARE(RowTokens(march_, day).join(QLatin1Char(' ')), tokens);
    }

    void remarks() {
        QVERIFY(march_.contains(QStringLiteral("Dunst")));
        QVERIFY(march_.contains(QStringLiteral("Wolkenlücken")));
        QVERIFY(!march_.contains(QStringLiteral("Regen"))); // day without time
        for (const char *remark : {"Dunst", "Wolkenlücken", "Regen"})
            QVERIFY(!marchNoNotes_.contains(QLatin1String(remark)));
        // With the switch off the row keeps its one-line layout.
        QCOMPARE(RowTokens(marchNoNotes_, 3).size(), 19);
    }

    void rowCountFollowsMonthLength_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("yearNo");
        QTest::newRow("February 2003") << 2 << 2003;
        QTest::newRow("February 2004") << 2 << 2004;
        QTest::newRow("April") << 4 << 2004;
        QTest::newRow("March") << 3 << 2004;
        QTest::newRow("December") << 12 << 2004;
    }
    void rowCountFollowsMonthLength() {
        QFETCH(int, month);
        QFETCH(int, yearNo);
        QList<int> expected;
        for (int d = 1; d <= QDate(yearNo, month, 1).daysInMonth(); ++d)
            expected << d;
        QCOMPARE(RowDays(render(month, yearNo, true)), expected);
    }

    void summary_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tokens");
        // CV has no day with a value: empty although the header record holds 999.
        QTest::newRow("Summe") << "Summe"
                               << "Summe 7 2 3 3 7 1 1 4 8 7 12350 1 4 14 5 1";
        QTest::newRow("Anzahl") << "Anzahl"
                                << "Anzahl 2 1 2 2 2 2 2 2 2 2 2 2 2 2 2 1";
        QTest::newRow("Mittel")
            << "Mittel"
            << "Mittel 3,5 2,0 1,5 1,5 3,5 0,5 0,5 2,0 4,0 3,50 6175,0 0,5 2,0 7,0 2,5 1,0";
    }
    void summary() {
        QFETCH(QString, caption);
        QFETCH(QString, tokens);
        QCOMPARE(SummaryTokens(february_, caption).join(QLatin1Char(' ')), tokens);
    }

    void headerRecordIsNotPrinted() {
        QVERIFY(!february_.contains(QStringLiteral("999")));
        QVERIFY(!february_.contains(QStringLiteral("4321")));
    }

    void sumsAreFullWidth() {
        // 29 observed days of A = 5: 145 does not fit the header's 8-bit field.
        QCOMPARE(SummaryTokens(march_, QStringLiteral("Summe")).value(16), QStringLiteral("145"));
        QCOMPARE(SummaryTokens(march_, QStringLiteral("Anzahl")).value(16), QStringLiteral("29"));
        QCOMPARE(SummaryTokens(march_, QStringLiteral("Mittel")).value(16), QStringLiteral("5,0"));
    }

    void onePage() {
        const QString file = dir_.filePath(QStringLiteral("pages.pdf"));
        WriteSob01Pdf(file, year_, 3, 2004, FixtureProfile(true),
                      ComputeMonthTotals(year_.Months[3], 3, 2004));
        QCOMPARE(PdfPages(file), 1);
    }

    void badMonthIsRefused() {
        TSOB01 form;
        QVERIFY_THROWS_EXCEPTION(TarvoError,
                                 form.setMonth(year_, 13, 2004, FixtureProfile(true), TMonthTotals{}));
    }

    // At 300 dpi, beside every column rule there is paper: the captions
    // "Ruhe", "Schärfe", "Qualität" do not run together or into the rules,
    // and the numbers keep a gap to the rule on their right.
    void textsKeepClearOfTheRules() {
        TSOB01 form;
        form.setMonth(year_, 3, 2004, FixtureProfile(true), ComputeMonthTotals(year_.Months[3], 3, 2004));
        const QImage image = form.report().toImage(300);
        const double left = 20, header = 10 + 42.2, rows = header + 14.8;
        for (double edge : {7.9, 19.1, 26.5, 33.9, 41.3, 50.4}) {
            const double x = left + edge;
            QVERIFY2(InkIn(image, x - 0.45, header + 0.8, x - 0.25, header + 2.4) == 0,
                     qPrintable(QStringLiteral("caption left of the rule at %1 mm").arg(edge)));
            QVERIFY2(InkIn(image, x + 0.25, header + 0.8, x + 0.45, header + 2.4) == 0,
                     qPrintable(QStringLiteral("caption right of the rule at %1 mm").arg(edge)));
        }
        const double valueEdges[] = {50.4,  59.5,  68.7,  77.8,  86.8,  95.9, 107.4,
                                     121.0, 130.3, 138.8, 150.2, 162.1, 171.2};
        for (int day = 1; day <= 6; ++day) {
            const double top = rows + (day - 1) * 5.6;
            for (double edge : valueEdges)
                QVERIFY2(
                    InkIn(image, left + edge - 0.5, top + 1.6, left + edge - 0.25, top + 4.4) == 0,
                    qPrintable(QStringLiteral("day %1, value before the rule at %2 mm").arg(day).arg(edge)));
            // The last column ends at the heavy frame (0.75 mm).
            QVERIFY2(InkIn(image, left + 179.9 - 0.75, top + 1.6, left + 179.9 - 0.5, top + 4.4) == 0,
                     qPrintable(QStringLiteral("day %1, value before the frame").arg(day)));
        }
        // The captions are there, only narrower where the column is narrow.
        QVERIFY(InkIn(image, left + 34.3, header + 0.6, left + 40.9, header + 2.6) > 50);
    }

    void rulePositions_data() {
        QTest::addColumn<bool>("vertical"); // a vertical rule is found along a horizontal scan line
        QTest::addColumn<double>("at");     // scan line position, mm from the paper's edge
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("expected");
        const double rows = 67.0; // 10 + 42.2 + 14.8
        QTest::newRow("frame left") << true << 150.0 << 18.5 << 21.5 << 20.0;
        QTest::newRow("frame right") << true << 150.0 << 198.5 << 201.5 << 200.0;
        QTest::newRow("frame top") << false << 100.0 << 8.5 << 11.5 << 10.0;
        QTest::newRow("frame bottom") << false << 100.0 << 280.5 << 283.5 << 282.0;
        QTest::newRow("title rule") << false << 190.0 << 20.5 << 23.0 << 21.9;
        QTest::newRow("title vertical") << true << 50.0 << 99.0 << 101.0 << 100.0;
        QTest::newRow("header foot") << false << 63.0 << 66.0 << 68.0 << rows;
        QTest::newRow("row 10 foot") << false << 63.0 << rows + 55.0 << rows + 57.0 << rows + 56.0;
        QTest::newRow("summary top") << false << 63.0 << rows + 172.6 << rows + 174.6 << rows + 173.6;
        QTest::newRow("summary rule 14.2")
            << false << 63.0 << rows + 173.6 + 13.2 << rows + 173.6 + 15.2 << rows + 173.6 + 14.2;
        QTest::newRow("Tag|UT") << true << rows + 14 * 5.6 + 2.8 << 27.2 << 28.6 << 27.9;
        QTest::newRow("Re|Beck in an empty row") << true << rows + 6 * 5.6 + 2.8 << 126.6 << 128.2 << 127.4;
        QTest::newRow("Ruhe|Schärfe two-line top") << true << rows + 2 * 5.6 + 1.2 << 45.7 << 47.3 << 46.5;
        QTest::newRow("Ruhe|Schärfe one line") << true << rows + 3 * 5.6 + 4.0 << 45.7 << 47.3 << 46.5;
        QTest::newRow("summary UT|R") << true << rows + 173.6 + 10.5 << 38.4 << 39.8 << 39.1;
        QTest::newRow("summary Tag|UT gone") << true << rows + 173.6 + 6.4 << 27.2 << 28.6 << -1.0;
        QTest::newRow("two-line rule ends at 2.4") << true << rows + 2 * 5.6 + 4.0 << 45.7 << 47.3 << -1.0;
    }
    void rulePositions() {
        QFETCH(bool, vertical);
        QFETCH(double, at);
        QFETCH(double, from);
        QFETCH(double, to);
        QFETCH(double, expected);
        static QImage image;
        if (image.isNull()) {
            TSOB01 form;
            form.setMonth(year_, 3, 2004, FixtureProfile(true), ComputeMonthTotals(year_.Months[3], 3, 2004));
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

QTEST_MAIN(TestSob01)
#include "test_sob01.moc"
