#pragma once

#include "eval_plot.h"
#include "eval_series.h"
#include "plot/plot_layout.h"
#include "storage/profile.h"

#include <QDate>
#include <QDialog>
#include <QPixmap>
#include <array>

class QCheckBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QToolButton;
class TPaintBox;

// The graphic evaluation: up to 24 monthly curves from the evaluation archive
// over a span of years, as a figure with title, legend and axes.
//
// Use: create once and keep; for each showing call showFor(profile), which
// shows the dialog modally and hands back the profile (it may carry new curve
// colours; they are already written to beob.ini when they changed). The
// span, the curves shown and the legend grid choice are kept per observer.
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

    const TEvalData &evalData() const { return data_; }
    const TPlot &plot() const { return plot_; }
    // The figure's layout in the coordinates of the figure box PB1.
    const TPlotLayout &plotLayout() const { return layout_; }
    QSize figureSize() const;
    // The month under the mouse (a point of evalData()), -1 when none.
    int markedPoint() const { return markedPoint_; }
    TCurveSwitches shownCurves() const;

    // Handlers (public so that the main window's tests can drive them).
    void Draw();
    // PNG (at `scale` times the figure's size) or PDF, by the name's suffix.
    void SaveImage(const QString &fileName, int scale = 1);
    void CopyImage();

protected:
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormShow();
    void FormClose(int result);
    void SE1Change();
    void SE2Change();
    void SE3Change();
    void GitterCheckClick();
    void KurveOnOff();
    void SAGSelectCell(int row, int column);
    void PB1MouseMove(QPoint position);
    void PB1MouseLeave();
    void PB1DblClick();
    void PaintFigure(QPainter &painter);
    void BtnSaveClick();
    void LineNew();
    void RedrawSwallowingErrors();
    void ColourLegend();
    void SetStatus(const QString &text);
    void RestoreView();
    TEvaluationView CurrentView() const;
    void SetCurves(const TCurveSwitches &shown);

    TObserverProfile profile_{};
    TEvalData data_;
    TPlot plot_;
    TPlotLayout layout_;
    QPixmap figure_;
    TEvaluationView viewAtOpen_;
    QDate today_;
    QDate fixedToday_;
    int endYear_ = 0;
    int years_ = 15;
    int factor_ = 1;
    bool coloursChanged_ = false;
    bool paletteApplied_ = false;
    bool drawing_ = false;
    // True while the showing sets the fields, and before the first showing
    // (a resize then must not draw the years around year 0).
    bool showing_ = true;
    int markedPoint_ = -1; // the month under the mouse

    QSpinBox *SE1_ = nullptr;
    QSpinBox *SE2_ = nullptr;
    QSpinBox *SE3_ = nullptr;
    QCheckBox *GitterCheck_ = nullptr;
    QPushButton *BitBtn1_ = nullptr;
    QPushButton *BtnSave_ = nullptr;
    QPushButton *BtnCopy_ = nullptr;
    std::array<QToolButton *, kCurveCount> buttons_{};
    QTableWidget *SAG_ = nullptr;
    TPaintBox *PB1_ = nullptr;
    QLabel *Stat_ = nullptr;
};
