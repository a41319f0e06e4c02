#include "TonaroAudio.h"

#include "DocView.h"
#include "ProgramFlags.h"
#include "ProgramPaths.h"
#include "SimulatedPlaySoundMaker.h"
#include "SoundDialogs.h"
#include "SoundFormats.h"
#include "TonaroDoc.h"
#include "UiServices.h"

#include <algorithm>

CTonaroAudio::CTonaroAudio(CTonaroDoc& doc, SoundSystem& system, CSoundDialogs& dialogs)
    : m_doc(doc), m_dialogs(dialogs), m_interfaces(system), m_timer(doc)
{
}

CTonaroAudio::~CTonaroAudio()
{
    m_timer.Stop();
    m_capture.Stop();
}

QString CTonaroAudio::RecordingPath() const
{
    return ProgramPaths::InProgramFolder(QStringLiteral("Aufnahme.wav"));
}

HResult CTonaroAudio::Create(const QString& strPath, std::unique_ptr<CPlaySound>& out)
{
    if (m_interfaces.m_pSoundManager)
        return m_interfaces.m_pSoundManager->Create(strPath, out);
    CSimulatedPlaySoundMaker silent;
    return silent.Create(strPath, out);
}

std::uint32_t CTonaroAudio::LeftMarkerBytes(bool bLowerToEven) const
{
    if (m_doc.m_nBitsPerSample == 8)
        return m_doc.m_nMarkerLeft;
    const std::uint32_t nLeft = bLowerToEven ? m_doc.m_nMarkerLeft - m_doc.m_nMarkerLeft % 2 : m_doc.m_nMarkerLeft;
    return 2 * nLeft;
}

void CTonaroAudio::OnPlay()
{
    if (g_bComputing || !m_doc.m_pPlaySound)
        return;
    const std::uint32_t nPos = m_doc.m_nPlayPos;
    const std::uint32_t nLeft = m_doc.m_nMarkerLeft;
    const std::uint32_t nRight = m_doc.m_nMarkerRight;
    if ((nPos > nRight && nRight != nLeft) || nLeft > nPos)
        m_doc.m_pPlaySound->SetPosition(LeftMarkerBytes(true));
    m_doc.m_nSpectrumPoints = 0;
    if (Failed(m_doc.m_pPlaySound->Play(g_bLoop))) {
        // Nothing sounds, so nothing claims to play.
        Ui().Message(QStringLiteral("Abspielen konnte nicht gestartet werden"));
        return;
    }
    g_bPlaying = true;
    g_bSelectionChanged = false;
    m_doc.UpdateAllViews(kHintPlayStarted);
    m_timer.Start();
}

void CTonaroAudio::OnStop()
{
    if (m_doc.m_pPlaySound && m_doc.m_pPlaySound->IsPlaying())
        m_doc.m_pPlaySound->Stop();
    g_bPlaying = false;
    m_timer.Stop();
    m_doc.UpdateAllViews(kHintRefresh);
}

void CTonaroAudio::OnRewind()
{
    if (m_doc.m_pPlaySound)
        m_doc.m_pPlaySound->Reset();
}

void CTonaroAudio::OnLoop()
{
    m_doc.OnLoop();
}

void CTonaroAudio::StopPlayback()
{
    if (m_doc.m_pPlaySound)
        m_doc.m_pPlaySound->Stop();
    g_bPlaying = false;
    m_timer.Stop();
}

bool CTonaroAudio::RestartPlayback()
{
    if (!m_doc.m_pPlaySound || Failed(m_doc.m_pPlaySound->Play(false)))
        return false;
    g_bPlaying = true;
    m_timer.Start();
    return true;
}

void CTonaroAudio::OnSelectionEnd()
{
    if (!g_bLoop) {
        OnStop();
        return;
    }
    if (m_doc.m_pPlaySound)
        m_doc.m_pPlaySound->SetPosition(LeftMarkerBytes(false));
}

void CTonaroAudio::StartRecording()
{
    g_bRecording = true;
    g_bSelectionChanged = false;
    m_doc.UpdateStatus();
}

void CTonaroAudio::StopRecording()
{
    // The thread reads the flag once per notification; nothing needs waiting for.
    g_bRecording = false;
    m_doc.UpdateStatus();
}

void CTonaroAudio::OnListen()
{
    if (g_bWaveLoaded) {
        // A playing sound is stopped before its playback object goes away.
        if (g_bPlaying)
            StopPlayback();
        m_doc.RemoveWave();
    }
    if (!g_bListening)
        StartListening();
    else
        StopListening();
    m_doc.UpdateAllViews(kHintRefresh);
}

void CTonaroAudio::StartListening()
{
    m_doc.m_nSpectrumPoints = 0;
    if (m_fnSchool && m_fnSchool()) {
        MakeFormat(kSchoolCaptureFormat, *m_doc.m_pCaptureFormat);
        m_doc.m_dFullScale = 32767.0;
        m_doc.m_bSigned = true;
        m_doc.m_nBitsPerSample = 16;
        m_doc.m_strChannels = QStringLiteral("Mono");
        m_doc.m_strFormatTag = QStringLiteral("PCM");
        m_doc.m_nSampleRate = static_cast<int>(m_doc.m_pCaptureFormat->samplesPerSec);
        m_doc.m_nFormatBits = m_doc.m_pCaptureFormat->bitsPerSample;
        m_doc.UpdateAllViews(kHintRefresh);
        m_doc.UpdateStatus();
    }
    // Recording is switched on once a format is settled, so a cancelled
    // format dialog leaves neither listening nor recording on.
    if (m_doc.m_pCaptureFormat->channels > 5 && OnWaveFormat() != 0)
        return;
    StartRecording();
    m_doc.WriteWaveParametersInVariables(*m_doc.m_pCaptureFormat);
    g_bListening = true;
    StartCaptureThread();
    m_doc.UpdateStatus();
}

