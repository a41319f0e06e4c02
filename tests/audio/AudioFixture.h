// Fixture of the sound tests: a temporary program folder, scripted message
// boxes, the simulated sound system, a document with a view that records its
// hints, scripted sound dialogs and the program's sound object on top.
#pragma once

#include "DocView.h"
#include "ProgramFlags.h"
#include "RiffWaveFile.h"
#include "ScriptedUiServices.h"
#include "SimulatedSoundDevice.h"
#include "SoundDialogs.h"
#include "TempDir.h"
#include "TonaroAudio.h"
#include "TonaroDoc.h"

#include <QCoreApplication>
#include <QFile>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <thread>

struct ScriptedSoundDialogs : CSoundDialogs {
    std::deque<SoundCardAnswer> cardAnswers;   // empty: cancelled
    std::deque<int> formatAnswers;             // empty: cancelled
    std::vector<QStringList> formatLines;      // what each wave format dialog listed
    std::vector<std::pair<QStringList, QStringList>> cardLists;

    SoundCardAnswer SoundCardDialog(const QStringList& aCapture, const QStringList& aPlayback) override
    {
        cardLists.emplace_back(aCapture, aPlayback);
        if (cardAnswers.empty())
            return {};
        SoundCardAnswer a = cardAnswers.front();
        cardAnswers.pop_front();
        return a;
    }
    int WaveFormatDialog(const QStringList& aLines) override
    {
        formatLines.push_back(aLines);
        if (formatAnswers.empty())
            return -1;
        const int n = formatAnswers.front();
        formatAnswers.pop_front();
        return n;
    }
};

struct HintRecorder : CDocView {
    std::vector<int> hints;
    std::function<void(int)> onHint;
    void OnUpdate(int nHint) override
    {
        hints.push_back(nHint);
        if (onHint)
            onHint(nHint);
    }
    int Count(int nHint) const { return static_cast<int>(std::count(hints.begin(), hints.end(), nHint)); }
};

// Writes a mono PCM wave file of the given samples (8 bit: 0 .. 255, 16 bit signed).
inline void WriteWave(const QString& strPath, int nRate, int nBits, const std::vector<int>& aSamples)
{
    CRiffWaveFile file;
    const WaveFormat format = WaveFormat::Pcm(1, static_cast<std::uint32_t>(nRate), static_cast<std::uint16_t>(nBits));
    ASSERT_EQ(file.Open(QFile::encodeName(strPath).toStdString(), &format, CRiffWaveFile::kModeWrite), S_OK);
    std::vector<std::uint8_t> bytes;
    for (int s : aSamples) {
        if (nBits == 8) {
            bytes.push_back(static_cast<std::uint8_t>(s));
        } else {
            const auto v = static_cast<std::uint16_t>(static_cast<std::int16_t>(s));
            bytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
            bytes.push_back(static_cast<std::uint8_t>(v >> 8));
        }
    }
    std::uint32_t nWritten = 0;
    ASSERT_EQ(file.Write(static_cast<std::uint32_t>(bytes.size()), bytes.data(), &nWritten), S_OK);
    ASSERT_EQ(file.Close(), S_OK);
}

class AudioTest : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ResetProgramFlags();
        SetUiServices(&m_ui);
        m_pDoc = std::make_unique<CTonaroDoc>();
        m_pDoc->OnNewDocument();
        m_pDoc->AddView(&m_view);
        m_pAudio = std::make_unique<CTonaroAudio>(*m_pDoc, m_system, m_dialogs);
        m_pAudio->SetSchoolProfileQuery([this] { return m_bSchool; });
        m_pDoc->SetPlaySoundMaker(m_pAudio.get());
        m_pDoc->SetAudioControl(m_pAudio.get());
        ASSERT_EQ(m_pAudio->InitDirectSoundInterfaces(), 0);
    }
    void TearDown() override
    {
        if (m_pAudio)
            m_pAudio->Capture().Stop();
        if (m_pDoc) {
            m_pDoc->SetAudioControl(nullptr);
            m_pDoc->RemoveView(&m_view);
        }
        m_pDoc.reset();
        m_pAudio.reset();
        SetUiServices(nullptr);
        ResetProgramFlags();
        TempDirTest::TearDown();
    }

    // Advances the simulated clock in steps of nStepMs (at least one
    // notification period) and lets the GUI thread take the blocks the capture
    // thread sends, until nBlocks more arrived (false when they did not come
    // within a few seconds of real time).
    bool RunUntilBlocks(int nBlocks, std::int64_t nStepMs)
    {
        const auto& stats = m_pAudio->Capture().Statistics();
        const auto nTarget = stats.nBlocksHandedOver.load() + static_cast<std::uint64_t>(nBlocks);
        if (!WaitUntilCapturing())
            return false;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (stats.nBlocksHandedOver.load() < nTarget) {
            if (std::chrono::steady_clock::now() > deadline)
                return false;
            const auto nBefore = stats.nBlocksHandedOver.load();
            m_system.Advance(nStepMs);
            Pump([&] { return stats.nBlocksHandedOver.load() > nBefore; });
        }
        return true;
    }
    // Waits until the capture thread's ring runs, so the clock's next steps reach it.
    bool WaitUntilCapturing()
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!m_pAudio->Capture().IsCapturing())
            if (std::chrono::steady_clock::now() > until)
                return false;
        return true;
    }
    // Processes queued calls until done() or 200 ms pass.
    static void Pump(const std::function<bool()>& done)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(200);
        while (std::chrono::steady_clock::now() < until) {
            QCoreApplication::processEvents();
            if (done())
                return;
            std::this_thread::sleep_for(std::chrono::microseconds(100));
        }
    }

    // Loads a wave file as the current sound.
    void Load(int nRate, int nBits, const std::vector<int>& aSamples)
    {
        const QString path = QPathOf(QStringLiteral("klang.wav"));
        WriteWave(path, nRate, nBits, aSamples);
        ASSERT_EQ(m_pDoc->ReadWave(path), CTonaroDoc::kReadOk);
        ASSERT_TRUE(g_bWaveLoaded);
    }

    // Sets a 16-bit format without the dialog (channels 1).
    void ChooseFormat(int nRate, int nBits)
    {
        *m_pDoc->m_pCaptureFormat = WaveFormat::Pcm(1, static_cast<std::uint32_t>(nRate), static_cast<std::uint16_t>(nBits));
    }

    ScriptedUiServices m_ui;
    SimulatedSoundSystem m_system;
    ScriptedSoundDialogs m_dialogs;
    HintRecorder m_view;
    std::unique_ptr<CTonaroDoc> m_pDoc;
    std::unique_ptr<CTonaroAudio> m_pAudio;
    bool m_bSchool = false;
};
