// Time of one full drawing of the FFT window at 1920 x 1080 into its off-screen
// image (what every live block or selection costs), for FFT sizes 1024, 32768
// and 524288, in the bar mode alone and with peaks and the Beta curve.
#include "FFTPlot.h"
#include "QtCanvas.h"
#include "TonaroDoc.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>

#include <cmath>
#include <random>

namespace {

// A chord (A3, C#4, E4 with overtones) plus a little noise, as 16-bit samples.
void FillChordSpectrum(CTonaroDoc& doc, int nFft)
{
    std::mt19937 gen(7u);
    std::normal_distribution<double> noise(0.0, 30.0);
    doc.m_aSignal.resize(static_cast<std::size_t>(nFft));
    const double pi = std::acos(-1.0);
    for (int i = 0; i < nFft; ++i) {
        double v = noise(gen);
        for (double f : {220.0, 277.18, 329.63})
            for (int h = 1; h <= 6; ++h)
                v += 3000.0 / h * std::sin(2 * pi * f * h * i / 44100.0);
        doc.m_aSignal[static_cast<std::size_t>(i)] = v;
    }
    doc.ComputeSpectrum(nFft);
}

void DrawBench(benchmark::State& state, bool bPeaks)
{
    const int nFft = static_cast<int>(state.range(0));
    CTonaroDoc doc;
    doc.OnNewDocument();
    doc.m_nSampleRate = 44100;
    doc.m_nBitsPerSample = 16;
    doc.m_dFullScale = 32767.0;
    FillChordSpectrum(doc, nFft);
    CFFTPlot plot;
    CFFTSettings& s = plot.Settings();
    s.m_bIsCrossVisible = bPeaks;
    s.m_bIsSpline = bPeaks;
    s.m_nSplineTyp = bPeaks ? 3 : 0;
    QImage image(1920, 1080, QImage::Format_RGB32);
    for (auto _ : state) {
        QtCanvas dc(image);
        plot.Draw(dc, doc);
        dc.Flush();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["points"] = static_cast<double>(plot.PlotPoints().size());
}

void BM_FftViewDrawBars(benchmark::State& state)
{
    DrawBench(state, false);
}

void BM_FftViewDrawPeaksBeta(benchmark::State& state)
{
    DrawBench(state, true);
}

} // namespace

BENCHMARK(BM_FftViewDrawBars)->Arg(1024)->Arg(32768)->Arg(524288)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FftViewDrawPeaksBeta)->Arg(1024)->Arg(32768)->Arg(524288)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
