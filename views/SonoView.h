// Window of the sonogram; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CSonoView : public CPlaceholderView {
public:
    CSonoView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pSonoFrame, Res::kCmdRaiseSono, QStringLiteral("Sonogramm"), Qt::black, pParent)
    {
    }
};
