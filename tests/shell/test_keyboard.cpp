// Every top-level window and dialog of the program, walked with the keyboard
// in mind: no two visible controls of a window share an underlined letter,
// F1 opens the window's own help page, and every window fits a 1024×768 screen.
#include "../common/observer_fixture.h"
#include "shell_test_util.h"

#include "backup/backup_dlg.h"
#include "backup/restore_dlg.h"
#include "entry/beck_dlg.h"
#include "entry/erfassung_dlg.h"
#include "evaluation/auswert_dlg.h"
#include "storage/month_totals.h"
#include "month/move_month_dlg.h"
#include "month/sonmonat_dlg.h"
#include "month/tab_dlg.h"
#include "network/drtarvo_dlg.h"
#include "network/email_dlg.h"
#include "network/export_dlg.h"
#include "network/sidc_dlg.h"
#include "reference/silso_import_dlg.h"
#include "reference/vergleich_dlg.h"
#include "reportengine/report_preview_dlg.h"
#include "reports/sob01.h"
#include "shell/about_dlg.h"
#include "shell/add_beob_dlg.h"
#include "shell/einst_dlg.h"
#include "shell/einst_email_dlg.h"
#include "shell/main_window_ui.h"
#include "solar/sonpos_dlg.h"
#include "storage/column_layout.h"
#include "uikit/help_viewer_dlg.h"

#include <QAbstractButton>
#include <QFile>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>
#include <functional>
#include <memory>

