// Drives the real Beck calculator by object name on the offscreen platform.

#include "entry/beck_dlg.h"
#include "entry_test_support.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestBeckDlg : public QObject {
    Q_OBJECT

    TBeckDLG *dlg = nullptr;
    MessageBoxCatcher *messages = nullptr;

    QLineEdit *field(char letter) {
        return dlg->findChild<QLineEdit *>(QStringLiteral("f_") + QChar::fromLatin1(letter));
    }
    QString label(const char *name) { return dlg->findChild<QLabel *>(QLatin1StringView(name))->text(); }
    void open(std::uint16_t wolfSpots) {
        dlg->WolfSpots = wolfSpots;
        dlg->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
    }
    // Types a count into a field and leaves it with Tab.
    void enter(char letter, const QString &text) {
        QLineEdit *e = field(letter);
        e->setFocus();
        e->selectAll();
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
        QVERIFY(Settled());
        QTRY_VERIFY(QApplication::activeWindow() == dlg);
    }

private slots:
    void init() {
        dlg = new TBeckDLG;
        messages = new MessageBoxCatcher;
    }
    void cleanup() {
        delete messages;
        delete dlg;
    }

    void weightsCountsAndHandsBackTheNumber() {
        open(kSpotsNotGivenForTest);
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Hilfe Beck'sche Zahl"));
        enter('a', QStringLiteral("2"));
        enter('c', QStringLiteral("1"));
        enter('h', QStringLiteral("1"));
        QCOMPARE(label("lF"), QStringLiteral("4"));
        QCOMPARE(label("lRs"), QStringLiteral("60"));
        // Not given spot total: no comparison.
        QVERIFY(messages->texts.isEmpty());
        dlg->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->BeckResult, std::uint16_t(60));

        // A second opening starts from zero again.
        open(kSpotsNotGivenForTest);
        for (char c = 'a'; c <= 'i'; ++c)
            QCOMPARE(field(c)->text(), QStringLiteral("0"));
        QCOMPARE(label("lF"), QStringLiteral("0"));
        QCOMPARE(label("lRs"), QStringLiteral("0"));
        QCOMPARE(dlg->BeckResult, std::uint16_t(0));
        dlg->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        QCOMPARE(dlg->BeckResult, std::uint16_t(0));
    }

    // The warning comes when a change makes the sum exceed the day's spots,
    // and again after a further change; leaving a field unchanged does not
    // repeat it.
    void warnsOncePerChangeWhileSumExceedsWolfSpots() {
        open(3);
        enter('a', QStringLiteral("2"));
        QVERIFY(messages->texts.isEmpty());
        enter('c', QStringLiteral("1"));
        QVERIFY(messages->texts.isEmpty());
        enter('h', QStringLiteral("1"));
        enter('i', QStringLiteral("0"));
        const QString warning = QStringLiteral("Das sind mehr Flecken,\nals bei der Wolf´schen Relativzahl");
        QCOMPARE(messages->texts, (QStringList{warning}));
        QCOMPARE(messages->titles.first(), QStringLiteral("TARVO32"));
        // The counts stay: the warning only informs.
        QCOMPARE(label("lF"), QStringLiteral("4"));
        enter('b', QStringLiteral("1"));
        QCOMPARE(messages->texts, (QStringList{warning, warning}));
        QCOMPARE(label("lF"), QStringLiteral("5"));
    }

    void keysOnlyDigits() {
        open(kSpotsNotGivenForTest);
        QLineEdit *e = field('b');
        e->setFocus();
        e->setCursorPosition(1);
        QTest::keyClicks(e, QStringLiteral("x-5,"));
        QTest::keyClick(e, Qt::Key_Backspace);
        QCOMPARE(e->text(), QStringLiteral("05"));
        // Enter moves on like Tab and takes the count.
        QTest::keyClick(e, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), field('c'));
        QCOMPARE(label("lRs"), QStringLiteral("20"));
    }

    void refusedCounts_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << ""
                               << "Klasse G: '' ist kein gültiger Integerwert";
        QTest::newRow("above int16") << "40000"
                                     << "Klasse G: Die Zahl muss zwischen 0 und 32767 liegen";
        QTest::newRow("Beck beyond 65535")
            << "1311"
            << "Die Summe und die Beck'sche Relativzahl dürfen höchstens 65535 sein";
    }
    void refusedCounts() {
        QFETCH(QString, text);
        QFETCH(QString, message);
        open(kSpotsNotGivenForTest);
        enter('a', QStringLiteral("1"));
        QLineEdit *e = field('g');
        e->setFocus();
        e->selectAll();
        QTest::keyClick(e, Qt::Key_Delete);
        QTest::keyClicks(e, text);
        QTest::keyClick(e, Qt::Key_Tab);
        QVERIFY(Settled());
        QCOMPARE(messages->texts, QStringList{message});
        QCOMPARE(messages->titles, QStringList{QStringLiteral("TARVO32")});
        // The previous values stay and the focus is back in the field.
        QCOMPARE(label("lF"), QStringLiteral("1"));
        QCOMPARE(label("lRs"), QStringLiteral("4"));
        QTRY_COMPARE(QApplication::focusWidget(), e);
        // Leaving it again unchanged: not said again, the focus goes on.
        QTest::keyClick(e, Qt::Key_Tab);
        QTest::qWait(20);
        QCOMPARE(messages->texts.size(), 1);
        QCOMPARE(QApplication::focusWidget(), field('h'));
        // OK takes the field first and stays open.
        messages->clear();
        dlg->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        QVERIFY(Settled());
        QCOMPARE(messages->texts, QStringList{message});
        QVERIFY(dlg->isVisible());
        QCOMPARE(dlg->BeckResult, std::uint16_t(4));
    }

    void okTakesCountsNotLeftYet() {
        // Edits whose leaving went unnoticed (the window was not active yet)
        // still count on OK.
        open(kSpotsNotGivenForTest);
        field('a')->setText(QStringLiteral("2"));
        field('b')->setText(QStringLiteral("1"));
        dlg->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->BeckResult, std::uint16_t(12));
    }

    void cancelHandsBackNothing() {
        dlg->WolfSpots = kSpotsNotGivenForTest;
        QTimer::singleShot(50, this, [this] {
            QLineEdit *e = field('a');
            e->selectAll();
            QTest::keyClicks(e, QStringLiteral("7"));
            dlg->findChild<QPushButton *>(QStringLiteral("BtnCancel"))->click();
        });
        QCOMPARE(dlg->exec(), int(QDialog::Rejected));
    }

private:
    static constexpr std::uint16_t kSpotsNotGivenForTest = 0xFFFF;
};

QTEST_MAIN(TestBeckDlg)
#include "test_beck_dlg.moc"
