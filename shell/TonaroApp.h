// The application object: every profile setting and the ten placements (as
// CProfileSettings), the document, the main frame, start-up in the order of
// InitInstance, the idle handler, the program's commands and the shutdown.
#pragma once

#include "DocumentHost.h"
#include "ProfileSettings.h"
#include "TonaroDoc.h"
#include "WindowKinds.h"

#include <QStringList>
#include <array>
#include <memory>

class CChildFrame;
class CMainFrame;
class CSoundDialogs;
class CTonaroAudio;
class SoundSystem;
class CProfileDialogs;
class CSplitterFrame;

class CTonaroApp : public CProfileSettings, public CDocumentHost {
public:
    CTonaroApp();
    ~CTonaroApp() override;
    CTonaroApp(const CTonaroApp&) = delete;
    CTonaroApp& operator=(const CTonaroApp&) = delete;

    // Start-up: strProfileWord is the command line's one word ("Grundschule",
    // a user profile name, or empty for the start dialogs).  False: end the program.
    bool InitInstance(const QString& strProfileWord);
    // Runs from the main frame's 100 ms idle timer.
    void OnIdle();
    // Closes the windows and the document, then writes the last-used profile
    // when a profile was read.  Returns the exit code.
    int ExitInstance();

    // The dialogs that choose and name profiles (Qt ones unless a test sets others; not owned).
    void SetProfileDialogs(CProfileDialogs* pDialogs) { m_pDialogs = pDialogs; }
    // The sound back-end (PortAudio unless a test sets another before InitInstance)
    // and the two sound dialogs (Qt ones unless a test sets others; not owned).
    void SetSoundSystem(std::unique_ptr<SoundSystem> pSystem);
    void SetSoundDialogs(CSoundDialogs* pDialogs) { m_pSoundDialogs = pDialogs; }

    // Commands by number.  bAccelerator: the command came from a key (Esc
    // cancels, while the Window-menu entry of the same number raises the 3D FFT).
    void Execute(int nId, bool bAccelerator = false);
    CommandState State(int nId);

    // Window commands.
    void ToggleWindow(WindowKind eKind);
    void RaiseWindow(WindowKind eKind);
    void RaiseOverview();
    void CloseBoth3D();
    // Places every open frame again from its stored placement (bStored) or
    // shows/hides it (the overview's frame is left as it is).
    void RelayoutAllWindows(bool bShow, bool bStored);
    CChildFrame* Frame(WindowKind eKind) const;

    // Profiles.
    bool ChooseStartProfile();
    bool ChoosePredefinedProfile();
    bool ChooseSchoolStart();
    void ApplyProfile();
    void OnProfileChoice();
    void OnProfileSave();
    void CollectSettings();
    bool SchoolProfileOn() const { return IniAllgemeinGrundschulprofil != 0; }

    // CDocumentHost
    int NumFFTPointsSetting() const override { return IniDokumentNumFFTPoints; }
    void SetNumFFTPointsSetting(int nPoints) override { IniDokumentNumFFTPoints = nPoints; }
    QString PlayFileSetting() const override { return IniDokumentPlayFile; }
    void SetPlayFileSetting(const QString& strFile) override { IniDokumentPlayFile = strFile; }
    bool StatusBarShown() const override { return IniAllgemeinStatusbar != 0; }
    bool SchoolProfile() const override { return SchoolProfileOn(); }
    void ShowFFTPoints(int nPoints) override;
    void ShowFileName(const QString& strFileName) override;
    void ShowBitsPerSample(int nBits) override;
    void ShowSampleRate(int nRateHz) override;
    void ShowListening(bool bListening) override;
    void ShowRecording(bool bRecording) override;
    void SetDocumentTitle(const QString& strTitle) override;

    CTonaroDoc* m_pDoc = nullptr;                 // the one document
    CMainFrame* m_pMainFrame = nullptr;           // the main window (owned)
    CSplitterFrame* m_pSplitterFrame = nullptr;   // the main wave window
    QString m_strPlaybackDevice = QStringLiteral("Primärer Soundtreiber");
    QString m_strCaptureDevice = QStringLiteral("Primärer Soundaufnahmetreiber");
    bool m_bSoundAvailable = false;               // a sound device answered at start-up
    std::unique_ptr<CTonaroAudio> m_pSoundManager; // devices, sound commands, capture; made with the document
    bool m_bEndRequested = false;                 // a profile change found no profile: the program ends

private:
    void CreateMainWindow();
    void NotAvailable();
    void StartMixer();
    void StartUpdater();
    void CreateSound();
    void OnSoundCard();

    std::unique_ptr<CTonaroDoc> m_doc;
    std::unique_ptr<CProfileDialogs> m_pOwnDialogs;
    CProfileDialogs* m_pDialogs = nullptr;
    std::unique_ptr<SoundSystem> m_pSoundSystem;
    std::unique_ptr<CSoundDialogs> m_pOwnSoundDialogs;
    CSoundDialogs* m_pSoundDialogs = nullptr;
    std::array<bool, kWindowKindCount> m_abOpened{};   // kinds whose window this run opened
};

// The running application object (null before it is made).
CTonaroApp* TheApp();
