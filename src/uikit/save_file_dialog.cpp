#include "save_file_dialog.h"

#include <QFileDialog>

void SetUpSaveDialog(QFileDialog &dialog, const char *objectName, const QStringList &filters,
                     const QString &suffix, const QString &proposedName) {
    dialog.setObjectName(QString::fromLatin1(objectName));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters(filters);
    // The dialog adds the suffix before it asks about an existing file.
    dialog.setDefaultSuffix(suffix);
    dialog.selectFile(proposedName);
}

QString AskSaveFileName(QWidget *parent, const QString &title, const char *objectName, const QStringList &filters,
                        const QString &suffix, const QString &proposedName) {
    QFileDialog dialog(parent, title);
    SetUpSaveDialog(dialog, objectName, filters, suffix, proposedName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}
