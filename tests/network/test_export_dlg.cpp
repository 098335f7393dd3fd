// The export dialog: type choice, proposed names, file list, writing.
#include "network/export_dlg.h"
#include "network/export_files.h"
#include "network/network_lines.h"
#include "storage/storage_state.h"
#include "test_lines_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

namespace {

// Clicks OK (from a timer of its own, so that Run's poll answers the message
// box it brings), looks at the dialog, then cancels it.
void ClickOkThenCancel(TExportDLG *dlg, const std::function<void()> &look) {
    QTimer::singleShot(0, dlg, [dlg, look] {
        QTest::mouseClick(dlg->findChild<QPushButton *>(QStringLiteral("BtnOK")), Qt::LeftButton);
        look();
        QTest::mouseClick(dlg->findChild<QPushButton *>(QStringLiteral("BtnCancel")), Qt::LeftButton);
    });
}

} // namespace

class TestExportDlg : public QObject {
    Q_OBJECT

private slots:
    void init();
    void startsWithRezahlInObserverDirectory();
    void typeChoiceSetsNameAndFilter_data();
    void typeChoiceSetsNameAndFilter();
    void fileListFollowsFilter();
    void okWritesTheChosenExport();
    void maskAsNameKeepsTheDialogOpen();
    void programFilesAreRefused_data();
    void programFilesAreRefused();
    void cancelWritesNothing();

private:
    // Runs Execute; `act` works on the shown dialog and closes it.
    bool Run(TExportDLG &dlg, const std::function<void(TExportDLG *)> &act, QStringList *messages = nullptr);

    std::unique_ptr<QTemporaryDir> home_;
    QString observerDir_;
    TObserverProfile profile_{};
    std::unique_ptr<TYearBuffer> year_;
};

void TestExportDlg::init() {
    home_ = std::make_unique<QTemporaryDir>(); // a fresh observer directory per test
    StorageStartUp(home_->path());
    Storage().DataPath = home_->path() + QLatin1Char('/');
    Storage().CurrentObserverDir = QStringLiteral("0001/");
    observerDir_ = home_->filePath(QStringLiteral("0001"));
    QDir().mkpath(observerDir_);
    profile_ = LinesTestProfile();
    year_ = ZeroYear();
    year_->Day(3, 5) = FullDay();
}

bool TestExportDlg::Run(TExportDLG &dlg, const std::function<void(TExportDLG *)> &act,
                        QStringList *messages) {
    bool acted = false;
    QTimer poll;
    poll.setInterval(20);
    connect(&poll, &QTimer::timeout, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        if (auto *box = qobject_cast<QMessageBox *>(modal)) {
            if (messages)
                *messages << box->text();
            box->accept();
        } else if (modal == &dlg && !acted) {
            acted = true;
            act(&dlg);
        }
    });
    poll.start();
    TMonthDocument month;
    month.assign(2004, 3, *year_);
    return dlg.Execute(profile_, month);
}

void TestExportDlg::startsWithRezahlInObserverDirectory() {
    TExportDLG dlg;
    TMonthDocument month;
    month.assign(2004, 3, *year_);
    dlg.setMonth(profile_, month);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("Exportieren"));
    QVERIFY(dlg.findChild<QRadioButton *>(QStringLiteral("RG2"))->isChecked());
    QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("FN"))->text(), QStringLiteral("Rezahl.dat"));
    QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("DLB"))->text(), observerDir_);
    QCOMPARE(dlg.findChild<QComboBox *>(QStringLiteral("FCB"))->currentText(), QStringLiteral("DAT"));
    QCOMPARE(dlg.exportFileName(), observerDir_ + QStringLiteral("/Rezahl.dat"));
}

void TestExportDlg::typeChoiceSetsNameAndFilter_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("filter");
    QTest::newRow("csv") << 0 << "*.csv"
                         << "CSV";
    QTest::newRow("html") << 1 << "*.html"
                          << "HTML";
    QTest::newRow("tarvo") << 2 << "Rezahl.dat"
                           << "DAT";
    QTest::newRow("a") << 3 << "Azahl.dat"
                       << "DAT";
    QTest::newRow("faculae") << 4 << "Fzahl.dat"
                             << "DAT";
}

