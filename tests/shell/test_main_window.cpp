// The main window: first start, adding and switching observers, the dialog
// slots, the About box, help and the application-wide error display.
#include "shell_test_util.h"

#include "month/sonmonat_dlg.h"
#include "shell/about_dlg.h"
#include "shell/add_beob_dlg.h"
#include "shell/einst_dlg.h"
#include "shell/jpeg_decode.h"
#include "shell/main_window_ui.h"
#include "shell/observer_admin.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "uikit/help_viewer_dlg.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QToolButton>

class TestMainWindow : public QObject {
    Q_OBJECT
private:
    QTemporaryDir *dir_ = nullptr;
    QString iniPath() const { return dir_->filePath("tarvo.ini"); }

    // Fills the add dialog and confirms it; the settings dialog then shows
    // its message, which is closed, and then the settings dialog is closed
    // with `settingsButton`.
    void addObserverChain(const QString &name, QString *message = nullptr,
                          QStringList *iniKeysBefore = nullptr, const char *settingsButton = "BtnOK") {
        OnModal<TAddBeobDLG>([=, this](TAddBeobDLG *add) {
            if (iniKeysBefore)
                *iniKeysBefore = IniFile(iniPath()).sectionKeys("TARVO32");
            Child<QLineEdit>(add, "Name1")->setText(name);
            OnModal<QMessageBox>([=](QMessageBox *box) {
                if (message)
                    *message = box->text();
                OnModal<TEinstDLG>(
                    [=](TEinstDLG *einst) { Child<QPushButton>(einst, settingsButton)->click(); });
                box->accept();
            });
            Child<QPushButton>(add, "BtnOK")->click();
        });
    }

private slots:
    void init() {
        dir_ = new QTemporaryDir;
        QVERIFY(dir_->isValid());
        StorageStartUp(dir_->path());
    }
    void cleanup() {
        delete dir_;
        dir_ = nullptr;
    }

    void firstStartAddsTwoObserversAndSwitches() {
        TSun w;
        QCOMPARE(w.windowTitle(), QStringLiteral("TARVO32"));
        QCOMPARE(Child<QLabel>(&w, "Label1")->text(), QStringLiteral("TARVO 32"));
        // First start: tarvo.ini is made at once with its three keys.
        QCOMPARE(IniFile(iniPath()).sectionKeys("TARVO32"),
                 (QStringList{"Version", "FileVersion", "Datenpfad"}));

        bool settingsUnderneath = false;
        QString message;
        QStringList keysBefore;
        OnModal<TAddBeobDLG>([&](TAddBeobDLG *add) {
            settingsUnderneath =
                qobject_cast<TEinstDLG *>(add->parentWidget()) && add->parentWidget()->isVisible();
        });
        // OnModal handlers run in order of registration only when their
        // dialog is active; register the chain after the check above.
        addObserverChain("Muster", &message, &keysBefore);
        w.show();
        auto *combo = Child<QComboBox>(&w, "CBMandant");
        QTRY_COMPARE_WITH_TIMEOUT(combo->count(), 1, 10000);
        QVERIFY(settingsUnderneath);
        QCOMPARE(keysBefore, (QStringList{"Version", "FileVersion", "Datenpfad"}));
        QCOMPARE(message, QStringLiteral("Jetzt können Sie die anderen Einstellungen ändern"));
        QCOMPARE(combo->currentText(), QStringLiteral("Muster"));
        QVERIFY(QFileInfo(dir_->filePath("0001/beob.ini")).isFile());
        // The observer just added is named in the status bar.
        QCOMPARE(Child<QStatusBar>(&w, "SB")->currentMessage(), QStringLiteral("Muster"));

        // The second observer through the menu and "Zufügen".
        OnModal<TEinstDLG>([&](TEinstDLG *einst) {
            addObserverChain("Zweiter");
            Child<QPushButton>(einst, "BtnAdd")->click();
        });
        Child<QAction>(&w, "Beobachter1")->trigger();
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("Zweiter"));
        QCOMPARE(IniValue(iniPath(), "Beobachter", "Zweiter"), QStringLiteral("0002/"));
        QCOMPARE(IniValue(iniPath(), "TARVO32", "Beobachter"), QStringLiteral("Zweiter"));
        QCOMPARE(w.Profile.Name1.text(), QStringLiteral("Zweiter"));
        QCOMPARE(Child<QStatusBar>(&w, "SB")->currentMessage(), QStringLiteral("Zweiter"));

