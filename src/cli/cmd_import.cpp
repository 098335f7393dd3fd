// Command over the reference-number imports: import sidc|netdef FILE FROM TO into
// the observer's archive, import silso-daily|silso-hem FILE into the reference store.
#include "cli_command.h"

#include "network/import_netdef.h"
#include "network/import_rules.h"
#include "network/import_sidc.h"
#include "reference/silso_import.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"

#include <QDate>

namespace {

// SILSO's daily or hemispheric series, kept for all observers.
int ImportSilso(const QStringList &args) {
    CliExpectArgs(args, 2, 2);
    const bool daily = args[0] == QLatin1String("silso-daily");
    const TSilsoImportSummary summary = daily ? ImportSilsoDaily(args[1]) : ImportSilsoHemispheric(args[1]);
    CliPrint(SilsoImportDoneMessage(summary) + QLatin1Char('\n'));
    return 0;
}

int Import(CliSession &, const QStringList &args) {
    const QString kind = args.value(0);
    if (kind == QLatin1String("silso-daily") || kind == QLatin1String("silso-hem"))
        return ImportSilso(args);
    CliRequireObserver(); // sidc and netdef go into the observer's archive
    CliExpectArgs(args, 4, 4);
    const bool sidc = kind == QLatin1String("sidc");
    if (!sidc && kind != QLatin1String("netdef"))
        throw CliUsageError("unbekannte Art des Imports (sidc, netdef, silso-daily oder silso-hem)");
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
                  "SIDC-Zahlen oder definitive Relativzahlen des Netzes ins Archiv übernehmen", CliNeeds::NoObserver);
// The same command with its second form, so that --help lists both.
const CliCommandRegistrar
    importSilsoCommand("import", "silso-daily|silso-hem FILE", Import,
                       "SILSO-Tageszahlen oder -Halbkugelzahlen für alle Beobachter in die Referenzdaten "
                       "übernehmen",
                       CliNeeds::NoObserver);

} // namespace
