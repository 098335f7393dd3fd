// The backup and restore dialogs, their menu items and the reminder on closing.
#include "backup_fixture.h"

#include "../common/file_size_limit.h"
#include "../shell/shell_test_util.h"
#include "backup/backup_dlg.h"
#include "backup/backup_reader.h"
#include "backup/backup_reminder_widget.h"
#include "backup/backup_settings.h"
#include "backup/backup_writer.h"
#include "backup/restore_dlg.h"
#include "shell/einst_dlg.h"
#include "shell/main_window_ui.h"
#include "storage/ini_file.h"
#include "uikit/help_viewer_dlg.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <csignal>

namespace {

QList<TBackupReminder *> Reminders() {
    QList<TBackupReminder *> notes;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *note = qobject_cast<TBackupReminder *>(w); note && note->isVisible())
            notes << note;
    return notes;
}

void CloseReminders() {
    for (TBackupReminder *note : Reminders())
        note->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void SetBackupKeys(const QString &home, const QString &key, const QString &value) {
    IniFile ini(home + QStringLiteral("/tarvo.ini"));
    ini.writeString(QStringLiteral("Datensicherung"), key, value);
    ini.save();
}

} // namespace

class TestBackupDialogs : public QObject {
    Q_OBJECT
    QTemporaryDir *home_ = nullptr;
    QTemporaryDir *out_ = nullptr;

private slots:
    void init() {
        home_ = new QTemporaryDir;
        out_ = new QTemporaryDir;
        MakeProgramFolder(home_->path());
    }
    void cleanup() {
        CloseReminders();
        delete home_;
        delete out_;
    }

    void menuItemsHaveTheirOwnAccelerators() {
        TSun w;
        auto *datei = Child<QMenu>(&w, "Datei1");
        QCOMPARE(Child<QAction>(&w, "Datensicherung1")->text(), QStringLiteral("Daten&sicherung…"));
        QCOMPARE(Child<QAction>(&w, "Wiederherstellen1")->text(), QStringLiteral("&Wiederherstellen…"));
        // Every visible item of the menu has an underlined letter of its own.
        QStringList letters;
        for (QAction *a : datei->actions()) {
            if (!a->isVisible() || a->isSeparator())
                continue;
            const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
            QVERIFY2(amp >= 0, qPrintable(a->text()));
            letters << a->text().mid(amp + 1, 1).toLower();
        }
        QCOMPARE(letters, (QStringList{"i", "s", "w", "b"}));

        // The letters work: in the open menu S and W open the dialogs.
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        for (const auto &[key, dialogName] :
             {std::pair{Qt::Key_S, "TBackupDlg"}, std::pair{Qt::Key_W, "TRestoreDlg"}}) {
            QString opened;
            OnModal<QDialog>([&opened](QDialog *d) {
                opened = d->objectName();
                d->reject();
            });
            w.menuBar()->setActiveAction(datei->menuAction());
            QTRY_VERIFY(datei->isVisible());
            QTest::keyClick(datei, key);
            QTRY_COMPARE(opened, QString::fromLatin1(dialogName));
        }
        w.close();
    }

