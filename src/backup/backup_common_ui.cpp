#include "backup_common_ui.h"

#include "backup_settings.h"

#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QStandardPaths>

void ConnectBackupHelp(QDialog *dialog, QPushButton *helpButton) {
    auto show = [dialog] { ShowHelp(dialog, HelpTopic::Backup); };
    QObject::connect(helpButton, &QPushButton::clicked, dialog, show);
    InstallHelpKey(dialog, HelpTopic::Backup);
}

QLabel *WrappedLabel(const char *name) {
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(name));
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QString OfferedBackupFolder() {
    QString folder;
    try {
        folder = LoadBackupSettings().folder;
    } catch (const TarvoError &) {
        // An unreadable tarvo.ini only costs the remembered folder here.
    }
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return QDir::toNativeSeparators(folder);
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir::toNativeSeparators(QFileInfo(documents).isDir() ? documents : QDir::homePath());
}
