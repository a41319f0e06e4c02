#include "ScriptedUiServices.h"

int ScriptedUiServices::DefaultAnswer(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return IDOK;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return IDYES;
    case MsgButtons::RetryCancel: return IDRETRY;
    case MsgButtons::AbortRetryIgnore: return IDABORT;
    }
    return IDOK;
}

int ScriptedUiServices::MessageBox(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons)
{
    UiCall call;
    call.m_eKind = UiCallKind::MessageBox;
    call.m_strText = text;
    call.m_strCaption = caption;
    call.m_eIcon = icon;
    call.m_eButtons = buttons;
    if (m_aMessageAnswers.empty()) {
        call.m_nAnswer = DefaultAnswer(buttons);
        call.m_bDefaulted = true;
    } else {
        call.m_nAnswer = m_aMessageAnswers.front();
        m_aMessageAnswers.pop_front();
    }
    m_aCalls.push_back(call);
    return call.m_nAnswer;
}

FileDialogResult ScriptedUiServices::FileDialog(UiCallKind kind, const FileDialogRequest& request)
{
    UiCall call;
    call.m_eKind = kind;
    call.m_fileRequest = request;
    if (m_aFileAnswers.empty()) {
        call.m_bDefaulted = true;
    } else {
        call.m_fileResult = m_aFileAnswers.front();
        m_aFileAnswers.pop_front();
    }
    m_aCalls.push_back(call);
    return call.m_fileResult;
}

FileDialogResult ScriptedUiServices::OpenFileDialog(const FileDialogRequest& request)
{
    return FileDialog(UiCallKind::OpenFile, request);
}

FileDialogResult ScriptedUiServices::SaveFileDialog(const FileDialogRequest& request)
{
    return FileDialog(UiCallKind::SaveFile, request);
}

std::optional<ColourRef> ScriptedUiServices::ChooseColour(ColourRef initial)
{
    UiCall call;
    call.m_eKind = UiCallKind::ChooseColour;
    call.m_clrInitial = initial;
    if (m_aColourAnswers.empty()) {
        call.m_bDefaulted = true;
    } else {
        call.m_colourResult = m_aColourAnswers.front();
        m_aColourAnswers.pop_front();
    }
    m_aCalls.push_back(call);
    return call.m_colourResult;
}

bool ScriptedUiServices::Beep(int frequencyHz, int durationMs)
{
    UiCall call;
    call.m_eKind = UiCallKind::Beep;
    call.m_nFrequencyHz = frequencyHz;
    call.m_nDurationMs = durationMs;
    m_aCalls.push_back(call);
    return BeepArgumentsValid(frequencyHz, durationMs);
}

int ScriptedUiServices::FftSettingsDialog(int nCurrentIndex)
{
    UiCall call;
    call.m_eKind = UiCallKind::ListChoice;
    call.m_nIndex = nCurrentIndex;
    call.m_nChoice = kDialogCancelled;
    if (m_aListAnswers.empty()) {
        call.m_bDefaulted = true;
    } else {
        call.m_nChoice = m_aListAnswers.front();
        m_aListAnswers.pop_front();
    }
    m_aCalls.push_back(call);
    return call.m_nChoice;
}

void ScriptedUiServices::ShowWaitCursor(bool show)
{
    UiCall call;
    call.m_eKind = show ? UiCallKind::WaitCursorOn : UiCallKind::WaitCursorOff;
    m_aCalls.push_back(call);
}

std::vector<UiCall> ScriptedUiServices::CallsOf(UiCallKind kind) const
{
    std::vector<UiCall> out;
    for (const UiCall& c : m_aCalls)
        if (c.m_eKind == kind)
            out.push_back(c);
    return out;
}

QStringList ScriptedUiServices::MessageTexts() const
{
    QStringList out;
    for (const UiCall& c : m_aCalls)
        if (c.m_eKind == UiCallKind::MessageBox)
            out << c.m_strText;
    return out;
}

WaveParameterAnswer ScriptedUiServices::WaveParameterDialog(const WaveParameterInfo& info)
{
    UiCall call;
    call.m_eKind = UiCallKind::WaveParameters;
    call.m_waveInfo = info;
    if (m_aWaveAnswers.empty()) {
        call.m_bDefaulted = true;
        call.m_waveAnswer = {info.OkEnabled(), 1};
    } else {
        call.m_waveAnswer = m_aWaveAnswers.front();
        m_aWaveAnswers.pop_front();
        call.m_waveAnswer.m_bOk = call.m_waveAnswer.m_bOk && info.OkEnabled();
    }
    m_aCalls.push_back(call);
    return call.m_waveAnswer;
}

void ScriptedUiServices::ShowProgressWindow(bool bVisible)
{
    UiCall call;
    call.m_eKind = UiCallKind::ProgressShow;
    call.m_bVisible = bVisible;
    m_aCalls.push_back(call);
}

void ScriptedUiServices::SetProgressText(const QString& text)
{
    UiCall call;
    call.m_eKind = UiCallKind::ProgressText;
    call.m_strText = text;
    m_aCalls.push_back(call);
    if (m_fnOnProgressText)
        m_fnOnProgressText(text);
}

void ScriptedUiServices::CloseProgressWindow()
{
    UiCall call;
    call.m_eKind = UiCallKind::ProgressClose;
    m_aCalls.push_back(call);
}
