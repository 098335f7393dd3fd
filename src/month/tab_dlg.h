#pragma once

#include "column_chooser.h"

#include <QDialog>

class QListWidget;
class QPushButton;
class QSpinBox;
class QToolButton;

// Column chooser of the month table: which column kinds are shown, in which
// order and how wide. On OK the module's column layout holds the new
// settings; on Cancel it is unchanged.
class TTabDlg : public QDialog {
    Q_OBJECT
public:
    explicit TTabDlg(QWidget *parent = nullptr);

    const TColumnChooser &chooser() const { return chooser_; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void FillLists();
    void ResetButtons();
    void LBVerfClick();
    void LBAusClick();
    void SBAddClick();
    void SBAddAllClick();
    void SBDelClick();
    void SBDelAllClick();
    void BtnObenClick();
    void BtnUntenClick();
    void SEChange(int value);
    void BtnOKClick();

    TColumnChooser chooser_;
    QListWidget *LBAus = nullptr;
    QListWidget *LBVerf = nullptr;
    QToolButton *SBAdd = nullptr;
    QToolButton *SBAddAll = nullptr;
    QToolButton *SBDel = nullptr;
    QToolButton *SBDelAll = nullptr;
    QSpinBox *SE = nullptr;
    QPushButton *BtnOben = nullptr;
    QPushButton *BtnUnten = nullptr;
    QPushButton *BtnOK = nullptr;
    QPushButton *BtnCancel = nullptr;
    bool filling_ = false;
};
