#include "list_mail.h"

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
