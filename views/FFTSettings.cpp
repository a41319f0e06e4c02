#include "FFTSettings.h"

#include "ProfileSettings.h"

#include <algorithm>

void CFFTSettings::Load(const CProfileSettings& p)
{
    m_nBottomCutHz = p.IniFFTBottomCutHz;
    m_nTopCutkHz = p.IniFFTTopCutkHz;
    m_nBottomCutAmp = p.IniFFTBottomCutAmp;
    m_nTopCutAmp = p.IniFFTTopCutAmp;
    m_bIsAmpLinear = p.IniFFTbIsAmpLinear != 0;
    m_bIsFreqLinear = p.IniFFTbIsFreqLinear != 0;
    m_nDarstellung = p.IniFFTbDarstellung;
    m_bIsSumme = p.IniFFTbIsSumme != 0;
    m_bIsDelay = p.IniFFTbIsDelay != 0;
    m_nDelay = p.IniFFTDelay;
    m_bGrid = p.IniFFTbGrid != 0;
    m_bIsCrossVisible = p.IniFFTbIsCrossVisible != 0;
    m_nMinAbstandMaxima = p.IniFFTMinAbstandMaxima;
    m_nMinAbstandNachbarMin = p.IniFFTMinAbstandNachbarMin;
    m_bIsSpline = p.IniFFTbIsSpline != 0;
    m_nSplineTyp = p.IniFFTSplineTyp;
    Clamp();
}

void CFFTSettings::Store(CProfileSettings& p) const
{
    p.IniFFTBottomCutHz = m_nBottomCutHz;
    p.IniFFTTopCutkHz = m_nTopCutkHz;
    p.IniFFTBottomCutAmp = m_nBottomCutAmp;
    p.IniFFTTopCutAmp = m_nTopCutAmp;
    p.IniFFTbIsAmpLinear = m_bIsAmpLinear ? 1 : 0;
    p.IniFFTbIsFreqLinear = m_bIsFreqLinear ? 1 : 0;
    p.IniFFTbDarstellung = m_nDarstellung;
    p.IniFFTbIsSumme = m_bIsSumme ? 1 : 0;
    p.IniFFTbIsDelay = m_bIsDelay ? 1 : 0;
    p.IniFFTDelay = m_nDelay;
    p.IniFFTbGrid = m_bGrid ? 1 : 0;
    p.IniFFTbIsCrossVisible = m_bIsCrossVisible ? 1 : 0;
    p.IniFFTMinAbstandMaxima = m_nMinAbstandMaxima;
    p.IniFFTMinAbstandNachbarMin = m_nMinAbstandNachbarMin;
    p.IniFFTbIsSpline = m_bIsSpline ? 1 : 0;
    p.IniFFTSplineTyp = m_nSplineTyp;
}

void CFFTSettings::Clamp()
{
    m_nBottomCutHz = std::clamp(m_nBottomCutHz, 1, 999);
    m_nTopCutkHz = std::clamp(m_nTopCutkHz, 1, 100);
    m_nBottomCutAmp = std::clamp(m_nBottomCutAmp, -99, 0);
    m_nTopCutAmp = std::clamp(m_nTopCutAmp, -99, 0);
    // Equal limits leave no level range to map; keep them 5 dB apart.
    if (m_nBottomCutAmp <= m_nTopCutAmp) {
        if (m_nBottomCutAmp > -95)
            m_nTopCutAmp = m_nBottomCutAmp - 5;
        else
            m_nBottomCutAmp = m_nTopCutAmp + 5;
    }
    m_nDarstellung = std::clamp(m_nDarstellung, 0, 2);
    m_nDelay = std::clamp(m_nDelay, 0, 15);
    m_nMinAbstandMaxima = std::clamp(m_nMinAbstandMaxima, 0, 50);
    m_nMinAbstandNachbarMin = std::clamp(m_nMinAbstandNachbarMin, 1, 50);
    if (m_nSplineTyp < 0 || m_nSplineTyp > 3)
        m_nSplineTyp = 0;
    if (m_nSplineTyp == 0)
        m_bIsSpline = false;
    // Peak finding and fall-back exclude each other; peak finding wins.
    if (m_bIsCrossVisible)
        m_bIsDelay = false;
}
