#include "SimulatedPlaySoundMaker.h"

#include "RiffWaveFile.h"
#include "SimulatedPlaySound.h"

#include <QFile>

HResult CSimulatedPlaySoundMaker::Create(const QString& strPath, std::unique_ptr<CPlaySound>& out)
{
    out.reset();
    if (strPath.isEmpty())
        return E_INVALIDARG;
    CRiffWaveFile file;
    const HResult hr = file.Open(QFile::encodeName(strPath).toStdString(), nullptr, CRiffWaveFile::kModeRead);
    if (Failed(hr))
        return hr;
    const std::uint32_t nSize = file.GetDataSize();
    file.Close();
    if (nSize == 0)
        return E_FAIL;
    out = std::make_unique<CSimulatedPlaySound>(nSize);
    return S_OK;
}
