#pragma once

#include <QString>

// The SMTP command a failure answered.
enum class TSmtpStep { None, Login, Sender, Recipient, Message };

// What went wrong in one SMTP transfer, as the transport saw it: libcurl's
// result and its own (English) text, what its protocol trace showed, and the
// host setting as the user typed it. Credentials are never in here.
struct TSmtpFailure {
    int code = 0;                            // libcurl's CURLcode
    QString server;                          // the "SMTP-Server" setting
    int port = 25;                           // the port the connection went to
    QString detail;                          // libcurl's text of the failure
    QString serverReply;                     // the server's last 4xx/5xx reply
    TSmtpStep refusedStep = TSmtpStep::None; // the command that reply answered
    QString refusedAddress;                  // the sender or recipient refused
    bool connectionRefused = false;          // nothing listened on the port
    bool noLoginMechanism = false;           // the server offers no AUTH LOGIN
    bool cancelled = false;
};

// The German message for the user: what happened and what to check in the
// e-mail settings, then the server's reply and libcurl's text ("Details").
QString SmtpFailureMessage(const TSmtpFailure &failure);