namespace {

// One window of the program, made the way its opener makes it, and the help
// page F1 opens in it.
struct WindowCase {
    const char *name;
    QString helpTopic;
    std::function<std::unique_ptr<QWidget>()> make;
};

TObserverProfile AllCategoriesProfile() {
    TObserverProfile p = EmptyProfile();
    LoadProgramSettings(p);
    for (CategoryIndex c :
         {CatBemerkung, CatWolf, CatNS, CatBeck, CatPettis, CatCV, CatA, CatFackel, CatPosition, CatLB})
        p.Ein.set(c, true);
    return p;
}

// A window that takes the observer's profile with every category on.
template <class W> std::unique_ptr<QWidget> WithProfile() {
    auto w = std::make_unique<W>();
    w->setProfile(AllCategoriesProfile());
    return w;
}

QList<WindowCase> ProgramWindows() {
    QList<WindowCase> cases;
    cases.append({"Hauptfenster", HelpTopic::Contents, [] { return std::make_unique<TSun>(); }});
    cases.append({"Monatstabelle", HelpTopic::MonthTable, &WithProfile<TSonMonatDlg>});
    cases.append({"Tageserfassung", HelpTopic::DayEntry, [] {
                      auto w = std::make_unique<TErfassungDlg>();
                      w->Profile = AllCategoriesProfile();
                      w->DayNo = 5;
                      w->MonthNo = 3;
                      w->YearNo = 2004;
                      return w;
                  }});
    cases.append({"Beck-Rechner", HelpTopic::BeckCalculator, [] { return std::make_unique<TBeckDLG>(); }});
    cases.append({"Spalteneinstellung", HelpTopic::ColumnChooser, [] {
                      ResetColumnLayout();
                      return std::make_unique<TTabDlg>();
                  }});
    cases.append({"Monat verschieben", HelpTopic::MoveMonth, [] {
                      auto w = std::make_unique<TMoveMonth>();
                      w->SourceMonth = 4;
                      return w;
                  }});
    cases.append({"E-Mail-Versand", HelpTopic::Mail, [] {
                      auto w = std::make_unique<TEmailDLG>();
                      TYearBuffer year{};
                      w->setMonth(AllCategoriesProfile(), year, 2004, 3);
                      return w;
                  }});
    cases.append({"Exportieren", HelpTopic::Export, [] { return std::make_unique<TExportDLG>(); }});
    cases.append({"SIDC Import", HelpTopic::Import, [] { return std::make_unique<TSIDCDlg>(); }});
    cases.append({"Def. Rz Import", HelpTopic::Import, [] { return std::make_unique<TdrTarvoDlg>(); }});
    cases.append({"Auswertung", HelpTopic::Evaluation, &WithProfile<TAuswDlg>});
    cases.append({"Vergleich mit SILSO", HelpTopic::SilsoComparison, &WithProfile<TVergleichDlg>});
    cases.append({"SILSO Tageszahlen", HelpTopic::SilsoComparison,
                  [] { return std::make_unique<TSilsoImportDlg>(nullptr, TSilsoSeries::Daily); }});
    cases.append({"SILSO Halbkugelzahlen", HelpTopic::SilsoComparison,
                  [] { return std::make_unique<TSilsoImportDlg>(nullptr, TSilsoSeries::Hemispheric); }});
    cases.append({"Positionsberechnung", HelpTopic::Position, &WithProfile<TDlgSonPos>});
    cases.append({"Einstellungen", HelpTopic::Observer, [] { return std::make_unique<TEinstDLG>(); }});
    cases.append({"Benutzer zufügen", HelpTopic::FirstStart, [] { return std::make_unique<TAddBeobDLG>(); }});
    cases.append({"E-Mail-Einstellungen", HelpTopic::Mail, [] {
                      auto w = std::make_unique<TEinstEmailDlg>();
                      w->Profile = AllCategoriesProfile();
                      return w;
                  }});
    cases.append({"Info", HelpTopic::Contents, [] { return std::make_unique<TAboutDlg>(); }});
    cases.append({"Datensicherung", HelpTopic::Backup, [] { return std::make_unique<TBackupDlg>(); }});
    cases.append({"Wiederherstellen", HelpTopic::Backup, [] { return std::make_unique<TRestoreDlg>(); }});
    cases.append({"Hilfe", HelpTopic::HelpOnHelp, [] { return std::make_unique<THelpViewerDlg>(); }});
    cases.append({"Druckvorschau", HelpTopic::Reports, [] {
                      // The form outlives the preview: it is kept like the month table keeps it.
                      static TSOB01 form;
                      TYearBuffer year{};
                      form.setMonth(year, 3, 2004, AllCategoriesProfile(),
                                    ComputeMonthTotals(year.Months[3], 3, 2004));
                      return std::make_unique<TReportPreviewDlg>(form.report(), QStringLiteral("SOB01.pdf"));
                  }});
    return cases;
}

QString Describe(const QObject *o, const QString &text) {
    return QStringLiteral("%1 „%2“").arg(
        o->objectName().isEmpty() ? QString::fromLatin1(o->metaObject()->className()) : o->objectName(),
        text);
}

// The underlined letter of a caption ("E-&Mail" → "M"), empty when it has none.
QString Accelerator(const QString &text) {
    const QKeySequence key = QKeySequence::mnemonic(text);
    if (key.isEmpty())
        return QString();
    return QKeySequence(key[0].key()).toString();
}

// The captions of one window that take Alt+letter, visible as the window
// stands now, by letter.
QMultiMap<QString, QString> WindowAccelerators(QWidget *window) {
    QMultiMap<QString, QString> found;
    auto add = [&found](const QObject *o, const QString &text) {
        const QString letter = Accelerator(text);
        if (!letter.isEmpty())
            found.insert(letter, Describe(o, text));
    };
    auto visible = [window](const QWidget *w) { return w->isVisibleTo(window) && w->window() == window; };
    for (QAbstractButton *b : window->findChildren<QAbstractButton *>())
        if (visible(b))
            add(b, b->text());
    for (QLabel *l : window->findChildren<QLabel *>())
        if (visible(l) && l->buddy())
            add(l, l->text());
    for (QGroupBox *g : window->findChildren<QGroupBox *>())
        if (visible(g))
            add(g, g->title());
    for (QTabBar *bar : window->findChildren<QTabBar *>())
        if (visible(bar))
            for (int i = 0; i < bar->count(); ++i)
                if (bar->isTabVisible(i))
                    add(bar, bar->tabText(i));
    for (QMenuBar *bar : window->findChildren<QMenuBar *>())
        if (visible(bar))
            for (QAction *a : bar->actions())
                if (a->isVisible())
                    add(a, a->text());
    return found;
}

QStringList Clashes(const QMultiMap<QString, QString> &found) {
    QStringList clashes;
    for (const QString &letter : found.uniqueKeys())
        if (found.count(letter) > 1)
            clashes << QStringLiteral("Alt+%1: %2").arg(letter, QStringList(found.values(letter)).join(", "));
    return clashes;
}

// Each menu's items among themselves.
QStringList MenuClashes(QWidget *window) {
    QStringList clashes;
    for (QMenu *menu : window->findChildren<QMenu *>()) {
        QMultiMap<QString, QString> found;
        for (QAction *a : menu->actions())
            if (a->isVisible() && !a->isSeparator())
                if (const QString letter = Accelerator(a->text()); !letter.isEmpty())
                    found.insert(letter, Describe(a, a->text()));
        for (const QString &c : Clashes(found))
            clashes << menu->title() + QStringLiteral(": ") + c;
    }
    return clashes;
}

// Every combination of the window's tab pages counts: the controls of a
// hidden page take no key.
QStringList AllClashes(QWidget *window) {
    QStringList clashes = Clashes(WindowAccelerators(window)) + MenuClashes(window);
    for (QTabWidget *tabs : window->findChildren<QTabWidget *>()) {
        const int shown = tabs->currentIndex();
        for (int i = 0; i < tabs->count(); ++i) {
            tabs->setCurrentIndex(i);
            for (const QString &c : Clashes(WindowAccelerators(window)))
                clashes << tabs->tabText(i).remove(QLatin1Char('&')) + QStringLiteral(": ") + c;
        }
        tabs->setCurrentIndex(shown);
    }
    clashes.removeDuplicates();
    return clashes;
}

// Closes every message box a window opens while it is shown (a first-start
// question, for example), so that the walk never waits.
void ShowWindow(QWidget *w) {
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    QApplication::setActiveWindow(w);
    QTRY_VERIFY(w->isActiveWindow());
}

// The controls Tab visits from the focus widget on, until the focus comes
// back to where it started (at most `limit` steps).
QStringList TabWalk(QWidget *window, int limit = 80) {
    QStringList visited;
    QWidget *start = window->focusWidget();
    if (!start)
        return visited;
    visited << start->objectName();
    for (int i = 0; i < limit; ++i) {
        QTest::keyClick(window->focusWidget(), Qt::Key_Tab);
        QWidget *now = window->focusWidget();
        if (!now || now == start)
            break;
        visited << now->objectName();
    }
    return visited;
}

// Presses F1 in the next modal dialog, keeps the page the help window shows
// for it, and closes the dialog.
void PressF1InNextDialog(QString *shown) {
    OnModal<QDialog>([shown](QDialog *dlg) {
        QApplication::setActiveWindow(dlg);
        QTest::keyClick(dlg, Qt::Key_F1);
        if (auto *viewer = dlg->findChild<THelpViewerDlg *>(QString(), Qt::FindDirectChildrenOnly))
            *shown = viewer->currentTopic();
        dlg->reject();
    });
}

} // namespace

