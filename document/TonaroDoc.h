// The one document of the program: the loaded sound, the markers and the
// selected stretch, the spectra and other results the windows share, and the
// commands that act on the sound as a whole.  Lives on the user-interface
// thread; every window is a view of it and learns of changes by update hints.
#pragma once

#include "DocView.h"
#include "PlaySound.h"
#include "WaveFormat.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class CAudioControl;
class CDocumentHost;
class CRiffWaveFile;
class QWidget;

// Commands of the document whose enable and check state the shell shows.
enum class DocCommand {
    OpenWave, OpenTimeSeries, Play, Stop, Loop, Rewind, RemoveWave, SaveRecording,
    Listen, StartRecording, StopRecording, WaveFormat, FftSize,
};

struct CommandState {
    bool bEnabled = true;
    bool bChecked = false;
};

class CTonaroDoc {
public:
    static constexpr uint32_t kKeepMarker = 0xFFFFFFFFu;   // SetMarkers: leave this marker
    static constexpr int kAutocorrLevels = 11;
    static inline const QString kNoFile = QStringLiteral("Kein File ausgewählt.");
    static inline const QString kNoFileTitle = QStringLiteral("Keine Datei geöffnet ");

    explicit CTonaroDoc(CDocumentHost* pHost = nullptr);
    ~CTonaroDoc();
    CTonaroDoc(const CTonaroDoc&) = delete;
    CTonaroDoc& operator=(const CTonaroDoc&) = delete;

    // Lifecycle
    bool OnNewDocument();
    void Initialise();
    void DeleteContents();
    void RemoveWave();

    // Views and update hints
    void AddView(CDocView* pView);
    void RemoveView(CDocView* pView);
    void UpdateAllViews(int nHint);
    void SetAudioControl(CAudioControl* pAudio) { m_pAudio = pAudio; }

    // Selection and spectra
    void SetMarkers(uint32_t nLeft, uint32_t nRight);
    void SelectRange(int64_t nStart, int64_t nEnd);
    void ComputeSpectrum(int nPoints);
    bool ComputeAutocorrelation(int nOrder);
    void OnCaptureBlock(const std::vector<double>& block, const QString& strFileName);
    void OnPlayPosition(uint32_t nBytePos);

    // Format and status
    void WriteWaveParametersInVariables(const WaveFormat& format);
    void UpdateStatus();
    // Takes over a loaded mono sound (the raw bytes of its data chunk).
    void SetRawData(std::vector<uint8_t> data);
    int NumSamples() const;
    double SampleAt(int nIndex) const;

    // Commands
    CommandState GetCommandState(DocCommand cmd) const;
    void OnLoop();
    void OnRemoveWave();
    void OnFftSize();

    // Sound files.  Results of ReadWave, ProcessWave, MakeMonoFile, ReduceRate,
    // ReadTimeSeries and WriteSeriesWave: 0 = sound ready, otherwise failure
    // (kReadNotOpened: the file could not be opened as a wave file; nothing was shown).
    static constexpr int kReadOk = 0;
    static constexpr int kReadFailed = 1;
    static constexpr int kReadNotOpened = 2;
    void SetPlaySoundMaker(CPlaySoundMaker* pMaker) { m_pPlaySoundMaker = pMaker; }
    void OnOpenWave();
    int ReadWave(const QString& strPath);
    HResult ReadRawData(const QString& strPath);
    int ProcessWave(const QString& strPath);
    int MakeMonoFile();
    int ReduceRate(const QString& strPath);
    void OnOpenTimeSeries();
    int ReadTimeSeries(const QString& strPath);
    int WriteSeriesWave(const std::vector<int16_t>& aSamples);
    // MP3 conversion; 1 = success, 0 = failure.
    int ConvertMp3ToWave(const QString& strSource, const QString& strDest, bool bProgressWindow);
    int ConvertWaveToMp3(const QString& strDest, const QString& strSource);
    void OnSaveRecording();
    // true when the copy was written completely.
    bool CopyWaveFile(const QString& strDest, const QString& strSource);

    const QString& GetTitle() const { return m_strTitle; }
    void SetTitle(const QString& strTitle);

