#pragma once

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <map>

// Every file and folder below `folder`, files with their bytes: two
// snapshots compare equal exactly when nothing below was added, removed or
// changed.
inline std::map<QString, QByteArray> FolderSnapshot(const QString &folder) {
    std::map<QString, QByteArray> entries;
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
