// Message composition: quoted-printable body, encoded words, headers.
#include "mail/mail_message.h"
#include "storage/tarvo_error.h"

#include <QtTest>

class TestMailMessage : public QObject {
    Q_OBJECT

private slots:
    void quotedPrintable_data();
    void quotedPrintable();
    void longLinesGetSoftBreaks();
    void headerText_data();
    void headerText();
    void longSubjectIsSplitIntoWords();
    void composedHeaders();
    void addresses_data();
    void addresses();
    void mailDate();
};

void TestMailMessage::quotedPrintable_data() {
    QTest::addColumn<QByteArray>("line");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("plain") << QByteArray("2004 3 5  9.3") << QByteArray("2004 3 5  9.3\r\n");
    QTest::newRow("trailing space") << QByteArray("2004  3  5 ") << QByteArray("2004  3  5=20\r\n");
    QTest::newRow("equals sign") << QByteArray("a=b") << QByteArray("a=3Db\r\n");
    QTest::newRow("umlaut") << QByteArray("M\xfcller") << QByteArray("M=FCller\r\n");
    QTest::newRow("empty") << QByteArray() << QByteArray("\r\n");
}

void TestMailMessage::quotedPrintable() {
    QFETCH(QByteArray, line);
    QFETCH(QByteArray, encoded);
    QCOMPARE(QuotedPrintable({line}), encoded);
}

void TestMailMessage::longLinesGetSoftBreaks() {
    const QByteArray line = QByteArray(74, 'x') + "\xfc\xfc" + QByteArray(10, 'y') + ' ';
    const QByteArray encoded = QuotedPrintable({line});
    const QList<QByteArray> parts = encoded.split('\n');
    QCOMPARE(parts.size(), 3);
    QCOMPARE(parts[0], QByteArray(74, 'x') + "=\r"); // "=FC" would pass column 76
    QCOMPARE(parts[1], "=FC=FC" + QByteArray(10, 'y') + "=20\r");
    for (const QByteArray &p : parts)
        QVERIFY(p.size() <= 77);
}

void TestMailMessage::headerText_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("phrase");
    QTest::addColumn<QByteArray>("encoded");
    QTest::newRow("ascii") << "REZAHL: Muster 2004/3" << false << QByteArray("REZAHL: Muster 2004/3");
    QTest::newRow("umlaut subject") << "REZAHL: Müller 2004/3" << false
                                    << QByteArray("=?windows-1252?Q?REZAHL:_M=FCller_2004/3?=");
    QTest::newRow("umlaut name") << "Jürgen Müller (Sonne)" << true
                                 << QByteArray("=?windows-1252?Q?J=FCrgen_M=FCller_=28Sonne=29?=");
    QTest::newRow("line break removed") << "a\r\nBcc: x@y" << false << QByteArray("a  Bcc: x@y");
}

void TestMailMessage::headerText() {
    QFETCH(QString, text);
    QFETCH(bool, phrase);
    QFETCH(QByteArray, encoded);
    QCOMPARE(EncodeHeaderText(text, phrase), encoded);
}

void TestMailMessage::longSubjectIsSplitIntoWords() {
    const QByteArray encoded = EncodeHeaderText(QString(60, QChar(0xE4)), false);
    const QList<QByteArray> words = encoded.split('\n');
    QVERIFY(words.size() > 1);
    for (const QByteArray &w : words) {
        QVERIFY(w.trimmed().startsWith("=?windows-1252?Q?"));
        QVERIFY(w.trimmed().endsWith("?="));
        QVERIFY(w.trimmed().size() <= 75);
    }
}

void TestMailMessage::composedHeaders() {
    TMailMessage m;
    m.FromAddress = QStringLiteral("a@example.org");
    m.FromName = QStringLiteral("Max \"Sonne\" Muster");
    m.To = {QStringLiteral("b@example.org")};
    m.Bcc = {QStringLiteral("c@example.org")};
    m.Subject = QStringLiteral("Test");
    m.Mailer = QStringLiteral("TARVO32: 1.0");
    m.Body = {QByteArray("x")};
    const QDateTime date(QDate(2004, 1, 5), QTime(12, 34, 56), QTimeZone(3600));
    const QByteArray text = ComposeMessage(m, date, "id1@example.org");
    QCOMPARE(text, QByteArray("Date: Mon, 05 Jan 2004 12:34:56 +0100\r\n"
                              "From: \"Max \\\"Sonne\\\" Muster\" <a@example.org>\r\n"
                              "To: <b@example.org>\r\n"
                              "Subject: Test\r\n"
                              "Message-ID: <id1@example.org>\r\n"
                              "X-Mailer: TARVO32: 1.0\r\n"
                              "MIME-Version: 1.0\r\n"
                              "Content-Type: text/plain; charset=windows-1252\r\n"
                              "Content-Transfer-Encoding: quoted-printable\r\n"
                              "\r\n"
                              "x\r\n"));
    QCOMPARE(m.envelopeRecipients(), (QStringList{"b@example.org", "c@example.org"}));
}

void TestMailMessage::addresses_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::newRow("plain") << "rezahl@example.net" << true;
    QTest::newRow("empty") << "" << false;
    QTest::newRow("space") << "a b@example.net" << false;
    QTest::newRow("angle bracket") << "a>@example.net" << false;
    QTest::newRow("line break") << "a@example.net\r\nRCPT TO:<x@y>" << false;
    QTest::newRow("umlaut") << "m\u00fcller@example.net" << false;
}

void TestMailMessage::addresses() {
    QFETCH(QString, address);
    QFETCH(bool, valid);
    bool ok = true;
    try {
        CheckMailAddress(address);
    } catch (const TarvoError &) {
        ok = false;
    }
    QCOMPARE(ok, valid);
}

void TestMailMessage::mailDate() {
    QCOMPARE(MailDate(QDateTime(QDate(2004, 7, 4), QTime(1, 2, 3), QTimeZone(-5 * 3600 - 1800))),
             QByteArray("Sun, 04 Jul 2004 01:02:03 -0530"));
}

QTEST_GUILESS_MAIN(TestMailMessage)
#include "test_mail_message.moc"
