#pragma once

#include <QString>

class QDialog;
class QLabel;
class QPushButton;

// Pieces the backup and restore dialogs share.

// The help button and F1 open the help page on backup and restore.
void ConnectBackupHelp(QDialog *dialog, QPushButton *helpButton);
// A word-wrapped label with the given object name.
QLabel *WrappedLabel(const char *name);
// The folder a backup is offered in: the one chosen last while it exists,
// else the user's documents folder.
QString OfferedBackupFolder();
