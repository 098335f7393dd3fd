#pragma once

#include "backup_restore.h"

#include <QDialog>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "Wiederherstellen": opens a backup, checks every file against its manifest,
// shows what it holds and what the restore would change, and on
// "Wiederherstellen" first saves the current state, then puts the files in
// place. Closes with Accepted after a restore, so the caller reloads the
// settings and the current observer.
class TRestoreDlg : public QDialog {
    Q_OBJECT
public:
    explicit TRestoreDlg(QWidget *parent = nullptr);

    // Reads and checks the backup and shows it (or why it cannot be used).
    void openBackup(const QString &path);
    void BtnDateiClick();
    void BtnOKClick();

    // The safety backup written by the last restore.
    QString safetyBackup() const { return safetyBackup_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void clearPlan();

    QLineEdit *ESicherung;
    QPushButton *BtnDatei;
    QLabel *LInhalt;
    QLabel *LFehler;
    QPlainTextEdit *MAenderungen;
    QLabel *LHinweis;
    QPushButton *BtnOK, *BtnCancel, *BtnHelp;
    std::optional<RestorePlan> plan_;
    QString safetyBackup_;
};
