// tarvo-cli never writes into the program's own files, keeps a copied program
// folder to itself and reports what an import did.
#include "../common/cli_run.h"
#include "../common/day_records.h"
#include "../common/file_bytes.h"
#include "../common/folder_snapshot.h"

#include "network/import_rules.h"
#include "shell/observer_admin.h"
#include "storage/ini_file.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A program folder as the program leaves it: first start, one observer
// "Muster" (0001) added, March 2004 observed.
void MakeProgramFolder(const QString &home) {
    StorageStartUp(home);
    TObserverProfile profile = EmptyProfile();
    LoadProgramSettings(profile);
    TObserverProfile muster = NewObserverProfile();
    muster.Name1.assign(QStringLiteral("Muster"));
    AddObserver(muster, FindFreeObserverDir());
    TYearBuffer year{};
    year.Day(3, 1) = ObservedDayRecord("08:00", 2, 10);
    year.Day(3, 2) = ObservedDayRecord("09:15", 3, 11);
    QVERIFY(WriteYear(2004, year));
}

const QString kSilso = QStringLiteral(TARVO_TEST_DATA "/silso/");

} // namespace

class TestCliDataSafety : public QObject {
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> dir_;
    QString home() const { return dir_->path(); }
    QString path(const QString &relative) const { return dir_->filePath(relative); }

private slots:
    void init() {
        dir_ = std::make_unique<QTemporaryDir>();
        QVERIFY(dir_->isValid());
        MakeProgramFolder(home());
    }

    void firstStartStoresTheDataPathRelative() {
        QCOMPARE(IniFile(path("tarvo.ini")).readString("TARVO32", "Datenpfad", QString()),
                 QStringLiteral("./"));
    }

