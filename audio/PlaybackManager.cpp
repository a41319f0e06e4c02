#include "PlaybackManager.h"

#include "PlaybackSound.h"
#include "RiffWaveFile.h"

#include <QFile>

HResult CPlaybackManager::Create(std::unique_ptr<CPlaybackSound>& out, const QString& strPath, int nBuffers)
{
    out.reset();
    if (!m_pDevice)
        return CO_E_NOTINITIALIZED;
    if (strPath.isEmpty() || nBuffers < 1)
        return E_INVALIDARG;
    auto pFile = std::make_unique<CRiffWaveFile>();
    HResult hr = pFile->Open(QFile::encodeName(strPath).toStdString(), nullptr, CRiffWaveFile::kModeRead);
    if (Failed(hr))
        return hr;
    const WaveFormat* pFormat = pFile->GetFormat();
    const std::uint32_t nSize = pFile->GetDataSize();
    if (nSize == 0 || !pFormat || pFormat->formatTag != WaveFormat::kTagPcm || pFormat->channels != 1 ||
        (pFormat->bitsPerSample != 8 && pFormat->bitsPerSample != 16)) {
        pFile->Close();
        return E_FAIL;
    }
    const SoundFormat format = SoundFormat::Pcm(1, pFormat->samplesPerSec, pFormat->bitsPerSample);
    // A data chunk that ends in half a frame is played without that byte.
    const std::uint32_t nBufferSize = nSize - nSize % format.m_nBlockAlign;
    if (nBufferSize == 0) {
        pFile->Close();
        return E_FAIL;
    }
    std::vector<std::unique_ptr<PlaybackBuffer>> aBuffers;
    for (int i = 0; i < nBuffers; ++i) {
        std::unique_ptr<PlaybackBuffer> pBuffer;
        hr = m_pDevice->CreateStaticBuffer(nBufferSize, format, pBuffer);
        if (Failed(hr) || !pBuffer) {
            pFile->Close();
            return Failed(hr) ? hr : E_FAIL;
        }
        aBuffers.push_back(std::move(pBuffer));
    }
    out = std::make_unique<CPlaybackSound>(std::move(aBuffers), nBufferSize, std::move(pFile));
    return S_OK;
}

HResult CPlaybackManager::Create(const QString& strPath, std::unique_ptr<CPlaySound>& out)
{
    std::unique_ptr<CPlaybackSound> pSound;
    const HResult hr = Create(pSound, strPath, 1);
    out = std::move(pSound);
    return hr;
}
