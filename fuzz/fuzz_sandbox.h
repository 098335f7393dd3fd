#pragma once

#include "storage/storage_state.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>

// A program directory of its own for the whole fuzzing run, with the observer
// "0001/" current. Every input is written into it as a file, so the parsers
// are exercised through the same reads the program does.
class FuzzSandbox {
public:
    static FuzzSandbox &instance() {
        static FuzzSandbox sandbox;
        return sandbox;
    }

    // Fresh storage state (no archive cached), the observer directory kept.
    void reset() {
        StorageStartUp(dir_.path());
        Storage().CurrentObserverKey = QStringLiteral("Muster");
        Storage().CurrentObserverDir = QStringLiteral("0001/");
    }

    QString observerFile(const QString &name) const { return dir_.path() + QStringLiteral("/0001/") + name; }
    QString programFile(const QString &name) const { return dir_.path() + QLatin1Char('/') + name; }

    static void write(const QString &path, const QByteArray &bytes) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(bytes);
    }
    // Removes everything in the observer directory, so that no input sees
    // what an earlier one left behind.
    void clearObserver() {
        QDir observer(dir_.path() + QStringLiteral("/0001"));
        for (const QString &name : observer.entryList(QDir::Files | QDir::Hidden))
            observer.remove(name);
    }

private:
    FuzzSandbox() {
        dir_.setAutoRemove(true);
        QDir(dir_.path()).mkpath(QStringLiteral("0001"));
        reset();
    }
    QTemporaryDir dir_;
};

inline QByteArray FuzzBytes(const std::uint8_t *data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
}
