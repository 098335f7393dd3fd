#include "month/month_cells.h"
#include "month/month_columns.h"
#include "month/month_edit.h"
#include "month/month_navigation.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QTemporaryDir>
#include <QTest>
#include <cstring>

namespace {

TDayRecord Observed(const char *zeit) {
    TDayRecord d;
    std::memset(&d, 0xFF, sizeof d); // every number "not given"
    d.Bemerkung.assign(QString());
    d.Zeit.assign(QString::fromLatin1(zeit));
    d.z_f.assign(QString());
    d.Po.assign(QString());
    return d;
}

} // namespace

class TestMonthLogic : public QObject {
    Q_OBJECT

private slots:
    void dayNumbers() {
        QCOMPARE(DayNumberText(1, 28), QStringLiteral("01"));
        QCOMPARE(DayNumberText(28, 28), QStringLiteral("28"));
        QCOMPARE(DayNumberText(29, 28), QString());
    }

    void dayCells_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<bool>("observed");
        QTest::addColumn<QString>("expected");
        QTest::newRow("remark of an observed day") << 1 << true << QStringLiteral("Wolken");
        QTest::newRow("remark of an unobserved day") << 1 << false << QStringLiteral("Wolken");
        QTest::newRow("time") << 2 << true << QStringLiteral(" 9:05");
        QTest::newRow("time unobserved") << 2 << false << QString();
        QTest::newRow("Re") << 12 << true << QStringLiteral("45");
        QTest::newRow("Re unobserved") << 12 << false << QString();
        QTest::newRow("Rs int32") << 13 << true << QStringLiteral("70000");
        QTest::newRow("not given") << 3 << true << QString();
        QTest::newRow("A signed 8 bit") << 18 << true << QStringLiteral("-5");
        QTest::newRow("pfs") << 25 << true << QStringLiteral("0");
    }
    void dayCells() {
        QFETCH(int, kind);
        QFETCH(bool, observed);
        QFETCH(QString, expected);
        TDayRecord d = Observed(" 9:05");
        d.Bemerkung.assign(QStringLiteral("Wolken"));
        d.Re = 45;
        d.Rs = 70000;
        d.A = -5;
        d.pfs = 0;
        QCOMPARE(DayCellText(d, kind, observed), expected);
    }

    void formatFixed_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("precision");
        QTest::addColumn<QString>("german");
        QTest::addColumn<QString>("c");
        QTest::newRow("38.33") << 115.0 / 3 << 4 << "38,3"
                               << "38.3";
        QTest::newRow("whole") << 5.0 << 4 << "5,0"
                               << "5.0";
        QTest::newRow("zero") << 0.0 << 4 << "0,0"
                              << "0.0";
        QTest::newRow("four integer digits") << 1234.56 << 4 << "1235,0"
                                             << "1235.0";
        QTest::newRow("no grouping") << 1234.56 << 5 << "1234,6"
                                     << "1234.6";
        QTest::newRow("Rb precision 5") << 123.45678 << 5 << "123,5"
                                        << "123.5";
        QTest::newRow("scientific") << 12345.6 << 4 << "1,235E+004"
                                    << "1.235E+004";
        QTest::newRow("rounds up into scientific") << 9999.96 << 4 << "1,000E+004"
                                                   << "1.000E+004";
        QTest::newRow("small") << 0.25 << 4 << "0,3"
                               << "0.3";
    }
    void formatFixed() {
        QFETCH(double, value);
        QFETCH(int, precision);
        QFETCH(QString, german);
        QFETCH(QString, c);
        QCOMPARE(FormatFixed(value, precision, 1, QLocale(QLocale::German, QLocale::Germany)), german);
        QCOMPARE(FormatFixed(value, precision, 1, QLocale::c()), c);
    }

    void summaryTextsGerman() {
        TMonthBlock block{};
        const int re[] = {30, 40, 45};
        for (int i = 0; i < 3; ++i) {
            TDayRecord d = Observed("10:00");
            d.Re = static_cast<std::int16_t>(re[i]);
            d.Ruhe = -1;
            d.A = 100; // three days of 100: the sum does not fit 8 bits
            block.Days[static_cast<size_t>(i + 1)] = d;
        }
        TDayRecord remarkOnly{};
        remarkOnly.Bemerkung.assign(QStringLiteral("bewölkt"));
        remarkOnly.Re = 500; // no time: counts nowhere
        block.Days[4] = remarkOnly;
        const TMonthTotals totals = SumMonth(block, 3, 2004);
        const QLocale german(QLocale::German, QLocale::Germany);

        const TSummaryTexts reTexts = SummaryTexts(totals, 12, german);
        QCOMPARE(reTexts.sum, QStringLiteral("115"));
        QCOMPARE(reTexts.count, QStringLiteral("3"));
        QCOMPARE(reTexts.mean, QStringLiteral("38,3"));

        const TSummaryTexts ruhe = SummaryTexts(totals, 3, german);
        QVERIFY(ruhe.sum.isEmpty() && ruhe.count.isEmpty() && ruhe.mean.isEmpty());

        const TSummaryTexts a = SummaryTexts(totals, 18, german);
        QCOMPARE(a.sum, QStringLiteral("300"));
        QCOMPARE(a.mean, QStringLiteral("100,0"));
        QCOMPARE(block.Header().A, static_cast<std::int8_t>(300 - 256)); // the record keeps its width

        QVERIFY(SummaryTexts(totals, 1, german).sum.isEmpty()); // no summary for the remark
    }

    void seeingSumShownOnlyAboveZero() {
        TMonthBlock block{};
        TDayRecord d = Observed("08:00");
        d.Ruhe = 0;
        block.Days[1] = d;
        const TMonthTotals totals = SumMonth(block, 1, 2004);
        const TSummaryTexts ruhe = SummaryTexts(totals, 3, QLocale::c());
        QCOMPARE(ruhe.sum, QString());
        QCOMPARE(ruhe.count, QStringLiteral("1"));
        QCOMPARE(ruhe.mean, QStringLiteral("0.0"));
    }

    void navigation_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("expected");
        QTest::newRow("PageUp from 15") << int(Qt::Key_PageUp) << 15 << 31 << 5;
        QTest::newRow("PageUp from 11") << int(Qt::Key_PageUp) << 11 << 31 << 1;
        QTest::newRow("PageDown from 5") << int(Qt::Key_PageDown) << 5 << 31 << 15;
        QTest::newRow("PageDown from 21") << int(Qt::Key_PageDown) << 21 << 31 << 31;
        QTest::newRow("PageDown in February") << int(Qt::Key_PageDown) << 18 << 28 << 28;
        QTest::newRow("Home") << int(Qt::Key_Home) << 17 << 30 << 1;
        QTest::newRow("End") << int(Qt::Key_End) << 3 << 30 << 30;
        QTest::newRow("Up wraps") << int(Qt::Key_Up) << 1 << 29 << 29;
        QTest::newRow("Up elsewhere") << int(Qt::Key_Up) << 7 << 29 << 0;
        QTest::newRow("Down wraps") << int(Qt::Key_Down) << 29 << 29 << 1;
        QTest::newRow("Down elsewhere") << int(Qt::Key_Down) << 7 << 29 << 0;
        QTest::newRow("other key") << int(Qt::Key_A) << 7 << 29 << 0;
    }
    void navigation() {
        QFETCH(int, key);
        QFETCH(int, row);
        QFETCH(int, days);
        QFETCH(int, expected);
        QCOMPARE(NavigateRow(key, row, days), expected);
    }

    void nextDayTemplate() {
        TYearBuffer year{};
        TDayRecord ten = Observed("11:30");
        ten.Bemerkung.assign(QStringLiteral("gut"));
        ten.Re = 77;
        year.Day(5, 10) = ten;
        const TDayRecord undo = ApplyNextDayTemplate(year, 5, 11);
        QVERIFY(!undo.observed());
        QCOMPARE(std::memcmp(&year.Day(5, 11), &ten, sizeof ten), 0);

        TDayRecord twelve = Observed("12:00");
        year.Day(5, 12) = twelve;
        ApplyNextDayTemplate(year, 5, 12); // already observed: left alone
        QCOMPARE(std::memcmp(&year.Day(5, 12), &twelve, sizeof twelve), 0);

        year.Months[5].Header().Zeit.assign(QStringLiteral("xx"));
        ApplyNextDayTemplate(year, 5, 1); // the header is never a template
        QVERIFY(!year.Day(5, 1).observed());
    }

    void clearDayAndStatus() {
        TYearBuffer year{};
        year.Day(2, 3) = Observed("07:00");
        year.Months[2].Header().Bemerkung.assign(QStringLiteral("110000000000000"));
        ClearDay(year, 2, 3);
        const TDayRecord zero{};
        QCOMPARE(std::memcmp(&year.Day(2, 3), &zero, sizeof zero), 0);
        ClearDispatchStatus(year, 2);
        QVERIFY(year.Months[2].Header().Bemerkung.empty());
    }

    void shiftMonth() {
        TYearBuffer year{};
        year.Day(3, 1) = Observed("09:00");
        year.Months[3].Header().Bemerkung.assign(QStringLiteral("100000000000000"));
        year.Day(4, 2) = Observed("10:00"); // April's own data is replaced
        const TMonthBlock march = year.Months[3];
        ShiftMonth(year, 3, 4);
        QCOMPARE(std::memcmp(&year.Months[4], &march, sizeof march), 0);
        const TMonthBlock empty{};
        QCOMPARE(std::memcmp(&year.Months[3], &empty, sizeof empty), 0);
    }

    void shiftMonthRefused_data() {
        QTest::addColumn<int>("source");
        QTest::addColumn<int>("target");
        QTest::newRow("January proposes 0") << 1 << 0;
        QTest::newRow("beyond December") << 12 << 13;
        QTest::newRow("negative") << 5 << -3;
        QTest::newRow("onto itself") << 6 << 6;
    }
    void shiftMonthRefused() {
        QFETCH(int, source);
        QFETCH(int, target);
        TYearBuffer year{};
        year.Day(source, 1) = Observed("09:00");
        const QByteArray before(reinterpret_cast<const char *>(&year), sizeof year);
        QVERIFY_THROWS_EXCEPTION(TarvoError, ShiftMonth(year, source, target));
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(&year), sizeof year), before);
        try {
            CheckShiftTarget(source, target);
            QFAIL("no message");
        } catch (const TarvoError &e) {
            QVERIFY(!e.message().isEmpty());
        }
    }

    void shownColumnsOfTheDefaultLayout() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        ResetColumnLayout();
        const auto cols = ShownColumns(Storage().ColumnLayout);
        QStringList titles;
        for (const auto &c : cols)
            titles << c.Title;
        QCOMPARE(titles, QStringList({"Tag", "Bemerkung", "UT", "R", "S", "Q", "Gn", "Fn", "Gs", "Fs", "G",
                                      "F", "Re", "Rb", "A"}));
        QCOMPARE(cols[13].Width, 40);
        QCOMPARE(cols[1].Ausr, 3);
    }

    void shownColumnsOfADamagedLayout() {
        TColumnLayout layout{};
        layout[0].Sichtbar = 0; // the day column is shown anyway
        layout[5].Sichtbar = 1;
        layout[5].Spalte = 7;
        layout[9].Sichtbar = 1;
        layout[9].Spalte = 7; // repeated
        layout[2].Sichtbar = 1;
        layout[2].Spalte = 500; // beyond the grid
        layout[2].Spaltenbreite = -4;
        const auto cols = ShownColumns(layout);
        QCOMPARE(cols.size(), size_t(4));
        QCOMPARE(cols[0].Kind, 0);
        QCOMPARE(cols[1].Kind, 5);
        QCOMPARE(cols[2].Kind, 9);
        QCOMPARE(cols[3].Kind, 2);
        QVERIFY(cols[3].Width > 0);
    }
};

QTEST_GUILESS_MAIN(TestMonthLogic)
#include "test_month_logic.moc"
