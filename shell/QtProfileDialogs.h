// The start dialogs and the save dialog of the profiles as Qt dialogs:
// 187 (start profile), 185 (predefined profile), 212 (school start) and 192
// (save profile).  Each control's object name is "c" + its number where it has one.
#pragma once

#include "ProfileDialogs.h"

#include <functional>

class QDialog;

class CQtProfileDialogs : public CProfileDialogs {
public:
    StartChoice StartProfile(StartChoice eCurrent, const QString& strProfileFolder, QString& strName) override;
    int PredefinedProfile(int nCurrentKind) override;
    int SchoolStart() override;
    bool SaveProfile(QString& strFileName) override;

    // Called with each dialog before it runs (tests drive the dialogs with it).
    std::function<void(QDialog*)> m_fnPrepare;

private:
    int Run(QDialog& dialog);
};
