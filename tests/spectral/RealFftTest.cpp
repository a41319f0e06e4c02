// Tests of the packed real FFT: tables, known signals, agreement with a direct DFT, round trips.
#include "RealFft.h"
#include "RandomBlock.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <random>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
// Written past the end of every output array; a transform must leave it alone.
constexpr double kSentinel = -12345.678;
constexpr int kGuard = 8;

// Packed transform by the defining sums, in long double.
std::vector<double> DirectPackedDft(const std::vector<double>& x)
{
    const int n = static_cast<int>(x.size());
    std::vector<long double> aCos(x.size());
    std::vector<long double> aSin(x.size());
    for (int m = 0; m < n; ++m) {
        const long double dAngle = 2.0L * std::numbers::pi_v<long double> * m / n;
        aCos[static_cast<size_t>(m)] = std::cos(dAngle);
        aSin[static_cast<size_t>(m)] = std::sin(dAngle);
    }
    std::vector<double> f(x.size(), 0.0);
    for (int k = 0; k <= n / 2; ++k) {
        long double dRe = 0.0L;
        long double dSin = 0.0L;
        for (int j = 0; j < n; ++j) {
            const size_t m = static_cast<size_t>((static_cast<long long>(j) * k) % n);
            dRe += x[static_cast<size_t>(j)] * aCos[m];
            dSin += x[static_cast<size_t>(j)] * aSin[m];
        }
        f[static_cast<size_t>(k)] = static_cast<double>(dRe);
        if (k > 0 && k < n / 2)
            f[static_cast<size_t>(n / 2 + k)] = static_cast<double>(dSin);
    }
    return f;
}

double MaxAbs(const std::vector<double>& a)
{
    double d = 0.0;
    for (double v : a)
        d = std::max(d, std::fabs(v));
    return d;
}

std::vector<double> WithGuard(int n)
{
    return std::vector<double>(static_cast<size_t>(n + kGuard), kSentinel);
}

void ExpectGuardIntact(const std::vector<double>& a, int n)
{
    for (int i = n; i < n + kGuard; ++i)
        ASSERT_EQ(a[static_cast<size_t>(i)], kSentinel) << "written past the end at " << i;
}

} // namespace

TEST(RealFftTest, BitReversalTableOfFourBits)
{
    RealFft fft(16);
    EXPECT_EQ(fft.BitCount(), 4);
    EXPECT_EQ(fft.BitReversalTable(),
              (std::vector<int>{0, 8, 4, 12, 2, 10, 6, 14, 1, 9, 5, 13, 3, 11, 7, 15}));
}

TEST(RealFftTest, BitReversalTableReversesEveryIndex)
{
    for (int nBits = 0; nBits <= 12; ++nBits) {
        RealFft fft(1 << nBits);
        ASSERT_EQ(fft.BitCount(), nBits);
        const std::vector<int>& table = fft.BitReversalTable();
        ASSERT_EQ(table.size(), size_t{1} << nBits);
        for (int i = 0; i < (1 << nBits); ++i) {
            int nReversed = 0;
            for (int b = 0; b < nBits; ++b)
                nReversed |= ((i >> b) & 1) << (nBits - 1 - b);
            ASSERT_EQ(table[static_cast<size_t>(i)], nReversed) << "B = " << nBits << ", i = " << i;
        }
    }
}

TEST(RealFftTest, CosineTableSegments)
{
    for (int n : {1, 2, 4, 8}) {
        RealFft fft(n);
        EXPECT_EQ(fft.CosineTable(), nullptr) << "N = " << n;
        EXPECT_EQ(fft.CosineTableSize(), 0u) << "N = " << n;
    }

    RealFft fft16(16);
    ASSERT_EQ(fft16.CosineTableSize(), 4u);
    const double* pCos = fft16.CosineTable();
    EXPECT_DOUBLE_EQ(pCos[0], 1.0);
    EXPECT_DOUBLE_EQ(pCos[1], std::cos(kPi / 8));
    EXPECT_DOUBLE_EQ(pCos[2], std::sqrt(2.0) / 2);
    EXPECT_DOUBLE_EQ(pCos[3], std::cos(3 * kPi / 8));

    // N = 1024: levels 3 .. 9, level L at 2^(L-1) - 4 holding cos(i pi / 2^L).
    RealFft fft1024(1024);
    ASSERT_EQ(fft1024.CosineTableSize(), 508u);
    for (int nLevel = 3; nLevel <= 9; ++nLevel) {
        const int nHalf = 1 << (nLevel - 1);
        for (int i = 0; i < nHalf; ++i)
            ASSERT_NEAR(fft1024.CosineTable()[nHalf - 4 + i], std::cos(i * kPi / (1 << nLevel)), 1e-15)
                << "level " << nLevel << ", i = " << i;
    }
}

TEST(RealFftTest, KnownSignalsAtLength1024)
{
    const int n = 1024;
    std::vector<double> aCos(n);
    std::vector<double> aSin(n);
    for (int j = 0; j < n; ++j) {
        aCos[static_cast<size_t>(j)] = std::cos(2 * kPi * 5 * j / n) + 0.5;
        aSin[static_cast<size_t>(j)] = std::sin(2 * kPi * 5 * j / n);
    }
    RealFft fft(n);
    std::vector<double> f(n);

    fft.forward(f.data(), aCos.data());
    for (int k = 0; k < n; ++k) {
        const double dExpected = (k == 0 || k == 5) ? 512.0 : 0.0;
        ASSERT_NEAR(f[static_cast<size_t>(k)], dExpected, 1e-9) << "cosine, entry " << k;
    }

    fft.forward(f.data(), aSin.data());
    for (int k = 0; k < n; ++k) {
        const double dExpected = (k == n / 2 + 5) ? n / 2.0 : 0.0;
        ASSERT_NEAR(f[static_cast<size_t>(k)], dExpected, 1e-9) << "sine, entry " << k;
    }
}

