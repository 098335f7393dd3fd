#include "einst_dlg.h"

#include "add_beob_dlg.h"
#include "backup/backup_settings.h"
#include "uikit/dialog_slots.h"
#include "observer_admin.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"
#include "uikit/widget_names.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QRegularExpressionValidator>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

TEinstDLG::TEinstDLG(QWidget *parent, DialogSlotTable *slotTable)
    : QDialog(parent), Profile(EmptyProfile()), slots_(slotTable) {
    setObjectName(QStringLiteral("TEinstDLG"));
    setWindowTitle(QStringLiteral("Einstellungen"));

    PageControl1 = new QTabWidget;
    PageControl1->setObjectName(QStringLiteral("PageControl1"));

    // Page "Beobachter"
    TBeob = new QWidget;
    TBeob->setObjectName(QStringLiteral("TBeob"));
    auto *gbBeob = new QGroupBox(QStringLiteral(" Beobachter "));
    Name1 = lineEdit("Name1", 16);
    Name2 = lineEdit("Name2", 25);
    Name3 = lineEdit("Name3", 25);
    Name4 = lineEdit("Name4", 25);
    Laenge = lineEdit("Laenge", 10);
    Breite = lineEdit("Breite", 10);
    Instrument = new QComboBox;
    Instrument->setObjectName(QStringLiteral("Instrument"));
    Instrument->addItems(kInstruments);
    Oeffn = lineEdit("Oeffn", 4);
    Brenn = lineEdit("Brenn", 5);
    Vergr = lineEdit("Vergr", 6);
    auto *g = new QGridLayout(gbBeob);
    int row = 0;
    g->addWidget(BuddyLabel(QStringLiteral("&Kürzel (Netz)"), Name1), row, 0);
    g->addWidget(Name1, row++, 1, 1, 3);
    g->addWidget(BuddyLabel(QStringLiteral("Beob&achter"), Name2), row, 0);
    g->addWidget(Name2, row++, 1, 1, 3);
    g->addWidget(BuddyLabel(QStringLiteral("&Straße"), Name3), row, 0);
    g->addWidget(Name3, row++, 1, 1, 3);
    g->addWidget(BuddyLabel(QStringLiteral("PLZ &Ort"), Name4), row, 0);
    g->addWidget(Name4, row++, 1, 1, 3);
    g->addWidget(BuddyLabel(QStringLiteral("&Länge"), Laenge), row, 0);
    g->addWidget(Laenge, row, 1);
    g->addWidget(BuddyLabel(QStringLiteral("B&reite"), Breite), row, 2, Qt::AlignRight);
    g->addWidget(Breite, row++, 3);
    g->addWidget(BuddyLabel(QStringLiteral("&Instrument"), Instrument), row, 0);
    g->addWidget(Instrument, row++, 1);
    g->addWidget(BuddyLabel(QStringLiteral("Ö&ffnung"), Oeffn), row, 0);
    g->addWidget(Oeffn, row, 1);
    g->addWidget(new QLabel(QStringLiteral("mm")), row++, 2);
    g->addWidget(BuddyLabel(QStringLiteral("Objektivbr&ennweite"), Brenn), row, 0);
    g->addWidget(Brenn, row, 1);
    g->addWidget(new QLabel(QStringLiteral("mm")), row++, 2);
    g->addWidget(BuddyLabel(QStringLiteral("Ver&größerung"), Vergr), row, 0);
    g->addWidget(Vergr, row, 1);
    g->addWidget(new QLabel(QStringLiteral("x")), row++, 2);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    auto *beobLayout = new QVBoxLayout(TBeob);
    beobLayout->addWidget(gbBeob);
    beobLayout->addStretch(1);

    // Page "Position"
    TPos = new QWidget;
    TPos->setObjectName(QStringLiteral("TPos"));
    auto *label16 = new QLabel(QStringLiteral("Erst ab Version 2.0 volle Umsetzung der Positionsauswertung"));
    label16->setObjectName(QStringLiteral("Label16"));
    label16->setWordWrap(true);
    QFont notice = label16->font();
    notice.setBold(true);
    notice.setPointSizeF(notice.pointSizeF() * 1.5);
    label16->setFont(notice);
    label16->setStyleSheet(QStringLiteral("color: red;"));
    auto *gbProj = new QGroupBox(QStringLiteral(" Projektion "));
    gbProj->setObjectName(QStringLiteral("GBProjektion"));
    Projektion = lineEdit("Projektion", 4);
    Projektion->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), Projektion));
    auto *pl = new QHBoxLayout(gbProj);
    pl->addWidget(BuddyLabel(QStringLiteral("Pr&ojektionsradius"), Projektion));
    pl->addWidget(Projektion);
    pl->addWidget(new QLabel(QStringLiteral("mm")));
    pl->addStretch(1);
    auto *gbMethode = new QGroupBox(QStringLiteral(" Methode "));
    gbMethode->setMinimumHeight(60);
    auto *posLayout = new QVBoxLayout(TPos);
    posLayout->addWidget(label16);
    posLayout->addWidget(gbProj);
    posLayout->addWidget(gbMethode);
    posLayout->addStretch(1);

    // Page "Eingabe"
    TEin = new QWidget;
    TEin->setObjectName(QStringLiteral("TEin"));
    auto *gbEin = new QGroupBox(QStringLiteral(" Eingabe "));
    ein_allg = checkBox("ein_allg", QStringLiteral("Eingabe Bemerkung"));
    Ein_Wolf = checkBox("Ein_Wolf", QStringLiteral("Wolfsche Relativzahlen"));
    Ein_NS = checkBox("Ein_NS", QStringLiteral("Wolf: Nord-Süd"));
    Ein_Beck = checkBox("Ein_Beck", QStringLiteral("Becksche Relativzahl"));
    Ein_Pettis = checkBox("Ein_Pettis", QStringLiteral("Pettiszahlen"));
    Ein_CV = checkBox("Ein_CV", QStringLiteral("CV"));
    Ein_A = checkBox("Ein_A", QStringLiteral("A-Netz"));
    Ein_Fackel = checkBox("Ein_Fackel", QStringLiteral("Fackeln"));
    Ein_Position = checkBox("Ein_Position", QStringLiteral("Position"));
    Ein_LB = checkBox("Ein_LB", QStringLiteral("Lichtbrücken"));
    auto *el = new QGridLayout(gbEin);
    const QList<QCheckBox *> einBoxes = {ein_allg, Ein_Wolf, Ein_NS,     Ein_Beck,     Ein_Pettis,
                                         Ein_CV,   Ein_A,    Ein_Fackel, Ein_Position, Ein_LB};
    for (int i = 0; i < einBoxes.size(); ++i)
        el->addWidget(einBoxes[i], i % 5, i / 5);
    auto *einLayout = new QVBoxLayout(TEin);
    einLayout->addWidget(gbEin);
    einLayout->addStretch(1);

    // Page "Ausgabe"
    TAus = new QWidget;
    TAus->setObjectName(QStringLiteral("TAus"));
    auto *gbScreen = new QGroupBox(QStringLiteral(" Bildschirmausgabe "));
    gbScreen->setToolTip(QStringLiteral("Zurzeit betriffen diese Einstellungen nur die Grafik!!"));
    Aus_Wolf = checkBox("Aus_Wolf", QStringLiteral("Wolfsche Relativzahlen"));
    Aus_NS = checkBox("Aus_NS", QStringLiteral("Wolf: Nord-Süd"));
    Aus_Beck = checkBox("Aus_Beck", QStringLiteral("Becksche Relativzahl"));
    Aus_Pettis = checkBox("Aus_Pettis", QStringLiteral("Pettiszahlen"));
    Aus_CV = checkBox("Aus_CV", QStringLiteral("CV"));
    Aus_A = checkBox("Aus_A", QStringLiteral("A-Netz"));
    auto *sl = new QGridLayout(gbScreen);
    const QList<QCheckBox *> screenBoxes = {Aus_Wolf, Aus_NS, Aus_Beck, Aus_Pettis, Aus_CV, Aus_A};
    for (int i = 0; i < screenBoxes.size(); ++i)
        sl->addWidget(screenBoxes[i], i % 3, i / 3);
    auto *gbPrint = new QGroupBox(QStringLiteral(" Druckanpassungen "));
    aus_allg = checkBox("aus_allg", QStringLiteral("Bemerkung in SOB1 drucken"));
    (new QVBoxLayout(gbPrint))->addWidget(aus_allg);
    auto *ausLayout = new QVBoxLayout(TAus);
    ausLayout->addWidget(gbScreen);
    ausLayout->addWidget(gbPrint);
    ausLayout->addStretch(1);

    // Page "Programm": settings of the program, not of the observer
    TProgramm = new QWidget;
    TProgramm->setObjectName(QStringLiteral("TProgramm"));
    auto *gbSicherung = new QGroupBox(QStringLiteral(" Datensicherung "));
    SEErinnerung = Named(new QSpinBox, "SEErinnerung");
    SEErinnerung->setRange(0, BackupSettings::kMaxReminderDays);
    SEErinnerung->setToolTip(
        QStringLiteral("Beim Beenden an eine Datensicherung erinnern, wenn die letzte so "
                       "viele Tage zurückliegt; 0 = nie erinnern"));
    auto *bl = new QHBoxLayout(gbSicherung);
    bl->addWidget(BuddyLabel(QStringLiteral("Erinnerung an die &Datensicherung nach"), SEErinnerung));
    bl->addWidget(SEErinnerung);
    bl->addWidget(new QLabel(QStringLiteral("Tagen (0 = nie)")));
    bl->addStretch(1);
    auto *programmLayout = new QVBoxLayout(TProgramm);
    programmLayout->addWidget(gbSicherung);
    programmLayout->addStretch(1);

    PageControl1->addTab(TBeob, QStringLiteral("&Beobachter"));
    PageControl1->addTab(TPos, QStringLiteral("&Position"));
    PageControl1->addTab(TEin, QStringLiteral("Eingabe"));
    PageControl1->addTab(TAus, QStringLiteral("Ausgabe"));
    PageControl1->addTab(TProgramm, QStringLiteral("Progra&mm"));

    switches_ = {{ein_allg, true, CatBemerkung},
                 {Ein_Wolf, true, CatWolf},
                 {Ein_NS, true, CatNS},
                 {Ein_Beck, true, CatBeck},
                 {Ein_Pettis, true, CatPettis},
                 {Ein_CV, true, CatCV},
                 {Ein_A, true, CatA},
                 {Ein_Fackel, true, CatFackel},
                 {Ein_Position, true, CatPosition},
                 {Ein_LB, true, CatLB},
                 {Aus_Wolf, false, CatWolf},
                 {Aus_NS, false, CatNS},
                 {Aus_Beck, false, CatBeck},
                 {Aus_Pettis, false, CatPettis},
                 {Aus_CV, false, CatCV},
                 {Aus_A, false, CatA},
                 {aus_allg, false, CatBemerkung}};

    BtnAdd = new QPushButton(QStringLiteral("&Zufügen"));
    BtnAdd->setObjectName(QStringLiteral("BtnAdd"));
    BtnAdd->setToolTip(QStringLiteral("Beobachter hinzufügen"));
    BtnDelete = new QPushButton(QStringLiteral("E&ntfernen…"));
    BtnDelete->setObjectName(QStringLiteral("BtnDelete"));
    BtnDelete->setToolTip(
        QStringLiteral("Beobachter aus der Liste nehmen; sein Verzeichnis bleibt erhalten"));
    const DialogButtonRow buttonRow = MakeDialogButtonRow();
    BtnOK = buttonRow.ok;
    BtnCancel = buttonRow.cancel;
    BtnHelp = buttonRow.help;
    QHBoxLayout *buttons = buttonRow.layout;
    buttons->insertWidget(0, BtnAdd);
    buttons->insertWidget(1, BtnDelete);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(PageControl1, 1);
    layout->addLayout(buttons);

    connect(BtnOK, &QPushButton::clicked, this, &TEinstDLG::BtnOKClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BtnHelp, &QPushButton::clicked, this, [this] { ShowHelp(this, HelpTopic::Observer); });
    InstallHelpKey(this, BtnHelp);
    connect(BtnAdd, &QPushButton::clicked, this, &TEinstDLG::BtnAddClick);
    connect(BtnDelete, &QPushButton::clicked, this, &TEinstDLG::BtnDeleteClick);
    connect(Ein_Wolf, &QCheckBox::toggled, this, &TEinstDLG::Ein_WolfClick);
}

