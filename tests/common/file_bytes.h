#pragma once

// Whole-file reads and writes for test fixtures.

#include <QFile>
#include <QTest>

// The file's bytes; empty when it cannot be read.
inline QByteArray ReadBytes(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Creates or replaces the file with the bytes (a failed check when it cannot).
inline void WriteBytes(const QString &path, const QByteArray &bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    QCOMPARE(f.write(bytes), bytes.size());
}
