#pragma once

#include "network_lines.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The four lists of the mail dialog, in their fixed order. The number is the
// list's kind and, plus one, its character in the dispatch status string.
enum MailListKind : int {
    MailRelativeNumbers = 0,
    MailANumbers = 1,
    MailFaculae = 2,
    MailPositions = 3, // listed, but there is nothing to send yet
};
constexpr int kMailListKindCount = 4;

// One row of the mail dialog's list.
struct MailListEntry {
    QString address; // at most 60 characters
    int kind = MailRelativeNumbers;
};

// The maintainers' blind-copy address for diagnostic copies ("Bugfix"). It is
// empty in this build, and an empty address adds no recipient.
extern const char *const kMaintainerBccAddress;
// Text of the Organization header.
extern const char *const kMailOrganization;

// The entries in kind order, one for every list whose address is set.
QList<MailListEntry> MailListEntries(const TObserverProfile &profile);
// "Relativzahlen: <address>" and so on.
QString MailListEntryText(const MailListEntry &entry);
// "Relativzahlen an <address>" and so on.
QString MailListTargetText(const MailListEntry &entry);
// The row's state when the dialog is shown: checked, grey (Qt::PartiallyChecked)
// when the list was sent this month, unchecked when it is not preselected.
Qt::CheckState InitialListState(const TObserverProfile &profile, const QByteArray &dispatchStatus, int kind);

// The dispatch status of a month. Each throws TarvoError for a month outside
// 1..12.
//
// The month's dispatch status string (slot 0's Bemerkung), as stored.
QByteArray DispatchStatus(const TYearBuffer &year, int month);
// Sets an empty (or short) dispatch status string to fifteen '0'.
void EnsureDispatchStatus(TYearBuffer &year, int month);
// Marks the list of `kind` (0..2) as sent for the month.
void MarkListSent(TYearBuffer &year, int month, int kind);
bool ListSent(const TYearBuffer &year, int month, int kind);

// The mail dialog's caption: "E-Mail-Versand", with Bugfix on followed by the
// month's dispatch status string, or by "noch nichts gesendet" while the
// month has none.
QString MailDialogCaption(bool bugfix, const QByteArray &dispatchStatus);

// What became of one chosen list after "Senden".
struct TListOutcome {
    MailListEntry entry;
    bool sent = false;
    QString reason; // why it was not sent
};
// The summary after sending: which lists went to which address, which did
// not and why.
QString DispatchSummary(const QList<TListOutcome> &outcomes);
// Asked before a list already sent this month goes out again.
QString SendAgainQuestion(const QList<MailListEntry> &alreadySent);

// "TARVO32: " and the program version, cut to 25 characters.
QString MailerName(const QString &programVersion);

// Everything one list's mail carries besides the transport settings.
struct TListMail {
    QString StatusLine; // "Sende Relativzahlen"
    QString FromAddress;
    QString FromName;
    QStringList To;
    QStringList Cc;
    QStringList Bcc;
    QString Subject;
    QList<QByteArray> Lines; // header line, then the month's lines of the kind (Windows-1252)
};

// "REZAHL: Muster 2004/3": the subject of a list's mail of the month.
QString ListMailSubject(int kind, const TObserverProfile &profile, int yearNumber, int month);

// "Sie müssen mindestens eine Liste auswählen!"
QString NoListChosenMessage();

// Composes the mail of one list (kinds 0..2) for the month. Throws
// TarvoError for a month outside 1..12 and for the list Positionen, which
// has nothing to send yet ("Ist noch nicht implementiert!").
TListMail ComposeListMail(const MailListEntry &entry, const TObserverProfile &profile,
                          const TYearBuffer &year, int yearNumber, int month);
