// The month being edited, without a window: what it saves when, what it
// refuses, and what a failed save keeps.
#include "../common/day_records.h"
#include "../common/file_size_limit.h"
#include "month/month_document.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <memory>

namespace {

QByteArray FileBytes(int year) {
    QFile f(YearFileName(year));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestMonthDocument : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;

private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        StorageStartUp(dir_->path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QVERIFY(QDir(dir_->path()).mkpath(QStringLiteral("0001")));
        TYearBuffer year{};
        year.Day(3, 1) = ObservedDayRecord("08:00", 2, 10);
        year.Day(3, 2) = ObservedDayRecord("08:30", 3, 11);
        year.Months[3].Header().Bemerkung.assign(QStringLiteral("110000000000000"));
        QVERIFY(WriteYear(2004, year));
    }
    void cleanup() { dir_.reset(); }

    void openReadsTheYearAndCountsTheMonth() {
        TMonthDocument doc;
        doc.open(2004, 3);
        QCOMPARE(doc.year(), 2004);
        QCOMPARE(doc.month(), 3);
        QCOMPARE(doc.daysInMonth(), 31);
        QVERIFY(doc.isReadable());
        QVERIFY(!doc.isModified());
        QCOMPARE(doc.day(2).Re, std::int16_t(41));
        QCOMPARE(doc.totals().Sums[9], std::int64_t(71)); // Re 30 + 41
        QCOMPARE(doc.totals().Counts[9], 2);
        QCOMPARE(doc.yearData().Months[3].Header().Re, std::int16_t(71)); // the header carries the sums
        doc.open(2003, 2);
        QCOMPARE(doc.daysInMonth(), 28);
        QCOMPARE(doc.totals().Counts[9], 0);
    }

    void storingADayClearsTheDispatchStatusAndIsSavedOnSwitch() {
        TMonthDocument doc;
        doc.open(2004, 3);
        doc.storeDay(5, ObservedDayRecord("10:00", 1, 5));
        QVERIFY(doc.isModified());
        QVERIFY(doc.yearData().Months[3].Header().Bemerkung.empty());
        QCOMPARE(doc.totals().Counts[9], 3);
        TYearBuffer before;
        QVERIFY(ReadYear(2004, before));
        QVERIFY(!before.Day(3, 5).observed()); // nothing is written before the switch
        doc.switchTo(2004, 4); // saved before the month changes
        QVERIFY(!doc.isModified());
        TYearBuffer stored;
        QVERIFY(ReadYear(2004, stored));
        QCOMPARE(stored.Day(3, 5).Re, std::int16_t(15));
        QVERIFY(stored.Months[3].Header().Bemerkung.empty());
        QCOMPARE(doc.month(), 4);
    }

    void nextDayTemplateIsTakenBackOnCancel() {
        TMonthDocument doc;
        doc.open(2004, 3);
        doc.startNextDay(3); // day 3 is empty: day 2 becomes its template
        QCOMPARE(doc.day(3).Re, std::int16_t(41));
        QCOMPARE(doc.day(3).Zeit.text(), QStringLiteral("08:30"));
        doc.cancelNextDay();
        QVERIFY(!doc.day(3).observed());
        QVERIFY(doc.isModified()); // the template was in the year
        doc.startNextDay(2); // an observed day keeps its own record
        QCOMPARE(doc.day(2).Re, std::int16_t(41));
        doc.storeDay(2, ObservedDayRecord("09:00", 0, 0));
        doc.cancelNextDay(); // nothing pending after a stored day
        QCOMPARE(doc.day(2).Re, std::int16_t(0));
    }

    void shiftMovesTheMonthAndRefusesBadTargets() {
        TMonthDocument doc;
        doc.open(2004, 3);
        QVERIFY_THROWS_EXCEPTION(TarvoError, doc.shiftTo(13));
        QVERIFY_THROWS_EXCEPTION(TarvoError, doc.shiftTo(3));
        QVERIFY(!doc.isModified());
        doc.shiftTo(4);
        QVERIFY(doc.isModified());
        QCOMPARE(doc.totals().Counts[9], 0);
        QCOMPARE(doc.yearData().Day(4, 2).Re, std::int16_t(41));
        QCOMPARE(doc.yearData().Months[4].Header().Bemerkung.text(), QStringLiteral("110000000000000"));
    }

    // A failed save keeps the changes: another year is not read, another
    // month of the same year is shown with the changes still unsaved.
    void failedSaveKeepsTheChanges() {
        TMonthDocument doc;
        doc.open(2004, 3);
        doc.ClearDay(1);
        const QByteArray before = FileBytes(2004);
        {
            FileSizeLimit limit(4096);
            QVERIFY_THROWS_EXCEPTION(TarvoError, doc.switchTo(2005, 3));
            QCOMPARE(doc.year(), 2004);
            QCOMPARE(doc.month(), 3);
            QVERIFY(doc.isModified());
            try {
                doc.switchTo(2004, 5);
                QFAIL("the failed save was not reported");
            } catch (const TarvoError &e) {
                QVERIFY2(e.message().contains(QStringLiteral("kann nicht geschrieben werden")),
                         qPrintable(e.message()));
            }
            QCOMPARE(doc.month(), 5);
            QVERIFY(doc.isModified());
        }
        QCOMPARE(FileBytes(2004), before);
        QVERIFY(!doc.yearData().Day(3, 1).observed());
        doc.SaveIfModified();
        QVERIFY(!doc.isModified());
        TYearBuffer stored;
        QVERIFY(ReadYear(2004, stored));
        QVERIFY(!stored.Day(3, 1).observed());
    }

    void unreadableYearRefusesChanges() {
        QFile file(YearFileName(2005));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QVERIFY(file.write(QByteArray(100, 'x')) == 100); // neither a year nor a legacy year
        file.close();
        TMonthDocument doc;
        doc.open(2005, 1);
        QVERIFY(!doc.isReadable());
        QVERIFY(doc.unreadableMessage().contains(QStringLiteral("SO2005.DAT kann nicht gelesen werden")));
        QVERIFY(!doc.day(1).observed());
        for (const auto &change : std::initializer_list<std::function<void()>>{
                 [&] { doc.storeDay(1, ObservedDayRecord("10:00", 1, 1)); }, [&] { doc.ClearDay(1); },
                 [&] { doc.shiftTo(2); }, [&] { doc.startNextDay(2); }}) {
            try {
                change();
                QFAIL("a change of an unreadable year was taken");
            } catch (const TarvoError &e) {
                QCOMPARE(e.message(), doc.unreadableMessage());
            }
        }
        QVERIFY(!doc.isModified());
        doc.switchTo(2004, 3); // nothing to save: the next year is read
        QVERIFY(doc.isReadable());
        QCOMPARE(doc.day(1).Re, std::int16_t(30));
    }
};

QTEST_GUILESS_MAIN(TestMonthDocument)
#include "test_month_document.moc"
