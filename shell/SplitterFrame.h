// Frame of the main wave window: the overview above the wave view in a
// splitter of two rows, with the wave view's dialog bar on the right.
#pragma once

#include "ChildFrame.h"

class QSplitter;
class CTonaroOverView;
class CTonaroView;

class CSplitterFrame : public CChildFrame {
public:
    CSplitterFrame(CMainFrame* pMainFrame, CTonaroDoc* pDoc);

    // Pane sizes of the profile: overview small outside the school profile,
    // overview only in the school profile.
    void SetPaneLayout(bool bSchool);
    QSplitter* Splitter() const { return m_pSplitter; }
    CTonaroOverView* OverView() const { return m_pOverView; }
    CTonaroView* WaveView() const { return m_pWaveView; }

private:
    // Connects dialog bar 162's sliders, fields and buttons to the two panes.
    void ConnectDialogBar();

    QSplitter* m_pSplitter;
    CTonaroOverView* m_pOverView;
    CTonaroView* m_pWaveView;
};
