#pragma once

#include <QString>

class QWidget;

// The informational message box of the dialogs' checks: one OK button.
void ShowInformation(QWidget *parent, const QString &text);
// An error message box (for example a failed save); the program goes on.
void ShowError(QWidget *parent, const QString &text);
// A question with the buttons "Ja" (BtnJa, the default) and "Nein" (BtnNein,
// also Esc); true when the answer is yes.
bool AskYesNo(QWidget *parent, const QString &text);

class QHBoxLayout;
class QPushButton;

// The OK / Abbrechen / Hilfe row of the settings dialogs, with their object
// names BtnOK, BtnCancel and BtnHelp; OK is the default button.
struct DialogButtonRow {
    QPushButton *ok;
    QPushButton *cancel;
    QPushButton *help;
    QHBoxLayout *layout; // stretch first, then the three buttons
};
DialogButtonRow MakeDialogButtonRow();
