// Radix-2 decimation-in-time real FFT whose passes alternate between the output array and a
// work buffer; the first two passes and the third are written out without table look-ups.
#include "RealFft.h"

#include <algorithm>
#include <cmath>

RealFft::RealFft(int nLength)
    : m_nLength(nLength)
{
    m_bValid = IsPowerOfTwo(nLength);
    if (!m_bValid)
        return;

    // The added 0.5 absorbs the rounding error of the quotient of the logarithms.
    m_nBitCount = static_cast<int>(std::floor(std::log(static_cast<double>(nLength)) / std::log(2.0) + 0.5));
    BuildBitReversalTable();
    if (m_nBitCount >= 4)
        BuildCosineTable();
    m_dHalfRootTwo = std::sqrt(2.0) * 0.5;
    if (m_nBitCount > 2)
        m_pWork = std::make_unique<double[]>(static_cast<size_t>(nLength));
}

RealFft::~RealFft() = default;

bool RealFft::IsPowerOfTwo(long long n)
{
    return n > 0 && (n & (n - 1)) == 0;
}

void RealFft::BuildBitReversalTable()
{
    const int nEntries = 1 << m_nBitCount;
    m_aBitReversal.assign(static_cast<size_t>(nEntries), 0);
    if (m_nBitCount == 0)
        return;
    // Counter incremented in reversed bit order: toggle the highest bit, and while the toggled
    // bit became 0 (a carry), toggle the next lower one.
    const int nHighBit = 1 << (m_nBitCount - 1);
    int nCounter = 0;
    for (int i = 1; i < nEntries; ++i) {
        int nBit = nHighBit;
        nCounter ^= nBit;
        while ((nCounter & nBit) == 0) {
            nBit >>= 1;
            nCounter ^= nBit;
        }
        m_aBitReversal[static_cast<size_t>(i)] = nCounter;
    }
}

void RealFft::BuildCosineTable()
{
    // Level L (3 .. B-1) owns 2^(L-1) entries from index 2^(L-1) - 4 on: cos(i pi / 2^L).
    // The matching sines are read from the same segment, mirrored.
    m_nCosineSize = (size_t{1} << (m_nBitCount - 1)) - 4;
    m_pCosine = std::make_unique<double[]>(m_nCosineSize);
    const double dPi = 4.0 * std::atan(1.0);
    for (int nLevel = 3; nLevel < m_nBitCount; ++nLevel) {
        const int nHalf = 1 << (nLevel - 1);
        double* pSegment = m_pCosine.get() + (nHalf - 4);
        const double dStep = dPi / static_cast<double>(1 << nLevel);
        for (int i = 0; i < nHalf; ++i)
            pSegment[i] = std::cos(static_cast<double>(i) * dStep);
    }
}

void RealFft::forward(double* f, const double* x)
{
    if (!m_bValid) {
        std::fill(f, f + std::max(m_nLength, 0), 0.0);
        return;
    }
    switch (m_nLength) {
    case 1:
        f[0] = x[0];
        return;
    case 2:
        f[0] = x[0] + x[1];
        f[1] = x[0] - x[1];
        return;
    case 4: {
        f[1] = x[0] - x[2];
        f[3] = x[1] - x[3];
        const double a = x[0] + x[2];
        const double b = x[1] + x[3];
        f[0] = a + b;
        f[2] = a - b;
        return;
    }
    default:
        ForwardPasses(f, x);
    }
}

void RealFft::ForwardPasses(double* f, const double* x)
{
    const int n = m_nLength;
    const int* pRev = m_aBitReversal.data();
    // Every pass writes the array the previous one did not; starting in the work buffer for
    // odd B makes the last pass land in f.
    const bool bOdd = (m_nBitCount & 1) != 0;
    double* d = bOdd ? m_pWork.get() : f;
    double* s = bOdd ? f : m_pWork.get();

    // Passes 1 and 2: transforms of length 4 from the samples in bit-reversed order.
    for (int c = 0; c < n; c += 4) {
        const double x0 = x[pRev[c]];
        const double x1 = x[pRev[c + 1]];
        const double x2 = x[pRev[c + 2]];
        const double x3 = x[pRev[c + 3]];
        d[c + 1] = x0 - x1;
        d[c + 3] = x2 - x3;
        const double a = x0 + x1;
        const double b = x2 + x3;
        d[c] = a + b;
        d[c + 2] = a - b;
    }

    // Pass 3: length 8; the only twiddle besides 1 and i is sqrt(2)/2.
    const double h2 = m_dHalfRootTwo;
    for (int c = 0; c < n; c += 8) {
        const double* p = d + c;
        double* q = s + c;
        q[0] = p[0] + p[4];
        q[4] = p[0] - p[4];
        q[2] = p[2];
        q[6] = p[6];
        double v = (p[5] - p[7]) * h2;
        q[1] = p[1] + v;
        q[3] = p[1] - v;
        v = (p[5] + p[7]) * h2;
        q[5] = v + p[3];
        q[7] = v - p[3];
    }

    // Levels 3 .. B-1: merge pairs of packed transforms of length len into one of 2 len.
    for (int nLevel = 3; nLevel < m_nBitCount; ++nLevel) {
        const int len = 1 << nLevel;
        const int h = len / 2;
        const double* pCos = m_pCosine.get() + (h - 4);
        for (int c = 0; c < n; c += 2 * len) {
            const double* s1 = s + c;
            const double* s2 = s1 + len;
            double* d1 = d + c;
            double* d2 = d1 + len;
            d1[0] = s1[0] + s2[0];
            d2[0] = s1[0] - s2[0];
            d1[h] = s1[h];
            d2[h] = s2[h];
            for (int i = 1; i < h; ++i) {
                const double co = pCos[i];
                const double si = pCos[h - i];
                const double v = s2[i] * co - s2[h + i] * si;
                d1[i] = s1[i] + v;
                d1[len - i] = s1[i] - v;
                const double w = s2[i] * si + s2[h + i] * co;
                d2[i] = w + s1[h + i];
                d2[len - i] = w - s1[h + i];
            }
        }
        std::swap(s, d);
    }
}

