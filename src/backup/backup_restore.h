#pragma once

#include "backup_reader.h"
#include "backup_scope.h"

#include <QDateTime>
#include <QStringList>
#include <QVector>

// Restoring a backup into an installation: tarvo.ini and the reference store
// go to the program folder, every observer folder below the installation's
// current data path (wherever it lay when the backup was made). The restored
// tarvo.ini keeps every setting of the backup but "Datenpfad", which keeps
// naming that data path when it would name another folder.

enum class RestoreChange { New, Replaced, Unchanged };

struct RestoreItem {
    QString entry;  // path inside the backup
    QString target; // the file it is written to
    RestoreChange change = RestoreChange::New;
};

struct RestorePlan {
    VerifiedBackup backup;
    BackupScope scope;
    QVector<RestoreItem> items; // in writing order: tarvo.ini last
    QByteArray settings;        // tarvo.ini as it will be written
    bool dataPathAdjusted = false;
    QStringList observersLeftOut; // listed now but not in the backup: "Anna (0002)"
    QStringList filesKept;        // in a restored observer folder but not in the backup; they stay

    int count(RestoreChange change) const;
    // What the restore changes, for people: "ersetzt: 0001/SO2004.DAT", then
    // "neu: …", then the observers and files the backup does not hold, and
    // the number of files that stay as they are.
    QStringList changeLines() const;
};

// Reads and checks the backup (ReadVerifiedBackup) and compares it with the
// installation. Changes nothing. Throws TarvoError.
RestorePlan PlanRestore(const QString &zipPath, const BackupScope &scope);

struct RestoreResult {
    QString safetyBackup; // the backup of the state before; empty when there was nothing to save
    int written = 0;
};

// Carries out a plan: first a backup of the current state in the program
// folder's "Sicherungen/" (so the restore can be undone), then every file
// whose content differs, each written atomically, tarvo.ini last. When a
// write fails, the files written so far get their previous content back and
// TarvoError says what happened. The storage module's archive caches are
// emptied; the caller reloads settings and profile.
RestoreResult RunRestore(const RestorePlan &plan, const QDateTime &now = QDateTime::currentDateTime());

// The folder of the safety backups written before a restore.
QString SafetyBackupFolder(const BackupScope &scope);

// The folder a "Datenpfad" setting names: relative to the program folder, an
// empty one is the program folder itself.
QString ResolveDataPathSetting(const QString &setting, const QString &programDir);
