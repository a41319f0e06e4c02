// The document's time-series import: a one-column text file of numbers becomes
// a mono 16-bit 44100 Hz wave file in the program folder, which is then loaded
// like any other sound.
#include "TonaroDoc.h"

#include "DialogBarValues.h"
#include "ProgramFlags.h"
#include "ProgramPaths.h"
#include "RiffWaveFile.h"
#include "TimeSeriesText.h"
#include "UiServices.h"
#include "resource_ids.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <climits>
#include <new>

namespace {

constexpr std::uint32_t kSeriesRate = 44100;   // Hz
constexpr std::size_t kChunkSamples = 32 * 1024;
// The sample data of a wave file must fit the document's byte count.
constexpr std::size_t kMaxSeriesValues = INT_MAX / 2;

} // namespace

void CTonaroDoc::OnOpenTimeSeries()
{
    if (!ClearForNewSound())
        return;

    FileDialogRequest request;
    request.m_strTitle = QStringLiteral("1-spaltiges Zeitreihenfile auswählen");
    request.m_strFilter = QStringLiteral("TXT - Textfiles mit 1 Spalte|*.txt|PRN - Mathcadexportfiles mit 1 "
                                         "Spalte|*.prn|DAT - Datenfiles mit 1 Spalte|*.dat|Alle Dateien|*.*|");
    request.m_nFlags = FileDialogFlag::FileMustExist | FileDialogFlag::PathMustExist | FileDialogFlag::Resizable;
    const FileDialogResult chosen = Ui().OpenFileDialog(request);
    if (!chosen.m_bOk)
        return;

    m_strFileName = chosen.m_strPath;
    ReadTimeSeries(chosen.m_strPath);
    UpdateStatus();
    SetTitle(QFileInfo(chosen.m_strPath).fileName());
    UpdateAllViews(kHintRefresh);
}

int CTonaroDoc::ReadTimeSeries(const QString& strPath)
{
    WaitCursorScope wait;
    if (g_bWaveLoaded) {
        StopAndRewind();
        RemoveWave();
    }
    m_strFileName = strPath;

    QString strProblem;
    std::vector<std::int16_t> aSamples;
    try {
        std::vector<double> aValues;
        if (!TimeSeriesText::ReadFile(strPath, aValues))
            strProblem = QStringLiteral("Konnte die Zeitreihendatei:\n%1\nnicht lesen.").arg(strPath);
        else if (aValues.size() > kMaxSeriesValues)
            strProblem = QStringLiteral("Die Zeitreihe ist mit %1 Werten zu lang; geladen werden können höchstens "
                                        "%2 Werte.")
                             .arg(aValues.size())
                             .arg(kMaxSeriesValues);
        else
            aSamples = TimeSeriesText::ScaleToSamples(aValues);
    } catch (const std::bad_alloc&) {
        strProblem = QStringLiteral("Nicht genug Speicher, um die Zeitreihe zu laden.");
    }
    if (!strProblem.isEmpty()) {
        Ui().Message(strProblem);
        ClearFailedSound();
        UpdateStatus();
        UpdateAllViews(kHintRefresh);
        return kReadFailed;
    }
    return WriteSeriesWave(aSamples);
}

int CTonaroDoc::WriteSeriesWave(const std::vector<std::int16_t>& aSamples)
{
    const QString strTemp = ProgramPaths::InProgramFolder(QStringLiteral("~TempWave.wav"));
    const WaveFormat format = WaveFormat::Pcm(1, kSeriesRate, 16);

    m_pWaveFile = std::make_unique<CRiffWaveFile>();
    const bool bOpened = Succeeded(m_pWaveFile->Open(QFile::encodeName(strTemp).toStdString(), &format,
                                                     CRiffWaveFile::kModeWrite));
    bool bOk = bOpened;
    std::vector<std::uint8_t> aBytes;
    aBytes.reserve(2 * kChunkSamples);
    for (std::size_t i = 0; bOk && i < aSamples.size(); i += kChunkSamples) {
        aBytes.clear();
        const std::size_t nEnd = std::min(aSamples.size(), i + kChunkSamples);
        for (std::size_t k = i; k < nEnd; ++k) {
            const auto v = static_cast<std::uint16_t>(aSamples[k]);
            aBytes.push_back(static_cast<std::uint8_t>(v & 0xFF));
            aBytes.push_back(static_cast<std::uint8_t>(v >> 8));
        }
        bOk = Succeeded(m_pWaveFile->Write(static_cast<std::uint32_t>(aBytes.size()), aBytes.data(), nullptr));
    }
    if (bOpened)
        bOk = Succeeded(m_pWaveFile->Close()) && bOk;
    m_pWaveFile.reset();

    int nResult = kReadFailed;
    if (!bOk) {
        Ui().Message(QStringLiteral("Konnte die temporäre Datei\n%1\nnicht schreiben.").arg(strTemp));
    } else {
        g_bConverted = true;
        if (ReadRawData(strTemp) == S_OK && ProcessWave(strTemp) == 0)
            nResult = kReadOk;
    }
    if (nResult == kReadOk) {
        g_bWaveLoaded = true;
        for (QWidget* pFrame : {m_pFFTFrame, m_pSonoFrame, m_pFFT3DFrame})
            SetDialogBarValue(pFrame, Res::kCtlUpperFrequencyKHz, m_nSampleRate / 2000);
        SetDialogBarValue(m_pFFTFrame, Res::kCtlDynamicRangeSpin, -6 * m_nBitsPerSample);
    } else {
        ClearFailedSound();
    }
    UpdateStatus();
    UpdateAllViews(kHintRefresh);
    return nResult;
}
