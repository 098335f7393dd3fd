#include "add_beob_dlg.h"

#include "observer_admin.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QComboBox>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

const QString kChoosePrompt = QStringLiteral("wählen Sie bitte hier aus");

} // namespace

TAddBeobDLG::TAddBeobDLG(QWidget *parent) : QDialog(parent), NewProfile(EmptyProfile()) {
    setObjectName(QStringLiteral("TAddBeobDLG"));
    setWindowTitle(QStringLiteral("Benutzer zufügen"));

    auto *label1 = new QLabel(QStringLiteral("Pfad:"));
    label1->setObjectName(QStringLiteral("Label1"));
    lPfad = new QLabel;
    lPfad->setObjectName(QStringLiteral("lPfad"));
    QFont bold = lPfad->font();
    bold.setBold(true);
    lPfad->setFont(bold);
    auto *pathRow = new QHBoxLayout;
    pathRow->addWidget(label1);
    pathRow->addWidget(lPfad, 1);

    auto *gbChoose = new QGroupBox(QStringLiteral(" Beobachter auswählen "));
    auto makeList = [](const char *name) {
        auto *combo = new QComboBox;
        combo->setObjectName(QLatin1String(name));
        combo->setEditable(true);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setMinimumContentsLength(30);
        return combo;
    };
    CBObserver = makeList("CBObserver");
    CBBeoStm = makeList("CBBeoStm");
    lObserverMissing = new QLabel(QStringLiteral("nicht vorhanden"));
    lObserverMissing->setObjectName(QStringLiteral("lObserverMissing"));
    lBeoStmMissing = new QLabel(QStringLiteral("nicht vorhanden"));
    lBeoStmMissing->setObjectName(QStringLiteral("lBeoStmMissing"));
    auto *cl = new QGridLayout(gbChoose);
    cl->addWidget(BuddyLabel(QStringLiteral("Observer.dat:"), CBObserver), 0, 0);
    cl->addWidget(CBObserver, 0, 1);
    cl->addWidget(lObserverMissing, 0, 1);
    cl->addWidget(BuddyLabel(QStringLiteral("BeoStm.000:"), CBBeoStm), 1, 0);
    cl->addWidget(CBBeoStm, 1, 1);
    cl->addWidget(lBeoStmMissing, 1, 1);
    cl->setColumnStretch(1, 1);

    auto *gbBeob = new QGroupBox(QStringLiteral(" Beobachter "));
    Name1 = new QLineEdit;
    Name1->setObjectName(QStringLiteral("Name1"));
    Name1->setMaxLength(16);
    Instrument = new QComboBox;
    Instrument->setObjectName(QStringLiteral("Instrument"));
    Instrument->addItems(kInstruments);
    Oeffn = new QLineEdit;
    Oeffn->setObjectName(QStringLiteral("Oeffn"));
    Oeffn->setMaxLength(4);
    Brenn = new QLineEdit;
    Brenn->setObjectName(QStringLiteral("Brenn"));
    Brenn->setMaxLength(5);
    auto *bl = new QGridLayout(gbBeob);
    bl->addWidget(BuddyLabel(QStringLiteral("&Kürzel (Netz)"), Name1), 0, 0);
    bl->addWidget(Name1, 0, 1);
    bl->addWidget(BuddyLabel(QStringLiteral("&Instrument"), Instrument), 1, 0);
    bl->addWidget(Instrument, 1, 1);
    bl->addWidget(BuddyLabel(QStringLiteral("Ö&ffnung"), Oeffn), 2, 0);
    bl->addWidget(Oeffn, 2, 1);
    bl->addWidget(new QLabel(QStringLiteral("mm")), 2, 2);
    bl->addWidget(BuddyLabel(QStringLiteral("Objektivbr&ennweite"), Brenn), 3, 0);
    bl->addWidget(Brenn, 3, 1);
    bl->addWidget(new QLabel(QStringLiteral("mm")), 3, 2);
    bl->setColumnStretch(1, 1);
    bl->setColumnStretch(3, 1);

    const DialogButtonRow buttonRow = MakeDialogButtonRow();
    BtnOK = buttonRow.ok;
    BtnCancel = buttonRow.cancel;
    BtnHelp = buttonRow.help;
    QHBoxLayout *buttons = buttonRow.layout;

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(pathRow);
    layout->addWidget(gbChoose);
    layout->addWidget(gbBeob);
    layout->addStretch(1);
    layout->addLayout(buttons);

    for (QComboBox *combo : {CBObserver, CBBeoStm}) {
        connect(combo, &QComboBox::activated, this, [this, combo] { CBObserverChange(combo); });
        connect(combo->lineEdit(), &QLineEdit::textEdited, this, [this, combo] {
            // Typed text selects no entry of the list.
            const QSignalBlocker block(combo);
            combo->setCurrentIndex(-1);
            CBObserverChange(combo);
        });
    }
    connect(Name1, &QLineEdit::textChanged, this, &TAddBeobDLG::Name1Change);
    connect(Instrument, &QComboBox::currentIndexChanged, this, &TAddBeobDLG::InstrumentChange);
    connect(Oeffn, &QLineEdit::textChanged, this, &TAddBeobDLG::OeffnChange);
    connect(Brenn, &QLineEdit::textChanged, this, &TAddBeobDLG::BrennChange);
    connect(BtnOK, &QPushButton::clicked, this, &TAddBeobDLG::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &TAddBeobDLG::reject);
    connect(BtnHelp, &QPushButton::clicked, this, [this] { ShowHelp(this, HelpTopic::FirstStart); });
    InstallHelpKey(this, BtnHelp);
}

