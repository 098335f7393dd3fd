// The SMTP transport against a real SMTP server on 127.0.0.1.
#include "mail/smtp_client.h"
#include "smtp_test_server.h"
#include "storage/tarvo_error.h"

#include <QJsonArray>
#include <QtTest>

class TestSmtp : public QObject {
    Q_OBJECT

private slots:
    void serverUrl_data();
    void serverUrl();
    void sendsWithAuthLogin();
    void refusedSendFails_data();
    void refusedSendFails();
    void cancelDuringTransfer();
    void cancelAfterTheServerTookTheMail();
    void noServerFails();
    void emptyHostFails();
    void withoutUserSendsWithoutAuth();
    void untrustedStartTlsCertificateFails();
    void credentialsNeverTravelInClear_data();
    void credentialsNeverTravelInClear();
};

namespace {

TMailMessage SampleMessage() {
    TMailMessage m;
    m.FromAddress = QStringLiteral("muster@example.org");
    m.FromName = QStringLiteral("Jürgen Müller");
    m.To = {QStringLiteral("rezahl@example.net")};
    m.Cc = {QStringLiteral("muster@example.org")};
    m.Bcc = {QStringLiteral("archiv@example.com")};
    m.Subject = QStringLiteral("REZAHL: Müller 2004/3");
    m.Organization = QStringLiteral("Sonnenbeobachter");
    m.Body = {
        QByteArray(";J\xfcrgen M\xfcller, Hauptstr. 1, 12345 Ort"),
        QByteArray("2004 3 5  9.3 2.0 3.0  2  10  1   4  3  14   50E M\xfcller           Refr.  80 1200"),
        QByteArray("2004  3  5 "), QByteArray(".a line with a dot and = sign"), QByteArray()};
    return m;
}

// The message of the error a send of the sample fails with; empty when it succeeds.
QString SendError(TSmtpClient &client) {
    try {
        client.send(SampleMessage());
    } catch (const TarvoError &e) {
        return e.message();
    }
    return QString();
}

QByteArray JoinedBody(const QList<QByteArray> &lines) {
    QByteArray body;
    for (const QByteArray &l : lines)
        body += l + "\r\n";
    return body;
}

} // namespace

void TestSmtp::serverUrl_data() {
    QTest::addColumn<QString>("host");
    QTest::addColumn<QString>("url");
    QTest::newRow("plain host") << " mail.example.org "
                                << "smtp://mail.example.org:25";
    QTest::newRow("submission port") << "mail.example.org:587"
                                     << "smtp://mail.example.org:587";
    QTest::newRow("implicit TLS") << "mail.example.org:465"
                                  << "smtps://mail.example.org:465";
    QTest::newRow("full URL") << "smtps://mail.example.org"
                              << "smtps://mail.example.org";
}

void TestSmtp::serverUrl() {
    QFETCH(QString, host);
    QFETCH(QString, url);
    QCOMPARE(TSmtpClient::ServerUrl(host), url);
}

