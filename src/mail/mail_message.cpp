#include "mail_message.h"

#include "storage/cp1252.h"
#include "storage/tarvo_error.h"

#include <QUuid>

namespace {

constexpr int kMaxEncodedLine = 76;

bool IsPlainAscii(const QString &text) {
    for (QChar c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            return false;
    return true;
}

// Header values never carry line breaks of their own.
QString OneLine(const QString &text) {
    QString result = text;
    result.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return result;
}

QByteArray Hex(unsigned char byte) {
    static const char kDigits[] = "0123456789ABCDEF";
    const char text[3] = {'=', kDigits[byte >> 4], kDigits[byte & 0x0F]};
    return QByteArray(text, 3);
}

QByteArray EncodedLine(const QByteArray &line) {
    // Encode every byte that is not printable ASCII, '=' itself, and a space
    // or tab at the end of the line (it would be lost in transit).
    QList<QByteArray> units;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const auto byte = static_cast<unsigned char>(line[i]);
        const bool last = i + 1 == line.size();
        const bool plain =
            (byte >= 33 && byte <= 126 && byte != '=') || ((byte == ' ' || byte == '\t') && !last);
        units << (plain ? QByteArray(1, static_cast<char>(byte)) : Hex(byte));
    }
    QByteArray out;
    int column = 0;
    for (qsizetype i = 0; i < units.size(); ++i) {
        const bool last = i + 1 == units.size();
        // Leave room for the soft break "=" unless this is the line's last unit.
        const int limit = last ? kMaxEncodedLine : kMaxEncodedLine - 1;
        if (column + units[i].size() > limit) {
            out += "=\r\n";
            column = 0;
        }
        out += units[i];
        column += units[i].size();
    }
    return out;
}

QByteArray AddressList(const QStringList &addresses) {
    QByteArray out;
    for (const QString &a : addresses) {
        if (!out.isEmpty())
            out += ",\r\n ";
        out += '<' + a.toUtf8() + '>';
    }
    return out;
}

QByteArray DisplayName(const QString &name) {
    if (name.isEmpty())
        return {};
    if (IsPlainAscii(name)) {
        QByteArray quoted = name.toLatin1();
        quoted.replace('\\', "\\\\").replace('"', "\\\"");
        return '"' + quoted + '"';
    }
    return EncodeHeaderText(name, true);
}

} // namespace

QStringList TMailMessage::envelopeRecipients() const {
    return To + Cc + Bcc;
}

void CheckMailAddress(const QString &address) {
    const bool bad = address.isEmpty() || !IsPlainAscii(address) || address.contains(QLatin1Char(' ')) ||
                     address.contains(QLatin1Char('<')) || address.contains(QLatin1Char('>')) ||
                     address.contains(QLatin1Char(','));
    if (bad)
        throw TarvoError(QStringLiteral("Ungültige E-Mail-Adresse: '%1'").arg(address));
}

QByteArray MailDate(const QDateTime &date) {
    static const char *const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"};
    static const char *const kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                          "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    const QDate d = date.date();
    const QTime t = date.time();
    const int offset = date.offsetFromUtc() / 60;
    const int absOffset = offset < 0 ? -offset : offset;
    return QStringLiteral("%1, %2 %3 %4 %5:%6:%7 %8%9%10")
        .arg(QLatin1String(kDays[d.dayOfWeek() - 1]))
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kMonths[d.month() - 1]))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'))
        .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(absOffset / 60, 2, 10, QLatin1Char('0'))
        .arg(absOffset % 60, 2, 10, QLatin1Char('0'))
        .toLatin1();
}

QByteArray NewMessageId(const QString &fromAddress) {
    QString domain = fromAddress.section(QLatin1Char('@'), 1);
    if (domain.isEmpty() || !IsPlainAscii(domain) || domain.contains(QLatin1Char('>')))
        domain = QStringLiteral("tarvo.invalid");
    return QUuid::createUuid().toByteArray(QUuid::WithoutBraces) + '@' + domain.toLatin1();
}

QByteArray QuotedPrintable(const QList<QByteArray> &lines) {
    QByteArray out;
    for (const QByteArray &line : lines)
        out += EncodedLine(line) + "\r\n";
    return out;
}

QByteArray EncodeHeaderText(const QString &text, bool phrase) {
    const QString line = OneLine(text);
    if (IsPlainAscii(line))
        return line.toLatin1();
    const QByteArray bytes = ToCp1252(line);
    const QByteArray prefix = "=?windows-1252?Q?";
    const QByteArray suffix = "?=";
    constexpr int kMaxWord = 75;
    QList<QByteArray> words;
    QByteArray word;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        QByteArray unit;
        if (byte == ' ')
            unit = "_";
        else if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
                 (byte >= '0' && byte <= '9') ||
                 (phrase ? QByteArray("!*+-/").contains(c)
                         : (byte > 32 && byte < 127 && !QByteArray("=?_").contains(c))))
            unit = QByteArray(1, c);
        else
            unit = Hex(byte);
        if (prefix.size() + word.size() + unit.size() + suffix.size() > kMaxWord) {
            words << prefix + word + suffix;
            word.clear();
        }
        word += unit;
    }
    if (!word.isEmpty() || words.isEmpty())
        words << prefix + word + suffix;
    return words.join("\r\n ");
}

QByteArray ComposeMessage(const TMailMessage &message, const QDateTime &date, const QByteArray &messageId) {
    QByteArray out;
    out += "Date: " + MailDate(date) + "\r\n";
    const QByteArray name = DisplayName(message.FromName);
    out += "From: " + (name.isEmpty() ? QByteArray() : name + ' ') + '<' +
           OneLine(message.FromAddress).toUtf8() + ">\r\n";
    if (!message.To.isEmpty())
        out += "To: " + AddressList(message.To) + "\r\n";
    if (!message.Cc.isEmpty())
        out += "Cc: " + AddressList(message.Cc) + "\r\n";
    out += "Subject: " + EncodeHeaderText(message.Subject, false) + "\r\n";
    out += "Message-ID: <" + messageId + ">\r\n";
    if (!message.Organization.isEmpty())
        out += "Organization: " + EncodeHeaderText(message.Organization, false) + "\r\n";
    if (!message.Mailer.isEmpty())
        out += "X-Mailer: " + EncodeHeaderText(message.Mailer, false) + "\r\n";
    out += "MIME-Version: 1.0\r\n";
    out += "Content-Type: text/plain; charset=windows-1252\r\n";
    out += "Content-Transfer-Encoding: quoted-printable\r\n";
    out += "\r\n";
    out += QuotedPrintable(message.Body);
    return out;
}
