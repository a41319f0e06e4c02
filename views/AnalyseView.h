// Window of the nonlinear analysis; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CAnalyseView : public CPlaceholderView {
public:
    CAnalyseView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pAnalyseFrame, Res::kCmdRaiseAnalyse, QStringLiteral("Analyse"), Qt::white, pParent)
    {
    }
};
