#include "ShortcutsDialog.h"

#include "ui_ShortcutsDialog.h"

void ShowShortcutsDialog(QWidget* pParent)
{
    QDialog dialog(pParent);
    Ui::ShortcutsDialog form;
    form.setupUi(&dialog);
    dialog.exec();
}
