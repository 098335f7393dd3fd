#include "erfassung_dlg.h"

#include <QShowEvent>
#include <cstring>

TErfassungDlg::TErfassungDlg(QWidget *parent) : QDialog(parent) {
    std::memset(&DayData, 0, sizeof DayData);
    std::memset(&Profile, 0, sizeof Profile);
}

TErfassungDlg::~TErfassungDlg() = default;

void TErfassungDlg::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TErfassungDlg::FormShow() {
    NextDay = false;
    setWindowTitle(QStringLiteral("Erfassung: %1.%2.%3").arg(DayNo).arg(MonthNo).arg(YearNo));
}

void TErfassungDlg::BtnOKClick() { accept(); }

void TErfassungDlg::BtnNextClick() {
    NextDay = true;
    BtnOKClick();
}
