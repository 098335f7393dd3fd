// The observer settings, add-observer and e-mail settings dialogs.
#include "../common/cli_run.h"
#include "../common/folder_snapshot.h"
#include "../common/permission_override.h"
#include "shell_test_util.h"

#include "shell/add_beob_dlg.h"
#include "shell/einst_dlg.h"
#include "shell/einst_email_dlg.h"
#include "shell/email_settings.h"
#include "shell/observer_admin.h"
#include "storage/storage_state.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>

class TestSettingsDialogs : public QObject {
    Q_OBJECT
private:
    QTemporaryDir *dir_ = nullptr;
    QString iniPath() const { return dir_->filePath("tarvo.ini"); }
    QString beobPath() const { return dir_->filePath("0001/beob.ini"); }

    // One observer "Muster" in 0001 with a profile; the current one.
    void makeObserver() {
        TObserverProfile p = EmptyProfile();
        LoadProgramSettings(p);
        p.Name1.assign("Muster");
        p.Name2.assign("Erika Muster");
        p.Instrument.assign("Refl.");
        p.Radius = 120;
        p.SMTPPass.assign("geheim");
        p.AddrPos.assign("pos@netz.invalid");
        p.Ein.set(CatWolf, true);
        p.Ein.set(CatNS, true);
        QDir(dir_->path()).mkdir("0001");
        StorageState &s = Storage();
        s.ObserverKeys = {"Muster"};
        s.ObserverDirs = {"0001/"};
        s.CurrentObserverKey = "Muster";
        s.CurrentObserverDir = "0001/";
        SaveProfile(p);
        SaveProgramSettings(p);
        LoadProgramSettings(p);
    }

    // Shows the dialog with the profile as the program loads it.
    static void ShowEmailDialog(TEinstEmailDlg &dlg) {
        TObserverProfile profile = EmptyProfile();
        LoadProgramSettings(profile);
        dlg.Profile = profile;
        dlg.show();
    }

    static QString messageOf(std::function<void()> trigger) {
        QString text;
        OnModal<QMessageBox>([&](QMessageBox *box) {
            text = box->text();
            box->accept();
        });
        trigger(); // the box runs its own event loop, so it has been answered when this returns
        return text;
    }

private slots:
    void initTestCase() { QVERIFY(DropPermissionOverride()); }
    void init() {
        dir_ = new QTemporaryDir;
        QVERIFY(dir_->isValid());
        StorageStartUp(dir_->path());
    }
    void cleanup() {
        delete dir_;
        dir_ = nullptr;
    }

    void settingsShowAndSave() {
        makeObserver();
        TEinstDLG dlg;
        dlg.show();
        QCOMPARE(Child<QLineEdit>(&dlg, "Name2")->text(), QStringLiteral("Erika Muster"));
        QCOMPARE(Child<QComboBox>(&dlg, "Instrument")->currentText(), QStringLiteral("Refl."));
        QCOMPARE(Child<QLineEdit>(&dlg, "Projektion")->text(), QStringLiteral("120"));
        auto *wolf = Child<QCheckBox>(&dlg, "Ein_Wolf");
        auto *ns = Child<QCheckBox>(&dlg, "Ein_NS");
        QVERIFY(wolf->isChecked() && ns->isEnabled() && ns->isChecked());
        // Nord-Süd is greyed without Wolf but keeps and saves its own state.
        wolf->click();
        QVERIFY(!ns->isEnabled());
        QVERIFY(ns->isChecked());
        Child<QLineEdit>(&dlg, "Name3")->setText(QString::fromUtf8("Sonnenstraße 1"));
        Child<QComboBox>(&dlg, "Instrument")->setCurrentIndex(-1);
        Child<QLineEdit>(&dlg, "Projektion")->setText("85");
        Child<QCheckBox>(&dlg, "aus_allg")->setChecked(false);
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const IniFile beob(beobPath());
        QCOMPARE(beob.readString("Beobachter", "Name3", ""), QString::fromUtf8("Sonnenstraße 1"));
        QCOMPARE(beob.readString("Beobachter", "Instrument", "x"), QString());
        QCOMPARE(beob.readString("Beobachter", "Radius", ""), QStringLiteral("85"));
        QCOMPARE(beob.readString("Ein", "Wolf", ""), QStringLiteral("0"));
        QCOMPARE(beob.readString("Ein", "N-S", ""), QStringLiteral("1"));
        QCOMPARE(beob.readString("Aus", "Bemerkung", ""), QStringLiteral("0"));
        QCOMPARE(beob.readString("email", "SMTPPass", ""), QStringLiteral("geheim")); // untouched
    }

