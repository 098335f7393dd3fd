#pragma once

#include <QDate>
#include <QString>

// What the program keeps about backups, in tarvo.ini, section
// "Datensicherung": "Erinnerung" (days after which closing the program
// suggests a backup, 0 = never; default 30), "Letzte" (date of the last
// backup, yyyy-MM-dd) and "Ordner" (the folder chosen last for a backup).
struct BackupSettings {
    static constexpr int kDefaultReminderDays = 30;
    static constexpr int kMaxReminderDays = 3650;

    int reminderDays = kDefaultReminderDays;
    QDate lastBackup; // invalid: no backup yet
    QString folder;   // empty: none chosen yet
};

// Reads the settings from the program folder's tarvo.ini (missing keys give
// the defaults). Throws TarvoError when the file exists but cannot be read.
BackupSettings LoadBackupSettings();
// Stores the reminder interval (cut to 0..kMaxReminderDays). Throws TarvoError
// ("In %s kann nicht geschrieben werden") when tarvo.ini cannot be written.
void SaveReminderDays(int days);
// The tarvo.ini `settings` noting a backup made on `date`; `folder` is
// remembered when not empty and the file can hold its name.
QByteArray NoteBackup(const QByteArray &settings, const QDate &date, const QString &folder);

// Whether closing the program on `today` should suggest a backup: the
// interval is not 0, and the last backup is more than the interval ago, or
// there was none yet while observations exist.
bool BackupReminderDue(const BackupSettings &settings, const QDate &today, bool observationsExist);
// The note's text, e.g. "Ihre letzte Datensicherung ist 45 Tage alt."
QString BackupReminderText(const BackupSettings &settings, const QDate &today);
// True when some observer folder of the running program holds a year file.
bool ObservationsExist();
