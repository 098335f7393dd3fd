#pragma once

#include "eval_geometry.h"
#include "eval_painter.h"
#include "storage/profile.h"

#include <QDate>
#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolButton;
class TPaintBox;

// The graphic evaluation: up to 24 monthly curves from the evaluation archive
// over a span of years.
//
// Use: create once and keep; for each showing call showFor(profile), which
// shows the dialog modally and hands back the profile (it may carry new curve
// colours; they are already written to beob.ini when they changed).
class TAuswDlg : public QDialog {
    Q_OBJECT
public:
    explicit TAuswDlg(QWidget *parent = nullptr);

    int showFor(TObserverProfile &profile);

    void setProfile(const TObserverProfile &profile) { profile_ = profile; }
    const TObserverProfile &profile() const { return profile_; }
    bool coloursChanged() const { return coloursChanged_; }

    // The date the curves end with; by default today's date when shown.
    void setToday(const QDate &date) { fixedToday_ = date; }

    const TEvalGeometry &geometry() const { return geometry_; }
    TCurveSwitches shownCurves() const;
    // The three boxes as one picture (what "Bild speichern…" writes).
    TEvalPicture picture() const;

    // Handlers (public so that the main window's tests can drive them).
    void Draw();
    void SaveImage(const QString &fileName);

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose();
    void SE1Change();
    void SE2Change();
    void SE3Change();
    void GitterCheckClick();
    void KurveOnOff();
    void SAGSelectCell(int row, int column);
    void PB1MouseMove(QPoint position);
    void PB1DblClick();
    void BtnSaveClick();
    void Loeschen();
    void LineNew();
    void RedrawSwallowingErrors();
    void ColourLegend();
    void SetStatus(const QString &text);

    TObserverProfile profile_{};
    TEvalGeometry geometry_;
    QDate today_;
    QDate fixedToday_;
    int endYear_ = 0;
    int years_ = 15;
    int factor_ = 1;
    bool coloursChanged_ = false;
    bool drawing_ = false;
    // True while the showing sets the fields, and before the first showing
    // (a resize then must not draw the years around year 0).
    bool showing_ = true;
    int markerX_ = -1;
    int markerY_ = -1;

    QSpinBox *SE1_ = nullptr;
    QSpinBox *SE2_ = nullptr;
    QSpinBox *SE3_ = nullptr;
    QCheckBox *GitterCheck_ = nullptr;
    QPushButton *BitBtn1_ = nullptr;
    QPushButton *BtnSave_ = nullptr;
    std::array<QToolButton *, kCurveCount> buttons_{};
    QTableWidget *SAG_ = nullptr;
    TPaintBox *PB1_ = nullptr;
    TPaintBox *PB2_ = nullptr;
    TPaintBox *PB4_ = nullptr;
    QLabel *Stat_ = nullptr;
};
