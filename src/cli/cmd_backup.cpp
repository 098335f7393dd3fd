// Commands for backing up and restoring the program folder: backup, verify, restore.
#include "cli_command.h"

#include "backup/backup_restore.h"
#include "backup/backup_writer.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

QString Lines(const QStringList &lines) {
    QString text;
    for (const QString &line : lines)
        text += line + QLatin1Char('\n');
    return text;
}

QString AbsolutePath(const QString &path) {
    return QFileInfo(path).absoluteFilePath();
}

int Backup(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 1, 1);
    const BackupResult result = WriteBackup(AbsolutePath(args[0]), BackupScope::Current(),
                                            QDateTime::currentDateTime(), BackupNote{true, {}});
    // The backup is written; only its date could not be noted for the reminder.
    if (!result.settingsError.isEmpty())
        std::fprintf(stderr, "tarvo-cli: %s\n", result.settingsError.toLocal8Bit().constData());
    CliPrint(QStringLiteral("Datensicherung: %1\n").arg(QDir::toNativeSeparators(result.path)) +
             Lines(BackupSummaryLines(result.manifest)));
    return 0;
}

int Verify(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 1, 1);
    const VerifiedBackup backup = ReadVerifiedBackup(AbsolutePath(args[0]));
    CliPrint(QStringLiteral("Datensicherung: %1\n").arg(QDir::toNativeSeparators(backup.path)) +
             Lines(BackupSummaryLines(backup.manifest)) + QStringLiteral("Alle Dateien stimmen.\n"));
    return 0;
}

int Restore(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 1, 2);
    const bool dryRun = args.size() == 2;
    if (dryRun && args[1] != QLatin1String("--dry-run"))
        throw CliUsageError("unbekannte Angabe: " + args[1].toStdString());
    const RestorePlan plan = PlanRestore(AbsolutePath(args[0]), BackupScope::Current());
    QString out = QStringLiteral("Datensicherung: %1\n").arg(QDir::toNativeSeparators(plan.backup.path)) +
                  Lines(BackupSummaryLines(plan.backup.manifest)) + Lines(plan.changeLines());
    if (dryRun) {
        CliPrint(out + QStringLiteral("Probelauf: nichts wurde geschrieben.\n"));
        return 0;
    }
    const RestoreResult result = RunRestore(plan);
    out += QStringLiteral("Wiederhergestellt: %1 geschrieben.\n").arg(FileCount(result.written));
    out += result.safetyBackup.isEmpty() ? QStringLiteral("Es gab keinen vorherigen Stand zu sichern.\n")
                                         : QStringLiteral("Der vorherige Stand ist gesichert in: %1\n")
                                               .arg(QDir::toNativeSeparators(result.safetyBackup));
    CliPrint(out);
    return 0;
}

const CliCommandRegistrar backupCommand("backup", "OUT.zip", Backup,
                                        "tarvo.ini, alle Beobachterordner und die Referenzdaten in eine "
                                        "geprüfte ZIP-Datei sichern",
                                        CliNeeds::NoObserver);
const CliCommandRegistrar verifyCommand("verify", "IN.zip", Verify,
                                        "eine Datensicherung prüfen und ihren Inhalt zeigen", CliNeeds::NoObserver);
const CliCommandRegistrar restoreCommand("restore", "IN.zip [--dry-run]", Restore,
                                         "eine Datensicherung zurückspielen (vorher wird der jetzige Stand "
                                         "gesichert); --dry-run zeigt nur, was sich ändern würde",
                                         CliNeeds::NoObserver);

} // namespace
