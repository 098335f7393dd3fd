// The transport's failures reach the user in German, naming what to check,
// with the server's reply and libcurl's own text as details, and never a
// credential: against the real SMTP server on 127.0.0.1, and the mapping of
// the failures that need a network to provoke.
#include "mail/smtp_client.h"
#include "mail/smtp_failure.h"
#include "smtp_test_server.h"
#include "storage/tarvo_error.h"

#include <QtTest>
#include <curl/curl.h>

namespace {

const QString kUser = QStringLiteral("beobachter");
const QString kPassword = QStringLiteral("geheim99");

TMailMessage Sample() {
    TMailMessage m;
    m.FromAddress = QStringLiteral("muster@example.org");
    m.To = {QStringLiteral("rezahl@example.net")};
    m.Subject = QStringLiteral("REZAHL: Muster 2004/3");
    m.Body = {QByteArray("2004 3 5  9.3")};
    return m;
}

QString SendError(TSmtpClient &client) {
    client.connect();
    QString error;
    try {
        client.send(Sample());
    } catch (const TarvoError &e) {
        error = e.message();
    }
    client.disconnect();
    return error;
}

// Neither the password nor a login in Base64 ever reaches a message.
void VerifyNoCredential(const QString &message) {
    for (const QString &secret : {kPassword, QString::fromLatin1(kPassword.toUtf8().toBase64()),
                                  QString::fromLatin1(kUser.toUtf8().toBase64())})
        QVERIFY2(!message.contains(secret), qPrintable(message));
}

void VerifyContains(const QString &message, const QStringList &parts) {
    for (const QString &part : parts)
        QVERIFY2(message.contains(part),
                 qPrintable(QStringLiteral("„%1“ missing in:\n%2").arg(part, message)));
}

} // namespace

class TestSmtpErrors : public QObject {
    Q_OBJECT

private slots:
    void refusedConnection() {
        const int port = ClosedPort();
        QVERIFY(port > 0);
        TSmtpClient client;
        const QString host = QStringLiteral("127.0.0.1:%1").arg(port);
        client.setHost(host);
        const QString error = SendError(client);
        VerifyContains(error, {QStringLiteral("Keine Verbindung zum SMTP-Server '%1'").arg(host),
                               QStringLiteral("nimmt auf Port %1 keine Verbindung an").arg(port),
                               QStringLiteral("Prüfen Sie in den E-Mail-Einstellungen den SMTP-Server und "
                                              "seinen Port"),
                               QStringLiteral("\nDetails: ")});
    }

    void wrongPassword() {
        SmtpTestServer server;
        QVERIFY(server.start(
            {QStringLiteral("--user"), kUser, QStringLiteral("--password"), QStringLiteral("richtig")}));
        TSmtpClient client;
        client.setHost(server.host());
        client.setUserName(kUser);
        client.setPassword(kPassword);
        client.setAllowPlainLogin(true); // the test server has no certificate here
        const QString error = SendError(client);
        QVERIFY2(error.startsWith(QStringLiteral("Die Anmeldung am SMTP-Server '%1' wurde abgelehnt.\n"
                                                 "Prüfen Sie SMTP-Benutzer und SMTP-Passwort")
                                      .arg(server.host())),
                 qPrintable(error));
        VerifyContains(error, {QStringLiteral("\nAntwort des Servers: 535"), QStringLiteral("\nDetails: ")});
        VerifyNoCredential(error);
        QVERIFY(server.messages().isEmpty());
    }

    void refusedRecipient() {
        SmtpTestServer server;
        QVERIFY(server.start({QStringLiteral("--reject"), QStringLiteral("rezahl@example.net")}));
        TSmtpClient client;
        client.setHost(server.host());
        const QString error = SendError(client);
        QVERIFY2(error.startsWith(QStringLiteral("Der SMTP-Server '%1' hat den Empfänger rezahl@example.net "
                                                 "abgelehnt.\nPrüfen Sie diese Adresse in den E-Mail-"
                                                 "Einstellungen (Karte „Arbeitsgruppen“")
                                      .arg(server.host())),
                 qPrintable(error));
        VerifyContains(error, {QStringLiteral("\nAntwort des Servers: 550 5.1.1 Mailbox unavailable"),
                               QStringLiteral("\nDetails: ")});
        QVERIFY(server.messages().isEmpty());
    }

