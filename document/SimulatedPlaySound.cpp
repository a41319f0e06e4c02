#include "SimulatedPlaySound.h"

#include <algorithm>

HResult CSimulatedPlaySound::Play(bool)
{
    return E_FAIL;
}

void CSimulatedPlaySound::SetPosition(std::uint32_t nBytes)
{
    m_nPosition = std::min(nBytes, m_nDataSize);
}
