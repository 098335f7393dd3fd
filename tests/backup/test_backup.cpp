#include "../common/error_of.h"
#include "backup_fixture.h"

#include "../common/file_size_limit.h"
#include "backup/backup_reader.h"
#include "backup/backup_restore.h"
#include "backup/backup_settings.h"
#include "backup/backup_writer.h"
#include "backup/zip_archive.h"
#include "storage/folder_lock.h"
#include "storage/ini_file.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QCryptographicHash>
#include <QProcess>
#include <csignal>

namespace {

QStringList ZipNames(const QByteArray &zip) {
    const ZipReader reader(zip);
    QStringList names;
    for (int i = 0; i < reader.count(); ++i)
        names << reader.name(i);
    return names;
}

// A backup built by hand: the manifest lists `listed`, the ZIP holds `stored`.
QByteArray HandMadeBackup(const QVector<ZipMember> &stored, const QVector<BackupFileEntry> &listed) {
    BackupManifest m;
    m.programVersion = QStringLiteral("1.0.0.0");
    m.created = QDateTime(QDate(2026, 5, 3), QTime(12, 0));
    m.observers = {BackupObserver{QStringLiteral("0001"), QStringLiteral("Muster")}};
    m.files = listed;
    QVector<ZipMember> members{{kManifestName, FormatManifest(m), m.created}};
    members += stored;
    return BuildZip(members);
}

quint16 Le16(const QByteArray &bytes, qsizetype at) {
    return static_cast<quint16>(static_cast<quint8>(bytes[at]) | static_cast<quint8>(bytes[at + 1]) << 8);
}

// Where the data of the member `name` start: behind its local header.
qsizetype DataOffset(const QByteArray &zip, const QByteArray &name) {
    for (qsizetype at = zip.indexOf("PK\x03\x04"); at >= 0; at = zip.indexOf("PK\x03\x04", at + 4)) {
        const quint16 nameLength = Le16(zip, at + 26);
        if (zip.mid(at + 30, nameLength) == name)
            return at + 30 + nameLength + Le16(zip, at + 28);
    }
    return -1;
}

BackupFileEntry Listed(const QString &path, const QByteArray &bytes) {
    return BackupFileEntry{path, bytes.size(), Sha256Hex(bytes)};
}

const QByteArray kIni = "[TARVO32]\r\nBeobachter=Muster\r\n[Beobachter]\r\nMuster=0001\\\r\n";

} // namespace

class BackupTest : public QObject {
    Q_OBJECT
    QTemporaryDir home_;
    QTemporaryDir out_;
    QString zip_;
    QMap<QString, QByteArray> original_;

private slots:
    void init() {
        QVERIFY(home_.isValid() && out_.isValid());
        QDir(home_.path()).removeRecursively();
        QDir().mkpath(home_.path());
        MakeProgramFolder(home_.path());
        original_ = Snapshot(home_.path());
        zip_ = out_.filePath(QStringLiteral("Tarvo-Sicherung-2026-05-03.zip"));
        QFile::remove(zip_);
    }

    void backupHoldsExactlyTheProgramFoldersData() {
        const BackupResult result =
            WriteBackup(zip_, BackupScope::Current(), QDateTime(QDate(2026, 5, 3), QTime(14, 22, 5)));
        const QByteArray zip = ReadTestFile(zip_);
        QCOMPARE(ZipNames(zip), QStringList{kManifestName} + ExpectedEntries());
        QCOMPARE(QFileInfo(zip_).permissions() & (QFile::ReadGroup | QFile::ReadOther), QFile::Permissions());

        const ZipReader reader(zip);
        const BackupManifest manifest = ParseManifest(reader.read(0, 1 << 20));
        QCOMPARE(manifest.programVersion, ReadProgramVersion());
        QCOMPARE(manifest.created, QDateTime(QDate(2026, 5, 3), QTime(14, 22, 5)));
        QCOMPARE(manifest.observers.size(), 2);
        QCOMPARE(manifest.observers[1].key, QStringLiteral("Anna"));
        QCOMPARE(manifest.observers[1].folder, QStringLiteral("0002"));
        QCOMPARE(manifest.yearsOf(QStringLiteral("0001")), QList<int>{2004});
        QCOMPARE(manifest.files.size(), ExpectedEntries().size());
        for (int i = 0; i < manifest.files.size(); ++i) {
            const BackupFileEntry &f = manifest.files[i];
            const QByteArray disk = original_.value(f.path);
            QVERIFY2(!disk.isEmpty(), qPrintable(f.path));
            QCOMPARE(f.size, disk.size());
            QCOMPARE(f.sha256, QCryptographicHash::hash(disk, QCryptographicHash::Sha256).toHex());
            QCOMPARE(reader.read(i + 1, f.size), disk);
        }
        QCOMPARE(result.manifest.files.size(), manifest.files.size());
        const QString text = QString::fromUtf8(reader.read(0, 1 << 20));
        QVERIFY(text.startsWith(QStringLiteral("Tarvo-Sicherung\t1\r\nProgrammversion\t")));
        QVERIFY(text.contains(QStringLiteral("\r\nBeobachter\t0001\tMuster\r\n")));
        QVERIFY(text.endsWith(QStringLiteral("\r\nEnde\t9\r\n")));
    }

