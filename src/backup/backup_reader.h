#pragma once

#include "backup_manifest.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// A backup whose every file was read and found as its manifest states.
struct VerifiedBackup {
    QString path;
    BackupManifest manifest;
    QMap<QString, QByteArray> contents; // entry -> bytes, one for every file of the manifest
};

// Reads the whole backup and checks it: a complete, consistent ZIP archive
// with a manifest, only entries a backup may hold (no path leaving the
// program folder), each listed once in the manifest with the same size and
// SHA-256, and no listed file missing. Throws TarvoError whose message names
// the backup and the first bad entry.
VerifiedBackup ReadVerifiedBackup(const QString &zipPath);
// The same for a backup already in memory; `zipPath` names it in messages.
VerifiedBackup VerifyBackupBytes(const QByteArray &zip, const QString &zipPath);
