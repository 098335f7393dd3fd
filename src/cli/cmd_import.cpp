// Command over the reference-number imports: import sidc|netdef FILE FROM TO.
#include "cli_command.h"

#include "network/import_netdef.h"
#include "network/import_rules.h"
#include "network/import_sidc.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDate>

namespace {

int Import(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 4, 4);
    const QString kind = args[0];
    const bool sidc = kind == QLatin1String("sidc");
    if (!sidc && kind != QLatin1String("netdef"))
        throw CliUsageError("unbekannte Art des Imports (sidc oder netdef)");
    const QString file = args[1];
    const int currentYear = QDate::currentDate().year();
    const int first = ExpandTwoDigitYear(CliIntArgument(args[2], "FROM", 0, 9999));
    const int last = ExpandTwoDigitYear(CliIntArgument(args[3], "TO", 0, 9999));
    const int minYear = sidc ? kSidcFirstYear : kNetDefFirstYear;
    if (!ImportYearsValid(minYear, first, last, currentYear))
        throw CliUsageError(QStringLiteral("die Jahre müssen zwischen %1 und %2 liegen, FROM <= TO")
                                .arg(minYear)
                                .arg(currentYear)
                                .toStdString());
    if (sidc) {
        const TSidcImportResult result = ImportSidc(file, first, last);
        CliPrint(ImportDoneMessage(SidcImportedMessage(), result.report) + QLatin1Char('\n'));
        if (IsOldSidcScale(result.format) && result.report.monthsWritten > 0)
            CliPrint(OldSidcScaleNotice() + QLatin1Char('\n'));
    } else {
        const TImportReport report = ImportNetworkDefinitive(file, first, last);
        CliPrint(ImportDoneMessage(NetDefImportedMessage(), report) + QLatin1Char('\n'));
    }
    return 0;
}

const CliCommandRegistrar
    importCommand("import", "sidc|netdef FILE FROM TO", Import,
                  "SIDC-Zahlen oder definitive Relativzahlen des Netzes ins Archiv übernehmen");

} // namespace