    void radiusNotAnInteger() {
        makeObserver();
        const QByteArray before = IniFile(beobPath()).toBytes();
        TEinstDLG dlg;
        dlg.show();
        Child<QLineEdit>(&dlg, "Name2")->setText("Neuer Name"); // typed on another page
        auto *radius = Child<QLineEdit>(&dlg, "Projektion");
        radius->setText("");
        QCOMPARE(messageOf([&] { Child<QPushButton>(&dlg, "BtnOK")->click(); }),
                 QString::fromUtf8("Projektionsradius: '' ist kein gültiger Integerwert"));
        // Still open, on the radius, nothing saved, nothing typed lost.
        QVERIFY(dlg.isVisible());
        QCOMPARE(Child<QTabWidget>(&dlg, "PageControl1")->currentWidget()->objectName(),
                 QStringLiteral("TPos"));
        QCOMPARE(dlg.focusWidget(), radius);
        QCOMPARE(Child<QLineEdit>(&dlg, "Name2")->text(), QStringLiteral("Neuer Name"));
        QCOMPARE(IniFile(beobPath()).toBytes(), before);
        // Cancel still discards.
        Child<QPushButton>(&dlg, "BtnCancel")->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(IniFile(beobPath()).toBytes(), before);
        dlg.show();
        QCOMPARE(Child<QLineEdit>(&dlg, "Name2")->text(), QStringLiteral("Erika Muster"));
    }

    void unknownInstrumentShowsNone() {
        makeObserver();
        IniFile beob(beobPath());
        beob.writeString("Beobachter", "Instrument", "Spieg");
        beob.save();
        TEinstDLG dlg;
        dlg.show();
        QCOMPARE(Child<QComboBox>(&dlg, "Instrument")->currentIndex(), -1);
    }

    void addDialogLists() {
        QFile::copy(TARVO_TEST_DATA "/shell/observer.dat", dir_->filePath("observer.dat"));
        TObserverProfile p = EmptyProfile();
        LoadProgramSettings(p);
        TAddBeobDLG dlg;
        dlg.show();
        QCOMPARE(Child<QLabel>(&dlg, "lPfad")->text(), QDir::toNativeSeparators("0001/"));
        auto *list = Child<QComboBox>(&dlg, "CBObserver");
        QVERIFY(list->isVisible());
        QVERIFY(!Child<QLabel>(&dlg, "lObserverMissing")->isVisible());
        QVERIFY(!Child<QComboBox>(&dlg, "CBBeoStm")->isVisible()); // no beostm.000
        QVERIFY(Child<QLabel>(&dlg, "lBeoStmMissing")->isVisible());
        QCOMPARE(list->currentText(), QString::fromUtf8("wählen Sie bitte hier aus"));
        QCOMPARE(list->count(), 3);

        list->setCurrentIndex(0);
        emit list->activated(0);
        QCOMPARE(Child<QLineEdit>(&dlg, "Name1")->text(), QStringLiteral("Muster"));
        QCOMPARE(Child<QComboBox>(&dlg, "Instrument")->currentText(), QStringLiteral("Refr."));
        QCOMPARE(Child<QLineEdit>(&dlg, "Oeffn")->text(), QStringLiteral("100"));
        QCOMPARE(Child<QLineEdit>(&dlg, "Brenn")->text(), QStringLiteral("1000"));
        QCOMPARE(dlg.NewProfile.Brenn.text(), QStringLiteral("1000"));

        // Typing into the list's text selects nothing and empties the fields.
        list->lineEdit()->setFocus();
        QTest::keyClick(list->lineEdit(), Qt::Key_X);
        QVERIFY(Child<QLineEdit>(&dlg, "Name1")->text().isEmpty());
        QVERIFY(dlg.NewProfile.Name1.text().isEmpty());
        QVERIFY(dlg.NewProfile.Oeffn.text().isEmpty());
        QCOMPARE(Child<QComboBox>(&dlg, "Instrument")->currentIndex(), -1);

        // Typed values go into the new profile.
        Child<QLineEdit>(&dlg, "Name1")->setText("Eigener");
        Child<QComboBox>(&dlg, "Instrument")->setCurrentIndex(3);
        QCOMPARE(dlg.NewProfile.Name1.text(), QStringLiteral("Eigener"));
        QCOMPARE(dlg.NewProfile.Instrument.text(), QStringLiteral("Visu."));
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(IniValue(iniPath(), "Beobachter", "Eigener"), QStringLiteral("0001/"));
        QCOMPARE(IniValue(dir_->filePath("0001/beob.ini"), "Beobachter", "Instrument"),
                 QStringLiteral("Visu."));
    }

