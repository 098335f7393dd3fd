#pragma once

#include "storage/profile.h"

#include <QDialog>
#include <QVector>

class DialogSlotTable;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTabWidget;
class QWidget;

// "Einstellungen": the current observer's address, instrument, projection
// radius and the categories for entry and output. Loads its own copy of the
// settings each time it is shown and saves beob.ini on OK.
class TEinstDLG : public QDialog {
    Q_OBJECT
public:
    // `slotTable` holds the add-observer dialog (slot 12); without a table the
    // dialog keeps it itself.
    explicit TEinstDLG(QWidget *parent = nullptr, DialogSlotTable *slotTable = nullptr);

    TObserverProfile Profile;
    // An observer was added or removed during this showing: the list and the
    // current observer changed, whether the dialog ends with OK or not.
    bool ObserversChanged = false;

    void FormShow();
    void BtnOKClick();
    void Ein_WolfClick();
    void BtnAddClick();
    void BtnDeleteClick();

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *lineEdit(const char *name, int maxLength);
    QCheckBox *checkBox(const char *name, const QString &caption);
    void fillControls();
    void storeControls(TObserverProfile &profile) const;

    struct SwitchBox {
        QCheckBox *box;
        bool ein; // Ein (entry) or Aus (output)
        int index;
    };
    QVector<SwitchBox> switches_;
    DialogSlotTable *slots_;
    QDialog *ownAddDialog_ = nullptr;
    QTabWidget *PageControl1;
    QWidget *TBeob;
    QWidget *TPos;
    QWidget *TEin;
    QWidget *TAus;
    QWidget *TProgramm; // program-wide settings (tarvo.ini), for every observer alike
    QSpinBox *SEErinnerung;
    int storedReminderDays_ = 0;
    QLineEdit *Name1, *Name2, *Name3, *Name4, *Laenge, *Breite, *Oeffn, *Brenn, *Vergr, *Projektion;
    QComboBox *Instrument;
    QCheckBox *ein_allg, *Ein_Wolf, *Ein_NS, *Ein_Beck, *Ein_Pettis, *Ein_CV, *Ein_A, *Ein_Fackel,
        *Ein_Position, *Ein_LB;
    QCheckBox *Aus_Wolf, *Aus_NS, *Aus_Beck, *Aus_Pettis, *Aus_CV, *Aus_A, *aus_allg;
    QPushButton *BtnOK, *BtnCancel, *BtnHelp, *BtnAdd, *BtnDelete;
};