    // A backup made while a folder is locked (here by this process; the lock
    // file is on disk) holds the data, not the lock file.
    void lockFilesAreLeftOut() {
        const FolderLock lock(Storage().DataPath + QStringLiteral("0001"));
        QVERIFY(QFileInfo::exists(Storage().DataPath + QStringLiteral("0001/tarvo.lock")));
        WriteBackup(zip_, BackupScope::Current());
        QCOMPARE(ZipNames(ReadTestFile(zip_)), QStringList{kManifestName} + ExpectedEntries());
    }

    void anotherZipReaderAcceptsTheBackup() {
        WriteBackup(zip_, BackupScope::Current());
        QProcess python;
        python.start(QStringLiteral("/usr/bin/python3"),
                     {QStringLiteral("-c"),
                      QStringLiteral("import sys, zipfile; z = zipfile.ZipFile(sys.argv[1]); "
                                     "print(z.testzip(), len(z.namelist()))"),
                      zip_});
        QVERIFY(python.waitForFinished(30000));
        QCOMPARE(python.readAllStandardOutput().trimmed(), QByteArray("None 10"));
    }

    void restoreBringsBackEveryFileAndKeepsTheStateBefore() {
        WriteBackup(zip_, BackupScope::Current());
        const QString data = home_.path() + QLatin1Char('/');
        WriteTestFile(data + QStringLiteral("0001/SO2004.DAT"), YearBytes(SampleYear(70)));
        const QByteArray changedYear = ReadTestFile(data + QStringLiteral("0001/SO2004.DAT"));
        QVERIFY(QFile::remove(data + QStringLiteral("0002/beob.ini")));
        WriteTestFile(data + QStringLiteral("0002/SO2011.DAT"), YearBytes(SampleYear(1)));

        const RestorePlan plan = PlanRestore(zip_, BackupScope::Current());
        QVERIFY(!plan.dataPathAdjusted);
        QCOMPARE(plan.count(RestoreChange::Replaced), 1);
        QCOMPARE(plan.count(RestoreChange::New), 1);
        QCOMPARE(plan.count(RestoreChange::Unchanged), ExpectedEntries().size() - 2);
        QCOMPARE(plan.items.last().entry, QStringLiteral("tarvo.ini"));
        QVERIFY(plan.changeLines().contains(QStringLiteral("ersetzt: 0001/SO2004.DAT")));
        QVERIFY(plan.changeLines().contains(QStringLiteral("neu: 0002/beob.ini")));
        QVERIFY(
            plan.changeLines().contains(QStringLiteral("bleibt (nicht in der Sicherung): 0002/SO2011.DAT")));

        const RestoreResult result = RunRestore(plan, QDateTime(QDate(2026, 6, 1), QTime(9, 0)));
        QCOMPARE(result.written, 2);
        QCOMPARE(result.safetyBackup,
                 data + QStringLiteral("Sicherungen/Tarvo-vor-Wiederherstellung-2026-06-01-090000.zip"));
        QMap<QString, QByteArray> now = Snapshot(home_.path());
        for (const QString &entry : ExpectedEntries())
            QVERIFY2(now.value(entry) == original_.value(entry), qPrintable(entry));
        QCOMPARE(now.value(QStringLiteral("0002/SO2011.DAT")), YearBytes(SampleYear(1)));
        QCOMPARE(QFileInfo(data + QStringLiteral("0002/beob.ini")).permissions() & QFile::ReadOther,
                 QFile::Permissions());

        // The safety backup holds the state before the restore: the restore can be undone.
        const VerifiedBackup before = ReadVerifiedBackup(result.safetyBackup);
        QCOMPARE(before.contents.value(QStringLiteral("0001/SO2004.DAT")), changedYear);
        QVERIFY(!before.contents.contains(QStringLiteral("0002/beob.ini")));
        QVERIFY(ZipNames(ReadTestFile(result.safetyBackup)).contains(QStringLiteral("0002/SO2011.DAT")));
    }

