// The capture thread: runs a looping capture ring of 16 notification periods,
// turns every notification's bytes into a block of sample values, appends the
// bytes to the recording file while recording is on, and hands a copy of the
// block to the user-interface thread as a queued call, waiting at most 1000 ms
// for it to be taken.  Start and Stop are called on the user-interface thread.
#pragma once

#include "SoundDevice.h"
#include "SoundEvent.h"
#include "WaveFormat.h"

#include <QPointer>
#include <QString>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CRiffWaveFile;
class QObject;

// Runs on the user-interface thread with the block (raw sample values: 16 bit
// -32768 .. 32767, 8 bit 0 .. 255) and the path of the recording file.
using CaptureBlockHandler = std::function<void(const std::vector<double>& block, const QString& strFileName)>;

// What the thread is given and what it keeps while it runs.
struct CaptureControlBlock {
    std::vector<double> aBlock;                      // the block of the latest notification
    std::unique_ptr<CRiffWaveFile> pRecordFile;      // the recording file while it is open
    QString strFileName;                             // its path, once made
    QString strRecordPath;                           // where the recording goes ("Aufnahme.wav")
    QPointer<QObject> pNotify;                       // receiver of the queued hand-over (GUI thread)
    std::shared_ptr<SoundEvent> hNotifyEvent;        // automatic reset: signalled at every notification
    std::shared_ptr<SoundEvent> hBlockEvent;         // manual reset: set when the GUI thread took a block
    std::shared_ptr<SoundEvent> hStopEvent;          // manual reset: set to stop the thread
    std::shared_ptr<SoundEvent> hFinishedEvent;      // manual reset: set by the thread as its last action
    WaveFormat format;                               // the capture format
    int nFFTPoints = 0;                              // FFT size at the start
    std::shared_ptr<CaptureDevice> pCaptureDevice;   // the input the ring is made on
    std::unique_ptr<CaptureBuffer> pCaptureBuffer;   // the ring, while the thread runs
};

// Counters of one run, readable from any thread.
struct CaptureStatistics {
    std::atomic<std::uint64_t> nBlocksHandedOver{0};  // blocks the GUI thread took in time
    std::atomic<std::uint64_t> nBlocksDropped{0};     // blocks not taken within 1000 ms
    std::atomic<std::uint64_t> nSamplesInBlocks{0};   // samples of all blocks sent
    std::atomic<std::uint64_t> nBytesRecorded{0};     // bytes written to the recording file
    std::atomic<std::uint64_t> nFlushes{0};           // header updates of the recording file
    std::atomic<std::uint64_t> nHandOverMicros{0};    // sum over taken blocks: notification to block taken, us
    std::atomic<std::uint64_t> nHandOverMicrosMax{0}; // the longest of them, us
};

class CCaptureThread {
public:
    static constexpr int kHandOverWaitMs = 1000;

    CCaptureThread();
    ~CCaptureThread();
    CCaptureThread(const CCaptureThread&) = delete;
    CCaptureThread& operator=(const CCaptureThread&) = delete;

    // Bytes per notification: the FFT size lowered to a whole number of frames.
    static std::uint32_t NotificationSize(int nFFTPoints, int nBlockAlign);

    // Starts the thread.  pNotify lives on the GUI thread; handler runs there.
    void StartCaptureThread(std::shared_ptr<CaptureDevice> pDevice, const WaveFormat& format, int nFFTPoints,
                            const QString& strRecordPath, QObject* pNotify, CaptureBlockHandler handler);
    // Wakes and stops the thread and waits for it without limit (the thread
    // gives up a pending hand-over as soon as it is told to stop).  Blocks
    // still queued for the GUI thread are then dropped unseen.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }
    // The ring of the running thread captures (false before it started and after Stop).
    bool IsCapturing() const { return m_bCapturing.load(); }

    const CaptureStatistics& Statistics() const { return m_stats; }
    // Byte size of the ring of the running (or last) thread.
    std::uint32_t BufferSize() const { return m_nBufferSize; }
    std::uint32_t NotifySize() const { return m_nNotifySize; }

private:
    void CaptureThread();
    bool ReadCaptureData();
    bool WriteRecording(const std::uint8_t* pData, std::uint32_t nBytes);
    void PostMessage(const QString& strText);

    CaptureControlBlock m_params;
    CaptureBlockHandler m_handler;
    std::shared_ptr<std::atomic<bool>> m_pAccepting;   // false once Stop began: late blocks are dropped
    std::thread m_thread;
    std::atomic<bool> m_bCapturing{false};
    std::uint32_t m_nNotifySize = 0;       // bytes per notification (S)
    std::uint32_t m_nBufferSize = 0;       // bytes of the ring (16 x S)
    std::uint32_t m_nNextReadOffset = 0;   // bytes; where the next block starts in the ring
    std::uint64_t m_nBytesSinceFlush = 0;  // bytes written since the last header update
    std::int64_t m_nLastFlushMs = 0;       // steady clock of the last header update
    CaptureStatistics m_stats;
};
