// tarvo-cli import silso-daily|silso-hem and compare: the summary of an
// import, the refused file (exit 1, nothing written) and the exact CSV of the
// hand-worked month and its year.
#include "../common/cli_run.h"
#include "reference/reference_store.h"
#include "reference_fixture.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kSilso = QStringLiteral(TARVO_TEST_DATA "/silso/");

} // namespace

class TestCliReference : public QObject {
    Q_OBJECT
    QTemporaryDir home_;
    QTemporaryDir files_;
    QString daily_, hem_;

    CliRun Cli(const QStringList &args) { return RunCli(QStringList{"--home", home_.path()} + args); }

private slots:
    void initTestCase() {
        MakeHandHome(home_.path());
        daily_ = files_.filePath(QStringLiteral("SN_d_tot_V2.0.csv"));
        hem_ = files_.filePath(QStringLiteral("SN_m_hem_V2.0.csv"));
        WriteBytes(daily_, HandSilsoDailyCsv());
        WriteBytes(hem_, HandSilsoHemCsv());
    }

    void compareWithoutSilsoIsAnError() {
        const CliRun r = Cli({"compare", "2000"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        QVERIFY(r.errText().startsWith(QStringLiteral("tarvo-cli: Für 2000 sind keine SILSO-Tageszahlen "
                                                      "gespeichert.")));
    }

    void importPrintsFirstAndLastDateAndCount() {
        CliRun r = Cli({"import", "silso-daily", daily_});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.outText(), QStringLiteral("Die SILSO-Tageszahlen sind jetzt gespeichert.\n\n"
                                             "Importiert: 01.03.2000 bis 08.03.2000, 6 Tageswerte.\n"
                                             "Ohne Zahl in der Datei: 1 Tag.\n"));
        r = Cli({"import", "silso-hem", hem_});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.outText(), QStringLiteral("Die SILSO-Halbkugelzahlen sind jetzt gespeichert.\n\n"
                                             "Importiert: 03/2000 bis 03/2000, 1 Monatswert.\n"));
        QVERIFY(QFile::exists(home_.filePath(QStringLiteral("Referenz/silso-daily.txt"))));
        QVERIFY(QFile::exists(home_.filePath(QStringLiteral("Referenz/silso-hem.txt"))));
    }

