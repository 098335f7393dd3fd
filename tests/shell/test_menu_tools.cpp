// The main window's menu items open the tools with a copy of the profile.
#include "shell_test_util.h"

#include "evaluation/auswert_dlg.h"
#include "month/sonmonat_dlg.h"
#include "network/drtarvo_dlg.h"
#include "network/sidc_dlg.h"
#include "uikit/dialog_slots.h"
#include "shell/main_window_ui.h"
#include "solar/sonpos_dlg.h"
#include "storage/profile.h"
#include "storage/storage_state.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>

class MenuToolsTest : public QObject {
    Q_OBJECT

    QTemporaryDir *dir_ = nullptr;

    // Triggers the menu item and returns the class name of the modal dialog
    // it opened (closed again right away).
    template <class Dialog> QString OpenAndClose(TSun &w, const char *action) {
        QString opened;
        OnModal<Dialog>([&opened](Dialog *dlg) {
            opened = QString::fromLatin1(dlg->metaObject()->className());
            dlg->reject();
        });
        Child<QAction>(&w, action)->trigger();
        return opened;
    }

private slots:
    void init() {
        dir_ = new QTemporaryDir;
        StorageStartUp(dir_->path());
        IniFile ini(Storage().ProgramDir + "tarvo.ini");
        ini.writeString("TARVO32", "Beobachter", "Muster");
        ini.writeString("TARVO32", "FileVersion", Storage().ProgramVersion);
        ini.writeString("Beobachter", "Muster", "0001/");
        ini.save();
        QDir(dir_->path()).mkpath("0001");
        IniFile beob(dir_->filePath("0001/beob.ini"));
        beob.writeString("Beobachter", "Name1", "Muster");
        beob.writeInteger("Beobachter", "Radius", 150);
        beob.save();
    }
    void cleanup() {
        delete dir_;
        dir_ = nullptr;
    }

    void menuItemsOpenTheirTools() {
        TSun w;
        w.show();
        QTRY_COMPARE(Child<QComboBox>(&w, "CBMandant")->count(), 1);
        QCOMPARE(w.Profile.Radius, 150);

        QCOMPARE(OpenAndClose<TSonMonatDlg>(w, "Monatsdaten1"), QStringLiteral("TSonMonatDlg"));
        QCOMPARE(OpenAndClose<TDlgSonPos>(w, "Positionsberechnung1"), QStringLiteral("TDlgSonPos"));
        QCOMPARE(OpenAndClose<TAuswDlg>(w, "Relativzahl1"), QStringLiteral("TAuswDlg"));
        QCOMPARE(OpenAndClose<TSIDCDlg>(w, "SIDCImport"), QStringLiteral("TSIDCDlg"));
        QCOMPARE(OpenAndClose<TdrTarvoDlg>(w, "DefRzTARVO"), QStringLiteral("TdrTarvoDlg"));

        // The month table is made at start; the others on first use, in their slots.
        for (int slot : {SlotSonPos, SlotAusw, SlotSIDC, SlotDrTarvo})
            QVERIFY2(Storage().DialogSlots[slot], qPrintable(QString::number(slot)));
        QPointer<QDialog> position = w.slotDialog(SlotSonPos);
        QCOMPARE(OpenAndClose<TDlgSonPos>(w, "Positionsberechnung1"), QStringLiteral("TDlgSonPos"));
        QCOMPARE(w.slotDialog(SlotSonPos), position.data()); // kept, not made again
        w.close();
        QVERIFY(!position);
    }

    void monthTableGetsTheProfile() {
        TSun w;
        w.show();
        QTRY_COMPARE(Child<QComboBox>(&w, "CBMandant")->count(), 1);
        QString shownName;
        OnModal<TSonMonatDlg>([&shownName](TSonMonatDlg *table) {
            shownName = table->profile().Name1.text();
            table->reject();
        });
        Child<QAction>(&w, "Monatsdaten1")->trigger();
        QCOMPARE(shownName, QStringLiteral("Muster"));
    }
};

TARVO_SHELL_TEST_MAIN(MenuToolsTest)
#include "test_menu_tools.moc"
