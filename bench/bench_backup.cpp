// Backup of a program folder with 100 year files (two observers, 50 years
// each, every day observed), its check, and the floor: reading the same files.
#include "observed_year.h"
#include "backup/backup_reader.h"
#include "backup/backup_writer.h"
#include "storage/file_io.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>
#include <memory>

namespace {

struct HundredYears {
    QTemporaryDir home;
    QTemporaryDir out;
    QString zip;

    HundredYears() : zip(out.filePath(QStringLiteral("sicherung.zip"))) {
        QFile ini(home.filePath(QStringLiteral("tarvo.ini")));
        ini.open(QIODevice::WriteOnly);
        ini.write("[TARVO32]\r\nBeobachter=Muster\r\n[Beobachter]\r\nMuster=0001\\\r\nAnna=0002\\\r\n");
        ini.close();
        StorageStartUp(home.path());
        const std::unique_ptr<TYearBuffer> year = ObservedYear();
        for (const QString &dir : {QStringLiteral("0001/"), QStringLiteral("0002/")}) {
            QDir(home.path()).mkpath(dir);
            Storage().CurrentObserverDir = dir;
            for (int y = 1975; y < 2025; ++y)
                WriteYear(y, *year);
        }
    }
};

void BM_BackupHundredYearFiles(benchmark::State &state) {
    HundredYears fx;
    for (auto _ : state)
        benchmark::DoNotOptimize(WriteBackup(fx.zip, BackupScope::Current()));
    state.counters["zip_bytes"] = static_cast<double>(QFileInfo(fx.zip).size());
}

void BM_VerifyHundredYearFiles(benchmark::State &state) {
    HundredYears fx;
    WriteBackup(fx.zip, BackupScope::Current());
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadVerifiedBackup(fx.zip));
}

void BM_ReadHundredYearFiles(benchmark::State &state) {
    HundredYears fx;
    for (auto _ : state)
        for (const BackupSource &f : CollectInstallationFiles(BackupScope::Current()).files)
            benchmark::DoNotOptimize(ReadWholeFile(f.filePath));
}

} // namespace

BENCHMARK(BM_BackupHundredYearFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_VerifyHundredYearFiles)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadHundredYearFiles)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