    // A new observer can count spots at once: the relative number's entry
    // and output are on, everything else off.
    void newObserverCountsTheRelativeNumber() {
        TObserverProfile p = EmptyProfile();
        LoadProgramSettings(p);
        TAddBeobDLG dlg;
        dlg.show();
        Child<QLineEdit>(&dlg, "Name1")->setText("Neu");
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        const IniFile beob(dir_->filePath("0001/beob.ini"));
        for (const CategoryKey &c : kCategoryKeys) {
            const bool on = c.index == CatWolf || c.index == CatNS;
            for (const char *section : {"Ein", "Aus"})
                QVERIFY2(beob.readString(section, c.key, "") ==
                             (on ? QStringLiteral("1") : QStringLiteral("0")),
                         qPrintable(QStringLiteral("%1 %2").arg(section, c.key)));
        }
    }

    // "Entfernen…": after the question the observer leaves the list, its
    // folder is kept under a backup name, and the other one becomes current.
    void removeObserver() {
        makeObserver();
        const QByteArray muster = IniFile(beobPath()).toBytes();
        TObserverProfile anna = EmptyProfile();
        anna.Name1.assign("Anna");
        AddObserver(anna, FindFreeObserverDir());
        StorageState &s = Storage();
        s.CurrentObserverKey = "Muster";
        s.CurrentObserverDir = "0001/";
        SaveProgramSettings(anna);
        QFile year(dir_->filePath("0001/SO2004.DAT"));
        QVERIFY(year.open(QIODevice::WriteOnly));
        year.write(QByteArray(56160, '\x01'));
        year.close();

        TEinstDLG dlg;
        dlg.show();
        auto *remove = Child<QPushButton>(&dlg, "BtnDelete");
        QVERIFY(remove->isEnabled());
        QCOMPARE(remove->text(), QStringLiteral("E&ntfernen…"));
        const QString backup = dir_->filePath("0001.entfernt-" + QDate::currentDate().toString(Qt::ISODate));
        MessageBoxCatcher boxes;
        boxes.answerWith("BtnRemoveYes");
        remove->click();
        QCOMPARE(boxes.texts.size(), 2); // the question, then what became of the folder
        QVERIFY(boxes.texts[0].contains(QStringLiteral("„Muster“")));
        QVERIFY2(boxes.texts[0].contains(QDir::toNativeSeparators(dir_->filePath("0001"))),
                 qPrintable(boxes.texts[0]));
        QVERIFY(boxes.texts[0].contains(QDir::toNativeSeparators(backup)));
        QVERIFY(boxes.texts[1].contains(QDir::toNativeSeparators(backup)));

        // The folder is kept whole under its new name; nothing is deleted.
        QVERIFY(!QFileInfo::exists(dir_->filePath("0001")));
        QCOMPARE(IniFile(backup + "/beob.ini").toBytes(), muster);
        QCOMPARE(QFileInfo(backup + "/SO2004.DAT").size(), qint64(56160));
        const IniFile ini(iniPath());
        QCOMPARE(ini.sectionKeys("Beobachter"), QStringList{"Anna"});
        QCOMPARE(ini.readString("TARVO32", "Beobachter", ""), QStringLiteral("Anna"));
        QCOMPARE(s.CurrentObserverKey, QStringLiteral("Anna"));
        QVERIFY(dlg.ObserversChanged);
        QCOMPARE(Child<QLineEdit>(&dlg, "Name1")->text(), QStringLiteral("Anna"));

        const CliRun observers = RunCli({"--home", dir_->path(), "observers"});
        QCOMPARE(observers.exitCode, 0);
        QCOMPARE(observers.out, QByteArray("* Anna\t0002/\n"));
    }

