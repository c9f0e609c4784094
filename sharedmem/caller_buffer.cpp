#include "caller_buffer.h"

#include <cstdint>

namespace quarent::sharedmem {
namespace {

// The buffer is the first parameter of Read and Write.
constexpr DISPID kBufferParameter = 0;

bool Allows(DWORD protection, MemoryUse use) {
  if (protection & (PAGE_GUARD | PAGE_NOACCESS)) return false;
  constexpr DWORD kWritable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
  constexpr DWORD kReadable = kWritable | PAGE_READONLY | PAGE_EXECUTE_READ;
  return (protection & (use == MemoryUse::kWrite ? kWritable : kReadable)) != 0;
}

}  // namespace

HRESULT CheckBufferArgument(const DISPPARAMS* parameters, UINT* argumentError) {
  if (parameters == nullptr || parameters->rgvarg == nullptr) return S_OK;
  // Arguments come last to first; named ones lead, each with its parameter's position.
  UINT position = parameters->cArgs;
  for (UINT named = 0; named < parameters->cNamedArgs && parameters->rgdispidNamedArgs; ++named) {
    if (parameters->rgdispidNamedArgs[named] == kBufferParameter) position = named;
  }
  if (position == parameters->cArgs && parameters->cArgs > parameters->cNamedArgs) position = parameters->cArgs - 1;
  if (position >= parameters->cArgs) return S_OK;
  if (parameters->rgvarg[position].vt == (VT_UI1 | VT_BYREF)) return S_OK;
  if (argumentError) *argumentError = position;
  return DISP_E_TYPEMISMATCH;
}

bool IsUsableMemory(const void* start, size_t bytes, MemoryUse use) {
  const uintptr_t first = reinterpret_cast<uintptr_t>(start);
  const uintptr_t end = first + bytes;
  if (end < first) return false;  // runs past the top of the address space
  for (uintptr_t place = first; place < end;) {
    MEMORY_BASIC_INFORMATION region;
    if (VirtualQuery(reinterpret_cast<const void*>(place), &region, sizeof region) == 0) return false;
    if (region.State != MEM_COMMIT || !Allows(region.Protect, use)) return false;
    const uintptr_t regionEnd = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
    if (regionEnd <= place) return false;
    place = regionEnd;
  }
  return true;
}

}  // namespace quarent::sharedmem
