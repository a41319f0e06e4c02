#include "TonaroDoc.h"

#include "AudioControl.h"
#include "DocumentHost.h"
#include "ProgramFlags.h"
#include "RiffWaveFile.h"
#include "Spectrum.h"
#include "UiServices.h"

#include <algorithm>

namespace {

constexpr int kDefaultFFTPoints = 1024;
constexpr int kSmallestFFTPoints = 256;
constexpr int kFftSizeChoices = 12;       // 256 .. 524288
constexpr int kSchoolNoteImagePoints = 32768;

// The colours of the FFT window's bars: six blocks of 256 running from red
// through yellow, green, cyan, blue and magenta to white.
std::vector<uint32_t> MakeBarPalette()
{
    auto rgb = [](int r, int g, int b) {
        return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) |
               (static_cast<uint32_t>(b) << 16);
    };
    std::vector<uint32_t> palette;
    palette.reserve(1536);
    for (int i = 0; i < 256; ++i) palette.push_back(rgb(255, i, 0));
    for (int i = 0; i < 256; ++i) palette.push_back(rgb(255 - i, 255, 0));
    for (int i = 0; i < 256; ++i) palette.push_back(rgb(0, 255, i));
    for (int i = 0; i < 256; ++i) palette.push_back(rgb(0, 255 - i, 255));
    for (int i = 0; i < 256; ++i) palette.push_back(rgb(i, 0, 255));
    for (int i = 0; i < 256; ++i) palette.push_back(rgb(255, i, 255));
    return palette;
}

} // namespace

CTonaroDoc::CTonaroDoc(CDocumentHost* pHost) : m_pHost(pHost)
{
    ResetResultArrays();
    m_pCaptureFormat = std::make_unique<WaveFormat>();
    m_pCaptureFormat->formatTag = 1;
    m_pCaptureFormat->channels = 6;
}

CTonaroDoc::~CTonaroDoc()
{
    if (m_pHost) {
        // A setting of 0 means that no profile was read; it stays 0 so that
        // no last-used profile is written at exit.
        if (m_pHost->NumFFTPointsSetting() != 0)
            m_pHost->SetNumFFTPointsSetting(m_nNumFFTPoints);
        m_pHost->SetPlayFileSetting(m_strFileName);
    }
    if (g_bWaveLoaded)
        RemoveWave();
    if (g_bListening && m_pAudio)
        m_pAudio->StopListening();
    DeleteContents();
}

bool CTonaroDoc::OnNewDocument()
{
    Initialise();
    return true;
}

void CTonaroDoc::Initialise()
{
    m_nMarkerLeft = m_nMarkerRight = 0;
    m_bClose3DRequest = false;
    m_palette = MakeBarPalette();
    m_nRawSize = 0;
    m_nPlayDataSize = 0;
    m_pPlaySound.reset();
    ResetResultArrays();
    m_nNumFFTPoints = SettingNumFFTPoints();
    if (m_pHost)
        m_strFileName = m_pHost->PlayFileSetting().isEmpty() ? kNoFile : m_pHost->PlayFileSetting();
    m_dFullScale = 0.0;
    m_nBitsPerSample = 16;
    m_pCaptureFormat = std::make_unique<WaveFormat>();
    m_pCaptureFormat->formatTag = 1;
    m_pCaptureFormat->channels = 6;
    m_pFFTFrame = m_pFFT3DFrame = m_pSonoFrame = m_pNotenbildFrame = nullptr;
    m_pRekoFrame = m_pZeitreiheFrame = m_pAnalyseFrame = m_pWaveletFrame = nullptr;
    m_nFormatBits = 0;
    m_strChannels.clear();
    m_strFormatTag.clear();
    m_nSampleRate = 0;
    m_strRecordFile = kNoFile;
    m_pWaveFile.reset();
    m_nSpectrumPoints = 0;
    UpdateStatus();
    m_bStereo = false;
    m_nChannelChoice = 1;
    m_nAutocorrMinIndex = 0;
    m_pRawData.clear();
}

