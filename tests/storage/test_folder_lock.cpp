// Two Tarvo processes on one observer: every read-modify-write holds the
// folder's lock; a writer that cannot get it in time says so and changes
// nothing; the lock of a process that died is taken over.
#include "../common/error_of.h"
#include "../common/folder_snapshot.h"
#include "../common/killed_child.h"
#include "storage/archive.h"
#include "storage/column_layout.h"
#include "storage/folder_lock.h"
#include "storage/ini_file.h"
#include "storage/profile.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include "storage_fixture.h"

#include <QLockFile>
#include <QtTest>
#include <csignal>
#include <functional>
#include <map>

namespace {

// Runs a write; returns its error message (empty when it succeeded).
using Write = std::function<QString()>;

} // namespace

Q_DECLARE_METATYPE(Write)

class FolderLockTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { std::signal(SIGXFSZ, SIG_IGN); }

    void locksOfOneFolderNest() {
        ObserverFixture fx;
        const QString lockFile = FolderLock::LockFileName(fx.observerFile(QString()));
        {
            const FolderLock outer = LockObserverFolder();
            QVERIFY(QFileInfo::exists(lockFile));
            {
                const FolderLock inner = LockObserverFolder(); // no waiting for itself
                QVERIFY(WriteYear(2004, ZeroYear()));
            }
            QVERIFY(QFileInfo::exists(lockFile));
        }
        QVERIFY(!QFileInfo::exists(lockFile));
    }

    // Another process holds the observer's (or the program's) folder: each
    // writer gives up after the wait with the German message, and no byte
    // of any file has changed.
    void busyFolderChangesNothing_data() {
        QTest::addColumn<bool>("programFolder");
        QTest::addColumn<Write>("write");
        QTest::newRow("year file") << false << Write([] {
            return ErrorOf([] { WriteYear(2004, ZeroYear()); });
        });
        QTest::newRow("year update") << false << Write([] {
            return ErrorOf([] { UpdateYear(2004, [](TYearBuffer &y) { y.Day(1, 9) = MakeDay(true, 5); }); });
        });
        QTest::newRow("legacy conversion") << false << Write([] {
            return ErrorOf([] {
                TYearBuffer y;
                ReadYear(1998, y);
            });
        });
        QTest::newRow("archive refresh") << false << Write([] {
            return ErrorOf([] {
                TYearSummaries s;
                LoadYearSummaries(2004, s);
            });
        });
        QTest::newRow("archive update") << false << Write([] {
            return ErrorOf([] { UpdateYearSummaries(2004, [](TYearSummaries &s) { s[0].SIDC = 12.5; }); });
        });
        QTest::newRow("beob.ini") << false
                                  << Write([] { return ErrorOf([] { SaveProfile(EmptyProfile()); }); });
        QTest::newRow("AEF.CFG") << false << Write([] { return ErrorOf([] { SaveColumnLayout(); }); });
        QTest::newRow("tarvo.ini") << true << Write([] {
            return ErrorOf([] { SaveProgramSettings(EmptyProfile()); });
        });
    }
    void busyFolderChangesNothing() {
        QFETCH(bool, programFolder);
        QFETCH(Write, write);
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(3, 1) = MakeDay(true, 40);
        QVERIFY(WriteYear(2004, y));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
        SaveProfile(EmptyProfile());
        SaveColumnLayout();
        SaveProgramSettings(EmptyProfile());
        fx.write("SO1998.DAT", QByteArray(kLegacyYearFileSize, '\0'));
        y.Day(3, 2) = MakeDay(true, 60);
        QVERIFY(WriteYear(2004, y)); // the archive must be refreshed next time
        const auto before = FolderContents(fx.dir.path());

        const QString folder = programFolder ? Storage().ProgramDir : fx.observerFile(QString());
        QLockFile other(FolderLock::LockFileName(folder)); // as another process holds it
        QVERIFY(other.tryLock(0));
        Storage().LockWaitMs = 300;
        QElapsedTimer waited;
        waited.start();
        const QString error = write();
        QVERIFY(waited.elapsed() >= 250);
        QCOMPARE(error,
                 QStringLiteral("Die Daten in %1 werden gerade von einem anderen Tarvo-Programm geändert. "
                                "Es wurde nichts geändert; bitte versuchen Sie es gleich noch einmal.")
                     .arg(QDir::toNativeSeparators(QDir::cleanPath(folder))));
        other.unlock();
        QVERIFY(FolderContents(fx.dir.path()) == before);
        QVERIFY(write().isEmpty()); // free again: the write goes through
    }

    // Loading the settings reads without the lock (every write replaces the
    // file whole); only a load that writes tarvo.ini back needs it.
    void loadingSettingsWaitsOnlyToWrite() {
        ObserverFixture fx;
        SaveProgramSettings(EmptyProfile()); // the program's version is on record
        const QString settings = Storage().ProgramDir + QStringLiteral("tarvo.ini");
        QLockFile other(FolderLock::LockFileName(Storage().ProgramDir));
        QVERIFY(other.tryLock(0));
        Storage().LockWaitMs = 0; // any wait for the lock fails at once
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);

        IniFile older(settings);
        older.writeString(QStringLiteral("TARVO32"), QStringLiteral("FileVersion"), QStringLiteral("0.1"));
        older.save();
        const QByteArray before = fx.read("../tarvo.ini");
        QVERIFY_THROWS_EXCEPTION(TarvoError, LoadProgramSettings(profile)); // an upgrade writes
        QCOMPARE(fx.read("../tarvo.ini"), before);
        other.unlock();
        LoadProgramSettings(profile);
        QCOMPARE(
            IniFile(settings).readString(QStringLiteral("TARVO32"), QStringLiteral("FileVersion"), QString()),
            Storage().ProgramVersion);
    }

    // The program holds a year while tarvo-cli changes it: saving writes
    // only what the program changed, so the other writer's days and
    // dispatch status stay; a day both changed is the program's.
    void yearChangesOfTwoWritersMerge() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(3, 1) = MakeDay(true, 30);
        y.Day(4, 1) = MakeDay(true, 40);
        QVERIFY(WriteYear(2004, y));
        TYearBuffer base;
        QVERIFY(ReadYear(2004, base));
        TYearBuffer mine = base;

        UpdateYear(2004, [](TYearBuffer &other) {
            other.Months[3].Header().Bemerkung.assign(QStringLiteral("100000000000000"));
            other.Day(4, 5) = MakeDay(true, 55);
            other.Day(3, 1) = MakeDay(true, 31);
        });
        mine.Day(3, 1) = MakeDay(true, 35);
        mine.Day(3, 2) = MakeDay(true, 20);
        mine.Months[3].Header().Re = 55; // the month's sums, recomputed

        SaveYearChanges(2004, base, mine);
        TYearBuffer onDisk;
        QVERIFY(ReadYear(2004, onDisk));
        QCOMPARE(onDisk.Day(3, 1).Re, std::int16_t(35));
        QCOMPARE(onDisk.Day(3, 2).Re, std::int16_t(20));
        QCOMPARE(onDisk.Day(4, 1).Re, std::int16_t(40));
        QCOMPARE(onDisk.Day(4, 5).Re, std::int16_t(55));
        QCOMPARE(onDisk.Months[3].Header().Bemerkung.text(), QStringLiteral("100000000000000"));
        QCOMPARE(onDisk.Months[3].Header().Re, std::int16_t(55));
        QVERIFY(std::memcmp(&onDisk, &mine, sizeof mine) == 0);
        QVERIFY(std::memcmp(&onDisk, &base, sizeof base) == 0);
    }

    // A process killed while it held the lock leaves its lock file behind;
    // the next writer sees that its process is gone and takes it over.
    void lockOfAKilledProcessIsTakenOver() {
        ObserverFixture fx;
        QVERIFY(RunKilledAtFileSize(1000, [] { WriteYear(2004, ZeroYear()); }));
        const QString lockFile = FolderLock::LockFileName(fx.observerFile(QString()));
        QVERIFY(QFileInfo::exists(lockFile));
        Storage().LockWaitMs = 2000;
        QVERIFY(WriteYear(2004, ZeroYear()));
        QVERIFY(!QFileInfo::exists(lockFile));
        QCOMPARE(fx.read("SO2004.DAT").size(), kYearFileSize);
    }
};

QTEST_GUILESS_MAIN(FolderLockTest)
#include "test_folder_lock.moc"
