// Backups: the whole check of a backup file (ZIP through libzip, the manifest,
// entry names and checksums) and the manifest parser on its own.
#include "fuzz_sandbox.h"
#include "backup/backup_manifest.h"
#include "backup/backup_reader.h"
#include "storage/tarvo_error.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const QByteArray bytes = FuzzBytes(data + 1, size - 1);
    try {
        if (data[0] % 2 == 0) {
            const VerifiedBackup backup = VerifyBackupBytes(bytes, QStringLiteral("fuzz.zip"));
            // Whatever passes holds exactly the listed files, each safe to restore.
            if (backup.contents.size() != backup.manifest.files.size())
                __builtin_trap();
            for (const BackupFileEntry &f : backup.manifest.files)
                if (!IsSafeBackupPath(f.path) || Sha256Hex(backup.contents.value(f.path)) != f.sha256)
                    __builtin_trap();
        } else {
            const BackupManifest manifest = ParseManifest(bytes);
            // What is read back must be written and read the same.
            if (FormatManifest(ParseManifest(FormatManifest(manifest))) != FormatManifest(manifest))
                __builtin_trap();
        }
    } catch (const TarvoError &) {
    }
    return 0;
}
