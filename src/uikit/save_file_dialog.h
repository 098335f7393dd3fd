#pragma once

#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

// Qt's own file dialog for saving a file, German like the program whatever
// the desktop's language: `objectName` for tests, the file type filters, the
// suffix added to a name typed without one, and the proposed name.
void SetUpSaveDialog(QFileDialog &dialog, const char *objectName, const QStringList &filters,
                     const QString &suffix, const QString &proposedName);

// Runs such a dialog titled `title`; the chosen file, or empty when the user
// cancelled.
QString AskSaveFileName(QWidget *parent, const QString &title, const char *objectName, const QStringList &filters,
                        const QString &suffix, const QString &proposedName);
