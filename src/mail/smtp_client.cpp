#include "smtp_client.h"

#include "smtp_failure.h"
#include "storage/tarvo_error.h"

#include <QRegularExpression>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <curl/curl.h>
#include <mutex>

namespace {

const QString kHidden = QStringLiteral("[Anmeldedaten ausgeblendet]");

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

struct TSmtpClient::Session {
    CURL *curl = nullptr;
    char errorBuffer[CURL_ERROR_SIZE] = {};
    QByteArray url;
    QByteArray user;
    QByteArray password;
    // per message
    QByteArray payload;
    qsizetype sent = 0;
    QByteArray mailFrom;
    curl_slist *recipients = nullptr;
    // protocol trace
    bool inAuth = false;
    bool noAuthMechanism = false; // the server offers no mechanism libcurl may use
    bool dataCommandSent = false;
    bool accepted = false; // the server answered the message's end with 250
    bool connectionRefused = false;
    QString lastServerError;
    // The command sent last, and the one the last 4xx/5xx reply answered.
    TSmtpStep step = TSmtpStep::None;
    QString stepAddress;
    TSmtpStep refusedStep = TSmtpStep::None;
    QString refusedAddress;
    // Texts that never reach the status window: in the lines of the login
    // every form of the credentials, in all other lines (addresses, server
    // names) the password and the encoded forms only, so that a user name
    // such as "anna" leaves "anna.jaeger@example.org" as it is.
    QStringList loginSecrets;
    QStringList secrets;

    ~Session() {
        if (recipients)
            curl_slist_free_all(recipients);
    }
};

struct SmtpCallbacks {
    static size_t Read(char *buffer, size_t size, size_t count, void *user) {
        auto *s = static_cast<TSmtpClient::Session *>(user);
        const qsizetype room = static_cast<qsizetype>(size * count);
        const qsizetype n = std::min(room, s->payload.size() - s->sent);
        std::memcpy(buffer, s->payload.constData() + s->sent, static_cast<size_t>(n));
        s->sent += n;
        return static_cast<size_t>(n);
    }

    static int Progress(void *user, curl_off_t, curl_off_t, curl_off_t, curl_off_t) {
        return static_cast<TSmtpClient *>(user)->cancel_ ? 1 : 0;
    }

    // The address of "MAIL FROM:<a>" or "RCPT TO:<a>".
    static QString CommandAddress(const QString &line) {
        const qsizetype open = line.indexOf(QLatin1Char('<'));
        const qsizetype close = line.indexOf(QLatin1Char('>'), open + 1);
        return open >= 0 && close > open ? line.mid(open + 1, close - open - 1) : QString();
    }

    static void NoteCommand(TSmtpClient::Session &s, const QString &line) {
        s.stepAddress.clear();
        if (line.startsWith(QLatin1String("AUTH "), Qt::CaseInsensitive)) {
            s.step = TSmtpStep::Login;
        } else if (line.startsWith(QLatin1String("MAIL FROM:"), Qt::CaseInsensitive)) {
            s.step = TSmtpStep::Sender;
            s.stepAddress = CommandAddress(line);
        } else if (line.startsWith(QLatin1String("RCPT TO:"), Qt::CaseInsensitive)) {
            s.step = TSmtpStep::Recipient;
            s.stepAddress = CommandAddress(line);
        } else if (line.compare(QLatin1String("DATA"), Qt::CaseInsensitive) == 0) {
            s.step = TSmtpStep::Message;
        } else if (!s.inAuth) {
            s.step = TSmtpStep::None;
        }
    }

    static QString Redacted(const QStringList &secrets, const QString &line) {
        QString text = line;
        for (const QString &secret : secrets)
            text.replace(secret, kHidden);
        return text;
    }

