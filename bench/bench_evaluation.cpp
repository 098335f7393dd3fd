// A full drawing pass of the graphic evaluation: 80 years, all 24 curves.
#include "evaluation/eval_plot.h"
#include "plot/plot_writer.h"
#include "storage/archive.h"
#include "storage/storage_state.h"

#include <QDir>
#include <QGuiApplication>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int kEndYear = 2005;
constexpr int kYears = 80;
// The figure box of a maximised window on a 1920 x 1080 screen.
const QSize kFigure(1900, 860);

// Every month observed, every series imported: all 24 curves are drawn.
void FillArchive() {
    for (int year = kEndYear - kYears - 1; year <= kEndYear; ++year) {
        TYearSummaries s;
        LoadYearSummaries(year, s);
        for (int m = 0; m < 12; ++m) {
            const double t = year * 12 + m;
            for (const TCurveInfo &c : Curves())
                s[m].*(c.field) = (80 + 70 * std::sin(t / 132.0 * 6.283) + 20 * std::sin(t * 1.3)) / c.scale;
            for (int i = 0; i < 23; ++i)
                s[m].Counts[i] = 20;
        }
        SaveYearSummaries(year, s);
    }
}

TEvalRange Range() {
    TEvalRange r;
    r.endYear = kEndYear;
    r.years = kYears;
    r.todayYear = 2005;
    r.todayMonth = 6;
    return r;
}

TEvalFigure Figure() {
    TEvalFigure f;
    f.shown.fill(true);
    for (int c = 0; c < kCurveCount; ++c)
        f.colours[c] = QColor::fromHsv(c * 15, 255, 200);
    f.observerName = QStringLiteral("Erika Mustermann");
    return f;
}

// Archive reads, the months drawn, the plot, its layout and the painting.
void BM_FullDrawingPass(benchmark::State &state) {
    for (auto _ : state) {
        const TEvalData data = ComputeEvalData(Range(), ReadArchiveYear);
        const QImage image = RenderPlotImage(EvaluationPlot(data, Figure()), kFigure);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullDrawingPass)->Unit(benchmark::kMillisecond);

// The values alone (82 archive years).
void BM_EvalData(benchmark::State &state) {
    for (auto _ : state) {
        const TEvalData data = ComputeEvalData(Range(), ReadArchiveYear);
        benchmark::DoNotOptimize(data.values[0].constData());
    }
}
BENCHMARK(BM_EvalData)->Unit(benchmark::kMillisecond);

// Plot and layout from the values (a curve switched on or off, a resize).
void BM_PlotAndLayout(benchmark::State &state) {
    const TEvalData data = ComputeEvalData(Range(), ReadArchiveYear);
    for (auto _ : state) {
        const TPlotLayout layout = LayoutPlot(EvaluationPlot(data, Figure()), QSizeF(kFigure));
        benchmark::DoNotOptimize(layout.paths.constData());
    }
}
BENCHMARK(BM_PlotAndLayout)->Unit(benchmark::kMillisecond);

// Painting the laid-out figure only.
void BM_PaintOnly(benchmark::State &state) {
    const TEvalData data = ComputeEvalData(Range(), ReadArchiveYear);
    const TPlot plot = EvaluationPlot(data, Figure());
    const TPlotLayout layout = LayoutPlot(plot, QSizeF(kFigure));
    QImage image(kFigure, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        PaintPlot(painter, plot, layout);
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_PaintOnly)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir home;
    StorageStartUp(home.path());
    Storage().CurrentObserverDir = QStringLiteral("0001/");
    QDir(home.path()).mkpath(QStringLiteral("0001"));
    FillArchive();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
