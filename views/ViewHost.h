// What a view needs from the main window without knowing it: the entries of
// the Window menu and the profile settings it reads when it is created and
// hands back when it is destroyed.  The shell installs the host; with none
// installed the calls do nothing (tests of a single view).
#pragma once

#include <QString>

class CProfileSettings;

class CViewHost {
public:
    virtual ~CViewHost() = default;
    // Appends a plain item that runs nCommand to the Window menu of the menu bar shown now.
    virtual void AppendWindowMenuEntry(int nCommand, const QString& strText) = 0;
    // Removes the item of nCommand from that menu.
    virtual void RemoveWindowMenuEntry(int nCommand) = 0;
    // The settings of the profile in use (the application's).
    virtual CProfileSettings& Settings() = 0;
};

CViewHost* ViewHost();
void SetViewHost(CViewHost* pHost);
