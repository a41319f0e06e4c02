// The document's "Aufnahme speichern": the loaded sound file is kept under a
// name of the user's choice, as a copy of the wave file or encoded as MP3.
#include "TonaroDoc.h"

#include "Converter.h"
#include "RiffWaveFile.h"
#include "UiServices.h"

#include <QFile>
#include <QFileInfo>

#include <new>

namespace {

std::string NativePath(const QString& strPath)
{
    return QFile::encodeName(strPath).toStdString();
}

void Inform(const QString& strText)
{
    Ui().Message(strText, MsgIcon::Information);
}

} // namespace

void CTonaroDoc::OnSaveRecording()
{
    if (Converter::IsRunning())
        return;
    FileDialogRequest request;
    request.m_strTitle = QStringLiteral("Wavefile auswählen oder neu benennen.");
    request.m_strFilter = QStringLiteral("WAV - Windows Waves|*.wav|MP3 - MPEG Layer 3 Audio Files|*.mp3|");
    request.m_strDefaultExt = QStringLiteral(".wav");
    request.m_nFlags = FileDialogFlag::OverwritePrompt | FileDialogFlag::NoReadOnlyReturn | FileDialogFlag::Resizable;
    const FileDialogResult chosen = Ui().SaveFileDialog(request);
    if (!chosen.m_bOk)
        return;

    const QString strDest = chosen.m_strPath;
    const QString strSource = m_strFileName;
    const QString strExt = QFileInfo(strDest).suffix().toLower();
    if (strExt == QLatin1String("wav"))
        CopyWaveFile(strDest, strSource);
    else if (strExt == QLatin1String("mp3"))
        ConvertWaveToMp3(strDest, strSource);
}

bool CTonaroDoc::CopyWaveFile(const QString& strDest, const QString& strSource)
{
    CRiffWaveFile source;
    if (Failed(source.Open(NativePath(strSource), nullptr, CRiffWaveFile::kModeRead))) {
        Inform(QStringLiteral("Konnte die Quelldatei:\n%1\nnicht öffnen, Befehl wird abgebrochen.\nEntweder es "
                              "existiert noch keine Aufnahme, oder die gesuchte Datei befindet sich nicht am "
                              "angegebenen Ort.")
                   .arg(strSource));
        return false;
    }

    // The whole data chunk is read before the destination is made, so saving
    // a file onto itself keeps its sound.
    const std::uint32_t nSize = source.GetDataSize();
    std::vector<std::uint8_t> aData;
    bool bRead = true;
    try {
        aData.resize(nSize);
    } catch (const std::bad_alloc&) {
        bRead = false;
    }
    std::uint32_t nRead = 0;
    if (bRead && nSize > 0)
        bRead = Succeeded(source.Read(aData.data(), nSize, &nRead)) && nRead == nSize;
    if (!bRead) {
        Inform(QStringLiteral("Konnte die Quelldatei:\n%1\nnicht lesen, Befehl wird abgebrochen.").arg(strSource));
        source.Close();
        return false;
    }

    const WaveFormat format = *source.GetFormat();
    CRiffWaveFile dest;
    if (Failed(dest.Open(NativePath(strDest), &format, CRiffWaveFile::kModeWrite))) {
        Inform(QStringLiteral("Konnte Zieldatei nicht öffnen, Befehl wird abgebrochen"));
        source.Close();
        return false;
    }
    // Closing writes the sizes into the header, so it belongs to the write.
    const bool bWritten = Succeeded(dest.Write(nSize, aData.data(), nullptr));
    const bool bClosed = Succeeded(dest.Close());
    source.Close();
    if (!bWritten || !bClosed) {
        Inform(QStringLiteral("Konnte nicht in Quelldatei schreiben, Befehl wird abgebrochen"));
        return false;
    }
    return true;
}
