// Builds the dialog bar of a window from its form; the bar's object name is
// "c" + its resource number and each control's "c" + its control number.
#pragma once

class QWidget;

// Null for an unknown resource number.
QWidget* CreateDialogBar(int nResource, QWidget* pParent);
