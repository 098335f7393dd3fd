#pragma once

#include <QString>

class QWidget;

// The informational message box of the dialogs' checks: one OK button.
void ShowInformation(QWidget *parent, const QString &text);
// An error message box (for example a failed save); the program goes on.
void ShowError(QWidget *parent, const QString &text);
