#include "common/registration.h"

#include <windows.h>

#include <initializer_list>
#include <string>

#include "common/com_ptr.h"
#include "common/error_info.h"
#include "common/module.h"
#include "common/type_library.h"
#include "common/type_library_registration.h"
#include "common/win_handles.h"

namespace quarent {
namespace {

// Where registration writes: HKEY_CLASSES_ROOT for the machine, or the
// calling user's own classes, which the platform merges into HKEY_CLASSES_ROOT
// for that user's processes.
struct ClassesRoot {
  HKEY root;
  const wchar_t* prefix;

  std::wstring Path(const std::wstring& key) const { return prefix + key; }
};
const ClassesRoot kMachineClasses = {HKEY_CLASSES_ROOT, L""};
const ClassesRoot kUserClasses = {HKEY_CURRENT_USER, L"Software\\Classes\\"};

// The registry view of the other architecture on 64-bit Windows; 32-bit
// Windows ignores the flag and has one view.
constexpr REGSAM kOtherView = sizeof(void*) == 8 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY;

// Writes `entry` under `classes` in this process's view, or in the view `view` names.
HRESULT WriteEntry(const ClassesRoot& classes, const RegistryEntry& entry, REGSAM view = 0) {
  RegistryKey key;
  LONG error = RegCreateKeyExW(classes.root, classes.Path(entry.key).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_WRITE | view, nullptr, key.Receive(), nullptr);
  if (error != ERROR_SUCCESS) return StatusFromPlatformError(error);
  if (entry.keyOnly) return S_OK;
  error = RegSetValueExW(key.Get(), entry.name.empty() ? nullptr : entry.name.c_str(), 0, REG_SZ,
                         reinterpret_cast<const BYTE*>(entry.data.c_str()),
                         static_cast<DWORD>((entry.data.size() + 1) * sizeof(wchar_t)));
  return StatusFromPlatformError(error);
}

HRESULT WriteEntries(const ClassesRoot& classes, const std::vector<RegistryEntry>& entries) {
  for (const RegistryEntry& entry : entries) {
    const HRESULT status = WriteEntry(classes, entry);
    if (FAILED(status)) return status;
  }
  return S_OK;
}

// Deletes `path` under `root` with all its subkeys; a missing key is fine.
HRESULT DeleteKeyTree(HKEY root, const std::wstring& path) {
  RegistryKey key;
  LONG error = RegOpenKeyExW(root, path.c_str(), 0, KEY_ALL_ACCESS, key.Receive());
  if (error == ERROR_FILE_NOT_FOUND) return S_OK;
  if (error != ERROR_SUCCESS) return StatusFromPlatformError(error);
  for (;;) {
    wchar_t child[256];
    DWORD length = ARRAYSIZE(child);
    error = RegEnumKeyExW(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
    if (error != ERROR_SUCCESS) break;
    const HRESULT status = DeleteKeyTree(root, path + L"\\" + child);
    if (FAILED(status)) return status;
  }
  key.Reset();
  error = RegDeleteKeyW(root, path.c_str());
  return error == ERROR_FILE_NOT_FOUND ? S_OK : StatusFromPlatformError(error);
}

bool KeyExists(const ClassesRoot& classes, const std::wstring& path, REGSAM view = 0) {
  RegistryKey key;
  return RegOpenKeyExW(classes.root, classes.Path(path).c_str(), 0, KEY_READ | view, key.Receive()) == ERROR_SUCCESS;
}

// Windows keeps one set of ProgID keys for both architectures but a class key
// for each: when the other architecture's DLL still has the class registered,
// the ProgID keys removed with ours are written back for it. (Where each view
// has ProgIDs of its own, as under Wine, the other view's are still there.)
HRESULT KeepProgIdsOfTheOtherView(const ClassRegistration& registration) {
  if (registration.progId == nullptr) return S_OK;
  if (!KeyExists(kMachineClasses, ClassKey(registration) + L"\\InprocServer32", kOtherView)) return S_OK;
  if (KeyExists(kMachineClasses, registration.progId, kOtherView)) return S_OK;
  const std::wstring classKey = ClassKey(registration);
  for (const RegistryEntry& entry : RegistryEntriesOf(registration, std::wstring(), std::wstring())) {
    if (entry.key.compare(0, classKey.size(), classKey) == 0) continue;
    const HRESULT status = WriteEntry(kMachineClasses, entry, kOtherView);
    if (FAILED(status)) return status;
  }
  return S_OK;
}

HRESULT DeleteOwnedKeys(const ClassesRoot& root, ArrayView<ClassRegistration> classes) {
  for (const ClassRegistration& registration : classes) {
    for (const std::wstring& key : OwnedKeysOf(registration)) {
      const HRESULT status = DeleteKeyTree(root.root, root.Path(key));
      if (FAILED(status)) return status;
    }
  }
  return S_OK;
}

// Replaces the classes' owned keys under `root` with their entries for the
// module at `modulePath`.
HRESULT WriteClasses(const ClassesRoot& root, ArrayView<ClassRegistration> classes, const std::wstring& modulePath,
                     const std::wstring& typeLibraryId) {
  HRESULT status = DeleteOwnedKeys(root, classes);
  for (const ClassRegistration& registration : classes) {
    if (SUCCEEDED(status)) status = WriteEntries(root, RegistryEntriesOf(registration, modulePath, typeLibraryId));
  }
  return status;
}

// The default value of `root\path`; empty when missing.
std::wstring ReadDefaultValue(HKEY root, const std::wstring& path) {
  wchar_t data[256] = L"";
  LONG size = sizeof data - sizeof(wchar_t);
  if (RegQueryValueW(root, path.c_str(), data, &size) != ERROR_SUCCESS) return {};
  return data;
}

// True when `root\path` has a subkey not named in `allowed`.
bool HasSubkeysOtherThan(HKEY root, const std::wstring& path, std::initializer_list<const wchar_t*> allowed) {
  RegistryKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return false;
  for (DWORD index = 0;; ++index) {
    wchar_t child[256];
    DWORD length = ARRAYSIZE(child);
    if (RegEnumKeyExW(key.Get(), index, child, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
      return false;
    }
    bool isAllowed = false;
    for (const wchar_t* name : allowed) isAllowed = isAllowed || lstrcmpiW(child, name) == 0;
    if (!isAllowed) return true;
  }
}

bool IsEmptyKey(HKEY root, const std::wstring& path) {
  RegistryKey key;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS) return false;
  DWORD subkeys = 0;
  DWORD values = 0;
  return RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, &values, nullptr, nullptr,
                          nullptr, nullptr) == ERROR_SUCCESS &&
         subkeys == 0 && values == 0;
}

std::wstring ParentOf(const std::wstring& key) {
  const size_t separator = key.find_last_of(L'\\');
  return separator == std::wstring::npos ? std::wstring() : key.substr(0, separator);
}

// Deletes `key` of the user's classes with its subkeys, then each parent
// this leaves empty (CLSID, Interface, TypeLib, ...), so that removal leaves
// the user's classes as they were before registration.
HRESULT DeleteUserKey(const std::wstring& key) {
  const HKEY root = kUserClasses.root;
  HRESULT status = DeleteKeyTree(root, kUserClasses.Path(key));
  for (std::wstring parent = ParentOf(key);
       SUCCEEDED(status) && !parent.empty() && IsEmptyKey(root, kUserClasses.Path(parent)); parent = ParentOf(parent)) {
    status = DeleteKeyTree(root, kUserClasses.Path(parent));
  }
  return status;
}

// Removes a type library's entries from the user's classes as the platform's
// UnRegisterTypeLib does: the Interface keys that name this library, the
// module subkey, and the version key once no module of either architecture
// is left under it.
HRESULT DeleteUserTypeLibrary(const TypeLibraryEntries& entries) {
  const std::wstring interfacePrefix = L"Interface\\";
  for (const RegistryEntry& entry : entries.interfaces) {
    if (entry.key.find(L'\\', interfacePrefix.size()) != std::wstring::npos) continue;
    const std::wstring library = ReadDefaultValue(kUserClasses.root, kUserClasses.Path(entry.key + L"\\TypeLib"));
    if (lstrcmpiW(library.c_str(), entries.libraryId.c_str()) != 0) continue;
    const HRESULT status = DeleteUserKey(entry.key);
    if (FAILED(status)) return status;
  }
  const std::wstring platformKey = entries.platform.front().key;
  HRESULT status = DeleteUserKey(platformKey);
  const std::wstring versionKey = ParentOf(ParentOf(platformKey));
  const bool moduleLeft = HasSubkeysOtherThan(kUserClasses.root, kUserClasses.Path(versionKey), {L"FLAGS", L"HELPDIR"});
  if (SUCCEEDED(status) && !moduleLeft) status = DeleteUserKey(versionKey);
  return status;
}

// The registry entries of the module's type library, for this module.
HRESULT ModuleTypeLibraryEntries(TypeLibraryEntries& entries) {
  ComPtr<ITypeLib> library;
  const HRESULT status = GetModuleTypeLibrary(library.Receive());
  if (FAILED(status)) return status;
  const std::wstring modulePath = module::Path();
  return TypeLibraryEntriesOf(library.Get(), modulePath, FolderOf(modulePath), entries);
}

}  // namespace

HRESULT RegisterComponent(ArrayView<ClassRegistration> classes) {
  ComPtr<ITypeLib> library;
  HRESULT status = GetModuleTypeLibrary(library.Receive());
  TypeLibraryDescription description;
  if (SUCCEEDED(status)) status = DescribeTypeLibrary(library.Get(), description);
  if (FAILED(status)) return status;
  std::wstring modulePath = module::Path();
  status = WriteClasses(kMachineClasses, classes, modulePath, description.id);
  return FAILED(status) ? status : RegisterTypeLib(library.Get(), modulePath.data(), nullptr);
}

HRESULT UnregisterComponent(ArrayView<ClassRegistration> classes) {
  HRESULT status = DeleteOwnedKeys(kMachineClasses, classes);
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

HRESULT RegisterComponentForUser(ArrayView<ClassRegistration> classes) {
  TypeLibraryEntries typeLibrary;
  HRESULT status = ModuleTypeLibraryEntries(typeLibrary);
  if (FAILED(status)) return status;
  status = WriteClasses(kUserClasses, classes, module::Path(), typeLibrary.libraryId);
  if (FAILED(status)) return status;
  // Where the other architecture's module registered the library first, its
  // help folder stays, as the platform's registration keeps it.
  const std::wstring helpFolderKey = L"\\HELPDIR";
  for (const RegistryEntry& entry : typeLibrary.shared) {
    const bool helpFolder =
        entry.key.size() > helpFolderKey.size() &&
        entry.key.compare(entry.key.size() - helpFolderKey.size(), std::wstring::npos, helpFolderKey) == 0;
    if (!helpFolder || !KeyExists(kUserClasses, entry.key)) status = WriteEntry(kUserClasses, entry);
    if (FAILED(status)) return status;
  }
  status = WriteEntries(kUserClasses, typeLibrary.platform);
  if (FAILED(status)) return status;
  return WriteEntries(kUserClasses, typeLibrary.interfaces);
}

HRESULT UnregisterComponentForUser(ArrayView<ClassRegistration> classes) {
  for (const ClassRegistration& registration : classes) {
    for (const std::wstring& key : OwnedKeysOf(registration)) {
      const HRESULT status = DeleteUserKey(key);
      if (FAILED(status)) return status;
    }
  }
  TypeLibraryEntries typeLibrary;
  const HRESULT found = ModuleTypeLibraryEntries(typeLibrary);
  return FAILED(found) ? found : DeleteUserTypeLibrary(typeLibrary);
}

}  // namespace quarent
