// Drives the real entry dialog by object name on the offscreen platform.

#include "entry/beck_dlg.h"
#include "entry/entry_time.h"
#include "entry/erfassung_dlg.h"
#include "entry_test_support.h"
#include "storage/storage_state.h"

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
    MessageBoxCatcher *messages = nullptr;

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
            e->selectAll();
            QTest::keyClick(e, Qt::Key_Delete);
            e->setCursorPosition(0);
        }
        QTest::keyClicks(e, text);
    }
    void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    // A day typed with g_n 2, f_n 1, g_s 1, f_s 3; the focus still in f_s.
    void openWithMoreGroupsThanSpotsInTheNorth() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("Zeit", QStringLiteral("10:00"));
        type("g_n", QStringLiteral("2"));
        type("f_n", QStringLiteral("1"));
        type("g_s", QStringLiteral("1"));
        type("f_s", QStringLiteral("3"));
    }
    // Lets the message catcher answer what is pending.
    void settle() { QVERIFY(Settled()); }

private slots:
    void init() {
        dlg = new TErfassungDlg;
        messages = new MessageBoxCatcher;
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

    void groupsAboveSpotsInformsAndStores() {
        openWithMoreGroupsThanSpotsInTheNorth();
        field("Rs")->setFocus();
        settle();
        QCOMPARE(messages->texts,
                 QStringList{QStringLiteral(
                     "Die Anzahl der Flecken kann nicht kleiner sein,\nals die Anzahl der Gruppen")});
        QCOMPARE(focusName(), QStringLiteral("f_n"));
        QCOMPARE(label("Re"), QStringLiteral("34"));
        QCOMPARE(dlg->DayData.g, std::int16_t(3));
        QCOMPARE(dlg->DayData.f, std::int16_t(4));
        // The comparison only informs: OK closes without asking again.
        messages->clear();
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->DayData.Re, std::int16_t(34));
        QVERIFY(messages->texts.isEmpty());
    }

    void spotsMissingOnLeavingSpotField() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("g_n", QStringLiteral("2"));
        tab();
        QCOMPARE(focusName(), QStringLiteral("f_n"));
        tab();
        settle();
        QCOMPARE(messages->texts,
                 QStringList{QStringLiteral("Wenn Gruppen vorhanden sind, müssen auch Flecken da sein")});
        QCOMPARE(focusName(), QStringLiteral("f_n"));
        // The totals follow the north/south fields as soon as one holds text.
        QVERIFY(field("g")->isReadOnly());
        QCOMPARE(field("g")->focusPolicy(), Qt::NoFocus);
    }

    // A box's warning comes once when the box is left; leaving it again
    // without a change lets the focus go, a change warns again.
    void warningIsShownOncePerVisit() {
        openWithMoreGroupsThanSpotsInTheNorth();
        tab();
        settle();
        QCOMPARE(messages->texts.size(), 1);
        QCOMPARE(focusName(), QStringLiteral("f_n"));
        for (const char *next : {"g_s", "f_s", "Rs"}) {
            tab();
            settle();
            QCOMPARE(focusName(), QString::fromLatin1(next));
        }
        QCOMPARE(messages->texts.size(), 1);
        // Back in the box with another wrong count: said again.
        type("f_n", QStringLiteral("0"));
        field("Rs")->setFocus();
        settle();
        QCOMPARE(messages->texts.size(), 2);
        QCOMPARE(focusName(), QStringLiteral("f_n"));
        QCOMPARE(label("Re"), QStringLiteral("33"));
    }

    void spotsMissingIsShownOncePerVisit() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("g_n", QStringLiteral("2"));
        tab();
        tab();
        settle();
        QCOMPARE(messages->texts.size(), 1);
        QCOMPARE(focusName(), QStringLiteral("f_n"));
        tab();
        settle();
        QCOMPARE(focusName(), QStringLiteral("g_s"));
        QCOMPARE(messages->texts.size(), 1);
    }

    // A refused field says why once; then Tab, OK and Esc all work: OK says
    // it again and stays open, Esc cancels.
    void refusalDoesNotTrapTheFocus() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("Rs", QStringLiteral("x"));
        tab(); // to the calculator's button, still in the Beck box
        tab();
        settle();
        QCOMPARE(messages->texts, QStringList{QStringLiteral("Rs: Das ist keine Zahl")});
        QCOMPARE(focusName(), QStringLiteral("Rs"));
        tab();
        tab();
        settle();
        QCOMPARE(messages->texts.size(), 1);
        QCOMPARE(focusName(), QStringLiteral("p"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        settle();
        QCOMPARE(messages->texts.size(), 2);
        QVERIFY(dlg->isVisible());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
        QVERIFY(!dlg->isVisible());
    }

    void refusedEntryKeepsDialogOpen_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("focus");
        QTest::newRow("CV letters") << "CV"
                                    << "abc"
                                    << "CV: Das ist keine Zahl"
                                    << "CV";
        QTest::newRow("Rs letters") << "Rs"
                                    << "12x"
                                    << "Rs: Das ist keine Zahl"
                                    << "Rs";
        QTest::newRow("A above 127") << "A"
                                     << "200"
                                     << "A: Die Zahl muss zwischen 0 und 127 liegen"
                                     << "A";
        QTest::newRow("LN negative") << "LN"
                                     << "-3"
                                     << "L-Nord: Die Zahl muss zwischen 0 und 32767 liegen"
                                     << "LN";
        QTest::newRow("Fo above int16") << "Fo"
                                        << "40000"
                                        << "Fo: Die Zahl muss zwischen 0 und 32767 liegen"
                                        << "Fo";
        QTest::newRow("one N/S field") << "g_s"
                                       << "1"
                                       << "Das geht so nicht!!"
                                       << "g_n";
        QTest::newRow("p without s") << "p"
                                     << "3"
                                     << "Für die Pettis-Zahl bitte p und s angeben"
                                     << "s";
        QTest::newRow("time incomplete")
            << "Zeit"
            << "12:5"
            << "Ungültiger Eingabewert. Mit der Taste ESC machen Sie die Änderungen rückgängig."
            << "Zeit";
    }
    void refusedEntryKeepsDialogOpen() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QString, message);
        QFETCH(QString, focus);
        TDayRecord day = ObservedDay(QStringLiteral("08:00"));
        open(day, ProfileWithSwitches(true));
        type(name.toLatin1().constData(), text);
        // Clicking OK leaves the focus in the field; OK runs the pending check.
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        settle();
        QCOMPARE(messages->texts, QStringList{message});
        QVERIFY(dlg->isVisible());
        QCOMPARE(focusName(), focus);
        // "OK, nächster Tag" refused as well: the flag does not survive the refusal.
        messages->clear();
        QTest::mouseClick(button("BtnNext"), Qt::LeftButton);
        settle();
        QCOMPARE(messages->texts, QStringList{message});
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->NextDay);
        // Emptying the field lets OK through.
        messages->clear();
        if (name == QLatin1StringView("Zeit")) {
            field("Zeit")->setText(QStringLiteral("08:00"));
        } else {
            field(name.toLatin1().constData())->clear();
        }
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(messages->texts.isEmpty());
        QCOMPARE(dlg->DayData.Zeit.text(), QStringLiteral("08:00"));
    }

    void timeOnLeaving_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("stored");
        QTest::newRow("one-digit hour") << "9:30"
                                        << ""
                                        << " 9:30";
        QTest::newRow("two-digit hour") << "2359"
                                        << ""
                                        << "23:59";
        QTest::newRow("minute missing")
            << "12:5"
            << "Ungültiger Eingabewert. Mit der Taste ESC machen Sie die Änderungen rückgängig."
            << "";
        QTest::newRow("hour 24")
            << "24:00"
            << "Ungültige Uhrzeit: erlaubt sind die Stunden 0 bis 23 und die Minuten 0 bis 59."
            << "";
        QTest::newRow("minute 75")
            << "10:75"
            << "Ungültige Uhrzeit: erlaubt sind die Stunden 0 bis 23 und die Minuten 0 bis 59."
            << "";
    }
    void timeOnLeaving() {
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, stored);
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("Zeit", typed);
        tab();
        settle();
        if (message.isEmpty()) {
            QVERIFY(messages->texts.isEmpty());
            QCOMPARE(focusName(), QStringLiteral("Ruhe"));
            QCOMPARE(dlg->DayData.Zeit.text(), stored);
        } else {
            QCOMPARE(messages->texts, QStringList{message});
            QCOMPARE(messages->titles, QStringList{QStringLiteral("TARVO32")});
            QCOMPARE(focusName(), QStringLiteral("Zeit"));
            // The refused time is not stored.
            QCOMPARE(dlg->DayData.Zeit.text(), QStringLiteral("  :  "));
        }
    }

    void escapeTakesBackTheTime() {
        TDayRecord day = ObservedDay(QStringLiteral("07:45"));
        open(day, ProfileWithSwitches(true));
        type("Zeit", QStringLiteral("12:3"));
        QTest::keyClick(field("Zeit"), Qt::Key_Escape);
        QVERIFY(dlg->isVisible());
        QCOMPARE(field("Zeit")->text(), QStringLiteral("07:45"));
        tab();
        settle();
        QVERIFY(messages->texts.isEmpty());
        // A second Esc cancels the dialog.
        QTest::keyClick(field("Ruhe"), Qt::Key_Escape);
        QCOMPARE(dlg->result(), int(QDialog::Rejected));
    }

    void escapeAfterARefusedTimeTakesBackTheTime() {
        // The refusal's own advice: Esc takes the change back; it must not
        // cancel the day with everything typed.
        TDayRecord day = ObservedDay(QStringLiteral("08:00"));
        open(day, ProfileWithSwitches(true));
        type("CV", QStringLiteral("7"));
        type("Zeit", QStringLiteral("12:3"));
        tab();
        settle();
        QCOMPARE(messages->texts.size(), 1);
        QTRY_COMPARE(focusName(), QStringLiteral("Zeit"));
        QTest::keyClick(field("Zeit"), Qt::Key_Escape);
        QVERIFY(dlg->isVisible());
        QCOMPARE(field("Zeit")->text(), QStringLiteral("08:00"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->DayData.CV, std::int16_t(7));
    }

    void untouchedTimeMeansNotObserved() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("CV", QStringLiteral("5"));
        messages->answerWith(QStringLiteral("BtnNichtBeobachtet"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(messages->texts, QStringList{DayWithoutTimeQuestion()});
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(!dlg->DayData.observed());
        QCOMPARE(dlg->DayData.CV, std::int16_t(5));
        // Opened again, the unobserved day shows nothing of it.
        dlg->show();
        QVERIFY(field("CV")->text().isEmpty());
        QCOMPARE(dlg->DayData.CV, std::int16_t(-1));
    }

    // Numbers without a time: the day is not dropped without a word. The
    // default answer goes back into the time field, ready for the digits.
    void numbersWithoutTimeAsk_data() {
        QTest::addColumn<QString>("okButton");
        QTest::newRow("OK, fertig") << "BtnOK";
        QTest::newRow("OK, nächster Tag") << "BtnNext";
    }
    void numbersWithoutTimeAsk() {
        QFETCH(QString, okButton);
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("g_n", QStringLiteral("2"));
        type("f_n", QStringLiteral("5"));
        type("g_s", QStringLiteral("0"));
        type("f_s", QStringLiteral("0"));
        messages->answerWith(QStringLiteral("BtnZeitEingeben"));
        QTest::mouseClick(button(okButton.toLatin1().constData()), Qt::LeftButton);
        QCOMPARE(messages->texts, QStringList{DayWithoutTimeQuestion()});
        QVERIFY(dlg->isVisible());
        QVERIFY(!dlg->NextDay);
        QTRY_COMPARE(focusName(), QStringLiteral("Zeit"));
        QCOMPARE(field("Zeit")->cursorPosition(), 0);
        QTest::keyClicks(field("Zeit"), QStringLiteral("0905"));
        QCOMPARE(field("Zeit")->displayText(), QStringLiteral("09:05"));
        messages->clear();
        QTest::mouseClick(button(okButton.toLatin1().constData()), Qt::LeftButton);
        QVERIFY(messages->texts.isEmpty());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->NextDay, okButton == QLatin1String("BtnNext"));
        QCOMPARE(dlg->DayData.Zeit.text(), QStringLiteral("09:05"));
        QCOMPARE(dlg->DayData.Re, std::int16_t(25));
    }

    // A time without numbers is an observed day without counts: nothing to ask.
    void timeWithoutNumbersIsStoredAsIs() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("Zeit", QStringLiteral("10:15"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        settle();
        QVERIFY(messages->texts.isEmpty());
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->DayData.Zeit.text(), QStringLiteral("10:15"));
        QCOMPARE(dlg->DayData.Re, std::int16_t(-1));
        QVERIFY(!HasObservationValues(dlg->DayData));
    }

    // After a refused time, Esc (as the message advises) empties the field
    // and puts the cursor at its start: the next digits land.
    void digitsLandAfterRefusedTimeAndEscape() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        QLineEdit *zeit = field("Zeit");
        zeit->setFocus();
        zeit->setCursorPosition(0);
        QTest::keyClicks(zeit, QStringLiteral("9"));
        tab();
        settle();
        QCOMPARE(messages->texts, QStringList{TimeMessage(TimeStatus::Incomplete)});
        QTRY_COMPARE(focusName(), QStringLiteral("Zeit"));
        QTest::keyClick(zeit, Qt::Key_Escape);
        QVERIFY(dlg->isVisible());
        QCOMPARE(zeit->displayText(), QStringLiteral("__:__"));
        QCOMPARE(zeit->cursorPosition(), 0);
        QTest::keyClicks(zeit, QStringLiteral("0905"));
        QCOMPARE(zeit->displayText(), QStringLiteral("09:05"));
        tab();
        settle();
        QCOMPARE(messages->texts.size(), 1);
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->DayData.Zeit.text(), QStringLiteral("09:05"));
    }

    // A one-digit hour typed with its leading blank.
    void oneDigitHourWithLeadingBlank_data() {
        QTest::addColumn<QString>("start");
        QTest::newRow("empty field") << QString();
        QTest::newRow("over a time") << "12:34";
    }
    void oneDigitHourWithLeadingBlank() {
        QFETCH(QString, start);
        open(start.isEmpty() ? UnobservedDay() : ObservedDay(start), ProfileWithSwitches(true));
        QLineEdit *zeit = field("Zeit");
        zeit->setFocus();
        zeit->selectAll();
        QTest::keyClicks(zeit, QStringLiteral(" 905"));
        QCOMPARE(zeit->displayText(), QStringLiteral("_9:05"));
        tab();
        settle();
        QVERIFY(messages->texts.isEmpty());
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QCOMPARE(dlg->DayData.Zeit.text(), QStringLiteral(" 9:05"));
    }

    // With no counting category on, the dialog says where to switch them on.
    void noCategoryNotice_data() {
        QTest::addColumn<int>("switchedOn"); // -1: none
        QTest::addColumn<bool>("notice");
        QTest::newRow("none") << -1 << true;
        QTest::newRow("remark only") << int(CatBemerkung) << true;
        QTest::newRow("Wolf") << int(CatWolf) << false;
        QTest::newRow("A") << int(CatA) << false;
        QTest::newRow("faculae") << int(CatFackel) << false;
    }
    void noCategoryNotice() {
        QFETCH(int, switchedOn);
        QFETCH(bool, notice);
        TObserverProfile profile = ProfileWithSwitches(false);
        if (switchedOn >= 0)
            profile.Ein.set(switchedOn, true);
        open(UnobservedDay(), profile);
        auto *label = dlg->findChild<QLabel *>(QStringLiteral("LblKeineKategorie"));
        QVERIFY(label);
        QCOMPARE(label->isVisible(), notice);
        QVERIFY(label->text().contains(QStringLiteral("„Optionen › Beobachter › Eingabe“")));
    }

    void enterMovesLikeTab() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("Zeit", QStringLiteral("11:00"));
        QTest::keyClick(field("Zeit"), Qt::Key_Return);
        QCOMPARE(focusName(), QStringLiteral("Ruhe"));
        QVERIFY(dlg->isVisible());
        QTest::keyClick(field("Ruhe"), Qt::Key_Enter);
        QCOMPARE(focusName(), QStringLiteral("Schaerfe"));
    }

    void seeingKeys_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::newRow("Qualitaet g") << "Qualitaet"
                                     << "g"
                                     << "2";
        QTest::newRow("Qualitaet E") << "Qualitaet"
                                     << "E"
                                     << "1";
        QTest::newRow("Qualitaet w") << "Qualitaet"
                                     << "w"
                                     << "5";
        QTest::newRow("Qualitaet 6") << "Qualitaet"
                                     << "6"
                                     << "";
        QTest::newRow("Qualitaet x") << "Qualitaet"
                                     << "x"
                                     << "";
        QTest::newRow("Ruhe 3") << "Ruhe"
                                << "3"
                                << "3";
        QTest::newRow("Ruhe 0") << "Ruhe"
                                << "0"
                                << "";
        QTest::newRow("Ruhe e") << "Ruhe"
                                << "e"
                                << "";
        QTest::newRow("Schaerfe one key") << "Schaerfe"
                                          << "45"
                                          << "4";
    }
    void seeingKeys() {
        QFETCH(QString, name);
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        open(UnobservedDay(), ProfileWithSwitches(true));
        type(name.toLatin1().constData(), keys);
        QCOMPARE(field(name.toLatin1().constData())->text(), shown);
    }

    void switchesHideBoxes_data() {
        QTest::addColumn<int>("category");
        QTest::addColumn<QString>("boxName");
        QTest::newRow("Wolf") << int(CatWolf) << "GBWolf";
        QTest::newRow("N-S north") << int(CatNS) << "GBNord";
        QTest::newRow("N-S south") << int(CatNS) << "GBSued";
        QTest::newRow("Beck") << int(CatBeck) << "GBBeck";
        QTest::newRow("Pettis") << int(CatPettis) << "GBPettis";
        QTest::newRow("CV") << int(CatCV) << "GBCV";
        QTest::newRow("A") << int(CatA) << "GBA";
        QTest::newRow("Fackel") << int(CatFackel) << "GBFackel";
        QTest::newRow("LB") << int(CatLB) << "GBLB";
    }
    void switchesHideBoxes() {
        QFETCH(int, category);
        QFETCH(QString, boxName);
        TObserverProfile profile = ProfileWithSwitches(true);
        open(UnobservedDay(), profile);
        QVERIFY(box(boxName.toLatin1().constData())->isVisible());
        const int fullHeight = dlg->height();
        dlg->hide();
        profile.Ein.set(category, false);
        open(UnobservedDay(), profile);
        QVERIFY(!box(boxName.toLatin1().constData())->isVisible());
        // Everything else stays.
        for (const char *other :
             {"GBallg", "GBWolf", "GBBeck", "GBPettis", "GBCV", "GBA", "GBFackel", "GBLB"})
            if (boxName != QLatin1StringView(other) && !(category == CatWolf && boxName == "GBWolf"))
                QVERIFY2(box(other)->isVisible(), other);
        QVERIFY(dlg->height() <= fullHeight);
    }

    void boxesMoveUpIntoHiddenPlaces() {
        TObserverProfile profile = ProfileWithSwitches(true);
        open(UnobservedDay(), profile);
        const int wolfTop = box("GBWolf")->y();
        const int beckTop = box("GBBeck")->y();
        const int pettisTop = box("GBPettis")->y();
        const int lbTop = box("GBLB")->y();
        dlg->hide();
        // Beck and Pettis take the Wolf box's place; the light bridges keep theirs.
        profile.Ein.set(CatWolf, false);
        profile.Ein.set(CatFackel, false);
        open(UnobservedDay(), profile);
        QCOMPARE(box("GBBeck")->y(), wolfTop);
        QCOMPARE(box("GBPettis")->y(), wolfTop);
        QCOMPARE(box("GBLB")->y(), lbTop);
        dlg->hide();
        // CV takes Beck's place, A takes Pettis's place.
        profile = ProfileWithSwitches(true);
        profile.Ein.set(CatBeck, false);
        profile.Ein.set(CatPettis, false);
        open(UnobservedDay(), profile);
        QCOMPARE(box("GBCV")->y(), beckTop);
        QCOMPARE(box("GBA")->y(), pettisTop);
    }

    void remarkSwitch() {
        TObserverProfile profile = ProfileWithSwitches(true);
        profile.Ein.set(CatBemerkung, false);
        TDayRecord day = UnobservedDay();
        day.Bemerkung.assign(QStringLiteral("bleibt"));
        open(day, profile);
        QVERIFY(!field("Bemerkung")->isVisible());
        QCOMPARE(focusName(), QStringLiteral("Zeit"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->DayData.Bemerkung.text(), QStringLiteral("bleibt"));
    }

    void nsOffTotalsWithoutComparison() {
        TObserverProfile profile = ProfileWithSwitches(true);
        profile.Ein.set(CatNS, false);
        open(UnobservedDay(), profile);
        QVERIFY(!field("g_n")->isVisible());
        QVERIFY(!field("g")->isReadOnly());
        type("Zeit", QStringLiteral("12:00"));
        type("g", QStringLiteral("5"));
        tab();
        QCOMPARE(focusName(), QStringLiteral("f"));
        QTest::keyClicks(field("f"), QStringLiteral("2"));
        tab();
        settle();
        QCOMPARE(focusName(), QStringLiteral("Rs"));
        QVERIFY(messages->texts.isEmpty());
        QCOMPARE(label("Re"), QStringLiteral("52"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->DayData.Re, std::int16_t(52));
        QCOMPARE(dlg->DayData.g_n, std::int16_t(-1));
    }

    void nsOffKeepsHiddenValues() {
        TObserverProfile profile = ProfileWithSwitches(true);
        profile.Ein.set(CatNS, false);
        TDayRecord day = ObservedDay(QStringLiteral("12:00"));
        day.g_n = 1;
        day.f_n = 4;
        day.g_s = 2;
        day.f_s = 5;
        day.g = 3;
        day.f = 9;
        day.Re = 39;
        open(day, profile);
        QCOMPARE(field("g_n")->text(), QStringLiteral("1"));
        QVERIFY(field("g")->isReadOnly());
        QCOMPARE(field("g")->focusPolicy(), Qt::NoFocus);
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->DayData.g_s, std::int16_t(2));
        QCOMPARE(dlg->DayData.Re, std::int16_t(39));
    }

    void nsOnKeepsTotalsOfADayWithoutTheSplit() {
        // A day counted with totals only (N-S was off then) keeps them when
        // the Wolf box is passed through with N-S on.
        TDayRecord day = ObservedDay(QStringLiteral("12:00"));
        day.g = 5;
        day.f = 20;
        day.Re = 70;
        open(day, ProfileWithSwitches(true));
        QVERIFY(!field("g")->isReadOnly());
        field("g_n")->setFocus();
        field("Rs")->setFocus();
        settle();
        QCOMPARE(field("g")->text(), QStringLiteral("5"));
        QCOMPARE(label("Re"), QStringLiteral("70"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->DayData.Re, std::int16_t(70));
        QCOMPARE(dlg->DayData.g_n, std::int16_t(-1));
    }

    void pettisBothEmptiedIsNotGiven() {
        TDayRecord day = ObservedDay(QStringLiteral("12:00"));
        day.p = 3;
        day.s = 4;
        day.SN = 34;
        open(day, ProfileWithSwitches(true));
        QCOMPARE(label("SN"), QStringLiteral("34"));
        type("p", QString());
        type("s", QString());
        field("CV")->setFocus();
        settle();
        QVERIFY(label("SN").isEmpty());
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->DayData.p, std::int16_t(-1));
        QCOMPARE(dlg->DayData.s, std::int16_t(-1));
        QCOMPARE(dlg->DayData.SN, std::int16_t(-1));
    }

    void pettisShowsSN() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("p", QStringLiteral("4"));
        type("s", QStringLiteral("11"));
        type("CV", QStringLiteral("3"));
        QCOMPARE(label("SN"), QStringLiteral("51"));
    }

    void faculaeAndLightBridges() {
        open(UnobservedDay(), ProfileWithSwitches(true));
        type("Zeit", QStringLiteral("13:10"));
        type("Fo", QStringLiteral("2"));
        type("pfs", QStringLiteral("1"));
        type("z_f", QStringLiteral("Zeichnung"));
        dlg->findChild<QCheckBox *>(QStringLiteral("CBFl"))->setChecked(true);
        type("LGES", QStringLiteral("3"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        const TDayRecord &d = dlg->DayData;
        QCOMPARE(d.Fo, std::int16_t(2));
        QCOMPARE(d.Fm, std::int16_t(-1));
        QCOMPARE(d.pfs, std::int16_t(1));
        QCOMPARE(d.z_f.text(), QStringLiteral("Zeich"));
        QCOMPARE(d.Fl, 'X');
        QCOMPARE(d.LGES, std::int16_t(3));
        QCOMPARE(d.LN, std::int16_t(-1));
    }

    void execNextDayAndCancel() {
        dlg->DayData = UnobservedDay();
        dlg->Profile = ProfileWithSwitches(true);
        dlg->NextDay = true; // stale value from before: the opening clears it
        QTimer::singleShot(50, this, [this] {
            QVERIFY(!dlg->NextDay);
            button("BtnNext")->click();
        });
        QCOMPARE(dlg->exec(), int(QDialog::Accepted));
        QVERIFY(dlg->NextDay);

        QTimer::singleShot(50, this, [this] { button("BtnOK")->click(); });
        QCOMPARE(dlg->exec(), int(QDialog::Accepted));
        QVERIFY(!dlg->NextDay);

        QTimer::singleShot(50, this, [this] { button("BtnCancel")->click(); });
        QCOMPARE(dlg->exec(), int(QDialog::Rejected));
    }

    void beckCalculatorFillsRs() {
        TDayRecord day = ObservedDay(QStringLiteral("12:00"));
        day.f = 10;
        open(day, ProfileWithSwitches(true));
        bool seen = false;
        OnModal<TBeckDLG>([&seen](TBeckDLG *beck) {
            QCOMPARE(beck->WolfSpots, std::uint16_t(10));
            QCOMPARE(beck->windowTitle(), QStringLiteral("Hilfe Beck'sche Zahl"));
            auto *fa = beck->findChild<QLineEdit *>(QStringLiteral("f_a"));
            fa->selectAll();
            QTest::keyClicks(fa, QStringLiteral("2"));
            QTest::keyClick(fa, Qt::Key_Tab);
            seen = true;
            beck->findChild<QPushButton *>(QStringLiteral("BtnOK"))->click();
        });
        dlg->findChild<QToolButton *>(QStringLiteral("BeckHlp"))->click();
        QVERIFY(seen);
        QVERIFY(Storage().DialogSlots[SlotBeck]);
        QCOMPARE(field("Rs")->text(), QStringLiteral("8"));
        QTRY_COMPARE(focusName(), QStringLiteral("Rs"));
        QTest::mouseClick(button("BtnOK"), Qt::LeftButton);
        QCOMPARE(dlg->DayData.Rs, 8);
    }

    void screenshot() {
        const QByteArray dir = qgetenv("TARVO_SCREENSHOT_DIR");
        if (dir.isEmpty())
            QSKIP("set TARVO_SCREENSHOT_DIR to write screenshots");
        TDayRecord day = ObservedDay(QStringLiteral("10:15"));
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
