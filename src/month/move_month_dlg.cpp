#include "move_month_dlg.h"

#include "month_edit.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QVBoxLayout>

TMoveMonth::TMoveMonth(QWidget *parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Monat verschieben"));
    setObjectName(QStringLiteral("TMoveMonth"));
    toMonth = new QSpinBox;
    toMonth->setObjectName(QStringLiteral("toMonth"));
    toMonth->setRange(-99999, 99999); // the dialog checks the month itself
    cb1 = new QCheckBox(QStringLiteral("ja, ich bin mir sicher, dass ich den Monat verschieben möchte"));
    cb1->setObjectName(QStringLiteral("cb1"));
    BitBtn1 = new QPushButton(QStringLiteral("OK"));
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn2 = new QPushButton(QStringLiteral("Abbrechen"));
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    auto *label = new QLabel(QStringLiteral("zu Monat"));
    label->setBuddy(toMonth);
    // Which month goes: the dialog names it, so the target is chosen knowingly.
    lVonMonat = new QLabel;
    lVonMonat->setObjectName(QStringLiteral("lVonMonat"));

    auto *source = new QHBoxLayout;
    source->addWidget(new QLabel(QStringLiteral("von Monat")));
    source->addWidget(lVonMonat);
    source->addStretch();
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(toMonth);
    row->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto *main = new QVBoxLayout(this);
    main->addLayout(source);
    main->addLayout(row);
    main->addWidget(cb1);
    main->addLayout(buttons);

    connect(cb1, &QCheckBox::toggled, this, [this](bool on) { Confirmed = on; });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, &QDialog::reject);
    InstallHelpKey(this, HelpTopic::MoveMonth);
}

void TMoveMonth::showEvent(QShowEvent *event) {
    if (!event->spontaneous())
        FormShow();
    QDialog::showEvent(event);
}

void TMoveMonth::FormShow() {
    cb1->setChecked(false);
    Confirmed = false;
    toMonth->setValue(SourceMonth - 1); // the previous month is proposed
    TargetMonth = toMonth->value();
    lVonMonat->setText(SourceMonth >= 1 && SourceMonth <= 12
                           ? QStringLiteral("%1 (%2)")
                                 .arg(SourceMonth)
                                 .arg(QLocale(QLocale::German).standaloneMonthName(SourceMonth))
                           : QString::number(SourceMonth));
    toMonth->setFocus();
    toMonth->selectAll();
}

void TMoveMonth::BitBtn1Click() {
    bool isNumber = false;
    const int value = toMonth->cleanText().trimmed().toInt(&isNumber);
    TargetMonth = isNumber ? value : 0;
    if (!isNumber)
        Confirmed = false;
    if (!cb1->isChecked()) {
        // OK without the tick would close and move nothing without a word.
        ShowInformation(
            this, QStringLiteral("Der Monat wird nur verschoben, wenn Sie „%1“ ankreuzen.").arg(cb1->text()));
        cb1->setFocus();
        return;
    }
    if (Confirmed) {
        // A month outside the year or the month itself would lose the data.
        try {
            CheckShiftTarget(SourceMonth, TargetMonth);
        } catch (const TarvoError &e) {
            ShowInformation(this, e.message());
            toMonth->setFocus();
            toMonth->selectAll();
            return;
        }
    }
    accept();
}