QLineEdit *TEinstDLG::lineEdit(const char *name, int maxLength) {
    auto *edit = new QLineEdit;
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(maxLength);
    return edit;
}

QCheckBox *TEinstDLG::checkBox(const char *name, const QString &caption) {
    auto *box = new QCheckBox(caption);
    box->setObjectName(QLatin1String(name));
    return box;
}

void TEinstDLG::showEvent(QShowEvent *event) {
    QDialog::showEvent(event);
    // Not when restored after minimising: the edits stay.
    if (event->spontaneous())
        return;
    ObserversChanged = false;
    FormShow();
}

void TEinstDLG::FormShow() {
    if (!Storage().ObserversPresent) {
        // No observer yet: the add dialog opens at once, above this one.
        QTimer::singleShot(0, this, [this] {
            if (isVisible() && !Storage().ObserversPresent)
                BtnAddClick();
        });
    }
    try {
        LoadProgramSettings(Profile);
        LoadProfile(Profile);
    } catch (const TarvoError &e) {
        ShowError(this, e.message()); // the pages show what could be read
    }
    storedReminderDays_ = LoadBackupSettings().reminderDays;
    PageControl1->setCurrentIndex(0);
    fillControls();
    BtnDelete->setEnabled(Storage().ObserverKeys.contains(Storage().CurrentObserverKey));
}

