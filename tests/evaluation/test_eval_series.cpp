// The months of the graphic evaluation: the span, which months each curve is
// drawn for and where its line breaks, the read-out, the default span and the
// curve names and colours.
#include "evaluation/eval_plot.h"
#include "plot/plot_layout.h"

#include <QTest>
#include <cmath>
#include <cstring>

namespace {

constexpr int kRe = 0, kReNord = 1, kR13 = 3, kP17 = 4, kBeck = 5, kA = 8, kTarvoDef = 10, kSidc = 13,
              kSidcM = 14, kP9 = 23;

// An archive in memory: MeanRe = month + (year % 100), every month observed
// unless `observed` says otherwise; `fill` sets further fields.
struct FakeArchive {
    QList<int> yearsRead;
    std::function<bool(int year, int month)> observed;
    std::function<void(TMonthSummary &)> fill;
    TYearSummaries operator()(int year) {
        yearsRead << year;
        TYearSummaries s;
        std::memset(s.data(), 0, sizeof s);
        for (int m = 1; m <= 12; ++m) {
            TMonthSummary &r = s[m - 1];
            r.Monat = m;
            r.Jahr = year;
            if (!observed || observed(year, m)) {
                r.MeanRe = m + year % 100;
                r.MeanReNord = r.MeanRe / 2;
                r.R13 = r.P17 = r.P9 = r.MeanRe;
                r.Counts[9] = r.Counts[3] = 10;
            }
            if (fill)
                fill(r);
        }
        return s;
    }
};

TEvalRange Range(int endYear, int years, int todayYear = 2005, int todayMonth = 6) {
    TEvalRange r;
    r.endYear = endYear;
    r.years = years;
    r.todayYear = todayYear;
    r.todayMonth = todayMonth;
    return r;
}

TCurveSwitches Only(std::initializer_list<int> curves) {
    TCurveSwitches shown{};
    for (int c : curves)
        shown[c] = true;
    return shown;
}

// The drawn months of a curve as "YYYY-MM" runs, e.g. "1997-01..1997-04".
QStringList DrawnRuns(const TEvalData &d, int curve) {
    QStringList runs;
    int start = -1;
    auto name = [&d](int k) {
        return QStringLiteral("%1-%2").arg(d.yearOfPoint(k)).arg(d.monthOfPoint(k), 2, 10, QLatin1Char('0'));
    };
    for (int k = 0; k <= d.pointCount(); ++k) {
        const bool on = k < d.pointCount() && d.drawn[curve][k];
        if (on && start < 0)
            start = k;
        if (!on && start >= 0) {
            runs << (start == k - 1 ? name(start) : name(start) + QStringLiteral("..") + name(k - 1));
            start = -1;
        }
    }
    return runs;
}

} // namespace

class TestEvalSeries : public QObject {
    Q_OBJECT
private slots:
    void defaultSpanEndsWithTheCurrentMonth() {
        FakeArchive archive;
        const TEvalData d = ComputeEvalData(Range(2006, 15), std::ref(archive));
        QCOMPARE(d.firstYear, 1991);
        // December 1990 for point 0, then 1991 .. 2005; 2006 lies after today and is never read.
        QCOMPARE(archive.yearsRead, (QList<int>{1990, 1991, 1992, 1993, 1994, 1995, 1996, 1997, 1998, 1999,
                                                2000, 2001, 2002, 2003, 2004, 2005}));
        const int last = 14 * 12 + 6; // June 2005
        for (int c = 0; c < kCurveCount; ++c) {
            QCOMPARE(d.values[c].size(), last + 1);
            QCOMPARE(d.drawn[c].size(), last + 1);
        }
        QCOMPARE(d.yearOfPoint(last), 2005);
        QCOMPARE(d.monthOfPoint(last), 6);
        QCOMPARE(d.values[kRe][last], 6.0 + 5);
        QCOMPARE(d.yearOfPoint(0), 1990);
        QCOMPARE(d.monthOfPoint(0), 12);
        QCOMPARE(d.values[kRe][0], 12.0 + 90);
        // Months sit in the middle of their month on the time axis.
        QCOMPARE(d.timeOfPoint(1), 1991 + 0.5 / 12);
        QCOMPARE(d.timeOfPoint(0), 1991 - 0.5 / 12);
        QCOMPARE(d.pointAtTime(1991.0), 1);
        QCOMPARE(d.pointAtTime(1991.999), 12);
        QCOMPARE(d.lastYearShown(), 2005);
    }

