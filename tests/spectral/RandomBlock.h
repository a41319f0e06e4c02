// Reproducible random test blocks for the spectral tests.
#pragma once

#include <random>
#include <vector>

// n values uniform in -amplitude .. amplitude, the same for the same seed.
inline std::vector<double> RandomBlock(int n, unsigned seed, double amplitude)
{
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-amplitude, amplitude);
    std::vector<double> a(static_cast<size_t>(n));
    for (double& v : a)
        v = dist(gen);
    return a;
}
