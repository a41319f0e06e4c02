// What code without a window needs from the user interface: message boxes,
// file and colour dialogs, the wait cursor and a tone.  The application
// installs the Qt implementation at start-up, tests a scripted one; Ui()
// reaches whichever is installed.
#pragma once

#include "Colour.h"

#include <QString>

#include <optional>

enum class MsgIcon { None, Information, Warning, Error, Question };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };

// Answers of a message box; the values are the ones stored in profiles and members.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDABORT = 3;
inline constexpr int IDRETRY = 4;
inline constexpr int IDIGNORE = 5;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// Answer of a choice dialog that was cancelled.
inline constexpr int kDialogCancelled = -1;

// Caption of the program's own message boxes.
inline const QString kProgramCaption = QStringLiteral("Tonaro");

// Options of the file dialogs, combined by "|".
namespace FileDialogFlag {
inline constexpr unsigned OverwritePrompt = 0x2;     // ask before a save replaces a file
inline constexpr unsigned HideReadOnly = 0x4;
inline constexpr unsigned PathMustExist = 0x800;
inline constexpr unsigned FileMustExist = 0x1000;    // open: only existing files
inline constexpr unsigned NoReadOnlyReturn = 0x8000;
inline constexpr unsigned Resizable = 0x800000;      // every dialog here is resizable
} // namespace FileDialogFlag

struct FileDialogRequest {
    QString m_strTitle;
    // Pairs of description and patterns separated by '|', ending with "||",
    // e.g. "WAV - Standardwavefiles|*.wav|Alle Dateien|*.*||".
    QString m_strFilter;
    int m_nFilterIndex = 1;      // filter chosen at the start, counted from 1
    QString m_strDefaultExt;     // "wav" or ".wav": added to a name typed without extension
    QString m_strInitialPath;    // a file name, a folder, or a folder and file name
    unsigned m_nFlags = 0;       // FileDialogFlag values
};

struct FileDialogResult {
    bool m_bOk = false;          // false: the user cancelled
    QString m_strPath;
    int m_nFilterIndex = 0;      // filter chosen, counted from 1
};

// What the wave parameter dialog shows of a file being read.
struct WaveParameterInfo {
    QString m_strFileName;
    QString m_strChannels;       // "Mono", "Stereo" or "?"
    int m_nSampleRate = 0;       // Hz
    int m_nBitsPerSample = 0;    // bits of one sample
    QString m_strFormatTag;      // "PCM" or "?"

    bool IsStereo() const { return m_strChannels != QStringLiteral("Mono"); }
    // Only files of at most 16 bits can be read; wider ones may only be cancelled.
    bool OkEnabled() const { return m_nBitsPerSample <= 16; }
    QString HintText() const
    {
        if (!OkEnabled())
            return QStringLiteral("Problem: Die Auflösung dieser Wavedatei ist mehr als 16-Bit. Sie kann daher "
                                  "leider nicht geladen werden !");
        if (IsStereo())
            return QStringLiteral("Hinweis: Dies ist ein Stereo-File. Da dieses Programm nur einkanalige Waves "
                                  "verarbeiten kann, wählen Sie bitte den linken oder rechten Kanal zur weiteren "
                                  "Verwendung aus.");
        return QStringLiteral("Hinweis: Alles prima.");
    }
};

// Answer of the wave parameter dialog.
struct WaveParameterAnswer {
    bool m_bOk = false;          // false: cancelled
    int m_nChannelChoice = 1;    // 1 = "Links" selected, 0 = "Rechts"
};

class UiServices {
public:
    virtual ~UiServices() = default;

    // Shows a modal message box; returns IDOK .. IDNO.
    virtual int MessageBox(const QString& text, const QString& caption, MsgIcon icon, MsgButtons buttons) = 0;
    // OK box with the program's caption.
    int Message(const QString& text, MsgIcon icon = MsgIcon::None)
    {
        return MessageBox(text, kProgramCaption, icon, MsgButtons::Ok);
    }

    virtual FileDialogResult OpenFileDialog(const FileDialogRequest& request) = 0;
    virtual FileDialogResult SaveFileDialog(const FileDialogRequest& request) = 0;

    // Colour dialog opened with initial; nothing when cancelled.
    virtual std::optional<ColourRef> ChooseColour(ColourRef initial) = 0;

    // The FFT settings dialog ("FFT Einstellungen"): a list of the twelve
    // sizes 256 .. 524288 opened at nCurrentIndex; returns the chosen index
    // 0 .. 11, or kDialogCancelled.
    virtual int FftSettingsDialog(int nCurrentIndex) = 0;

    // The wave parameter dialog ("Waveparameter kontrollieren ..."): the file's
    // format, the hint of WaveParameterInfo, and for a stereo file the choice of
    // "Links" (preselected) or "Rechts".
    virtual WaveParameterAnswer WaveParameterDialog(const WaveParameterInfo& info) = 0;

    // The modeless progress window of a file import (a single text, first
    // "Fortschritt"), placed in the middle of the main window.  Show makes it
    // (visible or hidden); the text may change any number of times; Close
    // destroys it.  Calls without a window are ignored.
    virtual void ShowProgressWindow(bool bVisible) = 0;
    virtual void SetProgressText(const QString& text) = 0;
    virtual void CloseProgressWindow() = 0;

    // Wait cursor, counted: shown from the first Begin to the matching last End.
    // An End without a Begin is ignored.
    void BeginWaitCursor();
    void EndWaitCursor();
    int WaitCursorDepth() const { return m_nWaitDepth; }

    // Sine tone of frequencyHz (37 .. 32767) for durationMs (>= 0); blocks the
    // caller for the duration.  Returns false when the arguments are out of range
    // (no sound, no wait).
    virtual bool Beep(int frequencyHz, int durationMs) = 0;
    static bool BeepArgumentsValid(int frequencyHz, int durationMs)
    {
        return frequencyHz >= 37 && frequencyHz <= 32767 && durationMs >= 0;
    }

protected:
    // Shows or hides the wait cursor (called at the outer Begin and End only).
    virtual void ShowWaitCursor(bool show) = 0;

private:
    int m_nWaitDepth = 0;
};

// The installed services; before anything is installed, a scripted instance
// that gives the default answers (see ScriptedUiServices).
UiServices& Ui();
// Installs services (not owned; nullptr goes back to the default instance).
void SetUiServices(UiServices* services);

// Shows the wait cursor for the life of the object.
class WaitCursorScope {
public:
    WaitCursorScope() : m_ui(Ui()) { m_ui.BeginWaitCursor(); }
    ~WaitCursorScope() { m_ui.EndWaitCursor(); }
    WaitCursorScope(const WaitCursorScope&) = delete;
    WaitCursorScope& operator=(const WaitCursorScope&) = delete;

private:
    UiServices& m_ui;
};