    void completeSpanReadsOneYearBeyond() {
        FakeArchive archive;
        const TEvalData d = ComputeEvalData(Range(2000, 10), std::ref(archive));
        QCOMPARE(d.pointCount(), 121);
        QCOMPARE(archive.yearsRead.first(), 1989);
        QCOMPARE(archive.yearsRead.last(), 2000); // the windows of the last smoothed months
        QCOMPARE(d.lastYearShown(), 1999);
        // R13 needs six months after December 1999: 2000 is read, so it is drawn.
        QVERIFY(d.drawn[kR13].last());
    }

    void spanAfterTodayHasNoPoints() {
        FakeArchive archive;
        const TEvalData d = ComputeEvalData(Range(2031, 5), std::ref(archive));
        QCOMPARE(d.pointCount(), 0);
        QVERIFY(archive.yearsRead.isEmpty());
        QVERIFY(!d.drawnInSpan(kRe));
    }

    // A break of five months (May..September 1998), a single observed month
    // between empty ones (March 1997), SIDC imported up to March 1999 only
    // with a real zero inside, Tarvo Def never imported.
    void drawnMonthsAndLineBreaks() {
        FakeArchive archive;
        archive.observed = [](int year, int month) {
            if (year == 1997 && (month == 2 || month == 4))
                return false;
            return !(year == 1998 && month >= 5 && month <= 9);
        };
        archive.fill = [](TMonthSummary &m) {
            const int key = m.Jahr * 100 + m.Monat;
            m.SIDC = key <= 199903 ? (key == 199606 ? 0.0 : 50.0) : 0.0;
            m.SIDCM = key <= 199812 ? 40.0 : 0.0;
            m.MeanBeck = 1530;
            m.Counts[10] = m.Monat == 7 ? 0 : 3; // Beck: every July without values
        };
        const TEvalData d = ComputeEvalData(Range(2000, 5), std::ref(archive)); // 1995..1999
        QCOMPARE(DrawnRuns(d, kRe),
                 (QStringList{"1994-12..1997-01", "1997-03", "1997-05..1998-04", "1998-10..1999-12"}));
        QCOMPARE(DrawnRuns(d, kReNord), DrawnRuns(d, kRe));
        // R13 (six months each side), P9 (four), P17 (eight) need every month of their window.
        QCOMPARE(DrawnRuns(d, kR13), (QStringList{"1994-12..1996-07", "1999-04..1999-12"}));
        QCOMPARE(DrawnRuns(d, kP9),
                 (QStringList{"1994-12..1996-09", "1997-09..1997-12", "1999-02..1999-12"}));
        QCOMPARE(DrawnRuns(d, kP17), (QStringList{"1994-12..1996-05", "1999-06..1999-12"}));
        // SIDC: from its first to its last non-zero month; the zero of June 1996 lies inside and is drawn.
        QCOMPARE(DrawnRuns(d, kSidc), (QStringList{"1994-12..1999-03"}));
        QVERIFY(d.drawn[kSidc][18]);
        QCOMPARE(d.values[kSidc][18], 0.0);
        QCOMPARE(DrawnRuns(d, kSidcM), (QStringList{"1994-12..1998-12"}));
        QCOMPARE(DrawnRuns(d, kTarvoDef), QStringList());
        QVERIFY(!d.drawnInSpan(kTarvoDef));
        QCOMPARE(DrawnRuns(d, kBeck).size(), 6); // broken every July
        QVERIFY(DrawnRuns(d, kBeck).contains(QStringLiteral("1995-08..1996-06")));

        // The picture's lines break exactly there; the single month is a dot.
        TEvalFigure figure;
        figure.shown = Only({kRe, kR13, kSidc});
        figure.colours.fill(Qt::black);
        const TPlot plot = EvaluationPlot(d, figure);
        const TPlotLayout layout = LayoutPlot(plot, QSizeF(1000, 600));
        QCOMPARE(layout.paths.size(), 3);
        const TPlotSeriesPath &re = layout.paths[0]; // thin lines first: Re, SIDC, then R13
        QCOMPARE(plot.series[re.series].label, QStringLiteral("Re"));
        QCOMPARE(re.lines.size(), 3);
        QCOMPARE(re.dots.size(), 1);
        QCOMPARE(re.lines[0].size(), 1 + 12 + 12 + 1); // December 1994 .. January 1997
        QCOMPARE(re.dots[0], layout.toPixel({d.timeOfPoint(27), 3 + 97.0}));
        QCOMPARE(re.lines[1].first(), layout.toPixel({d.timeOfPoint(29), 5 + 97.0}));
        const TPlotSeriesPath &sidc = layout.paths[1];
        QCOMPARE(plot.series[sidc.series].label, QStringLiteral("SIDC"));
        QCOMPARE(sidc.lines.size(), 1);
        QCOMPARE(sidc.lines[0].last(), layout.toPixel({1999 + 2.5 / 12, 50}));
        QCOMPARE(plot.series[layout.paths[2].series].label, QStringLiteral("R13"));
        QCOMPARE(layout.paths[2].lines.size(), 2);
        // The value axis fits the largest value shown: Re 12 + 99 = 111 -> 120.
        QCOMPARE(layout.yMin, 0.0);
        QCOMPARE(layout.yMax, 120.0);
    }

