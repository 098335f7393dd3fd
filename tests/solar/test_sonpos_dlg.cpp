// The position dialog driven like a user: typed fields, Enter, focus moves, messages.
#include "../common/modal.h"
#include "solar/sonpos_dlg.h"
#include "solar/spot_position.h"
#include "storage/profile.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

namespace {

QDateTime Fixed(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi), Qt::UTC);
}

} // namespace

class TestSonPosDlg : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void showingFillsPresentMomentInUt();
    void computesTypedPosition();
    void invalidDateKeepsText();
    void invalidTimeKeepsValues();
    void pointOutsideCircle();
    void clickWithPointOutsideWarnsOnce();
    void coordinateNotANumber();
    void resultsClearWhenAnInputChanges_data();
    void resultsClearWhenAnInputChanges();
    void refusalIsSaidOncePerChange();
    void radiusNotSet();
    void rotationWrapNote();
    void beforeFirstRotationShowsDash();
    void germanNumberFormat();
    void profileRadiusIsUsed();

private:
    template <class T> T *child(const char *name) {
        T *w = dlg->findChild<T *>(QLatin1String(name));
        if (!w)
            qFatal("no widget %s", name);
        return w;
    }
    QString text(const char *label) { return child<QLabel>(label)->text(); }
    void showDialog(const QDateTime &now);
    void enter(const char *edit, const QString &value);
    void computeAt(const QString &date, const QString &time, const QString &x, const QString &y);

    TDlgSonPos *dlg = nullptr;
};

void TestSonPosDlg::init() {
    QLocale::setDefault(QLocale::c());
    dlg = new TDlgSonPos;
    dlg->setRadius(100);
}

void TestSonPosDlg::cleanup() {
    delete dlg;
    dlg = nullptr;
    QLocale::setDefault(QLocale::c());
}

void TestSonPosDlg::showDialog(const QDateTime &now) {
    dlg->setClock([now] { return now; });
    dlg->show();
    QApplication::setActiveWindow(dlg);
    QVERIFY(QTest::qWaitForWindowActive(dlg));
}

// Types a value and leaves the field with Enter, as an observer does.
void TestSonPosDlg::enter(const char *edit, const QString &value) {
    auto *e = child<QLineEdit>(edit);
    e->setFocus();
    e->setText(value);
    QTest::keyClick(e, Qt::Key_Return);
}

void TestSonPosDlg::computeAt(const QString &date, const QString &time, const QString &x, const QString &y) {
    enter("MEDatum", date);
    enter("MEZeit", time);
    enter("MEX", x);
    enter("MEY", y);
    QCOMPARE(QApplication::focusWidget(), child<QPushButton>("BtnRechnen"));
    QTest::keyClick(child<QPushButton>("BtnRechnen"), Qt::Key_Return);
}

void TestSonPosDlg::showingFillsPresentMomentInUt() {
    // Half past midnight two hours east of Greenwich is still the 5th in UT.
    const QDateTime local(QDate(2024, 3, 6), QTime(0, 30), Qt::OffsetFromUTC, 7200);
    showDialog(local);
    QCOMPARE(child<QLineEdit>("MEDatum")->text(), QStringLiteral("05.03.2024"));
    QCOMPARE(child<QLineEdit>("MEZeit")->text(), QStringLiteral("22:30"));
    // The Sun's values belong to the moment shown (5 March 2024, 22:30 UT).
    QCOMPARE(text("lP"), QStringLiteral("-22.7665"));
    QCOMPARE(text("lB0"), QStringLiteral("-7.2499"));
    QCOMPARE(text("lL0"), QStringLiteral("92.3232"));
    QCOMPARE(text("lRotation"), QStringLiteral("2281"));
    QCOMPARE(dlg->windowTitle(), QStringLiteral("Sonnenflecken Position berechnen"));
    QVERIFY(!child<QLabel>("lRota")->isVisible());

    // A later showing takes the new moment; texts typed before are replaced then.
    enter("MEDatum", QStringLiteral("13.10.1992"));
    dlg->hide();
    showDialog(Fixed(2025, 7, 1, 8, 5));
    QCOMPARE(child<QLineEdit>("MEDatum")->text(), QStringLiteral("01.07.2025"));
    QCOMPARE(child<QLineEdit>("MEZeit")->text(), QStringLiteral("08:05"));
}

