#include "backup_writer.h"

#include "backup_settings.h"
#include "zip_archive.h"

#include "storage/file_io.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <cerrno>

QString DefaultBackupFileName(const QDate &date) {
    return QStringLiteral("Tarvo-Sicherung-%1.zip").arg(date.toString(QStringLiteral("yyyy-MM-dd")));
}

BackupResult WriteBackup(const QString &zipPath, const BackupScope &scope, const QDateTime &now,
                         const BackupNote &note) {
    const FolderLock settingsLock(scope.programDir); // tarvo.ini is read now and noted below
    const InstallationFiles installation = CollectInstallationFiles(scope, zipPath);
    const ScopeLock lock(scope, installation.observers);

    BackupResult result;
    result.path = zipPath;
    BackupManifest &manifest = result.manifest;
    manifest.programVersion = Storage().ProgramVersion;
    manifest.created = now;
    manifest.dataPath = QDir::toNativeSeparators(scope.dataPath);
    manifest.observers = installation.observers;

    QVector<ZipMember> members;
    members.reserve(installation.files.size() + 1);
    members.append(ZipMember{kManifestName, QByteArray(), now}); // filled in below, stored first
    QSet<QString> seen;
    QByteArray notedSettings;
    for (const BackupSource &source : installation.files) {
        if (seen.contains(source.entry))
            continue;
        seen.insert(source.entry);
        const FileReadResult file = ReadWholeFile(source.filePath);
        if (!file.ok())
            throw TarvoError(
                QStringLiteral("„%1“ kann nicht gelesen werden (E/A-Fehler %2). Die Datensicherung "
                               "wurde nicht geschrieben.")
                    .arg(QDir::toNativeSeparators(source.filePath))
                    .arg(file.exists ? file.errorCode : ENOENT));
        QByteArray bytes = file.bytes;
        if (note.record && source.entry == kSettingsEntry)
            bytes = notedSettings = NoteBackup(bytes, now.date(), note.folder);
        manifest.files.append(BackupFileEntry{source.entry, bytes.size(), Sha256Hex(bytes)});
        members.append(ZipMember{source.entry, bytes, QFileInfo(source.filePath).lastModified()});
    }
    members.first().bytes = FormatManifest(manifest);

    const QByteArray zip = BuildZip(members);
    try {
        WriteFileAtomically(zipPath, zip, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    } catch (const TarvoError &e) {
        throw TarvoError(QStringLiteral("%1. Die Datensicherung wurde nicht geschrieben.").arg(e.message()));
    }
    try {
        if (note.record)
            WriteFileAtomically(scope.settingsFile(), notedSettings);
    } catch (const TarvoError &e) {
        result.settingsError = e.message(); // the backup is written; only the note of it is missing
    }
    return result;
}