    void readOut_data() {
        QTest::addColumn<int>("point");
        QTest::addColumn<QString>("expected");
        // Span 1991..2005, today June 2005, Re and SIDC shown; no Re in March 1992.
        QTest::newRow("January of the first year") << 1 << "Januar 1991\nRe:92,0\nSIDC:7,0";
        QTest::newRow("March umlaut") << 3 << "März 1991\nRe:94,0\nSIDC:7,0";
        QTest::newRow("a month without Re") << 15 << "März 1992\nRe:keine Daten\nSIDC:7,0";
        QTest::newRow("June 2005, the last point") << 14 * 12 + 6 << "Juni 2005\nRe:11,0\nSIDC:7,0";
        QTest::newRow("July 2005 is the future")
            << 14 * 12 + 7 << "Auch ich kann nicht \n in die Zukunft schauen";
        QTest::newRow("before the span") << -1 << "";
    }
    void readOut() {
        QFETCH(int, point);
        QFETCH(QString, expected);
        FakeArchive archive;
        archive.observed = [](int year, int month) { return !(year == 1992 && month == 3); };
        archive.fill = [](TMonthSummary &m) { m.SIDC = 7; };
        const TEvalData d = ComputeEvalData(Range(2006, 15), std::ref(archive));
        const TReadOut readOut = ReadOutAt(d, point, Only({kSidc, kRe}), 2005, 6);
        QCOMPARE(readOut.heading.isEmpty() ? QString() : readOut.text(), expected);
        if (point == 15) {
            QCOMPARE(readOut.lines[0].hasData, false);
            QCOMPARE(readOut.lines[1].curve, kSidc);
        }
    }

    // The read-out shows the stored value, whatever the picture's scale.
    void readOutShowsStoredValues_data() {
        QTest::addColumn<int>("curve");
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("line");
        QTest::newRow("Beck 153, drawn at 15.3") << kBeck << 153.0 << "Beck:153,0";
        QTest::newRow("A 0.53, drawn at 53") << kA << 0.53 << "A:0,5";
        QTest::newRow("decimal comma") << kSidc << 87.25 << "SIDC:87,3";
    }
    void readOutShowsStoredValues() {
        QFETCH(int, curve);
        QFETCH(double, value);
        QFETCH(QString, line);
        FakeArchive archive;
        archive.fill = [&](TMonthSummary &m) {
            m.*(Curves()[curve].field) = value;
            m.Counts[10] = m.Counts[15] = 5;
        };
        const TEvalData d = ComputeEvalData(Range(2000, 10), std::ref(archive));
        QCOMPARE(ReadOutAt(d, 5, Only({curve}), 2005, 6).text().split(QLatin1Char('\n')).value(1), line);
        TEvalFigure figure;
        figure.shown = Only({curve});
        const TPlot plot = EvaluationPlot(d, figure);
        QCOMPARE(plot.series[0].points[5].y(), value * Curves()[curve].scale);
    }

