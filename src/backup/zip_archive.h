#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVector>

// The ZIP format through libzip, in memory: the backup is built as bytes and
// then written with the program's atomic file writer, and a backup to read
// is read whole first. Failures throw TarvoError with a German message.

struct ZipMember {
    QString name; // path inside the archive, '/' between folders
    QByteArray bytes;
    QDateTime modified;
};

// The archive holding the members in this order, each compressed with deflate
// at its fastest level.
QByteArray BuildZip(const QVector<ZipMember> &members);

typedef struct zip zip_t;

// Reads the entries of an archive held in memory. The archive's central
// directory is checked against the entries' own headers when opened; every
// entry's CRC when it is read.
class ZipReader {
public:
    // Throws TarvoError when the bytes are no complete, consistent ZIP archive.
    explicit ZipReader(const QByteArray &bytes);
    ~ZipReader();
    ZipReader(const ZipReader &) = delete;
    ZipReader &operator=(const ZipReader &) = delete;

    int count() const { return count_; }
    QString name(int index) const;
    // Uncompressed size as the archive's directory states it.
    qint64 size(int index) const;
    // The entry's bytes; throws TarvoError naming the entry when they cannot
    // be read whole (damaged data, CRC error) or exceed `maxBytes`.
    QByteArray read(int index, qint64 maxBytes) const;

private:
    QByteArray bytes_; // libzip reads from this buffer for the reader's lifetime
    zip_t *zip_ = nullptr;
    int count_ = 0;
};
