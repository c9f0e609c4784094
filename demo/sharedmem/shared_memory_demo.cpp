// A compiled client of QUARENT.QRNSharedMemory, run as two processes:
//   shared_memory_demo writer <script> [<reader>]
//                                       creates the section, listens to its
//                                       events, starts a reader process (the
//                                       program <reader>, another build of
//                                       this one, when given) and the VBScript
//                                       client, and shows the lock
//   shared_memory_demo reader           opens the same section and reads it
#include <windows.h>

#include <cstdio>
#include <string>

#include "QRNShrMem_h.h"

namespace {

const wchar_t kSectionName[] = L"DemoPrices";
const int kBits = sizeof(void*) * 8;

// Prints every event of _ISharedMemoryEvents it receives.
class ConsoleSink : public IDispatch {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) ||
        IsEqualIID(iid, DIID__ISharedMemoryEvents)) {
      *object = this;
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*, UINT*) override {
    static const char* const names[] = {"", "BeforeCreate", "AfterCreate", "BeforeDelete", "AfterDelete",
                                        "BeforeRead", "AfterRead", "BeforeWrite", "AfterWrite"};
    const VARIANT& name = parameters->rgvarg[parameters->cArgs - 1];
    std::printf("    event %-12s Name=%ls", id >= 1 && id <= 8 ? names[id] : "?", name.bstrVal ? name.bstrVal : L"");
    if (parameters->cArgs == 2) std::printf(" Size=%ld", parameters->rgvarg[0].lVal);
    std::printf("\n");
    return S_OK;
  }
};

ISharedMemory* NewSharedMemory() {
  CLSID classId;
  ISharedMemory* memory = nullptr;
  if (FAILED(CLSIDFromProgID(L"QUARENT.QRNSharedMemory", &classId)) ||
      FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_ISharedMemory,
                              reinterpret_cast<void**>(&memory)))) {
    std::printf("QUARENT.QRNSharedMemory is not registered\n");
    return nullptr;
  }
  return memory;
}

bool Open(ISharedMemory* memory, long size) {
  BSTR name = SysAllocString(kSectionName);
  VARIANT_BOOL created = VARIANT_FALSE;
  memory->Create(size, name, &created);
  SysFreeString(name);
  return created != VARIANT_FALSE;
}

DWORD RunAndWait(const std::wstring& commandLine, bool wait = true, HANDLE* process = nullptr) {
  std::wstring line = commandLine;
  STARTUPINFOW startup = {sizeof startup};
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return 1;
  CloseHandle(info.hThread);
  DWORD code = 0;
  if (wait) {
    WaitForSingleObject(info.hProcess, INFINITE);
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hProcess);
  } else if (process) {
    *process = info.hProcess;
  }
  return code;
}

int Reader() {
  ISharedMemory* memory = NewSharedMemory();
  if (!memory || !Open(memory, 256)) return 1;
  VARIANT_BOOL meFirst = VARIANT_FALSE;
  memory->get_MeFirst(&meFirst);
  char text[64] = {};
  long count = 0;
  VARIANT_BOOL read = VARIANT_FALSE;
  std::printf("  [reader %lu, %d-bit] opened \"DemoPrices\", MeFirst=%s; reading with AutoLock...\n",
              GetCurrentProcessId(), kBits, meFirst ? "True" : "False");
  std::fflush(stdout);
  memory->Read(reinterpret_cast<unsigned char*>(text), sizeof text - 1, &count, 0, &read);
  std::printf("  [reader %lu, %d-bit] read %ld bytes: \"%s\"\n", GetCurrentProcessId(), kBits, count, text);
  memory->Release();
  return 0;
}

int Writer(const std::wstring& script, std::wstring readerProgram) {
  ISharedMemory* memory = NewSharedMemory();
  if (!memory) return 1;
  if (readerProgram.empty()) {
    wchar_t self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    readerProgram = self;
  }

  ConsoleSink sink;
  IConnectionPointContainer* container = nullptr;
  IConnectionPoint* point = nullptr;
  DWORD cookie = 0;
  memory->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container));
  container->FindConnectionPoint(DIID__ISharedMemoryEvents, &point);
  point->Advise(&sink, &cookie);
  memory->put_FireEvents(VARIANT_TRUE);

  std::printf("  [writer %lu, %d-bit] Create(256, \"DemoPrices\") with FireEvents on:\n", GetCurrentProcessId(),
              kBits);
  Open(memory, 256);
  VARIANT_BOOL meFirst = VARIANT_FALSE;
  memory->get_MeFirst(&meFirst);
  std::printf("  [writer] MeFirst=%s\n", meFirst ? "True" : "False");
  const char prices[] = "Apples 1.20; Pears 0.95";
  long count = 0;
  VARIANT_BOOL done = VARIANT_FALSE;
  std::printf("  [writer] Write \"%s\" at offset 0:\n", prices);
  memory->Write(reinterpret_cast<unsigned char*>(const_cast<char*>(prices)), sizeof prices, &count, 0, &done);
  memory->put_FireEvents(VARIANT_FALSE);
  std::fflush(stdout);

  std::printf("\n  A second process opens the same section by name:\n");
  std::fflush(stdout);
  RunAndWait(L"\"" + readerProgram + L"\" reader");

  std::printf("\n  The writer takes the lock twice with MemLock; a reader has to wait:\n");
  memory->MemLock(&done);
  memory->MemLock(&done);
  std::fflush(stdout);
  HANDLE reader = nullptr;
  RunAndWait(L"\"" + readerProgram + L"\" reader", false, &reader);
  Sleep(1500);
  std::printf("  [writer] (1.5 s later) first MemUnlock\n");
  std::fflush(stdout);
  memory->MemUnlock(&done);
  Sleep(1000);
  std::printf("  [writer] (1 s later) second MemUnlock\n");
  std::fflush(stdout);
  memory->MemUnlock(&done);
  WaitForSingleObject(reader, INFINITE);
  CloseHandle(reader);

  std::printf("\n  A VBScript client under cscript opens the section late-bound:\n");
  std::fflush(stdout);
  RunAndWait(L"cscript.exe //nologo \"" + script + L"\"");

  std::printf("\n  [writer] Delete with FireEvents on:\n");
  memory->put_FireEvents(VARIANT_TRUE);
  memory->Delete(&done);
  point->Unadvise(cookie);
  point->Release();
  container->Release();
  memory->Release();
  return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int status = 2;
  if (argc >= 2 && std::wstring(argv[1]) == L"reader") status = Reader();
  if (argc >= 3 && std::wstring(argv[1]) == L"writer") status = Writer(argv[2], argc >= 4 ? argv[3] : L"");
  CoUninitialize();
  return status;
}
