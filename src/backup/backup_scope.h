#pragma once

#include "backup_manifest.h"

#include <QString>
#include <QVector>

#include "storage/folder_lock.h"

#include <memory>
#include <vector>

// Where an installation keeps what a backup holds: tarvo.ini and the
// reference store "Referenz/" in the program folder, the observer folders
// below the data path (which may lie elsewhere). In a backup every observer
// folder stands under its own name at the top level, wherever it lay.
struct BackupScope {
    QString programDir; // ends with '/'
    QString dataPath;   // ends with '/'

    // The scope of the running program (the storage module's state).
    static BackupScope Current();

    QString settingsFile() const { return programDir + kSettingsEntry; }
    // The file a backup entry belongs to in this installation.
    QString targetOf(const QString &entry) const;
};

struct BackupSource {
    QString entry;    // path inside the backup
    QString filePath; // the file in the installation
};

struct InstallationFiles {
    QVector<BackupObserver> observers;
    QVector<BackupSource> files; // tarvo.ini, the observer folders in list order, the reference store
};

// Everything a backup of the installation holds: tarvo.ini, every file in
// every observer folder tarvo.ini lists, every file of the reference store.
// Left out: unfinished temporary files of the atomic writer, lock files and
// `skipFile` (the backup being written). Throws TarvoError when tarvo.ini is missing
// or unreadable, or an observer folder or file name cannot be stored safely.
InstallationFiles CollectInstallationFiles(const BackupScope &scope, const QString &skipFile = QString());

// The observer folder a tarvo.ini entry names, without the trailing separator
// ("0001\" gives "0001").
QString ObserverFolderName(const QString &observerDir);

// True when the entry belongs in a backup with these observer folders:
// tarvo.ini, a file in the reference store or in a listed observer folder.
bool IsBackupEntry(const QString &entry, const QVector<BackupObserver> &observers);

// Holds the program folder, the reference store and then every observer
// folder of `observers`, so that no other Tarvo process changes a file while
// a backup reads or a restore writes them. Throws TarvoError when a folder
// stays busy.
class ScopeLock {
public:
    ScopeLock(const BackupScope &scope, const QVector<BackupObserver> &observers);
    ~ScopeLock();
    ScopeLock(const ScopeLock &) = delete;
    ScopeLock &operator=(const ScopeLock &) = delete;

private:
    std::vector<std::unique_ptr<FolderLock>> locks_;
};
