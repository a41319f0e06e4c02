// The correlation dimension: pairs of delay vectors closer than each radius
// are counted for every embedding dimension while reference points enter the
// grids one by one in a scrambled order; radii that reached the pair target are
// closed.  The local slopes of ln C over ln radius are the dimension estimates.
#include "MaxLyapunov.h"

#include "Canvas.h"
#include "EngineHelpers.h"
#include "NonlinearPlots.h"
#include "ProgramFlags.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

using engine_detail::Cell;

namespace {

constexpr double kToUnit = 2.3283064370807974e-10; // 32-bit word -> 0 .. 1
constexpr double kSeventh = 0.14285714285714285;

} // namespace

std::vector<std::int32_t> MaxLyapunov::ScrambleReferences(std::uint32_t n)
{
    constexpr std::uint32_t nBuckets = 4096;
    std::uint32_t state = 2311537u;
    for (int i = 0; i < 1000; ++i)
        state = 69069u * state + 1u;
    std::vector<double> keys(n);
    std::vector<std::int32_t> next(n);
    std::vector<std::int32_t> heads(nBuckets, -1);
    for (std::uint32_t i = 0; i < n; ++i) {
        state = 69069u * state + 1u;
        keys[i] = state * kToUnit;
        const auto bucket = static_cast<std::uint32_t>(keys[i] * 4095.999) & (nBuckets - 1);
        next[i] = heads[bucket];
        heads[bucket] = static_cast<std::int32_t>(i);
    }
    // The keys are distinct (successive states of a full-period congruence), so the
    // order within a bucket is the same for every correct sort by key.
    std::vector<std::int32_t> order;
    order.reserve(n);
    for (std::uint32_t bucket = 0; bucket < nBuckets; ++bucket) {
        const std::size_t start = order.size();
        for (std::int32_t i = heads[bucket]; i != -1; i = next[static_cast<std::size_t>(i)])
            order.push_back(i);
        std::sort(order.begin() + static_cast<std::ptrdiff_t>(start), order.end(),
                  [&keys](std::int32_t l, std::int32_t r) {
                      return keys[static_cast<std::size_t>(l)] < keys[static_cast<std::size_t>(r)];
                  });
    }
    return order;
}

