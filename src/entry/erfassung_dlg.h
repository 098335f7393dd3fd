#pragma once

#include "entry_checks.h"
#include "storage/day_record.h"
#include "storage/profile.h"

#include <QDialog>
#include <QHash>
#include <array>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class DialogSlotTable;
class FocusGroupWatcher;
class WarningMemory;
class TBeckDLG;

// Modal dialog that edits the observation of one day.
//
// Contract with the caller: set DayData (a copy of the day's record), Profile
// (only its entry switches Ein are used) and DayNo/MonthNo/YearNo (caption
// only), then exec(). On QDialog::Accepted, DayData holds the edited record and
// NextDay tells whether "OK, nächster Tag" was pressed. After Rejected the
// caller ignores DayData. The dialog reads and writes no file.
class TErfassungDlg : public QDialog {
    Q_OBJECT
public:
    // The Beck calculator is kept in `slotTable` (or in a table of its own).
    explicit TErfassungDlg(QWidget *parent = nullptr, DialogSlotTable *slotTable = nullptr);
    ~TErfassungDlg() override;

    TDayRecord DayData{};
    TObserverProfile Profile{};
    int DayNo = 0;
    int MonthNo = 0;
    int YearNo = 0;
    bool NextDay = false;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildControls();
    void FormShow();
    void LayOutBoxes();
    void FillControls();

    // The check of one box; stores into DayData and updates the shown derived numbers.
    BoxCheck RunCheck(EntryBox box);
    // A box (or one of its fields) lost the focus.
    void BoxExit(EntryBox box, QWidget *left);
    void ZeitExit();
    void n_s_Exit(QLineEdit *field);
    void UpdateTotalsState();
    // Shows the messages of a check, each followed by its focus move.
    void ShowMessages(const BoxCheck &check);
    // Shows them unless they were shown for the same contents of `fields`
    // (the key names the check).
    void ShowMessagesOnce(const QString &key, const QWidget *fields, const BoxCheck &check);
    QString FieldsState(const QWidget *group) const;
    void FocusField(const QString &name);
    EntryTexts Texts() const;

    void BtnOKClick();
    void BtnNextClick();
    // OK with numbers but no time: asks whether to enter the time (false:
    // the dialog stays open in the time field) or store the day as not
    // observed (true).
    bool AcceptDayWithoutTime();
    void BeckHlpClick();

    QLineEdit *Edit(const char *name) const;

    QHash<QString, QLineEdit *> edits_;
    std::array<QGroupBox *, 8> boxes_{};
    std::array<bool, 8> pending_{};
    QGroupBox *gbNord_ = nullptr;
    QGroupBox *gbSued_ = nullptr;
    QLabel *lblBemerkung_ = nullptr;
    QLabel *lblNoCategory_ = nullptr;
    QLabel *lblRe_ = nullptr;
    QLabel *lblSN_ = nullptr;
    QCheckBox *cbFl_ = nullptr;
    QPushButton *btnOK_ = nullptr;
    QPushButton *btnNext_ = nullptr;
    QPushButton *btnCancel_ = nullptr;
    QToolButton *beckHlp_ = nullptr;
    FocusGroupWatcher *watcher_ = nullptr;
    std::unique_ptr<DialogSlotTable> ownSlots_;
    DialogSlotTable *slots_ = nullptr;
    std::unique_ptr<WarningMemory> warnings_;
    TBeckDLG *beck_ = nullptr;
    QString zeitOnEnter_;
};
