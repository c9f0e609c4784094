#include "shared_memory_client.h"


#include "processes.h"

namespace test {

bool RegisterSharedMemoryOnce() {
  static const long exitCode = RegisterServer(L"QRNShrMem.dll");
  return exitCode == 0;
}

ComPtr<ISharedMemory> NewSharedMemory() {
  CLSID classId;
  if (FAILED(CLSIDFromProgID(L"QUARENT.QRNSharedMemory", &classId))) return {};
  ComPtr<ISharedMemory> memory;
  CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ISharedMemory, memory.ReceiveVoid());
  return memory;
}

bool IsTrue(VARIANT_BOOL value) { return value != VARIANT_FALSE; }

bool CreateSection(ISharedMemory* memory, long size, const wchar_t* name, HRESULT* status) {
  BSTR text = SysAllocString(name);
  VARIANT_BOOL result = 1;  // neither true nor false: shows whether it was written
  const HRESULT called = memory->Create(size, text, &result);
  SysFreeString(text);
  if (status) *status = called;
  return IsTrue(result) && result == VARIANT_TRUE;
}

bool DeleteSection(ISharedMemory* memory) {
  VARIANT_BOOL result = VARIANT_FALSE;
  memory->Delete(&result);
  return IsTrue(result);
}

bool ReadBytes(ISharedMemory* memory, void* buffer, long bytes, long offset, long* count, HRESULT* status) {
  VARIANT_BOOL result = VARIANT_FALSE;
  long got = -1;
  const HRESULT called = memory->Read(static_cast<unsigned char*>(buffer), bytes, &got, offset, &result);
  if (count) *count = got;
  if (status) *status = called;
  return IsTrue(result);
}

bool WriteBytes(ISharedMemory* memory, const void* buffer, long bytes, long offset, long* count, HRESULT* status) {
  VARIANT_BOOL result = VARIANT_FALSE;
  long put = -1;
  const HRESULT called = memory->Write(static_cast<unsigned char*>(const_cast<void*>(buffer)), bytes, &put,
                                       offset, &result);
  if (count) *count = put;
  if (status) *status = called;
  return IsTrue(result);
}

std::wstring NameOf(ISharedMemory* memory) {
  BSTR name = nullptr;
  if (FAILED(memory->get_Name(&name))) return L"<failed>";
  std::wstring text(name ? name : L"");
  SysFreeString(name);
  return text;
}

long SizeOf(ISharedMemory* memory) {
  long size = -1;
  memory->get_Size(&size);
  return size;
}

std::wstring UniqueSectionName(const wchar_t* stem) {
  static LONG counter = 0;
  return std::wstring(stem) + L"_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
         std::to_wstring(InterlockedIncrement(&counter));
}

}  // namespace test