void TEinstDLG::fillControls() {
    Name1->setText(Profile.Name1.text());
    Name2->setText(Profile.Name2.text());
    Name3->setText(Profile.Name3.text());
    Name4->setText(Profile.Name4.text());
    Laenge->setText(Profile.Laenge.text());
    Breite->setText(Profile.Breite.text());
    Instrument->setCurrentIndex(static_cast<int>(kInstruments.indexOf(Profile.Instrument.text())));
    Oeffn->setText(Profile.Oeffn.text());
    Brenn->setText(Profile.Brenn.text());
    Vergr->setText(Profile.Vergr.text());
    Projektion->setText(QString::number(Profile.Radius));
    SEErinnerung->setValue(storedReminderDays_);
    for (const SwitchBox &s : std::as_const(switches_))
        s.box->setChecked((s.ein ? Profile.Ein : Profile.Aus).on(s.index));
    Ein_WolfClick();
}

void TEinstDLG::storeControls(TObserverProfile &p) const {
    p.Name1.assign(Name1->text());
    p.Name2.assign(Name2->text());
    p.Name3.assign(Name3->text());
    p.Name4.assign(Name4->text());
    p.Laenge.assign(Laenge->text());
    p.Breite.assign(Breite->text());
    p.Instrument.assign(Instrument->currentIndex() >= 0 ? Instrument->currentText() : QString());
    p.Oeffn.assign(Oeffn->text());
    p.Brenn.assign(Brenn->text());
    p.Vergr.assign(Vergr->text());
    for (const SwitchBox &s : switches_)
        (s.ein ? p.Ein : p.Aus).set(s.index, s.box->isChecked());
}

