// The comparison's formulas: the hand-worked month (see reference_fixture.h),
// every value that may be undefined, the year over all its common days, the
// running 13-month mean of k, and the real SILSO days of 2000.
#include "reference/comparison.h"
#include "reference/silso_files.h"
#include "reference_fixture.h"

#include <QTest>
#include <cmath>
#include <memory>

namespace {

const QString kSilso = QStringLiteral(TARVO_TEST_DATA "/silso/");

TSilsoDailySeries HandSilso() {
    return {ParseSilsoDailyFile(HandSilsoDailyCsv(), "hand.csv")};
}

TSilsoHemSeries HandHem() {
    return {ParseSilsoHemFile(HandSilsoHemCsv(), "hand-hem.csv")};
}

bool Near(const std::optional<double> &value, double expected) {
    return value && std::abs(*value - expected) < 1e-9;
}

#define QCOMPARE_NEAR(value, expected)                                                                       \
    QVERIFY2(Near(value, expected),                                                                          \
             qPrintable(QStringLiteral("%1 is %2, expected %3")                                              \
                            .arg(QLatin1String(#value))                                                      \
                            .arg((value) ? QString::number(*(value), 'g', 12) : QStringLiteral("undefined")) \
                            .arg(expected, 0, 'g', 12)))

TComparisonDay CommonDay(int re, int silso) {
    TComparisonDay d;
    d.re = re;
    d.silso = silso;
    if (re > 0)
        d.ratio = static_cast<double>(silso) / re;
    return d;
}

std::unique_ptr<TYearBuffer> EmptyYear() {
    auto year = std::make_unique<TYearBuffer>();
    std::memset(static_cast<void *>(year.get()), 0, sizeof(TYearBuffer));
    return year;
}

} // namespace

class TestComparison : public QObject {
    Q_OBJECT

private slots:
    void handMonthDayByDay() {
        const TMonthComparison m = CompareMonth(HandYear(), kHandYear, kHandMonth, HandSilso(), HandHem());
        QCOMPARE(m.days.size(), 31);
        struct Expected {
            std::optional<int> re, silso;
            std::optional<double> ratio;
        };
        const Expected expected[] = {{50, 60, 1.2},
                                     {40, 48, 1.2},
                                     {0, 10, std::nullopt},
                                     {std::nullopt, 70, std::nullopt},
                                     {std::nullopt, 80, std::nullopt},
                                     {30, std::nullopt, std::nullopt},
                                     {20, std::nullopt, std::nullopt},
                                     {10, 16, 1.6},
                                     {std::nullopt, std::nullopt, std::nullopt}};
        for (int i = 0; i < 9; ++i) {
            const TComparisonDay &d = m.days[i];
            QCOMPARE(d.day, i + 1);
            QCOMPARE(d.re, expected[i].re);
            QCOMPARE(d.silso, expected[i].silso);
            QCOMPARE(d.ratio.has_value(), expected[i].ratio.has_value());
            if (d.ratio)
                QCOMPARE_NEAR(d.ratio, *expected[i].ratio);
        }
    }

    void handMonthStatistics() {
        const TMonthComparison m = CompareMonth(HandYear(), kHandYear, kHandMonth, HandSilso(), HandHem());
        QCOMPARE(m.stats.days, 4);
        QCOMPARE(m.stats.ratios, 3);
        QCOMPARE_NEAR(m.stats.meanRe, 25.0);
        QCOMPARE_NEAR(m.stats.meanSilso, 33.5);
        QCOMPARE_NEAR(m.stats.k, 1.34);
        QCOMPARE_NEAR(m.stats.ratioMean, 4.0 / 3);
        QCOMPARE_NEAR(m.stats.ratioSpread, std::sqrt((2 * 0.4 / 3 * 0.4 / 3 + 0.8 / 3 * 0.8 / 3) / 2));
        QCOMPARE(m.north.days, 3);
        QCOMPARE_NEAR(m.north.ownMean, 15.0);
        QCOMPARE_NEAR(m.north.silso, 30.0);
        QCOMPARE_NEAR(m.north.k, 2.0);
        QCOMPARE(m.south.days, 2);
        QCOMPARE_NEAR(m.south.ownMean, 15.0);
        QCOMPARE_NEAR(m.south.silso, 22.5);
        QCOMPARE_NEAR(m.south.k, 1.5);
    }

    // Which values a list of days leaves undefined.
    void undefinedStatistics_data() {
        QTest::addColumn<QVector<TComparisonDay>>("days");
        QTest::addColumn<int>("n");
        QTest::addColumn<bool>("means");
        QTest::addColumn<bool>("k");
        QTest::addColumn<bool>("ratioMean");
        QTest::addColumn<bool>("ratioSpread");
        TComparisonDay onlyOwn;
        onlyOwn.re = 30;
        TComparisonDay onlySilso;
        onlySilso.silso = 30;
        QTest::newRow("no common day")
            << QVector<TComparisonDay>{onlyOwn, onlySilso, {}} << 0 << false << false << false << false;
        QTest::newRow("sum of Re is 0") << QVector<TComparisonDay>{CommonDay(0, 5), CommonDay(0, 0)} << 2
                                        << true << false << false << false;
        QTest::newRow("one ratio") << QVector<TComparisonDay>{CommonDay(0, 5), CommonDay(20, 30)} << 2 << true
                                   << true << true << false;
        QTest::newRow("two ratios") << QVector<TComparisonDay>{CommonDay(10, 5), CommonDay(20, 30)} << 2
                                    << true << true << true << true;
    }
    void undefinedStatistics() {
        QFETCH(QVector<TComparisonDay>, days);
        QFETCH(int, n);
        QFETCH(bool, means);
        QFETCH(bool, k);
        QFETCH(bool, ratioMean);
        QFETCH(bool, ratioSpread);
        const TComparisonStats s = ComparisonStats(days);
        QCOMPARE(s.days, n);
        QCOMPARE(s.meanRe.has_value(), means);
        QCOMPARE(s.meanSilso.has_value(), means);
        QCOMPARE(s.k.has_value(), k);
        QCOMPARE(s.ratioMean.has_value(), ratioMean);
        QCOMPARE(s.ratioSpread.has_value(), ratioSpread);
    }

    void oneRatioAndZeroSum() {
        const TComparisonStats one = ComparisonStats({CommonDay(0, 5), CommonDay(20, 30)});
        QCOMPARE_NEAR(one.k, 35.0 / 20);
        QCOMPARE_NEAR(one.ratioMean, 1.5);
        QCOMPARE_NEAR(one.meanRe, 10.0);
        const TComparisonStats zero = ComparisonStats({CommonDay(0, 5), CommonDay(0, 0)});
        QCOMPARE_NEAR(zero.meanRe, 0.0);
        QCOMPARE_NEAR(zero.meanSilso, 2.5);
    }

    // Hemispheres without SILSO's month, with an own mean of 0, without own days.
    void undefinedHemispheres() {
        TYearBuffer own = HandYear();
        const TMonthComparison noHem =
            CompareMonth(own, kHandYear, kHandMonth, HandSilso(), TSilsoHemSeries{});
        QCOMPARE_NEAR(noHem.north.ownMean, 15.0);
        QVERIFY(!noHem.north.silso && !noHem.north.k);
        for (int d : {1, 2})
            own.Day(kHandMonth, d).g_n = own.Day(kHandMonth, d).f_n = 0;
        for (int d : {1, 8})
            own.Day(kHandMonth, d).g_s = own.Day(kHandMonth, d).f_s = -1;
        const TMonthComparison m = CompareMonth(own, kHandYear, kHandMonth, HandSilso(), HandHem());
        QCOMPARE_NEAR(m.north.ownMean, 0.0);
        QCOMPARE_NEAR(m.north.silso, 30.0);
        QVERIFY(!m.north.k);
        QCOMPARE(m.south.days, 0);
        QVERIFY(!m.south.ownMean && !m.south.k);
    }

    // The year pools all its common days: not the mean of the monthly k.
    void yearOverAllCommonDays() {
        TYearBuffer own = HandYear();
        own.Day(4, 1) = ObservedDayRecord("10:00", 4, 10); // Re 50
        TSilsoDailySeries silso = HandSilso();
        silso.days.push_back({static_cast<int>(QDate(2000, 4, 1).toJulianDay()), 50, 1, 1, false});
        const TYearComparison y = CompareYear(own, kHandYear, silso, HandHem());
        QCOMPARE(y.year, 2000);
        QCOMPARE_NEAR(y.months[2].stats.k, 1.34);
        QCOMPARE_NEAR(y.months[3].stats.k, 1.0);
        QCOMPARE(y.months[0].stats.days, 0);
        QVERIFY(!y.months[0].stats.k);
        QCOMPARE(y.stats.days, 5);
        QCOMPARE_NEAR(y.stats.k, 184.0 / 150);
        QCOMPARE_NEAR(y.stats.meanRe, 150.0 / 5);
        QCOMPARE_NEAR(y.stats.ratioMean, 1.25);
        QCOMPARE_NEAR(y.stats.ratioSpread, std::sqrt(0.19 / 3));
        QCOMPARE_NEAR(y.months[2].north.k, 2.0);
        QVERIFY(!y.months[3].north.silso);
    }

    // One common day a month, Re 10 against 10 + i (i = months since January
    // 1999): k = 1 + i / 10 grows evenly, so a full window's mean is its centre.
    void runningMeanOverThirteenMonths() {
        TSilsoDailySeries silso;
        QList<int> yearsRead;
        const QSet<int> cloudy = {200005, 200006, 200007, 200008};
        for (int i = 0; i < 48; ++i)
            silso.days.push_back(
                {static_cast<int>(QDate(1999 + i / 12, i % 12 + 1, 15).toJulianDay()), 10 + i, 1, 1, false});
        const auto read = [&](int year, TYearBuffer &buffer) {
            yearsRead << year;
            for (int month = 1; month <= 12; ++month)
                if (!cloudy.contains(year * 100 + month))
                    buffer.Day(month, 15) = ObservedDayRecord("10:00", 1, 0);
            return true;
        };
        const TSpanComparison span = CompareSpan(2000, 2001, read, silso);
        QCOMPARE(yearsRead, (QList<int>{1999, 2000, 2001, 2002}));
        QCOMPARE(span.months.size(), 24);
        QCOMPARE(span.months[0].year, 2000);
        QCOMPARE(span.months[0].month, 1);
        QCOMPARE_NEAR(span.months[0].stats.k, 2.2);
        // January 2000: three of its window's months are cloudy, ten remain.
        QCOMPARE_NEAR(span.months[0].runningK, 2.05);
        // July 2000: four are cloudy, nine remain - too few.
        QVERIFY(!span.months[6].runningK);
        QVERIFY(!span.months[6].stats.k);
        // December 2000: ten of 13 (20 .. 29); March 2001 .. December 2001: full
        // windows, the last one reaching June 2002.
        QCOMPARE_NEAR(span.months[11].runningK, 3.45);
        QCOMPARE_NEAR(span.months[14].runningK, 3.6);
        QCOMPARE_NEAR(span.months[23].runningK, 4.5);
        QCOMPARE(span.stats.days, 20);
        double sumSilso = 0;
        for (int i = 12; i < 36; ++i)
            if (!cloudy.contains((1999 + i / 12) * 100 + i % 12 + 1))
                sumSilso += 10 + i;
        QCOMPARE_NEAR(span.stats.k, sumSilso / 200);
    }

    // The real SILSO days of 2000 against an observer who sees 70 % of them
    // on every second day: the sums are taken from the file itself.
    void realYear2000() {
        const QByteArray csv = ReadBytes(kSilso + "SN_d_tot_V2.0_2000.csv");
        const TSilsoDailySeries silso{ParseSilsoDailyFile(csv, "2000.csv")};
        const auto own = EmptyYear();
        long sumSilso = 0, sumRe = 0;
        int common = 0;
        for (const QByteArray &line : csv.split('\n')) {
            const QList<QByteArray> f = line.split(';');
            if (f.size() != 8)
                continue;
            const QDate date(f[0].toInt(), f[1].toInt(), f[2].toInt());
            if (date.day() % 2 == 0)
                continue;
            const int sn = f[4].trimmed().toInt();
            const int re = static_cast<int>(std::lround(0.7 * sn));
            own->Day(date.month(), date.day()) = ObservedDayRecord("11:00", re / 10, re % 10);
            ++common;
            sumSilso += sn;
            sumRe += re;
        }
        const TYearComparison y = CompareYear(*own, 2000, silso, TSilsoHemSeries{});
        QCOMPARE(y.stats.days, common);
        QCOMPARE(common, 187);
        QCOMPARE_NEAR(y.stats.k, static_cast<double>(sumSilso) / sumRe);
        QVERIFY(std::abs(*y.stats.k - 1 / 0.7) < 0.01);
        QVERIFY(std::abs(*y.stats.ratioMean - 1 / 0.7) < 0.02);
        QVERIFY(*y.stats.ratioSpread < 0.05);
        const TMonthComparison &july = y.months[6];
        QCOMPARE(july.stats.days, 16);
        QCOMPARE(july.days[0].silso, std::optional<int>(208));
        QVERIFY(!july.days[1].re && july.days[1].silso);
    }

    void defaultYears_data() {
        QTest::addColumn<QList<int>>("yearFiles");
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("spanFirst");
        QTest::newRow("latest with both") << QList<int>{1995, 1998, 2000, 2003} << 2000 << 1995;
        QTest::newRow("no SILSO: latest own") << QList<int>{1990, 2003} << 2003 << 2003;
        QTest::newRow("nothing") << QList<int>{} << 2026 << 2026;
    }
    void defaultYears() {
        QFETCH(QList<int>, yearFiles);
        QFETCH(int, year);
        QFETCH(int, spanFirst);
        TSilsoDailySeries silso;
        if (yearFiles.contains(2000) || yearFiles.contains(1998))
            for (int y : {1998, 2000})
                silso.days.push_back({static_cast<int>(QDate(y, 6, 1).toJulianDay()), 100, 1, 1, false});
        const auto has = [&](int y) { return yearFiles.contains(y); };
        QCOMPARE(DefaultComparisonYear(silso, 2026, has), year);
        QCOMPARE(DefaultSpanFirstYear(year, has), spanFirst);
    }
};

QTEST_GUILESS_MAIN(TestComparison)
#include "test_comparison.moc"