    static int Debug(CURL *, curl_infotype type, char *data, size_t size, void *user) {
        auto *client = static_cast<TSmtpClient *>(user);
        TSmtpClient::Session &s = *client->session_;
        if (type != CURLINFO_TEXT && type != CURLINFO_HEADER_IN && type != CURLINFO_HEADER_OUT)
            return 0; // message bytes and TLS records are not protocol steps
        const QString chunk = QString::fromLatin1(data, static_cast<qsizetype>(size));
        const QStringList lines =
            chunk.split(QRegularExpression(QStringLiteral("\r?\n")), Qt::SkipEmptyParts);
        for (QString line : lines) {
            if (type == CURLINFO_HEADER_OUT) {
                NoteCommand(s, line);
                if (line.startsWith(QLatin1String("AUTH "), Qt::CaseInsensitive)) {
                    s.inAuth = true;
                    // an initial response after the mechanism is a credential
                    const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
                    line = words.size() > 2
                               ? words.mid(0, 2).join(QLatin1Char(' ')) + QLatin1Char(' ') + kHidden
                               : line;
                } else if (s.inAuth) {
                    line = kHidden;
                } else if (line.compare(QLatin1String("DATA"), Qt::CaseInsensitive) == 0) {
                    s.dataCommandSent = true;
                }
                client->report(QStringLiteral("> ") + Redacted(s.secrets, line));
            } else if (type == CURLINFO_HEADER_IN) {
                if (s.inAuth && line.startsWith(QLatin1String("334"))) {
                    line = QStringLiteral("334 ") + kHidden;
                } else if (s.inAuth) {
                    // The server's answer to the login may repeat the user name.
                    s.inAuth = false;
                    line = Redacted(s.loginSecrets, line);
                }
                line = Redacted(s.secrets, line);
                if (line.size() >= 3 && (line[0] == QLatin1Char('4') || line[0] == QLatin1Char('5'))) {
                    s.lastServerError = line;
                    s.refusedStep = s.step;
                    s.refusedAddress = s.stepAddress;
                }
                if (s.dataCommandSent && s.sent == s.payload.size() && line.startsWith(QLatin1String("250")))
                    s.accepted = true;
                client->report(QStringLiteral("< ") + line);
            } else {
                if (line.contains(QLatin1String("No known authentication mechanisms")))
                    s.noAuthMechanism = true;
                if (line.contains(QLatin1String("Connection refused"), Qt::CaseInsensitive))
                    s.connectionRefused = true;
                client->report(Redacted(s.secrets, line));
            }
        }
        return 0;
    }
};

TSmtpClient::TSmtpClient() {
    GlobalInit();
}

TSmtpClient::~TSmtpClient() {
    status_ = nullptr; // nobody listens any more
    if (session_) {
        curl_easy_cleanup(session_->curl);
        session_.reset();
    }
}

void TSmtpClient::setHost(const QString &host) {
    host_ = host.trimmed();
}
void TSmtpClient::setUserName(const QString &userName) {
    userName_ = userName;
}
void TSmtpClient::setPassword(const QString &password) {
    password_ = password;
}
void TSmtpClient::setMailerName(const QString &mailerName) {
    mailerName_ = mailerName;
}
void TSmtpClient::setAllowPlainLogin(bool allow) {
    allowPlainLogin_ = allow;
}
void TSmtpClient::setStatusCallback(std::function<void(const QString &)> callback) {
    status_ = std::move(callback);
}

bool TSmtpClient::connected() const {
    return session_ != nullptr;
}

void TSmtpClient::report(const QString &text) {
    if (status_)
        status_(text);
}

QString TSmtpClient::ServerUrl(const QString &host) {
    const QString h = host.trimmed();
    if (h.contains(QLatin1String("://")))
        return h;
    static const QRegularExpression withPort(QStringLiteral("^(.*):(\\d{1,5})$"));
    const QRegularExpressionMatch m = withPort.match(h);
    if (m.hasMatch()) {
        const QString scheme =
            m.captured(2) == QLatin1String("465") ? QStringLiteral("smtps") : QStringLiteral("smtp");
        return scheme + QLatin1String("://") + m.captured(1) + QLatin1Char(':') + m.captured(2);
    }
    return QStringLiteral("smtp://") + h + QStringLiteral(":25");
}

void TSmtpClient::connect() {
    if (busy_)
        throw TarvoError(QStringLiteral("Es läuft bereits ein E-Mail-Versand."));
    disconnect();
    if (host_.isEmpty())
        throw TarvoError(QStringLiteral("Es ist kein SMTP-Server eingestellt."));
    auto s = std::make_unique<Session>();
    s->curl = curl_easy_init();
    if (!s->curl)
        throw TarvoError(QStringLiteral("Der E-Mail-Versand kann nicht gestartet werden."));
    s->url = ServerUrl(host_).toUtf8();
    s->user = userName_.toUtf8();
    s->password = password_.toUtf8();
    for (const QString &secret : {userName_, password_}) {
        if (secret.size() >= 3) {
            const QString encoded = QString::fromLatin1(secret.toUtf8().toBase64());
            s->loginSecrets << secret << encoded;
            s->secrets << encoded;
        }
    }
    if (password_.size() >= 3)
        s->secrets << password_;
    CURL *c = s->curl;
    curl_easy_setopt(c, CURLOPT_URL, s->url.constData());
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, s->errorBuffer);
    // Credentials travel only encrypted: with a user name, a plain
    // connection whose server offers no STARTTLS (or refuses it) fails
    // before the login. Port 465 is encrypted from the start.
    const bool requireTls = !userName_.isEmpty() && !allowPlainLogin_;
    curl_easy_setopt(c, CURLOPT_USE_SSL, static_cast<long>(requireTls ? CURLUSESSL_ALL : CURLUSESSL_TRY));
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(c, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!userName_.isEmpty()) {
        curl_easy_setopt(c, CURLOPT_USERNAME, s->user.constData());
        curl_easy_setopt(c, CURLOPT_PASSWORD, s->password.constData());
        curl_easy_setopt(c, CURLOPT_LOGIN_OPTIONS, "AUTH=LOGIN");
    }
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, 30L);
    curl_easy_setopt(c, CURLOPT_SERVER_RESPONSE_TIMEOUT, 60L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(c, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(c, CURLOPT_VERBOSE, 1L);
    curl_easy_setopt(c, CURLOPT_DEBUGFUNCTION, &SmtpCallbacks::Debug);
    curl_easy_setopt(c, CURLOPT_DEBUGDATA, this);
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &SmtpCallbacks::Progress);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &SmtpCallbacks::Read);
    curl_easy_setopt(c, CURLOPT_READDATA, s.get());
    curl_easy_setopt(c, CURLOPT_UPLOAD, 1L);
    session_ = std::move(s);
    cancel_ = false;
    disconnectAfterTransfer_ = false;
}

