#pragma once

#include <QList>
#include <QString>

class QMessageBox;
class QWidget;

// Runs a message box of the program. It is made at least as wide as its
// title needs, so that the window manager never cuts the title.
int ExecMessageBox(QMessageBox &box);

// The informational message box of the dialogs' checks: one OK button.
void ShowInformation(QWidget *parent, const QString &text);
// An error message box (for example a failed save); the program goes on.
void ShowError(QWidget *parent, const QString &text);
// A question with the buttons "Ja" (BtnJa, the default) and "Nein" (BtnNein,
// also Esc); true when the answer is yes.
bool AskYesNo(QWidget *parent, const QString &text);

// One answer button of a question: the object name tests find it by, and its
// caption.
struct Answer {
    const char *name;
    QString text;
};
// Asks with the given answer buttons and returns the index of the one
// pressed. `safe` is the answer to Esc (and to a box closed without a
// button) and the default button unless `defaultAnswer` names another.
int AskQuestion(QWidget *parent, const QString &text, const QList<Answer> &answers, int safe,
                int defaultAnswer = -1, const QString &title = QStringLiteral("Frage"));

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
