// Archive files (.asw), in memory: a damaged archive is parsed, completed,
// aggregated against a year and smoothed with its neighbours, and its
// summaries are read and written back. Byte 0 chooses:
//   1  the year 2004 has a year file       16  so has 2049
//   2  a predecessor archive (the input)     4  a successor archive (the input)
//   8  the input damages the records of 2004 in a sound archive, and the
//      year then changes, so that the damaged records are aggregated
#include "storage/archive.h"
#include "storage/tarvo_error.h"

#include <QByteArray>
#include <algorithm>
#include <cstring>

namespace {

// A year with a few observed days, so that the aggregation has work.
const TYearBuffer &SampleYear() {
    static const TYearBuffer year = [] {
        TYearBuffer y;
        std::memset(static_cast<void *>(&y), 0xFF, sizeof y);
        for (int month = 1; month <= 12; ++month)
            for (int day = 0; day <= 31; ++day)
                y.Day(month, day).Zeit.assign(day % 3 == 1 ? QStringLiteral("10:30") : QString());
        return y;
    }();
    return year;
}

TArchiveYearSource Years(std::uint8_t flags, double stamp) {
    TArchiveYearSource years;
    years.stamp = [flags, stamp](int year) -> std::optional<double> {
        if ((year == 2004 && (flags & 1)) || (year == 2049 && (flags & 16)))
            return stamp;
        return std::nullopt;
    };
    years.read = [](int, TYearBuffer &buffer) { buffer = SampleYear(); };
    return years;
}

// A sound archive with the sample year aggregated, made once.
const QByteArray &SoundArchive() {
    static const QByteArray sound = [] {
        TArchiveRecords records;
        CompleteArchive(records, 2000);
        AggregateArchive(records, Years(1, 1.0));
        SmoothArchive(records, {}, {});
        return ArchiveBytes(records);
    }();
    return sound;
}

std::vector<double> NeighbourMeans(const QByteArray &bytes, int from) {
    try {
        return ArchiveMeans(ArchiveRecordsFromBytes(bytes, bytes.size(), QStringLiteral("fuzz.asw")), from,
                            8);
    } catch (const TarvoError &) {
        return {}; // a damaged neighbour counts as missing
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1)
        return 0;
    const std::uint8_t flags = data[0];
    QByteArray bytes(reinterpret_cast<const char *>(data + 1), static_cast<qsizetype>(size - 1));
    // Buffers of an archive's size are kept from one input to the next:
    // allocating them anew each time would cost a third of the run.
    static QByteArray damaged(SoundArchive().size(), Qt::Uninitialized);
    static TArchiveRecords records;
    if (flags & 8) {
        std::memcpy(damaged.data(), SoundArchive().constData(), static_cast<std::size_t>(damaged.size()));
        const qsizetype from = 4 * 12 * qsizetype(sizeof(TMonthSummary));
        const char *in = bytes.constData();
        char *out = damaged.data() + from;
        for (qsizetype i = 0, n = std::min(bytes.size(), damaged.size() - from); i < n; ++i)
            out[i] = static_cast<char>(out[i] ^ in[i]);
        bytes = QByteArray::fromRawData(damaged.constData(), damaged.size());
    }
    try {
        ReadArchiveRecords(bytes, bytes.size(), QStringLiteral("fuzz.asw"), records);
    } catch (const TarvoError &) {
        return 0;
    }
    CompleteArchive(records, 2000);
    AggregateArchive(records, Years(flags, 2.0));
    SmoothArchive(records, (flags & 2) ? NeighbourMeans(bytes, -8) : std::vector<double>{},
                  (flags & 4) ? NeighbourMeans(bytes, 0) : std::vector<double>{});
    for (const int year : {2004, 2049}) {
        TYearSummaries summaries;
        if (ReadYearSummaries(bytes, year, summaries))
            ReplaceYearSummaries(records, year, summaries);
    }
    return 0;
}
