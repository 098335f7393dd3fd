#include "zip_archive.h"

#include "storage/tarvo_error.h"

#include <zip.h>

#include <algorithm>

namespace {

// libzip's error codes in the words a user can act on.
QString ZipReason(int code) {
    switch (code) {
    case ZIP_ER_NOZIP:
    case ZIP_ER_EOF:
        return QStringLiteral("keine vollständige ZIP-Datei (abgeschnitten oder gar keine ZIP-Datei)");
    case ZIP_ER_INCONS:
        return QStringLiteral("die ZIP-Datei ist in sich widersprüchlich (beschädigt oder abgeschnitten)");
    case ZIP_ER_CRC:
        return QStringLiteral("die Prüfsumme (CRC) stimmt nicht");
    case ZIP_ER_ZLIB:
    case ZIP_ER_COMPRESSED_DATA:
        return QStringLiteral("die gepackten Daten sind beschädigt");
    case ZIP_ER_COMPNOTSUPP:
        return QStringLiteral("unbekanntes Packverfahren");
    case ZIP_ER_ENCRNOTSUPP:
    case ZIP_ER_NOPASSWD:
    case ZIP_ER_WRONGPASSWD:
        return QStringLiteral("verschlüsselte Einträge werden nicht unterstützt");
    case ZIP_ER_MULTIDISK:
        return QStringLiteral("mehrteilige ZIP-Dateien werden nicht unterstützt");
    case ZIP_ER_MEMORY:
        return QStringLiteral("zu wenig Arbeitsspeicher");
    default:
        return QStringLiteral("ZIP-Fehler %1").arg(code);
    }
}

TarvoError BuildFailed(zip_error_t *error) {
    return TarvoError(QStringLiteral("Die ZIP-Datei der Sicherung kann nicht erstellt werden: %1.")
                          .arg(ZipReason(zip_error_code_zip(error))));
}

} // namespace

QByteArray BuildZip(const QVector<ZipMember> &members) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer)
        throw BuildFailed(&error);
    zip_t *archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        throw BuildFailed(&error);
    }
    zip_source_keep(buffer); // it must outlive zip_close to hand out the bytes

    auto fail = [&](zip_error_t *cause) {
        const TarvoError e = BuildFailed(cause);
        zip_discard(archive);
        zip_source_free(buffer);
        return e;
    };
    for (const ZipMember &m : members) {
        // The member's bytes stay alive in `members` until zip_close has read them.
        zip_source_t *source = zip_source_buffer(archive, m.bytes.constData(), m.bytes.size(), 0);
        if (!source)
            throw fail(zip_get_error(archive));
        const zip_int64_t index =
            zip_file_add(archive, m.name.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw fail(zip_get_error(archive));
        }
        // The fastest level: a third of the time of the default one for a
        // backup that is less than twice as large (year files pack well anyway).
        if (zip_set_file_compression(archive, index, ZIP_CM_DEFLATE, 1) < 0 ||
            (m.modified.isValid() &&
             zip_file_set_mtime(archive, index, m.modified.toSecsSinceEpoch(), 0) < 0))
            throw fail(zip_get_error(archive));
    }
    if (zip_close(archive) < 0)
        throw fail(zip_get_error(archive));

    QByteArray bytes;
    zip_stat_t stat;
    zip_stat_init(&stat);
    bool ok = zip_source_open(buffer) == 0;
    if (ok && zip_source_stat(buffer, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE)) {
        bytes.resize(static_cast<qsizetype>(stat.size));
        ok = zip_source_read(buffer, bytes.data(), stat.size) == static_cast<zip_int64_t>(stat.size);
    } else {
        ok = false;
    }
    zip_source_close(buffer);
    if (!ok) {
        zip_error_t *cause = zip_source_error(buffer);
        const TarvoError e = BuildFailed(cause);
        zip_source_free(buffer);
        throw e;
    }
    zip_source_free(buffer);
    return bytes;
}

ZipReader::ZipReader(const QByteArray &bytes) : bytes_(bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t *source = zip_source_buffer_create(bytes_.constData(), bytes_.size(), 0, &error);
    if (source) {
        zip_ = zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &error);
        if (!zip_)
            zip_source_free(source);
    }
    if (!zip_)
        throw TarvoError(QStringLiteral("Die ZIP-Datei kann nicht gelesen werden: %1.")
                             .arg(ZipReason(zip_error_code_zip(&error))));
    const zip_int64_t n = zip_get_num_entries(zip_, 0);
    count_ = n < 0 ? 0 : static_cast<int>(std::min<zip_int64_t>(n, 1 << 30));
}

ZipReader::~ZipReader() {
    if (zip_)
        zip_discard(zip_);
}

QString ZipReader::name(int index) const {
    const char *n = zip_get_name(zip_, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_GUESS);
    return n ? QString::fromUtf8(n) : QString();
}

qint64 ZipReader::size(int index) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(zip_, static_cast<zip_uint64_t>(index), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE))
        return -1;
    return static_cast<qint64>(stat.size);
}

QByteArray ZipReader::read(int index, qint64 maxBytes) const {
    const QString entry = name(index);
    const qint64 stated = size(index);
    if (stated < 0 || stated > maxBytes)
        throw TarvoError(QStringLiteral("„%1“: die Größe in der ZIP-Datei stimmt nicht.").arg(entry));
    zip_file_t *file = zip_fopen_index(zip_, static_cast<zip_uint64_t>(index), 0);
    if (!file)
        throw TarvoError(QStringLiteral("„%1“ kann nicht gelesen werden: %2.")
                             .arg(entry, ZipReason(zip_error_code_zip(zip_get_error(zip_)))));
    // One byte more than stated, so that data running past the stated size shows.
    QByteArray bytes(static_cast<qsizetype>(stated) + 1, Qt::Uninitialized);
    qint64 got = 0;
    int failure = ZIP_ER_OK;
    for (;;) {
        const zip_int64_t n =
            zip_fread(file, bytes.data() + got, static_cast<zip_uint64_t>(bytes.size() - got));
        if (n < 0) {
            failure = zip_error_code_zip(zip_file_get_error(file));
            break;
        }
        if (n == 0)
            break;
        got += n;
        if (got == bytes.size())
            break;
    }
    zip_fclose(file);
    if (failure != ZIP_ER_OK)
        throw TarvoError(QStringLiteral("„%1“ ist beschädigt: %2.").arg(entry, ZipReason(failure)));
    if (got != stated)
        throw TarvoError(QStringLiteral("„%1“: die Größe in der ZIP-Datei stimmt nicht.").arg(entry));
    bytes.truncate(static_cast<qsizetype>(got));
    return bytes;
}