    void backupDialogWritesTheZipAndRemembersTheFolder() {
        TSun w;
        QString shownContents;
        QString shownLast;
        QStringList boxTexts;
        {
            MessageBoxCatcher boxes;
            OnModal<TBackupDlg>([&](TBackupDlg *dlg) {
                shownContents = Child<QLabel>(dlg, "LInhalt")->text();
                shownLast = Child<QLabel>(dlg, "LLetzte")->text();
                QCOMPARE(Child<QLineEdit>(dlg, "EDatei")->text(),
                         DefaultBackupFileName(QDate::currentDate()));
                Child<QLineEdit>(dlg, "EOrdner")->setText(out_->path());
                Child<QLineEdit>(dlg, "EDatei")->setText(QStringLiteral("sicherung"));
                Child<QPushButton>(dlg, "BtnOK")->click();
            });
            Child<QAction>(&w, "Datensicherung1")->trigger();
            boxTexts = boxes.texts;
        }
        QVERIFY2(shownContents.startsWith(QStringLiteral(
                     "tarvo.ini, 2 Beobachter (Muster, Anna) und die Referenzdaten – 9 Dateien, zusammen ")),
                 qPrintable(shownContents));
        QCOMPARE(shownLast, QStringLiteral("Letzte Datensicherung: noch keine"));
        const QString zip = out_->filePath(QStringLiteral("sicherung.zip"));
        QCOMPARE(boxTexts.size(), 1);
        QVERIFY2(boxTexts[0].startsWith(QStringLiteral("Die Datensicherung ist geschrieben:\n") + zip),
                 qPrintable(boxTexts[0]));
        QCOMPARE(ReadVerifiedBackup(zip).contents.size(), ExpectedEntries().size());
        const BackupSettings settings = LoadBackupSettings();
        QCOMPARE(settings.lastBackup, QDate::currentDate());
        QCOMPARE(settings.folder, out_->path());

        // The next time the folder is offered again; an existing file is replaced only when confirmed.
        QString asked;
        OnModal<TBackupDlg>([&](TBackupDlg *dlg) {
            QCOMPARE(Child<QLineEdit>(dlg, "EOrdner")->text(), out_->path());
            Child<QLineEdit>(dlg, "EDatei")->setText(QStringLiteral("sicherung.zip"));
            OnModal<QMessageBox>([&asked](QMessageBox *ask) {
                asked = ask->text();
                ask->reject(); // "Abbrechen"
            });
            Child<QPushButton>(dlg, "BtnOK")->click();
            QVERIFY(dlg->isVisible());
            dlg->reject();
        });
        const QByteArray before = ReadTestFile(zip);
        Child<QAction>(&w, "Datensicherung1")->trigger();
        QCOMPARE(asked, QStringLiteral("Die Datei „%1“ gibt es schon. Soll sie ersetzt werden?").arg(zip));
        QCOMPARE(ReadTestFile(zip), before);
    }

