// Window of the time series; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CZeitreiheView : public CPlaceholderView {
public:
    CZeitreiheView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pZeitreiheFrame, Res::kCmdRaiseZeitreihe, QStringLiteral("Zeitreihe"), Qt::black, pParent)
    {
    }
};
