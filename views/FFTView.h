// Window of the FFT spectrum; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CFFTView : public CPlaceholderView {
public:
    CFFTView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pFFTFrame, Res::kCmdRaiseFFT, QStringLiteral("FFT"), Qt::white, pParent)
    {
    }
};