class TestKeyboard : public QObject {
    Q_OBJECT
    QTemporaryDir *dir_ = nullptr;

private slots:
    void init() {
        dir_ = new QTemporaryDir;
        TObserverFixture fixture;
        fixture.firstYear = 2004;
        fixture.lastYear = 2004;
        fixture.sidcFirstYear = 0;
        MakeObserverHome(dir_->path(), fixture);
        QDir::setCurrent(dir_->path());
    }
    void cleanup() {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (w->isVisible())
                w->close();
        delete dir_;
        dir_ = nullptr;
    }

    void everyUnderlinedLetterIsUnique_data() {
        QTest::addColumn<int>("index");
        const QList<WindowCase> cases = ProgramWindows();
        for (int i = 0; i < cases.size(); ++i)
            QTest::newRow(cases[i].name) << i;
    }
    // Qt only moves the focus between controls that share a letter; a
    // unique one triggers its control at once.
    void everyUnderlinedLetterIsUnique() {
        QFETCH(int, index);
        MessageBoxCatcher boxes;
        std::unique_ptr<QWidget> w = ProgramWindows().at(index).make();
        ShowWindow(w.get());
        const QStringList clashes = AllClashes(w.get());
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join('\n')));
    }

    void f1OpensTheWindowsHelpPage_data() { everyUnderlinedLetterIsUnique_data(); }
    void f1OpensTheWindowsHelpPage() {
        QFETCH(int, index);
        MessageBoxCatcher boxes;
        const WindowCase c = ProgramWindows().at(index);
        std::unique_ptr<QWidget> w = c.make();
        ShowWindow(w.get());
        // The dialogs whose opener chooses the page ask for help with a signal
        // (their openers are checked below).
        std::unique_ptr<QSignalSpy> asked;
        if (w->metaObject()->indexOfSignal("helpRequested()") >= 0)
            asked = std::make_unique<QSignalSpy>(w.get(), SIGNAL(helpRequested()));
        QWidget *target = w->focusWidget() ? w->focusWidget() : w.get();
        QTest::keyClick(target, Qt::Key_F1);
        auto *viewer = qobject_cast<THelpViewerDlg *>(w.get());
        if (!viewer)
            viewer = w->findChild<THelpViewerDlg *>(QString(), Qt::FindDirectChildrenOnly);
        if (asked) {
            QCOMPARE(asked->size(), 1);
            if (!viewer) // the opener shows the page (below)
                return;
        }
        QVERIFY2(viewer, "F1 opened no help window");
        QTRY_VERIFY(viewer->isVisible());
        QCOMPARE(viewer->currentTopic(), c.helpTopic);
    }

    void everyWindowFitsASmallScreen_data() { everyUnderlinedLetterIsUnique_data(); }
    // 1024×768 less a title bar and a panel.
    void everyWindowFitsASmallScreen() {
        QFETCH(int, index);
        MessageBoxCatcher boxes;
        std::unique_ptr<QWidget> w = ProgramWindows().at(index).make();
        ShowWindow(w.get());
        const QSize room(1024, 768 - 60);
        const QSize needed = w->minimumSizeHint().expandedTo(w->minimumSize());
        qInfo("%s: %dx%d, at least %dx%d", ProgramWindows().at(index).name, w->width(), w->height(),
              needed.width(), needed.height());
        QVERIFY2(needed.width() <= room.width() && needed.height() <= room.height(),
                 qPrintable(QStringLiteral("needs %1x%2").arg(needed.width()).arg(needed.height())));
        // A window that takes its size from the screen fits the one it opens on.
        const QSize screen = w->screen()->availableGeometry().size();
        const bool fits = (w->width() <= room.width() && w->height() <= room.height()) ||
                          (w->width() <= screen.width() && w->height() <= screen.height());
        QVERIFY2(fits, qPrintable(QStringLiteral("opens at %1x%2").arg(w->width()).arg(w->height())));
    }

    // The openers of the dialogs that ask for help choose their pages.
    void f1InTheMonthTablesDialogs() {
        MessageBoxCatcher boxes;
        TSonMonatDlg table;
        table.setProfile(AllCategoriesProfile());
        ShowWindow(&table);
        const struct {
            const char *button;
            QString topic;
        } cases[] = {{"BtnExport", HelpTopic::Export}, {"BtnEmail", HelpTopic::Mail}};
        for (const auto &c : cases) {
            QString shown;
            PressF1InNextDialog(&shown);
            Child<QPushButton>(&table, c.button)->click();
            QCOMPARE(shown, c.topic);
        }
    }

    void f1InTheImportDialogs() {
        MessageBoxCatcher boxes;
        TSun w;
        ShowWindow(&w);
        for (const char *item : {"SIDCImport", "DefRzTARVO"}) {
            QString shown;
            PressF1InNextDialog(&shown);
            Child<QAction>(&w, item)->trigger();
            QCOMPARE(shown, HelpTopic::Import);
        }
    }

    // Every page a window opens exists and is listed in the contents.
    void everyHelpPageIsInTheContents() {
        QFile index(QStringLiteral(":/help/index.html"));
        QVERIFY(index.open(QIODevice::ReadOnly));
        const QString contents = QString::fromUtf8(index.readAll());
        QStringList topics;
        for (const WindowCase &c : ProgramWindows())
            topics << c.helpTopic;
        topics << HelpTopic::Import << HelpTopic::Mail << HelpTopic::Export << HelpTopic::FirstStart;
        topics.removeDuplicates();
        for (const QString &topic : std::as_const(topics)) {
            QVERIFY2(QFile::exists(QStringLiteral(":/help/%1.html").arg(topic)), qPrintable(topic));
            if (topic != HelpTopic::Contents)
                QVERIFY2(contents.contains(QStringLiteral("href=\"%1.html\"").arg(topic)), qPrintable(topic));
        }
        // The window lists them as well.
        THelpViewerDlg viewer;
        auto *list = Child<QListWidget>(&viewer, "HelpContents");
        QStringList listed;
        for (int i = 0; i < list->count(); ++i)
            listed << list->item(i)->data(Qt::UserRole).toString();
        for (const QString &topic : std::as_const(topics))
            QVERIFY2(listed.contains(topic), qPrintable(topic));
    }

    // A unique letter triggers its control at once.
    void altLetterOpensTheMonthTable() {
        MessageBoxCatcher boxes;
        TSun w;
        ShowWindow(&w);
        bool opened = false;
        OnModal<TSonMonatDlg>([&opened](TSonMonatDlg *dlg) {
            opened = true;
            dlg->reject();
        });
        QTest::keyClick(&w, Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(opened);
    }

    // Tab reaches every field, the Beck calculator's button and the buttons,
    // in the order of the boxes, and comes back to the start.
    void entryDialogTabOrder() {
        MessageBoxCatcher boxes;
        std::unique_ptr<QWidget> w = ProgramWindows().at(2).make();
        ShowWindow(w.get());
        const QStringList expected = {
            "Bemerkung", "Zeit",    "Ruhe",      "Schaerfe", "Qualitaet", "g_n", "f_n", "g_s", "f_s",
            "g",         "f",       "Rs",        "BeckHlp",  "p",         "s",   "CV",  "A",   "Ab",
            "Fo",        "Fm",      "FEF",       "FEP",      "pfn",       "pfs", "z_f", "Po",  "CBFl",
            "BtnOK",     "BtnNext", "BtnCancel", "LN",       "LS",        "LGES"};
        QCOMPARE(TabWalk(w.get()), expected);
        QVERIFY(boxes.texts.isEmpty());
        // On the calculator's button Space and Enter open it.
        auto *beck = Child<QToolButton>(w.get(), "BeckHlp");
        beck->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_Space, Qt::Key_Return}) {
            bool opened = false;
            OnModal<TBeckDLG>([&opened](TBeckDLG *dlg) {
                opened = true;
                dlg->reject();
            });
            QTest::keyClick(beck, key);
            QTRY_VERIFY(opened);
        }
    }

    void monthTableTabOrder() {
        MessageBoxCatcher boxes;
        std::unique_ptr<QWidget> w = ProgramWindows().at(1).make();
        ShowWindow(w.get());
        const QStringList expected = {"SEMonat",   "SEJahr",   "BtnSOB01", "BtnSOB09",
                                      "BtnExport", "BtnClose", "BtnEmail", "SGMonat"};
        QCOMPARE(TabWalk(w.get()), expected);
    }

    void walkFindsAClash() {
        // The walk itself: two buttons with one letter are found.
        QDialog dlg;
        auto *layout = new QHBoxLayout(&dlg);
        layout->addWidget(new QPushButton(QStringLiteral("&Monatsdaten")));
        layout->addWidget(new QPushButton(QStringLiteral("E-&Mail")));
        layout->addWidget(new QPushButton(QStringLiteral("&Beenden")));
        dlg.show();
        const QStringList clashes = AllClashes(&dlg);
        QCOMPARE(clashes.size(), 1);
        QVERIFY2(clashes.first().startsWith(QLatin1String("Alt+M:")), qPrintable(clashes.first()));
    }
};

TARVO_SHELL_TEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"
