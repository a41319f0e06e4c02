// Cost of the box-assisted neighbour searches against a brute-force search over
// all points, per reference point, on the x series of the Hénon map.  The
// ratio brute / grid is the gain of the grids.
#include "ChaoticSeries.h"
#include "MaxLyapunov.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t kReferences = 1000;

std::vector<double> RescaledHenonX(std::size_t n)
{
    std::vector<double> out = HenonX(n);
    const auto [lo, hi] = std::minmax_element(out.begin(), out.end());
    const double l = *lo;
    const double r = *hi - *lo;
    for (double& v : out)
        v = (v - l) / r;
    return out;
}

// Maximal exponent: embedding dimension 2, delay 1, size 0.01 (the largest default size).
void BM_PairGrid(benchmark::State& state)
{
    const std::vector<double> x = RescaledHenonX(static_cast<std::size_t>(state.range(0)));
    auto engine = std::make_unique<MaxLyapunov>();
    const auto nPoints = static_cast<std::uint32_t>(x.size() - 51);
    engine->BuildPairGrid(x, nPoints, 1, 0.01);
    PairNeighbourList found;
    const std::uint32_t stride = nPoints / kReferences;
    for (auto _ : state)
        for (std::uint32_t a = 0; a < nPoints; a += stride) {
            engine->FindPairNeighbours(x, a, 2, 1, 0, 0.01, found);
            benchmark::DoNotOptimize(found.m_nCount);
        }
    state.SetItemsProcessed(state.iterations() * kReferences);
}

void BM_PairBrute(benchmark::State& state)
{
    const std::vector<double> x = RescaledHenonX(static_cast<std::size_t>(state.range(0)));
    const auto nPoints = static_cast<std::uint32_t>(x.size() - 51);
    const double e2 = 0.01 * 0.01;
    std::vector<std::int32_t> found;
    const std::uint32_t stride = nPoints / kReferences;
    for (auto _ : state)
        for (std::uint32_t a = 0; a < nPoints; a += stride) {
            found.clear();
            for (std::uint32_t b = 0; b < nPoints; ++b) {
                const double d0 = x[a] - x[b];
                const double d1 = x[a + 1] - x[b + 1];
                if (b != a && d0 * d0 + d1 * d1 <= e2)
                    found.push_back(static_cast<std::int32_t>(b));
            }
            benchmark::DoNotOptimize(found.size());
        }
    state.SetItemsProcessed(state.iterations() * kReferences);
}

// Spectrum: embedding dimension 3, delay 2 (the defaults), radius 0.02 (about the
// average radius that holds 30 neighbours).  The grid is built once; a run rebuilds it
// for every reference point, which the build benchmark below measures.
void BM_VectorGrid(benchmark::State& state)
{
    const std::vector<double> x = RescaledHenonX(static_cast<std::size_t>(state.range(0)));
    auto engine = std::make_unique<MaxLyapunov>();
    const auto end = static_cast<std::uint32_t>(x.size() - 2);
    engine->BuildVectorGrid(x, 4, end, 0.02);
    std::vector<std::int32_t> found;
    const std::uint32_t stride = (end - 4) / kReferences;
    for (auto _ : state)
        for (std::uint32_t a = 4; a < end; a += stride) {
            engine->FindVectorNeighbours(x, a, 3, 2, 0.02, found);
            benchmark::DoNotOptimize(found.size());
        }
    state.SetItemsProcessed(state.iterations() * kReferences);
}

void BM_VectorGridBuild(benchmark::State& state)
{
    const std::vector<double> x = RescaledHenonX(static_cast<std::size_t>(state.range(0)));
    auto engine = std::make_unique<MaxLyapunov>();
    const auto end = static_cast<std::uint32_t>(x.size() - 2);
    for (auto _ : state)
        engine->BuildVectorGrid(x, 4, end, 0.02);
}

void BM_VectorBrute(benchmark::State& state)
{
    const std::vector<double> x = RescaledHenonX(static_cast<std::size_t>(state.range(0)));
    const auto end = static_cast<std::uint32_t>(x.size() - 2);
    std::vector<std::int32_t> found;
    const std::uint32_t stride = (end - 4) / kReferences;
    for (auto _ : state)
        for (std::uint32_t a = 4; a < end; a += stride) {
            found.clear();
            for (std::uint32_t b = 4; b < end; ++b)
                if (std::fabs(x[a] - x[b]) <= 0.02 && std::fabs(x[a - 2] - x[b - 2]) <= 0.02
                    && std::fabs(x[a - 4] - x[b - 4]) <= 0.02)
                    found.push_back(static_cast<std::int32_t>(b));
            benchmark::DoNotOptimize(found.size());
        }
    state.SetItemsProcessed(state.iterations() * kReferences);
}

} // namespace

BENCHMARK(BM_PairGrid)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_PairBrute)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorGrid)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorGridBuild)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_VectorBrute)->Arg(20000)->Arg(100000)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
