// Tests of the magnitude spectra, the block spectra and the repeated autocorrelations.
#include "Spectrum.h"
#include "RandomBlock.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
using Levels = std::array<std::vector<double>, kAutocorrelationLevels>;

// Every level holds a marker value, so untouched levels can be told apart.
Levels MarkedLevels()
{
    Levels levels;
    for (size_t i = 0; i < levels.size(); ++i)
        levels[i] = {-1.0 - static_cast<double>(i)};
    return levels;
}

// (1/n^2) sum_j x_j x_(j+m mod n), straight from the definition.
std::vector<double> DirectCircularAutocorrelation(const std::vector<double>& x)
{
    const size_t n = x.size();
    std::vector<double> r(n, 0.0);
    for (size_t m = 0; m < n; ++m) {
        long double dSum = 0.0L;
        for (size_t j = 0; j < n; ++j)
            dSum += static_cast<long double>(x[j]) * x[(j + m) % n];
        r[m] = static_cast<double>(dSum / (static_cast<long double>(n) * n));
    }
    return r;
}

void ExpectNear(const std::vector<double>& aActual, const std::vector<double>& aExpected, double dTolerance,
                const char* pWhat)
{
    ASSERT_EQ(aActual.size(), aExpected.size()) << pWhat;
    for (size_t i = 0; i < aActual.size(); ++i)
        ASSERT_NEAR(aActual[i], aExpected[i], dTolerance) << pWhat << ", entry " << i;
}

} // namespace

TEST(SpectrumTest, LargestPowerOfTwoAtMost)
{
    const std::pair<long long, int> aCases[] = {
        {-5, 1}, {0, 1}, {1, 1}, {2, 2}, {3, 2}, {1000, 512}, {1023, 512}, {1024, 1024},
        {1025, 1024}, {32768, 32768}, {524289, 524288}, {1LL << 31, 1 << 30}, {1LL << 50, 1 << 30}};
    for (const auto& [count, nExpected] : aCases)
        EXPECT_EQ(LargestPowerOfTwoAtMost(count), nExpected) << count;
}

TEST(SpectrumTest, SmallAndDegenerateBlocks)
{
    struct Case {
        const char* pName;
        std::vector<double> block;
        int n;
        std::vector<double> expected;
    };
    const Case aCases[] = {
        {"empty block", {}, 1, {0.0}},
        {"one negative sample", {-7.0}, 1, {7.0}},
        {"two samples", {3.0, 1.0}, 2, {2.0, 1.0}},
        {"longer block, first value only", {5.0, 9.0, 9.0}, 1, {5.0}},
        // Zero padding of [1, 1] to four points: X = 2, 1 - i, 0, 1 + i, divided by 4.
        {"zero-padded to 4", {1.0, 1.0}, 4, {0.5, std::sqrt(2.0) / 4, 0.0}},
    };
    for (const Case& c : aCases) {
        std::vector<double> spectrum{42.0};
        ASSERT_TRUE(ComputeMagnitudeSpectrum(c.block, c.n, spectrum)) << c.pName;
        ExpectNear(spectrum, c.expected, 1e-15, c.pName);
    }
}

TEST(SpectrumTest, KnownSignals)
{
    const int n = 1024;
    std::vector<double> aConstant(n, 128.0);
    std::vector<double> aSine(n);
    for (int j = 0; j < n; ++j)
        aSine[static_cast<size_t>(j)] = 32767.0 * std::sin(2 * kPi * 37 * j / n);

    std::vector<double> spectrum;
    ASSERT_TRUE(ComputeMagnitudeSpectrum(aConstant, n, spectrum));
    ASSERT_EQ(spectrum.size(), size_t{n / 2 + 1});
    for (size_t k = 0; k < spectrum.size(); ++k)
        ASSERT_NEAR(spectrum[k], k == 0 ? 128.0 : 0.0, 1e-12) << "constant, bin " << k;

    ASSERT_TRUE(ComputeMagnitudeSpectrum(aSine, n, spectrum));
    for (size_t k = 0; k < spectrum.size(); ++k)
        ASSERT_NEAR(spectrum[k], k == 37 ? 16383.5 : 0.0, 1e-9) << "sine, bin " << k;
}

