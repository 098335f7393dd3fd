#include "backup_restore.h"

#include "backup_writer.h"

#include "storage/archive.h"
#include "storage/file_io.h"
#include "storage/ini_file.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <optional>

namespace {

const QString kMainSection = QStringLiteral("TARVO32");
const QString kDataPathKey = QStringLiteral("Datenpfad");

bool SameFolder(const QString &a, const QString &b) {
    const QString ca = QFileInfo(a).canonicalFilePath();
    const QString cb = QFileInfo(b).canonicalFilePath();
    if (!ca.isEmpty() && !cb.isEmpty())
        return ca == cb;
    return QDir::cleanPath(QDir(a).absolutePath()) == QDir::cleanPath(QDir(b).absolutePath());
}

QString StoredDataPath(const IniFile &ini) {
    return ini.readString(kMainSection, kDataPathKey, QString());
}

// The backup's tarvo.ini, its "Datenpfad" made to name the folder the
// observers are restored to. The form the installation uses now (relative or
// not) is kept when it names that folder.
QByteArray SettingsForTarget(const QByteArray &backupSettings, const BackupScope &scope, bool *adjusted) {
    IniFile ini{QString()};
    ini.parse(backupSettings);
    *adjusted = !SameFolder(ResolveDataPathSetting(StoredDataPath(ini), scope.programDir), scope.dataPath);
    if (!*adjusted)
        return backupSettings;
    const IniFile current(scope.settingsFile());
    const QString currentSetting = StoredDataPath(current);
    const bool currentNamesTarget =
        current.keyExists(kMainSection, kDataPathKey) &&
        SameFolder(ResolveDataPathSetting(currentSetting, scope.programDir), scope.dataPath);
    ini.writeString(kMainSection, kDataPathKey, currentNamesTarget ? currentSetting : scope.dataPath);
    return ini.toBytes();
}

QByteArray BytesFor(const RestorePlan &plan, const QString &entry) {
    return entry == kSettingsEntry ? plan.settings : plan.backup.contents.value(entry);
}

// beob.ini holds the mail password: readable by its owner only, as the profile writer makes it.
std::optional<QFileDevice::Permissions> PermissionsFor(const QString &entry) {
    if (QFileInfo(entry).fileName().compare(QLatin1String("beob.ini"), Qt::CaseInsensitive) == 0)
        return QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    return std::nullopt;
}

QString UniqueSafetyBackupPath(const BackupScope &scope, const QDateTime &now) {
    const QString base = SafetyBackupFolder(scope) + QStringLiteral("Tarvo-vor-Wiederherstellung-") +
                         now.toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString path = base + QStringLiteral(".zip");
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base + QStringLiteral("-%1.zip").arg(n);
    return path;
}

struct WrittenFile {
    QString target;
    FileReadResult previous; // exists == false: the file is new
};

bool PutBack(const QString &target, const QByteArray &bytes) {
    try {
        WriteFileAtomically(target, bytes);
        return true;
    } catch (const TarvoError &) {
        return false;
    }
}

// Puts back what the restore replaced; false when a file could not be put back
// (one whose previous content could not be read stays as restored).
bool Undo(const QVector<WrittenFile> &written) {
    bool ok = true;
    for (auto it = written.rbegin(); it != written.rend(); ++it) {
        if (it->previous.ok())
            ok = PutBack(it->target, it->previous.bytes) && ok;
        else if (!it->previous.exists)
            ok = QFile::remove(it->target) && ok;
        else
            ok = false;
    }
    return ok;
}

} // namespace

QString ResolveDataPathSetting(const QString &setting, const QString &programDir) {
    return setting.isEmpty() ? programDir : ResolveDataPath(setting, programDir);
}

QString SafetyBackupFolder(const BackupScope &scope) {
    return scope.programDir + QStringLiteral("Sicherungen/");
}

int RestorePlan::count(RestoreChange change) const {
    return static_cast<int>(std::count_if(items.begin(), items.end(),
                                          [change](const RestoreItem &i) { return i.change == change; }));
}

QStringList RestorePlan::changeLines() const {
    QStringList lines;
    for (const RestoreItem &i : items)
        if (i.change == RestoreChange::Replaced)
            lines << QStringLiteral("ersetzt: %1").arg(i.entry);
    for (const RestoreItem &i : items)
        if (i.change == RestoreChange::New)
            lines << QStringLiteral("neu: %1").arg(i.entry);
    if (dataPathAdjusted)
        lines << QStringLiteral("Datenpfad in tarvo.ini: %1").arg(QDir::toNativeSeparators(scope.dataPath));
    for (const QString &o : observersLeftOut)
        lines << QStringLiteral("nicht mehr in der Beobachterliste (Ordner bleibt): %1").arg(o);
    for (const QString &f : filesKept)
        lines << QStringLiteral("bleibt (nicht in der Sicherung): %1").arg(f);
    lines << QStringLiteral("unverändert: %1").arg(FileCount(count(RestoreChange::Unchanged)));
    return lines;
}

