#pragma once

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

// The SILSO fixture files, copied into a temporary folder: an import writes
// its line-end copy beside the file it reads, and a test must never leave
// anything in the source tree, even when it is aborted.
class SilsoFixtures {
public:
    SilsoFixtures() {
        const QDir source(QStringLiteral(TARVO_TEST_DATA "/silso"));
        for (const QString &name : source.entryList(QDir::Files))
            if (!QFile::copy(source.filePath(name), dir_.filePath(name)))
                qFatal("cannot copy fixture %s", qPrintable(name));
    }
    // The folder with a trailing slash.
    QString path() const { return dir_.path() + QLatin1Char('/'); }

private:
    QTemporaryDir dir_;
};
