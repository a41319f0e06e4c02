// Start-up, exit and the profile commands: which profile is read, what is
// written at exit, restoring the windows of the last run, saving a profile,
// the status panes and the FFT settings dialog.
#include "ChildFrame.h"
#include "FftSettingsForm.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "resource_ids.h"

#include <QComboBox>
#include <QDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QTimer>

namespace {

using Choice = CProfileDialogs::StartChoice;

QString LastUsedPath()
{
    return ProgramPaths::InProgramFolder("Profile/TonaroZuletztVerwendetProfil.ini");
}

TEST_F(ShellTest, StatusPanesShowTheDocumentsValues)
{
    CTonaroApp& app = Start();
    CMainFrame& frame = *app.m_pMainFrame;
    EXPECT_EQ(frame.PaneText(kPaneFFT), "FFT Punkte: 4096");   // UpdateStatus at start
    const struct { int rate; const char* text; } rates[] = {{44100, "44 kHz"}, {22050, "22 kHz"}, {0, ""}};
    for (const auto& r : rates) {
        app.ShowSampleRate(r.rate);
        EXPECT_EQ(frame.PaneText(kPaneRate), r.text);
    }
    app.ShowFileName("C:\\Musik\\Test.wav");
    EXPECT_EQ(frame.PaneText(kPaneFile), "File: Test.wav");
    app.ShowFileName("/home/anna/Test.wav");
    EXPECT_EQ(frame.PaneText(kPaneFile), "File: Test.wav");
    app.ShowBitsPerSample(16);
    EXPECT_EQ(frame.PaneText(kPaneBits), "Mono: 16-Bit");
    app.ShowBitsPerSample(0);
    EXPECT_EQ(frame.PaneText(kPaneBits), "");
    app.ShowFFTPoints(0);
    EXPECT_EQ(frame.PaneText(kPaneFFT), "");
}

TEST_F(ShellTest, MissingProfileEndsTheStart)
{
    CTonaroApp app;
    app.SetProfileDialogs(&m_dialogs);
    EXPECT_FALSE(app.InitInstance("Anna"));
    EXPECT_EQ(app.m_strUserProfileFile, "TonaroUserProfil-Anna.ini");
    ASSERT_FALSE(m_ui.MessageTexts().isEmpty());
    EXPECT_TRUE(m_ui.MessageTexts().first().contains("TonaroUserProfil-Anna.ini liegt."));
    EXPECT_EQ(app.m_pMainFrame, nullptr);
}

TEST_F(ShellTest, NoLastUsedProfileAfterARunThatReadNone)
{
    {
        CTonaroApp app;
        app.SetProfileDialogs(&m_dialogs);
        EXPECT_FALSE(app.InitInstance(""));   // the start dialog is cancelled
        EXPECT_EQ(m_dialogs.nStartShown, 1);
        app.ExitInstance();
    }
    EXPECT_FALSE(QFileInfo::exists(LastUsedPath()));
}

TEST_F(ShellTest, CancelledPredefinedChoiceShowsTheStartDialogAgain)
{
    WriteProfile("TonaroMusikerProfil.ini");
    m_dialogs.starts = {{Choice::Predefined, {}}, {Choice::Predefined, {}}};
    m_dialogs.predefined = {-1, kProfileMusiker};
    CTonaroApp app;
    app.SetProfileDialogs(&m_dialogs);
    ASSERT_TRUE(app.InitInstance(""));
    EXPECT_EQ(m_dialogs.nStartShown, 2);
    EXPECT_EQ(app.m_nProfileKind, kProfileMusiker);
    EXPECT_TRUE(app.m_pMainFrame->isMaximized());   // predefined profiles open maximised
}

TEST_F(ShellTest, LastUsedSettingsRestoreTheOpenWindowsAndTheirPlaces)
{
    QRect sonoBefore;
    QSize areaBefore;
    {
        CTonaroApp& app = Start();
        app.Execute(Res::kCmdToggleSono);
        app.Execute(Res::kCmdToggleFFT);
        QWidget* sono = app.m_pDoc->m_pSonoFrame;
        sono->setGeometry(200, 100, 300, 200);
        sonoBefore = sono->geometry();
        areaBefore = app.m_pMainFrame->FreeClientArea();
        app.m_pMainFrame->close();
        EXPECT_EQ(app.ExitInstance(), 0);
        m_app.reset();
    }
    ASSERT_TRUE(QFileInfo::exists(LastUsedPath()));

    m_dialogs.starts = {{Choice::LastUsed, {}}};
    CTonaroApp app;
    app.SetProfileDialogs(&m_dialogs);
    ASSERT_TRUE(app.InitInstance(""));
    EXPECT_EQ(app.m_nProfileKind, kProfileLastUsed);
    EXPECT_FALSE(app.m_pMainFrame->isMaximized());
    ASSERT_NE(app.m_pDoc->m_pSonoFrame, nullptr);
    ASSERT_NE(app.m_pDoc->m_pFFTFrame, nullptr);
    EXPECT_EQ(app.m_pDoc->m_pZeitreiheFrame, nullptr);
    const QSize area = app.m_pMainFrame->FreeClientArea();
    const QRect sono = app.m_pDoc->m_pSonoFrame->geometry();
    EXPECT_NEAR(sono.x() * 1.0 / area.width(), sonoBefore.x() * 1.0 / areaBefore.width(), 0.01);
    EXPECT_NEAR(sono.width() * 1.0 / area.width(), sonoBefore.width() * 1.0 / areaBefore.width(), 0.01);
    EXPECT_NEAR(sono.y() * 1.0 / area.height(), sonoBefore.y() * 1.0 / areaBefore.height(), 0.01);
}

TEST_F(ShellTest, SavedProfileHoldsTheOpenWindowsAndIsOfferedAtTheNextStart)
{
    CTonaroApp& app = Start();
    app.Execute(Res::kCmdToggleWavelet);
    m_dialogs.saves = {"TonaroUserProfil-Klasse7.ini"};
    app.Execute(Res::kCmdProfileSave);
    EXPECT_EQ(app.m_nProfileKind, kProfileUser);
    const QString folder = ProgramPaths::InProgramFolder("Profile");
    EXPECT_TRUE(CProfileSettings::ListUserProfiles(folder).contains("Klasse7"));

    CProfileSettings saved;
    saved.m_nProfileKind = kProfileUser;
    saved.m_strUserProfileFile = "TonaroUserProfil-Klasse7.ini";
    ASSERT_TRUE(saved.ReadProfile());
    EXPECT_EQ(saved.IniFensterWavelet, 1);
    EXPECT_EQ(saved.IniDokumentNumFFTPoints, 4096);
    EXPECT_EQ(saved.IniDokumentPlayFile, "Kein File ausgewählt.");
}

TEST_F(ShellTest, ProfileChangeClosesTheWindowsAndAppliesTheNewProfile)
{
    CTonaroApp& app = Start();
    app.Execute(Res::kCmdToggleFFT);
    WriteProfile("TonaroGrundschuleProfil.ini", "[Fenster]\nIniFensterSono=1\n", true);
    m_dialogs.starts = {{Choice::Predefined, {}}};
    m_dialogs.predefined = {kProfileGrundschule};
    m_dialogs.school = {0};
    app.Execute(Res::kCmdProfileChoice);
    EXPECT_EQ(app.m_pDoc->m_pFFTFrame, nullptr);
    EXPECT_NE(app.m_pDoc->m_pSonoFrame, nullptr);
    EXPECT_TRUE(app.m_pMainFrame->IsShortMenu());
    EXPECT_FALSE(app.m_bSchoolStartWithFile);
    EXPECT_EQ(app.m_pMainFrame->WindowMenuTexts(),
              QStringList({"Über&lappend", "&Nebeneinander", "-", "Übersicht", "Sonogramm"}));
}

TEST(FftSettingsForm, OpensAtTheCurrentSizeAndAnswersTheIndex)
{
    struct Case { int open; int expectShown; int choose; int expect; };
    for (const Case c : {Case{5, 5, -1, 5}, Case{-1, 2, -1, 2}, Case{3, 3, 11, 11}, Case{3, 3, -2, -1}}) {
        static Case s_case;
        s_case = c;
        const int answer = RunFftSettingsForm(nullptr, c.open, [](QDialog* dialog) {
            auto* list = dialog->findChild<QComboBox*>("c1027");
            ASSERT_NE(list, nullptr);
            EXPECT_EQ(list->count(), 12);
            EXPECT_EQ(list->itemText(11), "524288");
            EXPECT_EQ(list->currentIndex(), s_case.expectShown);
            EXPECT_EQ(dialog->windowTitle(), "FFT Einstellungen");
            if (s_case.choose >= 0)
                list->setCurrentIndex(s_case.choose);
            QTimer::singleShot(0, dialog, s_case.choose == -2 ? &QDialog::reject : &QDialog::accept);
        });
        EXPECT_EQ(answer, c.expect);
    }
}

} // namespace
