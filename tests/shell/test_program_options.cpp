// tarvo --version and --help answer on the terminal without a display and
// without touching any data folder.
#include "storage/profile.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class ProgramOptionsTest : public QObject {
    Q_OBJECT

    struct Run {
        int exitCode;
        QString out;
    };
    Run runTarvo(const QString &option, const QString &home) {
        QProcess p;
        // No display at all: the answer must come before any window is made.
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("TARVO_HOME"), home);
        p.setProcessEnvironment(env);
        p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo"), {option});
        if (!p.waitForFinished(30000))
            return {-1, {}};
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
    }

private slots:
    void versionAndHelp() {
        QTemporaryDir home;
        const Run version = runTarvo(QStringLiteral("--version"), home.path());
        QCOMPARE(version.exitCode, 0);
        QCOMPARE(version.out, QStringLiteral("tarvo %1\n").arg(ReadProgramVersion()));

        const Run help = runTarvo(QStringLiteral("--help"), home.path());
        QCOMPARE(help.exitCode, 0);
        QVERIFY(help.out.startsWith(QStringLiteral("Aufruf: tarvo [--help | --version]\n")));
        QVERIFY(help.out.contains(QStringLiteral("  --version    die Programmversion zeigen\n")));
        QVERIFY(help.out.contains(QStringLiteral("TARVO_HOME")));
        QVERIFY(QDir(home.path()).isEmpty());
    }
};

QTEST_GUILESS_MAIN(ProgramOptionsTest)
#include "test_program_options.moc"
