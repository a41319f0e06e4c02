// The document's two MP3 entry points: an MP3 file to the wave file that the
// import reads, and the loaded wave file to an MP3 file of the user's choice.
#include "TonaroDoc.h"

#include "Mp3Converter.h"
#include "UiServices.h"

int CTonaroDoc::ConvertMp3ToWave(const QString& strSource, const QString& strDest, bool bProgressWindow)
{
    m_bConversionCancelled = false;
    Mp3Converter converter;
    converter.SetProgressText(&m_strProgressText);
    if (bProgressWindow)
        converter.SetProgressWindow([this] { Ui().SetProgressText(m_strProgressText); });
    converter.SetEncoder(false, {});
    converter.SetSourceFile(strSource);
    converter.SetOutputFile(strDest);
    if (converter.Run())
        return 1;
    // A cancel by the user is no failure to report.
    m_bConversionCancelled = converter.Cancelled();
    if (!m_bConversionCancelled)
        Ui().Message(QStringLiteral("Konvertierung fehlgeschlagen"));
    return 0;
}

int CTonaroDoc::ConvertWaveToMp3(const QString& strDest, const QString& strSource)
{
    Mp3Converter converter;
    converter.SetProgressText(&m_strProgressText);
    converter.SetEncoder(true, {});
    converter.SetSourceFile(strSource);
    converter.SetOutputFile(strDest);
    if (converter.Run())
        return 1;
    if (!converter.Cancelled())
        Ui().Message(QStringLiteral("Konvertierung fehlgeschlagen"));
    return 0;
}
