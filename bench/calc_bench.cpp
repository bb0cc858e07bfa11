// The calculation alone, on the in-memory controls (with their drawing on the
// shared pixel buffer), and the buffer's circles by radius.

#include "app/trivyrhnik.h"
#include "ui/memory/memory_controls.h"
#include "ui/raster/canvas.h"

#include <cmath>

#include <benchmark/benchmark.h>

namespace {

void runs(benchmark::State& state, std::initializer_list<std::pair<float, float>> points)
{
    ui::memory::MemoryForm form;
    app::Trivyrhnik window(form, {"."});
    window.Form_Load();
    for (auto [x, y] : points)
        form.Picture1().pressMouse(x, y);
    for (auto _ : state) {
        window.Command1_Click(0);
        benchmark::DoNotOptimize(form.Text1(0).text().size());
        form.Picture1().forgetCalls();
    }
    state.counters["runs/s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_ProperTriangle(benchmark::State& state) { runs(state, {{70, 180}, {250, 170}, {120, 60}}); }
void BM_CollinearPoints(benchmark::State& state) { runs(state, {{10, 10}, {20, 20}, {30, 30}}); }
// Radius about 16,400: the circle and the segments to its far centre.
void BM_NearlyCollinear(benchmark::State& state) { runs(state, {{20, 40}, {320, 200}, {170, 121}}); }

// A dotted one-pixel circle of radius 10^arg that runs through the middle of
// the 335 x 229 surface, at scale 1 and 2.
void BM_CircleRadius(benchmark::State& state)
{
    const double radius = std::pow(10.0, static_cast<double>(state.range(0)));
    const auto scale = static_cast<double>(state.range(1));
    ui::raster::Canvas canvas(335, 229, scale);
    for (auto _ : state) {
        canvas.circle(167 - radius * 0.6, 114 - radius * 0.8, radius, 1, ui::Dot, ui::rgb(0, 0, 0));
        benchmark::DoNotOptimize(canvas.pixels().data());
    }
    state.SetLabel("radius 1e" + std::to_string(state.range(0)) + ", scale " + std::to_string(state.range(1)));
}

BENCHMARK(BM_ProperTriangle);
BENCHMARK(BM_CollinearPoints);
BENCHMARK(BM_NearlyCollinear);
BENCHMARK(BM_CircleRadius)->ArgsProduct({{2, 4, 6, 9}, {1, 2}})->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
