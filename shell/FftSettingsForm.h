// Dialog "FFT Einstellungen" built from its form.  Kept apart from the
// user-interface services because the form's namespace and the services'
// accessor share the name Ui.
#pragma once

class QDialog;
class QWidget;

// Opened at nCurrentIndex (outside 0 .. 11: at "1024"); the chosen index, or
// -1 when cancelled.  pPrepare, when given, sees the dialog before it runs.
int RunFftSettingsForm(QWidget* pParent, int nCurrentIndex, void (*pPrepare)(QDialog*) = nullptr);
