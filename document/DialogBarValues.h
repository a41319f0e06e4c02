// Sets a value shown in the dialog bar of an open window, found by its control
// number, as the imports do after a sound is loaded.  A spin box is found by
// its own number or by the number of its spin part (property "spinId"); the
// window's own handler of that control then runs.
#pragma once

class QWidget;

// Does nothing when the window is closed or has no such control.
void SetDialogBarValue(QWidget* pFrame, int nControlId, int nValue);