void CTonaroDoc::ResetResultArrays()
{
    m_aWavelet.assign(1, 0.0f);
    m_aSignal.assign(1, 0.0);
    m_aSpectrum.assign(1, 0.0);
    for (auto& level : m_aAutocorr)
        level.assign(1, 0.0);
}

void CTonaroDoc::DeleteContents()
{
    ResetResultArrays();
}

int CTonaroDoc::SettingNumFFTPoints() const
{
    const int n = m_pHost ? m_pHost->NumFFTPointsSetting() : kDefaultFFTPoints;
    // A profile may hold anything; the spectra need one of the offered powers of two.
    for (int i = 0, size = kSmallestFFTPoints; i < kFftSizeChoices; ++i, size *= 2)
        if (n == size)
            return n;
    return kDefaultFFTPoints;
}

void CTonaroDoc::AddView(CDocView* pView)
{
    if (pView && std::find(m_views.begin(), m_views.end(), pView) == m_views.end())
        m_views.push_back(pView);
}

void CTonaroDoc::RemoveView(CDocView* pView)
{
    m_views.erase(std::remove(m_views.begin(), m_views.end(), pView), m_views.end());
}

void CTonaroDoc::UpdateAllViews(int nHint)
{
    // A view may close itself (and unregister) while it handles a hint.
    const std::vector<CDocView*> views = m_views;
    for (CDocView* pView : views)
        if (std::find(m_views.begin(), m_views.end(), pView) != m_views.end())
            pView->OnUpdate(nHint);
}

void CTonaroDoc::SetMarkers(uint32_t nLeft, uint32_t nRight)
{
    if (nLeft != kKeepMarker)
        m_nMarkerLeft = nLeft;
    if (nRight != kKeepMarker)
        m_nMarkerRight = nRight;
}

int CTonaroDoc::NumSamples() const
{
    return m_nBitsPerSample == 8 ? m_nRawSize : m_nRawSize / 2;
}

double CTonaroDoc::SampleAt(int nIndex) const
{
    if (m_nBitsPerSample == 8)
        return static_cast<double>(m_pRawData[static_cast<size_t>(nIndex)]);
    const size_t at = 2 * static_cast<size_t>(nIndex);
    const auto value = static_cast<int16_t>(static_cast<uint16_t>(m_pRawData[at]) |
                                            (static_cast<uint16_t>(m_pRawData[at + 1]) << 8));
    return static_cast<double>(value);
}

bool CTonaroDoc::SpectrumWindowOpen() const
{
    return m_pFFTFrame || m_pSonoFrame || m_pNotenbildFrame || m_pZeitreiheFrame;
}

void CTonaroDoc::SelectRange(int64_t nStart, int64_t nEnd)
{
    if (g_bPlaying)
        return;
    {
        WaitCursorScope wait;
        DeleteContents();
        if (g_bWaveLoaded && !m_pRawData.empty()) {
            // Callers pass mouse-derived indices: keep them inside the sound and in order.
            const int64_t nSamples = NumSamples();
            nStart = std::clamp<int64_t>(nStart, 0, nSamples);
            nEnd = std::clamp<int64_t>(nEnd, 0, nSamples);
            if (nEnd < nStart)
                std::swap(nStart, nEnd);
            if (m_nBitsPerSample != 8)
                nStart -= nStart % 2;
            const int nCount = static_cast<int>(nEnd - nStart);
            const int nPoints = LargestPowerOfTwoAtMost(nCount);

            m_aSignal.resize(static_cast<size_t>(nCount));
            for (int i = 0; i < nCount; ++i)
                m_aSignal[static_cast<size_t>(i)] = SampleAt(static_cast<int>(nStart) + i);
            g_bSelectionChanged = true;

            if (SpectrumWindowOpen())
                ComputeSpectrum(nPoints);
            m_nSpectrumPoints = nPoints;
        }
    }
    UpdateAllViews(kHintSelection);
}

