// Four-tap XOR generator over a congruential table.
#include "LyapunovRandom.h"

LyapunovRandom::LyapunovRandom(std::uint32_t seed)
{
    m_aTable[0] = seed;
    for (std::size_t k = 1; k < kTableSize; ++k)
        m_aTable[k] = 69069u * m_aTable[k - 1] + 1u;
}

std::uint32_t LyapunovRandom::Next()
{
    auto advance = [](std::size_t& p) { p = p == kTableSize - 1 ? 0 : p + 1; };
    advance(m_nP1);
    advance(m_nP2);
    advance(m_nP3);
    advance(m_nP4);
    m_aTable[m_nP1] ^= m_aTable[m_nP2] ^ m_aTable[m_nP3] ^ m_aTable[m_nP4];
    return m_aTable[m_nP1];
}
