// The document's wave import: the open command, reading a wave file into the
// one mono sound, the channel choice of a stereo file, and the reduced-rate
// copy that is played for sound faster than 48 kHz.
#include "TonaroDoc.h"

#include "Converter.h"
#include "DialogBarValues.h"
#include "DocumentHost.h"
#include "ProgramFlags.h"
#include "ProgramPaths.h"
#include "RiffWaveFile.h"
#include "SimulatedPlaySoundMaker.h"
#include "UiServices.h"
#include "resource_ids.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <new>

namespace {

constexpr int kMaxPlayedRate = 48000;          // Hz; faster sound is played from a reduced copy
constexpr std::uint16_t kTagExtensible = 0xFFFE; // PCM described by an extended format block
constexpr std::size_t kChunkBytes = 64 * 1024;  // bytes written per call to the temporary files

std::string NativePath(const QString& strPath)
{
    return QFile::encodeName(strPath).toStdString();
}

QString TempPath(const QString& strName)
{
    return ProgramPaths::TempFolder() + QLatin1Char('/') + strName;
}

// Rate reduction factor of a rate above 48 kHz; 0 when there is none.
int ReductionFactor(int nRate)
{
    switch (nRate) {
    case 192000: return 4;
    case 96000:
    case 88200:
    case 64000: return 2;
    default: return 0;
    }
}

void ReportTempFileFailure(const QString& strPath)
{
    Ui().Message(QStringLiteral("Konnte die temporäre Datei\n%1\nnicht schreiben.").arg(strPath));
}

// Collects output bytes and hands them to the file in chunks.
class ChunkWriter {
public:
    explicit ChunkWriter(CRiffWaveFile& file) : m_file(file) { m_aBuffer.reserve(kChunkBytes); }
    void Put(std::uint8_t byte)
    {
        m_aBuffer.push_back(byte);
        if (m_aBuffer.size() == kChunkBytes)
            Flush();
    }
    bool Flush()
    {
        if (!m_aBuffer.empty() && Failed(m_file.Write(static_cast<std::uint32_t>(m_aBuffer.size()),
                                                     m_aBuffer.data(), nullptr)))
            m_bOk = false;
        m_aBuffer.clear();
        return m_bOk;
    }

private:
    CRiffWaveFile& m_file;
    std::vector<std::uint8_t> m_aBuffer;
    bool m_bOk = true;
};

} // namespace

void CTonaroDoc::StopAndRewind()
{
    if (g_bPlaying && m_pPlaySound) {
        m_pPlaySound->Stop();
        m_pPlaySound->Reset();
    }
    g_bPlaying = false;
}

bool CTonaroDoc::ClearForNewSound()
{
    // The conversion keeps the window usable; a second import must not start inside it.
    if (Converter::IsRunning())
        return false;
    DeleteContents();
    if (g_bWaveLoaded) {
        StopAndRewind();
        RemoveWave();
    }
    return true;
}

void CTonaroDoc::OnOpenWave()
{
    if (!ClearForNewSound())
        return;

    FileDialogRequest request;
    request.m_strTitle = QStringLiteral("Bitte Musikstück auswählen");
    request.m_strFilter = QStringLiteral("WAV - Standardwavefiles|*.wav|MP3 - MPEG Layer 3 Files|*.mp3|");
    request.m_nFlags = FileDialogFlag::FileMustExist | FileDialogFlag::PathMustExist | FileDialogFlag::Resizable;
    const FileDialogResult chosen = Ui().OpenFileDialog(request);
    if (!chosen.m_bOk)
        return;

    WaitCursorScope wait;
    const QString strChosen = chosen.m_strPath;
    m_strFileName = strChosen;
    Ui().ShowProgressWindow(!(m_pHost && m_pHost->SchoolProfile()));

    // The extension is tested in lower case; the file keeps its real name,
    // since the file system tells capitals apart.
    const QString strLowerName = QFileInfo(strChosen).fileName().toLower();
    const bool bMp3 = strLowerName.endsWith(QLatin1String(".mp3"));
    bool bAccepted = bMp3 || strLowerName.endsWith(QLatin1String(".wav"));
    m_bConversionCancelled = false;
    if (bMp3) {
        const QString strConverted = ProgramPaths::InProgramFolder(QStringLiteral("converted.wav"));
        bAccepted = ConvertMp3ToWave(strChosen, strConverted, true) == 1;
        m_strFileName = strConverted;
    }

    m_strProgressText = QStringLiteral("Bitte warten Sie, bis das Wavefile eingelesen ist.");
    Ui().SetProgressText(m_strProgressText);

    if (bAccepted) {
        if (ReadWave(m_strFileName) == kReadNotOpened)
            Ui().Message(QStringLiteral("Die Datei\n%1\nist keine lesbare Wavedatei.").arg(strChosen));
    } else {
        m_strFileName = kNoFile;
        if (!m_bConversionCancelled)
            Ui().Message(QStringLiteral("Konnte diese Datei bzw. das Format nicht lesen, weil die Endung nicht "
                                        ".mp3 oder .wav lautet."));
        UpdateStatus();
    }
    SetTitle(QFileInfo(strChosen).fileName());
    Ui().CloseProgressWindow();
}