void CTonaroDoc::ComputeSpectrum(int nPoints)
{
    ComputeMagnitudeSpectrum(m_aSignal, nPoints, m_aSpectrum);
}

bool CTonaroDoc::ComputeAutocorrelation(int nOrder)
{
    // The shared spectrum stays that of the analysis block: the spectral
    // windows keep showing what the user selected.
    return ::ComputeAutocorrelation(m_aSignal, m_nNumFFTPoints, nOrder, m_aAutocorr,
                                    m_nAutocorrMinIndex);
}

void CTonaroDoc::OnCaptureBlock(const std::vector<double>& block, const QString& strFileName)
{
    m_aSpectrum.clear();
    m_aSignal = block.empty() ? std::vector<double>(1, 0.0) : block;
    m_strRecordFile = strFileName;
    ComputeSpectrum(m_nNumFFTPoints);
    UpdateAllViews(kHintRefresh);
}

void CTonaroDoc::OnPlayPosition(uint32_t nBytePos)
{
    uint32_t p = m_nBitsPerSample == 8 ? nBytePos : nBytePos / 2;
    m_nPlayPos = p;
    if (g_bConverted && m_nPlayDataSize > 0)
        p *= static_cast<uint32_t>(m_nRawSize / m_nPlayDataSize);
    if (static_cast<int64_t>(p) + m_nNumFFTPoints > NumSamples())
        return;
    m_aSignal.resize(static_cast<size_t>(m_nNumFFTPoints));
    for (int i = 0; i < m_nNumFFTPoints; ++i)
        m_aSignal[static_cast<size_t>(i)] = SampleAt(static_cast<int>(p) + i);
    ComputeSpectrum(m_nNumFFTPoints);

    const bool bPastRight = m_nPlayPos > m_nMarkerRight && m_nMarkerRight != m_nMarkerLeft;
    if ((bPastRight || m_nPlayPos < m_nMarkerLeft) && m_pAudio)
        m_pAudio->OnSelectionEnd();
    UpdateAllViews(kHintPlayBlock);
}

void CTonaroDoc::WriteWaveParametersInVariables(const WaveFormat& format)
{
    m_strChannels = format.channels == 1 ? "Mono" : format.channels == 2 ? "Stereo" : "?";
    m_strFormatTag = format.formatTag == 1 ? "PCM" : "?";
    m_bStereo = m_strChannels == "Stereo";
    m_nSampleRate = static_cast<int>(format.samplesPerSec);
    m_nFormatBits = format.bitsPerSample;
    m_bSigned = format.bitsPerSample != 8;
    switch (format.bitsPerSample) {
    case 8: m_nBitsPerSample = 8; m_dFullScale = 255.0; break;
    case 16: m_nBitsPerSample = 16; m_dFullScale = 32767.0; break;
    case 24: m_nBitsPerSample = 24; m_dFullScale = 8388607.0; break;
    case 32: m_nBitsPerSample = 32; m_dFullScale = 2147483647.0; break;
    default:
        Ui().Message("Bitrate nicht lesbarCTonaroDoc.WriteWaveParametersInVariables");
        break;
    }
}

void CTonaroDoc::SetRawData(std::vector<uint8_t> data)
{
    m_pRawData = std::move(data);
    m_nRawSize = static_cast<int>(m_pRawData.size());
    m_nPlayDataSize = m_nRawSize;
}

void CTonaroDoc::UpdateStatus()
{
    if (!m_pHost || !m_pHost->StatusBarShown())
        return;
    m_pHost->ShowFFTPoints(m_nNumFFTPoints);
    m_pHost->ShowFileName(m_strFileName);
    m_pHost->ShowBitsPerSample(m_nFormatBits);
    m_pHost->ShowSampleRate(m_nSampleRate);
    m_pHost->ShowListening(g_bListening);
    m_pHost->ShowRecording(g_bRecording);
}