void TestExportDlg::typeChoiceSetsNameAndFilter() {
    QFETCH(int, type);
    QFETCH(QString, name);
    QFETCH(QString, filter);
    TExportDLG dlg;
    dlg.show();
    QTest::mouseClick(dlg.findChild<QRadioButton *>(QStringLiteral("RG%1").arg(type)), Qt::LeftButton,
                      Qt::NoModifier, QPoint(5, 5));
    QCOMPARE(dlg.exportType(), type);
    QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("FN"))->text(), name);
    QCOMPARE(dlg.findChild<QComboBox *>(QStringLiteral("FCB"))->currentText(), filter);
}

void TestExportDlg::fileListFollowsFilter() {
    for (const char *name : {"a.csv", "b.dat", "c.html", "Rezahl.dat"}) {
        QFile f(observerDir_ + QLatin1Char('/') + QLatin1String(name));
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    TExportDLG dlg;
    dlg.show();
    auto *list = dlg.findChild<QListWidget *>(QStringLiteral("FLB"));
    auto items = [list] {
        QStringList names;
        for (int i = 0; i < list->count(); ++i)
            names << list->item(i)->text();
        return names;
    };
    QCOMPARE(items(), (QStringList{"b.dat", "Rezahl.dat"}));
    QTest::mouseClick(dlg.findChild<QRadioButton *>(QStringLiteral("RG0")), Qt::LeftButton, Qt::NoModifier,
                      QPoint(5, 5));
    QCOMPARE(items(), QStringList{"a.csv"});
    list->setCurrentRow(0);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(0)).center());
    QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("FN"))->text(), QStringLiteral("a.csv"));
    dlg.findChild<QComboBox *>(QStringLiteral("FCB"))->setCurrentIndex(3);
    QCOMPARE(items().size(), 4);
    QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("FN"))->text(),
             QStringLiteral("a.csv")); // a chosen name stays
}

void TestExportDlg::okWritesTheChosenExport() {
    const QString cwd = QDir::currentPath();
    QTemporaryDir target;
    TExportDLG dlg;
    // The A-number file, twice: the second export appends.
    for (int round = 0; round < 2; ++round) {
        QVERIFY(Run(dlg, [&](TExportDLG *d) {
            QTest::mouseClick(d->findChild<QRadioButton *>(QStringLiteral("RG3")), Qt::LeftButton,
                              Qt::NoModifier, QPoint(5, 5));
            d->findChild<QLineEdit *>(QStringLiteral("DLB"))->setText(target.path());
            QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("BtnOK")), Qt::LeftButton);
        }));
    }
    QFile a(target.filePath(QStringLiteral("Azahl.dat")));
    QVERIFY(a.open(QIODevice::ReadOnly));
    const QByteArray once = MonthLines(NetworkLineKind::ANumbers, profile_, *year_, 2004, 3);
    QCOMPARE(a.readAll(), once + once);
    // The grid's text, under the name the user typed.
    QVERIFY(Run(dlg, [&](TExportDLG *d) {
        QTest::mouseClick(d->findChild<QRadioButton *>(QStringLiteral("RG0")), Qt::LeftButton, Qt::NoModifier,
                          QPoint(5, 5));
        d->findChild<QLineEdit *>(QStringLiteral("DLB"))->setText(target.path());
        d->findChild<QLineEdit *>(QStringLiteral("FN"))->setText(QStringLiteral("maerz.csv"));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("BtnOK")), Qt::LeftButton);
    }));
    QFile csv(target.filePath(QStringLiteral("maerz.csv")));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    // The month table of the shown month: title row, 31 day rows, three summary rows.
    const QByteArray table = csv.readAll();
    QVERIFY(table.startsWith("Tag;Bemerkung;UT;R;S;Q;Gn;Fn;Gs;Fs;G;F;Re;Rb;A;\r\n01;"));
    QVERIFY(table.contains("\r\n05;;09:30;2;3;1;2;10;1;4;3;14;44;50;2;\r\n"));
    QVERIFY(table.endsWith("\r\n;Mittel;;2.0;3.0;1.0;2.0;10.0;1.0;4.0;3.0;14.0;44.0;50.0;2.0;\r\n"));
    QCOMPARE(table.count("\r\n"), 35);
    QCOMPARE(QDir::currentPath(), cwd);
}