CorrDimResult MaxLyapunov::RunCorrelationDimension(Canvas* pCanvas, std::span<double> series)
{
    CorrDimResult result;
    m_aSeries = series;
    const std::uint64_t nLength = series.size();
    double dMin = 0.0;
    double dRange = 0.0;
    if (!rescale_data(series, dMin, dRange))
        return result;

    double eMax = std::fabs(m_corr.dMaxRadius);
    if (!(eMax < 1.0) || !(eMax > 0.0))
        eMax = 1.0;
    double eMin = std::fabs(m_corr.dMinRadius);
    if (!(eMin < eMax) || !(eMin > 0.0))
        eMin = eMax * 0.5;
    const std::uint32_t nDims = m_corr.nMaxDim;
    const std::uint32_t d = m_corr.nDelay;
    const std::uint64_t nLagSpan = static_cast<std::uint64_t>(nDims - 1) * d;
    if (nLength <= nLagSpan || nLength > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        Report("Embedding dimension and delay are too large.\nThe delay vector would be longer than the whole series.\n");
        return result;
    }
    const auto nRadii = static_cast<std::uint32_t>(std::max<std::uint64_t>(2, std::min<std::uint64_t>(m_corr.nRadii, nLength)));
    const auto nRefs = static_cast<std::uint32_t>(nLength - nLagSpan);
    m_corr.nRadii = nRadii;
    m_corr.dMinRadius = eMin;
    m_corr.dMaxRadius = eMax;

    bool ok = Allocate(m_aCorrCounts, engine_detail::CheckedMul(nDims, nRadii), 0.0)
              && Allocate(m_aCorrNorm, nRadii, 0.0) && Allocate(m_aRadii, nRadii, 0.0)
              && Allocate(m_aCorrChain1, nLength, std::int32_t{-1})
              && Allocate(m_aCorrChain2, nLength, std::int32_t{-1})
              && Allocate(m_aOrderInv, nRefs, std::int32_t{0})
              && Allocate(result.m_aRows, nDims, std::vector<CorrDimEntry>{});
    for (std::uint32_t j = 0; j < nDims && ok; ++j)
        ok = Allocate(result.m_aRows[j], nRadii - 1, CorrDimEntry{});
    if (ok) {
        try {
            m_aOrder = ScrambleReferences(nRefs);
        } catch (const std::bad_alloc&) {
            ok = check_alloc(nullptr);
        }
    }
    if (!ok)
        return CorrDimResult{};
    result.m_nMaxDim = nDims;
    result.m_nRadii = nRadii;

    const double f = std::pow(eMax / eMin, 1.0 / (nRadii - 1));
    m_aRadii[0] = eMax;
    for (std::uint32_t k = 1; k < nRadii; ++k)
        m_aRadii[k] = m_aRadii[k - 1] / f;
    m_corr.dLogLargest = std::log(eMax);
    m_corr.dLogFactor = std::log(f);
    m_corr.dLargest = eMax;
    m_corr.dInvLargest = 1.0 / eMax;
    m_corr.nFirstOpen = 0;
    for (std::uint32_t i = 0; i < nRefs; ++i)
        m_aOrderInv[static_cast<std::size_t>(m_aOrder[i])] = static_cast<std::int32_t>(i);
    m_aCorrGrid1.fill(-1);
    m_aCorrGrid2.fill(-1);
    m_tLastOutput = std::chrono::steady_clock::now();

    const std::size_t nTopRow = static_cast<std::size_t>(nDims - 1) * nRadii;
    const auto nLastRadius = static_cast<std::int32_t>(nRadii - 1);
    const std::int64_t excl = m_corr.nExclusion;
    bool bOutput = false;
    for (std::uint32_t n = 1; n < nRefs; ++n) {
        if (n % 50 == 0)
            ProgressStep();
        if (g_bAbort)
            break;
        InsertCorrPoint(m_aOrder[n - 1]);

        std::int32_t& kMin = m_corr.nFirstOpen;
        if (m_aCorrCounts[nTopRow + static_cast<std::size_t>(kMin)] >= m_corr.nPairTarget) {
            while (kMin <= nLastRadius && m_aCorrCounts[nTopRow + static_cast<std::size_t>(kMin)] >= m_corr.nPairTarget)
                ++kMin;
            if (kMin <= nLastRadius) {
                m_corr.dLargest = m_aRadii[static_cast<std::size_t>(kMin)];
                m_corr.dInvLargest = 1.0 / m_corr.dLargest;
                RebuildCorrGrids(n);
            }
        }
        if (kMin <= nLastRadius) {
            const std::int64_t a = m_aOrder[n];
            const std::int64_t lo = std::max<std::int64_t>(0, a - excl);
            const std::int64_t hi = std::min<std::int64_t>(nRefs - 1, a + excl);
            std::uint32_t nClose = 0;
            for (std::int64_t t = lo; t <= hi; ++t)
                if (m_aOrderInv[static_cast<std::size_t>(t)] < static_cast<std::int32_t>(n))
                    ++nClose;
            const double partners = static_cast<double>(n - nClose);
            if (nDims > 1)
                CountPairsAllDims(n);
            CountPairsFirstDim(n);
            for (std::int32_t k = kMin; k <= nLastRadius; ++k)
                m_aCorrNorm[static_cast<std::size_t>(k)] += partners;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - m_tLastOutput > std::chrono::seconds(1) || n == nRefs - 1 || kMin > nLastRadius) {
            m_tLastOutput = now;
            StoreCorrOutput(result);
            bOutput = true;
            if (pCanvas) {
                DrawCorrelationPlot(*pCanvas, result, 0, 0);
                NotifyPlot();
            }
            if (kMin > nLastRadius)
                break;
        }
    }
    if (!bOutput)
        return CorrDimResult{};
    return result;
}

void MaxLyapunov::InsertCorrPoint(std::int32_t i)
{
    constexpr std::int32_t side = kCorrGridMask + 1;
    const auto idx = static_cast<std::size_t>(i);
    const double r = m_corr.dInvLargest;
    const std::int32_t c0 = Cell(m_aSeries[idx] * r, kCorrGridMask);
    m_aCorrChain1[idx] = m_aCorrGrid1[static_cast<std::size_t>(c0)];
    m_aCorrGrid1[static_cast<std::size_t>(c0)] = i;
    // With one embedding dimension the 2-D grid is never searched (and x(i + d) may
    // lie past the end of the series).
    if (m_corr.nMaxDim > 1) {
        const std::int32_t cell = c0 * side + Cell(m_aSeries[idx + m_corr.nDelay] * r, kCorrGridMask);
        m_aCorrChain2[idx] = m_aCorrGrid2[static_cast<std::size_t>(cell)];
        m_aCorrGrid2[static_cast<std::size_t>(cell)] = i;
    }
}

void MaxLyapunov::RebuildCorrGrids(std::uint32_t nInserted)
{
    m_aCorrGrid1.fill(-1);
    m_aCorrGrid2.fill(-1);
    for (std::uint32_t i = 0; i < nInserted; ++i)
        InsertCorrPoint(m_aOrder[i]);
}