void TestSmtp::sendsWithAuthLogin() {
    SmtpTestServer server;
    QVERIFY(server.start({QStringLiteral("--user"), QStringLiteral("beobachter"),
                          QStringLiteral("--password"), QStringLiteral("geheim99")}));
    TSmtpClient client;
    QStringList status;
    client.setStatusCallback([&](const QString &text) { status << text; });
    client.setHost(server.host());
    client.setUserName(QStringLiteral("beobachter"));
    client.setPassword(QStringLiteral("geheim99"));
    client.setAllowPlainLogin(true); // the test server has no encryption
    client.setMailerName(QStringLiteral("TARVO32: 1.0.0.0"));
    client.connect();
    QVERIFY(client.connected());
    const TMailMessage message = SampleMessage();
    client.send(message);
    client.disconnect();
    QVERIFY(!client.connected());

    const QList<QJsonObject> received = server.messages();
    QCOMPARE(received.size(), 1);
    const QJsonObject m = received.first();
    QCOMPARE(m.value("mail_from").toString(), QStringLiteral("muster@example.org"));
    QCOMPARE(m.value("rcpt_tos").toVariant().toStringList(),
             (QStringList{"rezahl@example.net", "muster@example.org", "archiv@example.com"}));
    QCOMPARE(m.value("login").toString(), QStringLiteral("beobachter"));
    QCOMPARE(m.value("password").toString(), QStringLiteral("geheim99"));

    // AUTH LOGIN: user name and password each answer a 334 prompt, then 235.
    const QStringList t = Transcript(m);
    const qsizetype auth = t.indexOf(QStringLiteral("C: AUTH LOGIN"));
    QVERIFY2(auth >= 0, qPrintable(t.join('\n')));
    QCOMPARE(t.mid(auth + 1, 5),
             (QStringList{"S: 334 VXNlciBOYW1lAA==", "C: " + QByteArray("beobachter").toBase64(),
                          "S: 334 UGFzc3dvcmQA", "C: " + QByteArray("geheim99").toBase64(),
                          "S: 235 2.7.0 Authentication successful"}));

    // Headers as an independent mail parser reads them.
    const QJsonObject h = m.value("headers").toObject();
    QCOMPARE(h.value("From").toString(), QStringLiteral("Jürgen Müller <muster@example.org>"));
    QCOMPARE(h.value("To").toString(), QStringLiteral("rezahl@example.net"));
    QCOMPARE(h.value("Cc").toString(), QStringLiteral("muster@example.org"));
    QCOMPARE(h.value("Subject").toString(), QStringLiteral("REZAHL: Müller 2004/3"));
    QCOMPARE(h.value("Organization").toString(), QStringLiteral("Sonnenbeobachter"));
    QCOMPARE(h.value("X-Mailer").toString(), QStringLiteral("TARVO32: 1.0.0.0"));
    QCOMPARE(h.value("MIME-Version").toString(), QStringLiteral("1.0"));
    QCOMPARE(m.value("charset").toString(), QStringLiteral("windows-1252"));
    QVERIFY(h.value("Message-ID").toString().endsWith(QLatin1String("@example.org>")));
    QVERIFY(!h.value("Date").toString().isEmpty());
    const QStringList names = m.value("header_names").toVariant().toStringList();
    QVERIFY(!names.contains(QStringLiteral("Bcc"), Qt::CaseInsensitive));
    QVERIFY(!m.value("data").toString().contains(QLatin1String("archiv@example.com")));

    // The decoded body is byte for byte the lines.
    QCOMPARE(QByteArray::fromHex(m.value("body_hex").toString().toLatin1()), JoinedBody(message.Body));

    // Every protocol step was reported, credentials never.
    const QString all = status.join('\n');
    QVERIFY2(all.contains(QLatin1String("> AUTH LOGIN")), qPrintable(all));
    QVERIFY(all.contains(QLatin1String("> RCPT TO:<archiv@example.com>")));
    QVERIFY(all.contains(QLatin1String("< 235")));
    for (const QByteArray &secret : {QByteArray("beobachter"), QByteArray("geheim99"),
                                     QByteArray("beobachter").toBase64(), QByteArray("geheim99").toBase64()})
        QVERIFY2(!all.contains(QString::fromLatin1(secret)), secret.constData());
}

// The server refuses: a recipient, the password, a login without AUTH LOGIN.
// The send fails with the German reason and the server gets no mail.
void TestSmtp::refusedSendFails_data() {
    QTest::addColumn<QStringList>("serverOptions");
    QTest::addColumn<QString>("password"); // empty: no login
    QTest::addColumn<QStringList>("reason"); // parts of the message; %1 is the server
    QTest::newRow("rejected recipient") << QStringList{"--reject", "rezahl@example.net"} << QString()
                                        << QStringList{"abgelehnt", "550"};
    QTest::newRow("wrong password") << QStringList{"--user", "beobachter", "--password", "richtig"}
                                    << "falsch" << QStringList{"Die Anmeldung am SMTP-Server", "535"};
    QTest::newRow("no AUTH LOGIN")
        << QStringList{"--user", "beobachter", "--password", "geheim99", "--plain-only"} << "geheim99"
        << QStringList{"Der SMTP-Server '%1' bietet keine Anmeldung mit AUTH LOGIN an."};
}

