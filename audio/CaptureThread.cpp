#include "CaptureThread.h"

#include "ProgramFlags.h"
#include "RiffWaveFile.h"
#include "SoundFormats.h"
#include "UiServices.h"

#include <QFile>
#include <QMetaObject>
#include <QObject>

#include <chrono>

namespace {

std::int64_t SteadyMs()
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Appends the sample values of nBytes of captured sound to aBlock.
void AppendSamples(std::vector<double>& aBlock, const std::uint8_t* pData, std::uint32_t nBytes, bool b8Bit)
{
    if (b8Bit) {
        for (std::uint32_t i = 0; i < nBytes; ++i)
            aBlock.push_back(static_cast<double>(pData[i]));
        return;
    }
    for (std::uint32_t i = 0; i + 1 < nBytes; i += 2) {
        const auto value = static_cast<std::int16_t>(static_cast<std::uint16_t>(pData[i]) |
                                                     (static_cast<std::uint16_t>(pData[i + 1]) << 8));
        aBlock.push_back(static_cast<double>(value));
    }
}

} // namespace

CCaptureThread::CCaptureThread()
{
    m_params.hNotifyEvent = std::make_shared<SoundEvent>(false, false);
    m_params.hBlockEvent = std::make_shared<SoundEvent>(true, false);
    m_params.hStopEvent = std::make_shared<SoundEvent>(true, false);
    m_params.hFinishedEvent = std::make_shared<SoundEvent>(true, false);
}

CCaptureThread::~CCaptureThread()
{
    Stop();
}

std::uint32_t CCaptureThread::NotificationSize(int nFFTPoints, int nBlockAlign)
{
    if (nFFTPoints <= 0 || nBlockAlign <= 0)
        return 0;
    return static_cast<std::uint32_t>(nFFTPoints - nFFTPoints % nBlockAlign);
}

void CCaptureThread::StartCaptureThread(std::shared_ptr<CaptureDevice> pDevice, const WaveFormat& format,
                                        int nFFTPoints, const QString& strRecordPath, QObject* pNotify,
                                        CaptureBlockHandler handler)
{
    Stop();
    m_params.pCaptureDevice = std::move(pDevice);
    m_params.format = format;
    m_params.nFFTPoints = nFFTPoints;
    m_params.strRecordPath = strRecordPath;
    m_params.strFileName.clear();
    m_params.pNotify = pNotify;
    m_params.hStopEvent->Reset();
    m_params.hFinishedEvent->Reset();
    m_params.hNotifyEvent->Reset();
    m_handler = std::move(handler);
    m_pAccepting = std::make_shared<std::atomic<bool>>(true);
    for (auto* counter : {&m_stats.nBlocksHandedOver, &m_stats.nBlocksDropped, &m_stats.nSamplesInBlocks,
                          &m_stats.nBytesRecorded, &m_stats.nFlushes, &m_stats.nHandOverMicros,
                          &m_stats.nHandOverMicrosMax})
        counter->store(0);
    m_thread = std::thread([this] { CaptureThread(); });
}

void CCaptureThread::Stop()
{
    if (!m_thread.joinable())
        return;
    if (m_pAccepting)
        m_pAccepting->store(false);
    m_params.hNotifyEvent->Set();
    m_params.hStopEvent->Set();
    m_params.hFinishedEvent->Wait(SoundEvent::kInfinite);
    m_thread.join();
}

void CCaptureThread::PostMessage(const QString& strText)
{
    // Message boxes belong to the GUI thread: the text is shown from there.
    if (QObject* pNotify = m_params.pNotify.data())
        QMetaObject::invokeMethod(pNotify, [strText] { Ui().Message(strText); }, Qt::QueuedConnection);
}

