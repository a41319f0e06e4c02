#include "ViewExport.h"

#include "EmfCanvas.h"
#include "PainterCanvas.h"
#include "ProgramFlags.h"
#include "QtCanvas.h"
#include "UiServices.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QPainter>
#include <QSvgGenerator>

#include <algorithm>

namespace ViewExport {

namespace {
QImage RenderImage(CExportableView& view, bool bCopy)
{
    const CanvasSize size = view.PictureSize();
    QImage image(std::max(1, size.cx), std::max(1, size.cy), QImage::Format_RGB32);
    image.fill(Qt::white);
    QtCanvas dc(image);
    view.DrawPicture(dc, bCopy);
    dc.Flush();
    return image;
}

bool WriteSvg(CExportableView& view, const QString& path, const QString& title)
{
    const CanvasSize size = view.PictureSize();
    QSvgGenerator generator;
    generator.setFileName(path);
    generator.setSize(QSize(size.cx, size.cy));
    generator.setViewBox(QRect(0, 0, size.cx, size.cy));
    generator.setTitle(title);
    generator.setDescription(QStringLiteral("TONARO Soundanalyse"));
    QPainter painter;
    if (!painter.begin(&generator))
        return false;
    PainterCanvas dc(painter, size);
    view.DrawPicture(dc, false);
    return painter.end();
}
} // namespace

QString SaveFilter()
{
    return QStringLiteral("WMF - Enhanced Metafile|*.wmf|SVG - Scalable Vector Graphics|*.svg|"
                          "PNG - Portable Network Graphics|*.png||");
}

PictureFormat FormatOfFilter(int nFilterIndex)
{
    switch (nFilterIndex) {
    case 2: return PictureFormat::Svg;
    case 3: return PictureFormat::Png;
    default: return PictureFormat::Emf;
    }
}

QByteArray EmfPicture(CExportableView& view, const QString& title, bool bCopy)
{
    EmfCanvas dc(view.PictureSize(), title, bCopy ? EmfCanvas::FrameMode::Bounds : EmfCanvas::FrameMode::Canvas);
    view.DrawPicture(dc, bCopy);
    return dc.Finish();
}

bool WritePicture(CExportableView& view, const QString& path, PictureFormat format)
{
    const QString title = view.ExportInfo().m_strSaveImageTitle;
    switch (format) {
    case PictureFormat::Svg: return WriteSvg(view, path, title);
    case PictureFormat::Png: return RenderImage(view, false).save(path, "PNG");
    case PictureFormat::Emf: break;
    }
    EmfCanvas dc(view.PictureSize(), title, EmfCanvas::FrameMode::Canvas);
    view.DrawPicture(dc, false);
    return dc.SaveFile(path);
}

bool SavePicture(CExportableView& view)
{
    const ViewExportInfo info = view.ExportInfo();
    if (info.m_strSaveTitle.isEmpty())
        return false;
    FileDialogRequest request;
    request.m_strTitle = info.m_strSaveTitle;
    request.m_strFilter = SaveFilter();
    request.m_nFilterIndex = 1;
    request.m_strDefaultExt = QStringLiteral(".wmf");
    request.m_nFlags = FileDialogFlag::OverwritePrompt | FileDialogFlag::NoReadOnlyReturn | FileDialogFlag::Resizable;
    const FileDialogResult result = Ui().SaveFileDialog(request);
    if (!result.m_bOk || result.m_strPath.isEmpty())
        return false;
    if (WritePicture(view, result.m_strPath, FormatOfFilter(result.m_nFilterIndex)))
        return true;
    Ui().MessageBox(QStringLiteral("Die Datei \"%1\" konnte nicht geschrieben werden.").arg(result.m_strPath),
                    kProgramCaption, MsgIcon::Error, MsgButtons::Ok);
    return false;
}

bool CopyPicture(CExportableView& view)
{
    const ViewExportInfo info = view.ExportInfo();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (info.m_strSaveTitle.isEmpty() || !clipboard)
        return false;
    auto* data = new QMimeData;
    data->setData(kEmfMimeType, EmfPicture(view, info.m_strCopyImageTitle, true));
    data->setImageData(RenderImage(view, true));
    clipboard->setMimeData(data);
    return true;
}

bool CopyData(CExportableView& view)
{
    if (g_bPlaying && !g_bListening)
        return false;
    const ViewExportInfo info = view.ExportInfo();
    if (info.m_strDataMessage.isEmpty())
        return false;
    WaitCursorScope wait;
    const QString text = view.DataText();
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) {
        Ui().MessageBox(QStringLiteral("Cannot open clipboard."), QStringLiteral("Error"), MsgIcon::Error,
                        MsgButtons::Ok);
        return false;
    }
    clipboard->setText(text);
    Ui().MessageBox(info.m_strDataMessage, kProgramCaption, MsgIcon::Information, MsgButtons::Ok);
    return true;
}

} // namespace ViewExport