void CTonaroAudio::StartCaptureThread()
{
    m_capture.StartCaptureThread(m_interfaces.m_pDirectSoundCapture, *m_doc.m_pCaptureFormat,
                                 m_doc.m_nNumFFTPoints, RecordingPath(), &m_receiver,
                                 [this](const std::vector<double>& block, const QString& strFile) {
                                     m_doc.OnCaptureBlock(block, strFile);
                                 });
}

void CTonaroAudio::StopListening()
{
    if (!g_bListening && !m_capture.IsRunning())
        return;
    StopRecording();
    g_bListening = false;
    m_capture.Stop();
    m_doc.ReadWave(RecordingPath());
    m_doc.UpdateStatus();
}

int CTonaroAudio::OnWaveFormat()
{
    if (g_bListening) {
        StopListening();
        m_doc.UpdateAllViews(kHintRefresh);
    }
    const auto abAvailable = m_interfaces.ScanAvailableInputFormats();
    QStringList aLines;
    std::vector<int> aIndices;
    WaveFormat format;
    for (int i = 0; i < kSoundFormatCount; ++i) {
        if (!abAvailable[static_cast<std::size_t>(i)])
            continue;
        MakeFormat(i, format);
        aLines << FormatLine(format);
        aIndices.push_back(i);
    }
    const int nLine = m_dialogs.WaveFormatDialog(aLines);
    if (nLine < 0 || nLine >= static_cast<int>(aIndices.size()))
        return 1;
    WaveFormat chosen;
    chosen.formatTag = WaveFormat::kTagPcm;
    MakeFormat(aIndices[static_cast<std::size_t>(nLine)], chosen);
    *m_doc.m_pCaptureFormat = chosen;
    return 0;
}

int CTonaroAudio::DeviceIdEntry(const std::string& strIdentifier)
{
    if (strIdentifier.empty())
        return -1;
    // A device listed before keeps its entry, so opening the dialog again does
    // not use up the table.
    const auto found = std::find(m_aDeviceIds.begin(), m_aDeviceIds.end(), strIdentifier);
    if (found != m_aDeviceIds.end())
        return static_cast<int>(found - m_aDeviceIds.begin());
    if (static_cast<int>(m_aDeviceIds.size()) >= kMaxDeviceIds)
        return -2;
    m_aDeviceIds.push_back(strIdentifier);
    return static_cast<int>(m_aDeviceIds.size()) - 1;
}

bool CTonaroAudio::OnSoundCard()
{
    std::vector<SoundDeviceEntry> aCaptureDevices, aPlaybackDevices;
    SoundSystem& system = m_interfaces.System();
    if (Failed(system.EnumerateCaptureDevices(aCaptureDevices)) ||
        Failed(system.EnumeratePlaybackDevices(aPlaybackDevices))) {
        Ui().MessageBox(QStringLiteral("Error scanning DirectSoundCapture devices. Sample will now exit."),
                        QStringLiteral("DirectSound Sample"), MsgIcon::Error, MsgButtons::Ok);
        return false;
    }
    // Each list item refers to a table entry, or to no entry for the default device.
    auto list = [this](const std::vector<SoundDeviceEntry>& aDevices, QStringList& aTexts, std::vector<int>& aEntries) {
        for (const SoundDeviceEntry& device : aDevices) {
            const int nEntry = DeviceIdEntry(device.m_strIdentifier);
            if (nEntry == -2)
                continue;
            aTexts << QString::fromStdString(device.m_strDescription);
            aEntries.push_back(nEntry);
        }
    };
    QStringList aCaptureTexts, aPlaybackTexts;
    std::vector<int> aCaptureEntries, aPlaybackEntries;
    list(aCaptureDevices, aCaptureTexts, aCaptureEntries);
    list(aPlaybackDevices, aPlaybackTexts, aPlaybackEntries);

    const SoundCardAnswer answer = m_dialogs.SoundCardDialog(aCaptureTexts, aPlaybackTexts);
    if (!answer.m_bOk)
        return false;
    auto identifier = [this](const std::vector<int>& aEntries, int nItem) {
        if (nItem < 0 || nItem >= static_cast<int>(aEntries.size()) || aEntries[static_cast<std::size_t>(nItem)] < 0)
            return std::string();
        return m_aDeviceIds[static_cast<std::size_t>(aEntries[static_cast<std::size_t>(nItem)])];
    };
    m_interfaces.m_strPlaybackGuid = identifier(aPlaybackEntries, answer.m_nPlayback);
    m_interfaces.m_strCaptureGuid = identifier(aCaptureEntries, answer.m_nCapture);
    if (answer.m_nPlayback >= 0 && answer.m_nPlayback < aPlaybackTexts.size())
        m_strPlaybackDevice = aPlaybackTexts[answer.m_nPlayback];
    if (answer.m_nCapture >= 0 && answer.m_nCapture < aCaptureTexts.size())
        m_strCaptureDevice = aCaptureTexts[answer.m_nCapture];
    m_doc.UpdateAllViews(kHintRefresh);
    // The capture thread uses the input being replaced: listening ends first.
    if (g_bListening) {
        StopListening();
        m_doc.UpdateAllViews(kHintRefresh);
    }
    if (m_interfaces.InitDirectSoundInterfaces() != 0) {
        Ui().Message(QStringLiteral("DirectSound Interfaceerzeugung mißlungen"));
        m_interfaces.ReleaseDirectSoundInterfaces();
        return false;
    }
    return true;
}
