// The application's command routing: what each command number does and when
// it is enabled or checked, and the window commands (toggle, raise, close).
#include "AboutDialog.h"
#include "ChildFrames.h"
#include "HelpWindow.h"
#include "MainFrame.h"
#include "ProgramFlags.h"
#include "ProgramPaths.h"
#include "ShortcutsDialog.h"
#include "SplitterFrame.h"
#include "TonaroApp.h"
#include "TonaroAudio.h"
#include "TonaroOverView.h"
#include "TonaroView.h"
#include "UiServices.h"
#include "ViewExport.h"
#include "resource_ids.h"

#include <QApplication>
#include <QFileInfo>
#include <QMdiArea>
#include <QProcess>
#include <QStatusBar>
#include <QToolBar>

using namespace Res;

namespace {
// The window the picture, data and help commands act on: the active child
// frame's view, or the wave view for the main wave window (and when no child is active).
CExportableView* ActiveExportableView(CMainFrame* pMainFrame, CSplitterFrame* pSplitterFrame)
{
    QMdiSubWindow* active = pMainFrame->MdiArea()->activeSubWindow();
    if (!active || active == pSplitterFrame)
        return pSplitterFrame ? pSplitterFrame->WaveView() : nullptr;
    auto* frame = dynamic_cast<CChildFrame*>(active);
    return frame ? dynamic_cast<CExportableView*>(frame->View()) : nullptr;
}

// Save picture, copy picture, copy data and help for the active window.
// False when the active window does not offer the service.
bool RunViewService(CMainFrame* pMainFrame, CSplitterFrame* pSplitterFrame, int nId, bool bAccelerator)
{
    if (nId == kCmdHelpIndex) {
        Help::ShowIndex();
        return true;
    }
    CExportableView* view = ActiveExportableView(pMainFrame, pSplitterFrame);
    if (nId == kCmdHelp) {
        // F1 opens the active window's page; the menu entry opens the program help.
        if (bAccelerator && view)
            Help::ShowPage(view->ExportInfo().m_strHelpPage);
        else
            Help::ShowContents();
        return true;
    }
    const ViewExportInfo info = view ? view->ExportInfo() : ViewExportInfo{};
    const bool offered = nId == kCmdCopyData ? !info.m_strDataMessage.isEmpty() : !info.m_strSaveTitle.isEmpty();
    if (!offered)
        return false;
    if (nId == kCmdSavePicture)
        ViewExport::SavePicture(*view);
    else if (nId == kCmdEditCopy)
        ViewExport::CopyPicture(*view);
    else
        ViewExport::CopyData(*view);
    return true;
}
} // namespace

void CTonaroApp::NotAvailable()
{
    Ui().MessageBox(QStringLiteral("Diese Funktion steht in dieser Version von Tonaro noch nicht zur Verfügung."),
                    kProgramCaption, MsgIcon::Information, MsgButtons::Ok);
}

