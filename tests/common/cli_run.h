#pragma once

// Runs a program of the build (tarvo-cli) or of the system (pdftotext) and keeps what it printed.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1: it did not finish normally within 60 s
    QByteArray out;
    QByteArray err;
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

inline CliRun RunProgram(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// tarvo-cli built beside the tests.
inline CliRun RunCli(const QStringList &args) {
    return RunProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli"), args);
}
