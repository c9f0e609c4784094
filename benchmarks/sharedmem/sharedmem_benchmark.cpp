// Prints Read and Write throughput of QRNSharedMemory for 16 B, 4 KiB and
// 1 MiB, through the vtable and through IDispatch::Invoke, against a raw
// baseline: the same view, the same named mutex and memcpy, called directly.
// Also prints how many allocations the component made during the calls.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "QRNShrMem_h.h"
#include "allocation_counter.h"
#include "com_client.h"
#include "processes.h"

namespace {

// Best time of five runs of `iterations` calls, in nanoseconds per call.
double NanosecondsPerCall(long iterations, const std::function<void()>& call) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  double best = 1e30;
  for (int run = 0; run < 5; ++run) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    for (long index = 0; index < iterations; ++index) call();
    QueryPerformanceCounter(&end);
    const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
    best = std::min(best, seconds * 1e9 / iterations);
  }
  return best;
}

struct Invoker {
  IDispatch* dispatch;
  DISPID id;
  VARIANT arguments[4];  // reversed: Offset, count by reference, bytes, buffer by reference
  long count = 0;
  VARIANT result;

  Invoker(IDispatch* object, const wchar_t* name, unsigned char* buffer, long bytes) : dispatch(object) {
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    for (VARIANT& argument : arguments) VariantInit(&argument);
    arguments[0].vt = VT_I4;
    arguments[0].lVal = 0;
    arguments[1].vt = VT_I4 | VT_BYREF;
    arguments[1].plVal = &count;
    arguments[2].vt = VT_I4;
    arguments[2].lVal = bytes;
    arguments[3].vt = VT_UI1 | VT_BYREF;
    arguments[3].pbVal = buffer;
    VariantInit(&result);
  }
  void operator()() {
    DISPPARAMS parameters = {arguments, nullptr, 4, 0};
    dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &parameters, &result, nullptr, nullptr);
  }
};

}  // namespace

int main() {
  if (test::RegisterServer(L"QRNShrMem.dll") != 0) {
    std::printf("could not register QRNShrMem.dll\n");
    return 1;
  }
  test::Apartment apartment;
  ISharedMemory* memory = nullptr;
  CLSID classId;
  CLSIDFromProgID(L"QUARENT.QRNSharedMemory", &classId);
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ISharedMemory,
                              reinterpret_cast<void**>(&memory)))) {
    std::printf("could not create QUARENT.QRNSharedMemory\n");
    return 1;
  }
  IDispatch* dispatch = nullptr;
  memory->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch));

  const long sectionSize = 2 << 20;
  BSTR name = SysAllocString(L"SharedMemoryBenchmarkSection");
  VARIANT_BOOL created = VARIANT_FALSE;
  memory->Create(sectionSize, name, &created);
  SysFreeString(name);

  // The raw baseline opens the same section and lock by name.
  HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, "SharedMemoryBenchmarkSection");
  auto* view = static_cast<unsigned char*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
  HANDLE mutex = OpenMutexA(SYNCHRONIZE | MUTEX_MODIFY_STATE, FALSE, "SharedMemoryBenchmarkSectionMUTEX_MEM012_BRASEK");
  if (!created || !view || !mutex) {
    std::printf("could not set up the section\n");
    return 1;
  }

  // Warm up the type information the late-bound calls use, then count.
  unsigned char warmUp[1] = {};
  Invoker(dispatch, L"Read", warmUp, 1)();
  Invoker(dispatch, L"Write", warmUp, 1)();
  test::AllocationCounter allocations(GetModuleHandleW(L"QRNShrMem.dll"));
  std::printf("QRNSharedMemory Read/Write with AutoLock, nanoseconds per call (best of 5 runs)\n");
  std::printf("%-6s %-5s %12s %12s %8s %12s %8s\n", "size", "op", "raw", "vtable", "ratio", "Invoke", "ratio");
  for (long size : {16L, 4096L, 1L << 20}) {
    const long iterations = std::max(200L, std::min(100000L, (256L << 20) / size));
    std::vector<unsigned char> buffer(static_cast<size_t>(size), 0x5A);
    long count = 0;
    VARIANT_BOOL result = VARIANT_FALSE;
    for (const char* op : {"Write", "Read"}) {
      const bool write = op[0] == 'W';
      const double raw = NanosecondsPerCall(iterations, [&] {
        WaitForSingleObject(mutex, INFINITE);
        if (write) {
          std::memcpy(view, buffer.data(), size);
        } else {
          std::memcpy(buffer.data(), view, size);
        }
        ReleaseMutex(mutex);
      });
      const double vtable = NanosecondsPerCall(iterations, [&] {
        if (write) {
          memory->Write(buffer.data(), size, &count, 0, &result);
        } else {
          memory->Read(buffer.data(), size, &count, 0, &result);
        }
      });
      Invoker invoker(dispatch, write ? L"Write" : L"Read", buffer.data(), size);
      const double invoke = NanosecondsPerCall(iterations, invoker);
      std::printf("%-6ld %-5s %12.0f %12.0f %7.3fx %12.0f %7.3fx\n", size, op, raw, vtable, vtable / raw, invoke,
                  invoke / raw);
    }
  }
  std::printf("allocations made by QRNShrMem.dll during all Read and Write calls: %ld\n", allocations.Count());

  UnmapViewOfFile(view);
  CloseHandle(mapping);
  CloseHandle(mutex);
  dispatch->Release();
  memory->Release();
  return 0;
}
