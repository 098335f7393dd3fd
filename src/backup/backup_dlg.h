#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Datensicherung": writes the program folder's data (tarvo.ini, every
// observer folder, the reference store) into one ZIP file in a folder the
// user chooses; the folder is remembered, the date noted for the reminder.
class TBackupDlg : public QDialog {
    Q_OBJECT
public:
    explicit TBackupDlg(QWidget *parent = nullptr);

    // Fills in what will be saved, the folder and the default file name.
    void FormShow();
    // Writes the backup; closes the dialog when it was written.
    void BtnOKClick();
    void BtnOrdnerClick();

    // The backup written by the last successful BtnOKClick.
    QString writtenPath() const { return writtenPath_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    QString targetPath() const;

    QLabel *LInhalt;
    QLabel *LLetzte;
    QLineEdit *EOrdner;
    QPushButton *BtnOrdner;
    QLineEdit *EDatei;
    QPushButton *BtnOK, *BtnCancel, *BtnHelp;
    QString writtenPath_;
};
