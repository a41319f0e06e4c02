// Opening an MP3 file as the document's sound: decoding to the wave file,
// keeping the left channel of the stereo result and reading it, for 1 and 10
// minutes of 44.1 kHz stereo.  Reports the wall time as a share of the
// audio's duration and the peak resident memory of the load.  The MP3 files
// are made once by the program's own encoder and kept in the temporary folder.
#include "Mp3Converter.h"
#include "ProgramFlags.h"
#include "RiffWaveFile.h"
#include "TonaroDoc.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;   // Hz

QString BenchFolder()
{
    const QString folder = QDir::tempPath() + "/tonaro-bench";
    QDir().mkpath(folder);
    return folder;
}

// A stereo mix of three tones with a slow beat, written in pieces.
bool WriteSourceWave(const QString& path, int nMinutes)
{
    const WaveFormat format = WaveFormat::Pcm(2, kRate, 16);
    CRiffWaveFile file;
    if (Failed(file.Open(QFile::encodeName(path).toStdString(), &format, CRiffWaveFile::kModeWrite)))
        return false;
    const long nFrames = static_cast<long>(nMinutes) * 60 * kRate;
    std::vector<uint8_t> chunk;
    for (long i = 0; i < nFrames; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double beat = 0.6 + 0.4 * std::sin(2 * std::numbers::pi * 0.5 * t);
        const double l = beat * (std::sin(2 * std::numbers::pi * 220 * t) + 0.5 * std::sin(2 * std::numbers::pi * 1375 * t));
        const double r = beat * (std::sin(2 * std::numbers::pi * 330 * t) + 0.3 * std::sin(2 * std::numbers::pi * 4400 * t));
        for (const double v : {l, r}) {
            const auto s = static_cast<uint16_t>(static_cast<int16_t>(std::lround(9000.0 * v)));
            chunk.push_back(static_cast<uint8_t>(s & 0xFF));
            chunk.push_back(static_cast<uint8_t>(s >> 8));
        }
        if (chunk.size() >= 1 << 16 || i + 1 == nFrames) {
            file.Write(static_cast<uint32_t>(chunk.size()), chunk.data(), nullptr);
            chunk.clear();
        }
    }
    return Succeeded(file.Close());
}

QString Mp3Of(int nMinutes)
{
    const QString mp3 = BenchFolder() + QStringLiteral("/stereo-%1min.mp3").arg(nMinutes);
    if (QFileInfo::exists(mp3))
        return mp3;
    const QString wav = BenchFolder() + "/source.wav";
    if (!WriteSourceWave(wav, nMinutes))
        return {};
    CTonaroDoc doc;
    doc.OnNewDocument();
    const bool bOk = doc.ConvertWaveToMp3(mp3, wav) == 1;
    QFile::remove(wav);
    return bOk ? mp3 : QString();
}

// Resets the peak resident size of this process (Linux: clear_refs 5).
void ResetPeakMemory()
{
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Peak resident size in MiB since the last reset (VmHWM).
double PeakMemoryMiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0.0;
}

void BM_OpenMp3(benchmark::State& state)
{
    const int nMinutes = static_cast<int>(state.range(0));
    const QString mp3 = Mp3Of(nMinutes);
    if (mp3.isEmpty()) {
        state.SkipWithError("MP3 fixture could not be made");
        return;
    }
    qputenv("TONARO_HOME", BenchFolder().toUtf8());
    const QString converted = BenchFolder() + "/converted.wav";
    double dPeak = 0.0;
    double dSeconds = 0.0;
    for (auto _ : state) {
        ResetProgramFlags();
        CTonaroDoc doc;
        doc.OnNewDocument();
        ResetPeakMemory();
        const auto start = std::chrono::steady_clock::now();
        const bool bOk = doc.ConvertMp3ToWave(mp3, converted, false) == 1 &&
                         doc.ReadWave(converted) == CTonaroDoc::kReadOk;
        dSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        dPeak = std::max(dPeak, PeakMemoryMiB());
        if (!bOk || doc.NumSamples() < nMinutes * 60 * kRate - 1152) {
            state.SkipWithError("loading failed");
            return;
        }
        benchmark::DoNotOptimize(doc.m_pRawData.data());
        doc.RemoveWave();
    }
    const double dAudioSeconds = nMinutes * 60.0;
    state.counters["share_of_duration"] = dSeconds / static_cast<double>(state.iterations()) / dAudioSeconds;
    state.counters["peak_MiB"] = dPeak;
    state.counters["mono_data_MiB"] = dAudioSeconds * kRate * 2 / (1024.0 * 1024.0);
}

} // namespace

BENCHMARK(BM_OpenMp3)->Arg(1)->Arg(10)->Unit(benchmark::kMillisecond)->Iterations(2)->UseRealTime();

BENCHMARK_MAIN();
