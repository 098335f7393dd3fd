#pragma once

#include <QDialog>
#include <cstdint>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;

// Asks to which month of the same year the shown month is to be moved. The
// month table performs the move itself after OK when Confirmed is set.
class TMoveMonth : public QDialog {
    Q_OBJECT
public:
    explicit TMoveMonth(QWidget *parent = nullptr);

    std::uint16_t SourceMonth = 1; // set by the month table before showing
    int TargetMonth = 0;
    bool Confirmed = false;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();
    void BitBtn1Click();

    QLabel *lVonMonat = nullptr;
    QSpinBox *toMonth = nullptr;
    QCheckBox *cb1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn2 = nullptr;
};
