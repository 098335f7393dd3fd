#include "main_window_ui.h"

#include "about_dlg.h"
#include "backup/backup_dlg.h"
#include "backup/backup_reminder_widget.h"
#include "backup/restore_dlg.h"
#include "einst_dlg.h"
#include "einst_email_dlg.h"
#include "evaluation/auswert_dlg.h"
#include "month/sonmonat_dlg.h"
#include "network/drtarvo_dlg.h"
#include "network/sidc_dlg.h"
#include "reference/silso_import_dlg.h"
#include "reference/vergleich_dlg.h"
#include "solar/sonpos_dlg.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"
#include "uikit/messages.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <utility>

namespace {

QAction *MenuItem(QMenu *menu, const char *name, const QString &caption) {
    auto *action = menu->addAction(caption);
    action->setObjectName(QLatin1String(name));
    return action;
}

// Items kept for the menu's shape; they do nothing yet.
void HiddenItem(QMenu *menu, const char *name, const QString &caption) {
    QAction *action = MenuItem(menu, name, caption);
    action->setVisible(false);
    action->setEnabled(false);
}

} // namespace

TSun::TSun(QWidget *parent) : QMainWindow(parent), Profile(EmptyProfile()) {
    setObjectName(QStringLiteral("TSun"));
    setWindowTitle(QStringLiteral("TARVO32"));
    setWindowIcon(QIcon(QStringLiteral(":/tarvo.png")));

    Label1 = new QLabel(QStringLiteral("TARVO 32"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setAlignment(Qt::AlignCenter);
    QFont banner = Label1->font();
    banner.setBold(true);
    banner.setPixelSize(32);
    Label1->setFont(banner);
    QPalette pal = Label1->palette();
    pal.setColor(QPalette::WindowText, pal.color(QPalette::Dark)); // the button-shadow colour
    Label1->setPalette(pal);
    setCentralWidget(Label1);

    createMenus();
    createToolBar();
    SB = statusBar();
    SB->setObjectName(QStringLiteral("SB"));
    SB->setSizeGripEnabled(true);

    // FormCreate: the error display is the application's (TarvoApplication);
    // the settings, the observer list and the current profile are loaded here.
    try {
        LoadProgramSettings(Profile);
    } catch (const SettingsFileError &e) {
        fatalError_ = e.message(); // shown once the window is up; then the program ends
    } catch (const TarvoError &e) {
        startupError_ = e.message(); // shown once the window is up
    }

    createStartupWindows();

    // 686 x 480, or wider when the tool bar needs it with the system font.
    QSize size(std::max(686, ToolBar1->sizeHint().width() + 16), 480);
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        size = size.boundedTo(available.size());
        resize(size);
        move(available.center() - rect().center());
    } else {
        resize(size);
    }
}

TSun::~TSun() {
    FormClose();
}

void TSun::createMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu"));

    QMenu *datei = bar->addMenu(QStringLiteral("&Datei"));
    datei->setObjectName(QStringLiteral("Datei1"));
    QMenu *import = datei->addMenu(QStringLiteral("&Import"));
    import->setObjectName(QStringLiteral("Import1"));
    import->setToolTipsVisible(true);
    connect(MenuItem(import, "SIDCImport", QStringLiteral("SIDC")), &QAction::triggered, this,
            &TSun::SIDCImportClick);
    QAction *defRz = MenuItem(import, "DefRzTARVO", QStringLiteral("Def. Rz TARVO-Netz"));
    defRz->setToolTip(QStringLiteral("Definitive Relativzahlen TARVO-Netz"));
    connect(defRz, &QAction::triggered, this, &TSun::DefRzTARVOClick);
    connect(MenuItem(import, "SilsoTage", QStringLiteral("SILSO &Tageszahlen…")), &QAction::triggered, this,
            &TSun::SilsoTageClick);
    connect(MenuItem(import, "SilsoHalbkugel", QStringLiteral("SILSO &Halbkugelzahlen…")),
            &QAction::triggered, this, &TSun::SilsoHalbkugelClick);
    HiddenItem(datei, "Export1", QStringLiteral("&Export"));
    HiddenItem(datei, "Neu1", QStringLiteral("&Neu"));
    HiddenItem(datei, "ffnen1", QStringLiteral("Ö&ffnen..."));
    HiddenItem(datei, "Speichern1", QStringLiteral("&Speichern"));
    HiddenItem(datei, "Speichernunter1", QStringLiteral("Speichern &unter..."));
    HiddenItem(datei, "Drucken1", QStringLiteral("&Drucken..."));
    HiddenItem(datei, "Druckereinrichtung1", QStringLiteral("Drucker&einrichtung..."));
    datei->addSeparator();
    connect(MenuItem(datei, "Datensicherung1", QStringLiteral("Daten&sicherung…")), &QAction::triggered, this,
            &TSun::DatensicherungClick);
    connect(MenuItem(datei, "Wiederherstellen1", QStringLiteral("&Wiederherstellen…")), &QAction::triggered,
            this, &TSun::WiederherstellenClick);
    datei->addSeparator();
    connect(MenuItem(datei, "Beenden", QStringLiteral("&Beenden")), &QAction::triggered, this,
            &TSun::BeendenClick);

    QMenu *eingabe = bar->addMenu(QStringLiteral("&Eingabe"));
    eingabe->setObjectName(QStringLiteral("Eingabe1"));
    connect(MenuItem(eingabe, "Monatsdaten1", QStringLiteral("&Monatsdaten")), &QAction::triggered, this,
            &TSun::Monatsdaten1Click);
    connect(MenuItem(eingabe, "Positionsberechnung1", QStringLiteral("&Positionsberechnung")),
            &QAction::triggered, this, &TSun::Positionsberechnung1Click);
    MenuItem(eingabe, "Assistent1", QStringLiteral("&Tages Assistent"))->setEnabled(false);

    QMenu *auswertung = bar->addMenu(QStringLiteral("&Auswertung"));
    auswertung->setObjectName(QStringLiteral("Auswertung1"));
    auswertung->menuAction()->setToolTip(QStringLiteral("statistische Auswertungen"));
    connect(MenuItem(auswertung, "Relativzahl1", QStringLiteral("&Relativzahl")), &QAction::triggered, this,
            &TSun::Auswertung1Click);
    connect(MenuItem(auswertung, "VergleichSilso", QStringLiteral("&Vergleich mit SILSO")),
            &QAction::triggered, this, &TSun::VergleichSilsoClick);
    HiddenItem(auswertung, "Beckzahl1", QStringLiteral("Beckzahl"));
    HiddenItem(auswertung, "Pettis1", QStringLiteral("Pettis"));
    HiddenItem(auswertung, "CV1", QStringLiteral("CV"));
    HiddenItem(auswertung, "bloesAuge1", QStringLiteral("bloßes Auge"));

    QMenu *optionen = bar->addMenu(QStringLiteral("&Optionen"));
    optionen->setObjectName(QStringLiteral("Optionen1"));
    connect(MenuItem(optionen, "Beobachter1", QStringLiteral("&Beobachter")), &QAction::triggered, this,
            &TSun::Einstellungen1Click);
    QAction *einst2 = MenuItem(optionen, "Einstellungen2", QStringLiteral("&Einstellungen"));
    einst2->setToolTip(QStringLiteral("Einstellungen für das Programm"));
    einst2->setVisible(false);
    einst2->setEnabled(false);
    connect(MenuItem(optionen, "email1", QStringLiteral("E-&Mail")), &QAction::triggered, this,
            &TSun::email1Click);

    QMenu *hilfe = bar->addMenu(QStringLiteral("&Hilfe"));
    hilfe->setObjectName(QStringLiteral("Hilfe1"));
    QAction *inhalt = MenuItem(hilfe, "Inhalt1", QStringLiteral("&Inhalt"));
    inhalt->setShortcut(QKeySequence::HelpContents);
    connect(inhalt, &QAction::triggered, this, &TSun::Inhalt1Click);
    connect(MenuItem(hilfe, "Suchen1", QStringLiteral("&Suchen...")), &QAction::triggered, this,
            &TSun::Suchen1Click);
    connect(MenuItem(hilfe, "Hilfebenutzen1", QStringLiteral("&Hilfe benutzen")), &QAction::triggered, this,
            &TSun::Hilfebenutzen1Click);
    hilfe->addSeparator();
    connect(MenuItem(hilfe, "Info1", QStringLiteral("In&fo...")), &QAction::triggered, this,
            &TSun::Info1Click);
}

