#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// One plain-text mail. The body lines are Windows-1252 bytes without line
// ends; they travel quoted-printable, so the decoded body is byte for byte
// what the lines hold.
struct TMailMessage {
    QString FromAddress;
    QString FromName; // display name; may hold umlauts
    QStringList To;
    QStringList Cc;
    QStringList Bcc; // envelope only, never a header
    QString Subject;
    QString Organization;
    QString Mailer; // sent as X-Mailer
    QList<QByteArray> Body;

    // Every address that receives the message: To, Cc and Bcc.
    QStringList envelopeRecipients() const;
};

// The message as sent: headers, an empty line and the encoded body, CR LF
// line ends. `date` and `messageId` (without angle brackets) are given so
// that the result can be reproduced.
QByteArray ComposeMessage(const TMailMessage &message, const QDateTime &date, const QByteArray &messageId);

// A new Message-ID (without angle brackets) in the sender's domain.
QByteArray NewMessageId(const QString &fromAddress);

// "Mon, 05 Jan 2004 12:34:56 +0100"
QByteArray MailDate(const QDateTime &date);

// Quoted-printable body of the lines (CR LF between lines, soft breaks after at most 76 characters).
QByteArray QuotedPrintable(const QList<QByteArray> &lines);

// The text as it may stand in a header: plain ASCII as it is, otherwise
// RFC 2047 encoded words (windows-1252, Q encoding). `phrase` restricts the
// encoded words to the characters allowed in a display name.
QByteArray EncodeHeaderText(const QString &text, bool phrase);

// Throws TarvoError when the address cannot be used (empty, or holding
// characters that would break the protocol or the headers).
void CheckMailAddress(const QString &address);
