// Command over the comparison with SILSO: compare YEAR [MONTH].
#include "cli_command.h"

#include "reference/comparison.h"
#include "reference/comparison_csv.h"
#include "reference/reference_store.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <memory>

namespace {

int Compare(CliSession &, const QStringList &args) {
    CliExpectArgs(args, 1, 2);
    const int year = CliIntArgument(args[0], "YEAR", 1, 9999);
    const int month = args.size() > 1 ? CliIntArgument(args[1], "MONTH", 1, 12) : 0;
    if (Storage().CurrentObserverDir.isEmpty())
        throw TarvoError(QStringLiteral("Es ist kein Beobachter eingerichtet"));
    const TSilsoDailySeries silso = LoadSilsoDaily();
    if (!HasSilsoValuesInYear(silso, year))
        throw TarvoError(NoSilsoYearMessage(QString::number(year)));
    const TSilsoHemSeries hem = LoadSilsoHem();
    const auto own = std::make_unique<TYearBuffer>();
    ReadYear(year, *own);
    CliPrint(month > 0 ? MonthComparisonCsv(CompareMonth(*own, year, month, silso, hem))
                       : YearComparisonCsv(CompareYear(*own, year, silso, hem)));
    return 0;
}

const CliCommandRegistrar compareCommand(
    "compare", "YEAR [MONTH]", Compare,
    "die eigenen Relativzahlen gegen die SILSO-Tageszahlen: Tage des Monats oder Monate und Jahr als CSV");

} // namespace
