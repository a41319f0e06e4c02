// The maximal Lyapunov exponent: for every reference point the neighbours
// within a size e are followed forward; the mean logarithm of their distance
// after n steps gives the stretch factor S(n), whose slope is the exponent.
#include "MaxLyapunov.h"

#include "Canvas.h"
#include "EngineHelpers.h"
#include "NonlinearPlots.h"
#include "ProgramFlags.h"

#include <algorithm>
#include <cmath>
#include <limits>

MaxExponentResult MaxLyapunov::RunMaxExponent(Canvas* pCanvas, std::span<double> data)
{
    MaxExponentResult result;
    m_aSeries = data;
    const std::uint64_t nLength = data.size();

    double dMin = 0.0;
    double dRange = 0.0;
    if (!rescale_data(data, dMin, dRange))
        return result;

    double eMin = m_max.dMinSize;
    double eMax = m_max.dMaxSize;
    std::uint64_t nSizes = m_max.nSizes;
    if (!(eMin > 0.0) || !std::isfinite(eMin)) {
        Report("Der kleinste Radius muss größer als 0 sein.\n");
        return result;
    }
    if (!(eMin < eMax)) {
        eMax = eMin;
        nSizes = 1;
    }

    // The dimensions are corrected before the length checks, so that the checks
    // see the dimensions the run uses.
    std::uint32_t m2 = std::max<std::uint32_t>(m_max.nMaxDim, 2);
    const std::uint32_t m1 = std::max<std::uint32_t>(m_max.nMinDim, 2);
    if (m1 > m2)
        m2 = m1;
    const std::uint32_t nIter = m_max.nIterations;
    const std::uint32_t d = m_max.nDelay;
    const std::uint64_t nSpan = nIter + static_cast<std::uint64_t>(m2 - 1) * d;
    if (nSpan >= nLength || nLength > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max())) {
        Report("Too few points to handle these parameters!\n");
        return result;
    }
    const auto nPoints = static_cast<std::uint32_t>(nLength - nSpan); // points in the grid
    const std::uint32_t nRefs = std::min<std::uint32_t>(m_max.nReferences, nPoints);
    nSizes = std::min<std::uint64_t>(nSizes, nLength);
    m_max.nMaxDim = m2;
    m_max.nMinDim = m1;
    m_max.nSizes = static_cast<std::uint32_t>(nSizes);
    m_max.dMaxSize = eMax;

    const std::size_t nSteps = static_cast<std::size_t>(nIter) + 1;
    const std::size_t nRows = m2 - 1;
    const std::size_t nCells = engine_detail::CheckedMul(nRows, nSteps);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    PairNeighbourList nbrs;
    bool ok = Allocate(m_aMaxChain, nPoints, std::int32_t{-1}) && Allocate(nbrs.m_aIndex, nPoints, std::int32_t{0})
              && Allocate(nbrs.m_aDepth, nPoints, std::uint32_t{0}) && Allocate(m_aStretch, nCells, 0.0)
              && Allocate(m_aCount, nCells, std::int32_t{0}) && Allocate(m_aRefSum, nCells, 0.0)
              && Allocate(m_aRefCount, nCells, std::int32_t{0});
    result.m_aRows.resize(nRows);
    const std::size_t nRowSize = engine_detail::CheckedMul(nSizes + 1, nSteps);
    for (std::size_t j = 0; j < nRows && ok; ++j)
        ok = Allocate(result.m_aRows[j], nRowSize, nan);
    if (!ok) {
        result = MaxExponentResult{};
        return result;
    }
    result.m_nSizes = static_cast<std::uint32_t>(nSizes);
    result.m_nIterations = nIter;
    result.m_nMinDim = m1;
    result.m_nMaxDim = m2;

    const double f = nSizes == 1 ? 1.0 : std::pow(eMax / eMin, 1.0 / static_cast<double>(nSizes - 1));
    for (std::uint32_t l = 0; l < nSizes; ++l) {
        const double e = eMin * std::pow(f, static_cast<double>(l));
        std::fill(m_aStretch.begin(), m_aStretch.end(), 0.0);
        std::fill(m_aCount.begin(), m_aCount.end(), 0);
        BuildPairGrid(data, nPoints, d, e);

        bool stopped = false;
        for (std::uint32_t a = 0; a < nRefs; ++a) {
            if (a % 50 == 0 && ProgressStep()) {
                stopped = true;
                break;
            }
            FindPairNeighbours(data, a, m2, d, m_max.nWindow, e, nbrs);
            if (g_bAbort) {
                stopped = true;
                break;
            }
            AccumulateStretch(data, a, nbrs);
        }
        if (stopped)
            break;

        for (std::uint32_t k = m1; k <= m2; ++k) {
            std::vector<double>& row = result.m_aRows[k - 2];
            for (std::size_t n = 0; n < nSteps; ++n) {
                const std::size_t cell = (k - 2) * nSteps + n;
                if (m_aCount[cell] > 0)
                    row[nSteps * l + n] = m_aStretch[cell] / m_aCount[cell];
            }
        }
        result.m_nSizesDone = l + 1;
        if (pCanvas) {
            DrawMaxExponentPlot(*pCanvas, result);
            NotifyPlot();
        }
    }
    return result;
}

void MaxLyapunov::AccumulateStretch(std::span<const double> x, std::uint32_t a, const PairNeighbourList& nbrs)
{
    const std::uint32_t m1 = m_max.nMinDim;
    const std::uint32_t m2 = m_max.nMaxDim;
    const std::uint32_t d = m_max.nDelay;
    const std::size_t nSteps = static_cast<std::size_t>(m_max.nIterations) + 1;
    std::fill(m_aRefSum.begin(), m_aRefSum.end(), 0.0);
    std::fill(m_aRefCount.begin(), m_aRefCount.end(), 0);

    // D(n) of dimension k is the sum of the first k squared differences, so one pass
    // over the coordinates gives it for every dimension the neighbour belongs to.
    for (std::size_t idx = 0; idx < nbrs.m_nCount; ++idx) {
        const std::uint32_t depth = nbrs.m_aDepth[idx];
        if (depth < m1)
            continue;
        const auto b = static_cast<std::size_t>(nbrs.m_aIndex[idx]);
        for (std::size_t n = 0; n < nSteps; ++n) {
            double dist = 0.0;
            for (std::uint32_t c = 0; c < depth; ++c) {
                const double diff = x[a + n + static_cast<std::size_t>(c) * d] - x[b + n + static_cast<std::size_t>(c) * d];
                dist += diff * diff;
                if (c + 1 >= m1 && dist > 0.0) {
                    const std::size_t cell = (c - 1) * nSteps + n; // row of dimension c + 1
                    m_aRefSum[cell] += dist;
                    ++m_aRefCount[cell];
                }
            }
        }
    }
    for (std::uint32_t k = m1; k <= m2; ++k) {
        for (std::size_t n = 0; n < nSteps; ++n) {
            const std::size_t cell = (k - 2) * nSteps + n;
            if (m_aRefCount[cell] > 0) {
                ++m_aCount[cell];
                m_aStretch[cell] += std::log(m_aRefSum[cell] / m_aRefCount[cell]) / 2.0;
            }
        }
    }
}
