// View of the overview of the whole sound (upper pane of the main wave window); for now an empty view.
#pragma once

#include "PlaceholderView.h"

class CTonaroOverView : public CPlaceholderView {
public:
    CTonaroOverView(CTonaroDoc* pDoc, QWidget* pParent) : CPlaceholderView(pDoc, nullptr, 0, QString(), Qt::black, pParent) {}
};
