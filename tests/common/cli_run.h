#pragma once

// Runs tarvo-cli (built beside the tests) as a subprocess.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1: it did not finish normally
    QByteArray out;
    QByteArray err;
};

inline CliRun RunCli(const QStringList &args) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli"), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
