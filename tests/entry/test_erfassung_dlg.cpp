// Drives the real entry dialog by object name on the offscreen platform.

#include "entry/beck_dlg.h"
#include "entry/erfassung_dlg.h"
#include "entry_test_support.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

class TestErfassungDlg : public QObject {
    Q_OBJECT

    TErfassungDlg *dlg = nullptr;
    MessageCatcher *messages = nullptr;

    QLineEdit *field(const char *name) {
        auto *w = dlg->findChild<QLineEdit *>(QLatin1StringView(name));
        if (!w)
            qFatal("no field %s", name);
        return w;
    }
    QString label(const char *name) { return dlg->findChild<QLabel *>(QLatin1StringView(name))->text(); }
    QPushButton *button(const char *name) { return dlg->findChild<QPushButton *>(QLatin1StringView(name)); }
    QGroupBox *box(const char *name) { return dlg->findChild<QGroupBox *>(QLatin1StringView(name)); }
    QString focusName() {
        QWidget *w = QApplication::focusWidget();
        return w ? w->objectName() : QString();
    }

    // Opens the dialog as the month table does.
    void open(const TDayRecord &day, const TObserverProfile &profile) {
        dlg->DayData = day;
        dlg->Profile = profile;
        dlg->DayNo = 5;
        dlg->MonthNo = 3;
        dlg->YearNo = 2004;
        dlg->show();
        QVERIFY(QTest::qWaitForWindowActive(dlg));
    }
    // Moves the focus into a field (running the checks of the field left) and types.
    void type(const char *name, const QString &text) {
        QLineEdit *e = field(name);
        e->setFocus();
        QCOMPARE(focusName(), QString::fromLatin1(name));
        if (e->inputMask().isEmpty()) {
            e->selectAll();
            if (text.isEmpty())
                QTest::keyClick(e, Qt::Key_Delete);
        } else {
            e->setCursorPosition(0);
        }
        QTest::keyClicks(e, text);
    }
    void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    // Lets the message catcher answer what is pending.
    void settle() { QTest::qWait(30); }

private slots:
    void init() {
        dlg = new TErfassungDlg;
        messages = new MessageCatcher;
    }
    void cleanup() {
        delete messages;
        delete dlg;
    }

    void opensWithCaptionAndEmptyFields() {
        TDayRecord day = UnobservedDay();
        day.Bemerkung.assign(QStringLiteral("Wolken"));
        open(day, ProfileWithSwitches(true));
        QCOMPARE(dlg->windowTitle(), QStringLiteral("Erfassung: 5.3.2004"));
        QCOMPARE(field("Bemerkung")->text(), QStringLiteral("Wolken"));
        QCOMPARE(focusName(), QStringLiteral("Bemerkung"));
        // The zeros of an empty slot are shown as "not given".
        for (const char *name : {"Ruhe", "g_n", "f_n", "g", "f", "Rs", "p", "CV", "A", "Ab", "Fo", "LGES"})
            QVERIFY2(field(name)->text().isEmpty(), name);
        QVERIFY(label("Re").isEmpty());
        QCOMPARE(dlg->DayData.g, std::int16_t(-1));
        QCOMPARE(dlg->DayData.A, std::int8_t(-1));
        QCOMPARE(dlg->DayData.Bemerkung.text(), QStringLiteral("Wolken"));
    }

    void entersDayWithNorthSouthCounts() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("Zeit", QStringLiteral("9:30"));
        type("Ruhe", QStringLiteral("2"));
        type("Qualitaet", QStringLiteral("g"));
        type("g_n", QStringLiteral("2"));
        tab();
        QTest::keyClicks(field("f_n"), QStringLiteral("5"));
        tab();
        QTest::keyClicks(field("g_s"), QStringLiteral("1"));
        tab();
        QTest::keyClicks(field("f_s"), QStringLiteral("3"));
        // The totals are read-only now: Tab leaves the Wolf box for Rs.
        tab();
        QCOMPARE(focusName(), QStringLiteral("Rs"));
        QCOMPARE(label("Re"), QStringLiteral("38"));
        QCOMPARE(field("g")->text(), QStringLiteral("3"));
        QCOMPARE(field("f")->text(), QStringLiteral("8"));
        QVERIFY(field("g")->isReadOnly());
        QTest::keyClicks(field("Rs"), QStringLiteral("57"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(!dlg->isVisible());
        QVERIFY(!dlg->NextDay);
        QVERIFY(messages->texts.isEmpty());
        const TDayRecord &d = dlg->DayData;
        QCOMPARE(d.Zeit.text(), QStringLiteral(" 9:30"));
        QCOMPARE(d.Ruhe, std::int16_t(2));
        QCOMPARE(d.Schaerfe, std::int16_t(-1));
        QCOMPARE(d.Qualitaet, std::int16_t(2));
        QCOMPARE(d.g_n, std::int16_t(2));
        QCOMPARE(d.f_s, std::int16_t(3));
        QCOMPARE(d.g, std::int16_t(3));
        QCOMPARE(d.f, std::int16_t(8));
        QCOMPARE(d.Re, std::int16_t(38));
        QCOMPARE(d.Rs, 57);
        QCOMPARE(d.SN, std::int16_t(-1));
    }

    void screenshot() {
        const QByteArray dir = qgetenv("TARVO_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("set TARVO_SCREENSHOT_DIR to write screenshots");
        TDayRecord day = UnobservedDay();
        day.Zeit.assign(QStringLiteral("10:15"));
        day.Bemerkung.assign(QStringLiteral("leichter Dunst"));
        for (auto m : {&TDayRecord::Ruhe, &TDayRecord::Schaerfe, &TDayRecord::Qualitaet})
            day.*m = 2;
        day.g_n = 3;
        day.f_n = 12;
        day.g_s = 2;
        day.f_s = 7;
        day.g = 5;
        day.f = 19;
        day.Re = 69;
        day.Rs = 240;
        day.p = 4;
        day.s = 8;
        day.SN = 48;
        day.CV = 12;
        day.A = 1;
        day.Ab = 2;
        day.Fo = day.Fm = day.FEF = day.FEP = day.pfn = day.pfs = 1;
        day.LN = day.LS = day.LGES = 0;
        day.z_f.assign(QStringLiteral("Z"));
        day.Po.assign(QStringLiteral("H"));
        day.Fl = 'X';
        TObserverProfile profile = ProfileWithSwitches(true);
        open(day, profile);
        dlg->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/entry_all.png"));
        dlg->hide();
        profile.Ein.set(CatNS, false);
        open(day, profile);
        dlg->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/entry_ns_off.png"));
        dlg->hide();
        open(day, ProfileWithSwitches(false));
        dlg->grab().save(QString::fromLocal8Bit(dir) + QStringLiteral("/entry_all_off.png"));
    }
};

QTEST_MAIN(TestErfassungDlg)
#include "test_erfassung_dlg.moc"