    void damagedOrForeignBackupsAreRefusedWithNothingChanged_data() {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<QString>("named"); // what the message must name
        QTest::newRow("flipped byte in a year file") << "flip"
                                                     << "0001/SO2004.DAT";
        QTest::newRow("cut in half") << "half"
                                     << "ZIP-Datei";
        QTest::newRow("last byte missing") << "lastbyte"
                                           << "ZIP-Datei";
        QTest::newRow("path ../x") << "dotdot"
                                   << "../x";
        QTest::newRow("absolute path") << "absolute"
                                       << "/tmp/tarvo-x";
        QTest::newRow("path ../x in the manifest")
            << "listed-dotdot"
            << "„../x“: dieser Pfad führt aus dem Programmordner hinaus";
        QTest::newRow("unrelated ZIP") << "unrelated"
                                       << "tarvo-sicherung.txt";
        QTest::newRow("no ZIP at all") << "text"
                                       << "ZIP-Datei";
        QTest::newRow("checksum mismatch") << "sha"
                                           << "0001/SO2004.DAT";
        QTest::newRow("listed file missing") << "missing"
                                             << "0001/AEF.CFG";
        QTest::newRow("file not listed") << "extra"
                                         << "0001/extra.txt";
        QTest::newRow("file outside the observer folders") << "foreign"
                                                           << "bin/tarvo";
    }
    void damagedOrForeignBackupsAreRefusedWithNothingChanged() {
        QFETCH(QString, damage);
        QFETCH(QString, named);
        WriteBackup(zip_, BackupScope::Current());
        QByteArray zip = ReadTestFile(zip_);
        const QByteArray year = original_.value(QStringLiteral("0001/SO2004.DAT"));
        if (damage == QLatin1String("flip")) {
            // The year file is stored right after tarvo.ini and the manifest: flip a byte in its data.
            const qsizetype at = DataOffset(zip, "0001/SO2004.DAT") + 20; // inside its compressed data
            zip[at] = static_cast<char>(zip[at] ^ 0x10);
        } else if (damage == QLatin1String("half")) {
            zip.truncate(zip.size() / 2);
        } else if (damage == QLatin1String("lastbyte")) {
            zip.chop(1);
        } else if (damage == QLatin1String("dotdot") || damage == QLatin1String("absolute")) {
            const QString name =
                damage == QLatin1String("dotdot") ? QStringLiteral("../x") : QStringLiteral("/tmp/tarvo-x");
            zip = HandMadeBackup({{QStringLiteral("tarvo.ini"), kIni, {}}, {name, "boom", {}}},
                                 {Listed(QStringLiteral("tarvo.ini"), kIni)});
        } else if (damage == QLatin1String("listed-dotdot")) {
            zip = HandMadeBackup(
                {{QStringLiteral("tarvo.ini"), kIni, {}}, {QStringLiteral("../x"), "boom", {}}},
                {Listed(QStringLiteral("tarvo.ini"), kIni), Listed(QStringLiteral("../x"), "boom")});
        } else if (damage == QLatin1String("unrelated")) {
            zip = BuildZip(
                {{QStringLiteral("urlaub/bild.jpg"), "JFIF", {}}, {QStringLiteral("tarvo.ini"), kIni, {}}});
        } else if (damage == QLatin1String("text")) {
            zip = "Das ist keine ZIP-Datei.\n";
        } else if (damage == QLatin1String("sha")) {
            BackupFileEntry wrong = Listed(QStringLiteral("0001/SO2004.DAT"), year);
            wrong.sha256 = Sha256Hex("anders");
            zip = HandMadeBackup(
                {{QStringLiteral("tarvo.ini"), kIni, {}}, {QStringLiteral("0001/SO2004.DAT"), year, {}}},
                {Listed(QStringLiteral("tarvo.ini"), kIni), wrong});
        } else if (damage == QLatin1String("missing")) {
            zip = HandMadeBackup(
                {{QStringLiteral("tarvo.ini"), kIni, {}}},
                {Listed(QStringLiteral("tarvo.ini"), kIni), Listed(QStringLiteral("0001/AEF.CFG"), "x")});
        } else if (damage == QLatin1String("extra")) {
            zip = HandMadeBackup(
                {{QStringLiteral("tarvo.ini"), kIni, {}}, {QStringLiteral("0001/extra.txt"), "x", {}}},
                {Listed(QStringLiteral("tarvo.ini"), kIni)});
        } else if (damage == QLatin1String("foreign")) {
            zip = HandMadeBackup(
                {{QStringLiteral("tarvo.ini"), kIni, {}}, {QStringLiteral("bin/tarvo"), "x", {}}},
                {Listed(QStringLiteral("tarvo.ini"), kIni), Listed(QStringLiteral("bin/tarvo"), "x")});
        }
        WriteTestFile(zip_, zip);
        // Something to restore over: the program folder changed since.
        WriteTestFile(home_.filePath(QStringLiteral("0001/SO2004.DAT")), YearBytes(SampleYear(70)));
        const QMap<QString, QByteArray> before = Snapshot(home_.path());

        const QString message = ErrorOf([&] { RunRestore(PlanRestore(zip_, BackupScope::Current())); });
        QVERIFY2(
            message.startsWith(QStringLiteral("Die Datensicherung „%1“ ist nicht verwendbar.\n").arg(zip_)),
            qPrintable(message));
        QVERIFY2(message.contains(named), qPrintable(message));
        QCOMPARE(Snapshot(home_.path()), before);
        QVERIFY(!QFileInfo::exists(home_.filePath(QStringLiteral("Sicherungen"))));
        QVERIFY(!QFileInfo::exists(QStringLiteral("/tmp/tarvo-x")));
        QVERIFY(!QFileInfo::exists(home_.filePath(QStringLiteral("../x"))));
    }

