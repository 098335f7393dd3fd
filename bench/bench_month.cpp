// Opening the month table on a full year and switching through its months.
#include "grid/string_align_grid_widget.h"
#include "month/sonmonat_dlg.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSpinBox>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstring>

namespace {

void WriteFullYear(int year) {
    TYearBuffer buffer{};
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            TDayRecord &r = buffer.Day(m, d);
            std::memset(&r, 0, sizeof r);
            r.Zeit.assign(QStringLiteral("10:%1").arg(d, 2, 10, QLatin1Char('0')));
            r.Bemerkung.assign(QStringLiteral("Tag %1").arg(d));
            r.Ruhe = r.Schaerfe = r.Qualitaet = static_cast<std::int16_t>(1 + d % 5);
            r.g_n = r.g_s = static_cast<std::int16_t>(d % 4);
            r.f_n = r.f_s = static_cast<std::int16_t>(d % 9);
            r.g = static_cast<std::int16_t>(r.g_n + r.g_s);
            r.f = static_cast<std::int16_t>(r.f_n + r.f_s);
            r.Re = static_cast<std::int16_t>(10 * r.g + r.f);
            r.Rs = 3 * d;
            r.p = r.s = r.SN = r.CV = static_cast<std::int16_t>(d);
            r.A = r.Ab = static_cast<std::int8_t>(d % 3);
            r.Fo = r.Fm = r.FEF = r.FEP = r.pfn = r.pfs = static_cast<std::int16_t>(d % 6);
        }
    }
    WriteYear(year, buffer);
}

struct Setup {
    QTemporaryDir dir;
    Setup() {
        StorageStartUp(dir.path());
        Storage().CurrentObserverDir = QStringLiteral("0001/");
        QDir(dir.path()).mkpath(QStringLiteral("0001"));
        WriteFullYear(2004);
    }
};

void BM_OpenMonthTable(benchmark::State &state) {
    Setup setup;
    TSonMonatDlg dlg;
    dlg.setOpeningDate(QDate(2004, 6, 15));
    for (auto _ : state) {
        dlg.show();
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(dlg.totals().Sums[9]);
        state.PauseTiming();
        dlg.close();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenMonthTable)->Unit(benchmark::kMillisecond);

// The month table shown on January 2004. A switch counts with what the user
// waits for: the table filled and repainted, so the grid's viewport is
// repainted at once after every switch.
struct ShownTable {
    Setup setup;
    TSonMonatDlg dlg;
    QSpinBox *month = nullptr;

    ShownTable() {
        dlg.setOpeningDate(QDate(2004, 1, 1));
        dlg.show();
        QCoreApplication::processEvents();
        month = dlg.findChild<QSpinBox *>("SEMonat");
    }
    ~ShownTable() { dlg.close(); }
    void switchTo(int value) {
        month->setValue(value);
        dlg.grid()->viewport()->repaint();
    }
};

void BM_SwitchTwelveMonths(benchmark::State &state) {
    ShownTable table;
    for (auto _ : state) {
        for (int m = 2; m <= 12; ++m)
            table.switchTo(m);
        table.switchTo(1);
        benchmark::DoNotOptimize(table.dlg.grid()->cellText(34, 12));
    }
    state.counters["switches"] = benchmark::Counter(12, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_SwitchTwelveMonths)->Unit(benchmark::kMillisecond);

// One switch with its repaint, alone.
void BM_SwitchMonth(benchmark::State &state) {
    ShownTable table;
    int next = 2;
    for (auto _ : state) {
        table.switchTo(next);
        next = next % 12 + 1;
    }
}
BENCHMARK(BM_SwitchMonth)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    // A 1024x768 offscreen screen: the table opens without the small-screen notice.
    QTemporaryDir screenDir;
    QFile screen(screenDir.filePath(QStringLiteral("screen.json")));
    if (screen.open(QIODevice::WriteOnly))
        screen.write(R"({"screens":[{"name":"S","x":0,"y":0,"width":1024,"height":768,)"
                     R"("logicalDpi":96,"logicalBaseDpi":96,"dpr":1}]})");
    screen.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(screen.fileName()));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
