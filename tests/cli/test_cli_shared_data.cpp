// tarvo-cli beside other Tarvo processes and on settings that do not name an
// observer: concurrent writers lose nothing, a busy observer is reported,
// data commands without an observer stop before touching anything.
#include "../common/folder_snapshot.h"
#include "../common/cli_run.h"
#include "storage/folder_lock.h"
#include "storage/month_summary.h"

#include <QLockFile>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <map>

namespace {

const QByteArray kSettings =
    "[TARVO32]\r\nBeobachter=Muster\r\nFileVersion=9\r\n[Beobachter]\r\nMuster=0001\\\r\n";

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray ReadFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A program folder with the observer "Muster" (0001) current.
void MakeHome(const QString &home, const QByteArray &settings = kSettings) {
    QDir(home).mkpath(QStringLiteral("0001"));
    WriteFile(home + QStringLiteral("/tarvo.ini"), settings);
}

// A copy of the SILSO monthly numbers of its own: the import may write a
// converted copy beside the file it reads.
QString SilsoCopy(const QString &folder) {
    const QString path = folder + QStringLiteral("/SN_m_tot_V2.0_1950-2005.txt");
    QFile::copy(QStringLiteral(TARVO_TEST_DATA "/silso/SN_m_tot_V2.0_1950-2005.txt"), path);
    return path;
}

// SIDC and SIDC M of every month of the archive 1950-1999.
QList<std::pair<double, double>> SidcSeries(const QString &home) {
    const QByteArray bytes = ReadFile(home + QStringLiteral("/0001/19501999.asw"));
    QList<std::pair<double, double>> series;
    for (qsizetype at = 0; at + qsizetype(sizeof(TMonthSummary)) <= bytes.size();
         at += sizeof(TMonthSummary)) {
        TMonthSummary s;
        std::memcpy(&s, bytes.constData() + at, sizeof s);
        series.append({s.SIDC, s.SIDCM});
    }
    return series;
}

} // namespace

class CliSharedDataTest : public QObject {
    Q_OBJECT
private slots:
    // Two imports started together on the same observer and archive both
    // land: each year is read, changed and written under the observer's lock.
    void twoImportsAtOnceBothLand() {
        QTemporaryDir reference;
        MakeHome(reference.path());
        const QString file = SilsoCopy(reference.path());
        QCOMPARE(RunCli({"--home", reference.path(), "import", "sidc", file, "1950", "1974"}).exitCode, 0);
        QCOMPARE(RunCli({"--home", reference.path(), "import", "sidc", file, "1975", "1999"}).exitCode, 0);
        const auto expected = SidcSeries(reference.path());
        QCOMPARE(expected.size(), 600);
        QVERIFY(expected[0].first > 0 && expected[599].first > 0);

        for (int attempt = 1; attempt <= 20; ++attempt) {
            QTemporaryDir home, first, second;
            MakeHome(home.path());
            QProcess a, b;
            a.start(CliProgram(),
                    {"--home", home.path(), "import", "sidc", SilsoCopy(first.path()), "1950", "1974"});
            b.start(CliProgram(),
                    {"--home", home.path(), "import", "sidc", SilsoCopy(second.path()), "1975", "1999"});
            QVERIFY(a.waitForFinished(30000) && b.waitForFinished(30000));
            QVERIFY2(a.exitCode() == 0, a.readAllStandardError().constData());
            QVERIFY2(b.exitCode() == 0, b.readAllStandardError().constData());
            QVERIFY2(SidcSeries(home.path()) == expected,
                     qPrintable(QStringLiteral("attempt %1").arg(attempt)));
        }
    }