void RealFft::inverse(const double* f, double* x)
{
    if (!m_bValid) {
        std::fill(x, x + std::max(m_nLength, 0), 0.0);
        return;
    }
    switch (m_nLength) {
    case 1:
        x[0] = f[0];
        return;
    case 2:
        x[0] = f[0] + f[1];
        x[1] = f[0] - f[1];
        return;
    case 4: {
        const double a = f[0] + f[2];
        const double b = f[0] - f[2];
        x[0] = a + 2.0 * f[1];
        x[2] = a - 2.0 * f[1];
        x[1] = b + 2.0 * f[3];
        x[3] = b - 2.0 * f[3];
        return;
    }
    default:
        InversePasses(f, x);
    }
}

void RealFft::InversePasses(const double* f, double* x)
{
    const int n = m_nLength;
    const int* pRev = m_aBitReversal.data();
    // The first level reads f; later levels alternate between the two buffers so that the
    // third-last pass always writes the work buffer, which the last passes scatter into x.
    const bool bOdd = (m_nBitCount & 1) != 0;
    double* aBuffers[2] = {bOdd ? m_pWork.get() : x, bOdd ? x : m_pWork.get()};
    const double* s = f;
    int nWritten = 0;

    // Levels B-1 .. 3: split each packed transform of length 2 len into two of length len.
    for (int nLevel = m_nBitCount - 1; nLevel >= 3; --nLevel) {
        const int len = 1 << nLevel;
        const int h = len / 2;
        const double* pCos = m_pCosine.get() + (h - 4);
        double* d = aBuffers[nWritten & 1];
        for (int c = 0; c < n; c += 2 * len) {
            const double* sr = s + c;
            const double* si = sr + len;
            double* d1 = d + c;
            double* d2 = d1 + len;
            d1[0] = sr[0] + si[0];
            d2[0] = sr[0] - si[0];
            d1[h] = 2.0 * sr[h];
            d2[h] = 2.0 * si[h];
            for (int i = 1; i < h; ++i) {
                const double co = pCos[i];
                const double sn = pCos[h - i];
                d1[i] = sr[i] + sr[len - i];
                d1[h + i] = si[i] - si[len - i];
                const double vr = sr[i] - sr[len - i];
                const double vi = si[i] + si[len - i];
                d2[i] = vr * co + vi * sn;
                d2[h + i] = vi * co - vr * sn;
            }
        }
        s = d;
        ++nWritten;
    }

    // Third-last pass: length 8 into two transforms of length 4.
    const double h2 = m_dHalfRootTwo;
    double* d = aBuffers[nWritten & 1];
    for (int c = 0; c < n; c += 8) {
        const double* p = s + c;
        double* q = d + c;
        q[0] = p[0] + p[4];
        q[4] = p[0] - p[4];
        q[2] = 2.0 * p[2];
        q[6] = 2.0 * p[6];
        q[1] = p[1] + p[3];
        q[3] = p[5] - p[7];
        const double vr = p[1] - p[3];
        const double vi = p[5] + p[7];
        q[5] = (vr + vi) * h2;
        q[7] = (vi - vr) * h2;
    }

    // Last two passes: each length-4 transform back to its samples, in bit-reversed places.
    for (int c = 0; c < n; c += 4) {
        const double* p = d + c;
        const int* r = pRev + c;
        const double a = p[0] + p[2];
        const double b = p[0] - p[2];
        x[r[0]] = a + 2.0 * p[1];
        x[r[1]] = a - 2.0 * p[1];
        x[r[2]] = b + 2.0 * p[3];
        x[r[3]] = b - 2.0 * p[3];
    }
}

void RealFft::rescale(double* a) const
{
    if (m_nLength <= 0)
        return;
    const double dFactor = 1.0 / static_cast<double>(m_nLength);
    for (int i = m_nLength - 1; i >= 0; --i)
        a[i] *= dFactor;
}
