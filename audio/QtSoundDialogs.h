// The sound card and wave format dialogs as Qt dialogs built in code.
#pragma once

#include "SoundDialogs.h"

class QWidget;

class CQtSoundDialogs : public CSoundDialogs {
public:
    explicit CQtSoundDialogs(QWidget* pParent = nullptr) : m_pParent(pParent) {}
    SoundCardAnswer SoundCardDialog(const QStringList& aCapture, const QStringList& aPlayback) override;
    int WaveFormatDialog(const QStringList& aLines) override;

private:
    QWidget* m_pParent = nullptr;   // not owned
};