void TestSonPosDlg::computesTypedPosition() {
    MessageBoxCatcher messages;
    showDialog(Fixed(2024, 3, 5, 12, 0));
    computeAt(QStringLiteral("13.10.1992"), QStringLiteral("00:00"), QStringLiteral("50"),
              QStringLiteral("0"));
    QVERIFY(dlg->isVisible()); // Enter never closed the dialog
    QCOMPARE(messages.texts, QStringList());
    QCOMPARE(text("lP"), QStringLiteral("26.2739"));
    QCOMPARE(text("lB0"), QStringLiteral("5.9884"));
    QCOMPARE(text("lL0"), QStringLiteral("238.6295"));
    QCOMPARE(text("lRotation"), QStringLiteral("1861"));
    QCOMPARE(text("lB"), QStringLiteral("18.0877"));
    QCOMPARE(text("lGradB"), QStringLiteral("° (Nord)"));
    QCOMPARE(text("lL"), QStringLiteral("210.4879"));
    QCOMPARE(text("lAZM"), QStringLiteral("-28.1416"));
    QCOMPARE(text("lGradAZM"), QStringLiteral("° (Ost)"));
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("MEX"));

    // Second point by mouse: leaving the coordinates reads them, the click computes.
    child<QLineEdit>("MEX")->setText(QStringLiteral("-50"));
    QTest::mouseClick(child<QPushButton>("BtnRechnen"), Qt::LeftButton);
    QCOMPARE(text("lB"), QStringLiteral("-7.4565"));
    QCOMPARE(text("lGradB"), QStringLiteral("° (Süd)"));
    QCOMPARE(text("lL"), QStringLiteral("265.5123"));
    QCOMPARE(text("lAZM"), QStringLiteral("26.8829"));
    QCOMPARE(text("lGradAZM"), QStringLiteral("° (West)"));
    QCOMPARE(messages.texts, QStringList());

    // 23:59 is the last minute of the day.
    enter("MEZeit", QStringLiteral("23:59"));
    QCOMPARE(text("lL0"), QStringLiteral("225.4474"));
}

void TestSonPosDlg::invalidDateKeepsText() {
    MessageBoxCatcher messages;
    showDialog(Fixed(2024, 3, 5, 12, 0));
    enter("MEDatum", QStringLiteral("13.10.1992"));
    const QString p = text("lP");
    for (const QString &bad : {QStringLiteral("31.02.2024"), QStringLiteral("01.01.1599"), QString()}) {
        messages.texts.clear();
        enter("MEDatum", bad);
        QTRY_COMPARE(messages.texts, QStringList{QStringLiteral("Das Datum ist falsch!")});
        QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>("MEDatum"));
        if (!bad.isEmpty())
            QCOMPARE(child<QLineEdit>("MEDatum")->text(), bad);
        QCOMPARE(child<QLineEdit>("MEZeit")->text(), QStringLiteral("12:00"));
        QCOMPARE(text("lP"), p);
    }
}

void TestSonPosDlg::invalidTimeKeepsValues() {
    MessageBoxCatcher messages;
    showDialog(Fixed(2024, 3, 5, 12, 0));
    computeAt(QStringLiteral("13.10.1992"), QStringLiteral("00:00"), QStringLiteral("0"),
              QStringLiteral("0"));
    enter("MEZeit", QStringLiteral("24:00"));
    QTRY_COMPARE(messages.texts, QStringList{QStringLiteral("Die Zeit ist falsch!")});
    QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>("MEZeit"));
    QCOMPARE(child<QLineEdit>("MEZeit")->text(), QStringLiteral("24:00"));
    QCOMPARE(child<QLineEdit>("MEDatum")->text(), QStringLiteral("13.10.1992"));
    QCOMPARE(text("lP"), QStringLiteral("26.2739"));
    QCOMPARE(text("lL0"), QStringLiteral("238.6295"));
    // The position computed for 00:00 no longer belongs to the fields.
    QCOMPARE(text("lB"), QString());
    QCOMPARE(text("lL"), QString());
    QCOMPARE(text("lAZM"), QString());
}

void TestSonPosDlg::pointOutsideCircle() {
    MessageBoxCatcher messages;
    showDialog(Fixed(2024, 3, 5, 12, 0));
    computeAt(QStringLiteral("13.10.1992"), QStringLiteral("00:00"), QStringLiteral("0"),
              QStringLiteral("50"));
    QCOMPARE(text("lB"), QStringLiteral("32.4285"));
    messages.texts.clear();
    enter("MEX", QStringLiteral("80"));
    enter("MEY", QStringLiteral("70"));
    QTRY_COMPARE(messages.texts, QStringList{QStringLiteral("Der Punkt liegt nicht innerhalb des Kreises")});
    QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>("MEX"));
    QCOMPARE(child<QLineEdit>("MEX")->text(), QStringLiteral("80"));
    QCOMPARE(child<QLineEdit>("MEY")->text(), QStringLiteral("70"));
    // Computing anyway reports the same and keeps the last result.
    QCoreApplication::processEvents();
    messages.texts.clear();
    child<QPushButton>("BtnRechnen")->click();
    QCOMPARE(messages.texts, QStringList{QStringLiteral("Der Punkt liegt nicht innerhalb des Kreises")});
    // The result of the earlier point is not shown for the new one.
    QCOMPARE(text("lB"), QString());
    QCOMPARE(text("lL"), QString());
    QCOMPARE(text("lAZM"), QString());
}

