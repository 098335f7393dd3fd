#pragma once
// Starts the recording SMTP server of tests/data/mail on 127.0.0.1 (a free
// port) with the system's Python, which has aiosmtpd.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

class SmtpTestServer {
public:
    ~SmtpTestServer() { stop(); }

    // Extra arguments: --user U --password P (offers AUTH), --reject ADDRESS, --data-delay SECONDS,
    // --refuse-starttls (lists STARTTLS, refuses it).
    bool start(const QStringList &extra = {}) {
        out_ = dir_.filePath(QStringLiteral("received.jsonl"));
        process_.setProgram(QStringLiteral("/usr/bin/python3"));
        process_.setArguments(QStringList{QStringLiteral(TARVO_TEST_DATA "/mail/smtp_server.py"),
                                          QStringLiteral("--out"), out_} +
                              extra);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start();
        if (!process_.waitForStarted(10000))
            return false;
        QByteArray line;
        QElapsedTimer timer;
        timer.start();
        while (!line.contains('\n') && timer.elapsed() < 15000) {
            if (!process_.waitForReadyRead(500) && process_.state() != QProcess::Running)
                return false;
            line += process_.readAllStandardOutput();
        }
        if (!line.startsWith("PORT "))
            return false;
        port_ = line.mid(5).trimmed().toInt();
        return port_ > 0;
    }

    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.closeWriteChannel(); // the server ends when its input closes
        if (!process_.waitForFinished(5000)) {
            process_.kill();
            process_.waitForFinished(2000);
        }
    }

    int port() const { return port_; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(port_); }

    // The delivered messages, oldest first.
    QList<QJsonObject> messages() const { return records(out_); }

    // Every ended session, also those that delivered nothing, with its
    // "transcript" (Transcript() reads it).
    QList<QJsonObject> sessions() const { return records(out_ + QStringLiteral(".sessions")); }

private:
    static QList<QJsonObject> records(const QString &fileName) {
        QList<QJsonObject> result;
        QFile f(fileName);
        if (!f.open(QIODevice::ReadOnly))
            return result;
        for (const QByteArray &line : f.readAll().split('\n'))
            if (!line.trimmed().isEmpty())
                result << QJsonDocument::fromJson(line).object();
        return result;
    }

    QTemporaryDir dir_;
    QString out_;
    QProcess process_;
    int port_ = 0;
};

// A self-signed certificate and its key for 127.0.0.1 in `dir`, made with
// openssl. False when openssl is not there (the caller skips).
inline bool MakeSelfSignedCertificate(const QTemporaryDir &dir, QString *cert, QString *key) {
    *cert = dir.filePath(QStringLiteral("cert.pem"));
    *key = dir.filePath(QStringLiteral("key.pem"));
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"), {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "1",
                                              "-subj", "/CN=127.0.0.1", "-keyout", *key, "-out", *cert});
    return openssl.waitForFinished(30000) && openssl.exitStatus() == QProcess::NormalExit &&
           openssl.exitCode() == 0;
}

// A port on 127.0.0.1 where nothing listens (taken and closed again).
inline int ClosedPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr *>(&address), size) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

// The client's lines and the server's replies of a recorded session as "C: ..." and "S: ...".
inline QStringList Transcript(const QJsonObject &message) {
    QStringList lines;
    for (const QJsonValue &v : message.value(QStringLiteral("transcript")).toArray()) {
        const QJsonArray pair = v.toArray();
        lines << pair[0].toString() + QStringLiteral(": ") + pair[1].toString().trimmed();
    }
    return lines;
}
