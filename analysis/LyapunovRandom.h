// Pseudo-random generator of the Lyapunov spectrum's start vectors: a table of
// 9689 words filled by a linear congruence and combined by four-tap XOR.  Its
// sequence is fixed by the seed, so every run starts from the same vectors.
#pragma once

#include <array>
#include <cstdint>

class LyapunovRandom {
public:
    static constexpr std::size_t kTableSize = 9689;
    // Scales a drawn word to 0 .. 1 (the word divided by 2^32 - 1).
    static constexpr double kToUnit = 2.3283064370807974e-10;

    explicit LyapunovRandom(std::uint32_t seed);
    std::uint32_t Next();
    double NextUnit() { return Next() * kToUnit; }

private:
    std::array<std::uint32_t, kTableSize> m_aTable{};
    std::size_t m_nP1 = 9688; // positions 157 apart
    std::size_t m_nP2 = 9531;
    std::size_t m_nP3 = 9374;
    std::size_t m_nP4 = 9217;
};
