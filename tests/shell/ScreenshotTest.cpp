// Pictures of the main window with the shipped Standard and Grundschule
// profiles.  They go to TONARO_SCREENSHOT_DIR when it names a folder (run
// under Xvfb to refresh docs/screenshots), else into the test's own folder.
#include "MainFrame.h"
#include "ShellTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>

namespace {

TEST_F(ShellTest, ScreenshotsOfTheShippedProfiles)
{
    QString out = qEnvironmentVariable("TONARO_SCREENSHOT_DIR");
    if (out.isEmpty())
        out = Dir();
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
        const QPixmap picture = app.m_pMainFrame->grab();
        EXPECT_EQ(picture.size(), QSize(1280, 800));
        EXPECT_TRUE(picture.save(out + "/" + c.picture));
        app.ExitInstance();
    }
}

} // namespace
