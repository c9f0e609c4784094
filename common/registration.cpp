#include "common/registration.h"

#include <windows.h>

#include <string>

#include "common/com_ptr.h"
#include "common/error_info.h"
#include "common/module.h"
#include "common/type_library.h"
#include "common/win_handles.h"

namespace quarent {
namespace {

// The registry view of the other architecture on 64-bit Windows; 32-bit
// Windows ignores the flag and has one view.
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// Writes `entry` under HKEY_CLASSES_ROOT in this process's view, or in the
// view `view` names.
HRESULT WriteEntry(const RegistryEntry& entry, REGSAM view = 0) {
  RegistryKey key;
  LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_WRITE | view, nullptr, key.Receive(), nullptr);
  if (error != ERROR_SUCCESS) return StatusFromPlatformError(error);
  if (entry.keyOnly) return S_OK;
  error = RegSetValueExW(key.Get(), entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(entry.data.c_str()),
                         static_cast<DWORD>((entry.data.size() + 1) * sizeof(wchar_t)));
  return StatusFromPlatformError(error);
}

// Deletes `path` under HKEY_CLASSES_ROOT with all its subkeys; a missing key is fine.
HRESULT DeleteKeyTree(const std::wstring& path) {
  RegistryKey key;
  LONG error = RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_ALL_ACCESS, key.Receive());
  if (error == ERROR_FILE_NOT_FOUND) return S_OK;
  if (error != ERROR_SUCCESS) return StatusFromPlatformError(error);
  for (;;) {
    wchar_t child[256];
    DWORD length = ARRAYSIZE(child);
    error = RegEnumKeyExW(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) break;
    const HRESULT status = DeleteKeyTree(path + L"\\" + child);
    if (FAILED(status)) return status;
  }
  key.Reset();
  error = RegDeleteKeyW(HKEY_CLASSES_ROOT, path.c_str());
  return error == ERROR_FILE_NOT_FOUND ? S_OK : StatusFromPlatformError(error);
}

bool KeyExists(const std::wstring& path, REGSAM view) {
  RegistryKey key;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ | view, key.Receive()) == ERROR_SUCCESS;
}

// Windows keeps one set of ProgID keys for both architectures but a class key
// for each: when the other architecture's DLL still has the class registered,
// the ProgID keys removed with ours are written back for it. (Where each view
// has ProgIDs of its own, as under Wine, the other view's are still there.)
HRESULT KeepProgIdsOfTheOtherView(const ClassRegistration& registration) {
  if (registration.progId == nullptr) return S_OK;
  if (!KeyExists(ClassKey(registration) + L"\\InprocServer32", kOtherView)) return S_OK;
  if (KeyExists(registration.progId, kOtherView)) return S_OK;
  const std::wstring classKey = ClassKey(registration);
  for (const RegistryEntry& entry : RegistryEntriesOf(registration, std::wstring(), std::wstring())) {
    if (entry.key.compare(0, classKey.size(), classKey) == 0) continue;
    const HRESULT status = WriteEntry(entry, kOtherView);
    if (FAILED(status)) return status;
  }
  return S_OK;
}

HRESULT DeleteOwnedKeys(ArrayView<ClassRegistration> classes) {
  for (const ClassRegistration& registration : classes) {
    for (const std::wstring& key : OwnedKeysOf(registration)) {
      const HRESULT status = DeleteKeyTree(key);
      if (FAILED(status)) return status;
    }
  }
  return S_OK;
}

}  // namespace

HRESULT RegisterComponent(ArrayView<ClassRegistration> classes) {
  HRESULT status = DeleteOwnedKeys(classes);
  if (FAILED(status)) return status;
  ComPtr<ITypeLib> library;
  status = GetModuleTypeLibrary(library.Receive());
  if (FAILED(status)) return status;
  TLIBATTR* attributes = nullptr;
  status = library->GetLibAttr(&attributes);
  if (FAILED(status)) return status;
  const std::wstring typeLibraryId = GuidText(attributes->guid);
  library->ReleaseTLibAttr(attributes);

  std::wstring modulePath = module::Path();
  for (const ClassRegistration& registration : classes) {
    for (const RegistryEntry& entry : RegistryEntriesOf(registration, modulePath, typeLibraryId)) {
      status = WriteEntry(entry);
      if (FAILED(status)) return status;
    }
  }
  return RegisterTypeLib(library.Get(), modulePath.data(), nullptr);
}

HRESULT UnregisterComponent(ArrayView<ClassRegistration> classes) {
  HRESULT status = DeleteOwnedKeys(classes);
  for (const ClassRegistration& registration : classes) {
    if (SUCCEEDED(status)) status = KeepProgIdsOfTheOtherView(registration);
  }
  ComPtr<ITypeLib> library;
  if (SUCCEEDED(GetModuleTypeLibrary(library.Receive()))) {
    TLIBATTR* attributes = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attributes))) {
      UnRegisterTypeLib(attributes->guid, attributes->wMajorVerNum, attributes->wMinorVerNum,
                        attributes->lcid, attributes->syskind);
      library->ReleaseTLibAttr(attributes);
    }
  }
  return status;
}

}  // namespace quarent