int CTonaroDoc::ReadWave(const QString& strPath)
{
    WaitCursorScope wait;
    // A sound still loaded (a caller other than the open command) goes first,
    // so the views drop it before anything of the new one arrives.
    if (g_bWaveLoaded) {
        StopAndRewind();
        RemoveWave();
    }

    int nResult = kReadOk;
    const HResult hr = ReadRawData(strPath);
    if (hr != S_OK)
        nResult = Failed(hr) ? kReadNotOpened : kReadFailed;
    else if (ProcessWave(strPath) != 0)
        nResult = kReadFailed;

    if (nResult == kReadOk) {
        g_bWaveLoaded = true;
        SetDialogBarValue(m_pFFTFrame, Res::kCtlDynamicRangeSpin, -6 * m_nBitsPerSample);
        m_strFileName = strPath;
    } else {
        ClearFailedSound();
    }
    UpdateStatus();
    UpdateAllViews(kHintRefresh);
    return nResult;
}

HResult CTonaroDoc::ReadRawData(const QString& strPath)
{
    CRiffWaveFile file;
    const HResult hr = file.Open(NativePath(strPath), nullptr, CRiffWaveFile::kModeRead);
    if (Failed(hr))
        return hr;
    m_nBitsPerSample = file.GetFormat()->bitsPerSample;

    // A file that ends before its data does (a broken download or copy) is
    // refused rather than loaded in part.
    const std::uint32_t nSize = file.GetDataSize();
    if (file.GetDeclaredDataSize() > nSize) {
        Ui().Message(QStringLiteral("Die Wavedatei ist unvollständig: sie endet vor dem Ende ihrer Daten."));
        return 1;
    }
    if (nSize > static_cast<std::uint32_t>(INT_MAX)) {
        Ui().Message(QStringLiteral("Die Wavedatei ist zu groß, um sie zu laden."));
        return 1;
    }
    std::vector<std::uint8_t> data;
    try {
        data.resize(nSize);
    } catch (const std::bad_alloc&) {
        Ui().Message(QStringLiteral("Nicht genug Speicher, um die Wavedatei zu laden."));
        return 1;
    }
    std::uint32_t nRead = 0;
    if (nSize > 0 && (Failed(file.Read(data.data(), nSize, &nRead)) || nRead != nSize)) {
        Ui().Message(QStringLiteral("Read in AbbildArray failed. IN: DOC."));
        return 1;
    }
    m_pRawData = std::move(data);
    m_nRawSize = m_nPlayDataSize = static_cast<int>(nSize);
    return S_OK;
}

