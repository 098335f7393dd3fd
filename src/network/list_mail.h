#pragma once

#include "mail/mail_message.h"
#include "network/email_dispatch.h"

class TSmtpClient;

// The message that carries one list's mail.
TMailMessage ToMailMessage(const TListMail &mail);

// The observer's SMTP access as the mail dialog and tarvo-cli use it: server,
// user, password, whether a login may go unencrypted, and the mailer name.
void ConfigureSmtpClient(TSmtpClient &smtp, const TObserverProfile &profile);
