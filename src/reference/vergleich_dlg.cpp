#include "vergleich_dlg.h"

#include "comparison_csv.h"
#include "comparison_plot_ui.h"
#include "evaluation/eval_plot.h"
#include "network/export_target.h"
#include "network/import_rules.h"
#include "plot/paint_box_widget.h"
#include "plot/plot_save_ui.h"
#include "plot/plot_writer.h"
#include "reference_store.h"
#include "silso_import_dlg.h"
#include "storage/file_io.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/save_file_dialog.h"
#include "uikit/widget_names.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {

bool HasObserver() {
    return !Storage().CurrentObserverDir.isEmpty();
}

bool HasYearFile(int year) {
    return QFileInfo::exists(YearFileName(year));
}

QSpinBox *YearBox(const char *name, QWidget *parent) {
    auto *box = Named(new QSpinBox(parent), name);
    box->setRange(1700, 9999);
    box->setKeyboardTracking(false);
    return box;
}

QPushButton *Button(const char *name, const QString &text, QWidget *parent) {
    auto *button = Named(new QPushButton(text, parent), name);
    button->setAutoDefault(false);
    return button;
}

// A caption and its control, shown and hidden together.
QWidget *Field(const QString &caption, QWidget *control, QWidget *parent) {
    auto *field = new QWidget(parent);
    auto *layout = new QHBoxLayout(field);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(BuddyLabel(caption, control, field));
    layout->addWidget(control);
    return field;
}

QString ObserverName(const TObserverProfile &profile) {
    return HasObserver() ? ObserverDisplayName(profile) : QString();
}

} // namespace

