#pragma once

#include "mail/mail_message.h"
#include "network/email_dispatch.h"

// The message that carries one list's mail.
TMailMessage ToMailMessage(const TListMail &mail);
