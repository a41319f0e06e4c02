#include "PlaybackSound.h"

#include "RiffWaveFile.h"

#include <algorithm>
#include <cstring>

CPlaybackSound::CPlaybackSound(std::vector<std::unique_ptr<PlaybackBuffer>> aBuffers, std::uint32_t nBufferSize,
                               std::unique_ptr<CRiffWaveFile> pWaveFile)
    : m_apBuffers(std::move(aBuffers)), m_dwBufferSize(nBufferSize), m_pWaveFile(std::move(pWaveFile))
{
    for (auto& pBuffer : m_apBuffers) {
        FillBufferWithSound(*pBuffer, false);
        pBuffer->SetCurrentPosition(0);
    }
}

CPlaybackSound::~CPlaybackSound()
{
    for (auto& pBuffer : m_apBuffers)
        pBuffer->Stop();
    m_apBuffers.clear();
    if (m_pWaveFile)
        m_pWaveFile->Close();
}

HResult CPlaybackSound::FillBufferWithSound(PlaybackBuffer& buffer, bool bRepeatIfLarger)
{
    if (!m_pWaveFile)
        return CO_E_NOTINITIALIZED;
    HResult hr = buffer.Restore();
    if (Failed(hr))
        return hr;
    const std::uint32_t nSize = buffer.Size();
    SoundLockedRange range;
    hr = buffer.Lock(0, nSize, range);
    if (Failed(hr))
        return hr;
    const std::uint8_t silence = m_pWaveFile->GetFormat() && m_pWaveFile->GetFormat()->bitsPerSample == 8 ? 128 : 0;
    std::uint32_t nFilled = 0;
    if (Succeeded(m_pWaveFile->Rewind()))
        m_pWaveFile->Read(range.m_pFirst, range.m_nFirstBytes, &nFilled);
    if (nFilled > 0 && bRepeatIfLarger) {
        while (nFilled < range.m_nFirstBytes) {
            std::uint32_t nRead = 0;
            if (Failed(m_pWaveFile->Rewind()))
                break;
            m_pWaveFile->Read(range.m_pFirst + nFilled, range.m_nFirstBytes - nFilled, &nRead);
            if (nRead == 0)
                break;
            nFilled += nRead;
        }
    }
    if (nFilled < range.m_nFirstBytes)
        std::memset(range.m_pFirst + nFilled, silence, range.m_nFirstBytes - nFilled);
    return buffer.Unlock(range);
}

HResult CPlaybackSound::Play(bool bLoop)
{
    if (m_apBuffers.empty())
        return CO_E_NOTINITIALIZED;
    // The first buffer that is not playing; when all play, the first one.
    PlaybackBuffer* pChosen = m_apBuffers.front().get();
    for (auto& pBuffer : m_apBuffers) {
        bool bPlaying = false;
        if (Succeeded(pBuffer->GetStatus(bPlaying)) && !bPlaying) {
            pChosen = pBuffer.get();
            break;
        }
    }
    // The device layer never loses a buffer, so Restore only keeps the order
    // of the steps; a refill is not needed.
    const HResult hr = pChosen->Restore();
    if (Failed(hr))
        return hr;
    return pChosen->Play(bLoop);
}

void CPlaybackSound::Stop()
{
    for (auto& pBuffer : m_apBuffers)
        pBuffer->Stop();
}

void CPlaybackSound::Reset()
{
    for (auto& pBuffer : m_apBuffers)
        pBuffer->SetCurrentPosition(0);
}

bool CPlaybackSound::IsPlaying() const
{
    for (const auto& pBuffer : m_apBuffers) {
        bool bPlaying = false;
        if (Succeeded(pBuffer->GetStatus(bPlaying)) && bPlaying)
            return true;
    }
    return false;
}

std::uint32_t CPlaybackSound::GetPosition() const
{
    std::uint32_t nPos = 0;
    if (!m_apBuffers.empty() && Failed(m_apBuffers.front()->GetCurrentPosition(nPos)))
        return 0;
    return nPos;
}

void CPlaybackSound::SetPosition(std::uint32_t nBytes)
{
    if (m_apBuffers.empty() || m_dwBufferSize == 0)
        return;
    // A click at the very right edge asks for the end: keep it on the last frame.
    m_apBuffers.front()->SetCurrentPosition(std::min(nBytes, m_dwBufferSize - 1));
}

PlaybackBuffer* CPlaybackSound::GetBuffer(std::size_t nIndex) const
{
    return nIndex < m_apBuffers.size() ? m_apBuffers[nIndex].get() : nullptr;
}
