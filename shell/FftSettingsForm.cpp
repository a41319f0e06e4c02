#include "FftSettingsForm.h"

#include "ui_FftSettingsDialog.h"

int RunFftSettingsForm(QWidget* pParent, int nCurrentIndex, void (*pPrepare)(QDialog*))
{
    QDialog dialog(pParent);
    Ui::FftSettingsDialog form;
    form.setupUi(&dialog);
    form.c1027->setCurrentIndex(nCurrentIndex >= 0 && nCurrentIndex < form.c1027->count() ? nCurrentIndex : 2);
    if (pPrepare)
        pPrepare(&dialog);
    return dialog.exec() == QDialog::Accepted ? form.c1027->currentIndex() : -1;
}
