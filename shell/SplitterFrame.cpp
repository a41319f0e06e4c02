#include "SplitterFrame.h"

#include "TonaroDoc.h"
#include "TonaroOverView.h"
#include "TonaroView.h"
#include "WindowPlacement.h"
#include "resource_ids.h"

#include <QSplitter>

CSplitterFrame::CSplitterFrame(CMainFrame* pMainFrame, CTonaroDoc* pDoc)
    : CChildFrame(pMainFrame, kPlaceUebersicht, Res::kBarWave, pDoc ? pDoc->GetTitle() : QString())
{
    // The main wave window is never closed; it only changes size.
    setWindowFlags(Qt::SubWindow | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowMinMaxButtonsHint);
    setAttribute(Qt::WA_DeleteOnClose, false);
    m_pSplitter = new QSplitter(Qt::Vertical);
    m_pOverView = new CTonaroOverView(pDoc, m_pSplitter);
    m_pWaveView = new CTonaroView(pDoc, m_pSplitter);
    m_pSplitter->addWidget(m_pOverView);
    m_pSplitter->addWidget(m_pWaveView);
    SetView(m_pSplitter);
    const int h = height();
    m_pSplitter->setSizes({static_cast<int>(h * 0.16666667), h - static_cast<int>(h * 0.16666667)});
    m_pWaveView->setFocus();
}

void CSplitterFrame::SetPaneLayout(bool bSchool)
{
    const int total = std::max(m_pSplitter->height(), 2);
    if (bSchool) {
        m_pOverView->setMinimumHeight(100);
        m_pWaveView->setMinimumHeight(0);
        m_pSplitter->setStretchFactor(0, 1);
        m_pSplitter->setStretchFactor(1, 0);
        m_pSplitter->setSizes({std::max(total - 1, 200), 1});
    } else {
        m_pOverView->setMinimumHeight(50);
        m_pWaveView->setMinimumHeight(50);
        m_pSplitter->setStretchFactor(0, 0);
        m_pSplitter->setStretchFactor(1, 1);
        m_pSplitter->setSizes({50, std::max(total - 50, 100)});
    }
}
