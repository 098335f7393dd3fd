#include "smtp_failure.h"

#include <curl/curl.h>

namespace {

QString Check(const QString &what) {
    return QStringLiteral("\nPrüfen Sie ") + what;
}

QString ServerAndPort() {
    return Check(QStringLiteral("in den E-Mail-Einstellungen den SMTP-Server und seinen Port (Angabe als "
                                "Name:Port; ohne Port gilt 25, verschlüsselt meist 587 oder 465) und die "
                                "Verbindung zum Internet."));
}

// The first lines: what happened and what to check.
QString Reason(const TSmtpFailure &f) {
    const QString server = f.server;
    switch (f.refusedStep) {
    case TSmtpStep::Login:
        return QStringLiteral("Die Anmeldung am SMTP-Server '%1' wurde abgelehnt.").arg(server) +
               Check(QStringLiteral("SMTP-Benutzer und SMTP-Passwort in den E-Mail-Einstellungen."));
    case TSmtpStep::Sender:
        return QStringLiteral("Der SMTP-Server '%1' hat den Absender %2 abgelehnt.")
                   .arg(server, f.refusedAddress) +
               Check(QStringLiteral("Ihre E-Mail-Adresse in den E-Mail-Einstellungen; viele Server nehmen "
                                    "nur die Adresse des angemeldeten Kontos an."));
    case TSmtpStep::Recipient:
        return QStringLiteral("Der SMTP-Server '%1' hat den Empfänger %2 abgelehnt.")
                   .arg(server, f.refusedAddress) +
               Check(QStringLiteral("diese Adresse in den E-Mail-Einstellungen (Karte „Arbeitsgruppen“, "
                                    "oder Ihre eigene Adresse, wenn eine Kopie an Sie geht)."));
    case TSmtpStep::Message:
        return QStringLiteral("Der SMTP-Server '%1' hat die Nachricht abgelehnt.").arg(server);
    case TSmtpStep::None:
        break;
    }
    switch (f.code) {
    case CURLE_URL_MALFORMAT:
    case CURLE_UNSUPPORTED_PROTOCOL:
        return QStringLiteral("Die Angabe des SMTP-Servers '%1' ist ungültig.").arg(server) + ServerAndPort();
    case CURLE_COULDNT_RESOLVE_HOST:
        return QStringLiteral("Der SMTP-Server '%1' wurde nicht gefunden.").arg(server) +
               Check(QStringLiteral("den Namen des SMTP-Servers in den E-Mail-Einstellungen und die "
                                    "Verbindung zum Internet."));
    case CURLE_COULDNT_CONNECT:
        if (f.connectionRefused)
            return QStringLiteral("Keine Verbindung zum SMTP-Server '%1': Er nimmt auf Port %2 keine "
                                  "Verbindung an.")
                       .arg(server)
                       .arg(f.port) +
                   ServerAndPort();
        return QStringLiteral("Keine Verbindung zum SMTP-Server '%1' (Port %2): Er ist nicht erreichbar.")
                   .arg(server)
                   .arg(f.port) +
               ServerAndPort();
    case CURLE_OPERATION_TIMEDOUT:
        return QStringLiteral("Der SMTP-Server '%1' antwortet nicht (Zeitüberschreitung).").arg(server) +
               ServerAndPort() + QStringLiteral(" Auch eine Firewall kann die Verbindung sperren.");
    case CURLE_LOGIN_DENIED:
        return QStringLiteral("Die Anmeldung am SMTP-Server '%1' wurde abgelehnt.").arg(server) +
               Check(QStringLiteral("SMTP-Benutzer und SMTP-Passwort in den E-Mail-Einstellungen."));
    case CURLE_PEER_FAILED_VERIFICATION:
        return QStringLiteral("Die gesicherte Verbindung zum SMTP-Server '%1' ist fehlgeschlagen: Sein "
                              "Zertifikat ist nicht vertrauenswürdig (selbst ausgestellt, abgelaufen oder "
                              "für einen anderen Namen).")
                   .arg(server) +
               Check(QStringLiteral("in den E-Mail-Einstellungen, ob der SMTP-Server genau mit dem Namen "
                                    "eingetragen ist, den Ihr Anbieter nennt. Benutzername und Passwort "
                                    "wurden nicht gesendet."));
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        return QStringLiteral("Die gesicherte Verbindung zum SMTP-Server '%1' ist fehlgeschlagen.")
                   .arg(server) +
               Check(QStringLiteral("in den E-Mail-Einstellungen den Port: 465 für eine von Anfang an "
                                    "verschlüsselte Verbindung, sonst meist 587 (STARTTLS)."));
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
    case CURLE_GOT_NOTHING:
        if (f.serverReply.isEmpty())
            return QStringLiteral("Die Verbindung zum SMTP-Server '%1' wurde unterbrochen.").arg(server) +
                   QStringLiteral("\nBitte versuchen Sie es noch einmal.") + ServerAndPort();
        break;
    default:
        break;
    }
    return f.serverReply.isEmpty()
               ? QStringLiteral("Fehler beim E-Mail-Versand über '%1'.").arg(server)
               : QStringLiteral("Der SMTP-Server '%1' hat die Nachricht abgelehnt.").arg(server);
}

} // namespace

QString SmtpFailureMessage(const TSmtpFailure &f) {
    if (f.cancelled || f.code == CURLE_ABORTED_BY_CALLBACK)
        return QStringLiteral("Der E-Mail-Versand wurde abgebrochen.");
    if (f.code == CURLE_LOGIN_DENIED && f.noLoginMechanism)
        return QStringLiteral("Der SMTP-Server '%1' bietet keine Anmeldung mit AUTH LOGIN an.").arg(f.server);
    if (f.code == CURLE_USE_SSL_FAILED) {
        const bool refused = f.detail.contains(QLatin1String("denied"), Qt::CaseInsensitive);
        return QStringLiteral(
                   "Der SMTP-Server '%1' %2. Benutzername und Passwort werden nicht unverschlüsselt "
                   "übertragen; die E-Mail wurde nicht versandt.\nWenn der Server wirklich nur ohne "
                   "Verschlüsselung erreichbar ist, schalten Sie in den E-Mail-Einstellungen "
                   "„Anmeldung ohne Verschlüsselung erlauben“ ein.")
            .arg(f.server, refused ? QStringLiteral("lehnt die verschlüsselte Verbindung (STARTTLS) ab")
                                   : QStringLiteral("bietet keine verschlüsselte Verbindung (STARTTLS) an"));
    }
    QString text = Reason(f);
    if (!f.serverReply.isEmpty())
        text += QStringLiteral("\nAntwort des Servers: ") + f.serverReply;
    // libcurl's own words, for whoever helps the user further.
    const QString detail = f.detail.isEmpty() && f.code != CURLE_OK
                               ? QString::fromUtf8(curl_easy_strerror(static_cast<CURLcode>(f.code)))
                               : f.detail;
    if (!detail.isEmpty())
        text += QStringLiteral("\nDetails: ") + detail;
    return text;
}
