// The mail dialog against a real SMTP server on 127.0.0.1.
#include "../common/modal.h"
#include "../mail/smtp_test_server.h"
#include "network/email_dlg.h"
#include "network/network_lines.h"
#include "storage/storage_state.h"
#include "test_lines_fixture.h"

#include <QApplication>
#include <QJsonArray>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

namespace {

TObserverProfile MailProfile(const QString &host) {
    TObserverProfile p = LinesTestProfile();
    p.email.assign(QStringLiteral("muster@example.org"));
    p.eName.assign(QStringLiteral("Max Müller"));
    p.SMTP.assign(QStringLiteral(" ") + host + QStringLiteral(" "));
    p.SMTPBen.assign(QStringLiteral("beobachter"));
    p.SMTPPass.assign(QStringLiteral("geheim99"));
    p.AllowPlainLogin = 1; // the test server has no encryption
    p.AddrRe.assign(QStringLiteral("rezahl@example.net"));
    p.AddrA.assign(QStringLiteral("anetz@example.net"));
    p.AddrFackel.assign(QStringLiteral("fackel@example.net"));
    p.SendRe = p.SendA = p.SendF = 1;
    return p;
}

QStringList AuthArgs() {
    return {QStringLiteral("--user"), QStringLiteral("beobachter"), QStringLiteral("--password"),
            QStringLiteral("geheim99")};
}

QByteArray Body(const QJsonObject &message) {
    return QByteArray::fromHex(message.value(QStringLiteral("body_hex")).toString().toLatin1());
}

} // namespace

class TestEmailDlg : public QObject {
    Q_OBJECT

private slots:
    void init();
    void rowStates_data();
    void rowStates();
    void noAddressNeedsSelection();
    void sendsAllThreeLists();
    void rejectedRecipientStopsTheRest();
    void loginWithoutEncryptionIsRefused();
    void refusedConnectionIsExplained();
    void cancelDuringTransfer();
    void alreadySentRowIsSkipped();
    void sendingAgainAsks_data();
    void sendingAgainAsks();
    void statusShowsAddressesAsTheyAre();

private:
    QTemporaryDir home_;
    std::unique_ptr<TYearBuffer> year_;
};

void TestEmailDlg::init() {
    StorageStartUp(home_.path());
    Storage().ProgramVersion = QStringLiteral("1.0.0.0");
    year_ = ZeroYear();
    year_->Day(3, 5) = FullDay();
    year_->Day(3, 6) = FullDay();
    year_->Day(3, 6).Zeit.assignBytes("12:45");
}

void TestEmailDlg::rowStates_data() {
    QTest::addColumn<QByteArray>("status");
    QTest::addColumn<bool>("sendA");
    QTest::addColumn<QList<int>>("states");
    QTest::newRow("nothing sent") << QByteArray() << true
                                  << QList<int>{Qt::Checked, Qt::Checked, Qt::Checked};
    QTest::newRow("relative numbers sent") << QByteArray("100000000000000") << true
                                           << QList<int>{Qt::PartiallyChecked, Qt::Checked, Qt::Checked};
    QTest::newRow("A sent but not preselected")
        << QByteArray("010000000000000") << false << QList<int>{Qt::Checked, Qt::Unchecked, Qt::Checked};
}

