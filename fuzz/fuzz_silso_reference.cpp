// SILSO's daily and hemispheric files and the reference store's own files, in
// memory: recognition, parsing, merging into a store and writing the store
// back, which must read again as the same series. The first byte chooses
// the reader.
#include "reference/reference_store.h"
#include "reference/silso_files.h"
#include "storage/tarvo_error.h"

#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

template <class Series, class Entries>
void CheckRoundTrip(const Series &series, const Entries &entries, QByteArray (*write)(const Series &),
                    Series (*read)(const QByteArray &, const QString &)) {
    const QByteArray bytes = write(series);
    if (!(read(bytes, QStringLiteral("store")).*entries == series.*entries))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    const QString name = QStringLiteral("fuzz.csv");
    try {
        RecogniseSilsoFile(bytes);
        switch (data[0] % 4) {
        case 0: {
            std::vector<TSilsoDay> days = ParseSilsoDailyFile(bytes, name);
            SortUniqueKeepLast(days);
            const TSilsoDailySeries merged{MergeReplacing(days, days)};
            CheckRoundTrip(merged, &TSilsoDailySeries::days, SilsoDailyStoreBytes, ParseSilsoDailyStore);
            break;
        }
        case 1: {
            std::vector<TSilsoHemMonth> months = ParseSilsoHemFile(bytes, name);
            SortUniqueKeepLast(months);
            const TSilsoHemSeries merged{MergeReplacing(months, months)};
            CheckRoundTrip(merged, &TSilsoHemSeries::months, SilsoHemStoreBytes, ParseSilsoHemStore);
            break;
        }
        case 2:
            CheckRoundTrip(ParseSilsoDailyStore(bytes, name), &TSilsoDailySeries::days, SilsoDailyStoreBytes,
                           ParseSilsoDailyStore);
            break;
        default:
            CheckRoundTrip(ParseSilsoHemStore(bytes, name), &TSilsoHemSeries::months, SilsoHemStoreBytes,
                           ParseSilsoHemStore);
            break;
        }
    } catch (const TarvoError &) {
    }
    return 0;
}