    // Whatever single byte is flipped: the backup is refused, or every file
    // read from it is exactly the one saved (bytes the format does not check,
    // such as time stamps, change nothing that is restored).
    void noFlippedByteGoesThroughUnnoticed() {
        WriteTestFile(home_.filePath(QStringLiteral("tarvo.ini")), kIni);
        QDir(home_.filePath(QStringLiteral("Referenz"))).removeRecursively();
        QDir(home_.filePath(QStringLiteral("0001"))).removeRecursively();
        WriteTestFile(home_.filePath(QStringLiteral("0001/SO2004.DAT")), YearBytes(SampleYear(10)));
        WriteTestFile(home_.filePath(QStringLiteral("0001/beob.ini")), "[Beobachter]\r\nName1=Muster\r\n");
        StorageStartUp(home_.path());
        WriteBackup(zip_, BackupScope::Current());
        const QByteArray good = ReadTestFile(zip_);
        const QMap<QString, QByteArray> saved = ReadVerifiedBackup(zip_).contents;
        QVERIFY(good.size() < 4000);
        int refused = 0;
        for (qsizetype at = 0; at < good.size(); ++at) {
            QByteArray bad = good;
            bad[at] = static_cast<char>(bad[at] ^ 0x01);
            try {
                QCOMPARE(VerifyBackupBytes(bad, zip_).contents, saved);
            } catch (const TarvoError &) {
                ++refused;
            }
        }
        QVERIFY(refused > 0);
    }

