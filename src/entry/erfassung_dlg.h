#pragma once

#include "storage/day_record.h"
#include "storage/profile.h"

#include <QDialog>

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
    explicit TErfassungDlg(QWidget *parent = nullptr);
    ~TErfassungDlg() override;

    TDayRecord DayData{};
    TObserverProfile Profile{};
    int DayNo = 0;
    int MonthNo = 0;
    int YearNo = 0;
    bool NextDay = false;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void BtnOKClick();
    void BtnNextClick();
};
