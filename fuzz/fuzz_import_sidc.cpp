// SIDC sunspot-number files in every format the import understands, in
// memory: format recognition (the file name matters when the content is too
// short to tell), the month matching and the storing into a year's summaries.
#include "network/import_archive.h"
#include "network/import_sidc.h"
#include "storage/tarvo_error.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2)
        return 0;
    static const QString names[] = {
        QStringLiteral("monthssn.dat"),       QStringLiteral("SN_m_tot_V2.0.txt"),
        QStringLiteral("SN_m_tot_V2.0.csv"),  QStringLiteral("SN_ms_tot_V2.0.txt"),
        QStringLiteral("SN_ms_tot_V2.0.csv"), QStringLiteral("SN_m_hem_V2.0.csv")};
    const QByteArray bytes(reinterpret_cast<const char *>(data + 2), static_cast<qsizetype>(size - 2));
    // A year range as the dialog allows it, at most a few years wide.
    const int first = 1990 + data[1] % 30;
    const int last = first + (data[1] >> 5);
    try {
        const TSidcFormat format = RecogniseSidcFormat(bytes, names[data[0] % 6]);
        const TMonthValues values = SidcMonthValues(bytes, format, first, last);
        NothingToImportMessage(names[data[0] % 6], values);
        ImportReportText(MakeImportReport(values));
        TYearSummaries summaries{};
        for (int year = first; year <= last; ++year)
            ApplyMonthValues(values, year, summaries);
    } catch (const TarvoError &) {
    }
    return 0;
}