void TAddBeobDLG::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // A window restored after minimising gets a spontaneous show event: it
    // must not reserve a directory again or drop what was typed.
    if (!event->spontaneous())
        FormShow();
}

void TAddBeobDLG::FormShow() {
    StorageState &s = Storage();
    SavedDir = s.CurrentObserverDir;
    SavedKey = s.CurrentObserverKey;
    reservedDir_ = FindFreeObserverDir();
    lPfad->setText(QDir::toNativeSeparators(reservedDir_));
    lPfad->setToolTip(QDir::toNativeSeparators(s.DataPath + reservedDir_));
    s.CurrentObserverDir = reservedDir_;
    NewProfile = NewObserverProfile();
    {
        const QSignalBlocker b1(Name1), b2(Instrument), b3(Oeffn), b4(Brenn);
        Name1->clear();
        Instrument->setCurrentIndex(-1);
        Oeffn->clear();
        Brenn->clear();
    }
    fillList(CBObserver, lObserverMissing, ReadObserverDat(s.ProgramDir + QStringLiteral("observer.dat")));
    fillList(CBBeoStm, lBeoStmMissing, ReadBeoStm(s.ProgramDir + QStringLiteral("beostm.000")));
    Name1->setFocus();
}

void TAddBeobDLG::fillList(QComboBox *combo, QLabel *missing, const std::optional<QStringList> &entries) {
    const QSignalBlocker block(combo);
    combo->clear();
    if (entries)
        combo->addItems(*entries);
    const bool show = combo->count() > 0;
    combo->setVisible(show);
    missing->setVisible(!show);
    combo->setCurrentIndex(-1);
    combo->setEditText(kChoosePrompt);
}

void TAddBeobDLG::CBObserverChange(QComboBox *combo) {
    const int index = combo->currentIndex();
    const ObserverEntryParts parts = SplitObserverEntry(index >= 0 ? combo->itemText(index) : QString());
    NewProfile.Name1.assign(parts.name);
    NewProfile.Instrument.assign(parts.instrument);
    NewProfile.Oeffn.assign(parts.aperture);
    NewProfile.Brenn.assign(parts.focalLength);
    const QSignalBlocker b1(Name1), b2(Instrument), b3(Oeffn), b4(Brenn);
    Name1->setText(NewProfile.Name1.text());
    Instrument->setCurrentIndex(static_cast<int>(kInstruments.indexOf(NewProfile.Instrument.text())));
    Oeffn->setText(NewProfile.Oeffn.text());
    Brenn->setText(NewProfile.Brenn.text());
}

void TAddBeobDLG::Name1Change() {
    NewProfile.Name1.assign(Name1->text());
}

void TAddBeobDLG::InstrumentChange() {
    NewProfile.Instrument.assign(Instrument->currentIndex() >= 0 ? Instrument->currentText() : QString());
}

void TAddBeobDLG::OeffnChange() {
    NewProfile.Oeffn.assign(Oeffn->text());
}

void TAddBeobDLG::BrennChange() {
    NewProfile.Brenn.assign(Brenn->text());
}

void TAddBeobDLG::BtnOKClick() {
    try {
        AddObserver(NewProfile, reservedDir_);
    } catch (const TarvoError &e) {
        // Refused or failed: nothing is registered; the user may correct the name or cancel.
        StorageState &s = Storage();
        s.CurrentObserverDir = reservedDir_;
        ShowInformation(this, e.message());
        Name1->setFocus();
        return;
    }
    accept();
}

void TAddBeobDLG::BtnCancelClick() {
    StorageState &s = Storage();
    s.CurrentObserverDir = SavedDir;
    s.CurrentObserverKey = SavedKey;
}

void TAddBeobDLG::reject() {
    BtnCancelClick(); // also for Esc and the window's close button
    QDialog::reject();
}
