#include "allocation_counter.h"

#include <oleauto.h>

#include <cstdlib>
#include <cstring>

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
  auto* base = reinterpret_cast<BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  for (auto* descriptor = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
       directory.VirtualAddress != 0 && descriptor->Name != 0; ++descriptor) {
    const char* dll = reinterpret_cast<const char*>(base + descriptor->Name);
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      const char* function = reinterpret_cast<const char*>(
          reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData)->Name);
      for (const Replacement& replacement : kReplacements) {
        if (lstrcmpiA(dll, replacement.dll) != 0 || std::strcmp(function, replacement.function) != 0) continue;
        void** slot = reinterpret_cast<void**>(&slots->u1.Function);
        DWORD protection = 0;
        VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &protection);
        patches_.push_back({slot, *slot});
        *slot = replacement.wrapper;
        VirtualProtect(slot, sizeof *slot, protection, &protection);
      }
    }
  }
  Reset();
}

AllocationCounter::~AllocationCounter() {
  for (const Patch& patch : patches_) {
    DWORD protection = 0;
    VirtualProtect(patch.slot, sizeof *patch.slot, PAGE_READWRITE, &protection);
    *patch.slot = patch.original;
    VirtualProtect(patch.slot, sizeof *patch.slot, protection, &protection);
  }
}

long AllocationCounter::Count() const { return allocations; }
void AllocationCounter::Reset() { InterlockedExchange(&allocations, 0); }

}  // namespace test