TVergleichDlg::TVergleichDlg(QWidget *parent) : QDialog(parent), profile_(EmptyProfile()) {
    setObjectName(QStringLiteral("TVergleichDlg"));
    setWindowTitle(QStringLiteral("Vergleich mit SILSO"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    CBAnsicht_ = Named(new QComboBox(this), "CBAnsicht");
    CBAnsicht_->addItems({QStringLiteral("Monat – Tag für Tag"), QStringLiteral("Jahr – Monat für Monat"),
                          QStringLiteral("Zeitraum – mehrere Jahre")});
    CBAnsicht_->setCurrentIndex(static_cast<int>(View::Year));
    SEJahr_ = YearBox("SEJahr", this);
    CBMonat_ = Named(new QComboBox(this), "CBMonat");
    const QLocale german(QLocale::German);
    for (int month = 1; month <= 12; ++month)
        CBMonat_->addItem(german.standaloneMonthName(month));
    SEVon_ = YearBox("SEVon", this);
    SEBis_ = YearBox("SEBis", this);

    auto *choice = new QHBoxLayout;
    choice->addWidget(Field(QStringLiteral("&Ansicht:"), CBAnsicht_, this));
    choice->addSpacing(12);
    choice->addWidget(FeldJahr_ = Field(QStringLiteral("&Jahr:"), SEJahr_, this));
    choice->addWidget(FeldMonat_ = Field(QStringLiteral("&Monat:"), CBMonat_, this));
    choice->addWidget(FeldVon_ = Field(QStringLiteral("&von:"), SEVon_, this));
    choice->addWidget(FeldBis_ = Field(QStringLiteral("&bis:"), SEBis_, this));
    choice->addStretch();

    LblErgebnis_ = Named(new QLabel(this), "LblErgebnis");
    LblErgebnis_->setWordWrap(true);
    LblErgebnis_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = LblErgebnis_->font();
    bold.setBold(true);
    LblErgebnis_->setFont(bold);

    // The table with SILSO's source line under it, and the figure.
    auto *tablePane = new QWidget(this);
    SGVergleich_ = Named(new QTableWidget(tablePane), "SGVergleich");
    SGVergleich_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SGVergleich_->setSelectionBehavior(QAbstractItemView::SelectRows);
    SGVergleich_->setAlternatingRowColors(true);
    SGVergleich_->verticalHeader()->hide();
    SGVergleich_->verticalHeader()->setDefaultSectionSize(SGVergleich_->fontMetrics().height() + 6);
    SGVergleich_->setWordWrap(false);
    auto *source = Named(new QLabel(SilsoAttribution(), tablePane), "LblQuelle");
    source->setWordWrap(true);
    QFont small = source->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    source->setFont(small);
    auto *tableLayout = new QVBoxLayout(tablePane);
    tableLayout->setContentsMargins(0, 0, 0, 0);
    tableLayout->addWidget(SGVergleich_, 1);
    tableLayout->addWidget(source);

    PBVergleich_ = Named(new TPaintBox(this), "PBVergleich");
    PBVergleich_->setMinimumSize(360, 240);
    PBVergleich_->onPaint = [this](QPainter &p) { PaintFigure(p); };

    Teiler_ = Named(new QSplitter(this), "Teiler");
    Teiler_->addWidget(tablePane);
    Teiler_->addWidget(PBVergleich_);
    Teiler_->setChildrenCollapsible(false);
    // Room the window gains goes to the figure, whichever way the two lie.
    QSizePolicy figurePolicy = PBVergleich_->sizePolicy();
    figurePolicy.setHorizontalStretch(1);
    figurePolicy.setVerticalStretch(1);
    PBVergleich_->setSizePolicy(figurePolicy);
    // The table keeps its size when the window changes, and its columns
    // share its width.
    Teiler_->installEventFilter(this);
    SGVergleich_->viewport()->installEventFilter(this);
    connect(Teiler_, &QSplitter::splitterMoved, this, [this] { splitMoved_ = true; });

    Stat_ = Named(new QLabel(this), "Stat");
    Stat_->setWordWrap(true);

    QPushButton *import = Button("BtnImport", QStringLiteral("SILSO-Daten &importieren…"), this);
    import->setToolTip(
        QStringLiteral("SILSOs Tageszahlen (SN_d_tot_V2.0.csv) in die Referenzdaten übernehmen"));
    QPushButton *csv = Button("BtnCSV", QStringLiteral("&Tabelle speichern…"), this);
    csv->setToolTip(QStringLiteral("Die Tabelle als CSV-Datei speichern"));
    QPushButton *picture = Button("BtnBild", QStringLiteral("Bild &speichern…"), this);
    picture->setToolTip(QStringLiteral("Das Bild als PNG oder PDF speichern"));
    QPushButton *help = Button("BtnHelp", QStringLiteral("&Hilfe"), this);
    QPushButton *close = Button("BtnClose", QStringLiteral("Schließen"), this);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(import);
    buttons->addStretch();
    buttons->addWidget(csv);
    buttons->addWidget(picture);
    buttons->addSpacing(12);
    buttons->addWidget(help);
    buttons->addWidget(close);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(LblErgebnis_);
    layout->addWidget(Teiler_, 1);
    layout->addWidget(Stat_);
    layout->addLayout(buttons);
    resize(1000, 700);

    connect(CBAnsicht_, &QComboBox::currentIndexChanged, this, [this] { CBAnsichtChange(); });
    for (QSpinBox *box : {SEJahr_, SEVon_, SEBis_})
        connect(box, &QSpinBox::valueChanged, this, [this] { SelectionChange(); });
    connect(CBMonat_, &QComboBox::currentIndexChanged, this, [this] { SelectionChange(); });
    connect(PBVergleich_, &TPaintBox::resized, this, [this] {
        if (isVisible() && !showing_)
            LineNew();
    });
    connect(import, &QPushButton::clicked, this, [this] { BtnImportClick(); });
    connect(csv, &QPushButton::clicked, this, [this] { BtnCSVClick(); });
    connect(picture, &QPushButton::clicked, this, [this] { BtnBildClick(); });
    connect(help, &QPushButton::clicked, this, [this] { ShowHelp(this, HelpTopic::SilsoComparison); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    InstallHelpKey(this, HelpTopic::SilsoComparison);
    ShowFieldsOfView();
}

int TVergleichDlg::showFor(const TObserverProfile &profile) {
    profile_ = profile;
    setWindowState(windowState() | Qt::WindowMaximized);
    return exec();
}

TVergleichDlg::View TVergleichDlg::view() const {
    return static_cast<View>(CBAnsicht_->currentIndex());
}

QSize TVergleichDlg::figureSize() const {
    return PBVergleich_->size();
}

QString TVergleichDlg::tableCsv() const {
    return csv_.isEmpty() ? QString() : CsvWithSourceLine(csv_, SilsoAttribution());
}

void TVergleichDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TVergleichDlg::done(int result) {
    figure_ = QPixmap();
    QDialog::done(result);
}

void TVergleichDlg::SetStatus(const QString &text) {
    Stat_->setText(text);
}

void TVergleichDlg::FormShow() {
    if (!HasObserver()) {
        csv_.clear();
        plot_ = TPlot{};
        ShowTable(TComparisonTable{});
        LblErgebnis_->clear();
        LineNew();
        SetStatus(QStringLiteral("Es ist kein Beobachter eingerichtet"));
        return;
    }
    try {
        LoadReference();
        if (chosenFor_ != Storage().CurrentObserverDir)
            ChooseDefaults();
        Draw();
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

// SILSO's series are read once and again only when a file changed.
void TVergleichDlg::LoadReference() {
    const QByteArray silsoIdentity = FileIdentity(SilsoDailyStorePath());
    const QByteArray hemIdentity = FileIdentity(SilsoHemStorePath());
    if (referenceLoaded_ && silsoIdentity == silsoIdentity_ && hemIdentity == hemIdentity_)
        return;
    referenceLoaded_ = false;
    silso_ = LoadSilsoDaily();
    hem_ = LoadSilsoHem();
    silsoIdentity_ = silsoIdentity;
    hemIdentity_ = hemIdentity;
    referenceLoaded_ = true;
}

// The latest year with own observations and SILSO's numbers, its last month
// with common days, and the ten years before it.
void TVergleichDlg::ChooseDefaults() {
    const QDate today = fixedToday_.isValid() ? fixedToday_ : QDate::currentDate();
    const int year = DefaultComparisonYear(silso_, today.year(), HasYearFile);
    auto own = std::make_unique<TYearBuffer>();
    ReadYear(year, *own);
    const TYearComparison compared = CompareYear(*own, year, silso_, hem_);
    int month = year == today.year() ? today.month() : 12;
    for (int m = 12; m >= 1; --m)
        if (compared.months[m - 1].stats.days > 0) {
            month = m;
            break;
        }
    showing_ = true;
    SEJahr_->setValue(year);
    CBMonat_->setCurrentIndex(month - 1);
    SEBis_->setValue(year);
    SEVon_->setValue(DefaultSpanFirstYear(year, HasYearFile));
    showing_ = false;
    chosenFor_ = Storage().CurrentObserverDir;
}

void TVergleichDlg::ShowFieldsOfView() {
    const View v = view();
    FeldJahr_->setVisible(v != View::Span);
    FeldMonat_->setVisible(v == View::Month);
    FeldVon_->setVisible(v == View::Span);
    FeldBis_->setVisible(v == View::Span);
}

void TVergleichDlg::CBAnsichtChange() {
    ShowFieldsOfView();
    SelectionChange();
}

void TVergleichDlg::SelectionChange() {
    if (showing_ || !isVisible() || !HasObserver())
        return;
    try {
        Draw();
    } catch (const TarvoError &e) {
        SetStatus(e.message());
    }
}

void TVergleichDlg::Draw() {
    LoadReference();
    const QString observer = ObserverName(profile_);
    const QLocale locale;
    const bool span = view() == View::Span;
    const int first = span ? std::min(SEVon_->value(), SEBis_->value()) : SEJahr_->value();
    const int last = span ? std::max(SEVon_->value(), SEBis_->value()) : SEJahr_->value();
    TComparisonTable table;
    if (span) {
        const TSpanComparison compared = CompareSpan(first, last, ReadYear, silso_);
        csv_ = SpanComparisonCsv(compared);
        plot_ = SpanComparisonPlot(compared, observer);
        table = SpanTable(compared, locale);
    } else {
        auto own = std::make_unique<TYearBuffer>();
        ReadYear(first, *own);
        if (view() == View::Month) {
            const TMonthComparison m = CompareMonth(*own, first, CBMonat_->currentIndex() + 1, silso_, hem_);
            csv_ = MonthComparisonCsv(m);
            plot_ = MonthComparisonPlot(m, observer);
            table = MonthTable(m, locale);
        } else {
            const TYearComparison y = CompareYear(*own, first, silso_, hem_);
            csv_ = YearComparisonCsv(y);
            plot_ = YearComparisonPlot(y, observer);
            table = YearTable(y, locale);
        }
    }
    bool silsoThere = false;
    for (int year = first; year <= last && !silsoThere; ++year)
        silsoThere = HasSilsoValuesInYear(silso_, year);
    ShowTable(table);
    LblErgebnis_->setText(table.summary);
    SetStatus(silsoThere ? QString() : NoSilsoYearMessage(YearSpanText(first, last)));
    LineNew();
}

void TVergleichDlg::ShowTable(const TComparisonTable &table) {
    SGVergleich_->setUpdatesEnabled(false);
    SGVergleich_->clear();
    SGVergleich_->setColumnCount(static_cast<int>(table.headers.size()));
    SGVergleich_->setRowCount(static_cast<int>(table.rows.size()));
    for (int c = 0; c < table.headers.size(); ++c) {
        auto *header = new QTableWidgetItem(table.headers[c]);
        header->setToolTip(table.headerTips.value(c));
        SGVergleich_->setHorizontalHeaderItem(c, header);
    }
    QFont bold = SGVergleich_->font();
    bold.setBold(true);
    for (int r = 0; r < table.rows.size(); ++r)
        for (int c = 0; c < table.rows[r].size(); ++c) {
            auto *item = new QTableWidgetItem(table.rows[r][c]);
            item->setTextAlignment(c == 0 ? Qt::AlignLeft | Qt::AlignVCenter
                                          : Qt::AlignRight | Qt::AlignVCenter);
            if (table.totalRow.value(r))
                item->setFont(bold);
            SGVergleich_->setItem(r, c, item);
        }
    SGVergleich_->resizeColumnsToContents();

    // A long table beside the figure, the year's short and wide one under it.
    QWidget *tablePane = SGVergleich_->parentWidget();
    if (view() == View::Year) {
        Teiler_->setOrientation(Qt::Vertical);
        Teiler_->insertWidget(0, PBVergleich_);
        const QWidget *source = tablePane->layout()->itemAt(1)->widget();
        tablePaneSize_ = SGVergleich_->horizontalHeader()->height() +
                         SGVergleich_->verticalHeader()->length() + 2 * SGVergleich_->frameWidth() + 2 +
                         tablePane->layout()->spacing() +
                         std::max(source->heightForWidth(Teiler_->width()), source->fontMetrics().height());
    } else {
        Teiler_->setOrientation(Qt::Horizontal);
        Teiler_->insertWidget(0, tablePane);
        tablePaneSize_ = SGVergleich_->horizontalHeader()->length() + 2 * SGVergleich_->frameWidth() +
                         SGVergleich_->verticalScrollBar()->sizeHint().width() + 2;
    }
    splitMoved_ = false;
    ApplySplit();
    FitColumns();
    SGVergleich_->setUpdatesEnabled(true);
}

// Columns as wide as their contents; room left over is shared out evenly,
// a little for each, so that a wide table does not end in a blank strip.
void TVergleichDlg::FitColumns() {
    SGVergleich_->resizeColumnsToContents();
    const int columns = SGVergleich_->columnCount();
    const int room = SGVergleich_->viewport()->width() - SGVergleich_->horizontalHeader()->length();
    if (columns == 0 || room <= 0)
        return;
    const int extra = std::min(room / columns, 48);
    for (int c = 0; c < columns; ++c)
        SGVergleich_->setColumnWidth(c, SGVergleich_->columnWidth(c) + extra);
}

// The table as large as it needs (the year's under the figure, at most all
// but the figure's smallest height; a long one beside it, at most half the
// width), unless the user moved the splitter since the view was chosen.
void TVergleichDlg::ApplySplit() {
    if (splitMoved_)
        return;
    const bool under = Teiler_->orientation() == Qt::Vertical;
    const int total = under ? Teiler_->height() : Teiler_->width();
    const int figureLeast = under ? PBVergleich_->minimumHeight() : total / 2;
    const int pane = std::max(0, std::min(tablePaneSize_, total - Teiler_->handleWidth() - figureLeast));
    const int figure = total - Teiler_->handleWidth() - pane;
    const QSignalBlocker block(Teiler_);
    Teiler_->setSizes(under ? QList<int>{figure, pane} : QList<int>{pane, figure});
}

bool TVergleichDlg::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::Resize) {
        if (watched == Teiler_)
            ApplySplit();
        else if (watched == SGVergleich_->viewport())
            FitColumns();
    }
    return QDialog::eventFilter(watched, event);
}

// The figure is painted once into a pixmap; repaints only copy it.
void TVergleichDlg::LineNew() {
    layout_ = LayoutPlot(plot_, QSizeF(PBVergleich_->size()));
    figure_ = RenderPlotPixmap(plot_, layout_, PBVergleich_->devicePixelRatioF());
    PBVergleich_->update();
}

void TVergleichDlg::PaintFigure(QPainter &painter) {
    if (!figure_.isNull())
        painter.drawPixmap(0, 0, figure_);
}

QString TVergleichDlg::FileBaseName() const {
    switch (view()) {
    case View::Month:
        return QStringLiteral("vergleich-silso-%1-%2")
            .arg(SEJahr_->value())
            .arg(CBMonat_->currentIndex() + 1, 2, 10, QLatin1Char('0'));
    case View::Year:
        return QStringLiteral("vergleich-silso-%1").arg(SEJahr_->value());
    case View::Span:
        break;
    }
    return QStringLiteral("vergleich-silso-%1-%2")
        .arg(std::min(SEVon_->value(), SEBis_->value()))
        .arg(std::max(SEVon_->value(), SEBis_->value()));
}

void TVergleichDlg::SaveTable(const QString &fileName) {
    const QString problem = ExportTargetProblem(fileName);
    if (!problem.isEmpty())
        throw TarvoError(problem);
    WriteFileAtomically(fileName, tableCsv().toUtf8());
}

void TVergleichDlg::SaveImage(const QString &fileName, int scale) {
    WritePlotFile(plot_, fileName, figureSize(), std::clamp(scale, 1, 3));
}

void TVergleichDlg::BtnCSVClick() {
    if (csv_.isEmpty())
        return;
    const QString name = AskSaveFileName(this, QStringLiteral("Tabelle speichern"), "TabelleSpeichernDlg",
                                         {QStringLiteral("CSV-Datei (*.csv)"), QStringLiteral("Alle Dateien (*)")},
                                         QStringLiteral("csv"), FileBaseName() + QStringLiteral(".csv"));
    if (name.isEmpty())
        return;
    try {
        SaveTable(name);
        SetStatus(QStringLiteral("Tabelle gespeichert: %1").arg(QDir::toNativeSeparators(name)));
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

void TVergleichDlg::BtnBildClick() {
    try {
        const QString name =
            SavePlotImageAs(this, plot_, figureSize(), FileBaseName() + QStringLiteral(".png"));
        if (!name.isEmpty())
            SetStatus(QStringLiteral("Bild gespeichert: %1").arg(QDir::toNativeSeparators(name)));
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

void TVergleichDlg::BtnImportClick() {
    if (!importDlg_)
        importDlg_ = new TSilsoImportDlg(this, TSilsoSeries::Daily);
    importDlg_->exec();
    // Whatever was imported, a year without data may have got some.
    FormShow();
}
