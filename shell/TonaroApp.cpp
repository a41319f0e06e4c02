#include "TonaroApp.h"

#include "ChildFrames.h"
#include "MainFrame.h"
#include "ProfileDialogs.h"
#include "ProgramFlags.h"
#include "PortAudioSoundDevice.h"
#include "QtProfileDialogs.h"
#include "QtSoundDialogs.h"
#include "SplitterFrame.h"
#include "SystemCheck.h"
#include "TonaroAudio.h"
#include "UiServices.h"

#include <QApplication>
#include <QMdiArea>
#include <QScreen>

namespace {
CTonaroApp* g_pApp = nullptr;
}

CTonaroApp* TheApp()
{
    return g_pApp;
}

CTonaroApp::CTonaroApp()
{
    g_pApp = this;
    if (QGuiApplication::primaryScreen())
        m_rcWorkArea = QGuiApplication::primaryScreen()->availableGeometry();
}

CTonaroApp::~CTonaroApp()
{
    if (m_pMainFrame || m_doc)
        ExitInstance();
    if (g_pApp == this)
        g_pApp = nullptr;
}

bool CTonaroApp::InitInstance(const QString& strProfileWord)
{
    if (!m_pDialogs) {
        m_pOwnDialogs = std::make_unique<CQtProfileDialogs>();
        m_pDialogs = m_pOwnDialogs.get();
    }
    // The profile: from the command line or the start dialogs.
    if (strProfileWord.isEmpty()) {
        if (!ChooseStartProfile())
            return false;
    } else if (strProfileWord == QLatin1String("Grundschule")) {
        m_nProfileKind = kProfileGrundschule;
        if (!ChooseSchoolStart())
            return false;
    } else {
        m_nProfileKind = kProfileUser;
        m_strUserProfileFile = UserProfileFile(strProfileWord);
    }
    if (!ReadProfile())
        return false;

    CreateMainWindow();

    // In place of the DirectX probe: a missing sound device is not fatal, since
    // files can still be analysed; a missing OpenGL only affects the 3D windows.
    const QString sound = SystemCheck::SoundProblem();
    m_bSoundAvailable = sound.isEmpty();
    if (!m_bSoundAvailable)
        Ui().MessageBox(sound + QStringLiteral("\nAbhören, Aufnehmen und Abspielen sind daher nicht möglich; "
                                               "Musikdateien können trotzdem geladen und untersucht werden."),
                        kProgramCaption, MsgIcon::Warning, MsgButtons::Ok);
    const QString gl = SystemCheck::OpenGLProblem();
    if (!gl.isEmpty())
        Ui().MessageBox(gl + QStringLiteral("\nDie 3D-Fenster können nicht angezeigt werden."), kProgramCaption,
                        MsgIcon::Warning, MsgButtons::Ok);

    m_pMainFrame->ApplyPlacement(m_wp[kPlaceMain], m_nProfileKind <= kProfileOberschule);
    ApplyProfile();
    return true;
}

void CTonaroApp::CreateMainWindow()
{
    m_pMainFrame = new CMainFrame(*this);
    m_doc = std::make_unique<CTonaroDoc>(this);
    m_pDoc = m_doc.get();
    m_pDoc->OnNewDocument();
    CreateSound();
    m_pSplitterFrame = new CSplitterFrame(m_pMainFrame, m_pDoc);
    m_pMainFrame->MdiArea()->addSubWindow(m_pSplitterFrame);
    m_pSplitterFrame->resize(600, 400);
    m_pSplitterFrame->show();
}

void CTonaroApp::SetSoundSystem(std::unique_ptr<SoundSystem> pSystem)
{
    m_pSoundSystem = std::move(pSystem);
}

// The sound object serves the document as its playback maker and audio
// control; its devices are opened by the start-up check.
void CTonaroApp::CreateSound()
{
    if (!m_pSoundSystem)
        m_pSoundSystem = std::make_unique<PortAudioSoundSystem>();
    if (!m_pSoundDialogs) {
        m_pOwnSoundDialogs = std::make_unique<CQtSoundDialogs>(m_pMainFrame);
        m_pSoundDialogs = m_pOwnSoundDialogs.get();
    }
    m_pSoundManager = std::make_unique<CTonaroAudio>(*m_pDoc, *m_pSoundSystem, *m_pSoundDialogs);
    m_pSoundManager->SetSchoolProfileQuery([this] { return SchoolProfileOn(); });
    m_pDoc->SetPlaySoundMaker(m_pSoundManager.get());
    m_pDoc->SetAudioControl(m_pSoundManager.get());
}

void CTonaroApp::OnIdle()
{
    g_bAbort = false;
    if (m_pDoc && m_pDoc->m_bClose3DRequest)
        CloseBoth3D();
    g_bSelectionChanged = false;
}

int CTonaroApp::ExitInstance()
{
    if (m_pMainFrame) {
        // Every window stores its placement as it goes; the window-open
        // settings stay as they were, so the next start reopens them.
        for (WindowKind kind : kProfileOpenOrder)
            delete Frame(kind);
        delete m_pSplitterFrame;
        m_pSplitterFrame = nullptr;
    }
    m_doc.reset();   // hands the FFT size and the file name back
    m_pDoc = nullptr;
    m_pSoundManager.reset();   // after the document, which may stop listening through it
    if (m_pMainFrame) {
        delete m_pMainFrame;
        m_pMainFrame = nullptr;
    }
    if (IniDokumentNumFFTPoints != 0) {
        m_nProfileKind = kProfileLastUsed;
        WriteProfile();
    }
    return 0;
}

CChildFrame* CTonaroApp::Frame(WindowKind eKind) const
{
    return m_pDoc ? static_cast<CChildFrame*>(m_pDoc->*KindInfo(eKind).pFrame) : nullptr;
}

void CTonaroApp::ShowFFTPoints(int nPoints)
{
    if (m_pMainFrame)
        m_pMainFrame->OnStatusFFTPoints(nPoints);
}

void CTonaroApp::ShowFileName(const QString& strFileName)
{
    if (m_pMainFrame)
        m_pMainFrame->OnStatusFileName(strFileName);
}

void CTonaroApp::ShowBitsPerSample(int nBits)
{
    if (m_pMainFrame)
        m_pMainFrame->OnStatusBits(nBits);
}

void CTonaroApp::ShowSampleRate(int nRateHz)
{
    if (m_pMainFrame)
        m_pMainFrame->OnStatusRate(nRateHz);
}

void CTonaroApp::ShowListening(bool)
{
    if (m_pMainFrame)
        m_pMainFrame->OnStatusListening();
}

void CTonaroApp::ShowRecording(bool)
{
    if (m_pMainFrame)
        m_pMainFrame->OnStatusRecording();
}

void CTonaroApp::SetDocumentTitle(const QString& strTitle)
{
    if (m_pSplitterFrame)
        m_pSplitterFrame->setWindowTitle(strTitle);
}