    // Another process holds the observer's files: the import waits a few
    // seconds, then says so in German and changes nothing.
    void busyObserverIsReportedAndNothingChanges() {
        QTemporaryDir home, input;
        MakeHome(home.path());
        const QString file = SilsoCopy(input.path());
        QLockFile other(FolderLock::LockFileName(home.filePath(QStringLiteral("0001"))));
        QVERIFY(other.tryLock(0));
        const auto before = FolderContents(home.path());
        const CliRun r = RunCli({"--home", home.path(), "import", "sidc", file, "1990", "1991"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(
            r.err.contains("werden gerade von einem anderen Tarvo-Programm ge\xc3\xa4ndert. Es wurde nichts "
                           "ge\xc3\xa4ndert"),
            r.err.constData());
        QVERIFY(FolderContents(home.path()) == before);
        other.unlock();
        QCOMPARE(RunCli({"--home", home.path(), "import", "sidc", file, "1990", "1991"}).exitCode, 0);
    }

    // Without a current observer the data commands stop with exit 1 instead
    // of reading and writing in the program folder, and create nothing.
    void noObserverNoDataCommand_data() {
        QTest::addColumn<QByteArray>("settings"); // "-": no tarvo.ini at all
        QTest::addColumn<QStringList>("command");
        const QByteArray unknown =
            "[TARVO32]\r\nBeobachter=Niemand\r\nFileVersion=9\r\n[Beobachter]\r\nMuster=0001\\\r\n";
        const QList<std::pair<const char *, QStringList>> commands = {
            {"year", {"year", "2004"}},
            {"archive", {"archive", "2004"}},
            {"lines", {"lines", "re", "2004", "3"}},
            {"export", {"export", "re", "2004", "3", "<out>/Rezahl.dat"}},
            {"report", {"report", "sob01", "2004", "3", "<out>/sob01.pdf"}},
            {"send", {"send", "2004", "3"}},
            {"import sidc", {"import", "sidc", "<in>", "1990", "1991"}},
            {"import netdef", {"import", "netdef", "<in>", "1990", "1991"}},
        };
        for (const auto &[name, command] : commands) {
            QTest::addRow("%s, unknown current observer", name) << unknown << command;
            QTest::addRow("%s, no tarvo.ini", name) << QByteArray("-") << command;
        }
    }
    void noObserverNoDataCommand() {
        QFETCH(QByteArray, settings);
        QFETCH(QStringList, command);
        QTemporaryDir home, input, output;
        if (settings != "-")
            MakeHome(home.path(), settings);
        const QString in = SilsoCopy(input.path());
        command.replaceInStrings(QStringLiteral("<in>"), in);
        command.replaceInStrings(QStringLiteral("<out>"), output.path());
        const auto before = FolderContents(home.path());
        const CliRun r = RunCli(QStringList{"--home", home.path()} + command);
        QCOMPARE(r.exitCode, 1);
        QCOMPARE(r.err, QByteArray("tarvo-cli: Es ist kein Beobachter eingerichtet\n"));
        QVERIFY(r.out.isEmpty());
        QVERIFY(FolderContents(home.path()) == before);
        QVERIFY(QDir(output.path()).isEmpty());
        // What needs no observer still works.
        QCOMPARE(RunCli({"--home", home.path(), "sun", "01.06.2004", "12:00"}).exitCode, 0);
        QCOMPARE(RunCli({"--home", home.path(), "observers"}).exitCode, 0);
        QVERIFY(FolderContents(home.path()) == before);
    }

    // tarvo.ini that cannot be understood: exit 1 with the reason, the file
    // untouched (no first start).
    void damagedSettingsStopTheCommand() {
        QTemporaryDir home;
        MakeHome(home.path(), QByteArray("Beobachter=Muster\r\n\x01\x02\x03"));
        const auto before = FolderContents(home.path());
        const CliRun r = RunCli({"--home", home.path(), "observers"});
        QCOMPARE(r.exitCode, 1);
        QVERIFY2(r.err.contains("Die Einstellungsdatei ") && r.err.contains("tarvo.ini ist besch\xc3\xa4"
                                                                            "digt"),
                 r.err.constData());
        QVERIFY(FolderContents(home.path()) == before);
    }

    // A year file that cannot be converted is an error (exit 1), not an
    // empty year; and the file stays as it was.
    void unconvertibleYearIsAnError() {
        QTemporaryDir home;
        MakeHome(home.path());
        WriteFile(home.filePath(QStringLiteral("0001/SO2004.DAT")), QByteArray(100, 'x'));
        for (int attempt = 0; attempt < 2; ++attempt) {
            const CliRun r = RunCli({"--home", home.path(), "year", "2004"});
            QCOMPARE(r.exitCode, 1);
            QCOMPARE(r.err, QByteArray("tarvo-cli: Versuch hinter dem Dateiende zu lesen\n"));
            QVERIFY(r.out.isEmpty());
        }
        QCOMPARE(ReadFile(home.filePath(QStringLiteral("0001/SO2004.DAT"))), QByteArray(100, 'x'));
    }
};

QTEST_GUILESS_MAIN(CliSharedDataTest)
#include "test_cli_shared_data.moc"
