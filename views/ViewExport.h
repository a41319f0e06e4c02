// The services every window that draws through Canvas shares: save the window
// as a picture file (EMF, SVG or PNG), copy it to the clipboard (EMF bytes and
// PNG), copy its numbers as text, and open its help page.
#pragma once

#include "CanvasTypes.h"

#include <QByteArray>
#include <QString>

class Canvas;
class QWidget;

// What a window states about its services; empty texts switch a service off.
struct ViewExportInfo {
    QString m_strHelpPage;        // "html/Hauptfenster.html"; empty: no help page
    QString m_strSaveTitle;       // title of the save dialog; empty: no picture services
    QString m_strSaveImageTitle;  // picture title of a saved file ("Wave Abbild")
    QString m_strCopyImageTitle;  // picture title of a clipboard copy ("View Abbild")
    QString m_strDataMessage;     // message after a data copy; empty: no data to copy
};

// A window that offers the services.
class CExportableView {
public:
    virtual ~CExportableView() = default;
    virtual ViewExportInfo ExportInfo() const = 0;
    // Size of the picture in pixels (usually the client size).
    virtual CanvasSize PictureSize() const = 0;
    // Draws the picture; bCopy: for the clipboard rather than a file.
    virtual void DrawPicture(Canvas& dc, bool bCopy) = 0;
    // Tab-separated lines ending in "\r\n"; empty when there is nothing to give.
    virtual QString DataText() { return {}; }
};

namespace ViewExport {

enum class PictureFormat { Emf, Svg, Png };

// Filter of the save dialog: the metafile entry first, then SVG and PNG.
QString SaveFilter();
// Format of the filter chosen (counted from 1); unknown indexes give EMF.
PictureFormat FormatOfFilter(int nFilterIndex);

// The picture as EMF bytes with the description of title.
QByteArray EmfPicture(CExportableView& view, const QString& title, bool bCopy);
// Writes the picture to path in format; false when the file cannot be written.
bool WritePicture(CExportableView& view, const QString& path, PictureFormat format);

// "Fenster speichern...": save dialog, then the file.  True when a file was written.
bool SavePicture(CExportableView& view);
// "Kopieren": the picture on the clipboard as "image/x-emf" and as PNG.
bool CopyPicture(CExportableView& view);
// Copy data: the window's text on the clipboard and its message.  Does
// nothing while a sound plays and the microphone is not listened to.
bool CopyData(CExportableView& view);

// MIME type under which the EMF bytes go on the clipboard.
inline const QString kEmfMimeType = QStringLiteral("image/x-emf");

} // namespace ViewExport