void TestSmtp::refusedSendFails() {
    QFETCH(QStringList, serverOptions);
    QFETCH(QString, password);
    QFETCH(QStringList, reason);
    SmtpTestServer server;
    QVERIFY(server.start(serverOptions));
    TSmtpClient client;
    client.setHost(server.host());
    if (!password.isEmpty()) {
        client.setUserName(QStringLiteral("beobachter"));
        client.setPassword(password);
        client.setAllowPlainLogin(true);
    }
    client.connect();
    const QString error = SendError(client);
    for (const QString &part : reason)
        QVERIFY2(error.contains(part.contains(QLatin1String("%1")) ? part.arg(server.host()) : part),
                 qPrintable(error));
    client.disconnect();
    QVERIFY(server.messages().isEmpty());
}

void TestSmtp::cancelAfterTheServerTookTheMail() {
    // A cancel clicked while the server's final reply is shown comes too
    // late: the mail is delivered and must count as sent.
    SmtpTestServer server;
    QVERIFY(server.start({}));
    TSmtpClient client;
    bool dataSent = false;
    bool cancelled = false;
    QStringList steps;
    client.setStatusCallback([&](const QString &text) {
        steps << text;
        if (text == QLatin1String("> DATA"))
            dataSent = true;
        else if (dataSent && !cancelled && text.startsWith(QLatin1String("< 250"))) {
            cancelled = true;
            client.disconnect();
        }
    });
    client.setHost(server.host());
    client.connect();
    client.send(SampleMessage());
    QVERIFY2(cancelled, qPrintable(steps.join(QLatin1Char('|'))));
    QCOMPARE(server.messages().size(), 1);
    QVERIFY(!client.connected());
}

void TestSmtp::cancelDuringTransfer() {
    SmtpTestServer server;
    // The server waits before it answers DATA, so the transfer is still running when it is cancelled.
    QVERIFY(server.start({QStringLiteral("--data-delay"), QStringLiteral("3")}));
    TSmtpClient client;
    bool cancelled = false;
    client.setStatusCallback([&](const QString &text) {
        if (text == QLatin1String("> DATA") && !cancelled) {
            cancelled = true;
            client.disconnect(); // as the dialog's cancel button does from inside the callback
        }
    });
    client.setHost(server.host());
    client.connect();
    QElapsedTimer timer;
    timer.start();
    const QString error = SendError(client);
    QVERIFY2(!error.isEmpty(), "the cancelled transfer was reported as success");
    QCOMPARE(error, QStringLiteral("Der E-Mail-Versand wurde abgebrochen."));
    QVERIFY(cancelled);
    QVERIFY(timer.elapsed() < 2900);
    QVERIFY(!client.connected());
    QVERIFY(server.messages().isEmpty());
    // The client can start a new session afterwards.
    client.setStatusCallback(nullptr);
    client.connect();
    QVERIFY(client.connected());
    client.disconnect();
}

void TestSmtp::noServerFails() {
    // Take a free port and close it again, so that nothing listens there.
    int port = 0;
    {
        SmtpTestServer server;
        QVERIFY(server.start());
        port = server.port();
    }
    TSmtpClient client;
    client.setHost(QStringLiteral("127.0.0.1:%1").arg(port));
    client.connect();
    const QString error = SendError(client);
    QVERIFY2(!error.isEmpty(), "the send did not fail");
    QVERIFY2(error.startsWith(QLatin1String("Keine Verbindung zum SMTP-Server")), qPrintable(error));
}

void TestSmtp::emptyHostFails() {
    TSmtpClient client;
    client.setHost(QStringLiteral("   "));
    QVERIFY_THROWS_EXCEPTION(TarvoError, client.connect());
    QVERIFY(!client.connected());
}

void TestSmtp::withoutUserSendsWithoutAuth() {
    SmtpTestServer server;
    QVERIFY(server.start());
    TSmtpClient client;
    client.setHost(server.host());
    client.connect();
    client.send(SampleMessage());
    client.disconnect();
    const QList<QJsonObject> received = server.messages();
    QCOMPARE(received.size(), 1);
    QVERIFY(!Transcript(received.first()).join('\n').contains(QLatin1String("AUTH")));
}

