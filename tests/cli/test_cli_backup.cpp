// tarvo-cli backup, verify and restore.
#include "../backup/backup_fixture.h"

#include "../common/cli_run.h"
#include "storage/ini_file.h"

class CliBackupTest : public QObject {
    Q_OBJECT
    QTemporaryDir *home_ = nullptr;
    QTemporaryDir *out_ = nullptr;
    QString zip_;

private slots:
    void init() {
        home_ = new QTemporaryDir;
        out_ = new QTemporaryDir;
        MakeProgramFolder(home_->path());
        zip_ = out_->filePath(QStringLiteral("sicherung.zip"));
    }
    void cleanup() {
        delete home_;
        delete out_;
    }

    void backupThenVerify() {
        const CliRun backup = RunCli({"--home", home_->path(), "backup", zip_});
        QCOMPARE(backup.exitCode, 0);
        QVERIFY2(backup.outText().startsWith(QStringLiteral("Datensicherung: %1\nGesichert am: ").arg(zip_)),
                 qPrintable(backup.outText()));
        QVERIFY(backup.outText().contains(QStringLiteral("\nBeobachter Muster (Ordner 0001): Jahre 2004\n"
                                                         "Beobachter Anna (Ordner 0002): Jahre 2010\n"
                                                         "Referenzdaten: 1 Datei\nDateien: 9, zusammen ")));
        QCOMPARE(IniFile(home_->filePath("tarvo.ini")).readString("Datensicherung", "Letzte", QString()),
                 QDate::currentDate().toString(Qt::ISODate));

        const CliRun verify = RunCli({"--home", home_->path(), "verify", zip_});
        QCOMPARE(verify.exitCode, 0);
        QVERIFY(verify.outText().endsWith(
            QStringLiteral("Dateien: 9, zusammen %1 Bytes\nAlle Dateien stimmen.\n")
                .arg(backup.outText().section(QStringLiteral("zusammen "), 1).section(' ', 0, 0))));

        QByteArray damaged = ReadTestFile(zip_);
        damaged.truncate(damaged.size() - 100);
        WriteTestFile(zip_, damaged);
        const CliRun bad = RunCli({"--home", home_->path(), "verify", zip_});
        QCOMPARE(bad.exitCode, 1);
        QVERIFY(bad.outText().isEmpty());
        QVERIFY2(bad.errText().startsWith(
                     QStringLiteral("tarvo-cli: Die Datensicherung „%1“ ist nicht verwendbar.\n").arg(zip_)),
                 qPrintable(bad.errText()));
    }

    void dryRunListsChangesAndWritesNothing() {
        QCOMPARE(RunCli({"--home", home_->path(), "backup", zip_}).exitCode, 0);
        WriteTestFile(home_->filePath(QStringLiteral("0001/SO2004.DAT")), YearBytes(SampleYear(70)));
        const QMap<QString, QByteArray> before = Snapshot(home_->path());
        const CliRun dry = RunCli({"--home", home_->path(), "restore", zip_, "--dry-run"});
        QCOMPARE(dry.exitCode, 0);
        QVERIFY2(dry.outText().endsWith(QStringLiteral("ersetzt: 0001/SO2004.DAT\nunverändert: 8 Dateien\n"
                                                       "Probelauf: nichts wurde geschrieben.\n")),
                 qPrintable(dry.outText()));
        QCOMPARE(Snapshot(home_->path()), before);
    }

    void restoreIntoAnotherFolderWorksThere() {
        QCOMPARE(RunCli({"--home", home_->path(), "backup", zip_}).exitCode, 0);
        // A new computer: a program folder that was never started (tarvo-cli makes no tarvo.ini).
        QTemporaryDir other;
        const CliRun restore = RunCli({"--home", other.path(), "restore", zip_});
        QCOMPARE(restore.exitCode, 0);
        QVERIFY2(restore.outText().contains(QStringLiteral("\nEs gab keinen vorherigen Stand zu sichern.\n")),
                 qPrintable(restore.outText()));
        QVERIFY(restore.outText().contains(QStringLiteral("\nWiederhergestellt: 9 Dateien geschrieben.\n")));

        const CliRun observers = RunCli({"--home", other.path(), "observers"});
        QCOMPARE(observers.outText(), QStringLiteral("* Muster\t0001\\\n  Anna\t0002\\\n"));
        const CliRun year = RunCli({"--home", other.path(), "year", "2004", "3"});
        QCOMPARE(year.exitCode, 0);
        QVERIFY(year.outText().contains(QStringLiteral("\n3,5,,10:00,-1,-1,-1,-1,-1,-1,-1,2,15,35,")));
        const CliRun archive = RunCli({"--home", other.path(), "archive", "2004"});
        QCOMPARE(archive.exitCode, 0);
        QVERIFY(archive.outText().section('\n', 1, 1).contains(QStringLiteral(",123.5,")));
    }

    void usageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("backup without file") << QStringList{"backup"};
        QTest::newRow("restore with unknown option") << QStringList{"restore", "x.zip", "--probe"};
        QTest::newRow("verify with two files") << QStringList{"verify", "a.zip", "b.zip"};
    }
    void usageErrors() {
        QFETCH(QStringList, args);
        const CliRun r = RunCli(QStringList{"--home", home_->path()} + args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.errText().contains(QStringLiteral("Aufruf: tarvo-cli ")));
    }
};

QTEST_GUILESS_MAIN(CliBackupTest)
#include "test_cli_backup.moc"