    void backupDialogShowsAFailedWrite() {
        TBackupDlg dlg;
        dlg.show();
        Child<QLineEdit>(&dlg, "EOrdner")->setText(out_->path());
        MessageBoxCatcher boxes;
        std::signal(SIGXFSZ, SIG_IGN);
        {
            const FileSizeLimit limit(4096);
            QVERIFY(Child<QPushButton>(&dlg, "BtnOK")->isEnabled());
            Child<QPushButton>(&dlg, "BtnOK")->click();
        }
        const QString zip = out_->filePath(DefaultBackupFileName(QDate::currentDate()));
        QCOMPARE(boxes.texts,
                 QStringList{QStringLiteral("In %1 kann nicht geschrieben werden. Die Datensicherung "
                                            "wurde nicht geschrieben.")
                                 .arg(zip)});
        QVERIFY(dlg.isVisible());
        QVERIFY(QDir(out_->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        QVERIFY(!LoadBackupSettings().lastBackup.isValid());

        boxes.clear();
        Child<QLineEdit>(&dlg, "EOrdner")->setText(out_->filePath(QStringLiteral("fehlt")));
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(boxes.texts,
                 QStringList{QStringLiteral("Den Ordner „%1“ gibt es nicht.").arg(out_->filePath("fehlt"))});
    }

    void restoreDialogShowsTheBackupThenRestoresAndReloads() {
        const QString zip = out_->filePath(QStringLiteral("s.zip"));
        WriteBackup(zip, BackupScope::Current(), QDateTime(QDate(2026, 5, 3), QTime(14, 22)));
        // Since the backup: March 2004 changed and another observer came.
        WriteTestFile(home_->filePath(QStringLiteral("0001/SO2004.DAT")), YearBytes(SampleYear(70)));
        IniFile ini(home_->filePath(QStringLiteral("tarvo.ini")));
        ini.writeString(QStringLiteral("Beobachter"), QStringLiteral("Neu"), QStringLiteral("0003\\"));
        ini.writeString(QStringLiteral("TARVO32"), QStringLiteral("Beobachter"), QStringLiteral("Neu"));
        ini.save();

        TSun w;
        w.show();
        QTRY_COMPARE(Child<QComboBox>(&w, "CBMandant")->count(), 3);
        MessageBoxCatcher boxes;
        QStringList shown;
        OnModal<TRestoreDlg>([&](TRestoreDlg *dlg) {
            QVERIFY(!Child<QPushButton>(dlg, "BtnOK")->isEnabled());
            dlg->openBackup(zip);
            shown << Child<QLabel>(dlg, "LInhalt")->text()
                  << Child<QPlainTextEdit>(dlg, "MAenderungen")->toPlainText()
                  << Child<QLabel>(dlg, "LHinweis")->text();
            QVERIFY(!Child<QPushButton>(dlg, "BtnOK")->isDefault());
            Child<QPushButton>(dlg, "BtnOK")->click();
        });
        Child<QAction>(&w, "Wiederherstellen1")->trigger();
        QCOMPARE(shown.size(), 3);
        QVERIFY2(shown[0].startsWith(QStringLiteral("Gesichert am: 03.05.2026 14:22\nProgrammversion: ")),
                 qPrintable(shown[0]));
        QVERIFY(shown[0].contains(QStringLiteral("\nBeobachter Muster (Ordner 0001): Jahre 2004\n"
                                                 "Beobachter Anna (Ordner 0002): Jahre 2010\n")));
        QCOMPARE(shown[1], QStringLiteral("ersetzt: 0001/SO2004.DAT\nersetzt: tarvo.ini\n"
                                          "nicht mehr in der Beobachterliste (Ordner bleibt): Neu (0003)\n"
                                          "unverändert: 7 Dateien"));
        QVERIFY(shown[2].contains(QStringLiteral("Sicherungen")));
        QCOMPARE(boxes.texts.size(), 1);
        QVERIFY2(boxes.texts[0].startsWith(QStringLiteral("Die Datensicherung vom 03.05.2026 14:22 ist "
                                                          "wiederhergestellt (2 Dateien geschrieben).")),
                 qPrintable(boxes.texts[0]));
        QCOMPARE(ReadTestFile(home_->filePath(QStringLiteral("0001/SO2004.DAT"))), YearBytes(SampleYear(10)));
        // The window follows: the restored observer list and current observer.
        auto *combo = Child<QComboBox>(&w, "CBMandant");
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->currentText(), QStringLiteral("Muster"));
        QCOMPARE(w.Profile.Name2.text(), QStringLiteral("Anna Jäger"));
        QCOMPARE(Child<QStatusBar>(&w, "SB")->currentMessage(), QStringLiteral("Muster"));
    }

    void enterInTheFileFieldOpensTheBackup() {
        const QString zip = out_->filePath(QStringLiteral("s.zip"));
        WriteBackup(zip, BackupScope::Current());
        TRestoreDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowActive(&dlg));
        auto *file = Child<QLineEdit>(&dlg, "ESicherung");
        file->setFocus();
        file->setText(zip);
        QTest::keyClick(file, Qt::Key_Return);
        QVERIFY(dlg.isVisible());
        QVERIFY(Child<QPushButton>(&dlg, "BtnOK")->isEnabled());
        QVERIFY(Child<QLabel>(&dlg, "LInhalt")->text().startsWith(QStringLiteral("Gesichert am: ")));
        QTest::keyClick(file, Qt::Key_Return); // again: still no restore
        QVERIFY(dlg.isVisible());
        QVERIFY(!QFileInfo::exists(home_->filePath(QStringLiteral("Sicherungen"))));
    }