void CTonaroApp::Execute(int nId, bool bAccelerator)
{
    if (nId == kCmdCancel && bAccelerator) {
        g_bAbort = true;
        return;
    }
    if (const WindowKindInfo* kind = KindOfToggle(nId))
        return ToggleWindow(kind->eKind);
    if (const WindowKindInfo* kind = KindOfRaise(nId))
        return RaiseWindow(kind->eKind);
    if (!m_pMainFrame || !m_pDoc)
        return;
    switch (nId) {
    case kCmdRaiseOverview: return RaiseOverview();
    case kCmdLoop: return m_pDoc->OnLoop();
    case kCmdRemoveWave: return m_pDoc->OnRemoveWave();
    case kCmdFftSize: return m_pDoc->OnFftSize();
    case kCmdDeleteCaptures:
        m_pDoc->DeleteContents();
        m_pDoc->UpdateAllViews(kHintRefresh);
        return;
    case kCmdViewStatusBar: return m_pMainFrame->ToggleStatusBar();
    case kCmdToolBarNormal: return m_pMainFrame->ToggleNormalBar();
    case kCmdToolBarSchool: return m_pMainFrame->ToggleSchoolBar();
    case kCmdViewToolBar: return m_pMainFrame->ToggleFirstToolBar();
    case kCmdWindowCascade: return m_pMainFrame->MdiArea()->cascadeSubWindows();
    case kCmdWindowTile: return m_pMainFrame->MdiArea()->tileSubWindows();
    case kCmdWindowArrange: return m_pMainFrame->MdiArea()->tileSubWindows();
    case kCmdNextPane: return m_pMainFrame->MdiArea()->activateNextSubWindow();
    case kCmdPrevPane: return m_pMainFrame->MdiArea()->activatePreviousSubWindow();
    case kCmdProfileChoice: return OnProfileChoice();
    case kCmdProfileSave: return OnProfileSave();
    case kCmdAbout: return ShowAboutDialog(m_pMainFrame);
    case kCmdShortcuts: return ShowShortcutsDialog(m_pMainFrame);
    case kCmdMixer: return StartMixer();
    case kCmdUpdate: return StartUpdater();
    case kCmdExit:
        m_pMainFrame->close();
        return;
    case kCmdListen: return m_pSoundManager ? m_pSoundManager->OnListen() : NotAvailable();
    case kCmdPlay: return m_pSoundManager ? m_pSoundManager->OnPlay() : NotAvailable();
    case kCmdStop: return m_pSoundManager ? m_pSoundManager->OnStop() : NotAvailable();
    case kCmdRewind: return m_pSoundManager ? m_pSoundManager->OnRewind() : NotAvailable();
    case kCmdStartRecording: return m_pSoundManager ? m_pSoundManager->StartRecording() : NotAvailable();
    case kCmdStopRecording: return m_pSoundManager ? m_pSoundManager->StopRecording() : NotAvailable();
    case kCmdWaveFormat:
        if (m_pSoundManager)
            m_pSoundManager->OnWaveFormat();
        return;
    case kCmdSoundCard: return OnSoundCard();
    case kCmdOpenWave: return m_pDoc->OnOpenWave();
    case kCmdOpenTimeSeries: return m_pDoc->OnOpenTimeSeries();
    case kCmdSaveRecording: return m_pDoc->OnSaveRecording();
    case kCmdSavePicture:
    case kCmdEditCopy:
    case kCmdCopyData:
    case kCmdHelp:
    case kCmdHelpIndex:
        if (!RunViewService(m_pMainFrame, m_pSplitterFrame, nId, bAccelerator))
            NotAvailable();
        return;
    default:
        // Paste, cut, undo, Space, and the keys of the 3D windows: nothing happens.
        return;
    }
}

CommandState CTonaroApp::State(int nId)
{
    if (!m_pDoc || !m_pMainFrame)
        return {true, false};
    if (const WindowKindInfo* kind = KindOfToggle(nId)) {
        const bool open = m_pDoc->*kind->pFrame != nullptr;
        // A window closed with its close box leaves its setting at 1 until here.
        // Only a window this run opened is concerned: a profile's settings wait
        // for ApplyProfile even when a dialog lets the idle updates run first.
        bool& opened = m_abOpened[static_cast<std::size_t>(kind->eKind)];
        if (!open && opened) {
            this->*kind->pOpenFlag = 0;
            opened = false;
        }
        return {true, open};
    }
    auto doc = [this](DocCommand c) { return m_pDoc->GetCommandState(c); };
    switch (nId) {
    case kCmdPlay: {
        CommandState s = doc(DocCommand::Play);
        s.bEnabled = s.bEnabled && m_bSoundAvailable;
        return s;
    }
    case kCmdStop: return doc(DocCommand::Stop);
    case kCmdLoop: return doc(DocCommand::Loop);
    case kCmdRewind: return doc(DocCommand::Rewind);
    case kCmdRemoveWave: return doc(DocCommand::RemoveWave);
    case kCmdSaveRecording: return doc(DocCommand::SaveRecording);
    case kCmdListen: {
        CommandState s = doc(DocCommand::Listen);
        s.bEnabled = m_bSoundAvailable || g_bListening;
        return s;
    }
    case kCmdStartRecording: return doc(DocCommand::StartRecording);
    case kCmdStopRecording: return doc(DocCommand::StopRecording);
    case kCmdViewStatusBar: return {true, !m_pMainFrame->statusBar()->isHidden()};
    case kCmdToolBarNormal: return {true, !m_pMainFrame->NormalBar()->isHidden()};
    case kCmdToolBarSchool:
    case kCmdViewToolBar: return {true, !m_pMainFrame->SchoolBar()->isHidden()};
    case kCmdDeleteCaptures: {
        // Handled by the main wave window and the windows with results of their own.
        QMdiSubWindow* active = m_pMainFrame->MdiArea()->activeSubWindow();
        const bool handled = !active || active == m_pSplitterFrame || active == Frame(WindowKind::FFT) ||
                             active == Frame(WindowKind::Sono) || active == Frame(WindowKind::FFT3D) ||
                             active == Frame(WindowKind::Reko) || active == Frame(WindowKind::Zeitreihe);
        return {handled, false};
    }
    case kCmdEditCut:
    case kCmdEditPaste:
    case kCmdEditUndo: return {false, false};
    default: return {true, false};
    }
}

