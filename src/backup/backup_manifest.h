#pragma once

#include "storage/storage_state.h" // kReferenceFolder

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>

// The table of contents of a backup, stored in it as "tarvo-sicherung.txt":
// UTF-8 text with CR LF, one record a line, fields separated by a tab, the
// last field running to the end of the line:
//
//   Tarvo-Sicherung <TAB> 1                       (format; always the first line)
//   Programmversion <TAB> 1.0.0.0
//   Datum <TAB> 2026-05-03 14:22:05                (local time of the backup)
//   Datenpfad <TAB> /home/anna/tarvo/               (where the observer folders lay; for information)
//   Beobachter <TAB> 0001 <TAB> Muster             (observer folder, then observer key)
//   Datei <TAB> 56160 <TAB> <SHA-256, 64 hex> <TAB> 0001/SO2004.DAT
//   Ende <TAB> 12                                  (number of "Datei" lines; always the last line)
//
// Paths are relative, with '/' between folders. Lines of unknown kinds are
// skipped when read, so later versions can add some.

inline const QString kManifestName = QStringLiteral("tarvo-sicherung.txt");
inline const QString kSettingsEntry = QStringLiteral("tarvo.ini");

struct BackupFileEntry {
    QString path; // e.g. "0001/SO2004.DAT", "tarvo.ini", "Referenz/silso-daily.txt"
    qint64 size = 0;
    QByteArray sha256; // 64 lower-case hex digits
};

struct BackupObserver {
    QString folder; // observer folder without separator, e.g. "0001"
    QString key;    // observer key as listed in tarvo.ini
};

struct BackupManifest {
    QString programVersion;
    QDateTime created;
    QString dataPath;
    QVector<BackupObserver> observers;
    QVector<BackupFileEntry> files;

    const BackupFileEntry *find(const QString &path) const;
    // The years with a year file SO<year>.DAT in the observer folder, ascending.
    QList<int> yearsOf(const QString &folder) const;
    int referenceFileCount() const;
    qint64 totalBytes() const;
};

QByteArray FormatManifest(const BackupManifest &manifest);
// Reads a manifest; throws TarvoError naming the first line that is not
// understood, or when a path would leave the program folder.
BackupManifest ParseManifest(const QByteArray &bytes);

// SHA-256 of the bytes as 64 lower-case hex digits.
QByteArray Sha256Hex(const QByteArray &bytes);

// A path as it may stand in a backup: relative, '/' between the parts, no
// empty, "." or ".." part, no backslash, no control character. Anything else
// could write outside the program folder when restored.
bool IsSafeBackupPath(const QString &path);

// "1 Datei", "12 Dateien".
QString FileCount(qsizetype count);
// Years as short ranges: "1998–2003, 2005"; "keine" when there are none.
QString YearRangesText(const QList<int> &years);
// What a backup holds, for people: date, version, each observer with its
// years, the reference store, the number and size of the files.
QStringList BackupSummaryLines(const BackupManifest &manifest);