void TSun::createToolBar() {
    ToolBar1 = addToolBar(QStringLiteral("Werkzeuge"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);

    auto button = [this](const char *name, const QString &caption, const QString &hint, const char *item) {
        auto *b = new QToolButton;
        b->setObjectName(QLatin1String(name));
        b->setText(caption);
        b->setToolTip(hint);
        b->setAutoRaise(true);
        ToolBar1->addWidget(b);
        QAction *action = findChild<QAction *>(QLatin1String(item));
        connect(b, &QToolButton::clicked, action, &QAction::trigger);
        return b;
    };
    button("BtnSonMonat", QStringLiteral("&Monatsdaten"), QStringLiteral("TARVO Monatsdaten"),
           "Monatsdaten1");
    button("BtnSonPos", QStringLiteral("&Positionsberechnung"), QStringLiteral("Positionsberechnung"),
           "Positionsberechnung1");
    button("BtnAssistent", QStringLiteral("&Tages Assistent"), QStringLiteral("Tages Assistent"),
           "Assistent1")
        ->setEnabled(false);
    ToolBar1->addSeparator();
    button("BtnAuswertung", QStringLiteral("&Relativzahl"), QStringLiteral("Relativzahlauswerung"),
           "Relativzahl1");
    ToolBar1->addSeparator();
    button("ToolButton2", QStringLiteral("&Beobachter"),
           QStringLiteral("Einstellungen für den aktuellen Beobachter"), "Beobachter1");
    // Alt+M opens the month data and Alt+B the observer settings: the two
    // buttons that shared their letters take the next free one.
    button("ToolButton7", QStringLiteral("E-Ma&il"), QStringLiteral("Einstellungen für den e-Mail-Versand"),
           "email1");
    ToolBar1->addSeparator();
    button("ToolButton5", QStringLiteral("Bee&nden"), QString(), "Beenden");

    auto *label2 = new QLabel(QStringLiteral("  Beoba&chter: "));
    label2->setObjectName(QStringLiteral("Label2"));
    ToolBar1->addWidget(label2);
    CBMandant = new QComboBox;
    CBMandant->setObjectName(QStringLiteral("CBMandant"));
    CBMandant->setEditable(false);
    // 145 pixels, or wider when the system font needs it for a 16-character key.
    CBMandant->setMinimumWidth(
        std::max(145, CBMandant->fontMetrics().horizontalAdvance(QLatin1Char('M')) * 10));
    label2->setBuddy(CBMandant);
    ToolBar1->addWidget(CBMandant);
    // activated: only a pick by the user, also of the entry already current.
    connect(CBMandant, &QComboBox::activated, this, &TSun::CBMandantChange);
}

// The windows that live for the whole run are made here, hidden, in this
// order: the entry dialog TErfassungDlg, the month table TSonMonatDlg and the
// month shift TMoveMonth. They join when their folders provide them.
void TSun::createStartupWindows() { monthTable_ = new TSonMonatDlg(this, &slots_); }

QDialog *TSun::slotDialog(int slot) const {
    return slots_.at(slot);
}

void TSun::FormClose() {
    slots_.releaseAll();
}

void TSun::showEvent(QShowEvent *event) {
    QMainWindow::showEvent(event);
    if (!shownOnce_) {
        shownOnce_ = true;
        // After the window is on screen, so that a first-start dialog opens above it.
        QTimer::singleShot(0, this, &TSun::FormShow);
    }
}

bool TSun::event(QEvent *event) {
    // Menus send an empty status tip when they open or an item is hovered;
    // it would wipe the observer's name from the status bar for good.
    if (event->type() == QEvent::StatusTip && static_cast<QStatusTipEvent *>(event)->tip().isEmpty()) {
        SB->showMessage(statusName_);
        return true;
    }
    return QMainWindow::event(event);
}

void TSun::closeEvent(QCloseEvent *event) {
    FormClose();
    event->accept();
    ShowBackupReminderIfDue(); // a note beside, never a box to answer
}

void TSun::FormShow() {
    if (!fatalError_.isEmpty()) {
        // A settings file that cannot be understood is neither a first start
        // nor to be repaired: the user hears which file and what is wrong.
        ShowError(this, fatalError_);
        close();
        return;
    }
    if (!startupError_.isEmpty())
        ShowError(this, std::exchange(startupError_, QString()));
    if (!Storage().ObserversPresent)
        Einstellungen1Click(); // runs these steps again itself when confirmed
    const StorageState &s = Storage();
    const QSignalBlocker block(CBMandant);
    CBMandant->clear();
    CBMandant->addItems(s.ObserverKeys);
    CBMandant->setCurrentIndex(static_cast<int>(s.ObserverKeys.indexOf(s.CurrentObserverKey)));
}

void TSun::CBMandantChange(int index) {
    const StorageState &s = Storage();
    if (index < 0 || index >= s.ObserverKeys.size())
        return;
    try {
        ChooseObserver(s.ObserverKeys[index], Profile, ObserverChoice::Remember);
    } catch (const TarvoError &e) {
        // The program stays with the previous observer.
        const QSignalBlocker block(CBMandant);
        CBMandant->setCurrentIndex(static_cast<int>(s.ObserverKeys.indexOf(s.CurrentObserverKey)));
        ShowError(this, e.message());
        return;
    }
    statusName_ = Profile.Name1.text();
    SB->showMessage(statusName_);
}

namespace {

// The import dialogs work on the current observer's archive; their help
// button opens the import page.
template <class ImportDialog> void RunImport(DialogSlotTable &table, int slot, QWidget *parent) {
    const bool created = table.at(slot) == nullptr;
    auto *dlg = table.get<ImportDialog>(slot, parent);
    if (created)
        QObject::connect(dlg, &ImportDialog::helpRequested, dlg, [dlg] { ShowHelp(dlg, HelpTopic::Import); });
    dlg->exec();
}

} // namespace

bool TSun::ObserverReady() {
    if (ObserverIsCurrent())
        return true;
    if (AskYesNo(this, QStringLiteral("Es ist kein Beobachter eingerichtet. Die Daten gehören immer zu einem "
                                      "Beobachter.\n\nJetzt einen Beobachter anlegen?")))
        Einstellungen1Click();
    return ObserverIsCurrent();
}

void TSun::SIDCImportClick() {
    if (ObserverReady())
        RunImport<TSIDCDlg>(slots_, SlotSIDC, this);
}

void TSun::DefRzTARVOClick() {
    if (ObserverReady())
        RunImport<TdrTarvoDlg>(slots_, SlotDrTarvo, this);
}

void TSun::SilsoTageClick() {
    slots_.get<TSilsoImportDlg>(SlotSilsoTage, this, TSilsoSeries::Daily)->exec();
}

void TSun::SilsoHalbkugelClick() {
    slots_.get<TSilsoImportDlg>(SlotSilsoHalbkugel, this, TSilsoSeries::Hemispheric)->exec();
}

void TSun::DatensicherungClick() {
    slots_.get<TBackupDlg>(SlotBackup, this)->exec();
}

void TSun::WiederherstellenClick() {
    if (slots_.get<TRestoreDlg>(SlotRestore, this)->exec() != QDialog::Accepted)
        return;
    ReloadSettings();
    FormShow();
    statusName_ = Profile.Name1.text();
    SB->showMessage(statusName_);
}

void TSun::ReloadSettings() {
    try {
        LoadProgramSettings(Profile);
        LoadProfile(Profile);
    } catch (const TarvoError &e) {
        ShowError(this, e.message());
    }
}

void TSun::BeendenClick() {
    close();
}

void TSun::Monatsdaten1Click() {
    if (!ObserverReady())
        return;
    monthTable_->setProfile(Profile);
    monthTable_->exec();
}

void TSun::Positionsberechnung1Click() {
    auto *dlg = slots_.get<TDlgSonPos>(SlotSonPos, this);
    dlg->setProfile(Profile);
    dlg->exec();
}

void TSun::Auswertung1Click() {
    if (!ObserverReady())
        return;
    auto *dlg = slots_.get<TAuswDlg>(SlotAusw, this);
    dlg->showFor(Profile); // takes the curve colours back
}

void TSun::VergleichSilsoClick() {
    slots_.get<TVergleichDlg>(SlotVergleich, this)->showFor(Profile);
}

void TSun::Einstellungen1Click() {
    auto *dlg = slots_.get<TEinstDLG>(SlotEinst, this, &slots_);
    // An observer added in the dialog is current even when the rest was
    // cancelled: the window must follow, or it would show the old one.
    if (dlg->exec() != QDialog::Accepted && !dlg->ObserversChanged)
        return;
    ReloadSettings();
    // Once the status bar names an observer, it names the current one: not
    // one that was taken out of the list. An observer just added (or the
    // one current after a removal) is named at once.
    if (!statusName_.isEmpty() || dlg->ObserversChanged) {
        statusName_ = Profile.Name1.text();
        SB->showMessage(statusName_);
    }
    FormShow();
}

void TSun::email1Click() {
    auto *dlg = slots_.get<TEinstEmailDlg>(SlotEinstEmail, this);
    dlg->Profile = Profile;
    if (dlg->exec() == QDialog::Accepted)
        Profile = dlg->Profile;
}

void TSun::Inhalt1Click() {
    ShowHelp(this, HelpTopic::Contents);
}

void TSun::Suchen1Click() {
    ShowHelpSearch(this, QString());
}

void TSun::Hilfebenutzen1Click() {
    ShowHelpOnHelp(this);
}

void TSun::Info1Click() {
    slots_.get<TAboutDlg>(SlotAbout, this)->exec();
}
