#pragma once

#include "mail_message.h"

#include <QString>
#include <functional>
#include <memory>

// SMTP transport on libcurl. The host is "name" (port 25, STARTTLS when the
// server offers it), "name:port" (465 = TLS from the start, any other port
// STARTTLS when offered) or a full smtp:// or smtps:// URL. With a user name
// the session logs in with AUTH LOGIN, and only over an encrypted connection:
// a server that offers no STARTTLS (or refuses it) on a plain connection gets
// no credentials and no mail, unless a login without encryption is allowed.
// Certificates are checked against the system's store.
//
// The transfer blocks the calling thread. Every protocol step is reported to
// the status callback (credentials replaced by a placeholder); the callback
// may process events, and a disconnect() called from there cancels the
// running transfer, which then fails.
class TSmtpClient {
public:
    TSmtpClient();
    ~TSmtpClient();
    TSmtpClient(const TSmtpClient &) = delete;
    TSmtpClient &operator=(const TSmtpClient &) = delete;

    void setHost(const QString &host);
    void setUserName(const QString &userName);
    void setPassword(const QString &password);
    void setMailerName(const QString &mailerName);
    // Lets a server without encryption receive the user name and password in
    // clear (off by default).
    void setAllowPlainLogin(bool allow);
    void setStatusCallback(std::function<void(const QString &)> callback);
    const QString &mailerName() const { return mailerName_; }

    // Opens the session. libcurl makes the connection with the first message
    // and keeps it open until disconnect(). Throws TarvoError.
    void connect();
    // Sends one message over the session. Throws TarvoError with the German
    // reason when the server refuses it, the connection fails or the
    // transfer was cancelled.
    void send(const TMailMessage &message);
    // Ends the session (QUIT). While a transfer runs (from inside the status
    // callback) it cancels the transfer instead; the session ends after it.
    void disconnect();
    bool connected() const;
    bool busy() const { return busy_; }

    // The URL libcurl gets for a host setting (see the class comment).
    static QString ServerUrl(const QString &host);

private:
    struct Session;
    void report(const QString &text);

    QString host_;
    QString userName_;
    QString password_;
    QString mailerName_;
    bool allowPlainLogin_ = false;
    std::function<void(const QString &)> status_;
    std::unique_ptr<Session> session_;
    bool busy_ = false;
    bool cancel_ = false;
    bool disconnectAfterTransfer_ = false;

    friend struct SmtpCallbacks;
};
