#include "tab_dlg.h"

#include "storage/storage_state.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/widget_names.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QToolButton>
#include <QVBoxLayout>

TTabDlg::TTabDlg(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Spalteneinstellung"));
    setObjectName(QStringLiteral("TTabDlg"));

    LBAus = Named(new QListWidget, "LBAus");
    LBVerf = Named(new QListWidget, "LBVerf");
    SBAdd = Named(new QToolButton, "SBAdd");
    SBAdd->setText(QStringLiteral(">"));
    SBAddAll = Named(new QToolButton, "SBAddAll");
    SBAddAll->setText(QStringLiteral(">>"));
    SBDel = Named(new QToolButton, "SBDel");
    SBDel->setText(QStringLiteral("<"));
    SBDelAll = Named(new QToolButton, "SBDelAll");
    SBDelAll->setText(QStringLiteral("<<"));
    SE = Named(new QSpinBox, "SE");
    SE->setRange(1, 200);
    BtnOben = Named(new QPushButton(QStringLiteral("&nach oben")), "BtnOben");
    BtnUnten = Named(new QPushButton(QStringLiteral("nach &unten")), "BtnUnten");
    BtnOK = Named(new QPushButton(QStringLiteral("&OK")), "BtnOK");
    BtnCancel = Named(new QPushButton(QStringLiteral("A&bbrechen")), "BtnCancel");
    // Enter confirms the dialog; it must never move a column.
    for (QPushButton *b : {BtnOben, BtnUnten, BtnCancel})
        b->setAutoDefault(false);
    BtnOK->setDefault(true);

    auto *ausLabel = new QLabel(QStringLiteral("&ausgewählt:"));
    ausLabel->setBuddy(LBAus);
    auto *verfLabel = new QLabel(QStringLiteral("&verfügbar:"));
    verfLabel->setBuddy(LBVerf);
    auto *seLabel = new QLabel(QStringLiteral("&Spaltenbreite:"));
    seLabel->setBuddy(SE);

    auto *arrows = new QVBoxLayout;
    arrows->addStretch();
    for (QToolButton *b : {SBAdd, SBAddAll, SBDel, SBDelAll}) {
        b->setFixedWidth(32);
        arrows->addWidget(b);
    }
    arrows->addStretch();

    auto *lists = new QGridLayout;
    lists->addWidget(verfLabel, 0, 0);
    lists->addWidget(ausLabel, 0, 2);
    lists->addWidget(LBVerf, 1, 0);
    lists->addLayout(arrows, 1, 1);
    lists->addWidget(LBAus, 1, 2);

    auto *side = new QVBoxLayout;
    side->addWidget(seLabel);
    side->addWidget(SE);
    side->addSpacing(12);
    side->addWidget(BtnOben);
    side->addWidget(BtnUnten);
    side->addStretch();
    side->addWidget(BtnOK);
    side->addWidget(BtnCancel);

    auto *main = new QHBoxLayout(this);
    main->addLayout(lists, 1);
    main->addLayout(side);
    resize(460, 360);

    connect(LBVerf, &QListWidget::itemClicked, this, [this] { LBVerfClick(); });
    connect(LBAus, &QListWidget::itemClicked, this, [this] { LBAusClick(); });
    connect(SBAdd, &QToolButton::clicked, this, [this] { SBAddClick(); });
    connect(SBAddAll, &QToolButton::clicked, this, [this] { SBAddAllClick(); });
    connect(SBDel, &QToolButton::clicked, this, [this] { SBDelClick(); });
    connect(SBDelAll, &QToolButton::clicked, this, [this] { SBDelAllClick(); });
    connect(BtnOben, &QPushButton::clicked, this, [this] { BtnObenClick(); });
    connect(BtnUnten, &QPushButton::clicked, this, [this] { BtnUntenClick(); });
    connect(SE, &QSpinBox::valueChanged, this, [this](int v) { SEChange(v); });
    connect(BtnOK, &QPushButton::clicked, this, [this] { BtnOKClick(); });
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    InstallHelpKey(this, HelpTopic::ColumnChooser);
}

void TTabDlg::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TTabDlg::FormShow() {
    chooser_.open(Storage().ColumnLayout);
    FillLists();
    ResetButtons();
}

void TTabDlg::FillLists() {
    filling_ = true;
    LBAus->clear();
    LBAus->addItems(chooser_.selectedTitles());
    LBVerf->clear();
    LBVerf->addItems(chooser_.availableTitles());
    filling_ = false;
}

void TTabDlg::ResetButtons() {
    for (QWidget *w :
         std::initializer_list<QWidget *>{SBAdd, SBAddAll, SBDel, SBDelAll, BtnOben, BtnUnten, SE})
        w->setEnabled(false);
    LBAus->clearSelection();
    LBAus->setCurrentRow(-1);
    LBVerf->clearSelection();
    LBVerf->setCurrentRow(-1);
}

void TTabDlg::LBVerfClick() {
    if (LBVerf->count() == 0)
        return;
    SBAdd->setEnabled(true);
    SBAddAll->setEnabled(true);
    for (QWidget *w : std::initializer_list<QWidget *>{SBDel, SBDelAll, BtnOben, BtnUnten, SE})
        w->setEnabled(false);
    LBAus->clearSelection();
    LBAus->setCurrentRow(-1);
}

void TTabDlg::LBAusClick() {
    if (LBAus->count() == 0)
        return;
    for (QWidget *w : std::initializer_list<QWidget *>{SBDel, SBDelAll, BtnOben, BtnUnten, SE})
        w->setEnabled(true);
    SBAdd->setEnabled(false);
    SBAddAll->setEnabled(false);
    LBVerf->clearSelection();
    LBVerf->setCurrentRow(-1);
    filling_ = true;
    SE->setValue(chooser_.width(LBAus->currentRow()));
    filling_ = false;
}

void TTabDlg::SBAddClick() {
    chooser_.add(LBVerf->currentRow());
    FillLists();
    ResetButtons();
}

void TTabDlg::SBAddAllClick() {
    chooser_.addAll();
    FillLists();
    ResetButtons();
}

void TTabDlg::SBDelClick() {
    chooser_.remove(LBAus->currentRow());
    FillLists();
    ResetButtons();
}

void TTabDlg::SBDelAllClick() {
    chooser_.removeAll();
    FillLists();
    ResetButtons();
}

void TTabDlg::BtnObenClick() {
    const int row = chooser_.moveUp(LBAus->currentRow());
    FillLists();
    LBAus->setCurrentRow(row);
}

void TTabDlg::BtnUntenClick() {
    const int row = chooser_.moveDown(LBAus->currentRow());
    FillLists();
    LBAus->setCurrentRow(row);
}

void TTabDlg::SEChange(int value) {
    if (!filling_)
        chooser_.setWidth(LBAus->currentRow(), value);
}

void TTabDlg::BtnOKClick() {
    chooser_.apply(Storage().ColumnLayout);
    accept();
}
