// Archive files (.asw): a damaged archive is refreshed against an existing
// year file and its summaries read and written back.
#include "fuzz_sandbox.h"
#include "storage/archive.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <QFile>
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
    const QString archive = sandbox.observerFile(QStringLiteral("20002049.asw"));
    QByteArray bytes = FuzzBytes(data + 1, size - 1);
    if (data[0] & 8) {
        // The input damages the records of 2004 in a sound archive, and the
        // year then changes: the refresh aggregates the damaged records.
        TYearSummaries summaries;
        WriteYear(2004, year);
        try {
            LoadYearSummaries(2004, summaries);
        } catch (const TarvoError &) {
        }
        QFile file(archive);
        QByteArray sound = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        file.close();
        const qsizetype from = 4 * 12 * qsizetype(sizeof(TMonthSummary));
        for (qsizetype i = 0; i < bytes.size() && from + i < sound.size(); ++i)
            sound[from + i] = static_cast<char>(sound[from + i] ^ bytes[i]);
        bytes = sound;
        year.Day(1, 2).Zeit.assign(QStringLiteral("11:00"));
        WriteYear(2004, year);
    }
    FuzzSandbox::write(archive, bytes);
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
