#pragma once

#include <QString>

// Keeps other Tarvo processes (the program, tarvo-cli) from changing the
// files of a folder while this one reads, changes and writes them back. The
// lock is a lock file in the folder (QLockFile); one left by a process that
// died is recognised as stale and taken over. Locks of the same folder nest
// within one process.
class FolderLock {
public:
    // Waits up to StorageState::LockWaitMs for the folder. Throws TarvoError
    // with a German message when another process holds it that long, before
    // anything was changed. A folder that cannot hold a lock file (read-only,
    // missing) stays unlocked: nothing can be written there either.
    explicit FolderLock(const QString &folder);
    ~FolderLock();
    FolderLock(const FolderLock &) = delete;
    FolderLock &operator=(const FolderLock &) = delete;

    // The lock file's name in a folder.
    static QString LockFileName(const QString &folder);

private:
    QString key_; // empty when nothing is held
};

// The current observer's folder: year files, archives, beob.ini, AEF.CFG.
// Where both are needed, the program folder is locked first.
FolderLock LockObserverFolder();
// The program folder: tarvo.ini.
FolderLock LockProgramFolder();
