#pragma once

// Runs the tarvo-cli built beside the tests and keeps what it printed.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1: it did not finish normally within 30 s
    QByteArray out;
    QByteArray err;
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

inline CliRun RunCli(const QStringList &args) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli"), args);
    if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
