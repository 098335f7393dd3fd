// Reads that stop at what the format needs: a year file of a gigabyte (sparse,
// as a damaged or hostile file may be) against a year file of its own size,
// and a damaged gigabyte archive; and what a folder lock costs a write.
#include "storage/archive.h"
#include "storage/folder_lock.h"
#include "storage/storage_state.h"
#include "storage/tarvo_error.h"
#include "storage/year_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <sys/resource.h>

namespace {

constexpr qint64 kGigabyte = qint64(1) << 30;

struct Observer {
    QTemporaryDir dir;
    Observer() {
        StorageStartUp(dir.path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QDir(dir.path()).mkpath(QStringLiteral("0001"));
        TYearBuffer year;
        std::memset(&year, 0, sizeof year);
        year.Day(3, 1).Zeit.assign(QStringLiteral("10:00"));
        WriteYear(2004, year);
    }
    QString file(const char *name) const {
        return dir.path() + QStringLiteral("/0001/") + QLatin1String(name);
    }
};

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

void BM_ReadYearFile(benchmark::State &state) {
    Observer fx;
    TYearBuffer buffer;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadYear(2004, buffer));
}

void BM_ReadSparseGigabyteYearFile(benchmark::State &state) {
    Observer fx;
    QFile(fx.file("SO2004.DAT")).resize(kGigabyte);
    TYearBuffer buffer;
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadYear(2004, buffer));
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_RefuseSparseGigabyteArchive(benchmark::State &state) {
    Observer fx;
    QFile archive(fx.file("20002049.asw"));
    archive.open(QIODevice::WriteOnly);
    archive.resize(kGigabyte); // no whole number of records
    archive.close();
    for (auto _ : state) {
        Storage().ArchiveNameCache.clear();
        try {
            TYearSummaries summaries;
            LoadYearSummaries(2004, summaries);
            state.SkipWithError("a damaged archive was read");
        } catch (const TarvoError &) {
        }
    }
    state.counters["peak_MB"] = PeakMegabytes();
}

void BM_FolderLock(benchmark::State &state) {
    Observer fx;
    for (auto _ : state) {
        const FolderLock lock = LockObserverFolder();
        benchmark::ClobberMemory();
    }
}

} // namespace

BENCHMARK(BM_ReadYearFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ReadSparseGigabyteYearFile)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_RefuseSparseGigabyteArchive)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FolderLock)->Unit(benchmark::kMicrosecond);
BENCHMARK_MAIN();
