// The box-assisted neighbour searches of the maximal exponent (pair grid) and
// of the spectrum (vector grid), and the nearest-neighbour radius.  Cell
// coordinates wrap around the grid; the distance tests keep the results exact.
#include "MaxLyapunov.h"

#include "EngineHelpers.h"

#include <algorithm>
#include <cmath>
#include <utility>

using engine_detail::Cell;

void MaxLyapunov::BuildPairGrid(std::span<const double> x, std::uint32_t nPoints, std::uint32_t nDelay, double e)
{
    constexpr std::uint32_t side = kMaxGridMask + 1;
    m_aMaxGrid.fill(-1);
    if (m_aMaxChain.size() < nPoints)
        m_aMaxChain.resize(nPoints);
    for (std::uint32_t i = 0; i < nPoints; ++i) {
        const std::int32_t cell = Cell(x[i] / e, kMaxGridMask) * static_cast<std::int32_t>(side)
                                  + Cell(x[i + nDelay] / e, kMaxGridMask);
        m_aMaxChain[i] = m_aMaxGrid[static_cast<std::size_t>(cell)];
        m_aMaxGrid[static_cast<std::size_t>(cell)] = static_cast<std::int32_t>(i);
    }
}

void MaxLyapunov::FindPairNeighbours(std::span<const double> x, std::uint32_t a, std::uint32_t nMaxDim,
                                     std::uint32_t nDelay, std::uint32_t nWindow, double e,
                                     PairNeighbourList& out) const
{
    constexpr std::int32_t side = kMaxGridMask + 1;
    const double e2 = e * e;
    const std::int32_t ci = Cell(x[a] / e, kMaxGridMask);
    const std::int32_t cj = Cell(x[a + nDelay] / e, kMaxGridMask);
    const std::int64_t lo = static_cast<std::int64_t>(a) - nWindow;
    const std::int64_t hi = static_cast<std::int64_t>(a) + nWindow;
    out.m_nCount = 0;
    for (std::int32_t di = -1; di <= 1; ++di) {
        for (std::int32_t dj = -1; dj <= 1; ++dj) {
            const std::int32_t cell = ((ci + di) & static_cast<std::int32_t>(kMaxGridMask)) * side
                                      + ((cj + dj) & static_cast<std::int32_t>(kMaxGridMask));
            for (std::int32_t b = m_aMaxGrid[static_cast<std::size_t>(cell)]; b != -1;
                 b = m_aMaxChain[static_cast<std::size_t>(b)]) {
                if (b >= lo && b <= hi)
                    continue;
                const double first = x[a] - x[static_cast<std::size_t>(b)];
                double dist = first * first;
                if (dist > e2)
                    continue;
                std::uint32_t depth = 1;
                for (std::uint32_t k = 1; k < nMaxDim; ++k) {
                    const double diff = x[a + k * nDelay] - x[static_cast<std::size_t>(b) + k * nDelay];
                    dist += diff * diff;
                    if (dist > e2)
                        break;
                    depth = k + 1;
                }
                if (depth < 2)
                    continue;
                if (out.m_nCount == out.m_aIndex.size()) {
                    out.m_aIndex.push_back(b);
                    out.m_aDepth.push_back(depth);
                } else {
                    out.m_aIndex[out.m_nCount] = b;
                    out.m_aDepth[out.m_nCount] = depth;
                }
                ++out.m_nCount;
            }
        }
    }
}

void MaxLyapunov::BuildVectorGrid(std::span<const double> x, std::uint32_t nFirst, std::uint32_t nEnd, double e)
{
    constexpr std::int32_t side = kSpecGridMask + 1;
    for (std::int32_t cell : m_aSpecUsedCells)
        m_aSpecGrid[static_cast<std::size_t>(cell)] = -1;
    m_aSpecUsedCells.clear();
    if (m_aSpecChain.size() < nEnd)
        m_aSpecChain.resize(nEnd);
    // One series: the first and the last series are the same, so only diagonal cells are used.
    for (std::uint32_t i = nFirst; i < nEnd; ++i) {
        const std::int32_t c = Cell(x[i] / e, kSpecGridMask);
        const std::int32_t cell = c * side + c;
        std::int32_t& head = m_aSpecGrid[static_cast<std::size_t>(cell)];
        if (head == -1)
            m_aSpecUsedCells.push_back(cell);
        m_aSpecChain[i] = head;
        head = static_cast<std::int32_t>(i);
    }
}

void MaxLyapunov::FindVectorNeighbours(std::span<const double> x, std::uint32_t a, std::uint32_t nEmbedDim,
                                       std::uint32_t nDelay, double e, std::vector<std::int32_t>& found) const
{
    constexpr std::int32_t side = kSpecGridMask + 1;
    constexpr auto mask = static_cast<std::int32_t>(kSpecGridMask);
    const std::int32_t c = Cell(x[a] / e, kSpecGridMask);
    found.clear();
    for (std::int32_t di = -1; di <= 1; ++di) {
        for (std::int32_t dj = -1; dj <= 1; ++dj) {
            const std::int32_t cell = ((c + di) & mask) * side + ((c + dj) & mask);
            for (std::int32_t b = m_aSpecGrid[static_cast<std::size_t>(cell)]; b != -1;
                 b = m_aSpecChain[static_cast<std::size_t>(b)]) {
                bool close = true;
                for (std::uint32_t k = 0; k < nEmbedDim && close; ++k) {
                    const std::size_t lag = static_cast<std::size_t>(k) * nDelay;
                    close = std::fabs(x[a - lag] - x[static_cast<std::size_t>(b) - lag]) <= e;
                }
                if (close)
                    found.push_back(b);
            }
        }
    }
}

double MaxLyapunov::NearestNeighbourRadius(std::span<const double> x, std::uint32_t a, std::uint32_t nEmbedDim,
                                           std::uint32_t nDelay, std::vector<std::int32_t>& found,
                                           std::uint32_t q) const
{
    const std::size_t n = found.size();
    std::vector<double> dist(n);
    for (std::size_t i = 0; i < n; ++i) {
        const auto b = static_cast<std::size_t>(found[i]);
        if (b == a) {
            dist[i] = 2.0;
            continue;
        }
        double dmax = 0.0;
        for (std::uint32_t k = 0; k < nEmbedDim; ++k) {
            const std::size_t lag = static_cast<std::size_t>(k) * nDelay;
            dmax = std::max(dmax, std::fabs(x[a - lag] - x[b - lag]));
        }
        dist[i] = dmax;
    }
    // Exchange sort: position i receives the smallest distance of the rest.  Only the
    // first q positions are needed, and they come out as a full sort would leave them.
    const std::size_t last = std::min<std::size_t>(q, n);
    for (std::size_t i = 0; i < last; ++i) {
        for (std::size_t j = i + 1; j < n; ++j) {
            if (dist[j] < dist[i]) {
                std::swap(dist[i], dist[j]);
                std::swap(found[i], found[j]);
            }
        }
    }
    return last == 0 ? 0.0 : dist[last - 1];
}
