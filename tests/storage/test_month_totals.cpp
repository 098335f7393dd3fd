#include "storage/month_totals.h"

#include <QtTest>
#include <cstring>

namespace {

TMonthBlock EmptyBlock() {
    TMonthBlock b;
    std::memset(&b, 0, sizeof b);
    return b;
}

TDayRecord ObservedDay() {
    TDayRecord d;
    std::memset(&d, 0xFF, sizeof d);
    d.Bemerkung.assign(QString());
    d.Zeit.assign(QStringLiteral("09:00"));
    return d;
}

} // namespace

class MonthTotalsTest : public QObject {
    Q_OBJECT
private slots:
    void sumsAreFullWidthAndTheHeaderKeepsItsLayout() {
        TMonthBlock b = EmptyBlock();
        b.Header().Bemerkung.assign(QStringLiteral("110000000000000"));
        b.Header().Zeit.assign(QStringLiteral("xx")); // cleared by the recomputation
        for (int d = 1; d <= 31; ++d) {
            b.Days[d] = ObservedDay();
            b.Days[d].A = 5;
            b.Days[d].Re = 2000;
        }
        const TMonthTotals t = SumMonth(b, 7, 2004);
        QCOMPARE(t.DaysInMonth, 31);
        QCOMPARE(t.Sums[15], std::int64_t(155));
        QCOMPARE(t.Counts[15], 31);
        QCOMPARE(t.mean(15), 5.0);
        QCOMPARE(t.Sums[9], std::int64_t(62000));
        QCOMPARE(b.Header().A, std::int8_t(155 - 256));     // the stored field wraps
        QCOMPARE(b.Header().Re, std::int16_t(62000 - 65536));
        QCOMPARE(b.Header().Bemerkung.text(), QStringLiteral("110000000000000"));
        QCOMPARE(b.Header().Zeit.length(), 0);
        QCOMPARE(t.Counts[0], 0); // Ruhe -1 on every day
        QCOMPARE(t.mean(0), 0.0);
    }

    void onlyObservedDaysOfTheMonthCount() {
        TMonthBlock b = EmptyBlock();
        for (int d : {1, 2, 3}) {
            b.Days[d] = ObservedDay();
            b.Days[d].Re = static_cast<std::int16_t>(d == 1 ? 30 : d == 2 ? 40 : 45);
        }
        b.Days[4] = ObservedDay();
        b.Days[4].Zeit.assign(QString()); // values without a time count nowhere
        b.Days[4].Re = 500;
        b.Days[30] = ObservedDay(); // beyond February
        b.Days[30].Re = 500;
        const TMonthTotals t = ComputeMonthTotals(b, 2, 2003);
        QCOMPARE(t.Sums[9], std::int64_t(115));
        QCOMPARE(t.Counts[9], 3);
        QVERIFY(qAbs(t.mean(9) - 38.333333333) < 1e-6);
    }
};

QTEST_GUILESS_MAIN(MonthTotalsTest)
#include "test_month_totals.moc"
