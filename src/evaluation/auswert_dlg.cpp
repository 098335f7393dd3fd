#include "auswert_dlg.h"

#include "plot/paint_box_widget.h"
#include "plot/plot_save_ui.h"
#include "plot/plot_writer.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr int kCellWidth = 63;
constexpr int kCellHeight = 15;

QSpinBox *SpinBox(const char *name, int min, int max, int value, QWidget *parent) {
    auto *box = new QSpinBox(parent);
    box->setObjectName(QLatin1String(name));
    box->setRange(min, max);
    box->setValue(value);
    box->setKeyboardTracking(false);
    return box;
}

QPushButton *Button(const char *name, const QString &text, QWidget *parent) {
    auto *button = new QPushButton(text, parent);
    button->setObjectName(QLatin1String(name));
    button->setAutoDefault(false);
    return button;
}

// The read-out as a small table: a colour swatch, the label and the value.
QString RichReadOut(const TReadOut &readOut, const TCurveColours &colours) {
    QString html =
        QStringLiteral("<b>%1</b>")
            .arg(readOut.heading.toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")));
    if (readOut.lines.isEmpty())
        return html;
    html += QStringLiteral("<table cellspacing='0' cellpadding='1'>");
    for (const TReadOutLine &line : readOut.lines)
        html +=
            QStringLiteral("<tr><td><span style='background-color:%1'>&nbsp;&nbsp;&nbsp;</span>&nbsp;%2</td>"
                           "<td align='right'>&nbsp;%3</td></tr>")
                .arg(colours[line.curve].name(), line.label.toHtmlEscaped(),
                     line.hasData ? line.value : QStringLiteral("<i>%1</i>").arg(line.value));
    return html + QStringLiteral("</table>");
}

bool HasObserver() {
    return !Storage().CurrentObserverDir.isEmpty();
}

} // namespace

