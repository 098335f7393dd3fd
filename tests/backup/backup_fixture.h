#pragma once

// A small program folder to back up: two observers with year files, an old
// year file, profiles, column layout, an archive with an imported series, and
// a reference store. Shared by the backup tests.

#include "../common/day_records.h"
#include "backup/backup_scope.h"
#include "storage/archive.h"
#include "storage/column_layout.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QtTest>
#include <cstring>

inline void WriteTestFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

inline QByteArray ReadTestFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Every file below `dir` (relative path -> bytes).
inline QMap<QString, QByteArray> Snapshot(const QString &dir) {
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), ReadTestFile(path));
    }
    return files;
}

inline QByteArray YearBytes(const TYearBuffer &year) {
    return QByteArray(reinterpret_cast<const char *>(&year), sizeof year);
}

// A year with a few observed days in March.
inline TYearBuffer SampleYear(int firstRe) {
    TYearBuffer year;
    std::memset(&year, 0, sizeof year);
    for (int day = 1; day <= 5; ++day)
        year.Day(3, day) = ObservedDayRecord("10:00", 2, firstRe + day);
    return year;
}

constexpr double kImportedSidc = 123.5;

// Makes the program folder `home` (data path `dataPath`, the program folder
// itself when empty) and leaves the storage module started on it.
inline void MakeProgramFolder(const QString &home, const QString &dataPath = QString()) {
    const QString data = dataPath.isEmpty() ? home + QLatin1Char('/') : dataPath + QLatin1Char('/');
    WriteTestFile(home + QStringLiteral("/tarvo.ini"),
                  QStringLiteral("[TARVO32]\r\nBeobachter=Muster\r\nVersion=1.0\r\nFileVersion=%1\r\n"
                                 "Datenpfad=%2\r\n[Beobachter]\r\nMuster=0001\\\r\nAnna=0002\\\r\n")
                      .arg(ReadProgramVersion(), data)
                      .toLatin1());
    QDir().mkpath(data + QStringLiteral("0001"));
    QDir().mkpath(data + QStringLiteral("0002"));
    StorageStartUp(home);
    TObserverProfile profile = EmptyProfile();
    LoadProgramSettings(profile);
    QCOMPARE(Storage().DataPath, data);

    profile.Name1.assign(QStringLiteral("Muster"));
    profile.Name2.assign(QStringLiteral("Anna Jäger"));
    profile.SMTPPass.assign(QStringLiteral("geheim"));
    SaveProfile(profile);
    ResetColumnLayout();
    SaveColumnLayout();
    QVERIFY(WriteYear(2004, SampleYear(10)));
    // A stray .OLD that is no whole old-format year: carried along, never converted.
    WriteTestFile(data + QStringLiteral("0001/SO2003.OLD"), QByteArray(100, '\x07'));
    TYearSummaries summaries;
    QVERIFY(LoadYearSummaries(2004, summaries)); // makes the archive 20002049.asw
    summaries[0].SIDC = kImportedSidc;
    QVERIFY(SaveYearSummaries(2004, summaries));

    Storage().CurrentObserverDir = QStringLiteral("0002\\");
    profile.Name1.assign(QStringLiteral("Anna"));
    SaveProfile(profile);
    QVERIFY(WriteYear(2010, SampleYear(40)));
    Storage().CurrentObserverDir = QStringLiteral("0001\\");

    // Bytes that do not compress, so that the backup is larger than a few kilobytes.
    QByteArray noise(20000, Qt::Uninitialized);
    QRandomGenerator generator(18);
    for (char &c : noise)
        c = static_cast<char>(generator.bounded(256));
    WriteTestFile(home + QStringLiteral("/Referenz/silso-daily.txt"), noise);
    // Not part of a backup: a file of the program folder and a folder no observer lists.
    WriteTestFile(home + QStringLiteral("/observer.dat"), "Muster           Refr.  100 1000\r\n");
    WriteTestFile(data + QStringLiteral("0003/SO2001.DAT"), QByteArray(56160, '\0'));
}

// The files a backup of MakeProgramFolder's folder holds.
inline QStringList ExpectedEntries() {
    return {QStringLiteral("tarvo.ini"),
            QStringLiteral("0001/20002049.asw"),
            QStringLiteral("0001/AEF.CFG"),
            QStringLiteral("0001/SO2003.OLD"),
            QStringLiteral("0001/SO2004.DAT"),
            QStringLiteral("0001/beob.ini"),
            QStringLiteral("0002/SO2010.DAT"),
            QStringLiteral("0002/beob.ini"),
            QStringLiteral("Referenz/silso-daily.txt")};
}
