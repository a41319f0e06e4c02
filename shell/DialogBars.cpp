#include "DialogBars.h"

#include "ui_DialogBar138.h"
#include "ui_DialogBar162.h"
#include "ui_DialogBar166.h"
#include "ui_DialogBar168.h"
#include "ui_DialogBar169.h"
#include "ui_DialogBar174.h"
#include "ui_DialogBar177.h"
#include "ui_DialogBar179.h"
#include "ui_DialogBar182.h"

namespace {

template <class Form>
QWidget* Build(QWidget* pParent)
{
    auto* bar = new QWidget(pParent);
    Form form;
    form.setupUi(bar);
    return bar;
}

} // namespace

QWidget* CreateDialogBar(int nResource, QWidget* pParent)
{
    switch (nResource) {
    case 138: return Build<Ui::DialogBar138>(pParent);
    case 162: return Build<Ui::DialogBar162>(pParent);
    case 166: return Build<Ui::DialogBar166>(pParent);
    case 168: return Build<Ui::DialogBar168>(pParent);
    case 169: return Build<Ui::DialogBar169>(pParent);
    case 174: return Build<Ui::DialogBar174>(pParent);
    case 177: return Build<Ui::DialogBar177>(pParent);
    case 179: return Build<Ui::DialogBar179>(pParent);
    case 182: return Build<Ui::DialogBar182>(pParent);
    default: return nullptr;
    }
}
