// The application's profile handling: the start dialogs, applying a profile
// to the windows and the document, changing and saving the profile.
#include "ChildFrame.h"
#include "MainFrame.h"
#include "ProfileDialogs.h"
#include "ProgramFlags.h"
#include "ProgramPaths.h"
#include "SplitterFrame.h"
#include "TonaroApp.h"
#include "UiServices.h"
#include "resource_ids.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

// A relative play file is one of the shipped samples ("samples/Beispiel-Akkord.wav").
QString ResolvePlayFile(const QString& strFile)
{
    const QString path = ProgramPaths::NormalisedPath(strFile);
    if (QDir::isAbsolutePath(path) || ProgramPaths::ShippedFolder().isEmpty())
        return path;
    return ProgramPaths::ShippedFolder() + QLatin1Char('/') + path;
}

} // namespace

bool CTonaroApp::ChooseStartProfile()
{
    using Choice = CProfileDialogs::StartChoice;
    Choice current = m_nProfileKind == kProfileLastUsed ? Choice::LastUsed
                     : m_nProfileKind == kProfileUser   ? Choice::UserProfile
                                                        : Choice::Predefined;
    for (;;) {
        QString name;
        const Choice choice =
            m_pDialogs->StartProfile(current, ProgramPaths::InProgramFolder(QStringLiteral("Profile")), name);
        switch (choice) {
        case Choice::Cancelled: return false;
        case Choice::LastUsed: m_nProfileKind = kProfileLastUsed; return true;
        case Choice::UserProfile:
            m_strUserProfileFile = UserProfileFile(name);
            m_nProfileKind = kProfileUser;
            return true;
        case Choice::Predefined:
            if (ChoosePredefinedProfile())
                return true;
            current = Choice::Predefined;   // cancelled: the start dialog again
            break;
        }
    }
}

bool CTonaroApp::ChoosePredefinedProfile()
{
    const int kind = m_pDialogs->PredefinedProfile(m_nProfileKind);
    if (kind < 0)
        return false;
    m_nProfileKind = kind;
    return true;
}

bool CTonaroApp::ChooseSchoolStart()
{
    const int answer = m_pDialogs->SchoolStart();
    if (answer < 0)
        return false;
    m_bSchoolStartWithFile = answer != 0;
    return true;
}

void CTonaroApp::ApplyProfile()
{
    if (!m_pDoc || !m_pMainFrame)
        return;
    QString title = CTonaroDoc::kNoFileTitle;
    if (IniDokumentPlayFile != CTonaroDoc::kNoFile && !IniDokumentPlayFile.isEmpty()) {
        const QString path = ResolvePlayFile(IniDokumentPlayFile);
        if (!QFileInfo(path).isFile()) {
            Ui().MessageBox(QStringLiteral("Die in diesem Profil abgelegte Datei konnte nicht gefunden werden.\n"
                                           "Bitte benutzen Sie den Wave-Öffnen Dialog im Menü Datei."),
                            kProgramCaption, MsgIcon::Error, MsgButtons::Ok);
            m_pDoc->m_strFileName = CTonaroDoc::kNoFile;
        } else {
            if (path.right(3).toUpper() == QStringLiteral("WAV"))
                m_pDoc->ReadWave(path);
            else
                m_pDoc->ReadTimeSeries(path);
            if (g_bWaveLoaded)
                title = QFileInfo(path).fileName();
        }
    }
    m_pDoc->SetTitle(title);

    m_pMainFrame->ShowBars(IniAllgemeinToolbarNormal, IniAllgemeinToolbarSchule, IniAllgemeinStatusbar);
    if (m_pSplitterFrame) {
        m_pSplitterFrame->ApplyStoredPlacement();
        m_pSplitterFrame->SetPaneLayout(SchoolProfileOn());
    }
    m_pMainFrame->SetShortMenu(SchoolProfileOn());
    RelayoutAllWindows(!SchoolProfileOn(), false);

    for (WindowKind kind : kProfileOpenOrder)
        if (this->*KindInfo(kind).pOpenFlag && !Frame(kind))
            ToggleWindow(kind);

    if (SchoolProfileOn() && m_nProfileKind != kProfileLastUsed)
        Execute(m_bSchoolStartWithFile ? Res::kCmdOpenWave : Res::kCmdListen);
    m_pDoc->UpdateStatus();
    m_pDoc->UpdateAllViews(kHintRefresh);
}

void CTonaroApp::OnProfileChoice()
{
    if (!ChooseStartProfile())
        return;
    if (g_bWaveLoaded)
        m_pDoc->RemoveWave();
    for (WindowKind kind : kProfileOpenOrder)
        if (this->*KindInfo(kind).pOpenFlag && Frame(kind))
            ToggleWindow(kind);
    if (!ReadProfile()) {
        m_bEndRequested = true;
        QCoreApplication::exit(0);
        return;
    }
    if (m_nProfileKind == kProfileGrundschule)
        ChooseSchoolStart();
    ApplyProfile();
}

void CTonaroApp::OnProfileSave()
{
    QString file = m_strUserProfileFile;
    if (!m_pDialogs->SaveProfile(file))
        return;
    m_strUserProfileFile = file;
    m_nProfileKind = kProfileUser;
    CollectSettings();
    WriteProfile();
}

void CTonaroApp::CollectSettings()
{
    if (m_pDoc) {
        IniDokumentNumFFTPoints = m_pDoc->m_nNumFFTPoints;
        IniDokumentPlayFile = m_pDoc->m_strFileName;
    }
    if (m_pSplitterFrame)
        m_pSplitterFrame->StorePlacement();
    for (const WindowKindInfo& k : WindowKinds())
        if (CChildFrame* frame = Frame(k.eKind))
            frame->StorePlacement();
}
