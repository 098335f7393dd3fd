#include "storage_fixture.h"
#include "storage/archive.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <QFileInfo>
#include <QtTest>

namespace {

// A year in which day 1 of every month is observed with Re = `re`.
TYearBuffer YearWithRe(int re) {
    TYearBuffer y = ZeroYear();
    for (int m = 1; m <= 12; ++m)
        y.Day(m, 1) = MakeDay(true, static_cast<std::int16_t>(re));
    return y;
}

TMonthSummary Aggregated(TYearBuffer y, int month, int year) {
    TMonthSummary s;
    std::memset(&s, 0, sizeof s);
    AggregateMonth(month, year, y, s);
    return s;
}

std::vector<TMonthSummary> ArchiveRecords(const ObserverFixture &fx, const QString &name) {
    const QByteArray bytes = fx.read(name);
    std::vector<TMonthSummary> records(bytes.size() / sizeof(TMonthSummary));
    std::memcpy(records.data(), bytes.constData(), records.size() * sizeof(TMonthSummary));
    return records;
}

} // namespace

class ArchiveTest : public QObject {
    Q_OBJECT
private slots:
    void namesFollowFiftyYearSpans_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("name");
        QTest::newRow("2004") << 2004 << "0001/20002049.asw";
        QTest::newRow("2000") << 2000 << "0001/20002049.asw";
        QTest::newRow("1999") << 1999 << "0001/19501999.asw";
        QTest::newRow("2050") << 2050 << "0001/20502099.asw";
    }
    void namesFollowFiftyYearSpans() {
        QFETCH(int, year);
        QFETCH(QString, name);
        ObserverFixture fx;
        QCOMPARE(ArchiveFileName(year), name);
    }

    void weightsMatchTheirTable() {
        const double n9[] = {1, 0.963418, 0.859047, 0.702332, 0.516755, 0.330452, 0.171468, 0.061659, 0.009245};
        const double n5[] = {1, 0.884736, 0.592704, 0.262144, 0.046656};
        for (int i = 0; i <= 8; ++i)
            QVERIFY(qAbs(SmoothingWeight(i, 9) - n9[i]) < 5e-7);
        for (int i = 0; i <= 4; ++i)
            QVERIFY(qAbs(SmoothingWeight(-i, 5) - n5[i]) < 5e-7);
    }

    void monthAggregation() {
        TYearBuffer y = ZeroYear();
        // March 2004: Re 30, 40, 45; day 4 has values but no time.
        for (auto [day, re] : {std::pair{1, 30}, {2, 40}, {3, 45}})
            y.Day(3, day) = MakeDay(true, static_cast<std::int16_t>(re));
        y.Day(3, 4) = MakeDay(false, 999);
        y.Day(3, 1).g_n = 2; // f_n not given: counts for the divisor, adds nothing
        y.Day(3, 2).g_n = 1;
        y.Day(3, 2).f_n = 7;
        TMonthSummary s = Aggregated(y, 3, 2004);
        QCOMPARE(s.MeanRe, 115.0 / 3.0);
        QCOMPARE(s.Counts[9], 3);
        QCOMPARE(s.Counts[3], 2);
        QCOMPARE(s.MeanReNord, (10.0 * 3 + 7) / 2);
        QCOMPARE(s.MeanBeck, 0.0);
        QCOMPARE(s.Counts[10], 0);

        // 31 days of A = 5: the sum needs more than 8 bits.
        for (int d = 1; d <= 31; ++d) {
            y.Day(5, d) = MakeDay(true, 10);
            y.Day(5, d).A = 5;
            y.Day(5, d).Rs = 100000000; // 31 of them do not fit a 32-bit sum
        }
        s = Aggregated(y, 5, 2004);
        QCOMPARE(s.MeanA, 5.0);
        QCOMPARE(s.Counts[15], 31);
        QCOMPARE(s.MeanBeck, 100000000.0);

        // A month without observations.
        s = Aggregated(y, 7, 2004);
        QCOMPARE(s.MeanRe, 0.0);
        for (int k = 0; k < 50; ++k)
            QCOMPARE(s.Counts[k], 0);
    }

    void februaryFollowsTheLeapYear_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<int>("days");
        QTest::newRow("2004 leap") << 2004 << 29;
        QTest::newRow("2003 common") << 2003 << 28;
        QTest::newRow("1900 common") << 1900 << 28;
        QTest::newRow("2000 leap") << 2000 << 29;
    }
    void februaryFollowsTheLeapYear() {
        QFETCH(int, year);
        QFETCH(int, days);
        TYearBuffer y = ZeroYear();
        for (int d = 1; d <= 31; ++d)
            y.Day(2, d) = MakeDay(true, 10);
        QCOMPARE(Aggregated(y, 2, year).Counts[9], days);
    }

    void firstAccessCreatesTheArchive() {
        ObserverFixture fx;
        QVERIFY(WriteYear(2004, YearWithRe(50)));
        TYearSummaries sums;
        QVERIFY(LoadYearSummaries(2004, sums));
        QCOMPARE(QFileInfo(fx.observerFile("20002049.asw")).size(), qint64(600 * 589));
        const auto records = ArchiveRecords(fx, "20002049.asw");
        for (int i = 0; i < 600; ++i) {
            QCOMPARE(records[i].Jahr, 2000 + i / 12);
            QCOMPARE(int(records[i].Monat), i % 12 + 1);
            QCOMPARE(records[i].DatStamp != 0.0, records[i].Jahr == 2004);
        }
        for (int m = 0; m < 12; ++m) {
            QCOMPARE(sums[m].Jahr, 2004);
            QCOMPARE(sums[m].MeanRe, 50.0);
        }
        QCOMPARE(Storage().ArchiveNameCache, QStringLiteral("0001/20002049.asw"));
    }

    // Observer folders written without the trailing separator, or nested.
    void observerFolderSpellings_data() {
        QTest::addColumn<QString>("folder");
        QTest::newRow("no separator") << "0001";
        QTest::newRow("nested") << "beob/0001/";
        QTest::newRow("Windows separator") << "0001\\";
    }
    void observerFolderSpellings() {
        QFETCH(QString, folder);
        ObserverFixture fx;
        Storage().CurrentObserverDir = folder;
        QDir(fx.dir.path()).mkpath(QStringLiteral("beob/0001"));
        QVERIFY(WriteYear(2004, YearWithRe(50)));
        TYearSummaries sums;
        QVERIFY(LoadYearSummaries(2004, sums));
        QCOMPARE(sums[0].Jahr, 2004);
        QCOMPARE(sums[0].MeanRe, 50.0);
    }

    void negativeYearsHaveNoArchive() {
        ObserverFixture fx;
        TYearSummaries sums{};
        QVERIFY(!LoadYearSummaries(-16, sums));
        QVERIFY(!SaveYearSummaries(-1, sums));
        QCOMPARE(QDir(fx.dir.filePath("0001")).entryList(QDir::Files), QStringList());
        QVERIFY(LoadYearSummaries(0, sums)); // year 0 is the first of the archive 049
        QCOMPARE(sums[0].Jahr, 0);
    }

    void changedYearIsAggregatedAgainAndOthersAreNot() {
        ObserverFixture fx;
        QVERIFY(WriteYear(2004, YearWithRe(50)));
        QVERIFY(WriteYear(2005, YearWithRe(60)));
        TYearSummaries sums;
        QVERIFY(LoadYearSummaries(2005, sums));
        // Mark 2005 in the archive: a re-aggregation would overwrite the mark.
        sums[0].MeanBeck = 999.0;
        sums[0].SIDC = 123.4;
        QVERIFY(SaveYearSummaries(2005, sums));

        QVERIFY(WriteYear(2004, YearWithRe(80)));
        TYearSummaries y2004;
        QVERIFY(LoadYearSummaries(2004, y2004));
        QCOMPARE(y2004[6].MeanRe, 80.0);
        QVERIFY(LoadYearSummaries(2005, sums));
        QCOMPARE(sums[0].MeanBeck, 999.0);
        QCOMPARE(sums[0].SIDC, 123.4);

        // A new save of 2005 aggregates it again; the imported series stay.
        QVERIFY(WriteYear(2005, YearWithRe(60)));
        QVERIFY(LoadYearSummaries(2005, sums));
        QCOMPARE(sums[0].MeanBeck, 0.0);
        QCOMPARE(sums[0].SIDC, 123.4);
    }

    void smoothingWithinOneArchive() {
        ObserverFixture fx;
        QVERIFY(WriteYear(2000, YearWithRe(100)));
        QVERIFY(WriteYear(2001, YearWithRe(100)));
        TYearSummaries y2000, y2001;
        QVERIFY(LoadYearSummaries(2000, y2000));
        QVERIFY(LoadYearSummaries(2001, y2001));
        // No predecessor: the first 8 months keep their stored (zero) values.
        for (int m = 0; m < 8; ++m)
            QCOMPARE(y2000[m].R13, 0.0);
        // Centre with a full window of 100: all three means are 100.
        QVERIFY(qAbs(y2001[0].R13 - 100.0) < 1e-9);
        QVERIFY(qAbs(y2001[0].P17 - 100.0) < 1e-9);
        QVERIFY(qAbs(y2001[0].P9 - 100.0) < 1e-9);
        // September 2000: window Jan 2000 .. May 2001, all observed.
        QVERIFY(qAbs(y2000[8].R13 - 100.0) < 1e-9);
        // August 2001: window Dec 2000 .. Apr 2002; 2002 is empty (0).
        // Window e0 = Dec 2000 ... e8 = Aug 2001 ... e12 = Dec 2001, e13 = Jan 2002.
        // e2..e12 are 100 (Feb..Dec 2001), e13, e14 are 0.
        const double expected = (100.0 + 2 * 100.0 * 10 + 2 * 0.0 + 0.0) / 24.0;
        QVERIFY(qAbs(y2001[7].R13 - expected) < 1e-9);
        // Last 8 months of the archive (2049) stay unsmoothed.
        TYearSummaries y2049;
        QVERIFY(LoadYearSummaries(2049, y2049));
        QCOMPARE(y2049[11].P17, 0.0);
    }

    void smoothingReachesIntoNeighbouringArchives() {
        ObserverFixture fx;
        QVERIFY(WriteYear(1999, YearWithRe(120)));
        QVERIFY(WriteYear(2000, YearWithRe(120)));
        TYearSummaries y1999, y2000;
        QVERIFY(LoadYearSummaries(1999, y1999));
        QCOMPARE(y1999[11].R13, 0.0); // no successor yet
        QVERIFY(LoadYearSummaries(2000, y2000));
        QVERIFY(qAbs(y2000[0].R13 - 120.0) < 1e-9); // predecessor's last 8 months
        QVERIFY(qAbs(y2000[0].P9 - 120.0) < 1e-9);

        QVERIFY(WriteYear(1999, YearWithRe(120))); // the next access refreshes again
        QVERIFY(LoadYearSummaries(1999, y1999));
        QVERIFY(qAbs(y1999[11].R13 - 120.0) < 1e-9); // successor's first 8 months
        QVERIFY(qAbs(y1999[11].P17 - 120.0) < 1e-9);
    }

    void shortArchiveIsCompleted() {
        ObserverFixture fx;
        QVERIFY(WriteYear(2010, YearWithRe(40)));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2010, s));
        const QByteArray full = fx.read("20002049.asw");
        fx.write("20002049.asw", full.left(589 * 100)); // whole records: the rest is made anew
        QVERIFY(WriteYear(2010, YearWithRe(41)));
        QVERIFY(LoadYearSummaries(2010, s));
        QCOMPARE(s[3].MeanRe, 41.0);
        QCOMPARE(fx.read("20002049.asw").size(), 600 * 589);
        QCOMPARE(fx.read("20002049.asw").left(589 * 100), full.left(589 * 100));
    }

    void archiveChangedByAnotherProgramIsReadAgain() {
        ObserverFixture fx;
        QVERIFY(WriteYear(2004, YearWithRe(50)));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
        QCOMPARE(s[0].SIDC, 0.0);
        // Another program edits the archive in place (same file, same size).
        QFile archive(fx.observerFile("20002049.asw"));
        QVERIFY(archive.open(QIODevice::ReadWrite));
        const double sidc = 77.5;
        archive.seek((4 * 12) * 589 + offsetof(TMonthSummary, SIDC));
        archive.write(reinterpret_cast<const char *>(&sidc), sizeof sidc);
        archive.setFileTime(QDateTime::currentDateTimeUtc().addSecs(5), QFileDevice::FileModificationTime);
        archive.close();
        QVERIFY(LoadYearSummaries(2004, s));
        QCOMPARE(s[0].SIDC, 77.5);
    }

    void unreadableArchiveIsReportedAndRetried() {
        ObserverFixture fx;
        QDir(fx.dir.path()).mkpath("0001/20002049.asw");
        TYearSummaries s;
        QVERIFY_THROWS_EXCEPTION(TarvoError, LoadYearSummaries(2004, s));
        QVERIFY(Storage().ArchiveNameCache.isEmpty());
        QDir(fx.dir.path()).rmdir("0001/20002049.asw");
        QVERIFY(LoadYearSummaries(2004, s));
    }
};

QTEST_GUILESS_MAIN(ArchiveTest)
#include "test_archive.moc"
