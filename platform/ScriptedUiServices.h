// User-interface services for tests: every call is recorded, answers come from
// queues the test fills.  With an empty queue it answers a fixed default and
// marks the call as defaulted: a message box answers its first button (IDOK,
// IDYES, IDRETRY or IDABORT), file and colour dialogs are cancelled.  Beep
// returns at once.
#pragma once

#include "UiServices.h"

#include <QStringList>

#include <deque>
#include <functional>
#include <vector>

enum class UiCallKind { MessageBox, OpenFile, SaveFile, ChooseColour, WaitCursorOn, WaitCursorOff, Beep,
                        ListChoice, WaveParameters, ProgressShow, ProgressText, ProgressClose };

struct UiCall {
    UiCallKind m_eKind = UiCallKind::MessageBox;
    // MessageBox
    QString m_strText;
    QString m_strCaption;
    MsgIcon m_eIcon = MsgIcon::None;
    MsgButtons m_eButtons = MsgButtons::Ok;
    int m_nAnswer = 0;
    // OpenFile, SaveFile
    FileDialogRequest m_fileRequest;
    FileDialogResult m_fileResult;
    // ChooseColour
    ColourRef m_clrInitial = 0;
    std::optional<ColourRef> m_colourResult;
    // ListChoice: the index the dialog opened at, the index answered
    int m_nIndex = 0;
    int m_nChoice = 0;
    // Beep
    int m_nFrequencyHz = 0;
    int m_nDurationMs = 0;
    // The queue was empty and the default answer was given.
    bool m_bDefaulted = false;
    // WaveParameters: what the dialog showed and what it answered
    WaveParameterInfo m_waveInfo;
    WaveParameterAnswer m_waveAnswer;
    // ProgressShow: the window was made visible; ProgressText: m_strText holds the text
    bool m_bVisible = false;
};

class ScriptedUiServices : public UiServices {
public:
    int MessageBox(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<ColourRef> ChooseColour(ColourRef initial) override;
    bool Beep(int frequencyHz, int durationMs) override;
    int FftSettingsDialog(int nCurrentIndex) override;
    // The wave parameter dialog answers from its queue; with an empty queue it
    // answers OK with "Links" when OK is enabled, else Cancel.  A queued OK is
    // turned into Cancel when the dialog has OK disabled, as a user could not press it.
    WaveParameterAnswer WaveParameterDialog(const WaveParameterInfo& info) override;
    void ShowProgressWindow(bool bVisible) override;
    void SetProgressText(const QString& text) override;
    void CloseProgressWindow() override;

    // Answers, used in order by the next calls of their kind.
    void QueueMessageAnswer(int answer) { m_aMessageAnswers.push_back(answer); }
    // Open and save dialogs share one queue.
    void QueueFile(const QString& path, int filterIndex = 1) { m_aFileAnswers.push_back({true, path, filterIndex}); }
    void QueueFileCancel() { m_aFileAnswers.push_back({}); }
    void QueueColour(ColourRef colour) { m_aColourAnswers.push_back(colour); }
    void QueueColourCancel() { m_aColourAnswers.push_back(std::nullopt); }
    // Index (or kDialogCancelled) answered by the next choice dialog; with an
    // empty queue the dialog is cancelled.
    void QueueListChoice(int nIndex) { m_aListAnswers.push_back(nIndex); }
    void QueueWaveParameters(bool bOk, int nChannelChoice) { m_aWaveAnswers.push_back({bOk, nChannelChoice}); }
    // Called from within the progress text call, e.g. to press Esc while a conversion runs.
    void SetOnProgressText(std::function<void(const QString&)> fn) { m_fnOnProgressText = std::move(fn); }

    const std::vector<UiCall>& Calls() const { return m_aCalls; }
    std::vector<UiCall> CallsOf(UiCallKind kind) const;
    // Texts of all message boxes shown, in order.
    QStringList MessageTexts() const;
    void ClearCalls() { m_aCalls.clear(); }

    // The answer given to a message box when nothing is queued: its first button.
    static int DefaultAnswer(MsgButtons buttons);

protected:
    void ShowWaitCursor(bool show) override;

private:
    FileDialogResult FileDialog(UiCallKind kind, const FileDialogRequest& request);

    std::vector<UiCall> m_aCalls;
    std::deque<int> m_aMessageAnswers;
    std::deque<FileDialogResult> m_aFileAnswers;
    std::deque<std::optional<ColourRef>> m_aColourAnswers;
    std::deque<int> m_aListAnswers;
    std::deque<WaveParameterAnswer> m_aWaveAnswers;
    std::function<void(const QString&)> m_fnOnProgressText;
};
