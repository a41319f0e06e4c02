#include "SoundBufferLock.h"

#include <cstdint>

HResult LockSoundBuffer(std::vector<std::uint8_t>& aData, std::uint32_t nOffset, std::uint32_t nBytes,
                        SoundLockedRange& range)
{
    range = SoundLockedRange{};
    const std::uint64_t size = aData.size();
    if (nOffset >= size || nBytes == 0 || nBytes > size)
        return E_INVALIDARG;
    range.m_pFirst = aData.data() + nOffset;
    if (nOffset + std::uint64_t{nBytes} <= size) {
        range.m_nFirstBytes = nBytes;
    } else {
        range.m_nFirstBytes = static_cast<std::uint32_t>(size - nOffset);
        range.m_pSecond = aData.data();
        range.m_nSecondBytes = nBytes - range.m_nFirstBytes;
    }
    return S_OK;
}

HResult UnlockSoundBuffer(const std::vector<std::uint8_t>& aData, const SoundLockedRange& range)
{
    const std::uint8_t* begin = aData.data();
    const auto first = reinterpret_cast<std::uintptr_t>(begin);
    const auto last = first + aData.size();
    auto inside = [first, last](const std::uint8_t* p, std::uint32_t n) {
        const auto at = reinterpret_cast<std::uintptr_t>(p);
        return at >= first && at <= last && n <= last - at;
    };
    if (!range.m_pFirst || !inside(range.m_pFirst, range.m_nFirstBytes))
        return E_INVALIDARG;
    if (range.m_nSecondBytes > 0 && (range.m_pSecond != begin || !inside(range.m_pSecond, range.m_nSecondBytes)))
        return E_INVALIDARG;
    return S_OK;
}
