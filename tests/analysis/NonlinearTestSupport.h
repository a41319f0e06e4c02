// Fixture of the nonlinear engine tests: a fresh engine on the heap whose
// messages are collected, and the cancel flag cleared before and after.
#pragma once

#include "MaxLyapunov.h"
#include "ProgramFlags.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

// Uniform noise in 0 .. 1, the same for the same seed.
inline std::vector<double> Noise(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> uni(0.0, 1.0);
    std::vector<double> x(n);
    for (double& v : x)
        v = uni(gen);
    return x;
}

class NonlinearTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_bAbort = false;
        m_engine = MaxLyapunov::Create();
        ASSERT_TRUE(m_engine);
        m_engine->SetMessageHandler([this](const std::string& text) { m_aMessages.push_back(text); });
    }
    void TearDown() override { g_bAbort = false; }

    std::unique_ptr<MaxLyapunov> m_engine;
    std::vector<std::string> m_aMessages;
};
