// tarvo-cli --help and --version: answered on stdout with exit 0, in German,
// with the program's version; a wrong option stays a usage error.
#include "../common/cli_run.h"
#include "storage/profile.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

struct TextRun {
    int exitCode;
    QString out;
    QString err;
};

TextRun Run(const QStringList &args) {
    const CliRun r = RunCli(args);
    return {r.exitCode, QString::fromUtf8(r.out), QString::fromUtf8(r.err)};
}

} // namespace

class CliHelpTest : public QObject {
    Q_OBJECT
private slots:
    void helpListsOptionsAndEveryCommandInGerman_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("alone") << QStringList{"--help"};
        QTest::newRow("after --home") << QStringList{"--home", "/nicht/vorhanden", "--help"};
        QTest::newRow("before a command") << QStringList{"--help", "year", "nix"};
    }
    void helpListsOptionsAndEveryCommandInGerman() {
        QFETCH(QStringList, args);
        const TextRun r = Run(args);
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.err, QString());
        QVERIFY(r.out.startsWith(QStringLiteral("Aufruf: tarvo-cli [--home DIR] [--observer KEY] COMMAND")));
        for (const char *heading : {"\nOptionen:\n", "\nBefehle:\n", "\nRückgabewert: 0 bei Erfolg"})
            QVERIFY2(r.out.contains(QString::fromUtf8(heading)), heading);
        for (const char *option : {"--home DIR", "--observer KEY", "--help", "--version"})
            QVERIFY2(r.out.contains(QStringLiteral("\n  %1 ").arg(QLatin1String(option))), option);
        // Each command on its own line, its German description below it.
        const QStringList lines = r.out.split(QLatin1Char('\n'));
        for (const char *command :
             {"observers", "year YEAR [MONTH]", "archive YEAR", "lines re|a|f YEAR MONTH",
              "export csv|html|re|a|f YEAR MONTH FILE", "import sidc|netdef FILE FROM TO",
              "sun DD.MM.YYYY HH:MM", "position DD.MM.YYYY HH:MM X Y RADIUS",
              "report sob01|sob09 YEAR MONTH OUT.pdf", "send YEAR MONTH [--lists re,a,f]",
              "import silso-daily|silso-hem FILE", "compare YEAR [MONTH]"}) {
            const qsizetype at = lines.indexOf(QStringLiteral("  ") + QLatin1String(command));
            QVERIFY2(at > 0, command);
            QVERIFY2(lines.value(at + 1).startsWith(QLatin1String("      ")), command);
        }
        QVERIFY(
            r.out.contains(QStringLiteral("      die Tagesdatensätze des Jahres (oder Monats) als CSV\n")));
    }

    void versionIsTheProgramVersion() {
        const TextRun r = Run({"--version"});
        QCOMPARE(r.exitCode, 0);
        QCOMPARE(r.out, QStringLiteral("tarvo-cli %1\n").arg(ReadProgramVersion()));
        QVERIFY(QRegularExpression(QStringLiteral("^\\d+(\\.\\d+){1,3}$"))
                    .match(ReadProgramVersion())
                    .hasMatch());
    }

    // Neither option reads or writes a program folder.
    void informationOptionsTouchNoFolder() {
        QTemporaryDir dir;
        for (const char *option : {"--help", "--version"})
            QCOMPARE(Run({"--home", dir.path(), option}).exitCode, 0);
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void unknownOptionIsAUsageError() {
        const TextRun r = Run({"--hilfe"});
        QCOMPARE(r.exitCode, 2);
        QCOMPARE(r.out, QString());
        QVERIFY(r.err.startsWith(QStringLiteral("Aufruf: tarvo-cli")));
        QVERIFY(r.err.contains(QStringLiteral("\n  observers\n")));
    }
};

QTEST_GUILESS_MAIN(CliHelpTest)
#include "test_cli_help.moc"
