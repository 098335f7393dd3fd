// Writes that fail half-way (file size limit) must leave the previous file
// intact, say so, and succeed when tried again.
#include "../common/error_of.h"
#include "../common/file_size_limit.h"
#include "../common/killed_child.h"
#include "../common/permission_override.h"
#include "storage/archive.h"
#include "storage/column_layout.h"
#include "storage/file_io.h"
#include "storage/profile.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include "storage_fixture.h"

#include <QtTest>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QStringList TempFiles(const QString &folder) {
    return QDir(folder).entryList({QStringLiteral("tarvo.tmp-*")}, QDir::Files | QDir::Hidden);
}

// Sets the file's modification time `seconds` into the past.
bool MakeOlder(const QString &path, int seconds) {
    QFile file(path);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-seconds),
                            QFileDevice::FileModificationTime);
}

} // namespace

class WriteFaultTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        std::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(DropPermissionOverride());
    }

    void yearFile() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(6, 1) = MakeDay(true, 77);
        QVERIFY(WriteYear(2004, y));
        const QByteArray before = fx.read("SO2004.DAT");
        y.Day(6, 2) = MakeDay(true, 88);
        {
            FileSizeLimit limit(1000);
            const QString error = ErrorOf([&] { WriteYear(2004, y); });
            QVERIFY(error.contains(QStringLiteral("kann nicht geschrieben werden")));
        }
        QCOMPARE(fx.read("SO2004.DAT"), before);
        QCOMPARE(QDir(fx.dir.filePath("0001")).entryList(QDir::Files), QStringList{"SO2004.DAT"});
        QVERIFY(WriteYear(2004, y));
        TYearBuffer back;
        QVERIFY(ReadYear(2004, back));
        QCOMPARE(back.Day(6, 2).Re, std::int16_t(88));
    }

    void archive() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(1, 1) = MakeDay(true, 10);
        QVERIFY(WriteYear(2004, y));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
        const QByteArray before = fx.read("20002049.asw");
        s[0].SIDC = 55.5;
        {
            FileSizeLimit limit(4096);
            QVERIFY_THROWS_EXCEPTION(TarvoError, SaveYearSummaries(2004, s));
            y.Day(1, 2) = MakeDay(true, 20);
            QVERIFY_THROWS_EXCEPTION(TarvoError, WriteYear(2004, y)); // also refused: nothing changes
        }
        QCOMPARE(fx.read("20002049.asw"), before);
        QVERIFY(SaveYearSummaries(2004, s));
        QVERIFY(LoadYearSummaries(2004, s));
        QCOMPARE(s[0].SIDC, 55.5);
    }

    void archiveRefreshFailureIsReported() {
        ObserverFixture fx;
        QVERIFY(WriteYear(2004, ZeroYear()));
        {
            FileSizeLimit limit(4096);
            TYearSummaries s;
            QVERIFY_THROWS_EXCEPTION(TarvoError, LoadYearSummaries(2004, s)); // the new archive cannot be made
        }
        QVERIFY(Storage().ArchiveNameCache.isEmpty());
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
    }

    void settingsAndColumnLayout() {
        ObserverFixture fx;
        TObserverProfile p = EmptyProfile();
        p.Name2.assign(QStringLiteral("Erste Fassung"));
        SaveProfile(p);
        SaveColumnLayout();
        const QByteArray profileBefore = fx.read("beob.ini");
        const QByteArray layoutBefore = fx.read("AEF.CFG");
        p.Name2.assign(QStringLiteral("Zweite Fassung"));
        Storage().ColumnLayout[2].Sichtbar = 0;
        {
            FileSizeLimit limit(100);
            QVERIFY_THROWS_EXCEPTION(TarvoError, SaveProfile(p));
            QVERIFY_THROWS_EXCEPTION(TarvoError, SaveColumnLayout());
        }
        QCOMPARE(fx.read("beob.ini"), profileBefore);
        QCOMPARE(fx.read("AEF.CFG"), layoutBefore);
        SaveProfile(p);
        SaveColumnLayout();
        TObserverProfile back = EmptyProfile();
        LoadProfile(back);
        QCOMPARE(back.Name2.text(), QStringLiteral("Zweite Fassung"));
    }

    void readOnlyObserverFolder() {
        ObserverFixture fx;
        TYearBuffer y = ZeroYear();
        y.Day(2, 3) = MakeDay(true, 30);
        QVERIFY(WriteYear(2004, y));
        TYearSummaries s;
        QVERIFY(LoadYearSummaries(2004, s));
        TObserverProfile p = EmptyProfile();
        p.Name2.assign(QStringLiteral("Erste Fassung"));
        SaveProfile(p);
        SaveColumnLayout();
        const QDir folder(fx.dir.filePath(QStringLiteral("0001")));
        const QStringList files = folder.entryList(QDir::Files);
        QMap<QString, QByteArray> before;
        for (const QString &name : files)
            before[name] = fx.read(name);

        QFile::Permissions writable = QFileInfo(folder.path()).permissions();
        QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner));
        y.Day(2, 4) = MakeDay(true, 40);
        s[1].SIDC = 12.5;
        p.Name2.assign(QStringLiteral("Zweite Fassung"));
        const QString error = ErrorOf([&] { WriteYear(2004, y); });
        QVERIFY2(error.contains(QStringLiteral("kann nicht geschrieben werden")), qPrintable(error));
        QVERIFY_THROWS_EXCEPTION(TarvoError, SaveYearSummaries(2004, s));
        QVERIFY_THROWS_EXCEPTION(TarvoError, SaveProfile(p));
        QVERIFY_THROWS_EXCEPTION(TarvoError, SaveColumnLayout());
        QVERIFY(QFile::setPermissions(folder.path(), writable));

        QCOMPARE(folder.entryList(QDir::Files), files); // no stray temporary files
        for (const QString &name : files)
            QCOMPARE(fx.read(name), before[name]);

        // Once the folder is writable again, every save goes through.
        QVERIFY(WriteYear(2004, y));
        QVERIFY(SaveYearSummaries(2004, s));
        SaveProfile(p);
        SaveColumnLayout();
        TYearBuffer back;
        QVERIFY(ReadYear(2004, back));
        QCOMPARE(back.Day(2, 4).Re, std::int16_t(40));
        TObserverProfile profileBack = EmptyProfile();
        LoadProfile(profileBack);
        QCOMPARE(profileBack.Name2.text(), QStringLiteral("Zweite Fassung"));
    }

    // A settings file that is there but cannot be read is reported, and no
    // save replaces it with defaults (that would lose observers and addresses).
    void unreadableSettingsAreNeverReplaced() {
        ObserverFixture fx;
        TObserverProfile p = EmptyProfile();
        p.Name1.assign(QStringLiteral("Anna"));
        Storage().ObserverKeys = QStringList{QStringLiteral("Muster")};
        Storage().ObserverDirs = QStringList{QStringLiteral("0001/")};
        SaveProgramSettings(p);
        SaveProfile(p);
        const QString settings = fx.dir.filePath(QStringLiteral("tarvo.ini"));
        const QString profile = fx.observerFile(QStringLiteral("beob.ini"));
        for (const QString &path : {settings, profile}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QByteArray before = file.readAll();
            file.close();
            const QFile::Permissions permissions = file.permissions();
            QVERIFY(file.setPermissions({}));
            TObserverProfile loaded = EmptyProfile();
            try {
                if (path == settings)
                    LoadProgramSettings(loaded);
                else
                    LoadProfile(loaded);
                QFAIL("an unreadable file was read");
            } catch (const TarvoError &e) {
                // tarvo.ini is named, as the program stops on it
                const QString expected = path == settings
                                             ? QStringLiteral("Die Einstellungsdatei %1 kann nicht "
                                                              "gelesen werden (E/A-Fehler 13).")
                                                   .arg(QDir::toNativeSeparators(settings))
                                             : QStringLiteral("E/A-Fehler 13");
                QCOMPARE(e.message(), expected);
            }
            QVERIFY_THROWS_EXCEPTION(TarvoError, path == settings ? SaveProgramSettings(p) : SaveProfile(p));
            QVERIFY(file.setPermissions(permissions));
            QVERIFY(file.open(QIODevice::ReadOnly));
            QCOMPARE(file.readAll(), before);
        }
        TObserverProfile loaded = EmptyProfile();
        LoadProgramSettings(loaded);
        QCOMPARE(Storage().ObserverKeys, QStringList{QStringLiteral("Muster")});
        QCOMPARE(loaded.Name1.text(), QStringLiteral("Anna"));
    }

    // A write killed half-way leaves its temporary file; the next write in
    // that folder removes it once it is older than a minute, but never one
    // that its writer still holds (a slow write of another process).
    void killedWriteLeavesATempFileTheNextWriteRemoves() {
        ObserverFixture fx;
        const QString folder = fx.dir.filePath("0001");
        QVERIFY(RunKilledAtFileSize(1000, [] { WriteYear(2004, ZeroYear()); }));
        const QStringList left = TempFiles(folder);
        QCOMPARE(left.size(), 1);
        QVERIFY(!QFileInfo::exists(fx.observerFile("SO2004.DAT")));

        // A temporary file of a write in progress elsewhere: old, but locked.
        const QString busy = fx.observerFile("tarvo.tmp-busy01");
        fx.write("tarvo.tmp-busy01", "halb");
        const int held = ::open(QFile::encodeName(busy).constData(), O_RDONLY);
        QVERIFY(held >= 0);
        QCOMPARE(::flock(held, LOCK_EX), 0);
        QVERIFY(MakeOlder(busy, 120));

        QVERIFY(WriteYear(2005, ZeroYear())); // the leftover is still young
        const QStringList kept = TempFiles(folder);
        QCOMPARE(QSet<QString>(kept.begin(), kept.end()), (QSet<QString>{left.first(), "tarvo.tmp-busy01"}));
        QVERIFY(MakeOlder(fx.observerFile(left.first()), 61));
        QVERIFY(WriteYear(2005, ZeroYear()));
        QCOMPARE(TempFiles(folder), QStringList{"tarvo.tmp-busy01"});
        ::close(held);
        QVERIFY(WriteYear(2005, ZeroYear()));
        QVERIFY(TempFiles(folder).isEmpty());
        QCOMPARE(fx.read("SO2005.DAT").size(), kYearFileSize);
    }

    void symbolicLinksStayLinks() {
        QTemporaryDir dir;
        const QString real = dir.filePath("real.dat");
        const QString link = dir.filePath("link.dat");
        const QString dangling = dir.filePath("dangling.dat");
        WriteFileAtomically(real, "alt");
        QVERIFY(QFile::link(real, link));
        QVERIFY(QFile::link(dir.filePath("new.dat"), dangling));
        WriteFileAtomically(link, "neu");
        WriteFileAtomically(dangling, "erst");
        QVERIFY(QFileInfo(link).isSymLink());
        QVERIFY(QFileInfo(dangling).isSymLink());
        QCOMPARE(ReadWholeFile(real).bytes, QByteArray("neu"));
        QCOMPARE(ReadWholeFile(dir.filePath("new.dat")).bytes, QByteArray("erst"));
    }

    // Only regular files the user may write are replaced; reading a FIFO or a
    // device fails at once instead of waiting for data.
    void onlyWritableRegularFilesAreReplaced() {
        QTemporaryDir dir;
        const QString fifo = dir.filePath("fifo.dat");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        const QString locked = dir.filePath("locked.dat");
        WriteFileAtomically(locked, "geschützt");
        QVERIFY(QFile::setPermissions(locked, QFile::ReadOwner));
        for (const QString &path : {fifo, locked, dir.path()})
            QCOMPARE(ErrorOf([&] { WriteFileAtomically(path, "x"); }),
                     QStringLiteral("In %1 kann nicht geschrieben werden").arg(path));
        QVERIFY(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
        QCOMPARE(ReadWholeFile(locked).bytes, QByteArray("geschützt"));
        const FileReadResult read = ReadWholeFile(fifo);
        QVERIFY(read.exists);
        QVERIFY(read.errorCode != 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System | QDir::Hidden).size(), 2);
    }

    void fullLengthFileNames() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QString(250, QLatin1Char('a')) + QStringLiteral(".csv"));
        WriteFileAtomically(path, "Tag;");
        QCOMPARE(ReadWholeFile(path).bytes, QByteArray("Tag;"));
    }

    // Garbage in tarvo.ini is no first start: it is reported, naming the
    // file, and left exactly as it is (no crash either).
    void garbageSettingsFileIsReportedAndKept() {
        QTemporaryDir dir;
        StorageStartUp(dir.path());
        QFile f(dir.filePath("tarvo.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray garbage;
        for (int i = 0; i < 4096; ++i)
            garbage.append(static_cast<char>((i * 131 + 7) % 256));
        f.write(garbage);
        f.close();
        TObserverProfile p = EmptyProfile();
        try {
            LoadProgramSettings(p);
            QFAIL("garbage was taken for settings");
        } catch (const SettingsFileError &e) {
            QVERIFY2(e.message().contains(QDir::toNativeSeparators(dir.filePath("tarvo.ini"))),
                     qPrintable(e.message()));
            QVERIFY2(e.message().contains(QStringLiteral("[TARVO32] fehlt")), qPrintable(e.message()));
        }
        QVERIFY_THROWS_EXCEPTION(SettingsFileError, SaveProgramSettings(p));
        QCOMPARE(ReadWholeFile(dir.filePath("tarvo.ini")).bytes, garbage);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"tarvo.ini"});
    }
};

QTEST_GUILESS_MAIN(WriteFaultTest)
#include "test_write_faults.moc"
