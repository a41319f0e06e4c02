// The dialogs that choose and name a profile.  The program uses the Qt ones;
// tests answer from a script.
#pragma once

#include <QString>

class CProfileDialogs {
public:
    enum class StartChoice { LastUsed, Predefined, UserProfile, Cancelled };

    virtual ~CProfileDialogs() = default;
    // Dialog 187 "Willkommen bei Tonaro ...": opened at eCurrent; for
    // UserProfile strName receives the chosen user name.
    virtual StartChoice StartProfile(StartChoice eCurrent, const QString& strProfileFolder, QString& strName) = 0;
    // Dialog 185: the chosen kind 0 .. 5, or -1 when cancelled.  nCurrentKind
    // 6 or 7 preselects nothing; OK without a choice returns nCurrentKind.
    virtual int PredefinedProfile(int nCurrentKind) = 0;
    // Dialog 212: 1 = start with a music file, 0 = with the microphone, -1 cancelled.
    virtual int SchoolStart() = 0;
    // Dialog 192: strFileName in: the current user profile file; out: the new one.
    virtual bool SaveProfile(QString& strFileName) = 0;
};