void TestEmailDlg::rowStates() {
    QFETCH(QByteArray, status);
    QFETCH(bool, sendA);
    QFETCH(QList<int>, states);
    TObserverProfile profile = MailProfile(QStringLiteral("localhost"));
    profile.SendA = sendA;
    year_->Months[3].Header().Bemerkung.assignBytes(status);
    TEmailDLG dlg;
    dlg.setMonth(profile, *year_, 2004, 3);
    dlg.show();
    auto *list = dlg.findChild<QListWidget *>(QStringLiteral("Meldung"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->item(0)->text(), QStringLiteral("Relativzahlen: rezahl@example.net"));
    QCOMPARE(list->item(1)->text(), QStringLiteral("A-Netz: anetz@example.net"));
    QCOMPARE(list->item(2)->text(), QStringLiteral("Fackeln (Hauptzone): fackel@example.net"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(int(list->item(i)->checkState()), states[i]);
    QCOMPARE(dlg.findChild<QLabel *>(QStringLiteral("lSMTP"))->text(), QStringLiteral(" localhost "));
    QCOMPARE(dlg.findChild<QLabel *>(QStringLiteral("leName"))->text(), QStringLiteral("Max Müller"));
}

void TestEmailDlg::noAddressNeedsSelection() {
    TObserverProfile profile = MailProfile(QStringLiteral("localhost"));
    profile.AddrRe.assign(QString());
    profile.AddrA.assign(QString());
    profile.AddrFackel.assign(QString());
    TEmailDLG dlg;
    dlg.setMonth(profile, *year_, 2004, 3);
    dlg.show();
    QCOMPARE(dlg.findChild<QListWidget *>(QStringLiteral("Meldung"))->count(), 0);
    MessageBoxCatcher boxes;
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("Sie müssen mindestens eine Liste auswählen!")});
    QCOMPARE(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend"))->text(), QStringLiteral("&Senden"));
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray());
}

void TestEmailDlg::sendsAllThreeLists() {
    SmtpTestServer server;
    QVERIFY(server.start(AuthArgs()));
    TObserverProfile profile = MailProfile(server.host());
    profile.SendCC = 1;
    profile.Bugfix = 1;
    profile.AddrPos.assign(QStringLiteral("pos@example.net"));
    profile.SendP = 1;
    TEmailDLG dlg;
    dlg.setMonth(profile, *year_, 2004, 3);
    dlg.show();
    QCOMPARE(dlg.windowTitle(), QStringLiteral("E-Mail-Versand - noch nichts gesendet"));
    MessageBoxCatcher boxes;
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    // The positions at their place, then the summary of what went where.
    QCOMPARE(boxes.texts,
             (QStringList{QStringLiteral("Ist noch nicht implementiert!"),
                          QStringLiteral("Gesendet:\n"
                                         "  Relativzahlen an rezahl@example.net\n"
                                         "  A-Netz an anetz@example.net\n"
                                         "  Fackeln (Hauptzone) an fackel@example.net\n\n"
                                         "Nicht gesendet:\n"
                                         "  Positionen an pos@example.net: Ist noch nicht implementiert!")}));
    QCOMPARE(boxes.titles.last(), QStringLiteral("Informationen"));
    // The lists that went out are no longer ticked: they show as sent.
    auto *list = dlg.findChild<QListWidget *>(QStringLiteral("Meldung"));
    for (int i = 0; i < 3; ++i)
        QCOMPARE(list->item(i)->checkState(), Qt::PartiallyChecked);
    QCOMPARE(list->item(3)->checkState(), Qt::Checked);
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray("111000000000000"));
    QCOMPARE(dlg.windowTitle(), QStringLiteral("E-Mail-Versand - 111000000000000"));
    // Only the status string changed.
    TYearBuffer expected = *year_;
    expected.Months[3].Header().Bemerkung.assignBytes("111000000000000");
    QVERIFY(std::memcmp(&expected, &dlg.year(), sizeof expected) == 0);

    const QList<QJsonObject> received = server.messages();
    QCOMPARE(received.size(), 3);
    const QStringList to{"rezahl@example.net", "anetz@example.net", "fackel@example.net"};
    const QStringList subjects{"REZAHL: Muster 2004/3", "A-ZAHL: Muster 2004/3",
                               "Fackel-Daten: Muster 2004/3"};
    const NetworkLineKind kinds[] = {NetworkLineKind::RelativeNumbers, NetworkLineKind::ANumbers,
                                     NetworkLineKind::Faculae};
    const QByteArray header = FormatObserverHeaderLine(profile) + "\r\n";
    for (int i = 0; i < 3; ++i) {
        const QJsonObject &m = received[i];
        // To and the copy to the observer; the empty maintainers' address adds no blind copy.
        QCOMPARE(m.value("rcpt_tos").toVariant().toStringList(), (QStringList{to[i], "muster@example.org"}));
        QCOMPARE(m.value("mail_from").toString(), QStringLiteral("muster@example.org"));
        QCOMPARE(m.value("login").toString(), QStringLiteral("beobachter"));
        const QJsonObject h = m.value("headers").toObject();
        QCOMPARE(h.value("Subject").toString(), subjects[i]);
        QCOMPARE(h.value("From").toString(), QStringLiteral("Max Müller <muster@example.org>"));
        QCOMPARE(h.value("Cc").toString(), QStringLiteral("muster@example.org"));
        QCOMPARE(h.value("X-Mailer").toString(), QStringLiteral("TARVO32: 1.0.0.0"));
        QVERIFY(!h.value("Organization").toString().isEmpty());
        // The body is the header line and exactly the lines of the data-line file.
        const QByteArray lines = MonthLines(kinds[i], profile, *year_, 2004, 3);
        QCOMPARE(Body(m), kinds[i] == NetworkLineKind::ANumbers ? lines : header + lines);
    }
    QCOMPARE(Body(received[1]).count("\r\n"), 1 + 31);
    // The last mail composed is shown.
    QCOMPARE(dlg.findChild<QLineEdit *>(QStringLiteral("eSub"))->text(), subjects[2]);
    const QString status = dlg.findChild<QPlainTextEdit *>(QStringLiteral("Status"))->toPlainText();
    QVERIFY(status.contains(QLatin1String("Sende Relativzahlen\n")));
    QVERIFY(status.contains(QLatin1String("Interne Meldung: > AUTH LOGIN")));
    QVERIFY(!status.contains(QLatin1String("geheim99")));
    QVERIFY(!status.contains(QString::fromLatin1(QByteArray("geheim99").toBase64())));
}

