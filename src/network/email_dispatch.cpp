#include "email_dispatch.h"

#include "calendar/tpdate.h"
#include "storage/cp1252.h"
#include "storage/tarvo_error.h"

const char *const kMaintainerBccAddress = "";
const char *const kMailOrganization = "TARVO Sonnenbeobachter";

namespace {

constexpr int kStatusLength = 15;

struct ListInfo {
    const char *name;
    const char *entryText;
    const char *statusLine;
    const char *subjectWord;
};

const ListInfo kLists[kMailListKindCount] = {
    {"Relativzahlen", "Relativzahlen: ", "Sende Relativzahlen", "REZAHL: "},
    {"A-Netz", "A-Netz: ", "Sende A-Zahlen", "A-ZAHL: "},
    {"Fackeln (Hauptzone)", "Fackeln (Hauptzone): ", "Sende Fackelzahlen", "Fackel-Daten: "},
    {"Positionen", "Positionen: ", "", ""},
};

QString AddressOf(const TObserverProfile &p, int kind) {
    switch (kind) {
    case MailRelativeNumbers:
        return p.AddrRe.text();
    case MailANumbers:
        return p.AddrA.text();
    case MailFaculae:
        return p.AddrFackel.text();
    default:
        return p.AddrPos.text();
    }
}

bool Preselected(const TObserverProfile &p, int kind) {
    const std::uint8_t switches[kMailListKindCount] = {p.SendRe, p.SendA, p.SendF, p.SendP};
    return switches[kind] != 0;
}

void CheckMonth(int month) {
    if (month < 1 || month > 12)
        throw TarvoError(QStringLiteral("Ungültiger Monat %1").arg(month));
}

} // namespace

QList<MailListEntry> MailListEntries(const TObserverProfile &profile) {
    QList<MailListEntry> entries;
    for (int kind = 0; kind < kMailListKindCount; ++kind) {
        const QString address = AddressOf(profile, kind);
        if (!address.isEmpty())
            entries.append({address, kind});
    }
    return entries;
}

QString MailListEntryText(const MailListEntry &entry) {
    return QString::fromUtf8(kLists[entry.kind].entryText) + entry.address;
}

QString MailListTargetText(const MailListEntry &entry) {
    return QString::fromUtf8(kLists[entry.kind].name) + QStringLiteral(" an ") + entry.address;
}

Qt::CheckState InitialListState(const TObserverProfile &profile, const QByteArray &dispatchStatus, int kind) {
    Qt::CheckState state =
        dispatchStatus.size() > kind && dispatchStatus[kind] == '1' ? Qt::PartiallyChecked : Qt::Checked;
    if (!Preselected(profile, kind))
        state = Qt::Unchecked;
    return state;
}

QByteArray DispatchStatus(const TYearBuffer &year, int month) {
    CheckMonth(month);
    return year.Months[month].Header().Bemerkung.bytes();
}

void EnsureDispatchStatus(TYearBuffer &year, int month) {
    CheckMonth(month);
    auto &status = year.Months[month].Header().Bemerkung;
    if (status.length() < kStatusLength)
        status.assignBytes(status.bytes().leftJustified(kStatusLength, '0'));
}

void MarkListSent(TYearBuffer &year, int month, int kind) {
    EnsureDispatchStatus(year, month);
    if (kind < MailRelativeNumbers || kind > MailFaculae)
        return; // only the three sendable lists are ever marked
    QByteArray status = DispatchStatus(year, month);
    status[kind] = '1';
    year.Months[month].Header().Bemerkung.assignBytes(status);
}

bool ListSent(const TYearBuffer &year, int month, int kind) {
    const QByteArray status = DispatchStatus(year, month);
    return status.size() > kind && status[kind] == '1';
}

QString MailDialogCaption(bool bugfix, const QByteArray &dispatchStatus) {
    const QString caption = QStringLiteral("E-Mail-Versand");
    if (!bugfix)
        return caption;
    if (dispatchStatus.isEmpty())
        return caption + QStringLiteral(" - noch nichts gesendet");
    return caption + QStringLiteral(" - ") + FromCp1252(dispatchStatus);
}

QString DispatchSummary(const QList<TListOutcome> &outcomes) {
    QStringList sent;
    QStringList notSent;
    for (const TListOutcome &o : outcomes) {
        if (o.sent)
            sent << QStringLiteral("  ") + MailListTargetText(o.entry);
        else
            // A reason of several lines (what to check, details) stays under its list.
            notSent << QStringLiteral("  ") + MailListTargetText(o.entry) + QStringLiteral(": ") +
                           QString(o.reason).replace(QLatin1Char('\n'), QStringLiteral("\n    "));
    }
    QStringList parts;
    if (!sent.isEmpty())
        parts << QStringLiteral("Gesendet:\n") + sent.join(QLatin1Char('\n'));
    if (!notSent.isEmpty())
        parts << QStringLiteral("Nicht gesendet:\n") + notSent.join(QLatin1Char('\n'));
    return parts.join(QStringLiteral("\n\n"));
}

QString SendAgainQuestion(const QList<MailListEntry> &alreadySent) {
    QStringList lines;
    for (const MailListEntry &entry : alreadySent)
        lines << QStringLiteral("  ") + MailListTargetText(entry);
    return QStringLiteral("Für diesen Monat bereits gesendet:\n%1\n\nNoch einmal senden?")
        .arg(lines.join(QLatin1Char('\n')));
}

QString MailerName(const QString &programVersion) {
    return (QStringLiteral("TARVO32: ") + programVersion).left(25);
}

QString ListMailSubject(int kind, const TObserverProfile &profile, int yearNumber, int month) {
    return QString::fromUtf8(kLists[kind].subjectWord) + profile.Name1.text() + QLatin1Char(' ') +
           QString::number(yearNumber) + QLatin1Char('/') + QString::number(month);
}

QString NoListChosenMessage() {
    return QStringLiteral("Sie müssen mindestens eine Liste auswählen!");
}

TListMail ComposeListMail(const MailListEntry &entry, const TObserverProfile &profile,
                          const TYearBuffer &year, int yearNumber, int month) {
    CheckMonth(month);
    if (entry.kind < MailRelativeNumbers || entry.kind > MailFaculae)
        throw TarvoError(QStringLiteral("Ist noch nicht implementiert!"));
    const ListInfo &info = kLists[entry.kind];
    TListMail mail;
    mail.StatusLine = QString::fromUtf8(info.statusLine);
    mail.FromAddress = profile.email.text().trimmed();
    mail.FromName = profile.eName.text();
    mail.To = {entry.address.trimmed()};
    if (profile.Bugfix && QByteArray(kMaintainerBccAddress).size() > 0)
        mail.Bcc = {QString::fromLatin1(kMaintainerBccAddress)};
    if (profile.SendCC && !profile.email.empty())
        mail.Cc = {profile.email.text().trimmed()};
    mail.Lines << FormatObserverHeaderLine(profile);
    const auto lineKind = static_cast<NetworkLineKind>(entry.kind);
    for (int day = 1; day <= MonthLength(month, yearNumber); ++day) {
        const QByteArray line = FormatNetworkLine(lineKind, profile, year, yearNumber, month, day);
        if (!line.isEmpty())
            mail.Lines << line;
    }
    mail.Subject = ListMailSubject(entry.kind, profile, yearNumber, month);
    return mail;
}
