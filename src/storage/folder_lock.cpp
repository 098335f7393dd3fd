#include "folder_lock.h"

#include "storage_state.h"
#include "tarvo_error.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLockFile>
#include <QThread>
#include <algorithm>
#include <map>
#include <memory>

namespace {

// A lock file older than this counts as stale even when its process still
// seems to run (a process of another host, or a reused process number). No
// operation holds a lock nearly as long.
constexpr int kStaleLockMs = 60 * 1000;

struct HeldLock {
    std::unique_ptr<QLockFile> file;
    int depth = 0;
};

// The folders this process holds, so that nested locks of one folder do not
// wait for themselves.
std::map<QString, HeldLock> &HeldLocks() {
    static std::map<QString, HeldLock> held;
    return held;
}

QString BusyMessage(const QString &folder) {
    return QStringLiteral("Die Daten in %1 werden gerade von einem anderen Tarvo-Programm geändert. "
                          "Es wurde nichts geändert; bitte versuchen Sie es gleich noch einmal.")
        .arg(QDir::toNativeSeparators(folder));
}

} // namespace

QString FolderLock::LockFileName(const QString &folder) {
    return QDir::cleanPath(QDir(folder).absolutePath()) + QStringLiteral("/tarvo.lock");
}

FolderLock::FolderLock(const QString &folder) {
    const QString key = QDir::cleanPath(QDir(folder).absolutePath());
    std::map<QString, HeldLock> &held = HeldLocks();
    if (const auto it = held.find(key); it != held.end()) {
        ++it->second.depth;
        key_ = key;
        return;
    }
    auto file = std::make_unique<QLockFile>(LockFileName(key));
    file->setStaleLockTime(kStaleLockMs);
    const QDeadlineTimer deadline(Storage().LockWaitMs);
    int pauseMs = 5;
    while (!file->tryLock(0)) {
        if (file->error() != QLockFile::LockFailedError)
            return; // no lock file possible here
        if (deadline.hasExpired())
            throw TarvoError(BusyMessage(key));
        QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(deadline.remainingTime(), 0, pauseMs)));
        pauseMs = std::min(pauseMs * 2, 100);
    }
    held.emplace(key, HeldLock{std::move(file), 1});
    key_ = key;
}

FolderLock::~FolderLock() {
    if (key_.isEmpty())
        return;
    std::map<QString, HeldLock> &held = HeldLocks();
    const auto it = held.find(key_);
    if (it != held.end() && --it->second.depth == 0)
        held.erase(it); // unlocks: the lock file is removed
}

FolderLock LockObserverFolder() {
    return FolderLock(ObserverFilePath(QString()));
}

FolderLock LockProgramFolder() {
    return FolderLock(Storage().ProgramDir);
}
