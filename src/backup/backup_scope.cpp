#include "backup_scope.h"

#include "storage/ini_file.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

#include <algorithm>

namespace {

const QString kObserverSection = QStringLiteral("Beobachter");

// Files of the writers at work, not data: an unfinished temporary file, a lock.
bool IsWorkFile(const QString &fileName) {
    return fileName.startsWith(QLatin1String("tarvo.tmp-")) || fileName == QLatin1String("tarvo.lock");
}

bool SameFile(const QString &a, const QString &b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

// Every regular file below `dir`, as backup entries under `entryPrefix`, sorted by name.
QVector<BackupSource> FilesBelow(const QString &dir, const QString &entryPrefix, const QString &skipFile) {
    QVector<BackupSource> files;
    if (!QFileInfo(dir).isDir())
        return files;
    const QDir root(dir);
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        if (!info.isFile() || IsWorkFile(info.fileName()) || SameFile(path, skipFile))
            continue;
        const QString entry = entryPrefix + QLatin1Char('/') + root.relativeFilePath(path);
        if (!IsSafeBackupPath(entry))
            throw TarvoError(QStringLiteral("Die Datei „%1“ hat einen Namen, der nicht gesichert werden kann "
                                            "(Backslash oder Steuerzeichen). Bitte benennen Sie sie um.")
                                 .arg(QDir::toNativeSeparators(path)));
        files.append(BackupSource{entry, path});
    }
    std::sort(files.begin(), files.end(),
              [](const BackupSource &a, const BackupSource &b) { return a.entry < b.entry; });
    return files;
}

} // namespace

BackupScope BackupScope::Current() {
    const StorageState &s = Storage();
    return BackupScope{WithTrailingSeparator(s.ProgramDir), WithTrailingSeparator(s.DataPath)};
}

QString BackupScope::targetOf(const QString &entry) const {
    if (entry == kSettingsEntry || entry.startsWith(kReferenceFolder + QLatin1Char('/')))
        return programDir + entry;
    return dataPath + entry;
}

QString ObserverFolderName(const QString &observerDir) {
    QString folder = ObserverDirPath(observerDir);
    while (folder.endsWith(QLatin1Char('/')))
        folder.chop(1);
    return folder;
}

bool IsBackupEntry(const QString &entry, const QVector<BackupObserver> &observers) {
    if (entry == kSettingsEntry)
        return true;
    if (!IsSafeBackupPath(entry))
        return false;
    if (entry.startsWith(kReferenceFolder + QLatin1Char('/')))
        return true;
    return std::any_of(observers.begin(), observers.end(), [&entry](const BackupObserver &o) {
        return entry.startsWith(o.folder + QLatin1Char('/'));
    });
}

InstallationFiles CollectInstallationFiles(const BackupScope &scope, const QString &skipFile) {
    const QString settings = scope.settingsFile();
    if (!QFileInfo(settings).isFile())
        throw TarvoError(
            QStringLiteral("Es gibt nichts zu sichern: „%1“ fehlt.").arg(QDir::toNativeSeparators(settings)));
    const IniFile ini(settings);

    InstallationFiles result;
    result.files.append(BackupSource{kSettingsEntry, settings});
    QStringList folders;
    for (const QString &key : ini.sectionKeys(kObserverSection)) {
        const QString dir = ini.readString(kObserverSection, key, QString());
        const QString folder = ObserverFolderName(dir);
        if (!IsSafeBackupPath(folder) || folder == kReferenceFolder || folder == kSettingsEntry ||
            folder == kManifestName)
            throw TarvoError(
                QStringLiteral("Der Ordner „%1“ des Beobachters „%2“ kann nicht gesichert werden: er "
                               "liegt nicht unter dem Datenpfad.")
                    .arg(dir, key));
        result.observers.append(BackupObserver{folder, key});
        if (folders.contains(folder))
            continue; // two keys sharing one folder: its files once
        folders.append(folder);
        result.files += FilesBelow(scope.dataPath + folder, folder, skipFile);
    }
    result.files += FilesBelow(scope.programDir + kReferenceFolder, kReferenceFolder, skipFile);
    return result;
}

ScopeLock::ScopeLock(const BackupScope &scope, const QVector<BackupObserver> &observers) {
    locks_.push_back(std::make_unique<FolderLock>(scope.programDir));
    if (QFileInfo(scope.programDir + kReferenceFolder).isDir())
        locks_.push_back(std::make_unique<FolderLock>(scope.programDir + kReferenceFolder));
    for (const BackupObserver &o : observers)
        locks_.push_back(std::make_unique<FolderLock>(scope.dataPath + o.folder));
}

// Given back in the opposite order.
ScopeLock::~ScopeLock() {
    while (!locks_.empty())
        locks_.pop_back();
}
