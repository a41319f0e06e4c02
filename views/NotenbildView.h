// Window of the note image; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CNotenbildView : public CPlaceholderView {
public:
    CNotenbildView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pNotenbildFrame, Res::kCmdRaiseNotenbild, QStringLiteral("Notenbild"), Qt::white, pParent)
    {
    }
};
