// Window of the 3D reconstruction; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CRekoView : public CPlaceholderView {
public:
    CRekoView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pRekoFrame, Res::kCmdRaiseReko, QStringLiteral("3D-Rekonstruktion"), Qt::black, pParent)
    {
    }
};