// A server that offers STARTTLS is talked to encrypted only, and its
// certificate must be one the system trusts: a self-signed one is refused
// before the password is sent.
void TestSmtp::untrustedStartTlsCertificateFails() {
    QTemporaryDir dir;
    QString cert, key;
    if (!MakeSelfSignedCertificate(dir, &cert, &key))
        QSKIP("openssl cannot make a test certificate");
    SmtpTestServer server;
    QVERIFY(server.start({QStringLiteral("--user"), QStringLiteral("beobachter"),
                          QStringLiteral("--password"), QStringLiteral("geheim99"),
                          QStringLiteral("--tls-cert"), cert, QStringLiteral("--tls-key"), key}));
    TSmtpClient client;
    QStringList status;
    client.setStatusCallback([&](const QString &text) { status << text; });
    client.setHost(server.host());
    client.setUserName(QStringLiteral("beobachter"));
    client.setPassword(QStringLiteral("geheim99"));
    client.connect();
    const QString error = SendError(client);
    QVERIFY2(!error.isEmpty(), "an untrusted certificate was accepted");
    QVERIFY2(error.contains(QLatin1String("gesicherte Verbindung")), qPrintable(error));
    client.disconnect();
    QVERIFY(status.contains(QStringLiteral("> STARTTLS")));
    QVERIFY(!status.join('\n').contains(QLatin1String("> AUTH")));
    QVERIFY(server.messages().isEmpty());
}

// A server that offers AUTH on a plain connection, without STARTTLS or
// refusing it, never gets the user name and password, and no mail either;
// only the switch for such a server lets the login go unencrypted.
void TestSmtp::credentialsNeverTravelInClear_data() {
    QTest::addColumn<QStringList>("serverOptions");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no STARTTLS") << QStringList{} << QStringLiteral("bietet keine verschlüsselte Verbindung");
    QTest::newRow("STARTTLS refused") << QStringList{QStringLiteral("--refuse-starttls")}
                                      << QStringLiteral("lehnt die verschlüsselte Verbindung (STARTTLS) ab");
}

void TestSmtp::credentialsNeverTravelInClear() {
    QFETCH(QStringList, serverOptions);
    QFETCH(QString, reason);
    SmtpTestServer server;
    QVERIFY(server.start(QStringList{QStringLiteral("--user"), QStringLiteral("beobachter"),
                                     QStringLiteral("--password"), QStringLiteral("geheim99")} +
                         serverOptions));
    const QStringList secrets{QStringLiteral("beobachter"), QStringLiteral("geheim99"),
                              QString::fromLatin1(QByteArray("beobachter").toBase64()),
                              QString::fromLatin1(QByteArray("geheim99").toBase64())};
    for (const bool allowed : {false, true}) {
        TSmtpClient client;
        client.setHost(server.host());
        client.setUserName(QStringLiteral("beobachter"));
        client.setPassword(QStringLiteral("geheim99"));
        client.setAllowPlainLogin(allowed);
        client.connect();
        const QString error = SendError(client);
        client.disconnect();
        QTRY_COMPARE(server.sessions().size(), allowed ? 2 : 1);
        // What the client said; the server's own lines name AUTH as offered.
        QStringList said = Transcript(server.sessions().last());
        said.removeIf([](const QString &line) { return !line.startsWith(QLatin1String("C: ")); });
        const QString heard = said.join('\n');
        if (!allowed) {
            QVERIFY2(error.contains(reason), qPrintable(error));
            QVERIFY2(error.contains(QStringLiteral("„Anmeldung ohne Verschlüsselung erlauben“")),
                     qPrintable(error));
            QVERIFY2(heard.contains(QLatin1String("C: EHLO")), qPrintable(heard));
            QVERIFY2(!heard.contains(QLatin1String("AUTH"), Qt::CaseInsensitive), qPrintable(heard));
            for (const QString &secret : secrets)
                QVERIFY2(!heard.contains(secret), qPrintable(heard));
            QVERIFY(server.messages().isEmpty());
        } else {
            QVERIFY2(error.isEmpty(), qPrintable(error));
            QVERIFY2(heard.contains(QLatin1String("C: AUTH LOGIN")), qPrintable(heard));
            QCOMPARE(server.messages().size(), 1);
            QCOMPARE(server.messages().first().value("password").toString(), QStringLiteral("geheim99"));
        }
    }
}

QTEST_GUILESS_MAIN(TestSmtp)
#include "test_smtp.moc"
