// Archive refresh against its floor (reading the 50 year files it must read).
#include "observed_year.h"
#include "storage/archive.h"
#include "storage/file_io.h"
#include "storage/folder_lock.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>

namespace {

struct FiftyYears {
    QTemporaryDir dir;
    std::unique_ptr<TYearBuffer> year = ObservedYear();

    FiftyYears() {
        StorageStartUp(dir.path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QDir(dir.path()).mkpath(QStringLiteral("0001"));
        writeAll();
    }
    void writeAll() {
        for (int y = 2000; y < 2050; ++y)
            WriteYear(y, *year);
    }
};

void BM_RefreshAllYearsChanged(benchmark::State &state) {
    FiftyYears fx;
    for (auto _ : state) {
        state.PauseTiming();
        fx.writeAll(); // new stamps on all 50 year files
        state.ResumeTiming();
        RefreshArchive(ArchiveFileName(2000));
    }
}

void BM_ReadFiftyYearFiles(benchmark::State &state) {
    FiftyYears fx;
    TYearBuffer buffer;
    for (auto _ : state)
        for (int y = 2000; y < 2050; ++y)
            benchmark::DoNotOptimize(ReadYear(y, buffer));
}

void BM_RefreshNothingChanged(benchmark::State &state) {
    FiftyYears fx;
    RefreshArchive(ArchiveFileName(2000));
    for (auto _ : state)
        RefreshArchive(ArchiveFileName(2000));
}

// The two disk syncs every writing refresh pays, whatever it aggregates: the
// folder lock (its lock file is synced) and the synced atomic write of the
// archive.
void BM_FolderLockOnly(benchmark::State &state) {
    FiftyYears fx;
    for (auto _ : state) {
        const FolderLock lock = LockObserverFolder();
        benchmark::DoNotOptimize(&lock);
    }
}

void BM_WriteArchiveOnly(benchmark::State &state) {
    FiftyYears fx;
    RefreshArchive(ArchiveFileName(2000));
    const QString path = Storage().DataPath + ArchiveFileName(2000);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        state.SkipWithError("no archive");
    const QByteArray bytes = file.readAll();
    for (auto _ : state)
        WriteFileAtomically(path, bytes);
}

} // namespace

BENCHMARK(BM_RefreshAllYearsChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFiftyYearFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshNothingChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FolderLockOnly)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteArchiveOnly)->Unit(benchmark::kMillisecond);
// Prints the benchmarks as usual, then the refresh time as a multiple of the
// time it takes just to read the same 50 year files: from the means when the
// benchmarks ran with --benchmark_repetitions (also with
// --benchmark_report_aggregates_only), else from the single runs.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs) {
            const std::string name = r.run_name.function_name;
            if (r.run_type == Run::RT_Aggregate) {
                if (r.aggregate_name == "mean")
                    means_[name] = r.GetAdjustedRealTime();
            } else {
                Sum &sum = runs_[name];
                sum.total += r.GetAdjustedRealTime();
                ++sum.count;
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double read = time("BM_ReadFiftyYearFiles");
        if (read > 0)
            std::printf("refresh (all 50 years changed) / read 50 files: %.2f\n"
                        "refresh (nothing changed) / read 50 files: %.2f\n",
                        time("BM_RefreshAllYearsChanged") / read, time("BM_RefreshNothingChanged") / read);
        const double syncs = time("BM_FolderLockOnly") + time("BM_WriteArchiveOnly");
        if (read > 0 && syncs > 0)
            std::printf("refresh (all 50 years changed) without lock and write / read 50 files: %.2f\n",
                        (time("BM_RefreshAllYearsChanged") - syncs) / read);
    }

private:
    struct Sum {
        double total = 0;
        int count = 0;
    };
    double time(const std::string &name) const {
        if (const auto mean = means_.find(name); mean != means_.end())
            return mean->second;
        const auto sum = runs_.find(name);
        return sum == runs_.end() || sum->second.count == 0 ? 0.0 : sum->second.total / sum->second.count;
    }
    std::map<std::string, double> means_;
    std::map<std::string, Sum> runs_;
};

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
