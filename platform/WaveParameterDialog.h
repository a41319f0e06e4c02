// The dialog "Waveparameter kontrollieren ...": shows the format of a wave
// file being read, explains whether it can be used, and for a stereo file lets
// the user keep the left or the right channel.
#pragma once

#include "UiServices.h"

#include <QDialog>

class QRadioButton;

class CWaveParameterDialog : public QDialog {
public:
    CWaveParameterDialog(const WaveParameterInfo& info, QWidget* parent);

    // 1 when "Links" is selected, 0 otherwise.
    int ChannelChoice() const;

private:
    QRadioButton* m_pLeft = nullptr;
};