    // Format of the loaded or captured sound
    int m_nSampleRate = 0;             // samples per second (status bar)
    int m_nBitsPerSample = 16;         // 8, 16, 24 or 32; readers of m_pRawData tell 8 from the rest
    int m_nFormatBits = 0;             // bits per sample as stated by the format (status bar)
    bool m_bSigned = true;             // samples are signed (width other than 8)
    double m_dFullScale = 0.0;         // largest sample magnitude; 0 when nothing is loaded
    bool m_bStereo = false;            // the file being read is stereo
    int m_nChannelChoice = 1;          // channel kept from a stereo file: 1 left, 0 right
    QString m_strChannels;             // "Mono", "Stereo", "?" or empty
    QString m_strFormatTag;            // "PCM", "?" or empty
    std::unique_ptr<WaveFormat> m_pCaptureFormat;   // 6 channels = no capture format chosen yet

    // Sound data
    std::vector<uint8_t> m_pRawData;   // the data chunk of the loaded mono sound, as stored
    int m_nRawSize = 0;                // its size in bytes; 0 when nothing is loaded
    int m_nPlayDataSize = 0;           // bytes of the sound that is played (less after rate reduction)
    std::unique_ptr<CRiffWaveFile> m_pWaveFile;   // reader of a converted temporary file
    QString m_strFileName = kNoFile;   // the loaded sound file
    QString m_strRecordFile = kNoFile; // the recording file handed to and from the capture thread

    // Selection and shared results
    uint32_t m_nMarkerLeft = 0;        // sample index
    uint32_t m_nMarkerRight = 0;       // sample index
    std::vector<double> m_aSignal;     // analysis block: raw sample values (16 bit signed, 8 bit 0..255)
    int m_nSpectrumPoints = 0;         // FFT length of the last selection spectrum
    std::vector<double> m_aSpectrum;   // N/2+1 magnitudes |X_k|/N in raw sample units
    std::array<std::vector<double>, kAutocorrLevels> m_aAutocorr;
    int m_nAutocorrMinIndex = 0;       // first minimum of the level-0 autocorrelation (lag)
    std::vector<float> m_aWavelet;     // wavelet transform of the selection
    std::vector<uint32_t> m_palette;   // 1536 colours (red in the low byte) for the FFT bars
    int m_nNumFFTPoints = 1024;        // FFT size chosen by the user: 256 .. 524288

    // Playback
    std::unique_ptr<CPlaySound> m_pPlaySound;   // exists exactly while a sound is loaded
    uint32_t m_nPlayPos = 0;           // last reported play position, sample index
    int m_nPlaySampleRate = 0;         // Hz of the played file (less than m_nSampleRate after rate reduction)
    int m_nPlayBitsPerSample = 0;      // 8 or 16: width of the played file

    // Open analysis windows (null when closed)
    QWidget* m_pFFTFrame = nullptr;
    QWidget* m_pFFT3DFrame = nullptr;
    QWidget* m_pSonoFrame = nullptr;
    QWidget* m_pNotenbildFrame = nullptr;
    QWidget* m_pRekoFrame = nullptr;
    QWidget* m_pZeitreiheFrame = nullptr;
    QWidget* m_pAnalyseFrame = nullptr;
    QWidget* m_pWaveletFrame = nullptr;
    bool m_bClose3DRequest = false;

    QString m_strProgressText;         // text of the import progress window

private:
    void ResetResultArrays();
    void StopAndRewind();
    // Before a new sound is opened: the analysis arrays cleared and a loaded
    // sound stopped and removed; false while a conversion runs.
    bool ClearForNewSound();
    void ClearFailedSound();
    bool CheckLoadableFormat(const WaveFormat& format);
    bool MakePlaySound(const QString& strPath);
    bool WriteMonoChannel(CRiffWaveFile& file);
    bool WriteReducedRate(CRiffWaveFile& file, int nFactor);
    int SettingNumFFTPoints() const;
    bool SpectrumWindowOpen() const;

    CDocumentHost* m_pHost = nullptr;
    CAudioControl* m_pAudio = nullptr;
    CPlaySoundMaker* m_pPlaySoundMaker = nullptr;   // not owned; null: the simulated one
    bool m_bConversionCancelled = false;            // the last MP3 conversion was cancelled by the user
    std::vector<CDocView*> m_views;
    QString m_strTitle;
};
