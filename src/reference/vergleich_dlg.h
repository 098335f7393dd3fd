#pragma once

#include "comparison.h"
#include "comparison_table_ui.h"
#include "plot/plot.h"
#include "plot/plot_layout.h"
#include "silso_series.h"
#include "storage/profile.h"

#include <QByteArray>
#include <QDate>
#include <QDialog>
#include <QPixmap>

class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;
class QSplitter;
class QTableWidget;
class TPaintBox;
class TSilsoImportDlg;

// "Vergleich mit SILSO": the observer's relative numbers against SILSO's
// daily sunspot numbers - a month day by day, a year month by month (k, the
// daily ratios, k North and South) or a span of years (monthly k and its
// running 13-month mean), each as a table and a plot with SILSO's source
// line. The table is saved as CSV, the plot as PNG or PDF.
//
// Use: create once and keep; showFor(profile) shows it modally. The choice of
// view, year and month stays between showings for the same observer.
class TVergleichDlg : public QDialog {
    Q_OBJECT
public:
    enum class View { Month = 0, Year = 1, Span = 2 };

    explicit TVergleichDlg(QWidget *parent = nullptr);

    int showFor(const TObserverProfile &profile);
    void setProfile(const TObserverProfile &profile) { profile_ = profile; }
    // The date the first showing starts from; by default today's.
    void setToday(const QDate &date) { fixedToday_ = date; }

    View view() const;
    const TPlot &plot() const { return plot_; }
    const TPlotLayout &plotLayout() const { return layout_; }
    QSize figureSize() const;
    // The table of the view as "Tabelle speichern…" writes it.
    QString tableCsv() const;

    // Handlers (public so that tests can drive them).
    void Draw();
    void SaveTable(const QString &fileName); // throws TarvoError
    void SaveImage(const QString &fileName, int scale = 1);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void done(int result) override;

private:
    void FormShow();
    void ChooseDefaults();
    void LoadReference();
    void ShowFieldsOfView();
    QString FileBaseName() const;
    void CBAnsichtChange();
    void SelectionChange();
    void BtnCSVClick();
    void BtnBildClick();
    void BtnImportClick();
    void ShowTable(const TComparisonTable &table);
    void FitColumns();
    void ApplySplit();
    void LineNew();
    void PaintFigure(QPainter &painter);
    void SetStatus(const QString &text);

    TObserverProfile profile_;
    QDate fixedToday_;
    QString chosenFor_;    // the observer folder the view was first chosen for
    bool showing_ = false; // controls are being set, no drawing yet

    // SILSO's series, read again when their files changed.
    TSilsoDailySeries silso_;
    TSilsoHemSeries hem_;
    QByteArray silsoIdentity_, hemIdentity_;
    bool referenceLoaded_ = false;

    int tablePaneSize_ = 0;   // what the table needs across the splitter
    bool splitMoved_ = false; // by the user, since the view was chosen
    QString csv_;
    TPlot plot_;
    TPlotLayout layout_;
    QPixmap figure_;

    QComboBox *CBAnsicht_ = nullptr;
    QSpinBox *SEJahr_ = nullptr;
    QComboBox *CBMonat_ = nullptr;
    QSpinBox *SEVon_ = nullptr;
    QSpinBox *SEBis_ = nullptr;
    QWidget *FeldJahr_ = nullptr; // the captioned fields, shown by view
    QWidget *FeldMonat_ = nullptr;
    QWidget *FeldVon_ = nullptr;
    QWidget *FeldBis_ = nullptr;
    QLabel *LblErgebnis_ = nullptr;
    QSplitter *Teiler_ = nullptr;
    QTableWidget *SGVergleich_ = nullptr;
    TPaintBox *PBVergleich_ = nullptr;
    QLabel *Stat_ = nullptr;
    TSilsoImportDlg *importDlg_ = nullptr;
};
