// Drawing geometry of the graphic evaluation: point arrays, month step, time
// and value axes, read-out, and the rendered picture.
#include "evaluation/eval_geometry.h"
#include "evaluation/eval_painter.h"

#include <QImage>
#include <QSet>
#include <QTest>
#include <cstring>

namespace {

// A summary whose fields tell year and month apart: MeanRe = month + (year % 100),
// the other fields fixed per test.
struct FakeArchive {
    QList<int> yearsRead;
    std::function<void(TMonthSummary &)> fill;
    TYearSummaries operator()(int year) {
        yearsRead << year;
        TYearSummaries s;
        std::memset(s.data(), 0, sizeof s);
        for (int m = 1; m <= 12; ++m) {
            s[m - 1].Monat = m;
            s[m - 1].Jahr = year;
            s[m - 1].MeanRe = m + year % 100;
            if (fill)
                fill(s[m - 1]);
        }
        return s;
    }
};

TEvalParams Params(int endYear, int years, int monthStep, int height = 400) {
    TEvalParams p;
    p.endYear = endYear;
    p.years = years;
    p.factor = 1;
    p.valueAxisWidth = 30;
    p.timeAxisWidth = 30 + 1 + years * 12 * monthStep; // makes s exactly monthStep
    p.curveHeight = height;
    p.todayYear = 2005;
    p.todayMonth = 6;
    return p;
}

QSet<QString> YearTexts(const TEvalGeometry &g) {
    QSet<QString> texts;
    for (const TEvalText &t : g.yearTexts)
        texts << t.text;
    return texts;
}

TCurveSwitches Only(std::initializer_list<int> curves) {
    TCurveSwitches shown{};
    for (int c : curves)
        shown[c] = true;
    return shown;
}

constexpr int kRe = 0, kBeck = 5, kA = 8, kSidc = 13;

} // namespace

class TestEvalGeometry : public QObject {
    Q_OBJECT
private slots:
    void defaultSpanEndsWithTheCurrentMonth() {
        FakeArchive archive;
        const TEvalGeometry g = ComputeEvaluation(Params(2006, 15, 3), std::ref(archive));
        QCOMPARE(g.firstYear, 1991);
        QCOMPARE(g.monthStep, 3);
        // December 1990 for point 0, then 1991 .. 2005; 2006 is never read.
        QCOMPARE(archive.yearsRead.first(), 1990);
        QCOMPARE(archive.yearsRead.last(), 2005);
        QCOMPARE(archive.yearsRead.size(), 16);
        const int last = 14 * 12 + 6; // June 2005
        for (int c = 0; c < kCurveCount; ++c)
            QCOMPARE(g.points[c].size(), last + 1);
        QCOMPARE(g.yearOfPoint(last), 2005);
        QCOMPARE(g.monthOfPoint(last), 6);
        QCOMPARE(g.values[kRe][last], 6.0 + 5);
        QCOMPARE(g.values[kRe][0], 12.0 + 90); // December 1990
        QCOMPARE(g.points[kRe][0], QPoint(0, RoundHalfEven(400 - 102.0 - 1)));
        QCOMPARE(g.points[kRe][last].x(), last * 3);
        // Year texts 1991..2005 (2005 twice: its January tick and the closing tick).
        QCOMPARE(YearTexts(g).size(), 15);
        QVERIFY(YearTexts(g).contains(QStringLiteral("1991")));
        QVERIFY(YearTexts(g).contains(QStringLiteral("2005")));
        QVERIFY(!YearTexts(g).contains(QStringLiteral("2006")));
        // The January tick of 1991 sits under point 0, text 3 pixels left of it.
        QCOMPARE(g.ticks.first(), (TEvalLine{29, 0, 29, 10}));
        QCOMPARE(g.yearTexts.first(), (TEvalText{26, 15, QStringLiteral("1991")}));
        const TEvalLine closing{14 * 12 * 3 + 29, 0, 14 * 12 * 3 + 29, 10};
        QCOMPARE(g.ticks.last(), closing);
        // Month ticks are 5 pixels long when s > 2.
        QCOMPARE(g.ticks[1], (TEvalLine{32, 0, 32, 5}));
    }

    void completeSpanBeforeToday() {
        FakeArchive archive;
        const TEvalGeometry g = ComputeEvaluation(Params(2000, 10, 4), std::ref(archive));
        QCOMPARE(g.pointCount(), 121);
        QCOMPARE(archive.yearsRead.last(), 1999);
        QCOMPARE(g.ticks.last().x1, 120 * 4 + 29);
        QCOMPARE(g.yearTexts.last().text, QStringLiteral("2000"));
    }

