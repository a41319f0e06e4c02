#include "TonaroUiServices.h"

#include "FftSettingsForm.h"

#include <QApplication>

int CTonaroUiServices::FftSettingsDialog(int nCurrentIndex)
{
    const int index = RunFftSettingsForm(QApplication::activeWindow(), nCurrentIndex);
    return index < 0 ? kDialogCancelled : index;
}
