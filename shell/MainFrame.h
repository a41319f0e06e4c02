// The main window: MDI area for the child frames, the normal and the school
// tool bar, the 13-pane status bar and the full or short menu bar, all built
// from the command table.  It shows the document's status texts and keeps the
// Window-menu entries of the open windows.
#pragma once

#include "ViewHost.h"
#include "WindowPlacement.h"

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <array>
#include <vector>

class CTonaroApp;
class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

// Status bar panes.
enum StatusPane : int {
    kPaneMessage = 0, kPaneFile = 1, kPaneBits = 2, kPaneRate = 3, kPaneFFT = 5, kPaneListen = 7,
    kPaneRecord = 8, kPaneCount = 13,
};

class CMainFrame : public QMainWindow, public CViewHost {
public:
    explicit CMainFrame(CTonaroApp& app);
    ~CMainFrame() override;

    CTonaroApp& App() const { return m_app; }
    QMdiArea* MdiArea() const { return m_pMdi; }

    // Commands: every menu item, tool button and accelerator carries its id.
    // Runs the command's update rules on every action (also every 100 ms).
    void UpdateCommandUi();
    QAction* MenuAction(int nId) const;           // the item in the current menu bar
    std::vector<QAction*> ActionsOf(int nId) const;
    QToolBar* NormalBar() const { return m_pNormalBar; }
    QToolBar* SchoolBar() const { return m_pSchoolBar; }
    QAction* AcceleratorAction(int nId) const;

    // Menu bars: the full menu, or the short one for the school profile.
    void SetShortMenu(bool bShort);
    bool IsShortMenu() const { return m_bShortMenu; }
    QMenu* WindowMenu() const;
    QStringList WindowMenuTexts() const;

    // CViewHost: the open windows' entries in the Window menu.
    void AppendWindowMenuEntry(int nCommand, const QString& strText) override;
    void RemoveWindowMenuEntry(int nCommand) override;
    CProfileSettings& Settings() override;

    // Bars: toggles (with the setting and relayout) and the plain setters.
    void ToggleStatusBar();
    void ToggleNormalBar();
    void ToggleSchoolBar();
    void ToggleFirstToolBar();
    void ShowBars(bool bNormal, bool bSchool, bool bStatus);

    // The free client area the child placements refer to (pixels).
    QSize FreeClientArea();
    // Main window placement (pixels) and back.
    WindowPlacement CurrentPlacement() const;
    void ApplyPlacement(const WindowPlacement& wp, bool bForceMaximised);

    // Status texts (the user messages of the document).
    void OnStatusFFTPoints(int nPoints);
    void OnStatusFileName(const QString& strFileName);
    void OnStatusBits(int nBits);
    void OnStatusRate(int nRateHz);
    void OnStatusListening();
    void OnStatusRecording();
    QString PaneText(int nPane) const;

    int m_nStatusBarHeight = 0;   // pixels while shown, else 0
    int m_nSchoolBarHeight = 0;
    int m_nNormalBarHeight = 0;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildActions();
    void BuildToolBars();
    void BuildStatusBar();
    QAction* MakeAction(int nId, const QString& strText, QObject* parent, bool bAccelerator = false);
    void BeforeBarChange();
    void AfterBarChange();

    CTonaroApp& m_app;
    QMdiArea* m_pMdi;
    QToolBar* m_pSchoolBar = nullptr;
    QToolBar* m_pNormalBar = nullptr;
    std::array<QLabel*, kPaneCount> m_aPanes{};
    std::vector<QPointer<QAction>> m_aActions;      // every action with a command id
    std::vector<QAction*> m_aAccelerators;
    bool m_bShortMenu = false;
    QTimer* m_pIdleTimer;
};
