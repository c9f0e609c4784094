// The entry points of an in-process server and DllMain, shared by every
// component DLL; what differs per DLL comes from ThisComponent().
#include <objbase.h>

#include "common/class_factory.h"
#include "common/module.h"
#include "common/registration.h"
#include "common/type_library.h"

using namespace quarent;

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      module::SetInstance(instance);
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      // At process exit other DLLs may already be gone: only a FreeLibrary
      // (reserved null) releases the cached type library.
      if (reserved == nullptr) ReleaseModuleTypeLibrary();
      break;
  }
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (const CreatableClass& creatable : ThisComponent().classes) {
    if (IsEqualCLSID(classId, *creatable.classId)) {
      return CreateComObject<ClassFactory>(nullptr, iid, object, creatable);
    }
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() { return module::CanUnload() ? S_OK : S_FALSE; }

STDAPI DllRegisterServer() { return RegisterComponent(ThisComponent().registration); }

STDAPI DllUnregisterServer() { return UnregisterComponent(ThisComponent().registration); }

// regsvr32 /n /i:user registers for the calling user only, /u /n /i:user
// removes that registration; no other command line is known.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  if (commandLine == nullptr || lstrcmpiW(commandLine, L"user") != 0) return E_INVALIDARG;
  return install ? RegisterComponentForUser(ThisComponent().registration)
                 : UnregisterComponentForUser(ThisComponent().registration);
}