void MaxLyapunov::CountPairsFirstDim(std::uint32_t n)
{
    constexpr auto mask = static_cast<std::int32_t>(kCorrGridMask);
    const std::int32_t a = m_aOrder[n];
    const double h = m_aSeries[static_cast<std::size_t>(a)];
    const std::int32_t c = Cell(h * m_corr.dInvLargest, kCorrGridMask);
    const auto nLast = static_cast<std::int32_t>(m_corr.nRadii - 1);
    const std::int32_t kMin = m_corr.nFirstOpen;
    for (std::int32_t dc = -1; dc <= 1; ++dc) {
        for (std::int32_t b = m_aCorrGrid1[static_cast<std::size_t>((c + dc) & mask)]; b != -1;
             b = m_aCorrChain1[static_cast<std::size_t>(b)]) {
            if (std::abs(b - a) <= m_corr.nExclusion)
                continue;
            const double delta = std::fabs(h - m_aSeries[static_cast<std::size_t>(b)]);
            if (!(delta <= m_corr.dLargest))
                continue;
            std::int32_t kTop = nLast;
            if (!(delta < m_corr.dMinRadius))
                kTop = std::min(nLast, static_cast<std::int32_t>((m_corr.dLogLargest - std::log(delta)) / m_corr.dLogFactor));
            for (std::int32_t k = kMin; k <= kTop; ++k)
                m_aCorrCounts[static_cast<std::size_t>(k)] += 1.0;
        }
    }
}

void MaxLyapunov::CountPairsAllDims(std::uint32_t n)
{
    constexpr std::int32_t side = kCorrGridMask + 1;
    constexpr auto mask = static_cast<std::int32_t>(kCorrGridMask);
    const std::int32_t a = m_aOrder[n];
    const std::uint32_t nDims = m_corr.nMaxDim;
    const std::size_t d = m_corr.nDelay;
    const std::size_t nRadii = m_corr.nRadii;
    const auto nLast = static_cast<std::int32_t>(nRadii - 1);
    const std::int32_t kMin = m_corr.nFirstOpen;
    const double largest = m_corr.dLargest;
    const double* xa = &m_aSeries[static_cast<std::size_t>(a)];
    const std::int32_t ci = Cell(xa[0] * m_corr.dInvLargest, kCorrGridMask);
    const std::int32_t cj = Cell(xa[d] * m_corr.dInvLargest, kCorrGridMask);
    for (std::int32_t di = -1; di <= 1; ++di) {
        for (std::int32_t dj = -1; dj <= 1; ++dj) {
            const std::int32_t cell = ((ci + di) & mask) * side + ((cj + dj) & mask);
            for (std::int32_t b = m_aCorrGrid2[static_cast<std::size_t>(cell)]; b != -1;
                 b = m_aCorrChain2[static_cast<std::size_t>(b)]) {
                if (std::abs(b - a) <= m_corr.nExclusion)
                    continue;
                const double* xb = &m_aSeries[static_cast<std::size_t>(b)];
                double delta = 0.0;
                std::int32_t kTop = nLast;
                for (std::uint32_t i = 0; i < nDims; ++i) {
                    const double t = std::fabs(xa[i * d] - xb[i * d]);
                    if (!(t <= largest))
                        break;
                    if (t > delta) {
                        delta = t;
                        kTop = nLast;
                        if (!(delta < m_corr.dMinRadius))
                            kTop = std::min(nLast, static_cast<std::int32_t>((m_corr.dLogLargest - std::log(delta))
                                                                             / m_corr.dLogFactor));
                    }
                    if (i > 0) {
                        double* row = &m_aCorrCounts[i * nRadii];
                        for (std::int32_t k = kMin; k <= kTop; ++k)
                            row[k] += 1.0;
                    }
                }
            }
        }
    }
}

void MaxLyapunov::StoreCorrOutput(CorrDimResult& result)
{
    const std::size_t nDims = m_corr.nMaxDim;
    const std::size_t nRadii = m_corr.nRadii;
    for (std::size_t j = 0; j < nDims; ++j) {
        const double* c = &m_aCorrCounts[j * nRadii];
        std::vector<CorrDimEntry>& row = result.m_aRows[j];
        for (std::size_t k = 1; k < nRadii; ++k) {
            double slope = 0.0;
            if (c[k - 1] > 0.0 && c[k] > 0.0 && m_aCorrNorm[k - 1] > 0.0 && m_aCorrNorm[k] > 0.0)
                slope = std::log((c[k - 1] / c[k]) / m_aCorrNorm[k - 1] * m_aCorrNorm[k]) / m_corr.dLogFactor;
            row[k - 1] = CorrDimEntry{m_aRadii[k], slope};
        }
        // Running mean over 7 entries, in place (entries k-3 .. k-1 are already smoothed).
        for (std::size_t k = 3; k + 5 <= nRadii; ++k) {
            double sumR = 0.0;
            double sumS = 0.0;
            for (std::size_t i = k - 3; i <= k + 3; ++i) {
                sumR += row[i].m_dRadius;
                sumS += row[i].m_dSlope;
            }
            sumR *= kSeventh;
            sumS *= kSeventh;
            if (std::fabs(sumR) < 1e50)
                row[k].m_dRadius = sumR;
            if (std::fabs(sumS) < 1e50)
                row[k].m_dSlope = sumS;
        }
    }
}