void TSmtpClient::send(const TMailMessage &message) {
    if (!session_)
        throw TarvoError(QStringLiteral("Keine Verbindung zum SMTP-Server."));
    if (busy_)
        throw TarvoError(QStringLiteral("Es läuft bereits ein E-Mail-Versand."));
    if (message.FromAddress.isEmpty())
        throw TarvoError(QStringLiteral("Es ist keine eigene E-Mail-Adresse (Absender) eingestellt."));
    CheckMailAddress(message.FromAddress);
    const QStringList recipients = message.envelopeRecipients();
    if (recipients.isEmpty())
        throw TarvoError(QStringLiteral("Die E-Mail hat keinen Empfänger."));
    for (const QString &r : recipients)
        CheckMailAddress(r);

    TMailMessage m = message;
    if (m.Mailer.isEmpty())
        m.Mailer = mailerName_;
    Session &s = *session_;
    s.payload = ComposeMessage(m, QDateTime::currentDateTime(), NewMessageId(m.FromAddress));
    s.sent = 0;
    s.mailFrom = '<' + m.FromAddress.toUtf8() + '>';
    if (s.recipients) {
        curl_slist_free_all(s.recipients);
        s.recipients = nullptr;
    }
    for (const QString &r : recipients)
        s.recipients = curl_slist_append(s.recipients, ('<' + r.toUtf8() + '>').constData());
    s.inAuth = false;
    s.noAuthMechanism = false;
    s.dataCommandSent = false;
    s.accepted = false;
    s.connectionRefused = false;
    s.lastServerError.clear();
    s.step = s.refusedStep = TSmtpStep::None;
    s.stepAddress.clear();
    s.refusedAddress.clear();
    s.errorBuffer[0] = 0;
    CURL *c = s.curl;
    curl_easy_setopt(c, CURLOPT_MAIL_FROM, s.mailFrom.constData());
    curl_easy_setopt(c, CURLOPT_MAIL_RCPT, s.recipients);
    curl_easy_setopt(c, CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(s.payload.size()));

    busy_ = true;
    const CURLcode code = curl_easy_perform(c);
    busy_ = false;
    // Once the server has taken the mail it is sent, whatever comes after
    // (a cancel clicked while its reply was shown, a dropped connection).
    const bool failed = code != CURLE_OK && !s.accepted;
    TSmtpFailure failure;
    failure.code = code;
    failure.cancelled = failed && (cancel_ || code == CURLE_ABORTED_BY_CALLBACK);
    failure.server = host_;
    const QUrl url(QString::fromUtf8(s.url));
    failure.port = url.port(url.scheme() == QLatin1String("smtps") ? 465 : 25);
    failure.detail = SmtpCallbacks::Redacted(s.loginSecrets + s.secrets, QString::fromUtf8(s.errorBuffer));
    failure.serverReply = s.lastServerError;
    failure.refusedStep = s.refusedStep;
    failure.refusedAddress = s.refusedAddress;
    failure.connectionRefused = s.connectionRefused;
    failure.noLoginMechanism = s.noAuthMechanism;
    if (disconnectAfterTransfer_)
        disconnect();
    if (failed)
        throw TarvoError(SmtpFailureMessage(failure));
}

void TSmtpClient::disconnect() {
    if (busy_) {
        // Called from the status callback during a transfer: libcurl must not
        // be torn down under its own feet. The progress callback stops the
        // transfer, and send() ends the session afterwards.
        cancel_ = true;
        disconnectAfterTransfer_ = true;
        return;
    }
    if (!session_)
        return;
    busy_ = true; // a disconnect from the status callback during QUIT finds nothing left to do
    curl_easy_cleanup(session_->curl); // sends QUIT on a connection that is still open
    session_.reset();
    busy_ = false;
    cancel_ = false;
    disconnectAfterTransfer_ = false;
}
