#include "Mp3Converter.h"

#include "UiServices.h"

#include <QFile>
#include <QFileInfo>

#include <lame/lame.h>
#include <mpg123.h>

#include <algorithm>

namespace {

constexpr std::size_t kDecodeBytes = 64 * 1024;   // PCM bytes decoded per step
constexpr int kEncodeFrames = 8192;               // sample frames encoded per step
constexpr int kMaxIdleReads = 1000;               // decoder calls without output before giving up
constexpr std::uint16_t kTagExtensible = 0xFFFE;

std::string NativePath(const QString& strPath)
{
    return QFile::encodeName(strPath).toStdString();
}

std::int64_t ToUnits(std::int64_t nFrames, long nRate)
{
    if (nRate <= 0)
        return 0;
    return static_cast<std::int64_t>(static_cast<double>(nFrames) * Converter::kUnitsPerSecond /
                                     static_cast<double>(nRate));
}

} // namespace

Mp3Converter::~Mp3Converter()
{
    Release();
}

void Mp3Converter::Release()
{
    if (m_pDecoder) {
        mpg123_delete(m_pDecoder);
        m_pDecoder = nullptr;
    }
    if (m_pEncoder) {
        lame_close(m_pEncoder);
        m_pEncoder = nullptr;
    }
    if (m_pMp3Out) {
        std::fclose(m_pMp3Out);
        m_pMp3Out = nullptr;
    }
}

void Mp3Converter::SetEncoder(bool bEncode, const QString& strName)
{
    m_bEncode = bEncode;
    m_strEncoderName = bEncode && strName.isEmpty() ? kDefaultEncoder : strName;
}

bool Mp3Converter::SetSourceFile(const QString& strPath)
{
    m_strSourceFile = strPath;
    if (!QFileInfo::exists(strPath)) {
        Ui().Message(QStringLiteral("File existiert nicht! Konvertierung von MP3 fehlgeschlagen."));
        CheckResult(E_FAIL);
    }
    m_bSourceOpen = m_bEncode ? OpenWaveSource() : OpenMp3Source();
    if (!m_bSourceOpen) {
        Release();
        Ui().Message(QStringLiteral("ERROR - Could not RenderFile."));
    }
    return m_bSourceOpen;
}

// Opens the MP3 stream and reads its first frame for the format.  The output
// is fixed to 16-bit samples at the stream's own rate and channel count.
bool Mp3Converter::OpenMp3Source()
{
    int nError = MPG123_OK;
    m_pDecoder = mpg123_new(nullptr, &nError);
    if (m_pDecoder == nullptr)
        return false;
    mpg123_param(m_pDecoder, MPG123_ADD_FLAGS, MPG123_QUIET, 0.0);
    mpg123_format_none(m_pDecoder);
    const long* pRates = nullptr;
    std::size_t nRates = 0;
    mpg123_rates(&pRates, &nRates);
    for (std::size_t i = 0; i < nRates; ++i)
        mpg123_format(m_pDecoder, pRates[i], MPG123_MONO | MPG123_STEREO, MPG123_ENC_SIGNED_16);
    if (mpg123_open(m_pDecoder, NativePath(m_strSourceFile).c_str()) != MPG123_OK)
        return false;
    long nRate = 0;
    int nChannels = 0;
    int nEncoding = 0;
    if (mpg123_getformat(m_pDecoder, &nRate, &nChannels, &nEncoding) != MPG123_OK || nRate <= 0 ||
        (nChannels != 1 && nChannels != 2) || nEncoding != MPG123_ENC_SIGNED_16)
        return false;
    // A later frame of another format is converted to this one, so the wave file stays uniform.
    mpg123_format_none(m_pDecoder);
    mpg123_format(m_pDecoder, nRate, nChannels, MPG123_ENC_SIGNED_16);
    m_nRate = nRate;
    m_nChannels = nChannels;
    m_nFramesTotal = mpg123_length(m_pDecoder);
    return true;
}

