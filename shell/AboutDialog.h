// The about box: program name, version and purpose.
#pragma once

class QWidget;

void ShowAboutDialog(QWidget* pParent);
