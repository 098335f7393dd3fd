#include "backup_settings.h"

#include "storage/cp1252.h"
#include "storage/ini_file.h"
#include "storage/storage_state.h"

#include <QDir>

#include <algorithm>

namespace {

const QString kSection = QStringLiteral("Datensicherung");
const QString kReminderKey = QStringLiteral("Erinnerung");
const QString kLastKey = QStringLiteral("Letzte");
const QString kFolderKey = QStringLiteral("Ordner");
const QString kDateFormat = QStringLiteral("yyyy-MM-dd");

QString SettingsPath() {
    return WithTrailingSeparator(Storage().ProgramDir) + QStringLiteral("tarvo.ini");
}

} // namespace

BackupSettings LoadBackupSettings() {
    const IniFile ini(SettingsPath());
    BackupSettings s;
    s.reminderDays = std::clamp(ini.readInteger(kSection, kReminderKey, BackupSettings::kDefaultReminderDays),
                                0, BackupSettings::kMaxReminderDays);
    s.lastBackup = QDate::fromString(ini.readString(kSection, kLastKey, QString()), kDateFormat);
    s.folder = ini.readString(kSection, kFolderKey, QString());
    return s;
}

void SaveReminderDays(int days) {
    IniFile ini(SettingsPath());
    ini.writeInteger(kSection, kReminderKey, std::clamp(days, 0, BackupSettings::kMaxReminderDays));
    ini.save();
}

QByteArray NoteBackup(const QByteArray &settings, const QDate &date, const QString &folder) {
    IniFile ini{QString()};
    ini.parse(settings);
    ini.writeString(kSection, kLastKey, date.toString(kDateFormat));
    // A folder name Windows-1252 cannot hold would come back wrong: it is not remembered.
    if (!folder.isEmpty() && FromCp1252(ToCp1252(folder)) == folder)
        ini.writeString(kSection, kFolderKey, folder);
    return ini.toBytes();
}

bool BackupReminderDue(const BackupSettings &settings, const QDate &today, bool observationsExist) {
    if (settings.reminderDays <= 0)
        return false;
    if (!settings.lastBackup.isValid())
        return observationsExist;
    return settings.lastBackup.daysTo(today) > settings.reminderDays;
}

QString BackupReminderText(const BackupSettings &settings, const QDate &today) {
    const QString advice =
        QStringLiteral("Eine Sicherung auf einem anderen Datenträger schützt Ihre Beobachtungen "
                       "vor einem Festplattenschaden (Datei › Datensicherung…).");
    if (!settings.lastBackup.isValid())
        return QStringLiteral("Von Ihren Beobachtungen gibt es noch keine Datensicherung.\n\n") + advice;
    return QStringLiteral("Ihre letzte Datensicherung ist %1 Tage alt (%2).\n\n")
               .arg(settings.lastBackup.daysTo(today))
               .arg(settings.lastBackup.toString(QStringLiteral("dd.MM.yyyy"))) +
           advice;
}

bool ObservationsExist() {
    const StorageState &s = Storage();
    for (const QString &dir : s.ObserverDirs) {
        const QDir folder(s.DataPath + ObserverDirPath(dir));
        if (!folder.entryList({QStringLiteral("SO*.DAT")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}
