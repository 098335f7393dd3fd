#include "list_mail.h"

#include "mail/smtp_client.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

TMailMessage ToMailMessage(const TListMail &mail) {
    TMailMessage m;
    m.FromAddress = mail.FromAddress;
    m.FromName = mail.FromName;
    m.To = mail.To;
    m.Cc = mail.Cc;
    m.Bcc = mail.Bcc;
    m.Subject = mail.Subject;
    m.Organization = QString::fromUtf8(kMailOrganization);
    m.Body = mail.Lines;
    return m;
}

void ConfigureSmtpClient(TSmtpClient &smtp, const TObserverProfile &profile) {
    smtp.setHost(profile.SMTP.text().trimmed());
    smtp.setMailerName(MailerName(Storage().ProgramVersion));
    smtp.setUserName(profile.SMTPBen.text());
    smtp.setPassword(profile.SMTPPass.text());
    smtp.setAllowPlainLogin(profile.AllowPlainLogin != 0);
}

QList<MailListEntry> PreselectedLists(const TObserverProfile &profile, const QByteArray &dispatchStatus) {
    QList<MailListEntry> chosen;
    for (const MailListEntry &e : MailListEntries(profile))
        if (InitialListState(profile, dispatchStatus, e.kind) == Qt::Checked)
            chosen << e;
    return chosen;
}

QList<MailListEntry> RequestedLists(const TObserverProfile &profile, const QList<int> &kinds) {
    static const char *const names[kMailListKindCount] = {"re", "a", "f", "p"};
    const QList<MailListEntry> entries = MailListEntries(profile);
    QList<MailListEntry> chosen;
    for (int kind : kinds) {
        bool found = false;
        for (const MailListEntry &e : entries)
            if (e.kind == kind) {
                found = true;
                chosen << e;
            }
        if (!found)
            throw TarvoError(QStringLiteral("Für die Liste '%1' ist keine Adresse eingestellt.")
                                 .arg(QLatin1String(names[kind])));
    }
    return chosen;
}

namespace {

// One list's mail in one SMTP session, disconnected also after a failure.
void SendList(TSmtpClient &smtp, const TListMail &mail) {
    try {
        smtp.connect();
        smtp.send(ToMailMessage(mail));
    } catch (...) {
        smtp.disconnect();
        throw;
    }
    smtp.disconnect();
}

} // namespace

QList<TListOutcome> SendMonthLists(TSmtpClient &smtp, const QList<MailListEntry> &lists,
                                   const TObserverProfile &profile, const TYearBuffer &year, int yearNumber,
                                   int month, const TDispatchSteps &steps) {
    QList<TListOutcome> outcomes;
    QString stopped; // why the lists after a failure are not sent
    for (qsizetype i = 0; i < lists.size(); ++i) {
        TListOutcome outcome{lists[i], false, QString()};
        if (!stopped.isEmpty()) {
            outcome.reason = stopped;
        } else if (lists[i].kind == MailPositions) {
            outcome.reason = QStringLiteral("Ist noch nicht implementiert!");
            if (steps.skipped)
                steps.skipped(outcome.reason);
        } else if (steps.cancelled && steps.cancelled()) {
            outcome.reason = stopped = QStringLiteral("Der E-Mail-Versand wurde abgebrochen.");
        } else {
            try {
                const TListMail mail = ComposeListMail(lists[i], profile, year, yearNumber, month);
                if (steps.composing)
                    steps.composing(static_cast<int>(i), mail);
                SendList(smtp, mail);
                outcome.sent = true;
            } catch (const TarvoError &e) {
                outcome.reason = e.message();
                stopped = QStringLiteral("nicht versucht, weil der Versand nach dem Fehler beendet wurde");
                if (steps.failed)
                    steps.failed(e.message());
            }
        }
        outcomes << outcome;
        if (outcome.sent && steps.sent)
            steps.sent(static_cast<int>(i));
    }
    return outcomes;
}
