#include "Converter.h"

#include "ProgramFlags.h"
#include "UiServices.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QKeyEvent>
#include <QObject>

#include <algorithm>
#include <chrono>
#include <cmath>

namespace {

constexpr std::uint32_t kProgressIntervalMs = 1000;
constexpr std::int64_t kMsPerDay = 86'400'000;

bool s_bRunning = false;   // user-interface thread only

// Marks a conversion as running for its lifetime.
class RunningScope {
public:
    RunningScope() { s_bRunning = true; }
    ~RunningScope() { s_bRunning = false; }
    RunningScope(const RunningScope&) = delete;
    RunningScope& operator=(const RunningScope&) = delete;
};

// Watches every key press of the application while a conversion runs: Esc
// cancels it.  The key goes on to its window, so the program's own cancel
// command sees it too.
class EscapeWatcher : public QObject {
public:
    explicit EscapeWatcher(bool& bCancelled) : m_bCancelled(bCancelled)
    {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->installEventFilter(this);
    }
    ~EscapeWatcher() override
    {
        if (QCoreApplication* app = QCoreApplication::instance())
            app->removeEventFilter(this);
    }
    EscapeWatcher(const EscapeWatcher&) = delete;
    EscapeWatcher& operator=(const EscapeWatcher&) = delete;

protected:
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override
    {
        if (pEvent->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(pEvent)->key() == Qt::Key_Escape) {
            m_bCancelled = true;
            g_bAbort = true;
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    bool& m_bCancelled;
};

QString TwoDigits(std::int64_t n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

} // namespace

bool Converter::IsRunning()
{
    return s_bRunning;
}

std::uint32_t Converter::Tick()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

bool Converter::Run()
{
    if (s_bRunning)
        return false;
    RunningScope running;
    m_bCancelled = false;
    m_nStartTick = Tick();
    if (!BuildGraph()) {
        m_nEndTick = Tick();
        return false;
    }
    // A cancel request left over from before belongs to something else.
    g_bAbort = false;
    m_nDuration = Duration();
    const HResult hr = RunGraph();
    if (!m_bCancelled)
        CheckResult(hr, m_strFailureText);
    m_nEndTick = Tick();
    return !m_bCancelled && Succeeded(hr);
}

// Converts piece by piece.  The first progress text comes before the first
// piece, then one after every second of work; between pieces the window
// messages are dispatched.  An error of a piece ends the loop like the end of
// the source: what was converted is finished, and finishing decides the result.
HResult Converter::RunGraph()
{
    EscapeWatcher escape(m_bCancelled);
    bool bReport = true;
    std::uint32_t nLastReport = Tick();
    for (;;) {
        if (bReport) {
            ReportProgress(CurrentPosition(), m_nStartPos, m_nStopPos);
            nLastReport = Tick();
        }
        if (Step() != S_OK)
            break;
        if (!PumpMessages())
            break;
        if (m_bCancelled || g_bAbort) {
            m_bCancelled = true;
            break;
        }
        bReport = Tick() - nLastReport >= kProgressIntervalMs;
    }
    ReportProgress(CurrentPosition(), m_nStartPos, m_nStopPos);
    const HResult hrStop = StopGraph();
    return m_bCancelled ? kAborted : hrStop;
}

bool Converter::PumpMessages()
{
    QCoreApplication* app = QCoreApplication::instance();
    if (app == nullptr)
        return true;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    return !QCoreApplication::closingDown();
}

bool Converter::ReportProgress(std::int64_t nCurrent, std::int64_t nStart, std::int64_t nStop)
{
    bool bDurationKnown = true;
    if (nStop == kEndOfStream) {
        m_nDuration = Duration();
        bDurationKnown = m_nDuration > 0;
        if (bDurationKnown)
            m_nStopPos = nStop = m_nDuration;
    }
    const QString strText = ProgressText(nCurrent, nStart, nStop, bDurationKnown, Tick() - m_nStartTick);
    if (m_pProgressText)
        *m_pProgressText = strText;
    if (m_fnProgressWindow)
        m_fnProgressWindow();
    return nCurrent < nStop;
}

QString Converter::ProgressText(std::int64_t nCurrent, std::int64_t nStart, std::int64_t nStop, bool bDurationKnown,
                                std::uint32_t nElapsedMs)
{
    const QString strElapsed = FormatDuration(nElapsedMs);
    if (!bDurationKnown || nCurrent < nStart || nStop <= nStart)
        return QStringLiteral("Bitte haben Sie ein wenig Geduld, die Datei wird ins WAV-Format konvertiert.\n"
                              "Benötigt: %1.")
            .arg(strElapsed);
    const double dDone = static_cast<double>(nCurrent - nStart);
    // A length that was only estimated may be passed; the text never says more than 100 %.
    const double dPercent = std::min(100.0, 100.0 * dDone / static_cast<double>(nStop - nStart));
    const QString strPercent = QString::asprintf("%.2f", dPercent);
    if (nCurrent == nStart)
        return QStringLiteral("Completed %1%, elapsed %2.").arg(strPercent, strElapsed);
    const double dRemaining =
        std::max(0.0, std::trunc(nElapsedMs / dDone * static_cast<double>(nStop - nCurrent)));
    return QStringLiteral("Completed %1%, elapsed %2, estimated remaining %3.")
        .arg(strPercent, strElapsed, FormatDuration(static_cast<std::int64_t>(dRemaining)));
}

QString Converter::FormatDuration(std::int64_t nMilliseconds)
{
    if (nMilliseconds <= 0)
        return QStringLiteral("0 sec");
    const std::int64_t nDays = nMilliseconds / kMsPerDay;
    const std::int64_t nHours = nMilliseconds / 3'600'000 % 24;
    const std::int64_t nMinutes = nMilliseconds / 60'000 % 60;
    const std::int64_t nSeconds = nMilliseconds / 1000 % 60;
    if (nDays > 0)
        return QStringLiteral("%1 days %2 h %3 min %4 sec")
            .arg(QString::number(nDays), TwoDigits(nHours), TwoDigits(nMinutes), TwoDigits(nSeconds));
    if (nHours > 0)
        return QStringLiteral("%1 h %2 min %3 sec").arg(TwoDigits(nHours), TwoDigits(nMinutes), TwoDigits(nSeconds));
    if (nMinutes > 0)
        return QStringLiteral("%1 min %2 sec").arg(TwoDigits(nMinutes), TwoDigits(nSeconds));
    if (nSeconds > 0)
        return QStringLiteral("%1 sec").arg(TwoDigits(nSeconds));
    return QStringLiteral("%1 msec").arg(nMilliseconds);
}

bool Converter::CheckResult(HResult hr, const QString& strText, std::source_location where)
{
    if (Succeeded(hr))
        return true;
    const QString strWhere = QStringLiteral("%1,line %2,func %3")
                                 .arg(QFileInfo(QString::fromUtf8(where.file_name())).fileName())
                                 .arg(where.line())
                                 .arg(QString::fromUtf8(where.function_name()));
    Ui().MessageBox(QStringLiteral("Fehler: ") + strText + QStringLiteral(" in: ") + strWhere, kProgramCaption,
                    MsgIcon::Error, MsgButtons::Ok);
    g_bAbort = true;
    return false;
}
