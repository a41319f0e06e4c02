// The MP3 converter: decodes an MP3 file (MPEG 1, 2 and 2.5 layer III, mono or
// stereo, constant or variable bit rate, with or without tags) into a 16-bit
// PCM wave file, or encodes a PCM wave file (8 or 16 bit, mono or stereo) into
// an MP3 stream.  Decoding uses libmpg123, encoding LAME.
#pragma once

#include "Converter.h"
#include "RiffWaveFile.h"

#include <cstdio>
#include <vector>

struct mpg123_handle_struct;
struct lame_global_struct;

class Mp3Converter : public Converter {
public:
    Mp3Converter() = default;
    ~Mp3Converter() override;

    // bEncode: wave to MP3; otherwise MP3 to wave.  An empty name with
    // bEncode takes the default encoder.
    void SetEncoder(bool bEncode, const QString& strName);
    // Opens the source; a missing or unreadable file is reported at once.
    bool SetSourceFile(const QString& strPath);
    // The destination; an existing file is overwritten.
    void SetOutputFile(const QString& strPath) { m_strOutputFile = strPath; }

    const QString& EncoderName() const { return m_strEncoderName; }
    // Sample frames (one sample of every channel) converted so far.
    std::int64_t FramesDone() const { return m_nFramesDone; }

    static inline const QString kDefaultEncoder = QStringLiteral("LAME MPEG Layer-3");

protected:
    bool BuildGraph() override;
    HResult Step() override;
    HResult StopGraph() override;
    std::int64_t CurrentPosition() const override;
    std::int64_t Duration() const override;

private:
    bool OpenMp3Source();
    bool OpenWaveSource();
    bool BuildDecoder();
    bool BuildEncoder();
    HResult DecodeStep();
    HResult EncodeStep();
    HResult FinishDecoder();
    HResult FinishEncoder();
    bool WriteMp3(const unsigned char* pData, int nBytes);
    HResult Fail(const QString& strText);
    void Release();

    bool m_bEncode = false;
    QString m_strEncoderName;
    QString m_strSourceFile;
    QString m_strOutputFile;
    bool m_bSourceOpen = false;
    bool m_bFinished = false;
    HResult m_hrFailure = S_OK;        // a write or encoder failure during the run

    long m_nRate = 0;                  // Hz of the source
    int m_nChannels = 0;               // 1 or 2
    std::int64_t m_nFramesDone = 0;    // sample frames converted
    std::int64_t m_nFramesTotal = 0;   // sample frames of the source; 0 or less when unknown

    // Decoding
    mpg123_handle_struct* m_pDecoder = nullptr;
    CRiffWaveFile m_waveOut;
    int m_nIdleReads = 0;              // decoder calls in a row that gave nothing

    // Encoding
    CRiffWaveFile m_waveIn;
    int m_nSourceBits = 16;            // 8 or 16
    lame_global_struct* m_pEncoder = nullptr;
    std::FILE* m_pMp3Out = nullptr;

    std::vector<unsigned char> m_aBuffer;  // decoded PCM, or encoded MP3
    std::vector<std::uint8_t> m_aSource;   // source bytes of one encoding step
    std::vector<short> m_aPcm;             // source samples as 16 bit, interleaved
};