void TestSonPosDlg::clickWithPointOutsideWarnsOnce() {
    MessageBoxCatcher messages;
    showDialog(Fixed(1992, 10, 13, 0, 0));
    auto *x = child<QLineEdit>("MEX");
    x->setFocus();
    x->setText(QStringLiteral("90"));
    child<QLineEdit>("MEY")->setText(QStringLiteral("90"));
    QTest::mouseClick(child<QPushButton>("BtnRechnen"), Qt::LeftButton);
    QVERIFY(Settled());
    // The check on leaving the coordinates speaks; the click it interrupted does not repeat it.
    QCOMPARE(messages.texts, QStringList{QStringLiteral("Der Punkt liegt nicht innerhalb des Kreises")});
    QCOMPARE(text("lB"), QString());
}

void TestSonPosDlg::coordinateNotANumber() {
    MessageBoxCatcher messages;
    showDialog(Fixed(1992, 10, 13, 0, 0));
    enter("MEX", QStringLiteral("50"));
    enter("MEY", QStringLiteral("0"));
    QTest::keyClick(child<QPushButton>("BtnRechnen"), Qt::Key_Return);
    QCOMPARE(text("lB"), QStringLiteral("18.0877"));

    messages.texts.clear();
    enter("MEX", QStringLiteral("-50"));
    enter("MEY", QStringLiteral("1,2,3"));
    QTRY_COMPARE(messages.texts, QStringList{QStringLiteral("Y: '1,2,3' ist kein gültiger Gleitkommawert")});
    QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>("MEY"));
    QCOMPARE(child<QLineEdit>("MEY")->text(), QStringLiteral("1,2,3"));
    // No result for a Y that could not be read: the old one would not
    // belong to the fields. A readable Y computes again.
    messages.texts.clear();
    child<QPushButton>("BtnRechnen")->click();
    QCOMPARE(messages.texts, QStringList());
    QCOMPARE(text("lB"), QString());
    enter("MEY", QStringLiteral("0"));
    QTest::keyClick(child<QPushButton>("BtnRechnen"), Qt::Key_Return);
    QCOMPARE(text("lB"), QStringLiteral("-7.4565"));
}

// B, L, the distance and the rotation note go as soon as date, time, X or Y
// change, so no result is read against other inputs.
void TestSonPosDlg::resultsClearWhenAnInputChanges_data() {
    QTest::addColumn<QString>("field");
    for (const char *f : {"MEDatum", "MEZeit", "MEX", "MEY"})
        QTest::newRow(f) << QString::fromLatin1(f);
}

void TestSonPosDlg::resultsClearWhenAnInputChanges() {
    QFETCH(QString, field);
    MessageBoxCatcher messages;
    showDialog(Fixed(1992, 10, 13, 0, 0));
    computeAt(QStringLiteral("31.10.1992"), QStringLiteral("00:00"), QStringLiteral("60"),
              QStringLiteral("0"));
    QVERIFY(child<QLabel>("lRota")->isVisible());
    QVERIFY(!text("lB").isEmpty());
    auto *edit = dlg->findChild<QLineEdit *>(field);
    edit->setFocus();
    edit->end(false);
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_1);
    for (const char *value : {"lB", "lL", "lAZM"})
        QVERIFY2(text(value).isEmpty(), value);
    QCOMPARE(text("lGradB"), QStringLiteral("°"));
    QCOMPARE(text("lGradAZM"), QStringLiteral("°"));
    QVERIFY(!child<QLabel>("lRota")->isVisible());
    // The Sun's values stay until the field is left.
    QVERIFY(!text("lP").isEmpty());
}

// A refused coordinate is said once; leaving again unchanged lets the focus
// go on, a new wrong text is said again.
void TestSonPosDlg::refusalIsSaidOncePerChange() {
    MessageBoxCatcher messages;
    showDialog(Fixed(1992, 10, 13, 0, 0));
    enter("MEX", QStringLiteral("abc"));
    enter("MEY", QStringLiteral("0")); // leaves the coordinates
    QTRY_COMPARE(messages.texts.size(), 1);
    QTRY_COMPARE(QApplication::focusWidget(), child<QLineEdit>("MEX"));
    QTest::keyClick(child<QLineEdit>("MEX"), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), child<QLineEdit>("MEY"));
    QTest::keyClick(child<QLineEdit>("MEY"), Qt::Key_Return);
    QTest::qWait(20);
    QCOMPARE(QApplication::focusWidget(), child<QPushButton>("BtnRechnen"));
    QCOMPARE(messages.texts, QStringList{QStringLiteral("X: 'abc' ist kein gültiger Gleitkommawert")});
    // A click on the arrow from the refused field computes nothing with it.
    child<QLineEdit>("MEX")->setFocus();
    QTest::mouseClick(child<QPushButton>("BtnRechnen"), Qt::LeftButton);
    QTest::qWait(20);
    QCOMPARE(messages.texts.size(), 1);
    QCOMPARE(text("lB"), QString());
    enter("MEX", QStringLiteral("xyz"));
    enter("MEY", QStringLiteral("0"));
    QTRY_COMPARE(messages.texts.size(), 2);
}