RestorePlan PlanRestore(const QString &zipPath, const BackupScope &scope) {
    RestorePlan plan;
    plan.backup = ReadVerifiedBackup(zipPath);
    plan.scope = scope;
    const BackupManifest &m = plan.backup.manifest;
    plan.settings =
        SettingsForTarget(plan.backup.contents.value(kSettingsEntry), scope, &plan.dataPathAdjusted);

    QVector<RestoreItem> settingsItem;
    for (const BackupFileEntry &f : m.files) {
        RestoreItem item{f.path, scope.targetOf(f.path), RestoreChange::New};
        const FileReadResult current = ReadWholeFile(item.target);
        if (current.exists)
            item.change = current.ok() && current.bytes == BytesFor(plan, f.path) ? RestoreChange::Unchanged
                                                                                  : RestoreChange::Replaced;
        (f.path == kSettingsEntry ? settingsItem : plan.items).append(item);
    }
    plan.items += settingsItem; // last: the observer list names the folders once their files are there

    if (QFileInfo(scope.settingsFile()).isFile()) {
        const IniFile current(scope.settingsFile());
        const QString section = QStringLiteral("Beobachter");
        for (const QString &key : current.sectionKeys(section)) {
            const QString folder = ObserverFolderName(current.readString(section, key, QString()));
            const bool kept =
                std::any_of(m.observers.begin(), m.observers.end(),
                            [&](const BackupObserver &o) { return o.key == key && o.folder == folder; });
            if (!kept)
                plan.observersLeftOut << QStringLiteral("%1 (%2)").arg(key, folder);
        }
    }
    QStringList folders;
    for (const BackupObserver &o : m.observers) {
        if (folders.contains(o.folder))
            continue;
        folders << o.folder;
        const QDir dir(scope.dataPath + o.folder);
        QDirIterator it(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString entry = o.folder + QLatin1Char('/') + dir.relativeFilePath(it.next());
            if (!m.find(entry))
                plan.filesKept << entry;
        }
    }
    plan.filesKept.sort();
    return plan;
}

RestoreResult RunRestore(const RestorePlan &plan, const QDateTime &now) {
    const BackupScope &scope = plan.scope;
    for (const BackupObserver &o : plan.backup.manifest.observers)
        QDir().mkpath(scope.dataPath + o.folder); // so that each can hold its lock
    const ScopeLock lock(scope, plan.backup.manifest.observers);
    RestoreResult result;
    if (QFileInfo(scope.settingsFile()).isFile()) {
        try {
            if (!QDir().mkpath(SafetyBackupFolder(scope)))
                throw TarvoError::CannotWrite(QDir::toNativeSeparators(SafetyBackupFolder(scope)));
            result.safetyBackup = WriteBackup(UniqueSafetyBackupPath(scope, now), scope, now).path;
        } catch (const TarvoError &e) {
            throw TarvoError(QStringLiteral("Der jetzige Stand kann nicht gesichert werden; es wurde nichts "
                                            "wiederhergestellt.\n%1")
                                 .arg(e.message()));
        }
    }
    QVector<WrittenFile> written;
    for (const RestoreItem &item : plan.items) {
        const QByteArray bytes = BytesFor(plan, item.entry);
        const FileReadResult current = ReadWholeFile(item.target);
        if (current.ok() && current.bytes == bytes)
            continue;
        QString error;
        try {
            if (!QDir().mkpath(QFileInfo(item.target).absolutePath()))
                throw TarvoError::CannotWrite(QDir::toNativeSeparators(item.target));
            WriteFileAtomically(item.target, bytes, PermissionsFor(item.entry));
        } catch (const TarvoError &e) {
            error = e.message();
        }
        if (!error.isEmpty()) {
            const QString undone =
                Undo(written)
                    ? QStringLiteral("Die schon geschriebenen Dateien haben ihren vorherigen Inhalt zurück.")
                    : QStringLiteral("Nicht alle schon geschriebenen Dateien konnten zurückgeschrieben "
                                     "werden.");
            ForgetArchiveCache();
            QString message = QStringLiteral("Die Wiederherstellung ist bei „%1“ gescheitert: %2.\n%3")
                                  .arg(item.entry, error, undone);
            if (!result.safetyBackup.isEmpty())
                message += QStringLiteral("\nDer Stand vor der Wiederherstellung liegt in „%1“.")
                               .arg(QDir::toNativeSeparators(result.safetyBackup));
            throw TarvoError(message);
        }
        written.append(WrittenFile{item.target, current});
    }
    ForgetArchiveCache();
    result.written = static_cast<int>(written.size());
    return result;
}