TAuswDlg::TAuswDlg(QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TAuswDlg"));
    setWindowTitle(QStringLiteral("Graphische Auswertung"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    // Settings panel.
    auto *panel = new QHBoxLayout;
    SE1_ = SpinBox("SE1", 1700, 9999, QDate::currentDate().year() + 1, this);
    SE2_ = SpinBox("SE2", 1, 80, 15, this);
    SE3_ = SpinBox("SE3", 1, 4, 1, this);
    GitterCheck_ = new QCheckBox(QStringLiteral("Gitter"), this);
    GitterCheck_->setObjectName(QStringLiteral("GitterCheck"));
    GitterCheck_->setChecked(true);
    BtnSave_ = Button("BtnSave", QStringLiteral("Bild &speichern…"), this);
    BtnCopy_ = Button("BtnCopy", QStringLiteral("&Kopieren"), this);
    BtnCopy_->setToolTip(QStringLiteral("Das Bild in die Zwischenablage kopieren"));
    BitBtn1_ = Button("BitBtn1", QStringLiteral("Schließen"), this);
    panel->addWidget(BuddyLabel(QStringLiteral("Endjahr :"), SE1_, this));
    panel->addWidget(SE1_);
    panel->addSpacing(12);
    panel->addWidget(BuddyLabel(QStringLiteral("Zyklus :"), SE2_, this));
    panel->addWidget(SE2_);
    panel->addSpacing(12);
    panel->addWidget(GitterCheck_);
    panel->addSpacing(12);
    panel->addWidget(BuddyLabel(QStringLiteral("Faktor :"), SE3_, this));
    panel->addWidget(SE3_);
    panel->addStretch();
    panel->addWidget(BtnSave_);
    panel->addWidget(BtnCopy_);
    panel->addWidget(BitBtn1_);

    // Two rows of curve buttons.
    const auto makeRow = [this](const auto &indexes) {
        auto *row = new QHBoxLayout;
        row->setSpacing(0);
        for (int c : indexes) {
            auto *b = new QToolButton(this);
            b->setObjectName(QLatin1String(Curves()[c].button));
            b->setText(QString::fromUtf8(Curves()[c].caption));
            b->setCheckable(true);
            b->setFixedWidth(kCellWidth);
            b->setProperty("Tag", Curves()[c].tag);
            connect(b, &QToolButton::toggled, this, [this] { KurveOnOff(); });
            buttons_[c] = b;
            row->addWidget(b);
        }
        row->addStretch();
        return row;
    };

    // Legend grid: the curves' names in their colours; a click chooses a colour.
    SAG_ = new QTableWidget(2, 12, this);
    SAG_->setObjectName(QStringLiteral("SAG"));
    SAG_->setToolTip(QStringLiteral("Klicken Sie auf einen Namen, um die Farbe seiner Kurve zu wählen"));
    SAG_->horizontalHeader()->hide();
    SAG_->verticalHeader()->hide();
    SAG_->horizontalHeader()->setDefaultSectionSize(kCellWidth);
    SAG_->horizontalHeader()->setMinimumSectionSize(1);
    SAG_->verticalHeader()->setMinimumSectionSize(1);
    SAG_->verticalHeader()->setDefaultSectionSize(kCellHeight);
    SAG_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    SAG_->setSelectionMode(QAbstractItemView::NoSelection);
    SAG_->setFocusPolicy(Qt::NoFocus);
    SAG_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SAG_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    SAG_->setFixedSize(12 * kCellWidth + 2 * SAG_->frameWidth(), 2 * kCellHeight + 2 * SAG_->frameWidth());
    QFont small = SAG_->font();
    small.setPixelSize(10);
    SAG_->setFont(small);
    SAG_->setTextElideMode(Qt::ElideNone);
    SAG_->setWordWrap(false);
    for (int i = 0; i < kCurveCount; ++i) {
        auto *item = new QTableWidgetItem(QString::fromUtf8(Curves()[i].legendText));
        item->setBackground(QColor(0xF2, 0xF2, 0xF2));
        SAG_->setItem(LegendRow(i), LegendColumn(i), item);
    }

    // The figure: title, legend, axes and curves.
    PB1_ = new TPaintBox(this);
    PB1_->setObjectName(QStringLiteral("PB1"));
    PB1_->setMinimumSize(400, 240);
    PB1_->onPaint = [this](QPainter &p) { PaintFigure(p); };

    Stat_ = new QLabel(this);
    Stat_->setObjectName(QStringLiteral("Stat"));
    Stat_->setFrameShape(QFrame::StyledPanel);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panel);
    layout->addLayout(makeRow(ToolBarRow1()));
    layout->addLayout(makeRow(ToolBarRow2()));
    layout->addWidget(SAG_);
    layout->addWidget(PB1_, 1);
    layout->addWidget(Stat_);
    resize(1000, 700);

    connect(SE1_, &QSpinBox::valueChanged, this, [this] { SE1Change(); });
    connect(SE2_, &QSpinBox::valueChanged, this, [this] { SE2Change(); });
    connect(SE3_, &QSpinBox::valueChanged, this, [this] { SE3Change(); });
    connect(GitterCheck_, &QCheckBox::clicked, this, [this] { GitterCheckClick(); });
    connect(SAG_, &QTableWidget::cellClicked, this, [this](int r, int c) { SAGSelectCell(r, c); });
    connect(PB1_, &TPaintBox::mouseMoved, this, [this](QPoint pos) { PB1MouseMove(pos); });
    connect(PB1_, &TPaintBox::mouseLeft, this, [this] { PB1MouseLeave(); });
    connect(PB1_, &TPaintBox::doubleClicked, this, [this] { PB1DblClick(); });
    connect(PB1_, &TPaintBox::resized, this, [this] {
        if (isVisible() && !showing_)
            LineNew();
    });
    connect(BtnSave_, &QPushButton::clicked, this, [this] { BtnSaveClick(); });
    connect(BtnCopy_, &QPushButton::clicked, this, [this] { CopyImage(); });
    connect(BitBtn1_, &QPushButton::clicked, this, &QDialog::accept);
    InstallHelpKey(this, HelpTopic::Evaluation);
}

int TAuswDlg::showFor(TObserverProfile &profile) {
    profile_ = profile;
    setWindowState(windowState() | Qt::WindowMaximized);
    const int result = exec();
    profile = profile_;
    return result;
}

QSize TAuswDlg::figureSize() const {
    return PB1_->size();
}

TCurveSwitches TAuswDlg::shownCurves() const {
    TCurveSwitches shown{};
    for (int c = 0; c < kCurveCount; ++c)
        shown[c] = buttons_[c]->isChecked();
    return shown;
}

void TAuswDlg::SetCurves(const TCurveSwitches &shown) {
    for (int c = 0; c < kCurveCount; ++c) {
        const QSignalBlocker block(buttons_[c]);
        buttons_[c]->setChecked(shown[c]);
    }
}

void TAuswDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TAuswDlg::FormShow() {
    coloursChanged_ = false;
    drawing_ = false;
    markedPoint_ = -1;
    today_ = fixedToday_.isValid() ? fixedToday_ : QDate::currentDate();
    // An observer who never chose colours sees the default ones; they are
    // written when a colour is chosen or the dialog is closed with OK.
    paletteApplied_ = ApplyDefaultCurveColours(profile_);
    showing_ = true;
    RestoreView();
    showing_ = false;
    years_ = SE2_->value();
    endYear_ = SE1_->value();
    factor_ = SE3_->value();
    ColourLegend();
    if (!HasObserver()) {
        // Nothing to read, and no folder to keep the view in.
        data_ = TEvalData{};
        LineNew();
        SetStatus(QStringLiteral("Es ist kein Beobachter eingerichtet"));
        return;
    }
    try {
        Draw();
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

// The observer's remembered view; without one the span of the own data and
// the usual curves (Re only when the observer reports Wolf numbers).
void TAuswDlg::RestoreView() {
    TEvaluationView view;
    try {
        if (HasObserver())
            view = LoadEvaluationView();
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
    if (view.stored) {
        SE1_->setValue(view.endYear);
        SE2_->setValue(view.years);
        SetCurves(CurvesFromNames(view.curves));
        GitterCheck_->setChecked(view.legendGrid);
    } else {
        const QList<int> years = HasObserver() ? YearsWithOwnData(ReadArchiveYear) : QList<int>();
        const TEvalSpan span = DefaultEvalSpan(years, today_.year());
        SE1_->setValue(span.endYear);
        SE2_->setValue(span.years);
        TCurveSwitches shown = DefaultCurves();
        shown[0] = profile_.Aus.on(CatWolf);
        SetCurves(shown);
    }
    SAG_->setVisible(GitterCheck_->isChecked());
    viewAtOpen_ = CurrentView();
    viewAtOpen_.stored = view.stored;
}

TEvaluationView TAuswDlg::CurrentView() const {
    TEvaluationView view;
    view.stored = true;
    view.endYear = SE1_->value();
    view.years = SE2_->value();
    view.curves = CurveNames(shownCurves());
    view.legendGrid = GitterCheck_->isChecked();
    return view;
}

void TAuswDlg::done(int result) {
    FormClose(result);
    QDialog::done(result);
}

void TAuswDlg::FormClose(int result) {
    data_ = TEvalData{};
    figure_ = QPixmap();
    if (!HasObserver())
        return;
    try {
        TEvaluationView view = CurrentView();
        view.stored = viewAtOpen_.stored;
        if (!(view == viewAtOpen_))
            SaveEvaluationView(view);
        if (coloursChanged_ || (paletteApplied_ && result == QDialog::Accepted)) {
            SaveProfile(profile_);
            coloursChanged_ = false;
        }
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

void TAuswDlg::SetStatus(const QString &text) {
    Stat_->setText(text);
}

void TAuswDlg::Draw() {
    if (drawing_)
        return;
    drawing_ = true;
    struct Done {
        bool &flag;
        ~Done() { flag = false; }
    } done{drawing_};
    SetStatus(QStringLiteral("Rechnen ..."));
    TEvalRange range;
    range.endYear = endYear_;
    range.years = years_;
    range.todayYear = today_.year();
    range.todayMonth = today_.month();
    data_ = ComputeEvalData(range, ReadArchiveYear);
    SetStatus(QStringLiteral("Zeichnen ..."));
    LineNew();
    SetStatus(QStringLiteral("Zeichnen fertig ..."));
}

// Builds the figure from the values at hand (no archive access) and paints it
// once into a pixmap, so that the mouse marker costs only a copy.
void TAuswDlg::LineNew() {
    TEvalFigure figure;
    figure.shown = shownCurves();
    figure.colours = CurveColours(profile_);
    figure.observerName = ObserverDisplayName(profile_);
    figure.factor = factor_;
    plot_ = EvaluationPlot(data_, figure);
    layout_ = LayoutPlot(plot_, QSizeF(PB1_->size()));
    figure_ = RenderPlotPixmap(plot_, layout_, PB1_->devicePixelRatioF());
    PB1_->update();
}

void TAuswDlg::PaintFigure(QPainter &painter) {
    if (figure_.isNull())
        return;
    painter.drawPixmap(0, 0, figure_);
    if (markedPoint_ < 0 || markedPoint_ >= data_.pointCount())
        return;
    // The marker: a line through the month and a dot on every curve drawn there.
    const QRectF &r = layout_.plotRect;
    const double x = layout_.toPixel({data_.timeOfPoint(markedPoint_), 0}).x();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(0x70, 0x70, 0x70), 1, Qt::DashLine));
    painter.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
    painter.setClipRect(r);
    for (const TPlotSeries &s : plot_.series) {
        const QPointF value = s.points.value(markedPoint_);
        if (!std::isfinite(value.y()))
            continue;
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(s.colour);
        painter.drawEllipse(layout_.toPixel(value), 4, 4);
    }
}

void TAuswDlg::RedrawSwallowingErrors() {
    if (!isVisible() || showing_ || !HasObserver())
        return;
    try {
        Draw();
    } catch (const TarvoError &e) {
        SetStatus(e.message());
    }
}

void TAuswDlg::SE1Change() {
    if (showing_ || !isVisible())
        return;
    years_ = SE2_->value();
    endYear_ = SE1_->value();
    RedrawSwallowingErrors();
}

void TAuswDlg::SE2Change() {
    if (SE2_->value() <= 0)
        SE2_->setValue(1);
    if (SE2_->value() > 24 && isVisible())
        setWindowState(windowState() | Qt::WindowMaximized);
    SE1Change();
}

void TAuswDlg::SE3Change() {
    factor_ = std::clamp(SE3_->value(), 1, 4);
    if (isVisible() && !showing_)
        LineNew();
}

void TAuswDlg::GitterCheckClick() {
    SAG_->setVisible(GitterCheck_->isChecked());
}

void TAuswDlg::KurveOnOff() {
    // The figure is made anew: legend and value axis follow the curves shown.
    if (isVisible() && !showing_)
        LineNew();
}

void TAuswDlg::ColourLegend() {
    for (int i = 0; i < kCurveCount; ++i) {
        const QColor colour = ColourFromFarbe(profile_.Farbe[i]);
        SAG_->item(LegendRow(i), LegendColumn(i))->setForeground(colour);
    }
}

void TAuswDlg::SAGSelectCell(int row, int column) {
    const int index = LegendIndex(column, row);
    if (index < 0 || index >= kCurveCount)
        return;
    QColorDialog dialog(ColourFromFarbe(profile_.Farbe[index]), this);
    dialog.setObjectName(QStringLiteral("ColorDialog"));
    dialog.setOption(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() == QDialog::Accepted && dialog.selectedColor().isValid())
        profile_.Farbe[index] = FarbeFromColour(dialog.selectedColor());
    coloursChanged_ = true;
    ColourLegend();
    LineNew();
}

void TAuswDlg::PB1MouseMove(QPoint position) {
    const QRectF &r = layout_.plotRect;
    const bool inside = position.x() >= r.left() && position.x() <= r.right() && position.y() >= r.top() &&
                        position.y() <= r.bottom();
    const int k = data_.pointAtTime(layout_.xAt(position.x()));
    const TReadOut readOut =
        inside ? ReadOutAt(data_, k, shownCurves(), today_.year(), today_.month()) : TReadOut{};
    const int marked = readOut.lines.isEmpty() && readOut.heading.isEmpty() ? -1 : k;
    if (marked != markedPoint_) {
        markedPoint_ = marked;
        PB1_->update();
    }
    if (readOut.heading.isEmpty()) {
        PB1_->setToolTip(QString());
        PB1_->setRichToolTip(QString());
        QToolTip::hideText();
        return;
    }
    const QString rich = RichReadOut(readOut, CurveColours(profile_));
    PB1_->setToolTip(readOut.text());
    PB1_->setRichToolTip(rich);
    // Next to the mouse, a little below and to the right of the pointer.
    QToolTip::showText(PB1_->mapToGlobal(position + QPoint(16, 16)), rich, PB1_);
}

void TAuswDlg::PB1MouseLeave() {
    if (markedPoint_ >= 0) {
        markedPoint_ = -1;
        PB1_->update();
    }
}

void TAuswDlg::PB1DblClick() {
    PB1_->setCursor(PB1_->cursor().shape() == Qt::CrossCursor ? Qt::ArrowCursor : Qt::CrossCursor);
}

void TAuswDlg::SaveImage(const QString &fileName, int scale) {
    WritePlotFile(plot_, fileName, figureSize(), std::clamp(scale, 1, 3));
}

void TAuswDlg::CopyImage() {
    QApplication::clipboard()->setImage(RenderPlotImage(plot_, figureSize(), PB1_->devicePixelRatioF()));
    SetStatus(QStringLiteral("Bild in die Zwischenablage kopiert"));
}

void TAuswDlg::BtnSaveClick() {
    try {
        const QString name = SavePlotImageAs(this, plot_, figureSize(), QStringLiteral("auswertung.png"));
        if (!name.isEmpty())
            SetStatus(QStringLiteral("Bild gespeichert: %1").arg(name));
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}
