// Commands over the network lists: lines, export, send.
#include "network/list_mail.h"
#include "cli_command.h"

#include "mail/smtp_client.h"
#include "month/month_document.h"
#include "network/email_dispatch.h"
#include "network/export_files.h"
#include "network/network_lines.h"
#include "storage/column_layout.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <cstdio>
#include <memory>

namespace {

int LineKindArgument(const QString &text) {
    static const QStringList kinds{QStringLiteral("re"), QStringLiteral("a"), QStringLiteral("f")};
    const int kind = static_cast<int>(kinds.indexOf(text));
    if (kind < 0)
        throw CliUsageError(QStringLiteral("unbekannte Liste '%1' (re, a oder f)").arg(text).toStdString());
    return kind;
}

std::unique_ptr<TYearBuffer> LoadYear(int year) {
    auto buffer = std::make_unique<TYearBuffer>();
    ReadYear(year, *buffer);
    return buffer;
}

void PrintStatus(const QString &text) {
    std::fputs((text + QLatin1Char('\n')).toUtf8().constData(), stderr);
    std::fflush(stderr);
}

int Lines(CliSession &session, const QStringList &args) {
    CliExpectArgs(args, 3, 3);
    const int kind = LineKindArgument(args[0]);
    const int year = CliIntArgument(args[1], "YEAR", 1600, 3999);
    const int month = CliIntArgument(args[2], "MONTH", 1, 12);
    const auto buffer = LoadYear(year);
    CliWriteBytes(MonthLines(static_cast<NetworkLineKind>(kind), session.profile, *buffer, year, month));
    return 0;
}

// The column layout the month table would show: the observer's AEF.CFG, or
// the defaults when there is none or it cannot be read (the table says so
// and goes on with the defaults, and so does this).
void LoadMonthTableLayout() {
    if (const QString problem = LoadColumnLayoutOrDefaults(); !problem.isEmpty())
        PrintStatus(QStringLiteral("tarvo-cli: %1 - es gilt die Standard-Spaltenanordnung").arg(problem));
}

int Export(CliSession &session, const QStringList &args) {
    CliExpectArgs(args, 4, 4);
    static const QStringList types{QStringLiteral("csv"), QStringLiteral("html"), QStringLiteral("re"),
                                   QStringLiteral("a"), QStringLiteral("f")};
    const int type = static_cast<int>(types.indexOf(args[0]));
    if (type < 0)
        throw CliUsageError(QStringLiteral("unbekannter Export-Typ '%1'").arg(args[0]).toStdString());
    const int year = CliIntArgument(args[1], "YEAR", 1600, 3999);
    const int month = CliIntArgument(args[2], "MONTH", 1, 12);
    TMonthDocument document;
    document.open(year, month);
    if (!document.isReadable())
        throw TarvoError(document.unreadableMessage());
    // The file must equal the month table's export: the observer's column
    // layout, and means with the decimal separator of the user's locale as
    // on screen, not the '.' of the command's own output.
    if (type == ExportCsv || type == ExportHtml)
        LoadMonthTableLayout();
    const TExportSource source{&session.profile, &document};
    WriteExportFile(type, args[3], source);
    return 0;
}


int Send(CliSession &session, const QStringList &args) {
    CliExpectArgs(args, 2, 4);
    const int year = CliIntArgument(args[0], "YEAR", 1600, 3999);
    const int month = CliIntArgument(args[1], "MONTH", 1, 12);
    QList<int> requested;
    if (args.size() > 2) {
        if (args[2] != QLatin1String("--lists") || args.size() != 4)
            throw CliUsageError("erwartet: --lists re,a,f");
        for (const QString &name : args[3].split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const int kind = LineKindArgument(name);
            if (!requested.contains(kind))
                requested << kind;
        }
    }
    const TObserverProfile &profile = session.profile;
    auto buffer = LoadYear(year);
    // The lists asked for, or else those the mail dialog would send.
    const QList<MailListEntry> chosen = requested.isEmpty()
                                            ? PreselectedLists(profile, DispatchStatus(*buffer, month))
                                            : RequestedLists(profile, requested);
    if (chosen.isEmpty())
        throw TarvoError(NoListChosenMessage());

    TSmtpClient smtp;
    ConfigureSmtpClient(smtp, profile);
    EnsureDispatchStatus(*buffer, month);
    TDispatchSteps steps;
    steps.skipped = PrintStatus;
    steps.composing = [&](int index, const TListMail &mail) {
        PrintStatus(mail.StatusLine + QStringLiteral(" an ") + chosen[index].address);
    };
    steps.sent = [&](int index) {
        // Each list sent is recorded at once, so a later failure keeps it
        // marked, and on the year as it is on disk now: the program may have
        // saved it while the mail was on its way.
        const MailListEntry &entry = chosen[index];
        try {
            UpdateYear(year, [&](TYearBuffer &onDisk) {
                MarkListSent(onDisk, month, entry.kind);
                *buffer = onDisk;
            });
        } catch (const TarvoError &e) {
            throw TarvoError(
                QStringLiteral("Die E-Mail „%1“ an %2 ist versandt, aber der Versandstatus konnte "
                               "nicht gespeichert werden: %3\nDie Liste nicht noch einmal senden, "
                               "sonst geht sie doppelt hinaus.")
                    .arg(ListMailSubject(entry.kind, profile, year, month), entry.address, e.message()));
        }
    };
    for (const TListOutcome &outcome : SendMonthLists(smtp, chosen, profile, *buffer, year, month, steps))
        if (!outcome.sent && outcome.entry.kind != MailPositions)
            throw TarvoError(outcome.reason); // the first failure; the lists after it were not tried
    CliPrint(QStringLiteral("%1\n").arg(FromCp1252(DispatchStatus(*buffer, month))));
    return 0;
}

const CliCommandRegistrar linesCommand("lines", "re|a|f YEAR MONTH", Lines,
                                       "die Netzdatenzeilen des Monats (Windows-1252, CR LF)");
const CliCommandRegistrar exportCommand("export", "csv|html|re|a|f YEAR MONTH FILE", Export,
                                        "den Monat so in FILE schreiben, wie es der Export-Dialog tut");
const CliCommandRegistrar sendCommand("send", "YEAR MONTH [--lists re,a,f]", Send,
                                      "den Monat so an die Netze senden, wie es der E-Mail-Dialog tut");

} // namespace
