#pragma once

#include "storage/profile.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;

// "Einstellungen für den E-Mail Versand": the sender data, SMTP access, the
// networks' addresses and which lists are preselected for mailing. The main
// window fills Profile before showing it and takes it back after OK.
class TEinstEmailDlg : public QDialog {
    Q_OBJECT
public:
    explicit TEinstEmailDlg(QWidget *parent = nullptr);

    TObserverProfile Profile;

    void FormShow();
    void BtnOKClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QTabWidget *PageControl1;
    QLineEdit *eMail, *eName, *SMTP, *SMTPBen, *SMTPPass;
    QLineEdit *eRe, *EANetz, *eFackel, *ePosition;
    QCheckBox *cbOhneTLS, *cbCC, *cbMailRe, *cbMailA, *cbMailF, *cbMailP;
    QPushButton *BtnOK, *BtnCancel, *BtnHelp;
};
