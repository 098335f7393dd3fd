// The network's definitive relative numbers and the month-matching import
// underneath both reference-number imports, in memory: line ends, header
// lines, the forward search, the report and the storing into a year.
#include "network/import_archive.h"
#include "network/import_monthly.h"
#include "network/import_netdef.h"
#include "storage/tarvo_error.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2));
    const int first = 1990 + data[1] % 30;
    const int last = first + (data[1] >> 5);
    try {
        const TMonthValues values =
            data[0] & 1
                ? NetworkDefinitiveValues(bytes, first, last)
                : MatchMonthlySeries(bytes, first, last, data[0] >> 1 & 3,
                                     {{20, 24, &TMonthSummary::SIDC}, {28, 40, &TMonthSummary::SIDCM}});
        NothingToImportMessage(QStringLiteral("netdef.dat"), values);
        ImportReportText(MakeImportReport(values));
        TYearSummaries summaries{};
        for (int year = first; year <= last; ++year)
            ApplyMonthValues(values, year, summaries);
    } catch (const TarvoError &) {
    }
    return 0;
}