    void restoreDialogRefusesADamagedBackup() {
        const QString zip = out_->filePath(QStringLiteral("s.zip"));
        WriteBackup(zip, BackupScope::Current());
        QByteArray bytes = ReadTestFile(zip);
        bytes.chop(10);
        WriteTestFile(zip, bytes);
        TRestoreDlg dlg;
        dlg.show();
        dlg.openBackup(zip);
        auto *error = Child<QLabel>(&dlg, "LFehler");
        QVERIFY(error->isVisible());
        QVERIFY2(error->text().startsWith(
                     QStringLiteral("Die Datensicherung „%1“ ist nicht verwendbar.").arg(zip)),
                 qPrintable(error->text()));
        QVERIFY(error->text().endsWith(QStringLiteral("Es wurde nichts verändert.")));
        QVERIFY(!Child<QPushButton>(&dlg, "BtnOK")->isEnabled());
        QVERIFY(Child<QPlainTextEdit>(&dlg, "MAenderungen")->toPlainText().isEmpty());
    }

    void f1OpensTheBackupHelp() {
        for (QDialog *dlg :
             {static_cast<QDialog *>(new TBackupDlg), static_cast<QDialog *>(new TRestoreDlg)}) {
            dlg->show();
            QVERIFY(QTest::qWaitForWindowActive(dlg));
            QTest::keyClick(dlg, Qt::Key_F1);
            auto *viewer = dlg->findChild<THelpViewerDlg *>();
            QVERIFY(viewer && viewer->isVisible());
            QCOMPARE(viewer->currentTopic(), HelpTopic::Backup);
            delete dlg;
        }
    }

    void reminderNoteOnClosingWhenTheLastBackupIsOld() {
        SetBackupKeys(home_->path(), QStringLiteral("Letzte"),
                      QDate::currentDate().addDays(-100).toString(Qt::ISODate));
        {
            TSun w;
            w.show();
            w.close();
            w.close(); // closed twice: still one note
        }
        const QList<TBackupReminder *> notes = Reminders();
        QCOMPARE(notes.size(), 1);
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY2(Child<QLabel>(notes[0], "LText")
                     ->text()
                     .startsWith(QStringLiteral("Ihre letzte Datensicherung ist 100 Tage alt")),
                 qPrintable(Child<QLabel>(notes[0], "LText")->text()));
        // It goes by itself; Esc closes it at once.
        QCOMPARE(Child<QTimer>(notes[0], "CloseTimer")->remainingTime() > 0, true);
        QTest::keyClick(notes[0], Qt::Key_Escape);
        QTRY_VERIFY(Reminders().isEmpty());
    }

    void reminderNoteOffersTheBackup() {
        TBackupReminder *note =
            ShowBackupReminderIfDue(QDate::currentDate()); // never backed up, observations exist
        QVERIFY(note);
        OnModal<TBackupDlg>([](TBackupDlg *dlg) { dlg->reject(); });
        Child<QPushButton>(note, "BtnSichern")->click();
        QTRY_VERIFY(Reminders().isEmpty());
    }

    void noReminderWhenRecentOrSwitchedOff_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("backup 3 days ago")
            << "Letzte" << QDate::currentDate().addDays(-3).toString(Qt::ISODate);
        QTest::newRow("reminder off") << "Erinnerung"
                                      << "0";
    }
    void noReminderWhenRecentOrSwitchedOff() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        SetBackupKeys(home_->path(), key, value);
        {
            TSun w;
            w.show();
            w.close();
        }
        QVERIFY(Reminders().isEmpty());
    }

    void reminderIntervalIsAProgramSetting() {
        TEinstDLG dlg;
        dlg.show();
        auto *pages = Child<QTabWidget>(&dlg, "PageControl1");
        QCOMPARE(pages->tabText(pages->count() - 1), QStringLiteral("Progra&mm"));
        auto *days = Child<QSpinBox>(&dlg, "SEErinnerung");
        QCOMPARE(days->value(), 30);
        days->setValue(45);
        Child<QPushButton>(&dlg, "BtnOK")->click();
        QCOMPARE(LoadBackupSettings().reminderDays, 45);
        dlg.show();
        QCOMPARE(days->value(), 45);
    }
};

TARVO_SHELL_TEST_MAIN(TestBackupDialogs)
#include "test_backup_dialogs.moc"
