#include "common/registration.h"

#include <windows.h>

#include <string>

#include "common/com_ptr.h"
#include "common/error_info.h"
#include "common/type_library.h"
#include "common/win_handles.h"

namespace quarent {
namespace {

std::wstring ExpandModulePath(const wchar_t* data, const std::wstring& modulePath) {
  std::wstring text = data;
  const std::wstring placeholder = L"%MODULE%";
  for (size_t at = text.find(placeholder); at != std::wstring::npos; at = text.find(placeholder, at)) {
    text.replace(at, placeholder.size(), modulePath);
    at += modulePath.size();
  }
  return text;
}

HRESULT WriteValue(const RegistryValue& value, const std::wstring& modulePath) {
  RegistryKey key;
  LONG error = RegCreateKeyExW(HKEY_CLASSES_ROOT, value.key, 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_WRITE, nullptr, key.Receive(), nullptr);
  if (error != ERROR_SUCCESS) return StatusFromPlatformError(error);
  if (value.data == nullptr) return S_OK;
  const std::wstring data = ExpandModulePath(value.data, modulePath);
  error = RegSetValueExW(key.Get(), value.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                         static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  return StatusFromPlatformError(error);
}

// Deletes `path` under HKEY_CLASSES_ROOT with all its subkeys; a missing key is fine.
HRESULT DeleteKeyTree(const wchar_t* path) {
  RegistryKey key;
  LONG error = RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_ALL_ACCESS, key.Receive());
  if (error == ERROR_FILE_NOT_FOUND) return S_OK;
  if (error != ERROR_SUCCESS) return StatusFromPlatformError(error);
  for (;;) {
    wchar_t child[256];
    DWORD length = ARRAYSIZE(child);
    error = RegEnumKeyExW(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) break;
    const std::wstring childPath = std::wstring(path) + L"\\" + child;
    const HRESULT status = DeleteKeyTree(childPath.c_str());
    if (FAILED(status)) return status;
  }
  key.Reset();
  error = RegDeleteKeyW(HKEY_CLASSES_ROOT, path);
  return error == ERROR_FILE_NOT_FOUND ? S_OK : StatusFromPlatformError(error);
}

HRESULT DeleteOwnedKeys(const RegistrationScript& script) {
  for (const wchar_t* key : script.ownedKeys) {
    const HRESULT status = DeleteKeyTree(key);
    if (FAILED(status)) return status;
  }
  return S_OK;
}

}  // namespace

HRESULT RegisterComponent(const RegistrationScript& script) {
  HRESULT status = DeleteOwnedKeys(script);
  if (FAILED(status)) return status;
  const std::wstring modulePath = module::Path();
  for (const RegistryValue& value : script.values) {
    status = WriteValue(value, modulePath);
    if (FAILED(status)) return status;
  }
  ComPtr<ITypeLib> library;
  status = GetModuleTypeLibrary(library.Receive());
  if (FAILED(status)) return status;
  std::wstring path = modulePath;
  return RegisterTypeLib(library.Get(), path.data(), nullptr);
}

HRESULT UnregisterComponent(const RegistrationScript& script) {
  const HRESULT status = DeleteOwnedKeys(script);
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
