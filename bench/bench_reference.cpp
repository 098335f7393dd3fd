// The comparison with SILSO: importing SILSO's whole daily file (75,818
// lines) into the reference store, and the year view of a full year once the
// series are loaded - computed, laid out, painted, and in the window.
#include "plot/plot_writer.h"
#include "reference/comparison.h"
#include "reference/comparison_plot_ui.h"
#include "reference/comparison_table_ui.h"
#include "reference/reference_store.h"
#include "reference/silso_import.h"
#include "reference/vergleich_dlg.h"
#include "storage/ini_file.h"
#include "storage/profile.h"
#include "storage/storage_state.h"
#include "storage/year_file.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>
#include <cstring>
#include <memory>

namespace {

const QString kDaily = QStringLiteral(TARVO_BENCH_DATA "/silso/full_SN_d_tot_V2.0_to2025-07.csv");
const QString kHem = QStringLiteral(TARVO_BENCH_DATA "/silso/full_SN_m_hem_V2.0_to2025-04.csv");
constexpr int kYear = 2014;
// The figure of the year view in a maximised window on a 1280 x 1024 screen.
const QSize kFigure(1240, 560);

// Every day of the year observed: 70 % of SILSO's value, split over the hemispheres.
void WriteFullYear(const TSilsoDailySeries &silso) {
    auto year = std::make_unique<TYearBuffer>();
    std::memset(static_cast<void *>(year.get()), 0, sizeof(TYearBuffer));
    for (QDate d(kYear, 1, 1); d.year() == kYear; d = d.addDays(1)) {
        const int re = static_cast<int>(std::lround(0.7 * SilsoDailyValue(silso, d).value_or(0)));
        TDayRecord &r = year->Day(d.month(), d.day());
        std::memset(static_cast<void *>(&r), 0xFF, sizeof r);
        std::memset(r.Reserved1, 0, sizeof r.Reserved1);
        std::memset(r.Reserved2, 0, sizeof r.Reserved2);
        r.Bemerkung.assign(QString());
        r.z_f.assign(QString());
        r.Po.assign(QString());
        r.Fl = 0;
        r.Zeit.assign(QStringLiteral("10:00"));
        r.g = static_cast<std::int16_t>(re / 15);
        r.f = static_cast<std::int16_t>(re - 10 * r.g);
        r.Re = static_cast<std::int16_t>(re);
        r.g_n = static_cast<std::int16_t>(r.g / 2);
        r.f_n = static_cast<std::int16_t>(r.f / 2);
        r.g_s = static_cast<std::int16_t>(r.g - r.g_n);
        r.f_s = static_cast<std::int16_t>(r.f - r.f_n);
    }
    WriteYear(kYear, *year);
}

void BM_ImportFullDailyFileIntoEmptyStore(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        QFile::remove(SilsoDailyStorePath());
        state.ResumeTiming();
        benchmark::DoNotOptimize(ImportSilsoDaily(kDaily).values);
    }
}
BENCHMARK(BM_ImportFullDailyFileIntoEmptyStore)->Unit(benchmark::kMillisecond);

// The monthly update: the whole file again over a full store (every day replaced).
void BM_ImportFullDailyFileOverFullStore(benchmark::State &state) {
    ImportSilsoDaily(kDaily);
    for (auto _ : state)
        benchmark::DoNotOptimize(ImportSilsoDaily(kDaily).values);
}
BENCHMARK(BM_ImportFullDailyFileOverFullStore)->Unit(benchmark::kMillisecond);

// Loading both series, as the window does when it opens.
void BM_LoadStores(benchmark::State &state) {
    for (auto _ : state) {
        const TSilsoDailySeries silso = LoadSilsoDaily();
        const TSilsoHemSeries hem = LoadSilsoHem();
        benchmark::DoNotOptimize(silso.days.data());
        benchmark::DoNotOptimize(hem.months.data());
    }
}
BENCHMARK(BM_LoadStores)->Unit(benchmark::kMillisecond);

// The year view after the data is loaded: the year file read, the year
// compared, its plot laid out and its table texts made.
void BM_YearViewComputedAndLaidOut(benchmark::State &state) {
    const TSilsoDailySeries silso = LoadSilsoDaily();
    const TSilsoHemSeries hem = LoadSilsoHem();
    auto own = std::make_unique<TYearBuffer>();
    for (auto _ : state) {
        ReadYear(kYear, *own);
        const TYearComparison year = CompareYear(*own, kYear, silso, hem);
        const TPlotLayout layout =
            LayoutPlot(YearComparisonPlot(year, QStringLiteral("Erika Mustermann")), QSizeF(kFigure));
        const TComparisonTable table = YearTable(year, QLocale());
        benchmark::DoNotOptimize(layout.paths.constData());
        benchmark::DoNotOptimize(table.rows.constData());
    }
}
BENCHMARK(BM_YearViewComputedAndLaidOut)->Unit(benchmark::kMillisecond);

// The same, painted into an image of the figure's size.
void BM_YearViewPainted(benchmark::State &state) {
    const TSilsoDailySeries silso = LoadSilsoDaily();
    const TSilsoHemSeries hem = LoadSilsoHem();
    auto own = std::make_unique<TYearBuffer>();
    QImage image(kFigure, QImage::Format_RGB32);
    for (auto _ : state) {
        ReadYear(kYear, *own);
        const TPlot plot = YearComparisonPlot(CompareYear(*own, kYear, silso, hem), QString());
        QPainter painter(&image);
        PaintPlot(painter, plot, LayoutPlot(plot, QSizeF(kFigure)));
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_YearViewPainted)->Unit(benchmark::kMillisecond);

// The window's whole step on a new year: compare, fill the table, lay out and
// paint the figure (the series already loaded).
void BM_YearViewInTheWindow(benchmark::State &state) {
    TVergleichDlg dlg;
    TObserverProfile profile = EmptyProfile();
    LoadProgramSettings(profile);
    dlg.setProfile(profile);
    dlg.resize(1280, 1000);
    dlg.show();
    QApplication::processEvents();
    for (auto _ : state) {
        dlg.Draw();
        benchmark::DoNotOptimize(dlg.plot().series.constData());
    }
    dlg.reject();
}
BENCHMARK(BM_YearViewInTheWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir home;
    QDir(home.path()).mkpath(QStringLiteral("0001"));
    IniFile settings(home.filePath(QStringLiteral("tarvo.ini")));
    settings.writeString(QStringLiteral("TARVO32"), QStringLiteral("Beobachter"), QStringLiteral("Muster"));
    settings.writeString(QStringLiteral("TARVO32"), QStringLiteral("FileVersion"), QStringLiteral("99"));
    settings.writeString(QStringLiteral("Beobachter"), QStringLiteral("Muster"), QStringLiteral("0001/"));
    settings.save();
    StorageStartUp(home.path());
    TObserverProfile profile = EmptyProfile();
    LoadProgramSettings(profile);
    ImportSilsoDaily(kDaily);
    ImportSilsoHemispheric(kHem);
    WriteFullYear(LoadSilsoDaily());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