void TestEmailDlg::rejectedRecipientStopsTheRest() {
    SmtpTestServer server;
    QVERIFY(server.start(AuthArgs() +
                         QStringList{QStringLiteral("--reject"), QStringLiteral("anetz@example.net")}));
    TEmailDLG dlg;
    dlg.setMonth(MailProfile(server.host()), *year_, 2004, 3);
    dlg.show();
    MessageBoxCatcher boxes;
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    QCOMPARE(boxes.texts.size(), 1);
    const QString summary = boxes.texts[0];
    QVERIFY2(summary.startsWith(QLatin1String("Gesendet:\n  Relativzahlen an rezahl@example.net\n\n"
                                              "Nicht gesendet:\n  A-Netz an anetz@example.net: ")),
             qPrintable(summary));
    QVERIFY2(summary.contains(QLatin1String("550")), qPrintable(summary));
    QVERIFY2(
        summary.endsWith(QLatin1String("  Fackeln (Hauptzone) an fackel@example.net: nicht versucht, weil "
                                       "der Versand nach dem Fehler beendet wurde")),
        qPrintable(summary));
    QCOMPARE(boxes.titles[0], QStringLiteral("Fehler"));
    auto *list = dlg.findChild<QListWidget *>(QStringLiteral("Meldung"));
    QCOMPARE(list->item(0)->checkState(), Qt::PartiallyChecked);
    QCOMPARE(list->item(1)->checkState(), Qt::Checked); // still to be sent
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray("100000000000000"));
    const QList<QJsonObject> received = server.messages();
    QCOMPARE(received.size(), 1);
    QCOMPARE(received[0].value("rcpt_tos").toVariant().toStringList(), QStringList{"rezahl@example.net"});
    QCOMPARE(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend"))->text(), QStringLiteral("&Senden"));
}

// The observer's profile decides: without the switch, a server that offers
// no encryption gets neither the credentials nor a mail, and nothing is
// marked as sent.
void TestEmailDlg::loginWithoutEncryptionIsRefused() {
    SmtpTestServer server;
    QVERIFY(server.start(AuthArgs()));
    TObserverProfile profile = MailProfile(server.host());
    profile.AllowPlainLogin = 0;
    TEmailDLG dlg;
    dlg.setMonth(profile, *year_, 2004, 3);
    dlg.show();
    MessageBoxCatcher boxes;
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(boxes.texts[0].contains(QStringLiteral("„Anmeldung ohne Verschlüsselung erlauben“")),
             qPrintable(boxes.texts[0]));
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray("000000000000000"));
    QVERIFY(server.messages().isEmpty());
    QTRY_VERIFY(!server.sessions().isEmpty());
    for (const QJsonObject &session : server.sessions())
        for (const QString &line : Transcript(session))
            QVERIFY2(!line.startsWith(QLatin1String("C: AUTH")), qPrintable(line));
}

