#include "list_mail.h"

#include "mail/smtp_client.h"
#include "storage/storage_state.h"

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
