#pragma once

#include "uikit/dialog_slots.h"
#include "storage/profile.h"

#include <QMainWindow>

class TSonMonatDlg;

class QAction;
class QComboBox;
class QDialog;
class QLabel;
class QStatusBar;
class QToolBar;

// The main window: the banner, the menus and tool bar that open every tool,
// and the observer switch. It owns the master copy of the current observer's
// profile; every tool gets a copy.
class TSun : public QMainWindow {
    Q_OBJECT
public:
    // Loads the program settings and the current observer's profile
    // (the storage start-up must have run).
    explicit TSun(QWidget *parent = nullptr);
    ~TSun() override;

    TObserverProfile Profile;

    // The dialog of a slot while it exists (nullptr otherwise).
    QDialog *slotDialog(int slot) const;

    // Menu and tool bar handlers.
    void SIDCImportClick();
    void DefRzTARVOClick();
    void SilsoTageClick();
    void SilsoHalbkugelClick();
    void DatensicherungClick();
    // After a restore the settings and the current observer are loaded again.
    void WiederherstellenClick();
    void BeendenClick();
    void Monatsdaten1Click();
    void Positionsberechnung1Click();
    void Auswertung1Click();
    void VergleichSilsoClick();
    void Einstellungen1Click();
    void email1Click();
    void Inhalt1Click();
    void Suchen1Click();
    void Hilfebenutzen1Click();
    void Info1Click();
    // Observer switch: the user picked the entry `index` of CBMandant.
    void CBMandantChange(int index);

    // The steps run when the window is first shown and after the observer
    // settings were confirmed: first-start chain, observer list into CBMandant.
    void FormShow();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool event(QEvent *event) override;

private:
    void createMenus();
    void createToolBar();
    void createStartupWindows();
    // The month data, evaluation and import work on the current observer's
    // files: without one, the user is asked to create one first. True when
    // an observer is current (then or afterwards).
    bool ObserverReady();
    // Loads tarvo.ini and the current observer's profile again (after the
    // settings dialog or a restore); a failure is shown.
    void ReloadSettings();
    // Releases every dialog whose slot is set.
    void FormClose();

    // The month table lives for the whole run; it owns its entry dialog,
    // column chooser and month shift.
    TSonMonatDlg *monthTable_ = nullptr;
    QLabel *Label1 = nullptr;
    QToolBar *ToolBar1 = nullptr;
    QComboBox *CBMandant = nullptr;
    QStatusBar *SB = nullptr;
    DialogSlotTable slots_;
    bool shownOnce_ = false;
    QString statusName_; // the short name SB shows: of the observer chosen last
    QString startupError_;
    QString fatalError_; // tarvo.ini cannot be understood: shown, then the window closes
};
