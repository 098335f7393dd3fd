// Archive refresh against its floor (reading the 50 year files it must read).
#include "storage/archive.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstring>
#include <map>

namespace {

struct FiftyYears {
    QTemporaryDir dir;
    TYearBuffer year;

    FiftyYears() {
        StorageStartUp(dir.path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QDir(dir.path()).mkpath(QStringLiteral("0001"));
        std::memset(&year, 0, sizeof year);
        for (int m = 1; m <= 12; ++m)
            for (int d = 1; d <= 28; ++d) {
                TDayRecord &r = year.Day(m, d);
                std::memset(&r, 0xFF, sizeof r);
                r.Zeit.assign(QStringLiteral("10:00"));
                r.Re = static_cast<std::int16_t>(d * 3);
            }
        writeAll();
    }
    void writeAll() {
        for (int y = 2000; y < 2050; ++y)
            WriteYear(y, year);
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

} // namespace

BENCHMARK(BM_RefreshAllYearsChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadFiftyYearFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RefreshNothingChanged)->Unit(benchmark::kMillisecond);
// Prints the benchmarks as usual, then the refresh time as a multiple of the
// time it takes just to read the same 50 year files.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run> &runs) override {
        for (const Run &r : runs)
            times_[r.benchmark_name()] = r.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double read = times_["BM_ReadFiftyYearFiles"];
        if (read > 0)
            std::printf("refresh (all 50 years changed) / read 50 files: %.2f\n"
                        "refresh (nothing changed) / read 50 files: %.2f\n",
                        times_["BM_RefreshAllYearsChanged"] / read, times_["BM_RefreshNothingChanged"] / read);
    }

private:
    std::map<std::string, double> times_;
};

int main(int argc, char **argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
}
