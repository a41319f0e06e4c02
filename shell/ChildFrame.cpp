#include "ChildFrame.h"

#include "DialogBars.h"
#include "MainFrame.h"
#include "PlacementUnits.h"
#include "TonaroApp.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QScrollArea>

CChildFrame::CChildFrame(CMainFrame* pMainFrame, int nPlacement, int nDialogBar, const QString& strTitle)
    : m_pMainFrame(pMainFrame), m_nPlacement(nPlacement)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(strTitle);
    setWindowIcon(QIcon(QStringLiteral(":/icons/tonaro.svg")));
    auto* content = new QWidget(this);
    m_pLayout = new QHBoxLayout(content);
    m_pLayout->setContentsMargins(0, 0, 0, 0);
    m_pLayout->setSpacing(0);
    if (nDialogBar && (m_pDialogBar = CreateDialogBar(nDialogBar, content))) {
        auto* border = new QFrame(content);
        border->setFrameShape(QFrame::VLine);
        border->setFrameShadow(QFrame::Sunken);
        m_pLayout->addWidget(border);
        // A bar taller than the frame scrolls instead of squeezing its controls.
        auto* scroll = new QScrollArea(content);
        scroll->setWidget(m_pDialogBar);
        scroll->setWidgetResizable(true);
        scroll->setFrameShape(QFrame::NoFrame);
        scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        scroll->setFixedWidth(m_pDialogBar->sizeHint().width() + 18);
        m_pLayout->addWidget(scroll);
    }
    setWidget(content);
}

CChildFrame::~CChildFrame()
{
    StorePlacement();
}

void CChildFrame::SetView(QWidget* pView)
{
    m_pView = pView;
    m_pLayout->insertWidget(0, pView, 1);
}

void CChildFrame::ApplyStoredPlacement()
{
    if (!m_pMainFrame)
        return;
    const QSize area = m_pMainFrame->FreeClientArea();
    const WindowPlacement wp =
        PlacementUnits::ToPixels(m_pMainFrame->App().m_wp[m_nPlacement], area.width(), area.height());
    showNormal();
    setGeometry(wp.left, wp.top, std::max(wp.right - wp.left, 0), std::max(wp.bottom - wp.top, 0));
    if (wp.showCmd == kShowMaximised)
        showMaximized();
    else if (wp.showCmd == kShowMinimised)
        showMinimized();
}

void CChildFrame::StorePlacement()
{
    if (!m_pMainFrame)
        return;
    WindowPlacement px = m_pMainFrame->App().m_wp[m_nPlacement];
    const QRect r = (isMaximized() || isMinimized()) && !normalGeometry().isEmpty() ? normalGeometry() : geometry();
    px.left = r.x();
    px.top = r.y();
    px.right = r.x() + r.width();
    px.bottom = r.y() + r.height();
    px.showCmd = isMaximized() ? kShowMaximised : isMinimized() ? kShowMinimised : kShowNormal;
    const QSize area = m_pMainFrame->FreeClientArea();
    m_pMainFrame->App().m_wp[m_nPlacement] = PlacementUnits::ToRelative(px, area.width(), area.height());
}