    void failedWriteLeavesNoFileAndSaysSo() {
        WriteTestFile(zip_, "eine ältere Sicherung");
        std::signal(SIGXFSZ, SIG_IGN);
        QString message;
        {
            const FileSizeLimit limit(4096);
            message = ErrorOf([&] { WriteBackup(zip_, BackupScope::Current()); });
            message += QLatin1Char('|') + ErrorOf([&] {
                           WriteBackup(out_.filePath(QStringLiteral("neu.zip")), BackupScope::Current());
                       });
        }
        QCOMPARE(message,
                 QStringLiteral("In %1 kann nicht geschrieben werden. Die Datensicherung wurde nicht "
                                "geschrieben.|In %2 kann nicht geschrieben werden. Die Datensicherung "
                                "wurde nicht geschrieben.")
                     .arg(zip_, out_.filePath(QStringLiteral("neu.zip"))));
        QCOMPARE(ReadTestFile(zip_), QByteArray("eine ältere Sicherung"));
        QCOMPARE(QDir(out_.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList{QFileInfo(zip_).fileName()});
    }

    void restoreOnAnotherPathWorksAtOnce() {
        WriteBackup(zip_, BackupScope::Current());
        // The original stays and changes: the copy must not read from it.
        WriteTestFile(home_.filePath(QStringLiteral("0001/SO2004.DAT")), YearBytes(SampleYear(70)));
        QTemporaryDir other;
        StorageStartUp(other.path());
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile); // a first start there
        const RestorePlan plan = PlanRestore(zip_, BackupScope::Current());
        QVERIFY(plan.dataPathAdjusted);
        RunRestore(plan);

        StorageStartUp(other.path());
        LoadProgramSettings(profile);
        QCOMPARE(Storage().DataPath, other.path() + QLatin1Char('/'));
        QCOMPARE(Storage().ObserverKeys, (QStringList{QStringLiteral("Muster"), QStringLiteral("Anna")}));
        QCOMPARE(profile.Name2.text(), QStringLiteral("Anna Jäger"));
        TYearBuffer year;
        QVERIFY(ReadYear(2004, year));
        QCOMPARE(YearBytes(year), YearBytes(SampleYear(10)));
        TYearSummaries summaries;
        QVERIFY(LoadYearSummaries(2004, summaries));
        QCOMPARE(summaries[0].SIDC, kImportedSidc); // the imported series came along
        QCOMPARE(summaries[2].MeanRe, 33.0);        // March: Re 31..35
        QVERIFY(!QFileInfo(other.filePath(QStringLiteral("SO2004.DAT"))).exists());
    }

    void observerFoldersOutsideTheProgramFolderGoUnderTheirNames() {
        QTemporaryDir program;
        QTemporaryDir data;
        MakeProgramFolder(program.path(), data.path());
        WriteBackup(zip_, BackupScope::Current());
        const VerifiedBackup backup = ReadVerifiedBackup(zip_);
        QCOMPARE(backup.manifest.dataPath, data.path() + QLatin1Char('/'));
        QVERIFY(backup.contents.contains(QStringLiteral("0001/SO2004.DAT")));

        // Restored on a computer whose data lie in its program folder: they go there.
        QTemporaryDir fresh;
        StorageStartUp(fresh.path());
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        RunRestore(PlanRestore(zip_, BackupScope::Current()));
        QCOMPARE(ReadTestFile(fresh.filePath(QStringLiteral("0001/SO2004.DAT"))), YearBytes(SampleYear(10)));
        // "Datenpfad" names the new program folder (in whatever form that installation writes it).
        const QString dataPathSetting =
            IniFile(fresh.filePath(QStringLiteral("tarvo.ini")))
                .readString(QStringLiteral("TARVO32"), QStringLiteral("Datenpfad"), QString());
        QCOMPARE(QDir::cleanPath(ResolveDataPathSetting(dataPathSetting, fresh.path() + QLatin1Char('/'))),
                 QDir::cleanPath(fresh.path()));
        QCOMPARE(Snapshot(data.path()).size(), 8); // the original data folder is untouched
    }

