// Archive files (.asw): a damaged archive is refreshed against an existing
// year file and its summaries read and written back.
#include "fuzz_sandbox.h"
#include "storage/archive.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    FuzzSandbox &sandbox = FuzzSandbox::instance();
    sandbox.reset();
    sandbox.clearObserver();
    // A year with a few observed days, so that the refresh aggregates.
    TYearBuffer year;
    std::memset(&year, 0xFF, sizeof year);
    for (int month = 1; month <= 12; ++month)
        for (int day = 0; day <= 31; ++day)
            year.Day(month, day).Zeit.assign(day % 3 == 1 ? QStringLiteral("10:30") : QString());
    if (data[0] & 1)
        WriteYear(2004, year);
    const QByteArray bytes = FuzzBytes(data + 1, size - 1);
    FuzzSandbox::write(sandbox.observerFile(QStringLiteral("20002049.asw")), bytes);
    // The neighbours take part in the smoothing.
    if (data[0] & 2)
        FuzzSandbox::write(sandbox.observerFile(QStringLiteral("19501999.asw")), bytes);
    if (data[0] & 4)
        FuzzSandbox::write(sandbox.observerFile(QStringLiteral("20502099.asw")), bytes);
    try {
        TYearSummaries summaries;
        if (LoadYearSummaries(2004, summaries))
            SaveYearSummaries(2004, summaries);
        if (LoadYearSummaries(2049, summaries))
            SaveYearSummaries(2049, summaries);
    } catch (const TarvoError &) {
    }
    return 0;
}