bool Mp3Converter::OpenWaveSource()
{
    if (Failed(m_waveIn.Open(NativePath(m_strSourceFile), nullptr, CRiffWaveFile::kModeRead)))
        return false;
    const WaveFormat& f = *m_waveIn.GetFormat();
    const bool bPcm = f.formatTag == WaveFormat::kTagPcm || f.formatTag == kTagExtensible;
    if (!bPcm || (f.channels != 1 && f.channels != 2) || (f.bitsPerSample != 8 && f.bitsPerSample != 16) ||
        f.blockAlign != f.channels * f.bitsPerSample / 8 || f.samplesPerSec == 0)
        return false;
    m_nRate = static_cast<long>(f.samplesPerSec);
    m_nChannels = f.channels;
    m_nSourceBits = f.bitsPerSample;
    m_nFramesTotal = m_waveIn.GetDataSize() / f.blockAlign;
    return true;
}

bool Mp3Converter::BuildGraph()
{
    if (!m_bSourceOpen)
        return false;   // already reported by SetSourceFile
    return m_bEncode ? BuildEncoder() : BuildDecoder();
}

bool Mp3Converter::BuildDecoder()
{
    const WaveFormat format = WaveFormat::Pcm(static_cast<std::uint16_t>(m_nChannels),
                                              static_cast<std::uint32_t>(m_nRate), 16);
    if (!CheckResult(m_waveOut.Open(NativePath(m_strOutputFile), &format, CRiffWaveFile::kModeWrite),
                     QStringLiteral("Die Zieldatei kann nicht angelegt werden.")))
        return false;
    m_aBuffer.resize(kDecodeBytes);
    return true;
}

bool Mp3Converter::BuildEncoder()
{
    if (!CheckResult(m_nFramesTotal > 0 ? S_OK : E_FAIL, QStringLiteral("Die Quelldatei enthält keine Audiodaten.")))
        return false;
    m_pEncoder = lame_init();
    if (!CheckResult(m_pEncoder ? S_OK : E_FAIL, QStringLiteral("Der MP3-Encoder kann nicht gestartet werden.")))
        return false;
    lame_set_in_samplerate(m_pEncoder, static_cast<int>(m_nRate));
    lame_set_num_channels(m_pEncoder, m_nChannels);
    lame_set_mode(m_pEncoder, m_nChannels == 1 ? MONO : JOINT_STEREO);
    // The info frame at the start tells decoders the exact length (no padding at either end).
    lame_set_bWriteVbrTag(m_pEncoder, 1);
    if (!CheckResult(lame_init_params(m_pEncoder) >= 0 ? S_OK : E_FAIL,
                     QStringLiteral("Der MP3-Encoder kann dieses Format nicht verarbeiten.")))
        return false;
    m_pMp3Out = std::fopen(NativePath(m_strOutputFile).c_str(), "wb");
    if (!CheckResult(m_pMp3Out ? S_OK : E_FAIL, QStringLiteral("Die Zieldatei kann nicht angelegt werden.")))
        return false;
    m_aPcm.resize(static_cast<std::size_t>(kEncodeFrames) * 2);
    // LAME's bound for the output of one call: 1.25 x samples + 7200 bytes.
    m_aBuffer.resize(static_cast<std::size_t>(kEncodeFrames) * 5 / 4 + 7200);
    return true;
}

HResult Mp3Converter::Step()
{
    return m_bEncode ? EncodeStep() : DecodeStep();
}

HResult Mp3Converter::DecodeStep()
{
    std::size_t nDone = 0;
    const int nResult = mpg123_read(m_pDecoder, m_aBuffer.data(), m_aBuffer.size(), &nDone);
    if (nDone > 0) {
        m_nIdleReads = 0;
        const std::size_t nFrameBytes = 2 * static_cast<std::size_t>(m_nChannels);
        nDone -= nDone % nFrameBytes;
        if (Failed(m_waveOut.Write(static_cast<std::uint32_t>(nDone), m_aBuffer.data(), nullptr)))
            return Fail(QStringLiteral("Die Zieldatei kann nicht geschrieben werden."));
        m_nFramesDone += static_cast<std::int64_t>(nDone / nFrameBytes);
    } else if (++m_nIdleReads > kMaxIdleReads) {
        return S_FALSE;
    }
    if (nResult == MPG123_DONE)
        return S_FALSE;
    if (nResult == MPG123_OK || nResult == MPG123_NEW_FORMAT)
        return S_OK;
    // Damaged data the decoder cannot get past ends the stream; what came before is kept.
    return E_FAIL;
}