    void yearTextsByMonthStep_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<QStringList>("expected");
        QTest::addColumn<int>("monthTicks");
        // Span 1990..1999, closing year 2000.
        QTest::newRow("s=3 every year") << 3 << QStringList{"1990", "1991", "1992", "1993", "1994", "1995",
                                                            "1996", "1997", "1998", "1999", "2000"}
                                        << 110;
        QTest::newRow("s=2 even years")
            << 2 << QStringList{"1990", "1992", "1994", "1996", "1998", "2000"} << 0;
        QTest::newRow("s=1 every fifth") << 1 << QStringList{"1990", "1995", "2000"} << 0;
        QTest::newRow("s=0 none") << 0 << QStringList{} << 0;
    }
    void yearTextsByMonthStep() {
        QFETCH(int, step);
        QFETCH(QStringList, expected);
        QFETCH(int, monthTicks);
        FakeArchive archive;
        const TEvalGeometry g = ComputeEvaluation(Params(2000, 10, step), std::ref(archive));
        QCOMPARE(g.monthStep, step);
        QStringList texts;
        for (const TEvalText &t : g.yearTexts)
            texts << t.text;
        QCOMPARE(texts, expected);
        int shortTicks = 0;
        for (const TEvalLine &t : g.ticks)
            shortTicks += t.y2 == 5;
        QCOMPARE(shortTicks, monthTicks);
    }

    void spanWiderThanTheBox() {
        FakeArchive archive;
        TEvalParams p = Params(2000, 80, 0);
        p.timeAxisWidth = 700;
        const TEvalGeometry g = ComputeEvaluation(p, std::ref(archive));
        QCOMPARE(g.monthStep, 0);
        for (const QPoint &pt : g.points[kRe])
            QCOMPARE(pt.x(), 0);
        QVERIFY(g.yearTexts.isEmpty());
        QCOMPARE(ReadOutText(g, 5, 2005, 6, Only({kRe})), QString());
    }

    void valueToPixel_data() {
        QTest::addColumn<int>("curve");
        QTest::addColumn<int>("factor");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("aboveBottom"); // H - 1 - y
        QTest::addColumn<QString>("readOut");
        QTest::newRow("F=2, mean 100") << kRe << 2 << 100.0 << 200 << "Re:100,0";
        QTest::newRow("Beck 153 at 15.3 units") << kBeck << 1 << 153.0 << 15 << "Beck:153,0";
        QTest::newRow("A times 100") << kA << 1 << 0.53 << 53 << "A:0,5";
        QTest::newRow("half rounds to even (down)") << kSidc << 1 << 0.5 << 1 << "SIDC:0,5";
        QTest::newRow("half rounds to even (up)") << kSidc << 1 << 1.5 << 1 << "SIDC:1,5";
        QTest::newRow("decimal comma") << kSidc << 1 << 87.25 << 87 << "SIDC:87,3";
    }
    void valueToPixel() {
        QFETCH(int, curve);
        QFETCH(int, factor);
        QFETCH(double, value);
        QFETCH(int, aboveBottom);
        QFETCH(QString, readOut);
        FakeArchive archive;
        archive.fill = [&](TMonthSummary &m) { m.*(Curves()[curve].field) = value; };
        TEvalParams p = Params(2000, 10, 3, 500);
        p.factor = factor;
        const TEvalGeometry g = ComputeEvaluation(p, std::ref(archive));
        QCOMPARE(g.points[curve][5].y(), 500 - 1 - aboveBottom);
        // The read-out shows the stored value, not the pixel row.
        const QString text = ReadOutText(g, 1 + 4 * 3, 2005, 6, Only({curve}));
        QCOMPARE(text.split(QLatin1Char('\n')).value(1), readOut);
    }

    void readOut_data() {
        QTest::addColumn<int>("mouseX");
        QTest::addColumn<QString>("expected");
        // Span 1991..2005 at s = 3, today June 2005, Re and SIDC shown.
        QTest::newRow("x=0: December before the span") << 0 << "Dezember 1990";
        QTest::newRow("x=1: January of the first year") << 1 << "Januar 1991\nRe:92,0\nSIDC:7,0";
        QTest::newRow("last pixel of January") << 3 << "Januar 1991\nRe:92,0\nSIDC:7,0";
        QTest::newRow("February") << 4 << "Februar 1991\nRe:93,0\nSIDC:7,0";
        QTest::newRow("March umlaut") << 7 << "März 1991\nRe:94,0\nSIDC:7,0";
        QTest::newRow("June 2005, the last point")
            << 1 + (14 * 12 + 5) * 3 << "Juni 2005\nRe:11,0\nSIDC:7,0";
        QTest::newRow("July 2005 is the future")
            << 1 + (14 * 12 + 6) * 3 << "Auch ich kann nicht \n in die Zukunft schauen";
    }
    void readOut() {
        QFETCH(int, mouseX);
        QFETCH(QString, expected);
        FakeArchive archive;
        archive.fill = [](TMonthSummary &m) { m.SIDC = 7; };
        const TEvalGeometry g = ComputeEvaluation(Params(2006, 15, 3), std::ref(archive));
        QCOMPARE(ReadOutText(g, mouseX, 2005, 6, Only({kSidc, kRe})), expected);
    }

    void readOutRightOfTheLastPoint() {
        FakeArchive archive;
        TEvalParams p = Params(2000, 10, 3);
        p.timeAxisWidth += 20; // the box is a few pixels wider than the span
        const TEvalGeometry g = ComputeEvaluation(p, std::ref(archive));
        QCOMPARE(g.monthStep, 3);
        const int beyond = 120 * 3 + 10;
        QCOMPARE(ReadOutText(g, beyond, 2005, 6, Only({kRe})), QStringLiteral("Dezember 1999\nRe:111,0"));
    }

    void readOutOrderPutsP9AfterP17() {
        FakeArchive archive;
        const TEvalGeometry g = ComputeEvaluation(Params(2000, 10, 3), std::ref(archive));
        TCurveSwitches all{};
        all.fill(true);
        const QStringList lines = ReadOutText(g, 1, 2005, 6, all).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 25);
        QVERIFY(lines[5].startsWith(QLatin1String("P17:")));
        QVERIFY(lines[6].startsWith(QLatin1String("P9 :")));
        QVERIFY(lines[24].startsWith(QLatin1String("pfs:")));
    }

    void valueAxis() {
        const QVector<TEvalLine> ticks = ValueAxisTicks(30, 500, 2);
        QCOMPARE(ticks.size(), 40);
        QCOMPARE(ticks[0], (TEvalLine{15, 480, 24, 480}));
        QCOMPARE(ticks[9], (TEvalLine{15, 300, 24, 300}));
        const QVector<TEvalText> texts = ValueAxisTexts(30, 500, 2, 12);
        QCOMPARE(texts.size(), 4);
        QCOMPARE(texts[0], (TEvalText{0, 294, QStringLiteral("100")}));
        QCOMPARE(texts[3].text, QStringLiteral("400"));
    }

    void colourConversion() {
        QCOMPARE(ColourFromFarbe(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(ColourFromFarbe(0xFF0000), QColor(0, 0, 255));
        QCOMPARE(FarbeFromColour(QColor(0x12, 0x34, 0x56)), 0x563412);
    }

    // The rendered picture: curves at their points in their colours, ticks
    // and year texts in the time axis strip.
    void renderedPicture_data() {
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("texts");
        QTest::newRow("s=3") << 3 << true;
        QTest::newRow("s=0") << 0 << false;
    }
    void renderedPicture() {
        QFETCH(int, step);
        QFETCH(bool, texts);
        FakeArchive archive;
        archive.fill = [](TMonthSummary &m) {
            m.SIDC = 100;
            m.MeanRe = 50;
        };
        TEvalParams p = Params(2000, 10, step, 300);
        if (step == 0)
            p.timeAxisWidth = 100;
        const TEvalGeometry g = ComputeEvaluation(p, std::ref(archive));
        TEvalPicture pic;
        pic.geometry = &g;
        pic.shown = Only({kRe, kSidc});
        pic.colours.fill(Qt::black);
        pic.colours[kRe] = Qt::red;
        pic.colours[kSidc] = Qt::blue;
        pic.curveBox = QSize(p.timeAxisWidth - 30, 300);
        pic.font.setPixelSize(12);
        const QImage image = RenderPicture(pic);
        QCOMPARE(image.size(), QSize(p.timeAxisWidth, 330));
        // Re at 50: y = 300 - 50 - 1 = 249; SIDC at 100: y = 199 (curve box x offset 30).
        // (With s = 0 every point lies on one pixel and there is no line to see.)
        const int x = 30 + g.points[kRe][3].x();
        if (step > 0) {
            QCOMPARE(image.pixelColor(x, 249), QColor(Qt::red));
            QCOMPARE(image.pixelColor(x, 199), QColor(Qt::blue));
        }
        QCOMPARE(image.pixelColor(x + 1, 150), EvalBackground());
        // Value axis tick 10 at y = 290, x 15..24.
        QCOMPARE(image.pixelColor(20, 290), QColor(Qt::black));
        // Time axis: the first January tick at x = 29, rows 300..310.
        QCOMPARE(image.pixelColor(29, 305), QColor(Qt::black));
        int dark = 0;
        for (int y = 300 + 15; y < 330; ++y)
            for (int xx = 26; xx < 26 + 24; ++xx)
                dark += image.pixelColor(xx, y).lightness() < 128;
        QCOMPARE(dark > 10, texts);
    }

    void switchedOffCurveIsNotDrawn() {
        FakeArchive archive;
        archive.fill = [](TMonthSummary &m) { m.SIDC = 150; };
        const TEvalGeometry g = ComputeEvaluation(Params(2000, 10, 3, 300), std::ref(archive));
        TEvalPicture pic;
        pic.geometry = &g;
        pic.colours.fill(Qt::green);
        pic.curveBox = QSize(361, 300);
        pic.shown = Only({kRe});
        const QImage image = RenderPicture(pic);
        QCOMPARE(image.pixelColor(30 + 30, 149), EvalBackground());
        pic.shown = Only({kRe, kSidc});
        QCOMPARE(RenderPicture(pic).pixelColor(30 + 30, 149), QColor(Qt::green));
    }
};

QTEST_MAIN(TestEvalGeometry)
#include "test_eval_geometry.moc"