    void aFailingWriteDuringRestorePutsEverythingBack() {
        WriteBackup(zip_, BackupScope::Current());
        WriteTestFile(home_.filePath(QStringLiteral("0001/SO2004.DAT")), YearBytes(SampleYear(70)));
        QVERIFY(QFile::remove(home_.filePath(QStringLiteral("0001/AEF.CFG"))));
        // The reference file cannot be written: a folder stands in its place.
        QVERIFY(QFile::remove(home_.filePath(QStringLiteral("Referenz/silso-daily.txt"))));
        QVERIFY(QDir().mkpath(home_.filePath(QStringLiteral("Referenz/silso-daily.txt"))));
        const QMap<QString, QByteArray> before = Snapshot(home_.path());
        const RestorePlan plan = PlanRestore(zip_, BackupScope::Current());
        const QString message = ErrorOf([&] { RunRestore(plan); });
        QVERIFY2(message.startsWith(
                     QStringLiteral("Die Wiederherstellung ist bei „Referenz/silso-daily.txt“ gescheitert")),
                 qPrintable(message));
        QVERIFY(message.contains(QStringLiteral("haben ihren vorherigen Inhalt zurück")));
        QMap<QString, QByteArray> after = Snapshot(home_.path());
        for (auto it = after.begin(); it != after.end();)
            it = it.key().startsWith(QLatin1String("Sicherungen/")) ? after.erase(it) : std::next(it);
        QCOMPARE(after, before);
    }

    void manifestReadsBackWhatWasWritten() {
        BackupManifest m;
        m.programVersion = QStringLiteral("1.0.0.0");
        m.created = QDateTime(QDate(2026, 5, 3), QTime(14, 22, 5));
        m.dataPath = QStringLiteral("/home/anna/tarvo/");
        m.observers = {{QStringLiteral("0001"), QStringLiteral("Jäger B")}};
        m.files = {Listed(QStringLiteral("tarvo.ini"), kIni), Listed(QStringLiteral("0001/SO1998.DAT"), "a"),
                   Listed(QStringLiteral("0001/SO1999.DAT"), "b"),
                   Listed(QStringLiteral("0001/SO2005.DAT"), "c")};
        const BackupManifest back = ParseManifest(FormatManifest(m));
        QCOMPARE(back.observers[0].key, QStringLiteral("Jäger B"));
        QCOMPARE(back.dataPath, m.dataPath);
        QCOMPARE(back.files.size(), 4);
        QCOMPARE(back.files[1].sha256, Sha256Hex("a"));
        QCOMPARE(YearRangesText(back.yearsOf(QStringLiteral("0001"))), QStringLiteral("1998–1999, 2005"));
        QCOMPARE(BackupSummaryLines(back).at(2),
                 QStringLiteral("Beobachter Jäger B (Ordner 0001): Jahre 1998–1999, 2005"));
    }

    void damagedManifestsNameTheLine_data() {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("message");
        const QByteArray head = "Tarvo-Sicherung\t1\r\nDatum\t2026-05-03 14:22:05\r\n";
        const QByteArray sha = Sha256Hex("x");
        QTest::newRow("other format")
            << QByteArray("Tarvo-Sicherung\t2\r\nEnde\t0\r\n") << "nicht von einer Tarvo-Datensicherung";
        QTest::newRow("cut short") << head + "Datei\t1\t" + sha + "\ttarvo.ini\r\n"
                                   << "(Zeile 4)";
        QTest::newRow("count differs") << head + "Datei\t1\t" + sha + "\ttarvo.ini\r\nEnde\t2\r\n"
                                       << "(Zeile 4)";
        QTest::newRow("bad checksum") << head + "Datei\t1\tabc\ttarvo.ini\r\nEnde\t1\r\n"
                                      << "(Zeile 3)";
        QTest::newRow("absolute path")
            << head + "Datei\t1\t" + sha + "\t/etc/passwd\r\nEnde\t1\r\n"
            << "„/etc/passwd“: dieser Pfad führt aus dem Programmordner hinaus (Inhaltsliste, Zeile 3)";
        QTest::newRow("folder up") << head + "Beobachter\t..\tX\r\nEnde\t0\r\n"
                                   << "„..“: dieser Pfad führt";
        QTest::newRow("twice") << head + "Datei\t1\t" + sha + "\ta\r\nDatei\t1\t" + sha + "\ta\r\nEnde\t2\r\n"
                               << "(Zeile 4)";
        QTest::newRow("after the end") << head + "Ende\t0\r\nDatei\t1\t" + sha + "\ta\r\n"
                                       << "(Zeile 4)";
        QTest::newRow("no date") << QByteArray("Tarvo-Sicherung\t1\r\nEnde\t0\r\n") << "(Zeile 3)";
    }
    void damagedManifestsNameTheLine() {
        QFETCH(QByteArray, text);
        QFETCH(QString, message);
        const QString error = ErrorOf([&] { ParseManifest(text); });
        QVERIFY2(error.contains(message), qPrintable(error));
    }

