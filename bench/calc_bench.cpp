// The calculation alone, on the in-memory controls.

#include "app/trivyrhnik.h"
#include "ui/memory/memory_controls.h"

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

BENCHMARK(BM_ProperTriangle);
BENCHMARK(BM_CollinearPoints);

} // namespace

BENCHMARK_MAIN();
