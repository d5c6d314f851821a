// HRESULT-style status values: negative is failure, 0 success, 1 "nothing to do".
#pragma once

#include <cstdint>

#if defined(_WIN32)
#include <winerror.h>
// The same type as winnt.h's HRESULT, so either may come first.
typedef long HRESULT;
#else
using HRESULT = std::int32_t;

#define S_OK (static_cast<HRESULT>(0))
#define S_FALSE (static_cast<HRESULT>(1))
#define E_NOTIMPL (static_cast<HRESULT>(0x80004001u))
#define E_POINTER (static_cast<HRESULT>(0x80004003u))
#define E_FAIL (static_cast<HRESULT>(0x80004005u))
#define E_OUTOFMEMORY (static_cast<HRESULT>(0x8007000Eu))
#define E_INVALIDARG (static_cast<HRESULT>(0x80070057u))
#define SUCCEEDED(hr) (static_cast<HRESULT>(hr) >= 0)
#define FAILED(hr) (static_cast<HRESULT>(hr) < 0)
#endif

namespace velmora {

using Status = HRESULT;

static_assert(sizeof(Status) == 4, "status values are 32-bit on every platform");

}  // namespace velmora