        // Switch to the first observer.
        combo->setCurrentIndex(0);
        emit combo->activated(0);
        QCOMPARE(IniValue(iniPath(), "TARVO32", "Beobachter"), QStringLiteral("Muster"));
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001/"));
        QCOMPARE(Child<QStatusBar>(&w, "SB")->currentMessage(), QStringLiteral("Muster"));
        QCOMPARE(w.Profile.Name1.text(), QStringLiteral("Muster"));
        // Opening a menu leaves the name in the status bar.
        auto *bar = Child<QMenuBar>(&w, "MainMenu");
        QAction *firstMenu = bar->actions().constFirst();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(firstMenu).center());
        QTRY_VERIFY(firstMenu->menu()->isVisible());
        QTest::mouseMove(firstMenu->menu(), firstMenu->menu()->actionGeometry(firstMenu->menu()->actions().constFirst()).center());
        QTest::keyClick(firstMenu->menu(), Qt::Key_Escape);
        QTRY_VERIFY(!firstMenu->menu()->isVisible());
        QCOMPARE(Child<QStatusBar>(&w, "SB")->currentMessage(), QStringLiteral("Muster"));

        // Picking the current observer again rewrites tarvo.ini.
        QVERIFY(QFile::remove(iniPath()));
        emit combo->activated(0);
        QCOMPARE(IniValue(iniPath(), "TARVO32", "Beobachter"), QStringLiteral("Muster"));
        QCOMPARE(IniValue(iniPath(), "Beobachter", "Zweiter"), QStringLiteral("0002/"));

        // Closing releases the two dialogs that were opened, and only them.
        QList<int> set;
        for (int slot = 0; slot < 31; ++slot)
            if (Storage().DialogSlots[slot])
                set.append(slot);
        QCOMPARE(set, (QList<int>{SlotEinst, SlotAddBeob}));
        QPointer<QDialog> einst = w.slotDialog(SlotEinst);
        QPointer<QDialog> add = w.slotDialog(SlotAddBeob);
        QVERIFY(einst && add);
        w.close();
        QVERIFY(!einst && !add);
        QVERIFY(std::none_of(Storage().DialogSlots.begin(), Storage().DialogSlots.end(),
                             [](bool b) { return b; }));
    }

    void observerAddedThenSettingsCancelled() {
        TSun w;
        addObserverChain("Muster");
        w.show();
        auto *combo = Child<QComboBox>(&w, "CBMandant");
        QTRY_COMPARE_WITH_TIMEOUT(combo->count(), 1, 10000);
        // The new observer is current in tarvo.ini: the window must follow
        // although the settings dialog was cancelled.
        OnModal<TEinstDLG>([&](TEinstDLG *einst) {
            addObserverChain("Zweiter", nullptr, nullptr, "BtnCancel");
            Child<QPushButton>(einst, "BtnAdd")->click();
        });
        Child<QAction>(&w, "Beobachter1")->trigger();
        QCOMPARE(IniValue(iniPath(), "TARVO32", "Beobachter"), QStringLiteral("Zweiter"));
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("Zweiter"));
        QCOMPARE(w.Profile.Name1.text(), QStringLiteral("Zweiter"));
    }

    // When the chosen observer's profile cannot be read, the program stays
    // with the previous observer: its profile must not go with the other's files.
    void switchToAnUnreadableProfileIsUndone() {
        {
            IniFile ini(iniPath());
            ini.writeString("TARVO32", "Beobachter", "Anna");
            ini.writeString("TARVO32", "FileVersion", Storage().ProgramVersion);
            ini.writeString("Beobachter", "Anna", "0001/");
            ini.writeString("Beobachter", "Berta", "0002/");
            ini.save();
            IniFile beob(dir_->filePath("0001/beob.ini"));
            beob.writeString("Beobachter", "Name1", "Anna");
            QVERIFY(QDir(dir_->path()).mkpath("0001"));
            beob.save();
            QVERIFY(QDir(dir_->path()).mkpath("0002/beob.ini")); // a folder where the file should be
        }
        TSun w;
        w.show();
        auto *combo = Child<QComboBox>(&w, "CBMandant");
        QTRY_COMPARE(combo->count(), 2);
        QCOMPARE(w.Profile.Name1.text(), QStringLiteral("Anna"));
        combo->setCurrentIndex(1);
        MessageBoxCatcher boxes;
        emit combo->activated(1);
        QCOMPARE(boxes.texts, QStringList{QStringLiteral("E/A-Fehler 21")}); // the reason is shown
        QCOMPARE(Storage().CurrentObserverKey, QStringLiteral("Anna"));
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001/"));
        QCOMPARE(IniValue(iniPath(), "TARVO32", "Beobachter"), QStringLiteral("Anna"));
        QCOMPARE(combo->currentText(), QStringLiteral("Anna"));
        QCOMPARE(w.Profile.Name1.text(), QStringLiteral("Anna"));
    }

    // An observer taken out in the settings dialog leaves the window's list
    // and status bar, even when the dialog is then cancelled.
    void removedObserverLeavesTheWindow() {
        TObserverProfile p = EmptyProfile();
        LoadProgramSettings(p);
        for (const char *name : {"Muster", "Anna"}) {
            TObserverProfile observer = NewObserverProfile();
            observer.Name1.assign(name);
            AddObserver(observer, FindFreeObserverDir());
        }
        TSun w;
        w.show();
        auto *combo = Child<QComboBox>(&w, "CBMandant");
        QTRY_COMPARE(combo->count(), 2);
        combo->setCurrentIndex(0);
        emit combo->activated(0); // Muster
        QCOMPARE(Child<QStatusBar>(&w, "SB")->currentMessage(), QStringLiteral("Muster"));
        MessageBoxCatcher boxes;
        boxes.answerWith("BtnRemoveYes");
        OnModal<TEinstDLG>([](TEinstDLG *einst) {
            Child<QPushButton>(einst, "BtnDelete")->click();
            Child<QPushButton>(einst, "BtnCancel")->click();
        });
        w.findChild<QAction *>("Beobachter1")->trigger();
        QCOMPARE(boxes.texts.size(), 2);
        QCOMPARE(combo->count(), 1);
        QCOMPARE(combo->currentText(), QStringLiteral("Anna"));
        QCOMPARE(w.Profile.Name1.text(), QStringLiteral("Anna"));
        QCOMPARE(Child<QStatusBar>(&w, "SB")->currentMessage(), QStringLiteral("Anna"));
        QCOMPARE(IniValue(iniPath(), "Beobachter", "Muster"), QStringLiteral("<fehlt>"));
    }

    // A tarvo.ini that cannot be understood is no first start: the program
    // names the file and what is wrong, then closes, and the file stays.
    void damagedSettingsShowTheReasonAndClose() {
        const QByteArray damaged = "Beobachter=Muster\r\nMuster=0001\\\r\n";
        QFile ini(iniPath());
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write(damaged);
        ini.close();
        TSun w;
        QString shown;
        OnModal<QMessageBox>([&](QMessageBox *box) {
            shown = box->text();
            box->accept();
        });
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(!w.isVisible(), 10000);
        QVERIFY2(shown.contains(QDir::toNativeSeparators(iniPath())), qPrintable(shown));
        QVERIFY2(shown.contains(QStringLiteral("[TARVO32] fehlt")), qPrintable(shown));
        QVERIFY(w.slotDialog(SlotEinst) == nullptr); // no first-start chain
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), damaged);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{"tarvo.ini"});
    }

    // The month data, the evaluation and the imports work on an observer's
    // files: without a current observer they ask to create one first and
    // open nothing when the answer is no.
    void dataMenusWithoutObserverAskFirst_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("slot"); // -1: the month table
        QTest::newRow("Monatsdaten") << "Monatsdaten1" << -1;
        QTest::newRow("Relativzahl") << "Relativzahl1" << int(SlotAusw);
        QTest::newRow("SIDC") << "SIDCImport" << int(SlotSIDC);
        QTest::newRow("Def. Rz TARVO-Netz") << "DefRzTARVO" << int(SlotDrTarvo);
    }
    void dataMenusWithoutObserverAskFirst() {
        QFETCH(QString, action);
        QFETCH(int, slot);
        QFile ini(iniPath()); // an observer is listed, but none is current
        QVERIFY(ini.open(QIODevice::WriteOnly));
        ini.write("[TARVO32]\r\nBeobachter=Niemand\r\nFileVersion=9\r\n[Beobachter]\r\nMuster=0001/\r\n");
        ini.close();
        QDir(dir_->path()).mkdir("0001");
        TSun w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QStringList before = QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        // A month table that comes up anyway is noted and closed again.
        bool opened = false;
        QTimer guard;
        guard.setInterval(5);
        connect(&guard, &QTimer::timeout, this, [&] {
            if (auto *table = qobject_cast<TSonMonatDlg *>(QApplication::activeModalWidget())) {
                opened = true;
                table->reject();
            }
        });
        guard.start();
        for (const bool yes : {false, true}) {
            QString asked;
            OnModal<QMessageBox>([&](QMessageBox *box) {
                asked = box->text();
                if (yes) // the observer settings come; cancelled, still no observer
                    OnModal<TEinstDLG>([](TEinstDLG *einst) { einst->reject(); });
                Child<QPushButton>(box, yes ? "BtnJa" : "BtnNein")->click();
            });
            Child<QAction>(&w, action.toLatin1().constData())->trigger();
            QVERIFY2(asked.startsWith(QStringLiteral("Es ist kein Beobachter eingerichtet.")),
                     qPrintable(asked));
            QCOMPARE(w.slotDialog(SlotEinst) != nullptr, yes);
        }
        QVERIFY(!opened);
        if (slot >= 0)
            QVERIFY(w.slotDialog(slot) == nullptr);
        QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(QDir(dir_->filePath("0001")).isEmpty());
    }

    void cancelledFirstStartLeavesEmptyList() {
        TSun w;
        OnModal<TAddBeobDLG>([](TAddBeobDLG *add) {
            OnModal<TEinstDLG>([](TEinstDLG *einst) { Child<QPushButton>(einst, "BtnCancel")->click(); });
            Child<QPushButton>(add, "BtnCancel")->click();
        });
        w.show();
        QTRY_VERIFY_WITH_TIMEOUT(Storage().DialogSlots[SlotAddBeob] && !QApplication::activeModalWidget(),
                                 10000);
        QCOMPARE(Child<QComboBox>(&w, "CBMandant")->count(), 0);
        QVERIFY(!QFileInfo::exists(dir_->filePath("0001")));
        QVERIFY(Storage().CurrentObserverDir.isEmpty());
    }

    void closingReleasesOpenedDialogs() {
        {
            // An existing observer: no first-start chain.
            IniFile ini(iniPath());
            ini.writeString("TARVO32", "Beobachter", "Muster");
            ini.writeString("TARVO32", "FileVersion", Storage().ProgramVersion);
            ini.writeString("Beobachter", "Muster", "0001/");
            ini.save();
        }
        TSun w;
        w.show();
        QTRY_COMPARE(Child<QComboBox>(&w, "CBMandant")->count(), 1);
        OnModal<TAboutDlg>([](TAboutDlg *about) { about->accept(); });
        Child<QAction>(&w, "Info1")->trigger();
        OnModal<QDialog>([](QDialog *d) { d->reject(); });
        Child<QAction>(&w, "email1")->trigger();
        OnModal<TAboutDlg>([](TAboutDlg *about) { about->accept(); });
        Child<QAction>(&w, "Info1")->trigger(); // the same instance again

        QList<int> set;
        for (int slot = 0; slot < 31; ++slot)
            if (Storage().DialogSlots[slot])
                set.append(slot);
        QCOMPARE(set, (QList<int>{SlotAbout, SlotEinstEmail}));
        QPointer<QDialog> about = w.slotDialog(SlotAbout);
        QPointer<QDialog> mail = w.slotDialog(SlotEinstEmail);
        QVERIFY(about && mail);
        QCOMPARE(w.findChildren<TAboutDlg *>().size(), 1);

        w.close();
        QVERIFY(!about && !mail);
        for (int slot = 0; slot < 31; ++slot)
            QVERIFY(!Storage().DialogSlots[slot]);
    }

    void menus() {
        TSun w;
        const QStringList hidden = {"Export1",
                                    "Neu1",
                                    "ffnen1",
                                    "Speichern1",
                                    "Speichernunter1",
                                    "Drucken1",
                                    "Druckereinrichtung1",
                                    "Beckzahl1",
                                    "Pettis1",
                                    "CV1",
                                    "bloesAuge1",
                                    "Einstellungen2"};
        for (const QString &name : hidden)
            QVERIFY2(!Child<QAction>(&w, name.toLatin1())->isVisible(), qPrintable(name));
        QVERIFY(!Child<QAction>(&w, "Assistent1")->isEnabled());
        QVERIFY(Child<QAction>(&w, "Assistent1")->isVisible());
        QVERIFY(!Child<QToolButton>(&w, "BtnAssistent")->isEnabled());
        for (const char *name :
             {"Monatsdaten1", "Positionsberechnung1", "Relativzahl1", "SIDCImport", "DefRzTARVO"})
            QVERIFY(Child<QAction>(&w, name)->isVisible() && Child<QAction>(&w, name)->isEnabled());
        QCOMPARE(Child<QToolButton>(&w, "ToolButton2")->toolTip(),
                 QStringLiteral("Einstellungen für den aktuellen Beobachter"));
        QVERIFY(Child<QComboBox>(&w, "CBMandant")->width() >= 145);
    }

    void aboutBox() {
        TAboutDlg about;
        QCOMPARE(about.windowTitle(), QStringLiteral("Info's zum TARVO Programm"));
        QCOMPARE(Child<QLabel>(&about, "Version")->text(),
                 QStringLiteral("Version: ") + Storage().ProgramVersion);
        QCOMPARE(Child<QLabel>(&about, "ProductName")->text(), QStringLiteral("TARVO 32"));
        // The box shows the picture its own libjpeg decoding gives.
        const QImage expected = DecodeJpegFile(":/about.jpg");
        QVERIFY(!about.picture().isNull());
        QCOMPARE(about.picture(), expected);
        const QPixmap shown = Child<QLabel>(&about, "ProgramIcon")->pixmap();
        QCOMPARE(shown.size(), expected.size());
        QVERIFY(!(about.windowFlags() & Qt::WindowCloseButtonHint));
    }

    void versionLabelIsCut() {
        Storage().ProgramVersion = QStringLiteral("1234567890.1234567890");
        TAboutDlg about;
        QCOMPARE(Child<QLabel>(&about, "Version")->text(), QStringLiteral("Version: 1234567890.12345"));
    }

    void helpMenu() {
        TSun w;
        Child<QAction>(&w, "Inhalt1")->trigger();
        auto *viewer = w.findChild<THelpViewerDlg *>();
        QVERIFY(viewer && viewer->isVisible());
        QCOMPARE(viewer->currentTopic(), QStringLiteral("index"));
        Child<QAction>(&w, "Hilfebenutzen1")->trigger();
        QCOMPARE(w.findChildren<THelpViewerDlg *>().size(), 1);
        QCOMPARE(viewer->currentTopic(), QStringLiteral("hilfe"));
        Child<QAction>(&w, "Suchen1")->trigger();
        QCOMPARE(Child<QTabWidget>(viewer, "HelpTabs")->currentIndex(), 1);
        auto *key = Child<QLineEdit>(viewer, "HelpSearchKey");
        QVERIFY(key->text().isEmpty());
        key->setText("SIDC");
        auto *hits = Child<QListWidget>(viewer, "HelpKeywords");
        QVERIFY(hits->count() >= 1);
        QVERIFY(hits->item(0)->text().startsWith("SIDC"));
        QTest::keyClick(key, Qt::Key_Return);
        QCOMPARE(viewer->currentTopic(), QStringLiteral("import"));
        Child<QListWidget>(viewer, "HelpContents")->setCurrentRow(0);
    }

    void helpPagesLinkToExistingPages() {
        const QString root = THelpViewerDlg::HelpRoot();
        const QStringList pages = QDir(root).entryList({"*.html"});
        QVERIFY(pages.size() >= 9);
        static const QRegularExpression link(QStringLiteral("href=\"([^\"]+)\""));
        for (const QString &page : pages) {
            QFile f(root + "/" + page);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString html = QString::fromUtf8(f.readAll());
            QVERIFY2(html.contains("<meta name=\"keywords\""), qPrintable(page));
            for (auto it = link.globalMatch(html); it.hasNext();) {
                const QString target = it.next().captured(1);
                QVERIFY2(QFile::exists(root + "/" + target), qPrintable(page + " -> " + target));
            }
        }
        // Every topic the dialogs use has its page.
        for (const QString &topic :
             {HelpTopic::Contents, HelpTopic::HelpOnHelp, HelpTopic::FirstStart, HelpTopic::Observer,
              HelpTopic::DayEntry, HelpTopic::MonthTable, HelpTopic::Reports, HelpTopic::Mail,
              HelpTopic::Import, HelpTopic::Evaluation})
            QVERIFY2(pages.contains(topic + ".html"), qPrintable(topic));
    }

    void unknownHelpTopic() {
        QWidget owner;
        ShowHelp(&owner, "gibt-es-nicht");
        auto *viewer = owner.findChild<THelpViewerDlg *>();
        QVERIFY(viewer);
        QVERIFY(Child<QTextBrowser>(viewer, "HelpBrowser")->toPlainText().contains("keine Hilfeseite"));
    }

    void errorDisplay_data() {
        QTest::addColumn<bool>("tarvoError");
        QTest::addColumn<QString>("message");
        QTest::newRow("TarvoError") << true << QString::fromUtf8("E/A-Fehler 5");
        QTest::newRow("std::exception") << false << QStringLiteral("kaputt");
    }
    void errorDisplay() {
        QFETCH(bool, tarvoError);
        QFETCH(QString, message);
        QPushButton button("Los");
        int clicks = 0;
        connect(&button, &QPushButton::clicked, [&] {
            ++clicks;
            if (tarvoError)
                throw TarvoError(message);
            throw std::runtime_error(message.toStdString());
        });
        button.show();
        QVERIFY(QTest::qWaitForWindowExposed(&button));
        QStringList shown;
        for (int i = 0; i < 2; ++i) {
            OnModal<QMessageBox>([&](QMessageBox *box) {
                shown.append(box->text());
                box->accept();
            });
            QTest::mouseClick(&button, Qt::LeftButton);
            QTRY_COMPARE(shown.size(), i + 1);
        }
        // Shown each time, and the program went on.
        QCOMPARE(clicks, 2);
        QCOMPARE(shown, (QStringList{message, message}));
        QCOMPARE(static_cast<TarvoApplication *>(qApp)->lastErrorMessage(), message);
    }
};

TARVO_SHELL_TEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