// Refuses, with a message, the formats the import cannot turn into a mono
// sound: other than PCM, more than two channels, frames that do not match the
// sample width, and rates the rate reduction does not handle.  Widths other
// than 8, 16, 24 and 32 are reported by WriteWaveParametersInVariables, and
// widths above 16 by the wave parameter dialog.
bool CTonaroDoc::CheckLoadableFormat(const WaveFormat& format)
{
    if (format.formatTag != WaveFormat::kTagPcm && format.formatTag != kTagExtensible) {
        Ui().Message(QStringLiteral("Diese Wavedatei ist nicht im PCM-Format gespeichert und kann daher nicht "
                                    "geladen werden."));
        return false;
    }
    if (format.channels != 1 && format.channels != 2) {
        Ui().Message(QStringLiteral("Diese Wavedatei hat %1 Kanäle. Geladen werden können nur Mono- und "
                                    "Stereo-Dateien.")
                         .arg(format.channels));
        return false;
    }
    const int nRate = static_cast<int>(std::min<std::uint32_t>(format.samplesPerSec, INT_MAX));
    if (nRate <= 0 || (nRate > kMaxPlayedRate && ReductionFactor(nRate) == 0)) {
        Ui().Message(QStringLiteral("Die Samplingrate dieser Wavedatei (%1 Hz) kann nicht verarbeitet werden. "
                                    "Geladen werden können Dateien bis 48000 Hz sowie mit 64000, 88200, 96000 "
                                    "und 192000 Hz.")
                         .arg(format.samplesPerSec));
        return false;
    }
    if ((format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
        format.blockAlign != format.channels * format.bitsPerSample / 8) {
        Ui().Message(QStringLiteral("Das Format dieser Wavedatei ist fehlerhaft: Die Blockgröße passt nicht zur "
                                    "Auflösung."));
        return false;
    }
    return true;
}

int CTonaroDoc::ProcessWave(const QString& strPath)
{
    WaveFormat format;
    {
        CRiffWaveFile file;
        if (Failed(file.Open(NativePath(strPath), nullptr, CRiffWaveFile::kModeRead))) {
            m_nRawSize = 0;
            return 1;
        }
        if (file.GetDataSize() == 0) {
            m_nRawSize = 0;
            Ui().Message(QStringLiteral("Wavefile ist leer."));
            return 1;
        }
        format = *file.GetFormat();
    }
    if (!CheckLoadableFormat(format))
        return 1;
    WriteWaveParametersInVariables(format);
    switch (format.bitsPerSample) {
    case 8: case 16: case 24: case 32: break;
    default: return 1;   // a width the document cannot hold; already reported
    }

    if (m_bStereo || m_nBitsPerSample > 16) {
        const bool bSchool = m_pHost && m_pHost->SchoolProfile();
        if (m_bStereo && m_nBitsPerSample <= 16 && bSchool) {
            m_nChannelChoice = 1;
        } else {
            const WaveParameterInfo info{m_strFileName, m_strChannels, m_nSampleRate, m_nBitsPerSample,
                                         m_strFormatTag};
            const WaveParameterAnswer answer = Ui().WaveParameterDialog(info);
            if (!answer.m_bOk || !info.OkEnabled())
                return 1;
            m_nChannelChoice = answer.m_nChannelChoice == 0 ? 0 : 1;
            UpdateAllViews(kHintChannelChosen);
        }
    }

    WaitCursorScope wait;
    if (m_bStereo) {
        if (MakeMonoFile() != 0)
            return 1;
        m_strChannels = QStringLiteral("Mono");
    }
    if (m_nSampleRate <= kMaxPlayedRate) {
        m_nPlaySampleRate = m_nSampleRate;
        m_nPlayBitsPerSample = m_nBitsPerSample;
        if (!MakePlaySound(m_bStereo ? TempPath(QStringLiteral("~TempWaveMono.wav")) : strPath))
            return 1;
        m_bStereo = false;
        return 0;
    }
    return ReduceRate(strPath);
}

int CTonaroDoc::MakeMonoFile()
{
    const QString strMono = TempPath(QStringLiteral("~TempWaveMono.wav"));
    const WaveFormat format =
        WaveFormat::Pcm(1, static_cast<std::uint32_t>(m_nSampleRate), static_cast<std::uint16_t>(m_nBitsPerSample));
    {
        CRiffWaveFile file;
        bool bOk = Succeeded(file.Open(NativePath(strMono), &format, CRiffWaveFile::kModeWrite));
        if (bOk) {
            bOk = WriteMonoChannel(file);
            bOk = Succeeded(file.Close()) && bOk;
        }
        if (!bOk) {
            ReportTempFileFailure(strMono);
            return 1;
        }
    }
    // The stereo block goes before the mono one is read, so both never stand in memory together.
    m_pRawData.clear();
    m_pRawData.shrink_to_fit();
    m_nRawSize = m_nPlayDataSize = 0;
    return ReadRawData(strMono) == S_OK ? 0 : 1;
}

// Writes the chosen channel of the stereo frames in m_pRawData; an incomplete
// last frame is dropped.
bool CTonaroDoc::WriteMonoChannel(CRiffWaveFile& file)
{
    const std::size_t nBytes = m_nBitsPerSample == 8 ? 1 : 2;   // bytes per sample
    const std::size_t nFrame = 2 * nBytes;
    const std::size_t nOffset = m_nChannelChoice == 1 ? 0 : nBytes;
    const std::size_t nFrames = m_pRawData.size() / nFrame;
    ChunkWriter out(file);
    for (std::size_t i = 0; i < nFrames; ++i)
        for (std::size_t b = 0; b < nBytes; ++b)
            out.Put(m_pRawData[i * nFrame + nOffset + b]);
    return out.Flush();
}

int CTonaroDoc::ReduceRate([[maybe_unused]] const QString& strPath)
{
    const int nFactor = ReductionFactor(m_nSampleRate);
    if (nFactor == 0 || (m_nBitsPerSample != 8 && m_nBitsPerSample != 16))
        return 1;   // refused before; kept as a guard for other callers
    const auto nBits = static_cast<std::uint16_t>(m_nBitsPerSample);
    const WaveFormat format = WaveFormat::Pcm(1, static_cast<std::uint32_t>(m_nSampleRate / nFactor), nBits);
    const QString strReduced = TempPath(QStringLiteral("~TempWave.wav"));

    m_pWaveFile = std::make_unique<CRiffWaveFile>();
    bool bOk = Succeeded(m_pWaveFile->Open(NativePath(strReduced), &format, CRiffWaveFile::kModeWrite));
    if (bOk) {
        m_nPlayDataSize = m_nRawSize / nFactor;
        bOk = WriteReducedRate(*m_pWaveFile, nFactor);
        bOk = Succeeded(m_pWaveFile->Close()) && bOk;
    }
    m_pWaveFile.reset();
    if (!bOk) {
        ReportTempFileFailure(strReduced);
        return 1;
    }
    g_bConverted = true;
    m_nPlaySampleRate = static_cast<int>(format.samplesPerSec);
    m_nPlayBitsPerSample = nBits;
    if (!MakePlaySound(strReduced))
        return 1;
    m_bStereo = false;
    return 0;
}

// Each group of nFactor samples becomes the floor of its mean (toward minus
// infinity); samples left over after the last complete group are dropped.
bool CTonaroDoc::WriteReducedRate(CRiffWaveFile& file, int nFactor)
{
    const int nShift = nFactor == 4 ? 2 : 1;
    ChunkWriter out(file);
    if (m_nBitsPerSample == 8) {
        const std::size_t nGroups = m_pRawData.size() / static_cast<std::size_t>(nFactor);
        for (std::size_t g = 0; g < nGroups; ++g) {
            int nSum = 0;
            for (int k = 0; k < nFactor; ++k)
                nSum += m_pRawData[g * static_cast<std::size_t>(nFactor) + static_cast<std::size_t>(k)];
            out.Put(static_cast<std::uint8_t>(nSum >> nShift));
        }
        return out.Flush();
    }
    const std::size_t nGroupBytes = 2 * static_cast<std::size_t>(nFactor);
    const std::size_t nGroups = m_pRawData.size() / nGroupBytes;
    for (std::size_t g = 0; g < nGroups; ++g) {
        int nSum = 0;
        for (int k = 0; k < nFactor; ++k) {
            const std::size_t at = g * nGroupBytes + 2 * static_cast<std::size_t>(k);
            nSum += static_cast<std::int16_t>(m_pRawData[at] | (m_pRawData[at + 1] << 8));
        }
        const auto nMean = static_cast<std::uint16_t>(static_cast<std::int16_t>(nSum >> nShift));
        out.Put(static_cast<std::uint8_t>(nMean & 0xFF));
        out.Put(static_cast<std::uint8_t>(nMean >> 8));
    }
    return out.Flush();
}

bool CTonaroDoc::MakePlaySound(const QString& strPath)
{
    static CSimulatedPlaySoundMaker s_simulated;
    m_pPlaySound.reset();
    CPlaySoundMaker& maker = m_pPlaySoundMaker ? *m_pPlaySoundMaker : s_simulated;
    if (Failed(maker.Create(strPath, m_pPlaySound)) || !m_pPlaySound) {
        m_pPlaySound.reset();
        return false;
    }
    return true;
}

// After a failed import nothing of the sound remains: no data, no playback
// object, no format in the status bar.
void CTonaroDoc::ClearFailedSound()
{
    m_strFileName = kNoFile;
    m_pRawData.clear();
    m_pRawData.shrink_to_fit();
    m_nRawSize = m_nPlayDataSize = 0;
    m_pPlaySound.reset();
    m_pWaveFile.reset();
    m_nPlaySampleRate = m_nPlayBitsPerSample = 0;
    m_nSampleRate = 0;
    m_nFormatBits = 0;
    m_nBitsPerSample = 16;
    m_bSigned = true;
    m_dFullScale = 0.0;
    m_strChannels.clear();
    m_strFormatTag.clear();
    m_bStereo = false;
    g_bWaveLoaded = false;
    g_bConverted = false;
}
