// Drawing speed of the main window's panes: the overview of long sounds at
// full-screen width (whole repaint into the off-screen image, as on screen)
// and the wave view of a framed stretch, stepping through sound lengths.
#include "ProgramFlags.h"
#include "QtCanvas.h"
#include "TonaroDoc.h"
#include "TonaroOverView.h"
#include "TonaroView.h"

#include <QApplication>
#include <QImage>
#include <QMouseEvent>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// A document holding nMinutes of a 16-bit 44.1 kHz tone with a slow swell.
std::unique_ptr<CTonaroDoc> MakeDocument(int nMinutes)
{
    auto doc = std::make_unique<CTonaroDoc>();
    doc->OnNewDocument();
    const int64_t n = static_cast<int64_t>(nMinutes) * 60 * 44100;
    std::vector<uint8_t> raw(static_cast<size_t>(n) * 2);
    for (int64_t i = 0; i < n; ++i) {
        const double v = 20000.0 * std::sin(i * 0.0627) * (0.5 + 0.5 * std::sin(i * 1e-5));
        const auto s = static_cast<uint16_t>(static_cast<int16_t>(v));
        raw[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(s & 0xFF);
        raw[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>(s >> 8);
    }
    doc->m_nBitsPerSample = 16;
    doc->m_dFullScale = 32767.0;
    doc->m_nSampleRate = 44100;
    doc->SetRawData(std::move(raw));
    g_bWaveLoaded = true;
    return doc;
}

void Press(QWidget* w, int x)
{
    QMouseEvent e(QEvent::MouseButtonPress, QPointF(x, 50), QPointF(x, 50), Qt::LeftButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void Move(QWidget* w, int x)
{
    QMouseEvent e(QEvent::MouseMove, QPointF(x, 50), QPointF(x, 50), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

void BM_OverviewRepaint(benchmark::State& state)
{
    const int nMinutes = static_cast<int>(state.range(0));
    const int nZoomPosition = static_cast<int>(state.range(1));
    auto doc = MakeDocument(nMinutes);
    CTonaroOverView view(doc.get(), nullptr);
    view.resize(1920, 200);
    view.SetHorizontalZoomPosition(nZoomPosition);
    QImage image(1920, 200, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::black);
        QtCanvas dc(image);
        view.Draw(dc);
        dc.Flush();
        benchmark::DoNotOptimize(image.constBits());
    }
    state.SetLabel(std::to_string(nMinutes) + " min, zoom " + std::to_string(2 * nZoomPosition + 1));
}
BENCHMARK(BM_OverviewRepaint)
    ->Args({1, 0})
    ->Args({10, 0})
    ->Args({60, 0})
    ->Args({60, 20})
    ->Unit(benchmark::kMillisecond);

void BM_WaveViewRepaint(benchmark::State& state)
{
    auto doc = MakeDocument(10);
    CTonaroView view(doc.get(), nullptr);
    view.resize(1920, 600);
    // Frame the given share (per mille) of the overview's 1900-pixel plot.
    view.SetZoomWindow({0, 0, static_cast<int>(1900 * state.range(0) / 1000), 0}, 1900);
    QImage image(1920, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::black);
        QtCanvas dc(image);
        view.Draw(dc);
        dc.Flush();
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_WaveViewRepaint)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A selection drag over the whole framed stretch: each mouse move repaints the
// window the way the screen does (cached waveform, band on top).
void BM_WaveViewDragRepaint(benchmark::State& state)
{
    auto doc = MakeDocument(10);
    CTonaroView view(doc.get(), nullptr);
    view.resize(1920, 600);
    view.SetZoomWindow({0, 0, 1900, 0}, 1900);
    QImage image(1920, 600, QImage::Format_RGB32);
    view.render(&image);
    Press(&view, 100);
    int x = 100;
    for (auto _ : state) {
        x = x >= 1800 ? 100 : x + 7;
        Move(&view, x);
        view.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_WaveViewDragRepaint)->Unit(benchmark::kMillisecond);

void BM_OverviewDragRepaint(benchmark::State& state)
{
    auto doc = MakeDocument(60);
    CTonaroOverView view(doc.get(), nullptr);
    view.resize(1920, 200);
    QImage image(1920, 200, QImage::Format_RGB32);
    view.viewport()->render(&image);
    Press(view.viewport(), 100);
    int x = 100;
    for (auto _ : state) {
        x = x >= 1800 ? 100 : x + 7;
        Move(view.viewport(), x);
        view.viewport()->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_OverviewDragRepaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
