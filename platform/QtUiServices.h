// The user-interface services of the running program: Qt message boxes with
// German buttons, Qt file and colour dialogs, the override wait cursor, and a
// sine beep on the sound output (the desktop's beep when no output opens).
#pragma once

#include "ProgressWindow.h"
#include "SineBeeper.h"
#include "UiServices.h"

#include <QPointer>
#include <QWidget>

class QtUiServices : public UiServices {
public:
    explicit QtUiServices(QWidget* parent = nullptr) : m_pParent(parent) {}

    // Window the dialogs belong to (the main frame); may be null.
    void SetParentWidget(QWidget* parent) { m_pParent = parent; }

    int MessageBox(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons) override;
    FileDialogResult OpenFileDialog(const FileDialogRequest& request) override;
    FileDialogResult SaveFileDialog(const FileDialogRequest& request) override;
    std::optional<ColourRef> ChooseColour(ColourRef initial) override;
    bool Beep(int frequencyHz, int durationMs) override;
    int FftSettingsDialog(int nCurrentIndex) override;
    WaveParameterAnswer WaveParameterDialog(const WaveParameterInfo& info) override;
    void ShowProgressWindow(bool bVisible) override;
    void SetProgressText(const QString& text) override;
    void CloseProgressWindow() override;

protected:
    void ShowWaitCursor(bool show) override;

private:
    FileDialogResult RunFileDialog(const FileDialogRequest& request, bool save);

    QPointer<QWidget> m_pParent;
    SineBeeper m_beeper;
    QPointer<CProgressWindow> m_pProgress;
};
