#include "SoundInterfaces.h"

#include "UiServices.h"

int CSoundInterfaces::InitDirectSoundInterfaces(bool bQuiet)
{
    ReleaseDirectSoundInterfaces();
    m_strLastFailure.clear();
    auto fail = [this, bQuiet](const char* text) {
        m_strLastFailure = QString::fromLatin1(text);
        if (!bQuiet)
            Ui().Message(m_strLastFailure);
        return 1;
    };
    std::unique_ptr<PlaybackDevice> pPlayback;
    if (Failed(m_system.CreatePlaybackDevice(m_strPlaybackGuid, pPlayback)) || !pPlayback)
        return fail("FAIL: DirectSoundCreate8 in InitDirectSoundInterfaces");
    m_pDirectSound = std::move(pPlayback);
    std::unique_ptr<CaptureDevice> pCapture;
    if (Failed(m_system.CreateCaptureDevice(m_strCaptureGuid, pCapture)) || !pCapture) {
        ReleaseDirectSoundInterfaces();
        return fail("FAIL: DirectSoundCaptureCreate8 in InitDirectSoundInterfaces");
    }
    m_pDirectSoundCapture = std::move(pCapture);
    if (Failed(m_pDirectSound->SetCooperativeLevel(nullptr, 2))) {
        ReleaseDirectSoundInterfaces();
        return fail("FAIL: SetCooperativeLevel in InitDirectSoundInterfaces");
    }
    // The last format the output takes is the best (highest rate and width).
    int nBest = 0;
    WaveFormat format;
    for (int i = 0; i < kSoundFormatCount; ++i) {
        MakeFormat(i, format);
        if (SetPrimaryBufferFormat(1, format.samplesPerSec, format.bitsPerSample) == 0)
            nBest = i;
    }
    MakeFormat(nBest, format);
    // An output that takes none of them still plays: every playback buffer
    // carries its own format.
    m_nPrimaryFormat = SetPrimaryBufferFormat(1, format.samplesPerSec, format.bitsPerSample) == 0 ? nBest : -1;
    m_pSoundManager = std::make_unique<CPlaybackManager>(m_pDirectSound);
    return 0;
}

void CSoundInterfaces::ReleaseDirectSoundInterfaces()
{
    m_nPrimaryFormat = -1;
    m_pSoundManager.reset();
    m_pDirectSoundCapture.reset();
    m_pDirectSound.reset();
}

HResult CSoundInterfaces::SetPrimaryBufferFormat(int nChannels, std::uint32_t nRateHz, int nBits)
{
    if (!m_pDirectSound)
        return CO_E_NOTINITIALIZED;
    const SoundFormat format = SoundFormat::Pcm(static_cast<std::uint16_t>(nChannels), nRateHz,
                                                static_cast<std::uint16_t>(nBits));
    return m_pDirectSound->SetPrimaryFormat(format) == S_OK ? 0 : 1;
}

std::array<bool, kSoundFormatCount> CSoundInterfaces::ScanAvailableInputFormats()
{
    std::array<bool, kSoundFormatCount> abAvailable{};
    if (!m_pDirectSoundCapture)
        return abAvailable;
    WaitCursorScope wait;
    WaveFormat format;
    for (int i = 0; i < kSoundFormatCount; ++i) {
        MakeFormat(i, format);
        std::unique_ptr<CaptureBuffer> pBuffer;
        // A one-second ring tells whether the input takes the format; it is dropped at once.
        abAvailable[static_cast<std::size_t>(i)] =
            Succeeded(m_pDirectSoundCapture->CreateCaptureBuffer(format.avgBytesPerSec, ToSoundFormat(format), pBuffer))
            && pBuffer;
    }
    return abAvailable;
}