// Nothing listens on the server's port: the summary says so in German and
// names what to check; nothing is marked as sent.
void TestEmailDlg::refusedConnectionIsExplained() {
    const int port = ClosedPort();
    QVERIFY(port > 0);
    TEmailDLG dlg;
    dlg.setMonth(MailProfile(QStringLiteral("127.0.0.1:%1").arg(port)), *year_, 2004, 3);
    dlg.show();
    MessageBoxCatcher boxes;
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    QCOMPARE(boxes.texts.size(), 1);
    const QString summary = boxes.texts[0];
    QVERIFY2(
        summary.startsWith(QStringLiteral("Nicht gesendet:\n  Relativzahlen an rezahl@example.net: Keine "
                                          "Verbindung zum SMTP-Server '127.0.0.1:%1': Er nimmt auf Port %1 "
                                          "keine Verbindung an.")
                               .arg(port)),
        qPrintable(summary));
    QVERIFY2(summary.contains(QStringLiteral("\n    Prüfen Sie in den E-Mail-Einstellungen den SMTP-Server")),
             qPrintable(summary));
    QCOMPARE(boxes.titles[0], QStringLiteral("Fehler"));
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray("000000000000000"));
}

void TestEmailDlg::cancelDuringTransfer() {
    SmtpTestServer server;
    QVERIFY(server.start(AuthArgs() + QStringList{QStringLiteral("--data-delay"), QStringLiteral("3")}));
    TEmailDLG dlg;
    dlg.setMonth(MailProfile(server.host()), *year_, 2004, 3);
    dlg.show();
    auto *send = dlg.findChild<QPushButton *>(QStringLiteral("BtnSend"));
    auto *status = dlg.findChild<QPlainTextEdit *>(QStringLiteral("Status"));
    bool pressed = false;
    // The user presses "Abbrechen" while the server keeps the transfer waiting.
    connect(status, &QPlainTextEdit::textChanged, this, [&] {
        if (!pressed && status->toPlainText().contains(QLatin1String("> DATA"))) {
            pressed = true;
            QCOMPARE(send->text(), QStringLiteral("&Abbrechen"));
            QTimer::singleShot(0, send, [send] { send->click(); });
        }
    });
    MessageBoxCatcher boxes;
    QElapsedTimer timer;
    timer.start();
    QTest::mouseClick(send, Qt::LeftButton);
    QVERIFY(pressed);
    QVERIFY(timer.elapsed() < 2900);
    QCOMPARE(boxes.texts.size(), 1);
    QVERIFY2(
        boxes.texts[0].startsWith(QLatin1String(
            "Nicht gesendet:\n  Relativzahlen an rezahl@example.net: Der E-Mail-Versand wurde abgebrochen.")),
        qPrintable(boxes.texts[0]));
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray("000000000000000"));
    QCOMPARE(send->text(), QStringLiteral("&Senden"));
    QVERIFY(server.messages().isEmpty());
}

void TestEmailDlg::alreadySentRowIsSkipped() {
    SmtpTestServer server;
    QVERIFY(server.start(AuthArgs()));
    year_->Months[3].Header().Bemerkung.assignBytes("110000000000000");
    TEmailDLG dlg;
    dlg.setMonth(MailProfile(server.host()), *year_, 2004, 3);
    dlg.show();
    auto *list = dlg.findChild<QListWidget *>(QStringLiteral("Meldung"));
    list->item(1)->setCheckState(Qt::Checked); // the user asks for the A list again
    MessageBoxCatcher boxes;
    boxes.answerWith(QStringLiteral("BtnSendAgain"));
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    QCOMPARE(boxes.texts.size(), 2); // asked first, then the summary
    QCOMPARE(boxes.texts[0], SendAgainQuestion({{QStringLiteral("anetz@example.net"), MailANumbers}}));
    const QList<QJsonObject> received = server.messages();
    QCOMPARE(received.size(), 2);
    QCOMPARE(received[0].value("rcpt_tos").toVariant().toStringList(), QStringList{"anetz@example.net"});
    QCOMPARE(received[1].value("rcpt_tos").toVariant().toStringList(), QStringList{"fackel@example.net"});
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray("111000000000000"));
}

