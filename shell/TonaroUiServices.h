// The program's user-interface services: the Qt ones, with the FFT settings
// dialog built from its form.
#pragma once

#include "QtUiServices.h"

class CTonaroUiServices : public QtUiServices {
public:
    using QtUiServices::QtUiServices;
    int FftSettingsDialog(int nCurrentIndex) override;
};
