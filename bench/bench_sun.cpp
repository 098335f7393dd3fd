// How many disk orientations (P, B0, L0) per second the ephemeris gives.
#include "solar/astro.h"
#include "solar/spot_position.h"
#include "solar/sun.h"

#include <benchmark/benchmark.h>

namespace {

void BM_SunOrientation(benchmark::State &state) {
    double jd = JulianDay(1992, 10, 13.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(SunOrientation(false, jd, 58.3));
        jd += 0.01;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SunOrientation);

void BM_CarringtonRotation(benchmark::State &state) {
    double jd = JulianDay(1992, 10, 13.0);
    for (auto _ : state) {
        benchmark::DoNotOptimize(CarringtonRotation(jd));
        jd += 0.01;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_CarringtonRotation);

// What one press of the compute button costs: Sun's values and the position.
void BM_SpotPosition(benchmark::State &state) {
    int minute = 0;
    for (auto _ : state) {
        const TSunValues sun = ComputeSunValues(1992, 10, 13, (minute++ % 1440) * 60);
        benchmark::DoNotOptimize(ComputeSpotPosition(sun.Radians, 50.0, 20.0, 100));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_SpotPosition);

} // namespace

BENCHMARK_MAIN();
