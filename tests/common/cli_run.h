#pragma once

// Runs a program of the build (tarvo-cli, pdftotext) and keeps its output.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

inline CliRun RunProgram(const QString &program, const QStringList &args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000))
        return {-1, {}, {}};
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

inline CliRun RunTarvoCli(const QStringList &args) {
    return RunProgram(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli"), args);
}