    void removeObserverAnsweredNo() {
        makeObserver();
        const FolderSnapshot before = SnapshotFolder(dir_->path());
        TEinstDLG dlg;
        dlg.show();
        MessageBoxCatcher boxes;
        boxes.answerWith("BtnRemoveNo");
        Child<QPushButton>(&dlg, "BtnDelete")->click();
        QCOMPARE(boxes.texts.size(), 1);
        QCOMPARE(SnapshotFolder(dir_->path()), before);
        QCOMPARE(Storage().ObserverKeys, QStringList{"Muster"});
        QVERIFY(!dlg.ObserversChanged);
    }

    // The last observer taken out: none is current, as on a first start,
    // and the add dialog offers a new one.
    void removeTheLastObserver() {
        makeObserver();
        TEinstDLG dlg;
        dlg.show();
        bool addOffered = false;
        OnModal<TAddBeobDLG>([&](TAddBeobDLG *add) {
            addOffered = true;
            add->reject();
        });
        MessageBoxCatcher boxes;
        boxes.answerWith("BtnRemoveYes");
        Child<QPushButton>(&dlg, "BtnDelete")->click();
        QTRY_VERIFY(addOffered);
        QVERIFY(Storage().ObserverKeys.isEmpty());
        QVERIFY(Storage().CurrentObserverKey.isEmpty());
        QVERIFY(!Storage().ObserversPresent);
        QVERIFY(!IniFile(iniPath()).sectionExists("Beobachter"));
        QVERIFY(
            QFileInfo(dir_->filePath("0001.entfernt-" + QDate::currentDate().toString(Qt::ISODate))).isDir());
        QVERIFY(!Child<QPushButton>(&dlg, "BtnDelete")->isEnabled());
        const CliRun observers = RunCli({"--home", dir_->path(), "observers"});
        QCOMPARE(observers.exitCode, 0);
        QCOMPARE(observers.out, QByteArray());
    }

