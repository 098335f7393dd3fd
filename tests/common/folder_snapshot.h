#pragma once

// Every file below a folder with its bytes and modification time, to show
// that something left a folder exactly as it was.

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

struct FileState {
    QByteArray bytes;
    QDateTime modified;
    bool operator==(const FileState &) const = default;
};
using FolderSnapshot = QMap<QString, FileState>; // relative path -> state

inline FolderSnapshot SnapshotFolder(const QString &folder) {
    FolderSnapshot snapshot;
    const QDir root(folder);
    // The folder's own time changes with every file made or removed in it.
    snapshot.insert(QStringLiteral("."), {QByteArray(), QFileInfo(folder).lastModified()});
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        FileState state;
        state.modified = it.fileInfo().lastModified();
        QFile f(path);
        if (it.fileInfo().isFile() && f.open(QIODevice::ReadOnly))
            state.bytes = f.readAll();
        snapshot.insert(root.relativeFilePath(path), state);
    }
    return snapshot;
}

// Every file and folder below `folder`, files with their bytes but without
// times: equal exactly when nothing below was added, removed or changed
// (a lock file made and removed again leaves it equal).
inline QMap<QString, QByteArray> FolderContents(const QString &folder) {
    QMap<QString, QByteArray> entries;
    QDirIterator it(folder, QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        entries[path] = QFileInfo(path).isDir()          ? QByteArray("<folder>")
                        : file.open(QIODevice::ReadOnly) ? file.readAll()
                                                         : QByteArray("<unreadable>");
    }
    return entries;
}
