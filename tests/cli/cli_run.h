#pragma once
// Runs the built tarvo-cli and collects what it says.

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

inline QString CliProgram() {
    return QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli");
}

inline CliRun RunCli(const QStringList &args, const QString &lcAll = QStringLiteral("C.UTF-8")) {
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), lcAll);
    p.setProcessEnvironment(env);
    p.start(CliProgram(), args);
    if (!p.waitForFinished(30000))
        return {-1, {}, {}};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