    void addDialogRefusals_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("listed") << "muster"
                                << "bereits vorhanden";
        QTest::newRow("empty") << ""
                               << "Bitte geben Sie das Kürzel";
    }
    void addDialogRefusals() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        makeObserver();
        const QByteArray before = IniFile(iniPath()).toBytes();
        TAddBeobDLG dlg;
        dlg.show();
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0002/")); // reserved while open
        Child<QLineEdit>(&dlg, "Name1")->setText(name);
        QVERIFY(messageOf([&] { Child<QPushButton>(&dlg, "BtnOK")->click(); }).contains(message));
        QVERIFY(dlg.isVisible());
        QVERIFY(!QFileInfo::exists(dir_->filePath("0002")));
        QCOMPARE(Storage().ObserverKeys, QStringList{"Muster"});
        // Cancel restores the current observer.
        Child<QPushButton>(&dlg, "BtnCancel")->click();
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001/"));
        QCOMPARE(Storage().CurrentObserverKey, QStringLiteral("Muster"));
        QCOMPARE(IniFile(iniPath()).toBytes(), before);
    }

    void password_data() {
        QTest::addColumn<bool>("touch");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("untouched") << false << QString() << "geheim";
        QTest::newRow("15 asterisks typed") << true << "***************"
                                            << "geheim";
        QTest::newRow("14 asterisks") << true << "**************"
                                      << "**************";
        QTest::newRow("new password") << true << "neu123"
                                      << "neu123";
        QTest::newRow("emptied") << true << ""
                                 << "";
    }
    void password() {
        QFETCH(bool, touch);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        makeObserver();
        TEinstEmailDlg dlg;
        ShowEmailDialog(dlg);
        auto *pass = Child<QLineEdit>(&dlg, "SMTPPass");
        QCOMPARE(pass->text(), kPasswordPlaceholder); // the stored password is never shown
        QCOMPARE(pass->echoMode(), QLineEdit::Password);
        if (touch)
            pass->setText(typed);
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(IniValue(beobPath(), "email", "SMTPPass"), stored);
        QCOMPARE(dlg.Profile.SMTPPass.text(), stored);
    }

    void emailSettingsSaved() {
        makeObserver();
        TEinstEmailDlg dlg;
        ShowEmailDialog(dlg);
        QCOMPARE(Child<QLineEdit>(&dlg, "ePosition")->text(), QStringLiteral("pos@netz.invalid"));
        Child<QLineEdit>(&dlg, "eMail")->setText("erika@example.invalid");
        Child<QLineEdit>(&dlg, "eRe")->setText("re-neu@netz.invalid");
        Child<QLineEdit>(&dlg, "ePosition")->clear();
        Child<QCheckBox>(&dlg, "cbMailA")->setChecked(true);
        Child<QCheckBox>(&dlg, "cbCC")->setChecked(true);
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(IniValue(beobPath(), "email", "email"), QStringLiteral("erika@example.invalid"));
        QCOMPARE(IniValue(beobPath(), "email", "Send-A"), QStringLiteral("1"));
        QCOMPARE(IniValue(beobPath(), "email", "Send-CC"), QStringLiteral("1"));
        QCOMPARE(IniValue(iniPath(), "email", "RE"), QStringLiteral("re-neu@netz.invalid"));
        // An emptied address is not written: the old one stays in tarvo.ini.
        QCOMPARE(IniValue(iniPath(), "email", "Pos"), QStringLiteral("pos@netz.invalid"));
    }

    // The switch for a server without encryption: off in a profile written
    // before it existed, stored in the observer's beob.ini, read back.
    void plainLoginSwitchIsStored() {
        makeObserver();
        QCOMPARE(IniValue(beobPath(), "email", "SMTPOhneTLS"), QStringLiteral("0"));
        IniFile older(beobPath());
        older.eraseSection("email"); // as a file of an older version: no such key
        older.writeString("email", "SMTPBen", "beobachter");
        older.save();
        TEinstEmailDlg dlg;
        ShowEmailDialog(dlg);
        auto *box = Child<QCheckBox>(&dlg, "cbOhneTLS");
        QCOMPARE(box->text(), QStringLiteral("Anmeldung ohne Verschlüsselung erlauben"));
        QVERIFY(!box->isChecked());
        box->setChecked(true);
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QVERIFY(dlg.Profile.AllowPlainLogin);
        QCOMPARE(IniValue(beobPath(), "email", "SMTPOhneTLS"), QStringLiteral("1"));
        QCOMPARE(IniValue(beobPath(), "email", "SMTPBen"), QStringLiteral("beobachter"));
        TObserverProfile loaded = EmptyProfile();
        LoadProgramSettings(loaded);
        QVERIFY(loaded.AllowPlainLogin);

        ShowEmailDialog(dlg);
        QVERIFY(box->isChecked());
        box->setChecked(false);
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(IniValue(beobPath(), "email", "SMTPOhneTLS"), QStringLiteral("0"));
    }

    void emailCancelChangesNothing() {
        makeObserver();
        const QByteArray ini = IniFile(iniPath()).toBytes(), beob = IniFile(beobPath()).toBytes();
        TEinstEmailDlg dlg;
        ShowEmailDialog(dlg);
        Child<QLineEdit>(&dlg, "SMTP")->setText("smtp.example.invalid");
        Child<QLineEdit>(&dlg, "SMTPPass")->setText("anders");
        Child<QPushButton>(&dlg, "BtnCancel")->click();
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QCOMPARE(IniFile(iniPath()).toBytes(), ini);
        QCOMPARE(IniFile(beobPath()).toBytes(), beob);
    }

    // A failed save leaves both files as they were, whichever of them fails.
    void emailFailedSaveWritesNothing_data() {
        QTest::addColumn<QString>("locked");
        QTest::newRow("tarvo.ini") << "tarvo.ini";
        QTest::newRow("beob.ini") << "0001/beob.ini";
    }
    void emailFailedSaveWritesNothing() {
        QFETCH(QString, locked);
        makeObserver();
        const QByteArray ini = IniFile(iniPath()).toBytes(), beob = IniFile(beobPath()).toBytes();
        const QString lockedPath = dir_->filePath(locked);
        const QFile::Permissions permissions = QFileInfo(lockedPath).permissions();
        QVERIFY(QFile::setPermissions(lockedPath, QFile::ReadOwner));
        TEinstEmailDlg dlg;
        ShowEmailDialog(dlg);
        Child<QLineEdit>(&dlg, "eRe")->setText("re-neu@netz.invalid");
        Child<QLineEdit>(&dlg, "SMTPBen")->setText("neu");
        const QString shown = messageOf([&] { Child<QPushButton>(&dlg, "BtnOK")->click(); });
        QVERIFY(QFile::setPermissions(lockedPath, permissions));
        QCOMPARE(shown, QStringLiteral("In %1 kann nicht geschrieben werden").arg(lockedPath));
        QVERIFY(dlg.isVisible());
        QCOMPARE(IniFile(iniPath()).toBytes(), ini);
        QCOMPARE(IniFile(beobPath()).toBytes(), beob);
    }

    void emailTextsWindows1252CannotHold_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("message");
        QTest::newRow("password") << "SMTPPass"
                                  << "Das Passwort enthält Zeichen, die nicht gespeichert werden können.";
        QTest::newRow("name") << "eName"
                              << "\"Łukasz\" enthält Zeichen, die nicht gespeichert werden können.";
    }
    void emailTextsWindows1252CannotHold() {
        QFETCH(QString, field);
        QFETCH(QString, message);
        makeObserver();
        const QByteArray beob = IniFile(beobPath()).toBytes();
        TEinstEmailDlg dlg;
        ShowEmailDialog(dlg);
        Child<QLineEdit>(&dlg, qPrintable(field))->setText(QStringLiteral("Łukasz"));
        QCOMPARE(messageOf([&] { Child<QPushButton>(&dlg, "BtnOK")->click(); }), message);
        QVERIFY(dlg.isVisible());
        QCOMPARE(IniFile(beobPath()).toBytes(), beob);
    }

    // Restoring a minimised dialog is no new showing: what was typed stays,
    // and the add dialog does not reserve another directory.
    void restoredDialogsKeepTheirState() {
        makeObserver();
        TEinstEmailDlg email;
        ShowEmailDialog(email);
        Child<QLineEdit>(&email, "SMTPBen")->setText("getippt");
        email.setWindowState(Qt::WindowMinimized);
        email.setWindowState(Qt::WindowNoState);
        QCOMPARE(Child<QLineEdit>(&email, "SMTPBen")->text(), QStringLiteral("getippt"));
        email.reject();

        TAddBeobDLG add;
        add.show();
        Child<QLineEdit>(&add, "Name1")->setText("Neu");
        add.setWindowState(Qt::WindowMinimized);
        add.setWindowState(Qt::WindowNoState);
        QCOMPARE(Child<QLineEdit>(&add, "Name1")->text(), QStringLiteral("Neu"));
        Child<QPushButton>(&add, "BtnCancel")->click();
        QCOMPARE(Storage().CurrentObserverDir, QStringLiteral("0001/"));
        QCOMPARE(Storage().CurrentObserverKey, QStringLiteral("Muster"));
    }

    void emailWithoutObserver() {
        TEinstEmailDlg dlg;
        ShowEmailDialog(dlg);
        QVERIFY(messageOf([&] {
                    Child<QPushButton>(&dlg, "BtnOK")->click();
                }).contains("noch kein Beobachter angelegt"));
        QVERIFY(dlg.isVisible());
        QVERIFY(!QFileInfo::exists(dir_->filePath("beob.ini")));
    }
};

TARVO_SHELL_TEST_MAIN(TestSettingsDialogs)
#include "test_settings_dialogs.moc"
