#pragma once

#include "storage/day_record.h"
#include "storage/storage_state.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstring>

// A fresh program directory with one observer directory "0001/" made current.
struct ObserverFixture {
    QTemporaryDir dir;

    ObserverFixture() {
        StorageStartUp(dir.path());
        Storage().CurrentObserverKey = QStringLiteral("Muster");
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QDir(dir.path()).mkpath(QStringLiteral("0001"));
    }
    QString observerFile(const QString &name) const { return dir.path() + QStringLiteral("/0001/") + name; }
    QByteArray read(const QString &name) const {
        QFile f(observerFile(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const QString &name, const QByteArray &bytes) const {
        QFile f(observerFile(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
    }
};

// A day record with every number given; Zeit set when `observed`.
inline TDayRecord MakeDay(bool observed, std::int16_t re = 0) {
    TDayRecord d;
    std::memset(&d, 0xFF, sizeof d);
    std::memset(d.Reserved1, 0, sizeof d.Reserved1);
    std::memset(d.Reserved2, 0, sizeof d.Reserved2);
    d.Bemerkung.assign(QString());
    d.Zeit.assign(observed ? QStringLiteral("10:30") : QString());
    d.z_f.assign(QString());
    d.Po.assign(QString());
    d.Fl = 0;
    d.Re = re;
    return d;
}

inline TYearBuffer ZeroYear() {
    TYearBuffer y;
    std::memset(&y, 0, sizeof y);
    return y;
}
