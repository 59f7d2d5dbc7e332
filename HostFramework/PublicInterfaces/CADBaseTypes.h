// Result codes and small types shared by every host interface.
#pragma once

#include <cstdint>

using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);

constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }

// Host boolean of the component interfaces.
using CADBoolean = unsigned char;
constexpr CADBoolean CADTRUE = 1;
constexpr CADBoolean CADFALSE = 0;

namespace cadhost {
// Ends the process with a message: used for contract violations such as an
// out-of-range list index, which must never read garbage.
[[noreturn]] void FailFast(const char* what);
}  // namespace cadhost
