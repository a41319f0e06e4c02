// Window of the wavelet transform; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CWaveletView : public CPlaceholderView {
public:
    CWaveletView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pWaveletFrame, Res::kCmdRaiseWavelet, QStringLiteral("Waveletanalyse"), Qt::white, pParent)
    {
    }
};
