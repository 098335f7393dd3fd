#pragma once

#include "storage/profile.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// "Benutzer zufügen": reserves the next free observer directory and registers
// a new observer under a short name that is typed or taken from the lists of
// known observers ("observer.dat", "beostm.000" in the program directory).
class TAddBeobDLG : public QDialog {
    Q_OBJECT
public:
    explicit TAddBeobDLG(QWidget *parent = nullptr);

    TObserverProfile NewProfile;

    void FormShow();
    void BtnOKClick();
    void BtnCancelClick();
    // One of the two list boxes changed its text (picked or typed).
    void CBObserverChange(QComboBox *combo);
    void Name1Change();
    void InstrumentChange();
    void OeffnChange();
    void BrennChange();

    void reject() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void fillList(QComboBox *combo, QLabel *missing, const std::optional<QStringList> &entries);

    QString SavedKey;
    QString SavedDir;
    QString reservedDir_;
    QLabel *lPfad;
    QComboBox *CBObserver;
    QComboBox *CBBeoStm;
    QLabel *lObserverMissing;
    QLabel *lBeoStmMissing;
    QLineEdit *Name1;
    QComboBox *Instrument;
    QLineEdit *Oeffn;
    QLineEdit *Brenn;
    QPushButton *BtnOK, *BtnCancel, *BtnHelp;
};
