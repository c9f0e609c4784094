#include "allocation_counter.h"

#include <oleauto.h>

#include <cstdlib>

namespace test {
namespace {

LONG allocations = 0;

void* CountedMalloc(size_t size) {
  InterlockedIncrement(&allocations);
  return std::malloc(size);
}
void* CountedCalloc(size_t count, size_t size) {
  InterlockedIncrement(&allocations);
  return std::calloc(count, size);
}
void* CountedRealloc(void* block, size_t size) {
  InterlockedIncrement(&allocations);
  return std::realloc(block, size);
}
LPVOID WINAPI CountedHeapAlloc(HANDLE heap, DWORD flags, SIZE_T size) {
  InterlockedIncrement(&allocations);
  return HeapAlloc(heap, flags, size);
}
HLOCAL WINAPI CountedLocalAlloc(UINT flags, SIZE_T size) {
  InterlockedIncrement(&allocations);
  return LocalAlloc(flags, size);
}
HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T size) {
  InterlockedIncrement(&allocations);
  return GlobalAlloc(flags, size);
}
LPVOID WINAPI CountedCoTaskMemAlloc(SIZE_T size) {
  InterlockedIncrement(&allocations);
  return CoTaskMemAlloc(size);
}
BSTR WINAPI CountedSysAllocString(const OLECHAR* text) {
  InterlockedIncrement(&allocations);
  return SysAllocString(text);
}
BSTR WINAPI CountedSysAllocStringLen(const OLECHAR* text, UINT length) {
  InterlockedIncrement(&allocations);
  return SysAllocStringLen(text, length);
}

struct Replacement {
  const char* dll;
  const char* function;
  void* wrapper;
};

const Replacement kReplacements[] = {
    {"msvcrt.dll", "malloc", reinterpret_cast<void*>(&CountedMalloc)},
    {"msvcrt.dll", "calloc", reinterpret_cast<void*>(&CountedCalloc)},
    {"msvcrt.dll", "realloc", reinterpret_cast<void*>(&CountedRealloc)},
    {"kernel32.dll", "HeapAlloc", reinterpret_cast<void*>(&CountedHeapAlloc)},
    {"kernel32.dll", "LocalAlloc", reinterpret_cast<void*>(&CountedLocalAlloc)},
    {"kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(&CountedGlobalAlloc)},
    {"ole32.dll", "CoTaskMemAlloc", reinterpret_cast<void*>(&CountedCoTaskMemAlloc)},
    {"oleaut32.dll", "SysAllocString", reinterpret_cast<void*>(&CountedSysAllocString)},
    {"oleaut32.dll", "SysAllocStringLen", reinterpret_cast<void*>(&CountedSysAllocStringLen)},
};

}  // namespace

AllocationCounter::AllocationCounter(HMODULE module) {
  for (const Replacement& replacement : kReplacements) {
    auto hook = std::make_unique<ImportHook>(module, replacement.dll, replacement.function, replacement.wrapper);
    if (hook->Installed()) hooks_.push_back(std::move(hook));
  }
  Reset();
}

long AllocationCounter::Count() const { return allocations; }
void AllocationCounter::Reset() { InterlockedExchange(&allocations, 0); }

}  // namespace test