    void safeBackupPaths_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("safe");
        QTest::newRow("year file") << "0001/SO2004.DAT" << true;
        QTest::newRow("settings") << "tarvo.ini" << true;
        QTest::newRow("umlaut") << "Referenz/Jäger.txt" << true;
        QTest::newRow("up") << "../x" << false;
        QTest::newRow("up inside") << "0001/../../x" << false;
        QTest::newRow("absolute") << "/etc/passwd" << false;
        QTest::newRow("backslash") << "0001\\..\\x" << false;
        QTest::newRow("empty part") << "0001//x" << false;
        QTest::newRow("dot") << "./x" << false;
        QTest::newRow("control") << "0001/a\nb" << false;
        QTest::newRow("empty") << "" << false;
    }
    void safeBackupPaths() {
        QFETCH(QString, path);
        QFETCH(bool, safe);
        QCOMPARE(IsSafeBackupPath(path), safe);
    }

    void reminderIsDueAfterTheInterval_data() {
        QTest::addColumn<int>("days");
        QTest::addColumn<int>("lastAgo"); // -1: no backup yet
        QTest::addColumn<bool>("observations");
        QTest::addColumn<bool>("due");
        QTest::newRow("31 days, interval 30") << 30 << 31 << true << true;
        QTest::newRow("30 days, interval 30") << 30 << 30 << true << false;
        QTest::newRow("never, data") << 30 << -1 << true << true;
        QTest::newRow("never, no data") << 30 << -1 << false << false;
        QTest::newRow("interval 0") << 0 << 400 << true << false;
        QTest::newRow("interval 7") << 7 << 8 << true << true;
    }
    void reminderIsDueAfterTheInterval() {
        QFETCH(int, days);
        QFETCH(int, lastAgo);
        QFETCH(bool, observations);
        QFETCH(bool, due);
        const QDate today(2026, 12, 10);
        BackupSettings s;
        s.reminderDays = days;
        if (lastAgo >= 0)
            s.lastBackup = today.addDays(-lastAgo);
        QCOMPARE(BackupReminderDue(s, today, observations), due);
    }

    void backupSettingsLiveInTarvoIni() {
        QCOMPARE(LoadBackupSettings().reminderDays, 30);
        QVERIFY(!LoadBackupSettings().lastBackup.isValid());
        QVERIFY(ObservationsExist());
        // A backup notes its date and folder in the tarvo.ini it holds and in the program folder's.
        const BackupResult result =
            WriteBackup(zip_, BackupScope::Current(), QDateTime(QDate(2026, 5, 3), QTime(8, 0)),
                        BackupNote{true, QStringLiteral("/media/stick")});
        QVERIFY(result.settingsError.isEmpty());
        QCOMPARE(ReadVerifiedBackup(zip_).contents.value(QStringLiteral("tarvo.ini")),
                 ReadTestFile(home_.filePath(QStringLiteral("tarvo.ini"))));
        SaveReminderDays(99999);
        const BackupSettings s = LoadBackupSettings();
        QCOMPARE(s.lastBackup, QDate(2026, 5, 3));
        QCOMPARE(s.folder, QStringLiteral("/media/stick"));
        QCOMPARE(s.reminderDays, BackupSettings::kMaxReminderDays);
        const IniFile ini(home_.filePath(QStringLiteral("tarvo.ini")));
        QCOMPARE(ini.readString(QStringLiteral("Datensicherung"), QStringLiteral("Letzte"), QString()),
                 QStringLiteral("2026-05-03"));
        QCOMPARE(ini.readString(QStringLiteral("Beobachter"), QStringLiteral("Anna"), QString()),
                 QStringLiteral("0002\\"));
        QCOMPARE(BackupReminderText(s, QDate(2026, 6, 17)).section(QLatin1Char('\n'), 0, 0),
                 QStringLiteral("Ihre letzte Datensicherung ist 45 Tage alt (03.05.2026)."));
    }
};

QTEST_GUILESS_MAIN(BackupTest)
#include "test_backup.moc"