// A mask as the name is reported, and the dialog stays open with the type
// chosen, for a real name or Cancel.
void TestExportDlg::maskAsNameKeepsTheDialogOpen() {
    TExportDLG dlg;
    QStringList messages;
    bool stayed = false;
    QVERIFY(!Run(
        dlg,
        [&](TExportDLG *d) {
            QTest::mouseClick(d->findChild<QRadioButton *>(QStringLiteral("RG1")), Qt::LeftButton,
                              Qt::NoModifier, QPoint(5, 5));
            ClickOkThenCancel(d, [&stayed, d] {
                stayed = d->isVisible() && d->exportType() == ExportHtml &&
                         d->findChild<QLineEdit *>(QStringLiteral("FN"))->text() == QLatin1String("*.html");
            });
        },
        &messages));
    QVERIFY(stayed);
    QCOMPARE(messages, QStringList{QStringLiteral("Ungültiger Dateiname: '%1/*.html'").arg(observerDir_)});
    QVERIFY(QDir(observerDir_).entryList(QDir::Files).isEmpty());
}

// The year file and the other files of the program are never a target: not
// offered in the list, refused on OK with the file named, left as they were.
void TestExportDlg::programFilesAreRefused_data() {
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("name");
    QTest::newRow("data lines into the year file") << 2 << "SO2026.DAT";
    QTest::newRow("A lines into the old year file") << 3 << "SO2025.OLD";
    QTest::newRow("csv over beob.ini") << 0 << "beob.ini";
    QTest::newRow("html over the archive") << 1 << "20002049.asw";
    QTest::newRow("another spelling") << 4 << "../0001/SO2026.DAT";
}
void TestExportDlg::programFilesAreRefused() {
    QFETCH(int, type);
    QFETCH(QString, name);
    const QByteArray year(56160, '\x07');
    for (const char *file : {"SO2026.DAT", "SO2025.OLD", "beob.ini", "20002049.asw", "Rezahl.dat"}) {
        QFile f(observerDir_ + QLatin1Char('/') + QLatin1String(file));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(year);
    }
    TExportDLG dlg;
    QStringList messages;
    QStringList listed;
    bool stayed = false;
    QVERIFY(!Run(
        dlg,
        [&](TExportDLG *d) {
            QTest::mouseClick(d->findChild<QRadioButton *>(QStringLiteral("RG%1").arg(type)), Qt::LeftButton,
                              Qt::NoModifier, QPoint(5, 5));
            d->findChild<QComboBox *>(QStringLiteral("FCB"))->setCurrentIndex(3); // all files
            auto *list = d->findChild<QListWidget *>(QStringLiteral("FLB"));
            for (int i = 0; i < list->count(); ++i)
                listed << list->item(i)->text();
            d->findChild<QLineEdit *>(QStringLiteral("FN"))->setText(name);
            ClickOkThenCancel(d, [&stayed, d, type] { stayed = d->isVisible() && d->exportType() == type; });
        },
        &messages));
    QCOMPARE(listed, QStringList{"Rezahl.dat"});
    QVERIFY(stayed);
    QCOMPARE(messages.size(), 1);
    const QString target = QFileInfo(name).fileName();
    QVERIFY2(messages[0].contains(QDir::toNativeSeparators(observerDir_ + QLatin1Char('/') + target)),
             qPrintable(messages[0]));
    QVERIFY2(messages[0].contains(QLatin1String("wird nicht exportiert")), qPrintable(messages[0]));
    QFile f(observerDir_ + QLatin1Char('/') + target);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), year);
}

void TestExportDlg::cancelWritesNothing() {
    TExportDLG dlg;
    QVERIFY(!Run(dlg, [](TExportDLG *d) {
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("BtnCancel")), Qt::LeftButton);
    }));
    QVERIFY(QDir(observerDir_).entryList(QDir::Files).isEmpty());
}

QTEST_MAIN(TestExportDlg)
#include "test_export_dlg.moc"
