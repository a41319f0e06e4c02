// Base of the sound file converters: runs one conversion to its end on the
// user-interface thread while the windows stay usable, writes a progress text
// at most once a second, stops on Esc, and shows failures in the error box.
// A derived class opens source and destination (BuildGraph) and converts one
// piece per Step.  Positions are in 100-ns units.
#pragma once

#include "ResultCodes.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <limits>
#include <source_location>

class Converter {
public:
    static constexpr std::int64_t kEndOfStream = std::numeric_limits<std::int64_t>::max();
    static constexpr std::int64_t kUnitsPerSecond = 10'000'000;   // 100-ns units
    static constexpr HResult kAborted = static_cast<HResult>(0x80004004u);   // cancelled by the user

    Converter() = default;
    virtual ~Converter() = default;
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Where every progress text goes (the document's text); may be null.
    void SetProgressText(QString* pText) { m_pProgressText = pText; }
    // Called after every progress text to show it; empty: no progress window.
    void SetProgressWindow(std::function<void()> fnShow) { m_fnProgressWindow = std::move(fnShow); }

    // Builds and runs the conversion to its end.  True on success; false on
    // failure (already reported) or when the user cancelled (Cancelled()).
    bool Run();
    bool Cancelled() const { return m_bCancelled; }

    // A conversion is running (it dispatches window messages, so commands can
    // arrive meanwhile).
    static bool IsRunning();

    // "0 sec", "250 msec", "01 min 01 sec", "1 days 01 h 01 min 01 sec".
    static QString FormatDuration(std::int64_t nMilliseconds);
    // The progress text at position current of start .. stop, nElapsedMs after the start.
    static QString ProgressText(std::int64_t nCurrent, std::int64_t nStart, std::int64_t nStop,
                                bool bDurationKnown, std::uint32_t nElapsedMs);
    // Failure codes (negative) show "Fehler: <text> in: <file>,line <n>,func <name>"
    // with a stop icon and set g_bAbort.  True when hr is a success code.
    static bool CheckResult(HResult hr, const QString& strText = {},
                            std::source_location where = std::source_location::current());

protected:
    // Opens source and destination; false when that failed (reported).
    virtual bool BuildGraph() = 0;
    // Converts the next piece: S_OK more to come, S_FALSE the end, a failure code on error.
    virtual HResult Step() = 0;
    // Finishes the destination; its result is the result of the run.
    virtual HResult StopGraph() = 0;
    virtual std::int64_t CurrentPosition() const = 0;
    // Length of the source, 0 or less when unknown.
    virtual std::int64_t Duration() const = 0;

    // Text of the error box when the run fails (Step or StopGraph); the first one given is kept.
    void SetFailureText(const QString& strText)
    {
        if (m_strFailureText.isEmpty())
            m_strFailureText = strText;
    }

    // Makes the progress text; answers whether the end is not reached yet.
    bool ReportProgress(std::int64_t nCurrent, std::int64_t nStart, std::int64_t nStop);

private:
    HResult RunGraph();
    static bool PumpMessages();
    static std::uint32_t Tick();

    QString* m_pProgressText = nullptr;
    std::function<void()> m_fnProgressWindow;
    std::int64_t m_nStartPos = 0;              // 100 ns
    std::int64_t m_nStopPos = kEndOfStream;    // 100 ns; the duration once it is known
    std::int64_t m_nDuration = kEndOfStream;   // 100 ns
    std::uint32_t m_nStartTick = 0;            // ms of a monotonic clock (wraps)
    std::uint32_t m_nEndTick = 0;
    bool m_bCancelled = false;
    QString m_strFailureText;
};
