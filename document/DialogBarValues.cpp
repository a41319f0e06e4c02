#include "DialogBarValues.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QVariant>
#include <QWidget>

void SetDialogBarValue(QWidget* pFrame, int nControlId, int nValue)
{
    if (!pFrame)
        return;
    const QString name = QStringLiteral("c%1").arg(nControlId);
    for (QSpinBox* spin : pFrame->findChildren<QSpinBox*>()) {
        if (spin->objectName() == name || spin->property("spinId").toInt() == nControlId) {
            spin->setValue(nValue);
            return;
        }
    }
    if (auto* edit = pFrame->findChild<QLineEdit*>(name))
        edit->setText(QString::number(nValue));
}
