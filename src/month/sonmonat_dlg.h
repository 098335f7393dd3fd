#pragma once

#include "month_columns.h"
#include "month_document.h"
#include "storage/profile.h"

#include <QDate>
#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>

class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class DialogSlotTable;
class TErfassungDlg;
class TMoveMonth;
class TExportDLG;
class TEmailDLG;
class TStringAlignGrid;

// The month table: one month of the current observer's year in a grid with
// the rows "Summe", "Anzahl" and "Mittel". It shows its TMonthDocument (the
// year in memory, the only writer of the year file in the program) and
// forwards the user's actions to it.
//
// The main window calls setProfile() and then exec(); every opening starts
// afresh on today's month (or on setOpeningDate()'s date).
class TSonMonatDlg : public QDialog {
    Q_OBJECT
public:
    // The dialogs the table opens are kept in `slotTable` (the main window's
    // table), or in a table of its own when none is given.
    explicit TSonMonatDlg(QWidget *parent = nullptr, DialogSlotTable *slotTable = nullptr);
    ~TSonMonatDlg() override;

    void setProfile(const TObserverProfile &profile) { Profile = profile; }
    const TObserverProfile &profile() const { return Profile; }
    // Opens on this date instead of today (invalid date: today again).
    void setOpeningDate(const QDate &date) { openingDate_ = date; }

    // The month being shown and edited.
    const TMonthDocument &document() const { return document_; }
    const TYearBuffer &yearBuffer() const { return document_.yearData(); }
    int curYear() const { return document_.year(); }
    int curMonth() const { return document_.month(); }
    int daysInMonth() const { return document_.daysInMonth(); }
    const std::array<std::int32_t, 50> &counts() const { return document_.totals().Counts; }
    const TMonthTotals &totals() const { return document_.totals(); }
    bool isModified() const { return document_.isModified(); }
    // False while the shown year's file exists but could not be read.
    bool yearReadable() const { return document_.isReadable(); }
    TStringAlignGrid *grid() const { return SGMonat; }

    // Writes the year when it holds changes. A failed write is shown and the
    // year stays modified; returns whether the file on disk is current.
    bool SaveIfModified();

    void done(int result) override;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void LoadLayout();
    void ShowReadProblem();
    void LayoutColumns();
    void ShowTable();
    void SelectRow(int row);
    void UpdateSelectableRows();
    bool ChangeTo(int year, int month);
    void SyncSpinEdits();
    bool RefuseChangesToUnreadableYear();

    void SEMonatChange();
    void SEJahrChange();
    void SGMonatMouseDown(Qt::MouseButton button, QPoint pos);
    void EditDay();
    void DeleteDay();
    void OpenColumnChooser();
    void MoveMonthClick();
    void BtnSOB01Click();
    void BtnSOB09Click();
    void BtnExportClick();
    void BtnEmailClick();
    void BtnCloseClick();

    // The export and e-mail dialogs, made on first use and kept.
    TExportDLG &ExportDialog();
    TEmailDLG &EmailDialog();
    TErfassungDlg &EntryDialog();

    TMonthDocument document_;
    TObserverProfile Profile{};
    QDate openingDate_;
    bool changing_ = false;

    TStringAlignGrid *SGMonat = nullptr;
    QSpinBox *SEMonat = nullptr;
    QSpinBox *SEJahr = nullptr;
    QLabel *Beob = nullptr;
    QPushButton *BtnSOB01 = nullptr;
    QPushButton *BtnSOB09 = nullptr;
    QPushButton *BtnExport = nullptr;
    QPushButton *BtnClose = nullptr;
    QPushButton *BtnEmail = nullptr;
    QMenu *PopupMenu = nullptr;
    std::unique_ptr<DialogSlotTable> ownSlots_;
    DialogSlotTable *slots_ = nullptr;
    TErfassungDlg *entryDlg_ = nullptr;
    TMoveMonth *moveDlg_ = nullptr;
};
