// What the document needs from the application and its main window: the
// profile settings it reads and hands back, the status bar texts and the
// window title.  The application object implements it; tests use a fake.
#pragma once

#include <QString>

class CDocumentHost {
public:
    virtual ~CDocumentHost() = default;

    // Profile settings (IniDokumentNumFFTPoints, IniDokumentPlayFile,
    // IniAllgemeinStatusbar, IniAllgemeinGrundschulprofil).
    virtual int NumFFTPointsSetting() const = 0;
    virtual void SetNumFFTPointsSetting(int nPoints) = 0;
    virtual QString PlayFileSetting() const = 0;
    virtual void SetPlayFileSetting(const QString& strFile) = 0;
    virtual bool StatusBarShown() const = 0;
    virtual bool SchoolProfile() const = 0;

    // Status bar panes of the main window.
    virtual void ShowFFTPoints(int nPoints) = 0;
    virtual void ShowFileName(const QString& strFileName) = 0;
    virtual void ShowBitsPerSample(int nBits) = 0;
    virtual void ShowSampleRate(int nRateHz) = 0;
    virtual void ShowListening(bool bListening) = 0;
    virtual void ShowRecording(bool bRecording) = 0;

    // Title of the main wave window.
    virtual void SetDocumentTitle(const QString& strTitle) = 0;
};