// Pressing "Senden" again for a list already sent this month asks first;
// "not again" leaves it out and still sends the others.
void TestEmailDlg::sendingAgainAsks_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("sentTo");
    QTest::newRow("again") << "BtnSendAgain" << QStringList{"rezahl@example.net", "fackel@example.net"};
    QTest::newRow("not again") << "BtnNotAgain" << QStringList{"fackel@example.net"};
}
void TestEmailDlg::sendingAgainAsks() {
    QFETCH(QString, answer);
    QFETCH(QStringList, sentTo);
    SmtpTestServer server;
    QVERIFY(server.start(AuthArgs()));
    TObserverProfile profile = MailProfile(server.host());
    profile.SendA = 0;
    TEmailDLG dlg;
    dlg.setMonth(profile, *year_, 2004, 3);
    dlg.show();
    auto *list = dlg.findChild<QListWidget *>(QStringLiteral("Meldung"));
    auto *send = dlg.findChild<QPushButton *>(QStringLiteral("BtnSend"));
    {
        MessageBoxCatcher boxes;
        list->item(2)->setCheckState(Qt::Unchecked);
        QTest::mouseClick(send, Qt::LeftButton); // the relative numbers go out
        QCOMPARE(boxes.texts.size(), 1);
    }
    QCOMPARE(list->item(0)->checkState(), Qt::PartiallyChecked);
    list->item(0)->setCheckState(Qt::Checked);
    list->item(2)->setCheckState(Qt::Checked);
    MessageBoxCatcher boxes;
    boxes.answerWith(answer);
    QTest::mouseClick(send, Qt::LeftButton);
    QCOMPARE(boxes.texts.size(), 2);
    QCOMPARE(boxes.texts[0], QStringLiteral("Für diesen Monat bereits gesendet:\n"
                                            "  Relativzahlen an rezahl@example.net\n\nNoch einmal senden?"));
    const QList<QJsonObject> received = server.messages();
    QCOMPARE(received.size(), 1 + sentTo.size());
    for (qsizetype i = 0; i < sentTo.size(); ++i)
        QCOMPARE(received[1 + i].value("rcpt_tos").toVariant().toStringList(), QStringList{sentTo[i]});
    QCOMPARE(list->item(0)->checkState(), Qt::PartiallyChecked);
    QCOMPARE(DispatchStatus(dlg.year(), 3), QByteArray("101000000000000"));
}

// Only the login is hidden: a user name that is part of an address leaves
// the address as it is; the password and the encoded login never show.
void TestEmailDlg::statusShowsAddressesAsTheyAre() {
    SmtpTestServer server;
    QVERIFY(server.start({QStringLiteral("--user"), QStringLiteral("anna"), QStringLiteral("--password"),
                          QStringLiteral("anna.geheim")}));
    TObserverProfile profile = MailProfile(server.host());
    profile.email.assign(QStringLiteral("anna.jaeger@example.org"));
    profile.SMTPBen.assign(QStringLiteral("anna"));
    profile.SMTPPass.assign(QStringLiteral("anna.geheim"));
    profile.SendA = profile.SendF = 0;
    TEmailDLG dlg;
    dlg.setMonth(profile, *year_, 2004, 3);
    dlg.show();
    MessageBoxCatcher boxes;
    QTest::mouseClick(dlg.findChild<QPushButton *>(QStringLiteral("BtnSend")), Qt::LeftButton);
    QCOMPARE(server.messages().size(), 1);
    QCOMPARE(server.messages()[0].value("login").toString(), QStringLiteral("anna"));
    const QString status = dlg.findChild<QPlainTextEdit *>(QStringLiteral("Status"))->toPlainText();
    QVERIFY2(status.contains(QLatin1String("> MAIL FROM:<anna.jaeger@example.org>")), qPrintable(status));
    QVERIFY2(status.contains(QLatin1String("> AUTH LOGIN")), qPrintable(status));
    QVERIFY(!status.contains(QLatin1String("ausgeblendet].jaeger")));
    for (const QByteArray &secret :
         {QByteArray("anna.geheim"), QByteArray("anna").toBase64(), QByteArray("anna.geheim").toBase64()})
        QVERIFY2(!status.contains(QString::fromLatin1(secret)), secret.constData());
    QCOMPARE(boxes.texts, QStringList{QStringLiteral("Gesendet:\n  Relativzahlen an rezahl@example.net")});
}

QTEST_MAIN(TestEmailDlg)
#include "test_email_dlg.moc"
