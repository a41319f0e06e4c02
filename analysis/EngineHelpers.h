// Small helpers shared by the source files of the nonlinear engine: grid cell
// numbers, safe pixel conversion, checked sizes and allocation.
#pragma once

#include "MaxLyapunov.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include <unistd.h>

namespace engine_detail {

// Cell coordinate of a scaled value: truncated towards zero and wrapped by mask.
// Values too large for an integer (or NaN) all go to cell 0; the distance tests
// keep the search exact for every value a rescaled series can hold.
inline std::int32_t Cell(double v, std::uint32_t mask)
{
    if (!(std::fabs(v) < 9.0e18))
        return 0;
    return static_cast<std::int32_t>(static_cast<std::int64_t>(v) & static_cast<std::int64_t>(mask));
}

// Truncation of a plot coordinate to a pixel, clamped so that no conversion overflows.
inline int Pixel(double v)
{
    if (std::isnan(v))
        return 0;
    if (v > 1.0e8)
        return 100000000;
    if (v < -1.0e8)
        return -100000000;
    return static_cast<int>(v);
}

// a x b, or SIZE_MAX when the product does not fit.
inline std::size_t CheckedMul(std::size_t a, std::size_t b)
{
    if (a != 0 && b > std::numeric_limits<std::size_t>::max() / a)
        return std::numeric_limits<std::size_t>::max();
    return a * b;
}

// Half of the machine's memory: a single working array larger than that is
// refused instead of being handed to the allocator (which may promise memory it
// cannot deliver and end the program later).
inline std::size_t AllocationLimit()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return std::numeric_limits<std::size_t>::max();
    return CheckedMul(static_cast<std::size_t>(pages), static_cast<std::size_t>(pageSize)) / 2;
}

} // namespace engine_detail

template <class T>
bool MaxLyapunov::Allocate(std::vector<T>& v, std::size_t n, T init)
{
    bool ok = engine_detail::CheckedMul(n, sizeof(T)) <= engine_detail::AllocationLimit();
    if (ok) {
        try {
            v.assign(n, init);
        } catch (const std::bad_alloc&) {
            ok = false;
        } catch (const std::length_error&) {
            ok = false;
        }
    }
    if (!ok) {
        v.clear();
        v.shrink_to_fit();
    }
    return check_alloc(ok ? static_cast<const void*>(&v) : nullptr);
}