void CTonaroApp::ToggleWindow(WindowKind eKind)
{
    if (!m_pDoc || !m_pMainFrame)
        return;
    const WindowKindInfo& info = KindInfo(eKind);
    if (CChildFrame* frame = Frame(eKind)) {
        delete frame;   // stores its placement; its view clears the frame pointer
        m_pDoc->*info.pFrame = nullptr;
        this->*info.pOpenFlag = 0;
        return;
    }
    if (eKind == WindowKind::FFT3D || eKind == WindowKind::Reko)
        m_pDoc->m_bClose3DRequest = false;
    CChildFrame* frame = CreateKindFrame(eKind, m_pMainFrame, m_pDoc);
    if (!frame)
        return;
    m_pMainFrame->MdiArea()->addSubWindow(frame);
    frame->ApplyStoredPlacement();
    frame->show();
    m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
    frame->View()->update();
    m_pDoc->*info.pFrame = frame;
    this->*info.pOpenFlag = 1;
    m_abOpened[static_cast<std::size_t>(eKind)] = true;

    // In the school profile the expensive windows exclude each other.
    if (SchoolProfileOn() && info.nSchoolGroup >= 0) {
        for (const WindowKindInfo& other : WindowKinds()) {
            if (other.nSchoolGroup < 0 || other.eKind == eKind || !Frame(other.eKind))
                continue;
            delete Frame(other.eKind);
            m_pDoc->*other.pFrame = nullptr;
            this->*other.pOpenFlag = 0;
        }
    }
}

void CTonaroApp::RaiseWindow(WindowKind eKind)
{
    if (CChildFrame* frame = Frame(eKind)) {
        frame->raise();
        m_pMainFrame->MdiArea()->setActiveSubWindow(frame);
    }
}

void CTonaroApp::RaiseOverview()
{
    if (m_pSplitterFrame && m_pSplitterFrame->OverView()) {
        m_pSplitterFrame->raise();
        m_pMainFrame->MdiArea()->setActiveSubWindow(m_pSplitterFrame);
    }
}

void CTonaroApp::CloseBoth3D()
{
    for (WindowKind kind : {WindowKind::FFT3D, WindowKind::Reko}) {
        if (CChildFrame* frame = Frame(kind)) {
            delete frame;
            m_pDoc->*KindInfo(kind).pFrame = nullptr;
            this->*KindInfo(kind).pOpenFlag = 0;
        }
    }
}

void CTonaroApp::RelayoutAllWindows(bool bShow, bool bStored)
{
    if (!m_pMainFrame)
        return;
    std::vector<CChildFrame*> frames;
    if (m_pSplitterFrame)
        frames.push_back(m_pSplitterFrame);
    for (const WindowKindInfo& k : WindowKinds())
        if (CChildFrame* f = Frame(k.eKind))
            frames.push_back(f);
    for (CChildFrame* f : frames) {
        if (bStored)
            f->ApplyStoredPlacement();
        else if (f != m_pSplitterFrame)
            f->setVisible(bShow);
    }
}

void CTonaroApp::OnSoundCard()
{
    if (!m_pSoundManager)
        return NotAvailable();
    m_pSoundManager->m_strPlaybackDevice = m_strPlaybackDevice;
    m_pSoundManager->m_strCaptureDevice = m_strCaptureDevice;
    const bool bChosen = m_pSoundManager->OnSoundCard();
    m_strPlaybackDevice = m_pSoundManager->m_strPlaybackDevice;
    m_strCaptureDevice = m_pSoundManager->m_strCaptureDevice;
    if (bChosen)
        m_bSoundAvailable = true;
    else if (!m_pSoundManager->Interfaces().m_pDirectSound)
        m_bSoundAvailable = false;
}

void CTonaroApp::StartMixer()
{
    if (!QProcess::startDetached(QStringLiteral("pavucontrol"), {}))
        Ui().MessageBox(QStringLiteral("Standardsoundmixer 'pavucontrol' nicht auffindbar."), kProgramCaption,
                        MsgIcon::None, MsgButtons::Ok);
}

void CTonaroApp::StartUpdater()
{
    const QString folder = ProgramPaths::InProgramFolder(QStringLiteral("Updater"));
    const QString program = folder + QStringLiteral("/updater");
    if (QFileInfo(program).isExecutable())
        QProcess::startDetached(program, {}, folder);
}
