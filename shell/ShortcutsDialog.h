// The list of keyboard shortcuts (dialog "Liste der ShortCuts").
#pragma once

class QWidget;

void ShowShortcutsDialog(QWidget* pParent);