    void readOutOrderPutsP9AfterP17() {
        FakeArchive archive;
        const TEvalData d = ComputeEvalData(Range(2000, 10), std::ref(archive));
        TCurveSwitches all{};
        all.fill(true);
        const QStringList lines = ReadOutAt(d, 30, all, 2005, 6).text().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 25);
        QVERIFY(lines[5].startsWith(QLatin1String("P17:")));
        QVERIFY(lines[6].startsWith(QLatin1String("P9 :")));
        QVERIFY(lines[24].startsWith(QLatin1String("pfs:")));
    }

    void defaultSpan_data() {
        QTest::addColumn<QList<int>>("years");
        QTest::addColumn<int>("endYear");
        QTest::addColumn<int>("count");
        QTest::newRow("no own data: the 15 years up to today") << QList<int>{} << 2027 << 15;
        QTest::newRow("eleven years") << QList<int>{2005, 1995, 2000} << 2006 << 11;
        QTest::newRow("older data than 15 years: the last 15") << QList<int>{1980, 1990, 2003} << 2004 << 15;
        QTest::newRow("one year") << QList<int>{1988} << 1989 << 1;
    }
    void defaultSpan() {
        QFETCH(QList<int>, years);
        QFETCH(int, endYear);
        QFETCH(int, count);
        const TEvalSpan span = DefaultEvalSpan(years, 2026);
        QCOMPARE(span.endYear, endYear);
        QCOMPARE(span.years, count);
    }

    void titleLegendAndAttribution() {
        FakeArchive archive;
        archive.fill = [](TMonthSummary &m) {
            m.SIDC = 70;
            m.MeanBeck = 900;
            m.Counts[10] = 4;
        };
        const TEvalData d = ComputeEvalData(Range(2006, 11), std::ref(archive));
        TEvalFigure figure;
        figure.observerName = QStringLiteral("Erika Mustermann");
        figure.shown = Only({kRe, kBeck, kSidc, kTarvoDef});
        TPlot plot = EvaluationPlot(d, figure);
        QCOMPARE(plot.title, QStringLiteral("Relativzahlen 1995–2005"));
        QCOMPARE(plot.subtitle, QStringLiteral("Beobachter: Erika Mustermann"));
        QCOMPARE(plot.x.title, QStringLiteral("Jahr"));
        QCOMPARE(plot.y.title, QStringLiteral("Monatsmittel"));
        QStringList labels;
        for (const TPlotSeries &s : plot.series)
            labels << s.label;
        QCOMPARE(labels, (QStringList{"Re", "Beck ÷ 10", "Tarvo Def (keine Daten)", "SIDC"}));
        QVERIFY(plot.attribution.contains(QLatin1String("WDC-SILSO")));
        QVERIFY(plot.attribution.contains(QLatin1String("CC BY-NC 4.0")));

        // Only A: the axis names the scale; no SIDC, no attribution; no relative number.
        figure.shown = Only({kA});
        plot = EvaluationPlot(d, figure);
        QCOMPARE(plot.y.title, QStringLiteral("Monatsmittel × 100"));
        QCOMPARE(plot.series[0].label, QStringLiteral("A (keine Daten)"));
        QVERIFY(plot.attribution.isEmpty());
        QCOMPARE(plot.title, QStringLiteral("Monatsmittel 1995–2005"));
        // Smoothed series are thick and drawn above the monthly ones.
        figure.shown = Only({kRe, kR13, kSidcM});
        plot = EvaluationPlot(d, figure);
        QVERIFY(plot.series[0].width < plot.series[1].width);
        QCOMPARE(plot.series[1].layer, 1);
        QCOMPARE(plot.series[2].layer, 1);
        QCOMPARE(plot.series[0].layer, 0);
    }

    void curveNames_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("curve");
        QTest::newRow("re") << "re" << kRe;
        QTest::newRow("capitals") << "R13" << kR13;
        QTest::newRow("sidcm") << "sidcm" << kSidcM;
        QTest::newRow("caption without blank") << "SIDCM" << kSidcM;
        QTest::newRow("tarvodef") << "tarvodef" << kTarvoDef;
        QTest::newRow("ab") << "ab" << 9;
        QTest::newRow("p9") << "p9" << kP9;
        QTest::newRow("unknown") << "rz" << -1;
    }
    void curveNames() {
        QFETCH(QString, name);
        QFETCH(int, curve);
        QCOMPARE(CurveByName(name).value_or(-1), curve);
    }

    void curveListsRoundTrip() {
        QStringList unknown;
        const TCurveSwitches shown = CurvesFromNames({"sidc", "re", "nix", "p9"}, &unknown);
        QCOMPARE(unknown, QStringList{"nix"});
        QCOMPARE(CurveNames(shown), (QStringList{"re", "sidc", "p9"}));
        QCOMPARE(CurveNames(DefaultCurves()), (QStringList{"re", "r13", "sidc", "sidcm"}));
        TCurveSwitches all{};
        all.fill(true);
        QCOMPARE(CurvesFromNames(CurveNames(all)), all);
    }

    void colourConversion() {
        QCOMPARE(ColourFromFarbe(0x0000FF), QColor(255, 0, 0));
        QCOMPARE(ColourFromFarbe(0xFF0000), QColor(0, 0, 255));
        QCOMPARE(FarbeFromColour(QColor(0x12, 0x34, 0x56)), 0x563412);
    }

    // 24 different colours that all stand out on white; the usual four
    // curves stay apart also for red-green colour blindness.
    void defaultPalette() {
        QSet<int> distinct;
        for (int i = 0; i < kCurveCount; ++i) {
            distinct << DefaultCurveColours()[i];
            QVERIFY2(ColourFromFarbe(DefaultCurveColours()[i]).lightness() < 215,
                     qPrintable(QString::number(i)));
        }
        QCOMPARE(distinct.size(), kCurveCount);
        // Deuteranopia as seen (Machado et al. 2009, severity 1), in linear RGB.
        auto deutan = [](QColor c) {
            auto lin = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
            const double r = lin(c.redF()), g = lin(c.greenF()), b = lin(c.blueF());
            return std::array<double, 3>{0.367322 * r + 0.860646 * g - 0.227968 * b,
                                         0.280085 * r + 0.672501 * g + 0.047413 * b,
                                         -0.011820 * r + 0.042940 * g + 0.968881 * b};
        };
        const int usual[] = {kRe, kR13, kSidc, kSidcM};
        for (int a : usual)
            for (int b : usual)
                if (a < b) {
                    const auto x = deutan(ColourFromFarbe(DefaultCurveColours()[a]));
                    const auto y = deutan(ColourFromFarbe(DefaultCurveColours()[b]));
                    const double distance = std::sqrt(std::pow(x[0] - y[0], 2) + std::pow(x[1] - y[1], 2) +
                                                      std::pow(x[2] - y[2], 2));
                    QVERIFY2(distance > 0.1,
                             qPrintable(QStringLiteral("%1/%2: %3").arg(a).arg(b).arg(distance)));
                }

        TObserverProfile profile = EmptyProfile();
        QVERIFY(ApplyDefaultCurveColours(profile));
        QCOMPARE(profile.Farbe[13], DefaultCurveColours()[13]);
        QCOMPARE(profile.Farbe[24], 0); // only the 24 used ones
        profile = EmptyProfile();
        profile.Farbe[5] = 0x123456;
        QVERIFY(!ApplyDefaultCurveColours(profile));
        QCOMPARE(profile.Farbe[0], 0);
    }
};

QTEST_MAIN(TestEvalSeries)
#include "test_eval_series.moc"
