#include "FFTMapping.h"

#include "FFTSettings.h"

#include <algorithm>
#include <cmath>

namespace {

// Pixel coordinates stay far inside int so that a limit set close to the
// other one or a huge window never overflows.
constexpr double kPixelLimit = 1.0e7;

int ToPixel(double d)
{
    if (std::isnan(d))
        return 0;
    return static_cast<int>(std::clamp(d, -kPixelLimit, kPixelLimit));
}

} // namespace

CFFTMapping::CFFTMapping(const CFFTSettings& s, int nWidth, int nHeight, int nBits, int nSampleRate)
    : m_nWidth(nWidth), m_nHeight(nHeight), m_nSampleRate(nSampleRate), m_bFreqLinear(s.m_bIsFreqLinear),
      m_bAmpLinear(s.m_bIsAmpLinear), m_dFmin(s.m_nBottomCutHz), m_dFmax(s.TopCutHz()),
      m_dRef(std::ldexp(1.0, std::clamp(nBits, 1, 32)))
{
    m_dGmin = G(m_dFmin);
    if (!(m_dGmin < 1.0))
        m_dGmin = 0.0;
    m_dAmpHi = m_dRef * std::pow(10.0, 0.05 * s.m_nBottomCutAmp);
    m_dAmpLo = m_dRef * std::pow(10.0, 0.05 * s.m_nTopCutAmp);
}

double CFFTMapping::G(double f) const
{
    if (m_bFreqLinear)
        return f / m_dFmax;
    return std::log(f) / std::log(m_dFmax);
}

double CFFTMapping::Ratio(double f) const
{
    return (G(f) - m_dGmin) / (1.0 - m_dGmin);
}

int CFFTMapping::X(double f) const
{
    const double r = Ratio(f);
    if (std::isinf(r))
        return r < 0 ? ToPixel(-kPixelLimit) : ToPixel(kPixelLimit);
    return ToPixel(r * (m_nWidth - 20) + 20);
}

int CFFTMapping::Y(double s) const
{
    return YOfAmplitude(s + 1.0);
}

int CFFTMapping::YOfAmplitude(double v) const
{
    const double bottom = Bottom();
    const double ph = PlotHeight();
    double y;
    if (m_bAmpLinear) {
        y = bottom - (v - m_dAmpLo) * ph / (m_dAmpHi - m_dAmpLo);
    } else {
        if (!(v > 1.0))
            return Bottom();
        y = bottom - ph * (std::log(v) - std::log(m_dAmpLo)) / (std::log(m_dAmpHi) - std::log(m_dAmpLo));
    }
    return std::min(ToPixel(y), Bottom());
}

double CFFTMapping::FrequencyAt(int x) const
{
    if (m_nWidth <= 20)
        return m_dFmin;
    const double q = (1.0 - m_dGmin) * (x - 20) / (m_nWidth - 20);
    if (m_bFreqLinear)
        return (q + m_dGmin) * m_dFmax;
    return std::pow(m_dFmax, q + m_dGmin);
}

double CFFTMapping::AmplitudeAt(int y) const
{
    if (PlotHeight() <= 0)
        return m_dAmpLo;
    const double t = static_cast<double>(m_nHeight - y - 20) / PlotHeight();
    if (m_bAmpLinear)
        return m_dAmpLo + t * (m_dAmpHi - m_dAmpLo);
    return std::exp(std::log(m_dAmpLo) + t * (std::log(m_dAmpHi) - std::log(m_dAmpLo)));
}

int CFFTMapping::EntryHz(long long k, int nRate, long long nFft)
{
    if (nFft <= 0)
        return 0;
    return static_cast<int>(k * nRate / nFft);
}
