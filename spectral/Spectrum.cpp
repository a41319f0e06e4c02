// Magnitude spectra and repeated circular autocorrelations on top of the packed real FFT.
#include "Spectrum.h"

#include "RealFft.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <new>
#include <utility>

namespace {

constexpr int kMaxAutocorrelationOrder = kAutocorrelationLevels - 1;

// First n values of block, zero-padded to n.
std::vector<double> PaddedCopy(const std::vector<double>& block, int n)
{
    std::vector<double> aPadded(static_cast<size_t>(n), 0.0);
    const size_t nCopy = std::min(block.size(), aPadded.size());
    std::copy_n(block.begin(), nCopy, aPadded.begin());
    return aPadded;
}

// n/2+1 magnitudes of a packed transform: bins 0 and n/2 are real, bin k in between has its
// real part at k and its (negated) imaginary part at n/2 + k.
void PackedMagnitudes(const double* pPacked, int n, std::vector<double>& magnitudes)
{
    const int nHalf = n / 2;
    magnitudes.resize(static_cast<size_t>(nHalf) + 1);
    magnitudes[0] = std::fabs(pPacked[0]);
    for (int k = 1; k < nHalf; ++k) {
        const double dRe = pPacked[k];
        const double dIm = pPacked[nHalf + k];
        magnitudes[static_cast<size_t>(k)] = std::sqrt(dRe * dRe + dIm * dIm);
    }
    if (nHalf > 0)
        magnitudes[static_cast<size_t>(nHalf)] = std::fabs(pPacked[nHalf]);
}

// Forward transform of x divided by n, the spectrum the magnitudes and autocorrelations start from.
void ScaledTransform(RealFft& fft, const double* x, double* pPacked)
{
    fft.forward(pPacked, x);
    fft.rescale(pPacked);
}

// Circular autocorrelation from a packed spectrum already divided by n: the power of each bin
// as a purely real spectrum, transformed back and divided by n.  pPower is n values of scratch.
void PackedAutocorrelation(RealFft& fft, const double* pPacked, double* pPower, double* pR)
{
    const int n = fft.Length();
    const int nHalf = n / 2;
    pPower[0] = pPacked[0] * pPacked[0];
    for (int k = 1; k < nHalf; ++k)
        pPower[k] = pPacked[k] * pPacked[k] + pPacked[nHalf + k] * pPacked[nHalf + k];
    if (nHalf > 0) {
        pPower[nHalf] = pPacked[nHalf] * pPacked[nHalf];
        std::fill(pPower + nHalf + 1, pPower + n, 0.0);
    }
    fft.inverse(pPower, pR);
    fft.rescale(pR);
}

// Lag of the first minimum of R: walk from lag 0 while R keeps falling and stays positive.
// Past n/2 the lags mirror the ones below, so the walk ends there at the latest; that also
// ends it on a flat R (a constant block) and keeps it inside the array for n = 1 and 2.
int FirstMinimumLag(const std::vector<double>& aR)
{
    const int nLimit = static_cast<int>(aR.size()) / 2;
    int i = 0;
    while (i < nLimit) {
        const double dNext = aR[static_cast<size_t>(i) + 1];
        if (aR[static_cast<size_t>(i)] < dNext || dNext <= 0.0)
            break;
        ++i;
    }
    return i;
}

} // namespace

int LargestPowerOfTwoAtMost(long long count)
{
    int nPower = 1;
    while (nPower < (1 << 30) && static_cast<long long>(nPower) * 2 <= count)
        nPower *= 2;
    return nPower;
}

bool ComputeMagnitudeSpectrum(const std::vector<double>& block, int n, std::vector<double>& spectrum)
{
    if (!RealFft::IsPowerOfTwo(n))
        return false;
    try {
        RealFft fft(n);
        const std::vector<double> aSignal = PaddedCopy(block, n);
        std::vector<double> aPacked(static_cast<size_t>(n));
        ScaledTransform(fft, aSignal.data(), aPacked.data());
        std::vector<double> aMagnitudes;
        PackedMagnitudes(aPacked.data(), n, aMagnitudes);
        spectrum = std::move(aMagnitudes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ComputeBlockSpectrum(const std::vector<double>& source, int start, int n, std::vector<double>& output)
{
    if (!RealFft::IsPowerOfTwo(n) || start < 0)
        return false;
    if (static_cast<long long>(start) + n > static_cast<long long>(source.size()))
        return false;
    try {
        RealFft fft(n);
        std::vector<double> aPacked(static_cast<size_t>(n));
        ScaledTransform(fft, source.data() + start, aPacked.data());
        std::vector<double> aMagnitudes;
        PackedMagnitudes(aPacked.data(), n, aMagnitudes);
        output = std::move(aMagnitudes);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool ComputeAutocorrelation(const std::vector<double>& signal, int n, int order,
                            std::array<std::vector<double>, kAutocorrelationLevels>& levels, int& minIndex)
{
    if (!RealFft::IsPowerOfTwo(n))
        return false;
    const int nRepeats = std::clamp(order, 0, kMaxAutocorrelationOrder);
    // Built aside and swapped in at the end, so a failed allocation leaves the caller's levels
    // as they were.
    std::array<std::vector<double>, kAutocorrelationLevels> aLevels;
    try {
        RealFft fft(n);
        const std::vector<double> aSignal = PaddedCopy(signal, n);
        std::vector<double> aPacked(static_cast<size_t>(n));
        std::vector<double> aPower(static_cast<size_t>(n));
        const double* pSource = aSignal.data();
        for (int nLevel = 0; nLevel <= nRepeats; ++nLevel) {
            std::vector<double>& aR = aLevels[static_cast<size_t>(nLevel)];
            aR.resize(static_cast<size_t>(n));
            ScaledTransform(fft, pSource, aPacked.data());
            PackedAutocorrelation(fft, aPacked.data(), aPower.data(), aR.data());
            pSource = aR.data();
        }
    } catch (const std::bad_alloc&) {
        return false;
    }

    for (int nLevel = 0; nLevel <= nRepeats; ++nLevel)
        levels[static_cast<size_t>(nLevel)].swap(aLevels[static_cast<size_t>(nLevel)]);
    if (levels[0][0] > 0.0)
        minIndex = FirstMinimumLag(levels[0]);
    return true;
}
