#pragma once
// Starts the recording SMTP server of tests/data/mail on 127.0.0.1 (a free
// port) with the system's Python, which has aiosmtpd.

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

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

// The client's lines and the server's replies of a recorded session as "C: ..." and "S: ...".
inline QStringList Transcript(const QJsonObject &message) {
    QStringList lines;
    for (const QJsonValue &v : message.value(QStringLiteral("transcript")).toArray()) {
        const QJsonArray pair = v.toArray();
        lines << pair[0].toString() + QStringLiteral(": ") + pair[1].toString().trimmed();
    }
    return lines;
}
