// A full drawing pass of the graphic evaluation: 80 years, all 24 curves.
#include "evaluation/eval_geometry.h"
#include "evaluation/eval_painter.h"
#include "storage/archive.h"
#include "storage/storage_state.h"

#include <QDir>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr int kEndYear = 2005;
constexpr int kYears = 80;
const QSize kCurveBox(1570, 800);

void FillArchive() {
    for (int year = kEndYear - kYears - 1; year < kEndYear; ++year) {
        TYearSummaries s;
        LoadYearSummaries(year, s);
        for (int m = 0; m < 12; ++m) {
            const double t = year * 12 + m;
            for (const TCurveInfo &c : Curves())
                s[m].*(c.field) = (80 + 70 * std::sin(t / 132.0 * 6.283) + 20 * std::sin(t * 1.3)) / c.scale;
        }
        SaveYearSummaries(year, s);
    }
}

TEvalParams Params() {
    TEvalParams p;
    p.endYear = kEndYear;
    p.years = kYears;
    p.timeAxisWidth = kCurveBox.width() + 30;
    p.curveHeight = kCurveBox.height();
    p.todayYear = 2005;
    p.todayMonth = 6;
    return p;
}

TEvalPicture Picture(const TEvalGeometry &g) {
    TEvalPicture pic;
    pic.geometry = &g;
    pic.shown.fill(true);
    for (int c = 0; c < kCurveCount; ++c)
        pic.colours[c] = QColor::fromHsv(c * 15, 255, 200);
    pic.curveBox = kCurveBox;
    pic.font.setPixelSize(12);
    return pic;
}

// Archive reads, points, ticks and the painting of all three boxes.
void BM_FullDrawingPass(benchmark::State &state) {
    for (auto _ : state) {
        const TEvalGeometry g = ComputeEvaluation(Params(), ReadArchiveYear);
        const QImage image = RenderPicture(Picture(g));
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_FullDrawingPass)->Unit(benchmark::kMillisecond);

// The geometry alone (81 archive years).
void BM_Geometry(benchmark::State &state) {
    for (auto _ : state) {
        const TEvalGeometry g = ComputeEvaluation(Params(), ReadArchiveYear);
        benchmark::DoNotOptimize(g.points[0].constData());
    }
}
BENCHMARK(BM_Geometry)->Unit(benchmark::kMillisecond);

// A repaint of the curves from the stored points (no archive access).
void BM_RepaintOnly(benchmark::State &state) {
    const TEvalGeometry g = ComputeEvaluation(Params(), ReadArchiveYear);
    const TEvalPicture pic = Picture(g);
    for (auto _ : state) {
        const QImage image = RenderPicture(pic);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_RepaintOnly)->Unit(benchmark::kMillisecond);

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
