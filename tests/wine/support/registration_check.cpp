#include "registration_check.h"

#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "com_client.h"
#include "registry_reader.h"

namespace test {
namespace {

// Where RegisterTypeLib files the type library embedded in a module.
struct TypeLibraryKeys {
  std::wstring id;        // "{...}"
  std::wstring version;   // "TypeLib\{id}\<major>.<minor>"
  std::wstring platform;  // "<version>\<lcid in hex>\<win32|win64>"
};

TypeLibraryKeys TypeLibraryKeysOf(const std::wstring& modulePath, REGSAM view) {
  TypeLibraryKeys keys;
  ITypeLib* library = nullptr;
  if (FAILED(LoadTypeLibEx(modulePath.c_str(), REGKIND_NONE, &library))) return keys;
  TLIBATTR* attributes = nullptr;
  if (SUCCEEDED(library->GetLibAttr(&attributes))) {
    wchar_t lcid[16];
    wsprintfW(lcid, L"%x", attributes->lcid);
    keys.id = quarent::GuidText(attributes->guid);
    keys.version = L"TypeLib\\" + keys.id + L"\\" + std::to_wstring(attributes->wMajorVerNum) + L"." +
                   std::to_wstring(attributes->wMinorVerNum);
    keys.platform = keys.version + L"\\" + lcid + L"\\" + TypeLibPlatform(view);
    library->ReleaseTLibAttr(attributes);
  }
  library->Release();
  return keys;
}

}  // namespace

void ExpectRegistered(quarent::ArrayView<quarent::ClassRegistration> classes, const std::wstring& modulePath,
                      REGSAM view) {
  const TypeLibraryKeys library = TypeLibraryKeysOf(modulePath, view);
  ASSERT_FALSE(library.id.empty()) << "no type library in " << Narrow(modulePath);
  EXPECT_TRUE(RegistryKeyExists(HKEY_CLASSES_ROOT, library.platform, view)) << Narrow(library.platform);

  for (const quarent::ClassRegistration& registration : classes) {
    for (const quarent::RegistryEntry& entry : quarent::RegistryEntriesOf(registration, modulePath, library.id)) {
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
  const TypeLibraryKeys library = TypeLibraryKeysOf(modulePath, view);
  ASSERT_FALSE(library.id.empty()) << "no type library in " << Narrow(modulePath);
  EXPECT_FALSE(RegistryKeyExists(HKEY_CLASSES_ROOT, library.platform, view)) << Narrow(library.platform);
}

}  // namespace test
