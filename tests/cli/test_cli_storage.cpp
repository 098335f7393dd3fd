#include "../common/cli_run.h"
#include "storage/day_record.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

namespace {

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// A program directory with two observers; "Muster" (0001) has a 2004 year file.
void MakeHome(const QTemporaryDir &dir) {
    WriteFile(dir.filePath("tarvo.ini"), "[TARVO32]\r\nBeobachter=Muster\r\nFileVersion=9\r\n"
                                         "[Beobachter]\r\nMuster=0001\\\r\nAnna=0002\\\r\n");
    QDir(dir.path()).mkpath("0001");
    TYearBuffer y;
    std::memset(&y, 0, sizeof y);
    for (int day : {1, 2}) {
        TDayRecord &d = y.Day(3, day);
        std::memset(&d, 0xFF, sizeof d);
        std::memset(d.Reserved1, 0, 4);
        std::memset(d.Reserved2, 0, 44);
        d.Zeit.assign(day == 1 ? QStringLiteral(" 9:30") : QStringLiteral("10:00"));
        d.Bemerkung.assign(day == 1 ? QStringLiteral("Wolken, \"dünn\"") : QString());
        d.z_f.assign(QString());
        d.Po.assign(QString());
        d.Fl = day == 1 ? 'X' : 0;
        d.Re = day == 1 ? 35 : 47;
        d.A = day == 1 ? 2 : -1;
    }
    WriteFile(dir.filePath("0001/SO2004.DAT"), QByteArray(reinterpret_cast<const char *>(&y), sizeof y));
}

} // namespace

class CliStorageTest : public QObject {
    Q_OBJECT
private slots:
    void observersMarksTheCurrentOne() {
        QTemporaryDir dir;
        MakeHome(dir);
        const CliRun r = RunCli({"--home", dir.path(), "observers"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("* Muster\t0001\\\n  Anna\t0002\\\n"));
    }

    void yearPrintsDayRecordsAsCsv() {
        QTemporaryDir dir;
        MakeHome(dir);
        const CliRun r = RunCli({"--home", dir.path(), "year", "2004", "3"});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.out.split('\n');
        QCOMPARE(lines.size(), 1 + 31 + 1); // header, March, trailing empty
        QCOMPARE(lines[0], QByteArray("Monat,Tag,Bemerkung,Zeit,Ruhe,Schaerfe,Qualitaet,g_n,f_n,g_s,f_s,g,f,Re,Rs,"
                                      "p,s,SN,CV,A,Ab,Fo,Fm,FEF,FEP,pfn,pfs,z_f,Po,Fl,LN,LS,LGES"));
        QCOMPARE(lines[1], QByteArray("3,1,\"Wolken, \"\"dünn\"\"\", 9:30,-1,-1,-1,-1,-1,-1,-1,-1,-1,35,-1,"
                                      "-1,-1,-1,-1,2,-1,-1,-1,-1,-1,-1,-1,,,88,-1,-1,-1"));
        QVERIFY(lines[2].startsWith("3,2,,10:00,"));
        QVERIFY(lines[2].contains(",47,"));
        QCOMPARE(lines[3], QByteArray("3,3,,,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,0,,,0,0,0,0"));
    }

    void archivePrintsTheTwelveSummaries() {
        QTemporaryDir dir;
        MakeHome(dir);
        const CliRun r = RunCli({"--home", dir.path(), "archive", "2004"});
        QCOMPARE(r.exitCode, 0);
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        QCOMPARE(lines.size(), 13);
        const QList<QByteArray> header = lines[0].split(',');
        QCOMPARE(header.size(), 2 + 28 + 23 + 1);
        QCOMPARE(header.last(), QByteArray("P9"));
        const QList<QByteArray> march = lines[3].split(',');
        QCOMPARE(march[0], QByteArray("3"));
        QCOMPARE(march[1], QByteArray("2004"));
        QCOMPARE(march[header.indexOf("MeanRe")], QByteArray("41"));
        QCOMPARE(march[header.indexOf("MeanA")], QByteArray("2"));
        QCOMPARE(march[header.indexOf("Counts9")], QByteArray("2"));
        QCOMPARE(march[header.indexOf("Counts15")], QByteArray("1"));
        QVERIFY(QFile::exists(dir.filePath("0001/20002049.asw")));
    }

    void errorsAndUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("unknown observer") << QStringList{"--observer", "Niemand", "year", "2004"} << 1
                                          << QByteArray("Beobachter 'Niemand' ist nicht vorhanden");
        QTest::newRow("bad year") << QStringList{"year", "zwei"} << 2 << QByteArray("YEAR");
        QTest::newRow("unknown command") << QStringList{"tanzen"} << 2 << QByteArray("Aufruf");
        QTest::newRow("unreadable year") << QStringList{"year", "2005"} << 1 << QByteArray("E/A-Fehler");
    }
    void errorsAndUsage() {
        QFETCH(QStringList, args);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, message);
        QTemporaryDir dir;
        MakeHome(dir);
        QDir(dir.path()).mkpath("0001/SO2005.DAT");
        const CliRun r = RunCli(QStringList{"--home", dir.path()} + args);
        QCOMPARE(r.exitCode, exitCode);
        QVERIFY2(r.err.contains(message), r.err.constData());
    }

    void otherObserverForOneRun() {
        QTemporaryDir dir;
        MakeHome(dir);
        const CliRun r = RunCli({"--home", dir.path(), "--observer", "Anna", "observers"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QByteArray("  Muster\t0001\\\n* Anna\t0002\\\n"));
        QFile ini(dir.filePath("tarvo.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QVERIFY(ini.readAll().contains("Beobachter=Muster"));
    }
};

QTEST_GUILESS_MAIN(CliStorageTest)
#include "test_cli_storage.moc"