void CCaptureThread::CaptureThread()
{
    CaptureControlBlock& p = m_params;
    m_nNotifySize = NotificationSize(p.nFFTPoints, p.format.blockAlign);
    m_nBufferSize = kCaptureNotificationCount * m_nNotifySize;
    m_nNextReadOffset = 0;
    p.pRecordFile.reset();

    bool bRingReady = false;
    if (!p.pCaptureDevice || m_nNotifySize == 0 ||
        Failed(p.pCaptureDevice->CreateCaptureBuffer(m_nBufferSize, ToSoundFormat(p.format), p.pCaptureBuffer)) ||
        !p.pCaptureBuffer) {
        PostMessage(QStringLiteral("CreateCaptureBuffer IN: CaptureThread"));
    } else {
        std::vector<std::uint32_t> aOffsets;
        for (int k = 1; k <= kCaptureNotificationCount; ++k)
            aOffsets.push_back(static_cast<std::uint32_t>(k) * m_nNotifySize - 1);
        if (Failed(p.pCaptureBuffer->SetNotificationPositions(aOffsets, p.hNotifyEvent)))
            PostMessage(QStringLiteral("SetNotificationPositions"));
        else if (Failed(p.pCaptureBuffer->Start(true)))
            PostMessage(QStringLiteral("Start IN: CaptureThread"));
        else
            bRingReady = true;
    }
    m_bCapturing = bRingReady;

    bool bFirst = true;
    while (g_bListening) {
        if (g_bRecording && bFirst) {
            p.pRecordFile = std::make_unique<CRiffWaveFile>();
            if (Failed(p.pRecordFile->Open(QFile::encodeName(p.strRecordPath).toStdString(), &p.format,
                                           CRiffWaveFile::kModeWrite))) {
                p.pRecordFile.reset();
                PostMessage(QStringLiteral("Cannot create wave file."));
            }
            p.strFileName = p.strRecordPath;
            m_nBytesSinceFlush = 0;
            m_nLastFlushMs = SteadyMs();
            bFirst = false;
        }
        if (!p.hNotifyEvent->Wait(SoundEvent::kInfinite) || p.hStopEvent->Wait(0))
            break;
        if (!bRingReady)
            continue;
        const auto woken = std::chrono::steady_clock::now();
        p.aBlock.clear();
        p.hBlockEvent->Reset();
        if (!ReadCaptureData())
            continue;

        // The queued call owns its copy of the block, so a call that runs after
        // the wait was given up never touches the thread's arrays.
        QObject* pNotify = p.pNotify.data();
        if (!pNotify)
            continue;
        m_stats.nSamplesInBlocks += p.aBlock.size();
        auto pAccepting = m_pAccepting;
        auto pTaken = p.hBlockEvent;
        QMetaObject::invokeMethod(
            pNotify,
            [handler = m_handler, block = p.aBlock, file = p.strFileName, pAccepting, pTaken] {
                if (pAccepting->load() && handler)
                    handler(block, file);
                pTaken->Set();
            },
            Qt::QueuedConnection);
        const int nWoken = SoundEvent::WaitForAny({p.hBlockEvent.get(), p.hStopEvent.get()}, kHandOverWaitMs);
        if (nWoken == 0) {
            const auto nMicros = static_cast<std::uint64_t>(
                std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - woken).count());
            m_stats.nHandOverMicros += nMicros;
            if (nMicros > m_stats.nHandOverMicrosMax.load())
                m_stats.nHandOverMicrosMax = nMicros;
            ++m_stats.nBlocksHandedOver;
        }
        else if (nWoken == SoundEvent::kTimeout)
            ++m_stats.nBlocksDropped;
    }

    m_bCapturing = false;
    if (p.pCaptureBuffer)
        p.pCaptureBuffer->Stop();
    if (p.pRecordFile) {
        p.pRecordFile->Close();
        p.pRecordFile.reset();
    }
    p.pCaptureBuffer.reset();
    p.aBlock.clear();
    p.hFinishedEvent->Set();
}

bool CCaptureThread::WriteRecording(const std::uint8_t* pData, std::uint32_t nBytes)
{
    CRiffWaveFile& file = *m_params.pRecordFile;
    std::uint32_t nWritten = 0;
    if (Failed(file.Write(nBytes, pData, &nWritten)) || nWritten != nBytes)
        return false;
    m_stats.nBytesRecorded += nBytes;
    // The header is brought up to date at least twice a second (of sound or of
    // time), so a killed program leaves a valid file with nearly all of it.
    m_nBytesSinceFlush += nBytes;
    const std::int64_t nNow = SteadyMs();
    if (m_nBytesSinceFlush * 2 >= m_params.format.avgBytesPerSec || nNow - m_nLastFlushMs >= 500) {
        if (Succeeded(file.Flush()))
            ++m_stats.nFlushes;
        m_nBytesSinceFlush = 0;
        m_nLastFlushMs = nNow;
    }
    return true;
}

bool CCaptureThread::ReadCaptureData()
{
    CaptureBuffer& ring = *m_params.pCaptureBuffer;
    std::uint32_t nCapture = 0, nRead = 0;
    if (Failed(ring.GetCurrentPosition(nCapture, nRead)))
        return false;
    std::int64_t nSize = static_cast<std::int64_t>(nRead) - m_nNextReadOffset;
    if (nSize < 0)
        nSize += m_nBufferSize;
    nSize -= nSize % m_nNotifySize;
    if (nSize == 0)
        return false;
    SoundLockedRange range;
    if (Failed(ring.Lock(m_nNextReadOffset, static_cast<std::uint32_t>(nSize), range)))
        return false;

    const bool b8Bit = m_params.format.bitsPerSample == 8;
    const bool bWrite = g_bRecording && m_params.pRecordFile;
    bool bOk = true;
    // Both parts of a range that wraps around the ring's end are analysed, so
    // a block is always the whole stretch captured since the last one.
    AppendSamples(m_params.aBlock, range.m_pFirst, range.m_nFirstBytes, b8Bit);
    if (bWrite && !WriteRecording(range.m_pFirst, range.m_nFirstBytes))
        bOk = false;
    m_nNextReadOffset = (m_nNextReadOffset + range.m_nFirstBytes) % m_nBufferSize;
    if (range.m_pSecond && range.m_nSecondBytes > 0) {
        AppendSamples(m_params.aBlock, range.m_pSecond, range.m_nSecondBytes, b8Bit);
        if (bOk && bWrite && !WriteRecording(range.m_pSecond, range.m_nSecondBytes))
            bOk = false;
        m_nNextReadOffset = (m_nNextReadOffset + range.m_nSecondBytes) % m_nBufferSize;
    }
    return Succeeded(ring.Unlock(range)) && bOk;
}
