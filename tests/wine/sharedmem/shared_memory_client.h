#pragma once
// What the shared memory tests share: registration once per program, creation
// by ProgID, and short forms of the calls whose boolean result is checked.
#include <windows.h>

#include <string>

#include "QRNShrMem_h.h"
#include "common/com_ptr.h"

namespace test {

using quarent::ComPtr;

// Registers QRNShrMem.dll (beside the program) once; true on success.
bool RegisterSharedMemoryOnce();

// A new QRNSharedMemory created by its ProgID, or null.
ComPtr<ISharedMemory> NewSharedMemory();

// Create(size, name); the boolean result, with the status in `status` when given.
bool CreateSection(ISharedMemory* memory, long size, const wchar_t* name, HRESULT* status = nullptr);
bool DeleteSection(ISharedMemory* memory);

// Read/Write through the vtable; returns the result, the byte count in `count`.
bool ReadBytes(ISharedMemory* memory, void* buffer, long bytes, long offset, long* count = nullptr,
               HRESULT* status = nullptr);
bool WriteBytes(ISharedMemory* memory, const void* buffer, long bytes, long offset, long* count = nullptr,
                HRESULT* status = nullptr);

std::wstring NameOf(ISharedMemory* memory);
long SizeOf(ISharedMemory* memory);
bool IsTrue(VARIANT_BOOL value);

// A section name of this process alone, so tests in one prefix never meet.
std::wstring UniqueSectionName(const wchar_t* stem);

}  // namespace test