void TestSonPosDlg::radiusNotSet() {
    MessageBoxCatcher messages;
    dlg->setRadius(0);
    showDialog(Fixed(1992, 10, 13, 0, 0));
    enter("MEX", QStringLiteral("10"));
    enter("MEY", QStringLiteral("0"));
    QTRY_COMPARE(messages.texts, QStringList{QString::fromUtf8(kMsgRadiusNotSet)});
    // The computation itself refuses as well.
    QCoreApplication::processEvents();
    messages.texts.clear();
    child<QPushButton>("BtnRechnen")->click();
    QCOMPARE(messages.texts, QStringList{QString::fromUtf8(kMsgRadiusNotSet)});
    QCOMPARE(text("lB"), QString());
    QCOMPARE(text("lGradB"), QStringLiteral("°"));
}

void TestSonPosDlg::rotationWrapNote() {
    MessageBoxCatcher messages;
    showDialog(Fixed(1992, 10, 13, 0, 0));
    // L0 lies just above 0 on 31 October 1992: a spot far east falls below 0.
    enter("MEDatum", QStringLiteral("31.10.1992"));
    enter("MEZeit", QStringLiteral("00:00"));
    QCOMPARE(text("lL0"), QStringLiteral("1.2307"));
    enter("MEX", QStringLiteral("60"));
    enter("MEY", QStringLiteral("0"));
    QTest::keyClick(child<QPushButton>("BtnRechnen"), Qt::Key_Return);
    QCOMPARE(messages.texts, QStringList());
    QVERIFY(child<QLabel>("lRota")->isVisible());
    QCOMPARE(text("lRota"), QStringLiteral("Alte Sonnenrotation"));
    QCOMPARE(text("lL"), QStringLiteral("326.2095"));
    QCOMPARE(text("lGradAZM"), QStringLiteral("° (Ost)"));
    // Back on the near side of 0 the note disappears.
    enter("MEX", QStringLiteral("0"));
    QTest::keyClick(child<QLineEdit>("MEY"), Qt::Key_Return);
    QTest::keyClick(child<QPushButton>("BtnRechnen"), Qt::Key_Return);
    QVERIFY(!child<QLabel>("lRota")->isVisible());
}

void TestSonPosDlg::beforeFirstRotationShowsDash() {
    showDialog(Fixed(1800, 6, 1, 12, 0));
    QCOMPARE(text("lRotation"), QStringLiteral("–"));
    QVERIFY(text("lP") != QStringLiteral("0"));
}

void TestSonPosDlg::germanNumberFormat() {
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    MessageBoxCatcher messages;
    showDialog(Fixed(2024, 3, 5, 12, 0));
    computeAt(QStringLiteral("13.10.1992"), QStringLiteral("00:00"), QStringLiteral("50,0"),
              QStringLiteral("0"));
    QCOMPARE(messages.texts, QStringList());
    QCOMPARE(text("lP"), QStringLiteral("26,2739"));
    QCOMPARE(text("lAZM"), QStringLiteral("-28,1416"));
}

void TestSonPosDlg::profileRadiusIsUsed() {
    TObserverProfile profile = EmptyProfile();
    profile.Radius = 50;
    dlg->setProfile(profile);
    QCOMPARE(dlg->radius(), 50);
    MessageBoxCatcher messages;
    showDialog(Fixed(2024, 3, 5, 12, 0));
    // 50 mm on a 50 mm disk is the limb: accepted; 60 mm is not.
    computeAt(QStringLiteral("13.10.1992"), QStringLiteral("00:00"), QStringLiteral("50"),
              QStringLiteral("0"));
    QCOMPARE(messages.texts, QStringList());
    QCOMPARE(text("lAZM").left(1), QStringLiteral("-"));
    enter("MEX", QStringLiteral("60"));
    QTest::keyClick(child<QLineEdit>("MEY"), Qt::Key_Return);
    QTRY_COMPARE(messages.texts, QStringList{QStringLiteral("Der Punkt liegt nicht innerhalb des Kreises")});
}

QTEST_MAIN(TestSonPosDlg)
#include "test_sonpos_dlg.moc"
