// One hour of listening and recording on the simulated input with the clock
// run as fast as the threads allow: no block is lost while the GUI thread
// keeps up, memory stays flat, and the recording holds exactly what was
// captured.  Also reports how far behind the input the document's block is.
#include "AudioFixture.h"

#include "ProgramPaths.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <numbers>

namespace {

// Resident memory of the process in KiB.
long ResidentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long nPages = 0, nResident = 0;
    statm >> nPages >> nResident;
    return nResident * 4;
}

class CaptureSoakTest : public AudioTest {};

TEST_F(CaptureSoakTest, AnHourOfCaptureLosesNothingAndKeepsMemoryFlat)
{
    constexpr std::int64_t kPeriodMs = 64;                    // 1024 bytes at 8000 Hz, 16 bit
    // One hour (56250 notifications); TONARO_SOAK_SECONDS shortens or lengthens the run.
    const char* pSeconds = std::getenv("TONARO_SOAK_SECONDS");
    const std::int64_t kSteps = (pSeconds ? std::max(10, std::atoi(pSeconds)) : 3600) * 1000 / kPeriodMs;
    m_system.SetSignalSource([](double t) { return 0.3 * std::sin(2.0 * std::numbers::pi * 700.0 * t); });
    ChooseFormat(8000, 16);
    m_pDoc->m_nNumFFTPoints = 1024;

    // Latency: the sample count the document has seen against the clock.
    std::uint64_t nSamplesSeen = 0;
    double dLagPeriodsSum = 0.0, dLagPeriodsMax = 0.0;
    std::int64_t nLagCount = 0;
    m_view.onHint = [&](int nHint) {
        if (nHint != kHintRefresh || !g_bListening || m_pDoc->m_aSignal.size() < 2)
            return;
        nSamplesSeen += m_pDoc->m_aSignal.size();
        // Age of the block's first sample when its spectrum is in the document.
        const double dFirstSampleMs = static_cast<double>(nSamplesSeen - m_pDoc->m_aSignal.size()) / 8.0;
        const double dLag = (static_cast<double>(m_system.NowMs()) - dFirstSampleMs) / kPeriodMs;
        dLagPeriodsSum += dLag;
        dLagPeriodsMax = std::max(dLagPeriodsMax, dLag);
        ++nLagCount;
    };

    m_pAudio->OnListen();
    ASSERT_TRUE(g_bListening);
    ASSERT_TRUE(WaitUntilCapturing());
    const auto& stats = m_pAudio->Capture().Statistics();
    long nResidentAtStart = 0;
    for (std::int64_t i = 0; i < kSteps; ++i) {
        const auto nBefore = stats.nBlocksHandedOver.load();
        m_system.Advance(kPeriodMs);
        while (stats.nBlocksHandedOver.load() == nBefore)
            QCoreApplication::processEvents();
        if (i == kSteps / 10)
            nResidentAtStart = ResidentKiB();
    }
    const long nResidentAtEnd = ResidentKiB();
    m_view.onHint = nullptr;
    m_pAudio->Capture().Stop();   // ends the thread and closes the file without loading it
    g_bListening = false;
    g_bRecording = false;

    const std::uint64_t nCapturedBytes = static_cast<std::uint64_t>(kSteps) * 1024u;
    EXPECT_EQ(stats.nBlocksDropped.load(), 0u);
    EXPECT_EQ(stats.nBlocksHandedOver.load(), static_cast<std::uint64_t>(kSteps));
    EXPECT_EQ(stats.nSamplesInBlocks.load() * 2, nCapturedBytes);
    EXPECT_EQ(nSamplesSeen * 2, nCapturedBytes);
    EXPECT_EQ(stats.nBytesRecorded.load(), nCapturedBytes);
    EXPECT_LT(nResidentAtEnd - nResidentAtStart, 8 * 1024) << "KiB grown over the last 90 % of the run";

    CRiffWaveFile file;
    ASSERT_EQ(file.Open(QFile::encodeName(ProgramPaths::InProgramFolder("Aufnahme.wav")).toStdString(), nullptr,
                        CRiffWaveFile::kModeRead), S_OK);
    EXPECT_EQ(file.GetDataSize(), nCapturedBytes);
    EXPECT_EQ(file.GetDeclaredDataSize(), nCapturedBytes);
    file.Close();

    std::printf("[ soak     ] %lld blocks, %.1f MB recorded, %llu header updates, RSS %ld -> %ld KiB\n"
                "[ latency  ] first sample of a block to its spectrum in the document: mean %.2f, max %.2f "
                "notification periods (simulated clock)\n",
                static_cast<long long>(kSteps), static_cast<double>(nCapturedBytes) / 1e6,
                static_cast<unsigned long long>(stats.nFlushes.load()), nResidentAtStart, nResidentAtEnd,
                dLagPeriodsSum / static_cast<double>(std::max<std::int64_t>(1, nLagCount)), dLagPeriodsMax);
}

} // namespace