    // A file of the other series, or one that does not exist: exit 1, named, nothing written.
    void refusedImportWritesNothing_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("file");
        QTest::newRow("hemispheric as daily") << "silso-daily"
                                              << "hem";
        QTest::newRow("daily as hemispheric") << "silso-hem"
                                              << "daily";
        QTest::newRow("missing") << "silso-daily"
                                 << "missing";
    }
    void refusedImportWritesNothing() {
        QFETCH(QString, kind);
        QFETCH(QString, file);
        const QString path = file == "hem"     ? hem_
                             : file == "daily" ? daily_
                                               : files_.filePath(QStringLiteral("fehlt.csv"));
        const QByteArray daily = ReadBytes(home_.filePath(QStringLiteral("Referenz/silso-daily.txt")));
        const QByteArray hem = ReadBytes(home_.filePath(QStringLiteral("Referenz/silso-hem.txt")));
        const CliRun r = Cli({"import", kind, path});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.out, QByteArray());
        QVERIFY2(r.errText().startsWith(QStringLiteral("tarvo-cli: Die Datei „%1“").arg(path)),
                 r.err.constData());
        QVERIFY(r.errText().endsWith(QStringLiteral("Es wurde nichts importiert.\n")));
        QCOMPARE(ReadBytes(home_.filePath(QStringLiteral("Referenz/silso-daily.txt"))), daily);
        QCOMPARE(ReadBytes(home_.filePath(QStringLiteral("Referenz/silso-hem.txt"))), hem);
    }

    void compareMonthDayByDay() {
        const CliRun r = Cli({"compare", "2000", "3"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QByteArray());
        QByteArray expected = "Tag,Re,SILSO,Verhaeltnis\n"
                              "1,50,60,1.200\n"
                              "2,40,48,1.200\n"
                              "3,0,10,\n"
                              "4,,70,\n"
                              "5,,80,\n"
                              "6,30,,\n"
                              "7,20,,\n"
                              "8,10,16,1.600\n";
        for (int day = 9; day <= 31; ++day)
            expected += QByteArray::number(day) + ",,,\n";
        QCOMPARE(r.out, expected);
    }

    void compareYearMonthByMonth() {
        const CliRun r = Cli({"compare", "2000"});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 15); // header, 12 months, the year, nothing after the last LF
        QCOMPARE(lines[0], QByteArray("Monat,Tage,Re,SILSO,k,Verhaeltnis_Mittel,Verhaeltnis_Streuung,"
                                      "Re_Nord,SILSO_Nord,k_Nord,Re_Sued,SILSO_Sued,k_Sued"));
        QCOMPARE(lines[1], QByteArray("1,0,,,,,,,,,,,"));
        QCOMPARE(lines[3], QByteArray("3,4,25.0,33.5,1.340,1.333,0.231,15.0,30.0,2.000,15.0,22.5,1.500"));
        QCOMPARE(lines[12], QByteArray("12,0,,,,,,,,,,,"));
        QCOMPARE(lines[13], QByteArray("Jahr,4,25.0,33.5,1.340,1.333,0.231,,,,,,"));
        QCOMPARE(lines[14], QByteArray());
        QVERIFY(!r.out.contains('\r'));
    }

    void compareUsageErrors_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("no year") << QStringList{"compare"};
        QTest::newRow("month 13") << QStringList{"compare", "2000", "13"};
        QTest::newRow("too many") << QStringList{"compare", "2000", "3", "4"};
        QTest::newRow("import without file") << QStringList{"import", "silso-daily"};
    }
    void compareUsageErrors() {
        QFETCH(QStringList, args);
        const CliRun r = Cli(args);
        QCOMPARE(r.exitCode, 2);
        QVERIFY(r.errText().contains(QStringLiteral("Aufruf: tarvo-cli ") + args.first()));
    }

    // The program and tarvo-cli (or two runs) importing into the store at once:
    // both years land, every time.
    void twoImportsAtOnceBothLand() {
        const QString year2000 = kSilso + QStringLiteral("SN_d_tot_V2.0_2000.csv");
        const QString year2025 = kSilso + QStringLiteral("SN_d_tot_V2.0_2025-01_to_2025-07.txt");
        QTemporaryDir reference;
        for (const QString &file : {year2000, year2025})
            QCOMPARE(RunCli({"--home", reference.path(), "import", "silso-daily", file}).exitCode, 0);
        const QByteArray expected = ReadBytes(reference.filePath(QStringLiteral("Referenz/silso-daily.txt")));
        QVERIFY(expected.contains("\r\n2000-12-31;") && expected.contains("\r\n2025-07-31;"));
        for (int attempt = 1; attempt <= 10; ++attempt) {
            QTemporaryDir home;
            QProcess a, b;
            a.start(CliProgram(), {"--home", home.path(), "import", "silso-daily", year2000});
            b.start(CliProgram(), {"--home", home.path(), "import", "silso-daily", year2025});
            QVERIFY(a.waitForFinished(30000) && b.waitForFinished(30000));
            QVERIFY2(a.exitCode() == 0, a.readAllStandardError().constData());
            QVERIFY2(b.exitCode() == 0, b.readAllStandardError().constData());
            QVERIFY2(ReadBytes(home.filePath(QStringLiteral("Referenz/silso-daily.txt"))) == expected,
                     qPrintable(QStringLiteral("attempt %1").arg(attempt)));
        }
    }

    // The store is the program's: no observer is needed to import, but to compare.
    void withoutObserver() {
        QTemporaryDir empty;
        CliRun r = RunCli({"--home", empty.path(), "import", "silso-daily", daily_});
        QCOMPARE(r.exitCode, 0);
        r = RunCli({"--home", empty.path(), "compare", "2000", "3"});
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.errText(), QStringLiteral("tarvo-cli: Es ist kein Beobachter eingerichtet\n"));
    }
};

QTEST_GUILESS_MAIN(TestCliReference)
#include "test_cli_reference.moc"
