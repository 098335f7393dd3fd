#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>

// One run of the built tarvo-cli: exit code and both outputs (-1 when it hung).
struct CliRun {
    int exitCode;
    QByteArray out;
    QByteArray err;
};

inline CliRun RunCli(const QStringList &args) {
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/tarvo-cli"), args);
    if (!p.waitForFinished(30000))
        return {-1, {}, {}};
    return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
}