TEST(RealFftTest, ForwardMatchesDirectDftForEveryLengthUpTo4096)
{
    for (int nBits = 0; nBits <= 12; ++nBits) {
        const int n = 1 << nBits;
        const std::vector<double> x = RandomBlock(n, 100u + static_cast<unsigned>(nBits), 1.0);
        const std::vector<double> aExpected = DirectPackedDft(x);
        RealFft fft(n);
        std::vector<double> f = WithGuard(n);
        fft.forward(f.data(), x.data());
        ExpectGuardIntact(f, n);
        const double dTolerance = 1e-9 * MaxAbs(aExpected);
        for (int k = 0; k < n; ++k)
            ASSERT_NEAR(f[static_cast<size_t>(k)], aExpected[static_cast<size_t>(k)], dTolerance)
                << "N = " << n << ", entry " << k;
    }
}

TEST(RealFftTest, InverseThenRescaleRestoresTheSignal)
{
    for (int nBits = 0; nBits <= 19; ++nBits) {
        const int n = 1 << nBits;
        const std::vector<double> x = RandomBlock(n, 200u + static_cast<unsigned>(nBits), 1.0);
        RealFft fft(n);
        std::vector<double> f(static_cast<size_t>(n));
        std::vector<double> aBack = WithGuard(n);
        fft.forward(f.data(), x.data());
        fft.inverse(f.data(), aBack.data());
        ExpectGuardIntact(aBack, n);
        fft.rescale(aBack.data());
        ExpectGuardIntact(aBack, n);
        for (int j = 0; j < n; ++j)
            ASSERT_NEAR(aBack[static_cast<size_t>(j)], x[static_cast<size_t>(j)], 1e-12)
                << "N = " << n << ", sample " << j;
    }
}

TEST(RealFftTest, InverseOfTheFirstBinsFollowsTheSynthesisFormula)
{
    // Only bin 0, the Nyquist bin and the cosine and sine parts of bin 3 set.
    for (int n : {8, 16, 64, 512}) {
        std::vector<double> f(static_cast<size_t>(n), 0.0);
        f[0] = 1.5;
        f[static_cast<size_t>(n / 2)] = -0.25;
        f[3] = 0.75;
        f[static_cast<size_t>(n / 2 + 3)] = 2.0;
        RealFft fft(n);
        std::vector<double> x(static_cast<size_t>(n));
        fft.inverse(f.data(), x.data());
        for (int j = 0; j < n; ++j) {
            const double dAngle = 2 * kPi * 3 * j / n;
            const double dExpected = 1.5 + (j % 2 == 0 ? -0.25 : 0.25)
                                     + 2 * (0.75 * std::cos(dAngle) + 2.0 * std::sin(dAngle));
            ASSERT_NEAR(x[static_cast<size_t>(j)], dExpected, 1e-12) << "N = " << n << ", sample " << j;
        }
    }
}

TEST(RealFftTest, TransformsLeaveTheirInputAlone)
{
    for (int n : {1, 2, 4, 8, 16, 32, 1024, 2048}) {
        const std::vector<double> x = RandomBlock(n, 300u + static_cast<unsigned>(n), 1.0);
        std::vector<double> aInput = x;
        RealFft fft(n);
        std::vector<double> f(static_cast<size_t>(n));
        fft.forward(f.data(), aInput.data());
        EXPECT_EQ(aInput, x) << "forward, N = " << n;

        const std::vector<double> aSpectrum = f;
        std::vector<double> aBack(static_cast<size_t>(n));
        fft.inverse(f.data(), aBack.data());
        EXPECT_EQ(f, aSpectrum) << "inverse, N = " << n;
    }
}

TEST(RealFftTest, RescaleDividesByLength)
{
    RealFft fft(8);
    std::vector<double> a{8, -16, 4, 0, 1, 2, 3, 800};
    fft.rescale(a.data());
    EXPECT_EQ(a, (std::vector<double>{1, -2, 0.5, 0, 0.125, 0.25, 0.375, 100}));
}

TEST(RealFftTest, PowerOfTwoTest)
{
    struct Case {
        long long n;
        bool bExpected;
    };
    const Case aCases[] = {{1, true},          {2, true},     {4, true},       {524288, true},
                           {1LL << 40, true}, {0, false},    {-2, false},     {3, false},
                           {6, false},        {1000, false}, {524289, false}, {-1024, false}};
    for (const Case& c : aCases)
        EXPECT_EQ(RealFft::IsPowerOfTwo(c.n), c.bExpected) << c.n;
}

TEST(RealFftTest, EngineForABadLengthWritesZerosOnly)
{
    RealFft fft(12);
    EXPECT_FALSE(fft.IsValid());
    EXPECT_EQ(fft.Length(), 12);
    const std::vector<double> x(12, 3.0);
    std::vector<double> f = WithGuard(12);
    fft.forward(f.data(), x.data());
    ExpectGuardIntact(f, 12);
    EXPECT_TRUE(std::all_of(f.begin(), f.begin() + 12, [](double v) { return v == 0.0; }));

    RealFft fftNegative(-4);
    EXPECT_FALSE(fftNegative.IsValid());
    fftNegative.forward(f.data(), x.data());
    fftNegative.inverse(x.data(), f.data());
    ExpectGuardIntact(f, 12);
}
