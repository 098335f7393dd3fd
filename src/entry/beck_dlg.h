#pragma once

#include <QDialog>
#include <array>
#include <cstdint>
#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class FocusGroupWatcher;
class WarningMemory;

// Calculator for the Beck relative number: nine class counts, each weighted.
// The caller sets WolfSpots (the day's spot total f, 0xFFFF = not given),
// shows the dialog modally and after OK reads BeckResult.
class TBeckDLG : public QDialog {
    Q_OBJECT
public:
    explicit TBeckDLG(QWidget *parent = nullptr);
    ~TBeckDLG() override;

    std::array<std::int16_t, 9> ClassCounts{};
    std::uint16_t WolfSpots = 0xFFFF;
    std::uint16_t BeckResult = 0;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    // Takes the count of field `index`; false when it was refused. On OK a
    // refusal is always said, on leaving the field once for its text.
    bool g_aExit(int index, bool onOk);
    void BtnOKClick();
    void ShowTotals(std::int64_t sum, std::int64_t beck);

    std::array<QLineEdit *, 9> fields_{};
    QLabel *lF_ = nullptr;
    QLabel *lRs_ = nullptr;
    QPushButton *btnOK_ = nullptr;
    QPushButton *btnCancel_ = nullptr;
    FocusGroupWatcher *watcher_ = nullptr;
    std::unique_ptr<WarningMemory> warnings_;
};