void CTonaroDoc::SetTitle(const QString& strTitle)
{
    m_strTitle = strTitle;
    if (m_pHost)
        m_pHost->SetDocumentTitle(strTitle);
}

void CTonaroDoc::RemoveWave()
{
    UpdateAllViews(kHintRemoving);
    g_bWaveLoaded = false;
    g_bLoop = false;
    g_bConverted = false;
    g_bSelectionChanged = false;
    g_bAbort = false;
    DeleteContents();
    m_nSpectrumPoints = 0;
    m_nFormatBits = 0;
    m_strChannels.clear();
    m_strFormatTag.clear();
    m_nSampleRate = 0;
    m_strFileName = kNoFile;
    m_strRecordFile = kNoFile;
    m_nNumFFTPoints = SettingNumFFTPoints();
    m_pRawData.clear();
    m_pRawData.shrink_to_fit();
    m_dFullScale = 0.0;
    m_nRawSize = 0;
    m_nPlayDataSize = 0;
    m_pWaveFile.reset();
    m_pPlaySound.reset();
    m_nPlaySampleRate = 0;
    m_nPlayBitsPerSample = 0;
    SetTitle(kNoFileTitle);
    UpdateStatus();
    UpdateAllViews(kHintRefresh);
}

CommandState CTonaroDoc::GetCommandState(DocCommand cmd) const
{
    const bool bLoaded = g_bWaveLoaded;
    switch (cmd) {
    case DocCommand::Play: return {bLoaded, bool(g_bPlaying)};
    case DocCommand::Loop: return {bLoaded, bool(g_bLoop)};
    case DocCommand::Stop:
    case DocCommand::Rewind:
    case DocCommand::RemoveWave:
    case DocCommand::SaveRecording: return {bLoaded, false};
    case DocCommand::Listen: return {true, bool(g_bListening)};
    case DocCommand::StartRecording: return {g_bListening && !g_bRecording, false};
    case DocCommand::StopRecording: return {g_bListening && g_bRecording, false};
    case DocCommand::OpenWave:
    case DocCommand::OpenTimeSeries:
    case DocCommand::WaveFormat:
    case DocCommand::FftSize: return {true, false};
    }
    return {};
}

void CTonaroDoc::OnLoop()
{
    if (!g_bPlaying)
        g_bLoop = !g_bLoop;
}

void CTonaroDoc::OnRemoveWave()
{
    RemoveWave();
}

void CTonaroDoc::OnFftSize()
{
    if (g_bListening && m_pAudio)
        m_pAudio->StopListening();
    bool bWasPlaying = false;
    if (g_bPlaying && m_pAudio) {
        m_pAudio->StopPlayback();
        g_bPlaying = false;
        bWasPlaying = true;
    }

    int nCurrentIndex = 2;   // "1024" when the size is not one of the choices
    for (int i = 0; i < kFftSizeChoices; ++i)
        if ((kSmallestFFTPoints << i) == m_nNumFFTPoints)
            nCurrentIndex = i;
    const int nIndex = Ui().FftSettingsDialog(nCurrentIndex);
    if (nIndex != kDialogCancelled) {
        m_nNumFFTPoints = nIndex >= 0 && nIndex < kFftSizeChoices ? kSmallestFFTPoints << nIndex
                                                                    : SettingNumFFTPoints();
        if (m_pNotenbildFrame && m_pHost && m_pHost->SchoolProfile())
            m_nNumFFTPoints = kSchoolNoteImagePoints;
        if (m_pHost && m_pHost->StatusBarShown())
            m_pHost->ShowFFTPoints(m_nNumFFTPoints);
    }

    DeleteContents();
    if (bWasPlaying && m_pAudio && m_pAudio->RestartPlayback())
        g_bPlaying = true;
    UpdateStatus();
    UpdateAllViews(kHintRefresh);
}
