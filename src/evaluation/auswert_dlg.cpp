#include "auswert_dlg.h"

#include "paint_box_widget.h"
#include "storage/tarvo_error.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QFileInfo>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace {
constexpr int kValueAxisWidth = 30;
constexpr int kTimeAxisHeight = 30;
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
    BtnSave_ = new QPushButton(QStringLiteral("Bild speichern…"), this);
    BtnSave_->setObjectName(QStringLiteral("BtnSave"));
    BitBtn1_ = new QPushButton(QStringLiteral("Schließen"), this);
    BitBtn1_->setObjectName(QStringLiteral("BitBtn1"));
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

    // Legend grid.
    SAG_ = new QTableWidget(2, 12, this);
    SAG_->setObjectName(QStringLiteral("SAG"));
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
        item->setBackground(QColor(0xE0, 0xE0, 0xE0));
        SAG_->setItem(LegendRow(i), LegendColumn(i), item);
    }

    // The three boxes.
    PB1_ = new TPaintBox(this);
    PB1_->setObjectName(QStringLiteral("PB1"));
    PB2_ = new TPaintBox(this);
    PB2_->setObjectName(QStringLiteral("PB2"));
    PB2_->setFixedWidth(kValueAxisWidth);
    PB4_ = new TPaintBox(this);
    PB4_->setObjectName(QStringLiteral("PB4"));
    PB4_->setFixedHeight(kTimeAxisHeight);
    PB1_->setMinimumSize(200, 120);
    PB1_->onPaint = [this](QPainter &p) { PaintCurves(p, geometry_, shownCurves(), picture().colours); };
    PB2_->onPaint = [this](QPainter &p) {
        PaintValueAxis(p, PB2_->size(), factor_);
        if (markerY_ >= 0) {
            p.setPen(Qt::black);
            p.drawLine(PB2_->width(), markerY_, PB2_->width() - 5, markerY_);
        }
    };
    PB4_->onPaint = [this](QPainter &p) {
        PaintTimeAxis(p, geometry_);
        if (markerX_ >= 0) {
            p.setPen(Qt::black);
            p.drawLine(markerX_ + kValueAxisWidth - 1, 10, markerX_ + kValueAxisWidth - 1, 15);
        }
    };

    Stat_ = new QLabel(this);
    Stat_->setObjectName(QStringLiteral("Stat"));
    Stat_->setFrameShape(QFrame::StyledPanel);

    auto *boxes = new QGridLayout;
    boxes->setSpacing(0);
    boxes->addWidget(PB2_, 0, 0);
    boxes->addWidget(PB1_, 0, 1);
    boxes->addWidget(PB4_, 1, 0, 1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(panel);
    layout->addLayout(makeRow(ToolBarRow1()));
    layout->addLayout(makeRow(ToolBarRow2()));
    layout->addWidget(SAG_);
    layout->addLayout(boxes, 1);
    layout->addWidget(Stat_);
    resize(1000, 700);

    connect(SE1_, &QSpinBox::valueChanged, this, [this] { SE1Change(); });
    connect(SE2_, &QSpinBox::valueChanged, this, [this] { SE2Change(); });
    connect(SE3_, &QSpinBox::valueChanged, this, [this] { SE3Change(); });
    connect(GitterCheck_, &QCheckBox::clicked, this, [this] { GitterCheckClick(); });
    connect(SAG_, &QTableWidget::cellClicked, this, [this](int r, int c) { SAGSelectCell(r, c); });
    connect(PB1_, &TPaintBox::mouseMoved, this, [this](QPoint pos) { PB1MouseMove(pos); });
    connect(PB1_, &TPaintBox::doubleClicked, this, [this] { PB1DblClick(); });
    connect(PB1_, &TPaintBox::resized, this, [this] { RedrawSwallowingErrors(); });
    connect(PB4_, &TPaintBox::resized, this, [this] { RedrawSwallowingErrors(); });
    connect(BtnSave_, &QPushButton::clicked, this, [this] { BtnSaveClick(); });
    connect(BitBtn1_, &QPushButton::clicked, this, &QDialog::accept);
}

int TAuswDlg::showFor(TObserverProfile &profile) {
    profile_ = profile;
    setWindowState(windowState() | Qt::WindowMaximized);
    const int result = exec();
    profile = profile_;
    return result;
}

TCurveSwitches TAuswDlg::shownCurves() const {
    TCurveSwitches shown{};
    for (int c = 0; c < kCurveCount; ++c)
        shown[c] = buttons_[c]->isChecked();
    return shown;
}

TEvalPicture TAuswDlg::picture() const {
    TEvalPicture p;
    p.geometry = &geometry_;
    p.shown = shownCurves();
    for (int c = 0; c < kCurveCount; ++c)
        p.colours[c] = ColourFromFarbe(profile_.Farbe[c]);
    p.curveBox = PB1_->size();
    p.valueAxisWidth = kValueAxisWidth;
    p.timeAxisHeight = kTimeAxisHeight;
    p.factor = factor_;
    p.font = font();
    p.font.setPixelSize(QFontInfo(font()).pixelSize()); // same text size on screen, PNG and PDF
    return p;
}

