#pragma once
// Checks of the buffers clients hand to Read and Write: the argument a late-bound
// caller passes, and the raw addresses ReadVB and WriteVB take as numbers.
#include <windows.h>
#include <oaidl.h>

#include <cstddef>

namespace quarent::sharedmem {

// S_OK when the buffer argument of a Read or Write call through IDispatch is a
// byte passed by reference (VT_UI1 | VT_BYREF), or is missing (the type
// library's dispatch answers that). Anything else gives DISP_E_TYPEMISMATCH
// and its position in `parameters->rgvarg` in `argumentError`: the platform
// would convert it into a one-byte temporary that the full count then overruns.
HRESULT CheckBufferArgument(const DISPPARAMS* parameters, UINT* argumentError);

// What a copy does with the caller's memory.
enum class MemoryUse { kRead, kWrite };

// True when every page of the `bytes` bytes at `start` is committed memory of
// this process that allows `use`, across every region the range spans; true
// for 0 bytes.
bool IsUsableMemory(const void* start, size_t bytes, MemoryUse use);

}  // namespace quarent::sharedmem
