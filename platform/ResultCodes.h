// Result codes returned across module boundaries.  They keep the values of
// the Windows result codes the program's file and sound routines have always
// returned, so callers test "negative = failure" as before.
#pragma once

#include <cstdint>

using HResult = std::int32_t;

inline constexpr HResult S_OK = 0;
inline constexpr HResult S_FALSE = 1;
inline constexpr HResult E_FAIL = static_cast<HResult>(0x80004005u);
inline constexpr HResult E_INVALIDARG = static_cast<HResult>(0x80070057u);
inline constexpr HResult E_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
inline constexpr HResult CO_E_NOTINITIALIZED = static_cast<HResult>(0x800401F0u);

inline constexpr bool Failed(HResult hr) { return hr < 0; }
inline constexpr bool Succeeded(HResult hr) { return hr >= 0; }