void TAuswDlg::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    FormShow();
}

void TAuswDlg::FormShow() {
    coloursChanged_ = false;
    drawing_ = false;
    markerX_ = markerY_ = -1;
    today_ = fixedToday_.isValid() ? fixedToday_ : QDate::currentDate();
    showing_ = true;
    SE1_->setValue(today_.year() + 1);
    showing_ = false;
    years_ = SE2_->value();
    endYear_ = SE1_->value();
    factor_ = SE3_->value();
    ColourLegend();
    {
        const QSignalBlocker b0(buttons_[0]), b1(buttons_[1]), b2(buttons_[2]);
        buttons_[0]->setChecked(profile_.Aus.on(CatWolf));
        buttons_[1]->setChecked(profile_.Aus.on(CatNS));
        buttons_[2]->setChecked(profile_.Aus.on(CatNS));
    }
    try {
        Draw();
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

void TAuswDlg::done(int result) {
    FormClose();
    QDialog::done(result);
}

void TAuswDlg::FormClose() {
    geometry_ = TEvalGeometry{};
    if (!coloursChanged_)
        return;
    try {
        SaveProfile(profile_);
        coloursChanged_ = false;
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
    TEvalParams p;
    p.endYear = endYear_;
    p.years = years_;
    p.factor = factor_;
    p.timeAxisWidth = PB4_->width();
    p.valueAxisWidth = kValueAxisWidth;
    p.curveHeight = PB1_->height();
    p.todayYear = today_.year();
    p.todayMonth = today_.month();
    // The points are computed in one go; the status tells the phases apart.
    TEvalGeometry g = ComputeEvaluation(p, ReadArchiveYear);
    SetStatus(QStringLiteral("Zeichnen ..."));
    geometry_ = std::move(g);
    PB4_->update();
    SetStatus(QStringLiteral("Zeichnen fertig ..."));
    PB2_->update(); // Draw2
    LineNew();
}

void TAuswDlg::LineNew() {
    PB1_->update();
}

void TAuswDlg::Loeschen() {
    // The boxes are repainted from the new state; clearing means forgetting the old one.
    geometry_ = TEvalGeometry{};
    PB1_->update();
    PB2_->update();
    PB4_->update();
}

void TAuswDlg::RedrawSwallowingErrors() {
    if (!isVisible() || showing_)
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
    Loeschen();
    RedrawSwallowingErrors();
}

void TAuswDlg::SE2Change() {
    if (SE2_->value() <= 0)
        SE2_->setValue(1);
    if (SE2_->value() > 24)
        setWindowState(windowState() | Qt::WindowMaximized);
    SE1Change();
}

void TAuswDlg::SE3Change() {
    factor_ = std::clamp(SE3_->value(), 1, 4);
    if (!isVisible())
        return;
    Loeschen();
    RedrawSwallowingErrors();
}

void TAuswDlg::GitterCheckClick() {
    SAG_->setVisible(GitterCheck_->isChecked());
    RedrawSwallowingErrors();
}

void TAuswDlg::KurveOnOff() {
    // A released curve disappears with the repaint; curves it crossed are drawn again.
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
    markerX_ = position.x();
    markerY_ = position.y() - 1;
    PB4_->update();
    PB2_->update();
    const QString text = ReadOutText(geometry_, position.x(), today_.year(), today_.month(), shownCurves());
    PB1_->setToolTip(text);
    if (QToolTip::isVisible())
        QToolTip::showText(PB1_->mapToGlobal(position), text, PB1_);
}

void TAuswDlg::PB1DblClick() {
    PB1_->setCursor(PB1_->cursor().shape() == Qt::CrossCursor ? Qt::ArrowCursor : Qt::CrossCursor);
}

void TAuswDlg::SaveImage(const QString &fileName) {
    SavePicture(picture(), fileName);
}

void TAuswDlg::BtnSaveClick() {
    QFileDialog dialog(this, QStringLiteral("Bild speichern"));
    dialog.setObjectName(QStringLiteral("BildSpeichernDlg"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QString pngFilter = QStringLiteral("PNG-Bild (*.png)");
    dialog.setNameFilters({pngFilter, QStringLiteral("PDF-Dokument (*.pdf)")});
    // The dialog adds the suffix before it asks about an existing file.
    dialog.setDefaultSuffix(QStringLiteral("png"));
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, pngFilter](const QString &filter) {
        dialog.setDefaultSuffix(filter == pngFilter ? QStringLiteral("png") : QStringLiteral("pdf"));
    });
    dialog.selectFile(QStringLiteral("auswertung.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString chosen = dialog.selectedFiles().constFirst();
    const QString name = ImageFileName(chosen, dialog.selectedNameFilter() != pngFilter);
    // A name the dialog did not see (another suffix was typed) is asked about here.
    if (name != chosen && QFileInfo::exists(name) &&
        QMessageBox::question(this, QStringLiteral("Bild speichern"),
                              QStringLiteral("%1 ist schon vorhanden.\nSoll die Datei ersetzt werden?").arg(name),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    try {
        SaveImage(name);
        SetStatus(QStringLiteral("Bild gespeichert: %1").arg(name));
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}
