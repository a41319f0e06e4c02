#include "PlaceholderView.h"

#include "TonaroDoc.h"
#include "ViewHost.h"

#include <QPainter>

namespace {
CViewHost* g_pViewHost = nullptr;
}

CViewHost* ViewHost()
{
    return g_pViewHost;
}

void SetViewHost(CViewHost* pHost)
{
    g_pViewHost = pHost;
}

CPlaceholderView::CPlaceholderView(CTonaroDoc* pDoc, QWidget* CTonaroDoc::*pFramePointer, int nRaiseCommand,
                                   const QString& strMenuEntry, QColor background, QWidget* pParent)
    : QWidget(pParent), m_pDoc(pDoc), m_pFramePointer(pFramePointer), m_nRaiseCommand(nRaiseCommand),
      m_background(background)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(20, 20);
    if (m_pDoc)
        m_pDoc->AddView(this);
    if (m_nRaiseCommand && ViewHost())
        ViewHost()->AppendWindowMenuEntry(m_nRaiseCommand, strMenuEntry);
}

CPlaceholderView::~CPlaceholderView()
{
    if (m_nRaiseCommand && ViewHost())
        ViewHost()->RemoveWindowMenuEntry(m_nRaiseCommand);
    if (m_pDoc) {
        m_pDoc->RemoveView(this);
        if (m_pFramePointer)
            m_pDoc->*m_pFramePointer = nullptr;
    }
}

void CPlaceholderView::OnUpdate(int nHint)
{
    m_nLastHint = nHint;
}

void CPlaceholderView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_background);
}
