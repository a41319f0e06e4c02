// The box-assisted neighbour searches against brute force, over many series,
// dimensions and sizes (small sizes make the cell coordinates wrap around).
#include "ChaoticSeries.h"
#include "NonlinearTestSupport.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

// Series of a few kinds in 0 .. 1: uniform noise, a random walk and the Hénon map.
std::vector<double> TestSeries(int kind, std::size_t n, std::mt19937& gen)
{
    std::vector<double> x(n);
    std::uniform_real_distribution<double> uni(0.0, 1.0);
    if (kind == 0) {
        for (double& v : x)
            v = uni(gen);
    } else if (kind == 1) {
        double v = 0.0;
        for (double& out : x)
            out = v += uni(gen) - 0.5;
    } else {
        x = HenonX(n);
    }
    const auto [lo, hi] = std::minmax_element(x.begin(), x.end());
    const double l = *lo;
    const double r = *hi - *lo;
    for (double& v : x)
        v = (v - l) / r;
    return x;
}

std::vector<std::int32_t> Sorted(std::vector<std::int32_t> v)
{
    std::sort(v.begin(), v.end());
    return v;
}

} // namespace

TEST_F(NonlinearTest, PairGridFindsExactlyTheBruteForceNeighbours)
{
    std::mt19937 gen(7);
    PairNeighbourList found;
    int nonEmpty = 0;
    for (int kind = 0; kind < 3; ++kind)
        for (std::uint32_t m2 : {2u, 3u, 5u})
            for (std::uint32_t d : {1u, 3u})
                for (double e : {0.0008, 0.003, 0.02, 0.3})
                    for (std::uint32_t w : {0u, 4u}) {
                        const std::vector<double> x = TestSeries(kind, 1500, gen);
                        const std::uint32_t nPoints = static_cast<std::uint32_t>(x.size()) - (m2 - 1) * d - 10;
                        m_engine->BuildPairGrid(x, nPoints, d, e);
                        for (std::uint32_t a = 0; a < nPoints; a += 37) {
                            m_engine->FindPairNeighbours(x, a, m2, d, w, e, found);
                            for (std::uint32_t k = 2; k <= m2; ++k) {
                                std::vector<std::int32_t> grid;
                                for (std::size_t i = 0; i < found.m_nCount; ++i)
                                    if (found.m_aDepth[i] >= k)
                                        grid.push_back(found.m_aIndex[i]);
                                std::vector<std::int32_t> brute;
                                for (std::uint32_t b = 0; b < nPoints; ++b) {
                                    if (b + w >= a && b <= a + w)
                                        continue;
                                    double dist = 0.0;
                                    for (std::uint32_t c = 0; c < k; ++c)
                                        dist += std::pow(x[a + c * d] - x[b + c * d], 2);
                                    if (dist <= e * e)
                                        brute.push_back(static_cast<std::int32_t>(b));
                                }
                                ASSERT_EQ(Sorted(grid), brute) << "kind " << kind << " m2 " << m2 << " d " << d
                                                               << " e " << e << " w " << w << " a " << a << " k " << k;
                                nonEmpty += brute.empty() ? 0 : 1;
                            }
                        }
                    }
    EXPECT_GT(nonEmpty, 1000); // the comparison is not between empty lists only
}

TEST_F(NonlinearTest, VectorGridFindsExactlyTheBruteForceNeighbours)
{
    std::mt19937 gen(11);
    std::vector<std::int32_t> found;
    int nonTrivial = 0;
    for (int kind = 0; kind < 3; ++kind)
        for (std::uint32_t m : {1u, 2u, 4u})
            for (std::uint32_t d : {1u, 2u})
                for (double e : {0.0005, 0.003, 0.05, 0.4}) {
                    const std::vector<double> x = TestSeries(kind, 1500, gen);
                    const std::uint32_t first = (m - 1) * d;
                    const std::uint32_t end = static_cast<std::uint32_t>(x.size()) - d;
                    m_engine->BuildVectorGrid(x, first, end, e);
                    for (std::uint32_t a = first; a < end; a += 41) {
                        m_engine->FindVectorNeighbours(x, a, m, d, e, found);
                        std::vector<std::int32_t> brute;
                        for (std::uint32_t b = first; b < end; ++b) {
                            bool close = true;
                            for (std::uint32_t k = 0; k < m; ++k)
                                close = close && std::fabs(x[a - k * d] - x[b - k * d]) <= e;
                            if (close)
                                brute.push_back(static_cast<std::int32_t>(b));
                        }
                        ASSERT_EQ(Sorted(found), brute) << "kind " << kind << " m " << m << " d " << d << " e " << e;
                        nonTrivial += brute.size() > 1 ? 1 : 0;
                    }
                }
    EXPECT_GT(nonTrivial, 500);
}

TEST_F(NonlinearTest, NearestNeighbourRadiusIsTheQthSmallestDistanceToOthers)
{
    // Point a = 50 and 40 others at known maximum-norm distances 0.001 .. 0.040 (shuffled).
    std::vector<double> x(200, 0.5);
    std::vector<std::int32_t> found{50};
    std::mt19937 gen(3);
    std::vector<int> steps(40);
    std::iota(steps.begin(), steps.end(), 1);
    std::shuffle(steps.begin(), steps.end(), gen);
    for (int i = 0; i < 40; ++i) {
        const int b = 100 + 2 * i;
        x[static_cast<std::size_t>(b)] = 0.5 + 0.001 * steps[static_cast<std::size_t>(i)];
        found.push_back(b);
    }
    std::shuffle(found.begin(), found.end(), gen);
    // m = 2, d = 1: the second coordinate (x(b - 1) = 0.5) adds nothing.
    const double radius = m_engine->NearestNeighbourRadius(x, 50, 2, 1, found, 30);
    EXPECT_NEAR(radius, 0.030, 1e-12);
    for (int i = 0; i < 30; ++i)
        EXPECT_LE(x[static_cast<std::size_t>(found[static_cast<std::size_t>(i)])], 0.5 + 0.0300001) << i;
    EXPECT_EQ(std::count(found.begin(), found.begin() + 30, 50), 0);
}