TEST(SpectrumTest, OnlyTheFirstNValuesEnter)
{
    // 1000 samples: the largest power of two is 512; values from 512 on must not count.
    std::vector<double> aBlock = RandomBlock(1000, 7, 100.0);
    const int n = LargestPowerOfTwoAtMost(static_cast<long long>(aBlock.size()));
    ASSERT_EQ(n, 512);
    std::vector<double> aHead(aBlock.begin(), aBlock.begin() + n);
    for (size_t i = 512; i < aBlock.size(); ++i)
        aBlock[i] = 1e6;

    std::vector<double> spectrum;
    std::vector<double> aHeadSpectrum;
    ASSERT_TRUE(ComputeMagnitudeSpectrum(aBlock, n, spectrum));
    ASSERT_TRUE(ComputeMagnitudeSpectrum(aHead, n, aHeadSpectrum));
    EXPECT_EQ(spectrum.size(), 257u);
    EXPECT_EQ(spectrum, aHeadSpectrum);
}

TEST(SpectrumTest, BadSizeLeavesTheSpectrumAlone)
{
    const std::vector<double> aBlock(64, 1.0);
    for (int n : {0, -4, 3, 1000}) {
        std::vector<double> spectrum{1.0, 2.0};
        EXPECT_FALSE(ComputeMagnitudeSpectrum(aBlock, n, spectrum)) << n;
        EXPECT_EQ(spectrum, (std::vector<double>{1.0, 2.0})) << n;
    }
}

TEST(SpectrumTest, BlockSpectrumBounds)
{
    const std::vector<double> aSource = RandomBlock(40, 11, 100.0);
    struct Case {
        int nSize;  // values of aSource used as the source
        int nStart;
        int n;
        bool bExpected;
    };
    const Case aCases[] = {
        {32, 0, 32, true},   {31, 0, 32, false}, {40, 8, 32, true},    {40, 9, 32, false},
        {40, -1, 32, false}, {40, 0, 24, false}, {40, 0, 0, false},    {40, 39, 1, true},
        {40, 40, 1, false},  {0, 0, 1, false},   {40, 2147483647, 1, false},
    };
    for (const Case& c : aCases) {
        const std::vector<double> source(aSource.begin(), aSource.begin() + c.nSize);
        std::vector<double> output{-1.0};
        const bool bResult = ComputeBlockSpectrum(source, c.nStart, c.n, output);
        ASSERT_EQ(bResult, c.bExpected) << "size " << c.nSize << ", start " << c.nStart << ", n " << c.n;
        if (!bResult) {
            EXPECT_EQ(output, std::vector<double>{-1.0});
            continue;
        }
        // Same as the magnitude spectrum of the stretch on its own.
        const std::vector<double> aStretch(source.begin() + c.nStart, source.begin() + c.nStart + c.n);
        std::vector<double> aExpected;
        ASSERT_TRUE(ComputeMagnitudeSpectrum(aStretch, c.n, aExpected));
        EXPECT_EQ(output, aExpected);
    }
}

TEST(SpectrumTest, AutocorrelationMatchesTheCircularSum)
{
    // A 16-point block, a shorter one that is zero-padded, and a longer one of which only the
    // first 16 values count.
    const std::vector<double> aFull = RandomBlock(20, 5, 100.0);
    const int n = 16;
    const std::vector<std::vector<double>> aSignals = {
        std::vector<double>(aFull.begin(), aFull.begin() + 16),
        std::vector<double>(aFull.begin(), aFull.begin() + 9),
        aFull,
    };
    for (const std::vector<double>& signal : aSignals) {
        std::vector<double> x(signal.begin(), signal.begin() + std::min<size_t>(signal.size(), n));
        x.resize(n, 0.0);
        Levels levels = MarkedLevels();
        int minIndex = -1;
        ASSERT_TRUE(ComputeAutocorrelation(signal, n, 2, levels, minIndex));

        const std::vector<double> aLevel0 = DirectCircularAutocorrelation(x);
        ExpectNear(levels[0], aLevel0, 1e-9, "level 0");
        // Each further level is the autocorrelation of the one below.
        ExpectNear(levels[1], DirectCircularAutocorrelation(levels[0]), 1e-9, "level 1");
        ExpectNear(levels[2], DirectCircularAutocorrelation(levels[1]), 1e-9, "level 2");
        for (int m = 1; m < n; ++m)
            EXPECT_NEAR(levels[0][static_cast<size_t>(m)], levels[0][static_cast<size_t>(n - m)], 1e-9);
    }
}

