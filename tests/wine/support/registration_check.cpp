#include "registration_check.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "com_client.h"
#include "common/com_ptr.h"
#include "common/type_library_registration.h"
#include "registry_reader.h"

namespace test {
namespace {

// The registry entries of the type library embedded in the module, derived
// as RegisterTypeLib writes them; empty when the module has none.
quarent::TypeLibraryEntries TypeLibraryOf(const std::wstring& modulePath) {
  quarent::TypeLibraryEntries entries;
  quarent::ComPtr<ITypeLib> library;
  if (SUCCEEDED(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, library.Receive()))) {
    quarent::TypeLibraryEntriesOf(library.Get(), modulePath, quarent::FolderOf(modulePath), entries);
  }
  return entries;
}

}  // namespace

void ExpectRegistered(quarent::ArrayView<quarent::ClassRegistration> classes, const std::wstring& modulePath,
                      REGSAM view) {
  const quarent::TypeLibraryEntries library = TypeLibraryOf(modulePath);
  ASSERT_FALSE(library.platform.empty()) << "no type library in " << Narrow(modulePath);
  const std::wstring& platformKey = library.platform.front().key;
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, platformKey, view)) << Narrow(platformKey);

  for (const quarent::ClassRegistration& registration : classes) {
    for (const quarent::RegistryEntry& entry : quarent::RegistryEntriesOf(registration, modulePath, library.libraryId)) {
      SCOPED_TRACE(Narrow(entry.key + L" " + entry.name));
      if (entry.keyOnly) {
        EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, entry.key, view));
        continue;
      }
      const wchar_t* name = entry.name.empty() ? nullptr : entry.name.c_str();
      EXPECT_EQ(static_cast<DWORD>(REG_SZ), RegistryValueType(HKEY_CLASSES_ROOT, entry.key, name, view));
      const std::wstring data = ReadRegistryString(HKEY_CLASSES_ROOT, entry.key, name, view).value_or(L"(missing)");
      if (entry.data.find(modulePath) != std::wstring::npos) {
        EXPECT_EQ(0, lstrcmpiW(entry.data.c_str(), data.c_str())) << Narrow(data);
      } else {
        EXPECT_EQ(Narrow(entry.data), Narrow(data));
      }
    }
  }
}

void ExpectUnregistered(quarent::ArrayView<quarent::ClassRegistration> classes, const std::wstring& modulePath,
                        REGSAM view) {
  for (const quarent::ClassRegistration& registration : classes) {
    for (const std::wstring& key : quarent::OwnedKeysOf(registration)) {
      EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, key, view)) << Narrow(key);
    }
  }
  const quarent::TypeLibraryEntries library = TypeLibraryOf(modulePath);
  ASSERT_FALSE(library.platform.empty()) << "no type library in " << Narrow(modulePath);
  const std::wstring& platformKey = library.platform.front().key;
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, platformKey, view)) << Narrow(platformKey);
}

}  // namespace test
