// Data preparation, the linear algebra and the fixed sequences of the
// nonlinear engine.
#include "LyapunovRandom.h"
#include "NonlinearPlots.h"
#include "NonlinearTestSupport.h"
#include "ScriptedUiServices.h"

#include <cmath>
#include <numeric>
#include <set>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

TEST_F(NonlinearTest, RescaleMapsTheRangeOntoTheUnitInterval)
{
    std::vector<double> x{10.0, 0.0, 10.0, 5.0, 0.0};
    double dMin = -1.0;
    double dRange = -1.0;
    EXPECT_TRUE(m_engine->rescale_data(x, dMin, dRange));
    EXPECT_THAT(x, ElementsAre(1.0, 0.0, 1.0, 0.5, 0.0));
    EXPECT_EQ(dMin, 0.0);
    EXPECT_EQ(dRange, 10.0);
    EXPECT_TRUE(m_aMessages.empty());
    EXPECT_FALSE(g_bAbort);
}

TEST_F(NonlinearTest, ConstantOrEmptySeriesIsRefusedAndLeftAlone)
{
    const std::string text = "rescale_data: data ranges = Null. It makes\n\t\tno sense to continue. \n\n";
    for (std::vector<double> x : {std::vector<double>{3.5, 3.5, 3.5}, std::vector<double>{}}) {
        const std::vector<double> before = x;
        double dMin = 0.0;
        double dRange = 0.0;
        g_bAbort = false;
        m_aMessages.clear();
        EXPECT_FALSE(m_engine->rescale_data(x, dMin, dRange));
        EXPECT_EQ(x, before);
        EXPECT_THAT(m_aMessages, ElementsAre(text));
        EXPECT_TRUE(g_bAbort);
    }
}

TEST_F(NonlinearTest, VarianceGivesMeanAndDeviationAndRefusesZero)
{
    const std::vector<double> x{1.0, 2.0, 3.0, 4.0};
    double dMean = 0.0;
    double dDev = 0.0;
    EXPECT_TRUE(m_engine->variance(x, dMean, dDev));
    EXPECT_DOUBLE_EQ(dMean, 2.5);
    EXPECT_DOUBLE_EQ(dDev, std::sqrt(1.25));

    const std::vector<double> flat{0.25, 0.25};
    EXPECT_FALSE(m_engine->variance(flat, dMean, dDev));
    EXPECT_THAT(m_aMessages, ElementsAre("Fehler: Variance of the data is zero.\n\n"));
    EXPECT_TRUE(g_bAbort);
}

TEST_F(NonlinearTest, FailedAllocationIsReported)
{
    int value = 0;
    EXPECT_TRUE(m_engine->check_alloc(&value));
    EXPECT_FALSE(g_bAbort);
    EXPECT_FALSE(m_engine->check_alloc(nullptr));
    EXPECT_THAT(m_aMessages, ElementsAre("MaxLyapunov::check_alloc: Couldn't allocate enough memory.\n"));
    EXPECT_TRUE(g_bAbort);
}

TEST(NonlinearMessages, WithoutHandlerTheMessageGoesToAMessageBox)
{
    ScriptedUiServices ui;
    SetUiServices(&ui);
    g_bAbort = false;
    auto engine = MaxLyapunov::Create();
    std::vector<double> flat(10, 1.0);
    double dMin = 0.0;
    double dRange = 0.0;
    engine->rescale_data(flat, dMin, dRange);
    SetUiServices(nullptr);
    ASSERT_EQ(ui.MessageTexts().size(), 1);
    EXPECT_TRUE(ui.MessageTexts()[0].startsWith(QStringLiteral("rescale_data: data ranges = Null.")));
    EXPECT_EQ(ui.Calls()[0].m_eButtons, MsgButtons::Ok);
    EXPECT_TRUE(g_bAbort);
    g_bAbort = false;
}

TEST(NonlinearSequences, RandomGeneratorFollowsItsFixedSequence)
{
    // Values of the four-tap XOR generator computed independently from its definition.
    LyapunovRandom rng(623426u);
    EXPECT_EQ(rng.Next(), 60718673u);
    EXPECT_EQ(rng.Next(), 2146872391u);
    EXPECT_EQ(rng.Next(), 3334284129u);
    for (int i = 3; i < 10000; ++i)
        rng.Next();
    EXPECT_EQ(rng.Next(), 49798146u);
    EXPECT_EQ(rng.Next(), 3306435874u);
    EXPECT_EQ(rng.Next(), 518707982u);
}

