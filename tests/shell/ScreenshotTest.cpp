// Pictures of the main window with the shipped Standard and Grundschule
// profiles, written only when TONARO_SCREENSHOT_DIR names a folder (run under
// Xvfb to refresh docs/screenshots).
#include "MainFrame.h"
#include "ShellTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>

namespace {

TEST_F(ShellTest, ScreenshotsOfTheShippedProfiles)
{
    const QString out = qEnvironmentVariable("TONARO_SCREENSHOT_DIR");
    if (out.isEmpty())
        GTEST_SKIP() << "TONARO_SCREENSHOT_DIR not set";
    const QString shipped = QStringLiteral(TONARO_TEST_DATA "/../../resources/Profile/");
    const struct { int kind; const char* file; const char* picture; } cases[] = {
        {kProfileStandard, "TonaroStandardProfil.ini", "main-standard.png"},
        {kProfileGrundschule, "TonaroGrundschuleProfil.ini", "main-grundschule.png"},
    };
    for (const auto& c : cases) {
        const QString target = ProgramPaths::InProgramFolder(QStringLiteral("Profile/") + c.file);
        QFile::remove(target);
        ASSERT_TRUE(QFile::copy(shipped + c.file, target));
        m_dialogs.starts = {{CProfileDialogs::StartChoice::Predefined, {}}};
        m_dialogs.predefined = {c.kind};
        m_dialogs.school = {1};
        CTonaroApp app;
        app.SetProfileDialogs(&m_dialogs);
        ASSERT_TRUE(app.InitInstance(c.kind == kProfileGrundschule ? "Grundschule" : ""));
        app.m_pMainFrame->showNormal();
        app.m_pMainFrame->setGeometry(0, 0, 1280, 800);
        // The new size must have reached the window area before the frames are placed in it.
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        app.RelayoutAllWindows(true, true);
        for (int i = 0; i < 20; ++i)
            QApplication::processEvents();
        EXPECT_TRUE(app.m_pMainFrame->grab().save(out + "/" + c.picture));
        app.ExitInstance();
    }
}

} // namespace
