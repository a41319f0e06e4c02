// Base of the child frames: a sub-window of the main frame's MDI area whose
// widget holds the view and, on its right, the window's dialog bar.  It takes
// its stored placement when it opens and stores it back when it is destroyed.
#pragma once

#include <QMdiSubWindow>
#include <QPointer>

class CMainFrame;
class CTonaroDoc;

class CChildFrame : public QMdiSubWindow {
public:
    // nPlacement: PlacementIndex; nDialogBar: dialog bar resource (0: none).
    CChildFrame(CMainFrame* pMainFrame, int nPlacement, int nDialogBar, const QString& strTitle);
    ~CChildFrame() override;

    // Puts the view (made by the caller, owned by the frame) left of the dialog bar.
    void SetView(QWidget* pView);
    QWidget* View() const { return m_pView; }
    QWidget* DialogBar() const { return m_pDialogBar; }
    int PlacementIndex() const { return m_nPlacement; }

    // Places the frame from its stored placement (relative units) and back.
    void ApplyStoredPlacement();
    void StorePlacement();

protected:
    QPointer<CMainFrame> m_pMainFrame;

private:
    int m_nPlacement;
    QWidget* m_pView = nullptr;
    QWidget* m_pDialogBar = nullptr;
    class QHBoxLayout* m_pLayout = nullptr;
};
