// Time of one real FFT of 2^10 .. 2^19 points: RealFft forward + rescale, the whole magnitude
// spectrum (engine construction included), and FFTW's real-to-complex transform as a yardstick,
// planned with FFTW_ESTIMATE and with FFTW_MEASURE outside the timed loop.
#include "RealFft.h"
#include "Spectrum.h"

#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <random>
#include <vector>

namespace {

std::vector<double> NoiseBlock(int n)
{
    std::mt19937 gen(1234u);
    std::uniform_real_distribution<double> dist(-32768.0, 32767.0);
    std::vector<double> a(static_cast<size_t>(n));
    for (double& v : a)
        v = dist(gen);
    return a;
}

void BM_RealFftForwardRescale(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> x = NoiseBlock(n);
    std::vector<double> f(static_cast<size_t>(n));
    RealFft fft(n);
    for (auto _ : state) {
        fft.forward(f.data(), x.data());
        fft.rescale(f.data());
        benchmark::DoNotOptimize(f.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_MagnitudeSpectrum(benchmark::State& state)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> x = NoiseBlock(n);
    std::vector<double> spectrum;
    for (auto _ : state) {
        ComputeMagnitudeSpectrum(x, n, spectrum);
        benchmark::DoNotOptimize(spectrum.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void FftwRealToComplex(benchmark::State& state, unsigned nFlags)
{
    const int n = static_cast<int>(state.range(0));
    const std::vector<double> aNoise = NoiseBlock(n);
    double* pIn = fftw_alloc_real(static_cast<size_t>(n));
    fftw_complex* pOut = fftw_alloc_complex(static_cast<size_t>(n / 2 + 1));
    // Planning with FFTW_MEASURE overwrites the input, so the data go in after the plan.
    fftw_plan plan = fftw_plan_dft_r2c_1d(n, pIn, pOut, nFlags);
    for (int i = 0; i < n; ++i)
        pIn[i] = aNoise[static_cast<size_t>(i)];
    for (auto _ : state) {
        fftw_execute(plan);
        benchmark::DoNotOptimize(pOut);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * n);
    fftw_destroy_plan(plan);
    fftw_free(pOut);
    fftw_free(pIn);
}

void BM_FftwEstimate(benchmark::State& state)
{
    FftwRealToComplex(state, FFTW_ESTIMATE);
}

void BM_FftwMeasure(benchmark::State& state)
{
    FftwRealToComplex(state, FFTW_MEASURE);
}

} // namespace

BENCHMARK(BM_RealFftForwardRescale)->RangeMultiplier(2)->Range(1 << 10, 1 << 19);
BENCHMARK(BM_MagnitudeSpectrum)->RangeMultiplier(2)->Range(1 << 10, 1 << 19);
BENCHMARK(BM_FftwEstimate)->RangeMultiplier(2)->Range(1 << 10, 1 << 19);
BENCHMARK(BM_FftwMeasure)->RangeMultiplier(2)->Range(1 << 10, 1 << 19);

BENCHMARK_MAIN();