TEST(NonlinearSequences, ScrambledOrderIsTheSameFixedPermutation)
{
    EXPECT_THAT(MaxLyapunov::ScrambleReferences(10), ElementsAre(4, 1, 3, 9, 8, 7, 6, 5, 0, 2));
    const std::vector<std::int32_t> order = MaxLyapunov::ScrambleReferences(20000);
    EXPECT_EQ(order, MaxLyapunov::ScrambleReferences(20000));
    EXPECT_THAT(std::vector<std::int32_t>(order.begin(), order.begin() + 8),
                ElementsAre(18480, 12466, 1709, 4398, 17712, 14990, 3361, 14100));
    std::vector<std::int32_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::int32_t> identity(20000);
    std::iota(identity.begin(), identity.end(), 0);
    EXPECT_EQ(sorted, identity);
    EXPECT_TRUE(MaxLyapunov::ScrambleReferences(0).empty());
}

TEST(NonlinearNumbers, FourDigitForm)
{
    const std::vector<std::pair<double, std::string>> cases{
        {2.34567, "2.346"}, {0.0123, "0.01230"}, {0.123, "0.1230"}, {0.001, "0.001000"}, {1.0, "1.000"},
        {-1.6234, "-1.623"}, {30.0, "30.00"}, {123.44, "123.4"}, {0.99996, "1.000"}, {12346.0, "12350"},
        {0.0, "0.000"}};
    for (const auto& [value, text] : cases)
        EXPECT_EQ(FourDigitText(value), text) << value;
}

TEST(NonlinearNumbers, KaplanYorkeDimension)
{
    struct Case {
        std::vector<double> sums;
        double expected;
    };
    const std::vector<Case> cases{
        {{0.5, -0.2, -1.0}, 2.3},           // 2 + 0.3 / 1.0
        {{0.3, 0.1, 0.0}, 3.0},             // never negative: the dimension D
        {{-0.5, -1.0}, 0.0},                // negative at once
        {{0.419, -1.623}, 1.0 + 0.419 / 1.623},
    };
    for (const Case& c : cases)
        EXPECT_NEAR(MaxLyapunov::KaplanYorke(c.sums), c.expected, 1e-12);
}

TEST_F(NonlinearTest, SolveLinearPivotsAndSolves)
{
    // The first pivot is 0 before the row exchange.
    std::vector<double> a{0.0, 2.0, 1.0,
                          4.0, 1.0, -1.0,
                          2.0, -3.0, 3.0};
    std::vector<double> v{5.0, 5.0, -1.0}; // solution (1, 2, 1)
    ASSERT_TRUE(m_engine->SolveLinear(a, v, 3));
    EXPECT_NEAR(v[0], 1.0, 1e-12);
    EXPECT_NEAR(v[1], 2.0, 1e-12);
    EXPECT_NEAR(v[2], 1.0, 1e-12);
    EXPECT_TRUE(m_aMessages.empty());
}

TEST_F(NonlinearTest, SingularMatrixIsReported)
{
    std::vector<double> a{0.0, 1.0, 0.0, 2.0};
    std::vector<double> v{1.0, 1.0};
    EXPECT_FALSE(m_engine->SolveLinear(a, v, 2));
    EXPECT_THAT(m_aMessages, ElementsAre("Fehler: Singuläre matrix! Erhöhen Sie versuchsweise die Anzahl der "
                                         "berücksichtigten Nachbarn.\n"));
    EXPECT_TRUE(g_bAbort);

    g_bAbort = false;
    m_aMessages.clear();
    std::vector<double> inv(4, 0.0);
    EXPECT_FALSE(m_engine->InvertMatrix(std::vector<double>{1.0, 2.0, 2.0, 4.0}, inv, 2));
    EXPECT_EQ(m_aMessages.size(), 1u); // stops after the first singular column
}

TEST_F(NonlinearTest, InvertMatrixGivesTheInverse)
{
    const std::vector<double> a{2.0, 1.0, 0.0, 1.0, 3.0, 1.0, 0.0, 1.0, 4.0};
    std::vector<double> inv(9, 0.0);
    ASSERT_TRUE(m_engine->InvertMatrix(a, inv, 3));
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            double sum = 0.0;
            for (int k = 0; k < 3; ++k)
                sum += a[i * 3 + k] * inv[k * 3 + j];
            EXPECT_NEAR(sum, i == j ? 1.0 : 0.0, 1e-12);
        }
}

TEST(NonlinearNumbers, OrthonormaliseKeepsTheOrderAndGivesTheStretchFactors)
{
    std::vector<double> vectors{3.0, 0.0, 0.0,
                                1.0, 2.0, 0.0,
                                1.0, 1.0, 5.0};
    std::vector<double> s(3, 0.0);
    MaxLyapunov::Orthonormalise(vectors, s, 3);
    EXPECT_NEAR(s[0], 3.0, 1e-9);
    EXPECT_NEAR(s[1], 2.0, 1e-9);
    EXPECT_NEAR(s[2], 5.0, 1e-9);
    EXPECT_THAT(vectors, ::testing::Pointwise(::testing::DoubleNear(1e-9),
                                              std::vector<double>{1, 0, 0, 0, 1, 0, 0, 0, 1}));
}