    // A server whose STARTTLS certificate the system does not trust gets
    // neither the login nor the mail, and the user hears why.
    void untrustedCertificate() {
        QTemporaryDir dir;
        QString cert, key;
        if (!MakeSelfSignedCertificate(dir, &cert, &key))
            QSKIP("openssl cannot make a test certificate");
        SmtpTestServer server;
        QVERIFY(server.start({QStringLiteral("--user"), kUser, QStringLiteral("--password"), kPassword,
                              QStringLiteral("--tls-cert"), cert, QStringLiteral("--tls-key"), key}));
        TSmtpClient client;
        client.setHost(server.host());
        client.setUserName(kUser);
        client.setPassword(kPassword);
        const QString error = SendError(client);
        QVERIFY2(error.startsWith(QStringLiteral("Die gesicherte Verbindung zum SMTP-Server '%1' ist "
                                                 "fehlgeschlagen: Sein Zertifikat ist nicht vertrauenswürdig")
                                      .arg(server.host())),
                 qPrintable(error));
        VerifyContains(error, {QStringLiteral("Benutzername und Passwort wurden nicht gesendet."),
                               QStringLiteral("\nDetails: ")});
        QVERIFY2(error.section(QStringLiteral("\nDetails: "), 1).contains(QLatin1String("certificate")),
                 qPrintable(error));
        VerifyNoCredential(error);
        QVERIFY(server.messages().isEmpty());
    }

    // The failures that need a network (or its absence) to happen.
    void mapping_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("step");
        QTest::addColumn<QString>("reply");
        QTest::addColumn<QStringList>("expected");
        const auto none = static_cast<int>(TSmtpStep::None);
        QTest::newRow("name not found")
            << int(CURLE_COULDNT_RESOLVE_HOST) << none << QString()
            << QStringList{"Der SMTP-Server 'smtp.example' wurde nicht gefunden.",
                           "Prüfen Sie den Namen des SMTP-Servers", "Details: Couldn't resolve host name"};
        QTest::newRow("not reachable")
            << int(CURLE_COULDNT_CONNECT) << none << QString()
            << QStringList{
                   "Keine Verbindung zum SMTP-Server 'smtp.example' (Port 587): Er ist nicht erreichbar.",
                   "den SMTP-Server und seinen Port"};
        QTest::newRow("timeout") << int(CURLE_OPERATION_TIMEDOUT) << none << QString()
                                 << QStringList{"antwortet nicht (Zeitüberschreitung)", "Firewall",
                                                "Details: Timeout was reached"};
        QTest::newRow("cancelled") << int(CURLE_ABORTED_BY_CALLBACK) << none << QString()
                                   << QStringList{"Der E-Mail-Versand wurde abgebrochen."};
        QTest::newRow("bad server setting")
            << int(CURLE_URL_MALFORMAT) << none << QString()
            << QStringList{"Die Angabe des SMTP-Servers 'smtp.example' ist ungültig.", "Name:Port"};
        QTest::newRow("sender refused")
            << int(CURLE_SEND_ERROR) << static_cast<int>(TSmtpStep::Sender) << QStringLiteral("553 not yours")
            << QStringList{"hat den Absender muster@example.org abgelehnt", "Ihre E-Mail-Adresse",
                           "Antwort des Servers: 553 not yours"};
        QTest::newRow("message refused")
            << int(CURLE_WEIRD_SERVER_REPLY) << static_cast<int>(TSmtpStep::Message)
            << QStringLiteral("554 spam") << QStringList{"hat die Nachricht abgelehnt", "554 spam"};
        QTest::newRow("connection dropped")
            << int(CURLE_RECV_ERROR) << none << QString()
            << QStringList{"Die Verbindung zum SMTP-Server 'smtp.example' wurde unterbrochen.",
                           "noch einmal"};
        QTest::newRow("TLS handshake")
            << int(CURLE_SSL_CONNECT_ERROR) << none << QString()
            << QStringList{"Die gesicherte Verbindung zum SMTP-Server 'smtp.example' ist fehlgeschlagen.",
                           "465"};
    }
    void mapping() {
        QFETCH(int, code);
        QFETCH(int, step);
        QFETCH(QString, reply);
        QFETCH(QStringList, expected);
        TSmtpFailure f;
        f.code = code;
        f.server = QStringLiteral("smtp.example");
        f.port = 587;
        f.serverReply = reply;
        f.refusedStep = static_cast<TSmtpStep>(step);
        f.refusedAddress = QStringLiteral("muster@example.org");
        const QString message = SmtpFailureMessage(f);
        VerifyContains(message, expected);
        // German first: the library's English only after "Details:".
        QVERIFY(!message.section(QLatin1Char('\n'), 0, 0).contains(QLatin1String("Details")));
    }
};

QTEST_GUILESS_MAIN(TestSmtpErrors)
#include "test_smtp_errors.moc"
