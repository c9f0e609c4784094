#pragma once
// What registering a type library writes to the registry, derived from the
// library itself: the TypeLib key and the Interface keys of its automation
// interfaces. Per-user registration, the installer's registry rows and the
// side-by-side manifests all take it from here, so they write what the
// platform's RegisterTypeLib writes.
#include <windows.h>
#include <oaidl.h>

#include <string>
#include <vector>

#include "common/class_registration.h"

namespace quarent {

// Proxy/stub classes of the system's automation marshaler: through the type
// library (dual and oleautomation interfaces) and through IDispatch only
// (pure dispinterfaces, such as event interfaces).
constexpr wchar_t kTypeLibraryMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";
constexpr wchar_t kDispatchMarshaler[] = L"{00020420-0000-0000-C000-000000000046}";

// An interface the type library registers for marshaling.
struct AutomationInterface {
  std::wstring id;  // "{...}"
  std::wstring name;
  const wchar_t* proxyStubClassId;  // kTypeLibraryMarshaler or kDispatchMarshaler
};

// The facts about a type library that its registration is made of.
struct TypeLibraryDescription {
  std::wstring id;  // "{...}"
  WORD majorVersion = 0;
  WORD minorVersion = 0;
  LCID locale = 0;
  SYSKIND platform = SYS_WIN32;
  WORD flags = 0;  // LIBFLAGS
  // Default value of the version key: the library's help string, else its name.
  std::wstring title;
  // Every dispinterface (dual ones included) and every oleautomation interface.
  std::vector<AutomationInterface> interfaces;
};

// Reads `library`'s description.
HRESULT DescribeTypeLibrary(ITypeLib* library, TypeLibraryDescription& description);

// "<major>.<minor>" in hexadecimal, as the registry names a library's version.
std::wstring RegistryVersionOf(const TypeLibraryDescription& description);

// "win32" or "win64": the subkey naming the module of a library of `platform`.
const wchar_t* TypeLibraryPlatformName(SYSKIND platform);

// The registry entries of a type library, under the classes root, in three
// groups so that the 32-bit and 64-bit modules of one library can share the
// first: both architectures see one TypeLib key but each has its own module
// subkey and (on 64-bit Windows) its own Interface keys.
struct TypeLibraryEntries {
  std::wstring libraryId;  // "{...}"
  // TypeLib\{id}\<version>: its default value, FLAGS and HELPDIR.
  std::vector<RegistryEntry> shared;
  // TypeLib\{id}\<version>\<locale>\<win32|win64>: the module's path.
  std::vector<RegistryEntry> platform;
  // Interface\{iid}: name, proxy/stub class and type library reference.
  std::vector<RegistryEntry> interfaces;
};

// The entries registering `library`, embedded in the module at `modulePath`,
// with `helpFolder` as HELPDIR (the module's folder without a trailing backslash).
HRESULT TypeLibraryEntriesOf(ITypeLib* library, const std::wstring& modulePath, const std::wstring& helpFolder,
                             TypeLibraryEntries& entries);

// The folder of `path` without a trailing backslash.
std::wstring FolderOf(const std::wstring& path);

}  // namespace quarent
