#pragma once

#include "month_columns.h"
#include "storage/month_totals.h"
#include "storage/day_record.h"
#include "storage/profile.h"

#include <QDate>
#include <QDialog>
#include <array>
#include <cstdint>
#include <vector>

class QLabel;
class QMenu;
class QPushButton;
class QSpinBox;
class TErfassungDlg;
class TMoveMonth;
class TExportDLG;
class TEmailDLG;
class TStringAlignGrid;
class TTabDlg;

// The month table: one month of the current observer's year in a grid with
// the rows "Summe", "Anzahl" and "Mittel". It holds the whole year data file
// of the shown year and is its only writer.
//
// The main window calls setProfile() and then exec(); every opening starts
// afresh on today's month (or on setOpeningDate()'s date).
class TSonMonatDlg : public QDialog {
    Q_OBJECT
public:
    explicit TSonMonatDlg(QWidget *parent = nullptr);
    ~TSonMonatDlg() override;

    void setProfile(const TObserverProfile &profile) { Profile = profile; }
    const TObserverProfile &profile() const { return Profile; }
    // Opens on this date instead of today (invalid date: today again).
    void setOpeningDate(const QDate &date) { openingDate_ = date; }

    // State for the modules that work on the shown month.
    const TYearBuffer &yearBuffer() const { return YearBuffer; }
    int curYear() const { return CurYear; }
    int curMonth() const { return CurMonth; }
    int daysInMonth() const { return DaysInMonth; }
    const std::array<std::int32_t, 50> &counts() const { return Counts; }
    const TMonthTotals &totals() const { return totals_; }
    bool isModified() const { return Modified; }
    // False while the shown year's file exists but could not be read.
    bool yearReadable() const { return yearReadable_; }
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
    void ReadShownYear();
    void LayoutColumns();
    void ShowTable();
    void ShowDays(int first, int last);
    void ShowDay(int row);
    void SumMonth(int month);
    void ClearDay(int row);
    void EditDay();
    void DeleteDay();
    void SelectRow(int row);
    void UpdateSelectableRows();
    bool ChangeTo(int year, int month);
    void SyncSpinEdits();
    bool RefuseChangesToUnreadableYear();

    void SEMonatChange();
    void SEJahrChange();
    void SGMonatMouseDown(Qt::MouseButton button, QPoint pos);
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

    TYearBuffer YearBuffer{};
    // The year as it was read or saved last: a save writes only what was
    // changed since, over what another Tarvo process may have written.
    TYearBuffer yearOnDisk_{};
    std::uint16_t CurYear = 0;
    std::uint16_t CurMonth = 1;
    std::uint16_t CurDay = 1;
    std::int32_t DaysInMonth = 31;
    TObserverProfile Profile{};
    std::array<std::int32_t, 50> Counts{};
    bool Modified = false;

    TMonthTotals totals_;
    std::vector<TShownColumn> columns_;
    std::array<int, 26> columnOfKind_{}; // grid column per kind, -1 when hidden
    bool yearReadable_ = true;
    QString unreadableMessage_;
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
    TErfassungDlg *entryDlg_ = nullptr;
    TTabDlg *tabDlg_ = nullptr;
    TMoveMonth *moveDlg_ = nullptr;
    TExportDLG *exportDlg_ = nullptr;
    TEmailDLG *emailDlg_ = nullptr;
};
