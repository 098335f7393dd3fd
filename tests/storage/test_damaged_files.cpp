// Inputs found by fuzzing: damaged files must be read without reading out of
// bounds and without undefined behaviour (the sanitizer build checks that).
#include "storage/archive.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include "storage_fixture.h"

#include <QtTest>
#include <functional>

class DamagedFilesTest : public QObject {
    Q_OBJECT
private slots:
    void shortLegacyBytes_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<int>("observed"); // records whose time of observation is there
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one byte") << 1 << 0;
        QTest::newRow("one record") << kLegacyRecordSize << 1;
        QTest::newRow("second cut before its time") << kLegacyRecordSize + 16 << 1;
        QTest::newRow("half a year") << 29427 << 286;
        QTest::newRow("one byte short") << kLegacyYearFileSize - 1 << kLegacyRecordCount;
        QTest::newRow("longer than a year") << kLegacyYearFileSize + 500 << kLegacyRecordCount;
    }
    void shortLegacyBytes() {
        QFETCH(int, size);
        QFETCH(int, observed);
        QByteArray record(kLegacyRecordSize, '\0');
        record.replace(16, 6,
                       QByteArrayLiteral("\x05"
                                         "09:15"));
        QByteArray legacy;
        while (legacy.size() < size)
            legacy += record;
        legacy.truncate(size);

        TYearBuffer y;
        ConvertLegacyYear(legacy, y);
        const auto *days = reinterpret_cast<const TDayRecord *>(&y);
        int count = 0;
        for (int i = 0; i < kLegacyRecordCount; ++i)
            count += days[i].observed() ? 1 : 0;
        QCOMPARE(count, observed); // missing bytes are zeros: no observation
    }

    // Another program cut a year file short: the read fails every time, and
    // the cut bytes are kept aside unchanged instead of becoming an empty year.
    void truncatedYearFile_data() {
        QTest::addColumn<int>("size");
        QTest::newRow("empty") << 0;
        QTest::newRow("half") << kYearFileSize / 2;
        QTest::newRow("one byte short") << kYearFileSize - 1;
    }
    void truncatedYearFile() {
        QFETCH(int, size);
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(1, 1) = MakeDay(true, 25);
        QVERIFY(WriteYear(2010, y));
        const QByteArray cut = fx.read("SO2010.DAT").left(size);
        fx.write("SO2010.DAT", cut);
        for (int attempt = 0; attempt < 2; ++attempt) {
            TYearBuffer back;
            try {
                ReadYear(2010, back);
                QFAIL("a cut year file was read");
            } catch (const TarvoError &e) {
                QCOMPARE(e.message(), QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
            }
            if (size > 0)
                QCOMPARE(fx.read("SO2010.OLD"), cut);
        }
    }

    // A record whose month is out of range must not make the refresh write
    // outside the year buffer; the other months are aggregated as usual.
    void archiveRecordWithBadMonth() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(3, 1) = MakeDay(true, 70);
        QVERIFY(WriteYear(2004, y));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
        QByteArray archive = fx.read("20002049.asw");
        auto *records = reinterpret_cast<TMonthSummary *>(archive.data());
        records[4 * 12 + 5].Monat = 200; // June 2004
        fx.write("20002049.asw", archive);
        y.Day(3, 2) = MakeDay(true, 30);
        QVERIFY(WriteYear(2004, y)); // the year changed: it is aggregated again
        QVERIFY(LoadYearSummaries(2004, s));
        QCOMPARE(s[2].MeanRe, 50.0);
        QCOMPARE(int(s[5].Monat), 200); // left as it was
    }

    void emptyArchiveIsRebuilt_data() {
        QTest::addColumn<QByteArray>("archive");
        QTest::newRow("empty") << QByteArray();
    }
    void emptyArchiveIsRebuilt() {
        QFETCH(QByteArray, archive);
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(3, 5) = MakeDay(true, 40);
        QVERIFY(WriteYear(2004, y));
        fx.write("20002049.asw", archive);
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
        QCOMPARE(s[2].Jahr, 2004);
        QCOMPARE(double(s[2].MeanRe), 40.0);
    }

    // An archive that is not a whole number of records is damaged: the
    // refresh says so, naming it, and neither pads nor rewrites it (a sparse
    // gigabyte is not read either). Imports and the evaluation stop on it.
    void archiveOfPartRecordsIsDamaged_data() {
        QTest::addColumn<qint64>("size");
        QTest::newRow("less than a record") << qint64(100);
        QTest::newRow("a record and a half") << qint64(589 + 294);
        QTest::newRow("one byte more than the archive") << qint64(600 * 589 + 1);
        QTest::newRow("a sparse gigabyte") << (qint64(1) << 30);
    }
    void archiveOfPartRecordsIsDamaged() {
        QFETCH(qint64, size);
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(3, 5) = MakeDay(true, 40);
        QVERIFY(WriteYear(2004, y));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
        QFile archive(fx.observerFile("20002049.asw"));
        QVERIFY(archive.resize(size));
        const auto headOf = [&] { // never the whole file: it may be a gigabyte
            QFile f(archive.fileName());
            return f.open(QIODevice::ReadOnly) ? f.read(4096) : QByteArray();
        };
        const QByteArray head = headOf();
        QVERIFY(WriteYear(2004, y)); // the next access refreshes
        for (const auto &access : std::initializer_list<std::function<void()>>{
                 [] {
                     TYearSummaries t;
                     LoadYearSummaries(2004, t);
                 },
                 [] { UpdateYearSummaries(2004, [](TYearSummaries &t) { t[0].SIDC = 1.0; }); }}) {
            try {
                access();
                QFAIL("a damaged archive was used");
            } catch (const TarvoError &e) {
                QCOMPARE(e.message(),
                         QStringLiteral("Das Auswertungsarchiv %1 ist beschädigt: seine Größe von %2 "
                                        "Bytes ist kein Vielfaches der Satzlänge von 589 Bytes.")
                             .arg(QDir::toNativeSeparators(fx.observerFile("20002049.asw")))
                             .arg(size));
            }
        }
        QCOMPARE(QFileInfo(archive).size(), size);
        QCOMPARE(headOf(), head);
    }
};

QTEST_GUILESS_MAIN(DamagedFilesTest)
#include "test_damaged_files.moc"