HResult Mp3Converter::EncodeStep()
{
    const std::size_t nBytesPerFrame = static_cast<std::size_t>(m_nChannels) * (m_nSourceBits / 8);
    std::vector<std::uint8_t>& raw = m_aSource;
    raw.resize(kEncodeFrames * nBytesPerFrame);
    std::uint32_t nRead = 0;
    if (Failed(m_waveIn.Read(raw.data(), static_cast<std::uint32_t>(raw.size()), &nRead)))
        return Fail(QStringLiteral("Die Quelldatei kann nicht gelesen werden."));
    const int nFrames = static_cast<int>(nRead / nBytesPerFrame);
    if (nFrames == 0)
        return S_FALSE;
    const std::size_t nSamples = static_cast<std::size_t>(nFrames) * static_cast<std::size_t>(m_nChannels);
    for (std::size_t i = 0; i < nSamples; ++i)
        m_aPcm[i] = m_nSourceBits == 8 ? static_cast<short>((raw[i] - 128) * 256)
                                       : static_cast<short>(raw[2 * i] | (raw[2 * i + 1] << 8));
    const int nBytes =
        m_nChannels == 2
            ? lame_encode_buffer_interleaved(m_pEncoder, m_aPcm.data(), nFrames, m_aBuffer.data(),
                                             static_cast<int>(m_aBuffer.size()))
            : lame_encode_buffer(m_pEncoder, m_aPcm.data(), m_aPcm.data(), nFrames, m_aBuffer.data(),
                                 static_cast<int>(m_aBuffer.size()));
    if (nBytes < 0)
        return Fail(QStringLiteral("Der MP3-Encoder meldet einen Fehler."));
    if (!WriteMp3(m_aBuffer.data(), nBytes))
        return Fail(QStringLiteral("Die Zieldatei kann nicht geschrieben werden."));
    m_nFramesDone += nFrames;
    return S_OK;
}

bool Mp3Converter::WriteMp3(const unsigned char* pData, int nBytes)
{
    return nBytes <= 0 ||
           std::fwrite(pData, 1, static_cast<std::size_t>(nBytes), m_pMp3Out) == static_cast<std::size_t>(nBytes);
}

HResult Mp3Converter::Fail(const QString& strText)
{
    SetFailureText(strText);
    m_hrFailure = E_FAIL;
    return E_FAIL;
}

HResult Mp3Converter::StopGraph()
{
    if (m_bFinished)
        return S_OK;
    m_bFinished = true;
    const HResult hr = m_bEncode ? FinishEncoder() : FinishDecoder();
    Release();
    return Failed(m_hrFailure) ? m_hrFailure : hr;
}

// Closing writes the sizes into the header.  A stream that gave no sample at
// all is a failure: there is nothing to load.
HResult Mp3Converter::FinishDecoder()
{
    if (Failed(m_waveOut.Close()))
        return Fail(QStringLiteral("Die Zieldatei kann nicht geschrieben werden."));
    if (m_nFramesDone == 0)
        return Fail(QStringLiteral("Die Datei enthält keine lesbaren MPEG-Audiodaten."));
    return S_OK;
}

// Flushes the encoder and puts the final info frame (length, delay and
// padding) in place of the blank one LAME wrote at the start.
HResult Mp3Converter::FinishEncoder()
{
    const int nBytes = lame_encode_flush(m_pEncoder, m_aBuffer.data(), static_cast<int>(m_aBuffer.size()));
    bool bOk = nBytes >= 0 && WriteMp3(m_aBuffer.data(), nBytes);
    if (bOk) {
        const std::size_t nTag = lame_get_lametag_frame(m_pEncoder, m_aBuffer.data(), m_aBuffer.size());
        if (nTag > 0 && nTag <= m_aBuffer.size())
            bOk = std::fseek(m_pMp3Out, 0, SEEK_SET) == 0 && WriteMp3(m_aBuffer.data(), static_cast<int>(nTag));
    }
    const bool bClosed = std::fclose(m_pMp3Out) == 0;
    m_pMp3Out = nullptr;
    if (!bOk || !bClosed)
        return Fail(QStringLiteral("Die Zieldatei kann nicht geschrieben werden."));
    return S_OK;
}

std::int64_t Mp3Converter::CurrentPosition() const
{
    return ToUnits(m_nFramesDone, m_nRate);
}

std::int64_t Mp3Converter::Duration() const
{
    return m_nFramesTotal > 0 ? ToUnits(m_nFramesTotal, m_nRate) : 0;
}
