// Window of the 3D FFT landscape; for now an empty view that keeps its Window-menu
// entry and its frame pointer while it exists.
#pragma once

#include "PlaceholderView.h"
#include "TonaroDoc.h"
#include "resource_ids.h"

class CFFT3DView : public CPlaceholderView {
public:
    CFFT3DView(CTonaroDoc* pDoc, QWidget* pParent)
        : CPlaceholderView(pDoc, &CTonaroDoc::m_pFFT3DFrame, Res::kCmdRaiseFFT3D, QStringLiteral("3D-FFT"), Qt::black, pParent)
    {
    }
};
