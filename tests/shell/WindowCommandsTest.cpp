// Window commands driven by number: toggles with their check marks, the
// Window-menu entries, the school rule, and the bar toggles' relayout.
#include "ChildFrame.h"
#include "MainFrame.h"
#include "ShellTestSupport.h"
#include "resource_ids.h"

#include "ProgramFlags.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMdiArea>
#include <QToolBar>

namespace {

QStringList EntriesBelowOverview(const CMainFrame& frame)
{
    const QStringList texts = frame.WindowMenuTexts();
    return texts.mid(texts.indexOf("Übersicht") + 1);
}

TEST_F(ShellTest, ToggleTwiceOpensAndClosesWithTheCheckMark)
{
    CTonaroApp& app = Start();
    CMainFrame& frame = *app.m_pMainFrame;
    QAction* item = frame.MenuAction(Res::kCmdToggleFFT);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "&FFT");

    app.Execute(Res::kCmdToggleFFT);
    frame.UpdateCommandUi();
    ASSERT_NE(app.m_pDoc->m_pFFTFrame, nullptr);
    EXPECT_EQ(app.IniFensterFFT, 1);
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(app.m_pDoc->m_pFFTFrame->windowTitle(), "FFT");

    app.Execute(Res::kCmdToggleFFT);
    frame.UpdateCommandUi();
    EXPECT_EQ(app.m_pDoc->m_pFFTFrame, nullptr);
    EXPECT_EQ(app.IniFensterFFT, 0);
    EXPECT_FALSE(item->isChecked());
}

TEST_F(ShellTest, WindowMenuListsOpenWindowsInOpeningOrder)
{
    CTonaroApp& app = Start();
    CMainFrame& frame = *app.m_pMainFrame;
    EXPECT_TRUE(EntriesBelowOverview(frame).isEmpty());
    app.Execute(Res::kCmdToggleSono);
    app.Execute(Res::kCmdToggleFFT);
    EXPECT_EQ(EntriesBelowOverview(frame), QStringList({"Sonogramm", "FFT"}));

    // Closing with the close box removes the entry and, at the next update, the setting.
    app.m_pDoc->m_pSonoFrame->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frame.UpdateCommandUi();
    EXPECT_EQ(EntriesBelowOverview(frame), QStringList({"FFT"}));
    EXPECT_EQ(app.m_pDoc->m_pSonoFrame, nullptr);
    EXPECT_EQ(app.IniFensterSono, 0);

    // The raise entry brings its window to the front.
    app.Execute(Res::kCmdToggleZeitreihe);
    app.Execute(Res::kCmdRaiseFFT);
    EXPECT_EQ(frame.MdiArea()->activeSubWindow(), app.m_pDoc->m_pFFTFrame);
}

TEST_F(ShellTest, SchoolProfileKeepsOneExpensiveWindow)
{
    const struct { bool school; QStringList open; } cases[] = {
        {true, {"Sonogramm"}},
        {false, {"Notenbild", "3D-FFT", "3D-Rekonstruktion", "Sonogramm"}},
    };
    for (const auto& c : cases) {
        CTonaroApp& app = Start({}, c.school);
        // In the school profile the start asks for a file; the open command is not there yet.
        for (int cmd : {Res::kCmdToggleNotenbild, Res::kCmdToggleFFT3D, Res::kCmdToggleReko, Res::kCmdToggleSono})
            app.Execute(cmd);
        EXPECT_EQ(EntriesBelowOverview(*app.m_pMainFrame), c.open) << c.school;
        EXPECT_EQ(app.IniFensterNotenbild, c.school ? 0 : 1);
        EXPECT_EQ(app.IniFensterSono, 1);
        EXPECT_EQ(app.m_pMainFrame->IsShortMenu(), c.school);
        m_app.reset();
    }
}

TEST_F(ShellTest, EscCancelsWhileTheSameNumberFromTheMenuRaises)
{
    CTonaroApp& app = Start();
    app.Execute(Res::kCmdToggleFFT3D);
    app.Execute(Res::kCmdToggleFFT);
    g_bAbort = false;
    app.m_pMainFrame->AcceleratorAction(Res::kCmdCancel)->trigger();
    EXPECT_TRUE(g_bAbort);
    EXPECT_EQ(app.m_pMainFrame->MdiArea()->activeSubWindow(), app.m_pDoc->m_pFFTFrame);
    app.Execute(Res::kCmdRaiseFFT3D);
    EXPECT_EQ(app.m_pMainFrame->MdiArea()->activeSubWindow(), app.m_pDoc->m_pFFT3DFrame);
    app.OnIdle();
    EXPECT_FALSE(g_bAbort);

    // A 3D window that gives up closes both at the next idle time.
    app.Execute(Res::kCmdToggleReko);
    app.m_pDoc->m_bClose3DRequest = true;
    app.OnIdle();
    EXPECT_EQ(app.m_pDoc->m_pFFT3DFrame, nullptr);
    EXPECT_EQ(app.m_pDoc->m_pRekoFrame, nullptr);
    EXPECT_NE(app.m_pDoc->m_pFFTFrame, nullptr);
}

TEST_F(ShellTest, HidingABarKeepsEveryFrameAtItsFractions)
{
    CTonaroApp& app = Start("[FFTWindow]\nwp->showCmd=1\nwp->rcNormalPosition.left=5000\n"
                            "wp->rcNormalPosition.top=0\nwp->rcNormalPosition.right=10000\n"
                            "wp->rcNormalPosition.bottom=5000\n");
    CMainFrame& frame = *app.m_pMainFrame;
    app.Execute(Res::kCmdToggleFFT);
    auto* fft = static_cast<CChildFrame*>(app.m_pDoc->m_pFFTFrame);
    const QSize before = frame.FreeClientArea();
    EXPECT_NEAR(fft->geometry().x(), before.width() / 2, 2);
    EXPECT_NEAR(fft->geometry().bottom() + 1, before.height() / 2, 2);

    app.Execute(Res::kCmdToolBarNormal);
    EXPECT_TRUE(frame.NormalBar()->isHidden());
    EXPECT_EQ(app.IniAllgemeinToolbarNormal, 0);
    EXPECT_EQ(frame.m_nNormalBarHeight, 0);
    const QSize after = frame.FreeClientArea();
    EXPECT_GT(after.height(), before.height());
    EXPECT_NEAR(fft->geometry().x(), after.width() / 2, 2);
    EXPECT_NEAR(fft->geometry().bottom() + 1, after.height() / 2, 2);

    frame.UpdateCommandUi();
    EXPECT_FALSE(frame.MenuAction(Res::kCmdToolBarNormal)->isChecked());
    EXPECT_TRUE(frame.MenuAction(Res::kCmdViewStatusBar)->isChecked());
}

} // namespace