void TEinstDLG::Ein_WolfClick() {
    Ein_NS->setEnabled(Ein_Wolf->isChecked());
}

void TEinstDLG::BtnOKClick() {
    TObserverProfile edited = Profile;
    storeControls(edited);
    try {
        edited.Radius = ParseInteger(Projektion->text());
    } catch (const TarvoError &e) {
        // Stay open: everything typed on the other pages is still there. The
        // message names the field, which may lie on a page not shown.
        ShowError(this, QStringLiteral("Projektionsradius: ") + e.message());
        PageControl1->setCurrentWidget(TPos);
        Projektion->setFocus();
        Projektion->selectAll();
        return;
    }
    try {
        RequireCurrentObserver();
        SaveProfile(edited);
        if (SEErinnerung->value() != storedReminderDays_) {
            SaveReminderDays(SEErinnerung->value());
            storedReminderDays_ = SEErinnerung->value();
        }
    } catch (const TarvoError &e) {
        ShowError(this, e.message()); // nothing was stored; the input stays for another try or Cancel
        return;
    }
    Profile = edited;
    accept();
}

void TEinstDLG::BtnAddClick() {
    TAddBeobDLG *dlg = nullptr;
    if (slots_) {
        dlg = slots_->get<TAddBeobDLG>(SlotAddBeob, this);
    } else {
        if (!ownAddDialog_)
            ownAddDialog_ = new TAddBeobDLG(this);
        dlg = static_cast<TAddBeobDLG *>(ownAddDialog_);
    }
    if (dlg->exec() != QDialog::Accepted)
        return;
    Storage().ObserversPresent = true;
    ObserversChanged = true;
    FormShow();
    ShowInformation(this, QStringLiteral("Jetzt können Sie die anderen Einstellungen ändern"));
}

void TEinstDLG::BtnDeleteClick() {
    const StorageState &s = Storage();
    try {
        const ObserverRemoval removal =
            PlanObserverRemoval(s.ObserverKeys.indexOf(s.CurrentObserverKey), QDate::currentDate());
        QString question = QStringLiteral("Soll der Beobachter „%1“ aus der Beobachterliste entfernt werden?")
                               .arg(removal.key);
        if (!removal.folder.isEmpty())
            question +=
                QStringLiteral(
                    "\n\nSein Verzeichnis\n%1\nwird umbenannt in\n%2\n\nEs wird keine Datei gelöscht.")
                    .arg(QDir::toNativeSeparators(removal.folder), QDir::toNativeSeparators(removal.backup));
        else
            question += QStringLiteral("\n\nEs wird keine Datei gelöscht.");
        const QList<Answer> answers = {{"BtnRemoveYes", QStringLiteral("&Entfernen")},
                                       {"BtnRemoveNo", QStringLiteral("Abbrechen")}};
        if (AskQuestion(this, question, answers, 1) != 0)
            return;
        RemoveObserver(removal, Profile);
        ObserversChanged = true;
        ShowInformation(
            this, removal.folder.isEmpty()
                      ? QStringLiteral("Der Beobachter „%1“ wurde entfernt.").arg(removal.key)
                      : QStringLiteral("Der Beobachter „%1“ wurde entfernt. Seine Daten liegen jetzt in\n%2")
                            .arg(removal.key, QDir::toNativeSeparators(removal.backup)));
    } catch (const TarvoError &e) {
        ShowError(this, e.message()); // nothing was removed
        return;
    }
    FormShow();
}
