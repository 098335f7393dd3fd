#pragma once

// Runs a program of the build (tarvo-cli) or of the system (pdftotext) and keeps what it printed.

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

struct CliRun {
    int exitCode = -1; // -1: it did not finish normally within 60 s
    QByteArray out;
    QByteArray err;
    QString outText() const { return QString::fromUtf8(out); }
    QString errText() const { return QString::fromUtf8(err); }
};

// Runs with the locale `lcAll` (C.UTF-8 unless a test asks for another).
inline CliRun RunProgram(const QString &program, const QStringList &args,
                         const QString &lcAll = QStringLiteral("C.UTF-8")) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), lcAll);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
        return {};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}

// tarvo-cli built beside the tests.
inline QString CliProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli");
}

inline CliRun RunCli(const QStringList &args, const QString &lcAll = QStringLiteral("C.UTF-8")) {
    return RunProgram(CliProgram(), args, lcAll);
}