    // Every export type refuses the program's own files, however they are
    // named, and leaves them (and everything else) as they were.
    void exportRefusesTheProgramsFiles_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("named");
        const QString year = QStringLiteral("0001/SO2004.DAT");
        QTest::newRow("re into the year file") << "re" << year << year;
        QTest::newRow("a into the year file") << "a" << year << year;
        QTest::newRow("f into the year file") << "f" << year << year;
        QTest::newRow("csv over the year file") << "csv" << year << year;
        QTest::newRow("html over the year file") << "html" << year << year;
        QTest::newRow("old year file") << "re"
                                       << "0001/SO2003.OLD"
                                       << "0001/SO2003.OLD";
        QTest::newRow("archive") << "re"
                                 << "0001/20002049.asw"
                                 << "0001/20002049.asw";
        QTest::newRow("beob.ini") << "csv"
                                  << "0001/beob.ini"
                                  << "0001/beob.ini";
        QTest::newRow("AEF.CFG") << "re"
                                 << "0001/AEF.CFG"
                                 << "0001/AEF.CFG";
        QTest::newRow("tarvo.ini") << "html"
                                   << "tarvo.ini"
                                   << "tarvo.ini";
        QTest::newRow("another spelling") << "re"
                                          << "0001/../0001/./SO2004.DAT" << year;
        QTest::newRow("a link") << "re"
                                << "Rezahl.dat" << year;
        QTest::newRow("other case") << "re"
                                    << "0001/so2004.dat"
                                    << "0001/so2004.dat";
    }
    void exportRefusesTheProgramsFiles() {
        QFETCH(QString, type);
        QFETCH(QString, target);
        QFETCH(QString, named);
        WriteBytes(path("0001/SO2003.OLD"), "alt");
        WriteBytes(path("0001/20002049.asw"), "archiv");
        WriteBytes(path("0001/AEF.CFG"), QByteArray(5656, '\0'));
        QVERIFY(QFile::link(path("0001/SO2004.DAT"), path("Rezahl.dat")));
        const FolderSnapshot before = SnapshotFolder(home());
        const CliRun r = RunCli({"--home", home(), "export", type, "2004", "3", path(target)});
        QCOMPARE(r.exitCode, 1);
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(err.contains(QLatin1String("wird nicht exportiert")), r.err.constData());
        QVERIFY2(err.contains(QFileInfo(path(named)).fileName()), r.err.constData());
        QCOMPARE(SnapshotFolder(home()), before);
    }

    void exportBesideTheProgramsFilesWorks() {
        const CliRun r = RunCli({"--home", home(), "export", "re", "2004", "3", path("0001/Rezahl.dat")});
        QCOMPARE(r.err, QByteArray());
        QCOMPARE(r.exitCode, 0);
        QVERIFY(!ReadBytes(path("0001/Rezahl.dat")).isEmpty());
    }

    // A copy of the program folder (a backup, a test) works on itself only:
    // nothing it does reaches the original.
    void copiedProgramFolderIsSelfContained() {
        QTemporaryDir copyParent;
        const QString copy = copyParent.filePath("kopie");
        QProcess cp;
        cp.start(QStringLiteral("cp"), {QStringLiteral("-a"), home(), copy});
        QVERIFY(cp.waitForFinished(10000));
        QCOMPARE(cp.exitCode(), 0);
        const FolderSnapshot original = SnapshotFolder(home());

        const QString sidc = copyParent.filePath("SN_m_tot_V2.0.txt");
        QVERIFY(QFile::copy(kSilso + "SN_m_tot_V2.0_1950-2005.txt", sidc));
        const QList<QStringList> commands = {
            {"archive", "2004"},
            {"import", "sidc", sidc, "1950", "2005"},
            {"export", "re", "2004", "3", copy + "/0001/Rezahl.dat"},
            {"export", "csv", "2004", "3", copy + "/0001/maerz.csv"},
        };
        for (const QStringList &command : commands) {
            const CliRun r = RunCli(QStringList{"--home", copy} + command);
            QVERIFY2(r.exitCode == 0, r.err.constData());
        }
        QCOMPARE(SnapshotFolder(home()), original);
        QVERIFY(QFileInfo::exists(copy + "/0001/20002049.asw"));
        QVERIFY(QFileInfo::exists(copy + "/0001/Rezahl.dat"));
        // The copy's own settings name no folder of the original.
        QVERIFY(!ReadBytes(copy + "/tarvo.ini").contains(QFile::encodeName(home())));
    }

    void importReportsWhatItDid() {
        const CliRun r = RunCli({"--home", home(), "import", "sidc", kSilso + "SN_m_tot_V2.0_1950-2005.txt",
                                 "1950", QString::number(QDate::currentDate().year())});
        QVERIFY2(r.exitCode == 0, r.err.constData());
        const QString out = QString::fromUtf8(r.out);
        QVERIFY2(out.startsWith(SidcImportedMessage() + QStringLiteral("\n\n")), r.out.constData());
        QVERIFY2(out.contains(QLatin1String("Importiert: 01/1950 bis 12/2005, 672 Monate geschrieben.\n")),
                 r.out.constData());
        QVERIFY2(
            out.contains(QStringLiteral("Nicht in der Datei enthalten, unverändert: 01/2006 bis 12/%1.\n")
                             .arg(QDate::currentDate().year())),
            r.out.constData());
        QVERIFY(!out.contains(OldSidcScaleNotice())); // today's scale
    }

    // The old-scale notice comes only with old-scale numbers actually imported.
    void oldScaleNoticeOnlyWhenImported_data() {
        QTest::addColumn<QString>("first");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("imported") << "2005" << 0;
        QTest::newRow("range outside the file") << "1990" << 1;
    }
    void oldScaleNoticeOnlyWhenImported() {
        QFETCH(QString, first);
        QFETCH(int, exitCode);
        const QString file = kSilso + "fixture_short_to2005-05.dat";
        const CliRun r = RunCli({"--home", home(), "import", "sidc", file, first, first});
        QCOMPARE(r.exitCode, exitCode);
        QCOMPARE(QString::fromUtf8(r.out).contains(OldSidcScaleNotice()), exitCode == 0);
        if (exitCode != 0)
            QVERIFY2(QString::fromUtf8(r.err).contains(QLatin1String("keine passenden Monatszeilen")),
                     r.err.constData());
    }

    // An import that matches nothing exits 1, names the file and writes nothing.
    void importMatchingNothingChangesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("sidc, empty file") << "sidc" << QByteArray();
        QTest::newRow("netdef, empty file") << "netdef" << QByteArray();
        QTest::newRow("netdef, header only") << "netdef" << QByteArray("Jahr Mo Rdef\r\n");
        QTest::newRow("sidc, another file") << "sidc" << QByteArray("[TARVO32]\r\nVersion=1.0\r\n");
    }
    void importMatchingNothingChangesNothing() {
        QFETCH(QString, kind);
        QFETCH(QByteArray, content);
        QTemporaryDir source;
        const QString file = source.filePath("leer.dat");
        WriteBytes(file, content);
        const FolderSnapshot before = SnapshotFolder(home());
        const CliRun r = RunCli({"--home", home(), "import", kind, file, "2000", "2004"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        const QString err = QString::fromUtf8(r.err);
        QVERIFY2(err.contains(QStringLiteral("„%1“").arg(file)), r.err.constData());
        QVERIFY2(err.contains(QLatin1String("keine passenden Monatszeilen")), r.err.constData());
        QCOMPARE(SnapshotFolder(home()), before);
    }
};

QTEST_GUILESS_MAIN(TestCliDataSafety)
#include "test_cli_data_safety.moc"
