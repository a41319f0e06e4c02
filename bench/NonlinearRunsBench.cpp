// Wall time and peak memory of the three nonlinear analyses with their default
// parameters on the x series of the Hénon map (20000 and 100000 points).
// Peak memory: the resident high-water mark is reset before each run and read
// after it (counters peak_MB, and base_MB for the resident size before the run).
#include "ChaoticSeries.h"
#include "MaxLyapunov.h"
#include "ProgramFlags.h"

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

// Value of a "Vm...: <n> kB" line of /proc/self/status, in MB.
double StatusMB(const std::string& key)
{
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key + ":", 0) == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return 0.0;
}

void ResetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

template <class Params, class Run>
void RunBench(benchmark::State& state, const Params& params, Run run)
{
    const std::vector<double> series = HenonX(static_cast<std::size_t>(state.range(0)));
    double peak = 0.0;
    double base = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        std::vector<double> x = series;
        base = StatusMB("VmRSS");
        ResetPeak();
        state.ResumeTiming();
        auto engine = MaxLyapunov::Create([](const std::string&) {});
        engine->SetUp(params);
        benchmark::DoNotOptimize(run(*engine, x));
        engine.reset();
        state.PauseTiming();
        peak = StatusMB("VmHWM");
        g_bAbort = false;
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
    state.counters["base_MB"] = base;
}

void BM_Spectrum(benchmark::State& state)
{
    RunBench(state, SpectrumParams{}, [](MaxLyapunov& e, std::vector<double>& x) { return e.RunSpectrum(nullptr, x).m_nRowsDone; });
}

void BM_MaxExponent(benchmark::State& state)
{
    RunBench(state, MaxExponentParams{}, [](MaxLyapunov& e, std::vector<double>& x) { return e.RunMaxExponent(nullptr, x).m_nSizesDone; });
}

void BM_CorrelationDimension(benchmark::State& state)
{
    RunBench(state, CorrDimParams{}, [](MaxLyapunov& e, std::vector<double>& x) { return e.RunCorrelationDimension(nullptr, x).m_nRadii; });
}

} // namespace

BENCHMARK(BM_Spectrum)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_MaxExponent)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_CorrelationDimension)->Arg(20000)->Arg(100000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

BENCHMARK_MAIN();
