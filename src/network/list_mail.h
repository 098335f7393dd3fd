#pragma once

#include "mail/mail_message.h"
#include "network/email_dispatch.h"

#include <QList>
#include <functional>

class TSmtpClient;

// The message that carries one list's mail.
TMailMessage ToMailMessage(const TListMail &mail);

// The observer's SMTP access as the mail dialog and tarvo-cli use it: server,
// user, password, whether a login may go unencrypted, and the mailer name.
void ConfigureSmtpClient(TSmtpClient &smtp, const TObserverProfile &profile);

// The lists a send goes to when nobody chose: those preselected and not yet
// sent this month (the rows the mail dialog shows checked).
QList<MailListEntry> PreselectedLists(const TObserverProfile &profile, const QByteArray &dispatchStatus);
// The lists of the kinds asked for, in the order asked. Throws TarvoError
// when a kind has no address.
QList<MailListEntry> RequestedLists(const TObserverProfile &profile, const QList<int> &kinds);

// What the caller of SendMonthLists sees of the sending, and how it stops it.
struct TDispatchSteps {
    std::function<void(int index, const TListMail &mail)> composing; // before list `index` goes out
    std::function<void(int index)> sent;                  // list `index` went out; may throw to stop
    std::function<void(const QString &reason)> failed;    // a list could not be sent
    std::function<void(const QString &notice)> skipped;   // a list that cannot be sent yet
    std::function<bool()> cancelled;                      // true: the user stopped the sending
};

// Sends the month's mail of every list, one SMTP session per list, and says
// what became of each. After the first failure (or a cancel) the remaining
// lists are not tried. A list that cannot be sent yet (Positionen) is passed
// over. Throws only what a step throws; failures of sending are outcomes.
QList<TListOutcome> SendMonthLists(TSmtpClient &smtp, const QList<MailListEntry> &lists,
                                   const TObserverProfile &profile, const TYearBuffer &year, int yearNumber,
                                   int month, const TDispatchSteps &steps);
