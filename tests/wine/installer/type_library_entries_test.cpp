// The type library entries that per-user registration and the installer
// packages write are exactly what the platform's RegisterTypeLib writes for the
// same module: same keys, values and types.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com_client.h"
#include "common/com_ptr.h"
#include "common/type_library_registration.h"
#include "installer/toolkit_components.h"
#include "processes.h"
#include "registry_reader.h"
#include "registry_tree.h"

namespace {

TEST(TypeLibraryEntries, AreWhatRegisterTypeLibWrites) {
  const std::wstring classes = L"Software\\Classes";
  const test::RegistryTree before = test::ReadRegistryTree(HKEY_LOCAL_MACHINE, classes);
  std::vector<quarent::RegistryEntry> derived;
  for (const quarent::ToolkitComponent& component : quarent::ToolkitComponents()) {
    SCOPED_TRACE(test::Narrow(component.dllName));
    std::wstring path = test::BesideProgram(component.dllName);
    quarent::ComPtr<ITypeLib> library;
    ASSERT_EQ(S_OK, LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive()));
    quarent::TypeLibraryEntries entries;
    ASSERT_EQ(S_OK, quarent::TypeLibraryEntriesOf(library.Get(), path, quarent::FolderOf(path), entries));
    for (const auto* group : {&entries.shared, &entries.platform, &entries.interfaces}) {
      derived.insert(derived.end(), group->begin(), group->end());
    }
    ASSERT_EQ(S_OK, RegisterTypeLib(library.Get(), path.data(), nullptr));
  }
  const test::RegistryTree after = test::ReadRegistryTree(HKEY_LOCAL_MACHINE, classes);

  // The 64-bit RegisterTypeLib also files the interfaces in the 32-bit view,
  // which the packages' 32-bit rows write in their turn.
  const std::wstring otherView = L"Wow6432Node\\";
  EXPECT_EQ("", test::Differences(test::Without(test::Written(before, test::WithEntries(before, derived)), otherView),
                                  test::Without(test::Written(before, after), otherView)));

  // A few values written out by hand, for QRNShrMem.dll.
  std::wstring folder = test::BesideProgram(L"");
  folder.pop_back();
  const std::wstring library = L"TypeLib\\{2A7F93C3-5E18-4B6D-A04C-9F3E6D21B857}\\1.0";
  struct Case {
    std::wstring key;
    std::wstring value;
  } cases[] = {
      {library, L"QUARENT SharedMemory 1.0 Type Library"},
      {library + L"\\FLAGS", L"8"},
      {library + L"\\HELPDIR", folder},
      {library + L"\\409\\" + test::kTypeLibPlatform, test::BesideProgram(L"QRNShrMem.dll")},
      {L"Interface\\{2A7F93CF-5E18-4B6D-A04C-9F3E6D21B857}", L"ISharedMemory"},
      {L"Interface\\{2A7F93CF-5E18-4B6D-A04C-9F3E6D21B857}\\ProxyStubClsid32",
       L"{00020424-0000-0000-C000-000000000046}"},
      {L"Interface\\{2A7F93D1-5E18-4B6D-A04C-9F3E6D21B857}\\ProxyStubClsid32",
       L"{00020420-0000-0000-C000-000000000046}"},
      {L"Interface\\{2A7F93D1-5E18-4B6D-A04C-9F3E6D21B857}\\TypeLib", L"{2A7F93C3-5E18-4B6D-A04C-9F3E6D21B857}"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(test::Narrow(row.key));
    EXPECT_EQ(test::Narrow(row.value),
              test::Narrow(test::ReadRegistryString(HKEY_CLASSES_ROOT, row.key).value_or(L"(missing)")));
  }
}

}  // namespace
