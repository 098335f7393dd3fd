#include "backup_reader.h"

#include "backup_scope.h"
#include "zip_archive.h"

#include "storage/file_io.h"
#include "storage/tarvo_error.h"

#include <QDir>

namespace {

constexpr qint64 kMaxManifestBytes = 16 * 1024 * 1024;
constexpr qint64 kMaxFileBytes = qint64(1) << 30;

BackupManifest ReadManifest(const ZipReader &zip) {
    for (int i = 0; i < zip.count(); ++i)
        if (zip.name(i) == kManifestName)
            return ParseManifest(zip.read(i, kMaxManifestBytes));
    throw TarvoError(
        QStringLiteral("Das ist keine Tarvo-Datensicherung: die Inhaltsliste %1 fehlt.").arg(kManifestName));
}

// Entries that are folders only (some ZIP programs store them) carry no data.
bool IsFolderEntry(const QString &name) {
    return name.endsWith(QLatin1Char('/'));
}

void CheckEntries(const ZipReader &zip, VerifiedBackup &backup) {
    const BackupManifest &m = backup.manifest;
    for (const BackupFileEntry &f : m.files)
        if (!IsBackupEntry(f.path, m.observers))
            throw TarvoError(QStringLiteral("„%1“ gehört nicht in eine Tarvo-Datensicherung.").arg(f.path));
    if (!m.find(kSettingsEntry))
        throw TarvoError(QStringLiteral("Die Sicherung enthält keine %1.").arg(kSettingsEntry));

    for (int i = 0; i < zip.count(); ++i) {
        const QString name = zip.name(i);
        if (name == kManifestName)
            continue;
        const QString path = IsFolderEntry(name) ? name.chopped(1) : name;
        if (!IsSafeBackupPath(path))
            throw TarvoError(
                QStringLiteral("„%1“: dieser Pfad führt aus dem Programmordner hinaus.").arg(name));
        if (IsFolderEntry(name))
            continue;
        const BackupFileEntry *listed = m.find(name);
        if (!listed)
            throw TarvoError(QStringLiteral("„%1“ steht nicht in der Inhaltsliste.").arg(name));
        if (backup.contents.contains(name))
            throw TarvoError(QStringLiteral("„%1“ steht zweimal in der ZIP-Datei.").arg(name));
        if (listed->size > kMaxFileBytes)
            throw TarvoError(QStringLiteral("„%1“ ist zu groß für eine Tarvo-Datei.").arg(name));
        if (zip.size(i) != listed->size)
            throw TarvoError(
                QStringLiteral("„%1“: die Größe stimmt nicht mit der Inhaltsliste überein.").arg(name));
        const QByteArray bytes = zip.read(i, listed->size);
        if (Sha256Hex(bytes) != listed->sha256)
            throw TarvoError(
                QStringLiteral("„%1“: die Prüfsumme (SHA-256) stimmt nicht mit der Inhaltsliste überein.")
                    .arg(name));
        backup.contents.insert(name, bytes);
    }
    for (const BackupFileEntry &f : m.files)
        if (!backup.contents.contains(f.path))
            throw TarvoError(QStringLiteral("„%1“ fehlt in der ZIP-Datei.").arg(f.path));
}

} // namespace

VerifiedBackup ReadVerifiedBackup(const QString &zipPath) {
    const QString shown = QDir::toNativeSeparators(zipPath);
    const FileReadResult file = ReadWholeFile(zipPath);
    if (!file.exists)
        throw TarvoError(QStringLiteral("Die Datei „%1“ gibt es nicht.").arg(shown));
    if (!file.ok())
        throw TarvoError(
            QStringLiteral("„%1“ kann nicht gelesen werden (E/A-Fehler %2).").arg(shown).arg(file.errorCode));
    return VerifyBackupBytes(file.bytes, zipPath);
}

VerifiedBackup VerifyBackupBytes(const QByteArray &bytes, const QString &zipPath) {
    VerifiedBackup backup;
    backup.path = zipPath;
    try {
        const ZipReader zip(bytes);
        backup.manifest = ReadManifest(zip);
        CheckEntries(zip, backup);
    } catch (const TarvoError &e) {
        throw TarvoError(QStringLiteral("Die Datensicherung „%1“ ist nicht verwendbar.\n%2")
                             .arg(QDir::toNativeSeparators(zipPath), e.message()));
    }
    return backup;
}
