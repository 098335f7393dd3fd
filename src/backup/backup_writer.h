#pragma once

#include "backup_manifest.h"
#include "backup_scope.h"

#include <QDateTime>
#include <QString>

struct BackupResult {
    QString path;
    BackupManifest manifest;
    QString settingsError; // why tarvo.ini could not note the backup (the backup itself is written)
};

// Whether a backup notes itself in tarvo.ini (its date, and the folder chosen
// for it when not empty): in the tarvo.ini it holds and, once written, in the
// program folder's, so that both agree. A safety backup notes nothing.
struct BackupNote {
    bool record = false;
    QString folder;
};

// The default file name of a backup made on `date`: Tarvo-Sicherung-YYYY-MM-DD.zip.
QString DefaultBackupFileName(const QDate &date);

// Writes a backup of the installation into the ZIP file `zipPath`: the
// manifest first, then every file CollectInstallationFiles names, tarvo.ini
// with the note when one is asked for. The file is
// written atomically and readable by its owner only (beob.ini holds the mail
// password); an existing file of that name is replaced. Throws TarvoError
// with a German message when a file cannot be read or the backup cannot be
// written; then no new file exists and an older one is unchanged.
BackupResult WriteBackup(const QString &zipPath, const BackupScope &scope,
                         const QDateTime &now = QDateTime::currentDateTime(), const BackupNote &note = {});
