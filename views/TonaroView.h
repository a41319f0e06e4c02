// View of the wave view: the framed stretch of the sound (lower pane of the main wave window); for now an empty view.
#pragma once

#include "PlaceholderView.h"

class CTonaroView : public CPlaceholderView {
public:
    CTonaroView(CTonaroDoc* pDoc, QWidget* pParent) : CPlaceholderView(pDoc, nullptr, 0, QString(), Qt::white, pParent) {}
};
