#include "../common/error_of.h"
#include "../common/file_size_limit.h"
#include "../common/killed_child.h"
#include "storage/archive.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include "storage_fixture.h"

#include <QFileInfo>
#include <QtTest>
#include <csignal>
#include <unistd.h>

namespace {

QByteArray Bytes(const TYearBuffer &y) { return QByteArray(reinterpret_cast<const char *>(&y), sizeof y); }

// A 103-byte legacy record with recognisable values.
QByteArray LegacyRecord(int index, std::int16_t rs) {
    QByteArray r(kLegacyRecordSize, '\0');
    r[0] = 3;
    r[1] = 'a';
    r[2] = 'b';
    r[3] = static_cast<char>('0' + index % 10);
    const QByteArray zeit = QByteArrayLiteral("\x05" "09:15");
    r.replace(16, zeit.size(), zeit);
    for (int k = 0; k < 10; ++k) { // Ruhe .. Re
        const std::int16_t v = static_cast<std::int16_t>(index + k);
        std::memcpy(r.data() + 22 + 2 * k, &v, 2);
    }
    std::memcpy(r.data() + 42, &rs, 2);
    const std::int16_t pettis[4] = {7, 8, 78, 12};
    std::memcpy(r.data() + 44, pettis, 8);
    r[52] = 5;                      // A
    r[53] = static_cast<char>(-1);  // Ab
    r[54] = 0x11;                   // reserved, carried along
    const std::int16_t faculae[6] = {1, 2, 3, 4, 5, 6};
    std::memcpy(r.data() + 58, faculae, 12);
    r[70] = 1;
    r[71] = 'Z';
    r[76] = 1;
    r[77] = 'H';
    r[82] = 'X';
    std::memset(r.data() + 83, 0x55, 20); // not converted
    return r;
}

// A whole legacy year: every slot observed, values telling the slots apart.
QByteArray LegacyYear() {
    QByteArray legacy;
    for (int i = 0; i < kLegacyRecordCount; ++i)
        legacy += LegacyRecord(i, std::int16_t(i));
    return legacy;
}

// The converted year the legacy bytes must read as.
QByteArray ConvertedYear(const QByteArray &legacy) {
    TYearBuffer y;
    ConvertLegacyYear(legacy, y);
    return Bytes(y);
}

// While alive, the process may map no more than `extra` bytes beyond what it
// has mapped now: a read that holds a whole huge file in memory fails.
class AddressSpaceLimit {
public:
    explicit AddressSpaceLimit(rlim_t extra) {
        getrlimit(RLIMIT_AS, &saved_);
        QFile statm(QStringLiteral("/proc/self/statm"));
        const rlim_t mapped =
            statm.open(QIODevice::ReadOnly)
                ? statm.readAll().split(' ').value(0).toULongLong() * ::sysconf(_SC_PAGESIZE)
                : 0;
        rlimit limit = saved_;
        limit.rlim_cur = mapped + extra;
        active_ = mapped > 0 && setrlimit(RLIMIT_AS, &limit) == 0;
    }
    ~AddressSpaceLimit() { setrlimit(RLIMIT_AS, &saved_); }
    bool active() const { return active_; }

private:
    rlimit saved_{};
    bool active_ = false;
};

} // namespace

class YearFileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    // Killed between the conversion's two writes (the ".OLD" copy is written,
    // the converted year is not): the old year is still readable under its
    // name, and the next read converts it with every observed day.
    void conversionKilledHalfWayLosesNoDay() {
        ObserverFixture fx;
        const QByteArray legacy = LegacyYear();
        fx.write("SO1998.DAT", legacy);
        // 42848 bytes of ".OLD" fit below the limit, the 56160 of the year do not.
        QVERIFY(RunKilledAtFileSize(50000, [] {
            TYearBuffer y;
            ReadYear(1998, y);
        }));
        QCOMPARE(fx.read("SO1998.DAT"), legacy);
        QCOMPARE(fx.read("SO1998.OLD"), legacy);
        TYearBuffer y;
        QVERIFY(ReadYear(1998, y));
        QCOMPARE(Bytes(y), ConvertedYear(legacy));
        QCOMPARE(fx.read("SO1998.DAT"), ConvertedYear(legacy));
        QCOMPARE(fx.read("SO1998.OLD"), legacy);
    }

    // A conversion that cannot write (here: the disk is full for the year)
    // is an error the caller sees, never an empty year; the file stays.
    void failedConversionIsAnErrorNotAnEmptyYear() {
        ObserverFixture fx;
        const QByteArray legacy = LegacyYear();
        fx.write("SO1999.DAT", legacy);
        TYearBuffer y;
        std::memset(&y, 0x44, sizeof y);
        {
            FileSizeLimit full(50000);
            try {
                ReadYear(1999, y);
                QFAIL("a failed conversion read as a year");
            } catch (const TarvoError &e) {
                QVERIFY2(e.message().endsWith(QStringLiteral("kann nicht geschrieben werden")),
                         qPrintable(e.message()));
            }
        }
        QCOMPARE(Bytes(y), QByteArray(kYearFileSize, '\0'));
        QCOMPARE(fx.read("SO1999.DAT"), legacy);
        QVERIFY(ReadYear(1999, y));
        QCOMPARE(Bytes(y), ConvertedYear(legacy));
    }

    // What an interrupted conversion of older versions left: the year only
    // under the ".OLD" name, the ".DAT" gone or empty. The year is read (and
    // aggregated) from there instead of showing empty.
    void yearLeftOnlyAsOldIsConverted_data() {
        QTest::addColumn<bool>("emptyDat");
        QTest::newRow("no .DAT") << false;
        QTest::newRow("empty .DAT") << true;
    }
    void yearLeftOnlyAsOldIsConverted() {
        QFETCH(bool, emptyDat);
        ObserverFixture fx;
        const QByteArray legacy = LegacyYear();
        fx.write("SO2004.OLD", legacy);
        if (emptyDat)
            fx.write("SO2004.DAT", QByteArray());
        QVERIFY(YearDataExists(2004));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s)); // the archive finds the year, too
        QCOMPARE(s[0].Counts[9], 31);        // Re of every day of January
        TYearBuffer y;
        QVERIFY(ReadYear(2004, y));
        QCOMPARE(Bytes(y), ConvertedYear(legacy));
        QCOMPARE(fx.read("SO2004.OLD"), legacy);
    }

    // A ".OLD" that holds no whole year makes no year of a missing ".DAT".
    void damagedOldAloneIsNoYear() {
        ObserverFixture fx;
        fx.write("SO2004.OLD", LegacyYear().left(1000));
        QVERIFY(!YearDataExists(2004));
        TYearBuffer y;
        QVERIFY(!ReadYear(2004, y));
        QVERIFY(!QFileInfo::exists(fx.observerFile("SO2004.DAT")));
    }

    // Only what the format needs is read: a sparse year file of a gigabyte
    // reads as its first 56160 bytes without holding the rest in memory.
    void hugeYearFileReadsOnlyItsYear() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(12, 31) = MakeDay(true, 99);
        QVERIFY(WriteYear(2004, y));
        QFile file(fx.observerFile("SO2004.DAT"));
        QVERIFY(file.resize(qint64(1) << 30));
        TYearBuffer back;
        {
            const AddressSpaceLimit limit(256 << 20);
            QVERIFY(limit.active());
            QVERIFY(ReadYear(2004, back));
        }
        QCOMPARE(Bytes(back), Bytes(y));
    }

    void missingFileGivesEmptyYear() {
        ObserverFixture fx;
        TYearBuffer y;
        std::memset(&y, 0x5A, sizeof y);
        QVERIFY(!ReadYear(2004, y));
        QCOMPARE(Bytes(y), QByteArray(kYearFileSize, '\0'));
        QVERIFY(WriteYear(2004, y));
        QCOMPARE(QFileInfo(fx.observerFile("SO2004.DAT")).size(), qint64(kYearFileSize));
    }

    void writeAndReadBackIsIdentical() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        // Every byte differs, including block 0 and the slots behind a month's end.
        auto *raw = reinterpret_cast<unsigned char *>(&y);
        for (int i = 0; i < kYearFileSize; ++i)
            raw[i] = static_cast<unsigned char>(i * 7 + 3);
        QVERIFY(WriteYear(2004, y));
        QCOMPARE(fx.read("SO2004.DAT"), Bytes(y));
        TYearBuffer back;
        QVERIFY(ReadYear(2004, back));
        QCOMPARE(Bytes(back), Bytes(y));
    }

    void legacyFileIsConverted() {
        ObserverFixture fx;
        QByteArray legacy;
        for (int i = 0; i < kLegacyRecordCount; ++i)
            legacy += LegacyRecord(i, i == 33 ? std::int16_t(-1) : i == 34 ? std::int16_t(500) : std::int16_t(-300));
        QCOMPARE(legacy.size(), 42848);
        fx.write("SO1998.DAT", legacy);

        TYearBuffer y;
        QVERIFY(ReadYear(1998, y));
        QCOMPARE(fx.read("SO1998.OLD"), legacy);
        QCOMPARE(fx.read("SO1998.DAT"), Bytes(y));
        QCOMPARE(fx.read("SO1998.DAT").size(), kYearFileSize);

        const TDayRecord &d = y.Day(1, 1); // record 33
        QCOMPARE(d.Bemerkung.text(), QStringLiteral("ab3"));
        QCOMPARE(d.Zeit.text(), QStringLiteral("09:15"));
        QCOMPARE(d.Ruhe, std::int16_t(33));
        QCOMPARE(d.Re, std::int16_t(42));
        QCOMPARE(d.Rs, -1);
        QCOMPARE(y.Day(1, 2).Rs, 500);
        QCOMPARE(y.Day(1, 3).Rs, -300);
        QCOMPARE(d.p, std::int16_t(7));
        QCOMPARE(d.SN, std::int16_t(78));
        QCOMPARE(d.CV, std::int16_t(12));
        QCOMPARE(d.A, std::int8_t(5));
        QCOMPARE(d.Ab, std::int8_t(-1));
        QCOMPARE(d.Reserved1[0], std::uint8_t(0x11));
        QCOMPARE(d.Fo, std::int16_t(1));
        QCOMPARE(d.pfs, std::int16_t(6));
        QCOMPARE(d.z_f.text(), QStringLiteral("Z"));
        QCOMPARE(d.Po.text(), QStringLiteral("H"));
        QCOMPARE(d.Fl, 'X');
        QCOMPARE(d.LN, std::int16_t(-1));
        QCOMPARE(d.LS, std::int16_t(-1));
        QCOMPARE(d.LGES, std::int16_t(-1));
        for (unsigned char b : d.Reserved2)
            QCOMPARE(b, 0);
    }

    void legacyFileWithACutRecordBehind() {
        // 416 whole records and part of another: the part is ignored.
        ObserverFixture fx;
        QByteArray legacy;
        for (int i = 0; i < kLegacyRecordCount; ++i)
            legacy += LegacyRecord(i, std::int16_t(i));
        fx.write("SO1997.DAT", legacy + QByteArray(50, '\x7f'));
        TYearBuffer y;
        QVERIFY(ReadYear(1997, y));
        TYearBuffer expected;
        ConvertLegacyYear(legacy, expected);
        QCOMPARE(Bytes(y), Bytes(expected));
        QCOMPARE(y.Day(1, 1).Rs, 33);
    }

    void emptyFileFailsWithEndOfFile() {
        ObserverFixture fx;
        fx.write("SO2001.DAT", QByteArray());
        TYearBuffer y;
        std::memset(&y, 0x33, sizeof y);
        try {
            ReadYear(2001, y);
            QFAIL("no error");
        } catch (const TarvoError &e) {
            QCOMPARE(e.message(), QStringLiteral("Versuch hinter dem Dateiende zu lesen"));
        }
        QCOMPARE(Bytes(y), QByteArray(kYearFileSize, '\0'));
        QVERIFY(QFileInfo::exists(fx.observerFile("SO2001.OLD")));
        QCOMPARE(QFileInfo(fx.observerFile("SO2001.DAT")).size(), qint64(0));
    }

    void existingOldFileIsNeverReplaced() {
        ObserverFixture fx;
        fx.write("SO2002.OLD", QByteArrayLiteral("first conversion"));
        fx.write("SO2002.DAT", QByteArrayLiteral("short"));
        TYearBuffer y;
        QVERIFY_THROWS_EXCEPTION(TarvoError, ReadYear(2002, y));
        QCOMPARE(fx.read("SO2002.OLD"), QByteArrayLiteral("first conversion"));
        QCOMPARE(fx.read("SO2002.DAT"), QByteArrayLiteral("short"));

        // An empty year file beside a whole legacy year is recovered from it.
        QByteArray legacy;
        for (int i = 0; i < kLegacyRecordCount; ++i)
            legacy += LegacyRecord(i, 1);
        fx.write("SO2002.OLD", legacy);
        fx.write("SO2002.DAT", QByteArray());
        QVERIFY(ReadYear(2002, y));
        QCOMPARE(y.Day(1, 1).Zeit.text(), QStringLiteral("09:15"));
        QCOMPARE(fx.read("SO2002.OLD"), legacy);
    }

    void longerFileIsReadAsOneYearAndShrinks() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(3, 4).Zeit.assign(QStringLiteral("11:00"));
        fx.write("SO2003.DAT", Bytes(y) + QByteArray(100, 'x'));
        TYearBuffer back;
        QVERIFY(ReadYear(2003, back));
        QCOMPARE(Bytes(back), Bytes(y));
        QVERIFY(WriteYear(2003, back));
        QCOMPARE(QFileInfo(fx.observerFile("SO2003.DAT")).size(), qint64(kYearFileSize));
    }

    void unreadableFileIsAnErrorNotAnEmptyYear() {
        ObserverFixture fx;
        QDir(fx.dir.path()).mkpath("0001/SO2005.DAT"); // exists, but cannot be read as a file
        TYearBuffer y;
        try {
            ReadYear(2005, y);
            QFAIL("no error");
        } catch (const TarvoError &e) {
            QVERIFY(e.message().startsWith(QStringLiteral("E/A-Fehler ")));
        }
    }

    void failedWriteIsReportedAndKeepsTheOldFile() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(1, 1).Zeit.assign(QStringLiteral("08:00"));
        QVERIFY(WriteYear(2006, y));
        const QByteArray before = fx.read("SO2006.DAT");

        // The observer directory becomes unusable: a file stands in its place.
        Storage().CurrentObserverDir = QStringLiteral("blocked/");
        fx.write("../blocked", "x");
        const QString error = ErrorOf([] { WriteYear(2006, ZeroYear()); });
        QVERIFY(error.startsWith(QStringLiteral("In ")));
        QVERIFY(error.endsWith(QStringLiteral(" kann nicht geschrieben werden")));
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QCOMPARE(fx.read("SO2006.DAT"), before);
    }

    void writeEmptiesTheArchiveNameCache() {
        ObserverFixture fx;
        Storage().ArchiveNameCache = QStringLiteral("0001/20002049.asw");
        QVERIFY(WriteYear(2004, ZeroYear()));
        QVERIFY(Storage().ArchiveNameCache.isEmpty());
    }

    void windowsObserverDirectoryIsUsable() {
        ObserverFixture fx;
        Storage().CurrentObserverDir = QStringLiteral("0001\\");
        QVERIFY(WriteYear(2007, ZeroYear()));
        QVERIFY(QFileInfo::exists(fx.observerFile("SO2007.DAT")));
    }
};

QTEST_GUILESS_MAIN(YearFileTest)
#include "test_year_file.moc"