TEST(SpectrumTest, AutocorrelationOrderDecidesTheLevelsWritten)
{
    const std::vector<double> signal = RandomBlock(64, 3, 100.0);
    const std::pair<int, int> aCases[] = {{-3, 0}, {0, 0}, {1, 1}, {4, 4}, {10, 10}, {15, 10}};
    for (const auto& [order, nHighest] : aCases) {
        Levels levels = MarkedLevels();
        int minIndex = 0;
        ASSERT_TRUE(ComputeAutocorrelation(signal, 64, order, levels, minIndex)) << order;
        for (int i = 0; i < kAutocorrelationLevels; ++i) {
            const std::vector<double>& level = levels[static_cast<size_t>(i)];
            if (i <= nHighest)
                EXPECT_EQ(level.size(), 64u) << "order " << order << ", level " << i;
            else
                EXPECT_EQ(level, std::vector<double>{-1.0 - i}) << "order " << order << ", level " << i;
        }
    }
}

TEST(SpectrumTest, FirstMinimumLag)
{
    const int n = 1024;
    const int nPeriod = 64;
    struct Case {
        const char* pName;
        std::vector<double> signal;
        int nExpected;
    };
    std::vector<double> aRaised(n);
    std::vector<double> aLowOffset(n);
    std::vector<double> aAlternating(n);
    for (int j = 0; j < n; ++j) {
        const double c = std::cos(2 * kPi * j / nPeriod);
        // R = (128^2 + 1250 cos) / n stays positive: its minimum lies at half a period.
        aRaised[static_cast<size_t>(j)] = 128.0 + 50.0 * c;
        // R = (0.09 + cos / 2) / n falls below zero between lags 17 and 18.
        aLowOffset[static_cast<size_t>(j)] = 0.3 + c;
        aAlternating[static_cast<size_t>(j)] = j % 2 == 0 ? 1.0 : -1.0;
    }
    const Case aCases[] = {
        {"raised cosine", aRaised, nPeriod / 2},
        {"cosine with a small offset", aLowOffset, 17},
        {"alternating signs", aAlternating, 0},
        {"constant block, flat R", std::vector<double>(n, 128.0), n / 2},
        {"silence keeps the index", std::vector<double>(n, 0.0), 77},
    };
    for (const Case& c : aCases) {
        Levels levels = MarkedLevels();
        int minIndex = 77;
        ASSERT_TRUE(ComputeAutocorrelation(c.signal, n, 0, levels, minIndex)) << c.pName;
        EXPECT_EQ(minIndex, c.nExpected) << c.pName;
    }
}

TEST(SpectrumTest, AutocorrelationOfTheSmallestSizes)
{
    // n = 1, 2 and 4: the walk may not look past R[n/2].
    struct Case {
        std::vector<double> signal;
        int n;
        std::vector<double> expected;
        int nMinIndex;
    };
    const Case aCases[] = {
        {{2.0}, 1, {4.0}, 0},
        {{-3.0, 8.0}, 1, {9.0}, 0},
        {{3.0, 1.0}, 2, {2.5, 1.5}, 1},
        {{1.0, 3.0}, 2, {2.5, 1.5}, 1},
        {{2.0, -1.0}, 2, {1.25, -1.0}, 0},
        {{1.0, 1.0}, 2, {0.5, 0.5}, 1},
        // R[1] is exactly zero: the walk stops before it.
        {{1.0, 0.0, -1.0, 0.0}, 4, {0.125, 0.0, -0.125, 0.0}, 0},
    };
    for (const Case& c : aCases) {
        Levels levels = MarkedLevels();
        int minIndex = 77;
        ASSERT_TRUE(ComputeAutocorrelation(c.signal, c.n, 15, levels, minIndex));
        ExpectNear(levels[0], c.expected, 1e-15, "level 0");
        EXPECT_EQ(minIndex, c.nMinIndex);
        EXPECT_EQ(levels[10].size(), static_cast<size_t>(c.n));
    }
}

TEST(SpectrumTest, AutocorrelationRefusesABadSize)
{
    const std::vector<double> signal(100, 1.0);
    for (int n : {0, -8, 100}) {
        Levels levels = MarkedLevels();
        int minIndex = 77;
        EXPECT_FALSE(ComputeAutocorrelation(signal, n, 3, levels, minIndex)) << n;
        EXPECT_EQ(minIndex, 77);
        EXPECT_EQ(levels, MarkedLevels());
    }
}
