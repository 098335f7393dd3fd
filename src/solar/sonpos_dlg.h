#pragma once

#include "spot_position.h"

#include <QDateTime>
#include <QDialog>
#include <QSet>
#include <functional>
#include <memory>

class FocusGroupWatcher;
class WarningMemory;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
struct TObserverProfile;

// Turns the place of a spot on the projected solar disk into heliographic
// latitude, longitude and central meridian distance for a date and UT time.
// The dialog keeps its values between showings and stores nothing.
class TDlgSonPos : public QDialog {
    Q_OBJECT
public:
    explicit TDlgSonPos(QWidget *parent = nullptr);
    ~TDlgSonPos() override;

    // The main window hands in the current profile before each showing; only
    // its projection radius is used.
    void setProfile(const TObserverProfile &profile);
    void setRadius(int radius) { radius_ = radius; }
    int radius() const { return radius_; }

    // Source of the present moment in UT (tests fix it).
    void setClock(std::function<QDateTime()> utcNow) { utcNow_ = std::move(utcNow); }

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormShow();
    void MEDatumExit();
    void MEZeitExit();
    void MEXYExit();
    void BtnRechnenClick();
    void BitBtn1Click();

    void Reject(QWidget *field, const QString &message, bool error = false);
    // Empties B, L, the central meridian distance and the rotation note.
    void ClearPosition();
    bool ReadDateField();
    bool ReadTimeField();
    void RecomputeSun();
    void Compute(bool moveFocus);
    QString DateText() const;
    QString TimeText() const;

    QGroupBox *GB1;
    QLineEdit *MEDatum;
    QLineEdit *MEZeit;
    QGroupBox *GB2;
    QLabel *lL0;
    QLabel *lB0;
    QLabel *lP;
    QLabel *lRotation;
    QGroupBox *GB3;
    QLineEdit *MEX;
    QLineEdit *MEY;
    QGroupBox *GB4;
    QLabel *lB;
    QLabel *lGradB;
    QLabel *lL;
    QLabel *lRota;
    QLabel *lAZM;
    QLabel *lGradAZM;
    QPushButton *BtnRechnen;
    QPushButton *BitBtn1;
    FocusGroupWatcher *watcher_;
    std::unique_ptr<WarningMemory> warnings_;
    // Fields changed since their value was last read successfully.
    QSet<const QLineEdit *> unread_;

    std::function<QDateTime()> utcNow_;
    bool placed_ = false;
    bool suppressClick_ = false;

    int day_ = 0;
    int month_ = 0;
    int year_ = 0;
    int seconds_ = 0;
    TSunValues sun_;
    double x_ = 0.0;
    double y_ = 0.0;
    double rho_ = 0.0;
    TSpotPosition position_;
    int radius_ = 0;
};
