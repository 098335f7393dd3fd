#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <optional>

// Whole-file reads and atomic whole-file writes. Every file the program
// writes goes through WriteFileAtomically, so a crash or a full disk leaves
// either the old or the new file, never a half-written one.

struct FileReadResult {
    bool exists = false;   // false: there is no such file (or no such directory)
    int errorCode = 0;     // operating system error when the file exists but could not be read
    QByteArray bytes;
    qint64 fileSize = 0; // size of the whole file, also when only its head was read
    bool ok() const { return exists && errorCode == 0; }
};

// Reads a whole file. A missing file gives exists == false; any other failure
// gives the operating system's error code.
FileReadResult ReadWholeFile(const QString &path);
// Reads at most the first `maxBytes` bytes of a file (otherwise as
// ReadWholeFile): a damaged or sparse file of gigabytes costs no more than
// what the format needs.
FileReadResult ReadFileHead(const QString &path, qint64 maxBytes);

// Replaces (or creates) the file with the bytes: a temporary file beside it is
// written, synced and renamed over it. With `permissions` set, the new file
// gets exactly these permissions (it is never readable by others before);
// otherwise a replaced file keeps its mode. A symbolic link is followed (the
// link stays). Anything but a regular file, and a file without write
// permission, is refused.
// Throws TarvoError "In <path> kann nicht geschrieben werden" on any failure
// and then leaves the previous file untouched.
// Temporary files that a killed write left in the folder ("tarvo.tmp-*",
// older than a minute and no longer locked by their writer) are removed.
void WriteFileAtomically(const QString &path, const QByteArray &bytes,
                         std::optional<QFileDevice::Permissions> permissions = std::nullopt);

// Modification time as days since 1899-12-30 plus the fraction of the day
// (UTC), with the file system's full resolution; 0 when the file is missing.
double FileStampDays(const QString &path);

// What tells one version of a file from the next: device, inode, size and the
// modification and change times. Empty when the file is missing. An atomic
// replace always gives a new inode, so a rewritten file never looks unchanged.
QByteArray FileIdentity(const QString &path);
