// The installer package of this architecture, installed and removed with
// msiexec: it installs every file, registers through its own registry rows
// exactly what regsvr32 writes for the installed DLLs, lets script hosts
// create every class, and removal leaves the registry and Program Files as
// they were. A newer package replaces an older one in place.
// Environment: QUARENT_PACKAGE and QUARENT_OLDER_PACKAGE (the packages, Unix
// paths), QUARENT_DIST (the install tree the packages were made from).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "com_client.h"
#include "each_class_script.h"
#include "processes.h"
#include "registry_reader.h"
#include "registry_tree.h"

namespace {

const wchar_t* const kComponents[] = {L"BrnLog", L"QRNShrMem", L"QRNBC10", L"QRNNTSrv"};
const wchar_t kProductName[] = L"QUARENT Automation Toolkit";

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH] = L"";
  GetEnvironmentVariableW(name, value, MAX_PATH);
  return value;
}

std::wstring FromUnix(const wchar_t* variable) {
  return test::FromUnixPath(test::Narrow(Environment(variable)).c_str());
}

// Where the package puts one architecture's DLLs.
struct Layout {
  const wchar_t* architecture;  // the install tree's folder name
  std::wstring folder;          // "...\QUARENT Toolkit\"
  bool needs32BitPrograms;      // registering these DLLs needs the 32-bit regsvr32 of a 64-bit Windows
};

std::vector<Layout> Layouts() {
#ifdef _WIN64
  return {{L"x64", Environment(L"ProgramFiles") + L"\\QUARENT Toolkit\\", false},
          {L"x86", Environment(L"ProgramFiles(x86)") + L"\\QUARENT Toolkit\\", true}};
#else
  return {{L"x86", Environment(L"ProgramFiles") + L"\\QUARENT Toolkit\\", false}};
#endif
}

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Every file the package installs is there (or none of them, nor their folders).
void ExpectInstalled(bool installed) {
  for (const Layout& layout : Layouts()) {
    for (const wchar_t* component : kComponents) {
      const std::wstring folder = layout.folder + component + L"\\";
      const std::wstring name = component;
      for (const std::wstring& file : {name + L".dll", name + L".tlb", name + L".idl", name + L"_h.h", name + L"_i.c",
                                       L"QUARENT." + name + L".manifest"}) {
        EXPECT_EQ(installed, Exists(folder + file)) << test::Narrow(folder + file);
      }
    }
    if (!installed) {
      EXPECT_FALSE(Exists(layout.folder)) << test::Narrow(layout.folder);
    }
  }
  EXPECT_EQ(installed, Exists(Layouts().front().folder + L"README.md"));
  for (const Layout& layout : Layouts()) {
    EXPECT_EQ(installed, Exists(layout.folder + L"LICENSE.txt")) << test::Narrow(layout.folder);
  }
}

long Msiexec(const wchar_t* action, const std::wstring& package) {
  return test::RunProcess(L"msiexec.exe " + std::wstring(action) + L" \"" + package + L"\" /qn", 600000);
}

test::RegistryTree Classes() { return test::ReadRegistryTree(HKEY_LOCAL_MACHINE, L"Software\\Classes"); }

// What the package's rows wrote: msiexec's own product records aside.
test::RegistryTree PackageRows(const test::RegistryTree& before) {
  return test::Without(test::Written(before, Classes()), L"Installer\\");
}

// The classes once msiexec and the script hosts have run here: their first
// runs register their own type libraries and leave the empty keys of msiexec's
// product records, which are not the package's. The older package is
// installed and removed for that; none of its rows may stay.
test::RegistryTree Baseline(bool with32BitPrograms) {
  test::CreateEachClassByScript(L"system32");
  if (with32BitPrograms) test::CreateEachClassByScript(L"syswow64");
  const test::RegistryTree pristine = Classes();
  EXPECT_EQ(0, Msiexec(L"/i", FromUnix(L"QUARENT_OLDER_PACKAGE")));
  const test::RegistryTree rows = PackageRows(pristine);
  EXPECT_EQ(0, Msiexec(L"/x", FromUnix(L"QUARENT_OLDER_PACKAGE")));
  const test::RegistryTree after = Classes();
  for (const auto& [path, values] : rows) {
    if (pristine.count(path) == 0) {
      EXPECT_EQ(0u, after.count(path)) << "left behind: " << test::Narrow(path);
    }
  }
  return after;
}

// What regsvr32 writes for the DLLs at the installed paths (copied there from
// the install tree after the package is gone): the 64-bit DLLs first, then the
// 32-bit ones when `with32BitPrograms`.
test::RegistryTree WrittenByRegsvr32(const test::RegistryTree& before, bool with32BitPrograms) {
  wchar_t windows[MAX_PATH];
  GetWindowsDirectoryW(windows, MAX_PATH);
  for (const Layout& layout : Layouts()) {
    if (layout.needs32BitPrograms && !with32BitPrograms) continue;
    const std::wstring regsvr32 =
        std::wstring(windows) + (layout.needs32BitPrograms ? L"\\syswow64" : L"\\system32") + L"\\regsvr32.exe";
    CreateDirectoryW(layout.folder.c_str(), nullptr);
    for (const wchar_t* component : kComponents) {
      const std::wstring dll = layout.folder + component + L"\\" + component + L".dll";
      CreateDirectoryW((layout.folder + component).c_str(), nullptr);
      const std::wstring source =
          FromUnix(L"QUARENT_DIST") + L"\\" + component + L"\\" + layout.architecture + L"\\" + component + L".dll";
      EXPECT_TRUE(CopyFileW(source.c_str(), dll.c_str(), FALSE)) << test::Narrow(source);
      EXPECT_EQ(0, test::RunProcess(L"\"" + regsvr32 + L"\" /s \"" + dll + L"\"")) << test::Narrow(dll);
    }
  }
  return test::Written(before, Classes());
}

// "<name> <version>" of each installed product of this toolkit, as the
// platform's list of installed programs shows them.
std::vector<std::string> InstalledProducts() {
  const std::wstring uninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
  std::vector<std::string> products;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, uninstall.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return products;
  for (DWORD index = 0;; ++index) {
    wchar_t product[256];
    DWORD length = ARRAYSIZE(product);
    if (RegEnumKeyExW(key, index, product, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::wstring path = uninstall + L"\\" + product;
    if (test::ReadRegistryString(HKEY_LOCAL_MACHINE, path, L"DisplayName").value_or(L"") != kProductName) continue;
    products.push_back(
        test::Narrow(std::wstring(kProductName) + L" " +
                     test::ReadRegistryString(HKEY_LOCAL_MACHINE, path, L"DisplayVersion").value_or(L"")));
  }
  RegCloseKey(key);
  return products;
}

TEST(Package, InstallsRegistersAndRemovesCleanly) {
  const test::RegistryTree before = Baseline(false);
  ExpectInstalled(false);
  ASSERT_EQ(0, Msiexec(L"/i", FromUnix(L"QUARENT_PACKAGE")));
  const test::RegistryTree rows = PackageRows(before);
  ExpectInstalled(true);
  EXPECT_EQ(test::kEveryClassCreated, test::CreateEachClassByScript(L"system32"));

  ASSERT_EQ(0, Msiexec(L"/x", FromUnix(L"QUARENT_PACKAGE")));
  EXPECT_EQ("", test::Differences(before, Classes()));
  ExpectInstalled(false);

#ifdef _WIN64
  // Here only the 64-bit DLLs are registered to compare with: the 32-bit
  // view, and the 32-bit DLLs' module subkeys of the shared type library keys,
  // are compared by PackageWith32BitPrograms.
  const std::wstring otherView = L"Wow6432Node\\";
  test::RegistryTree rowsOfThe64BitDlls = test::Without(rows, otherView);
  for (auto at = rowsOfThe64BitDlls.begin(); at != rowsOfThe64BitDlls.end();) {
    const bool win32 = at->first.size() > 6 && at->first.compare(at->first.size() - 6, 6, L"\\WIN32") == 0;
    at = win32 ? rowsOfThe64BitDlls.erase(at) : std::next(at);
  }
  EXPECT_EQ("", test::Differences(test::Without(WrittenByRegsvr32(before, false), otherView), rowsOfThe64BitDlls));
#else
  EXPECT_EQ("", test::Differences(WrittenByRegsvr32(before, false), rows));
#endif
}

TEST(Package, MajorUpgradeLeavesOneInstallation) {
  const test::RegistryTree before = Baseline(false);
  ASSERT_EQ(0, Msiexec(L"/i", FromUnix(L"QUARENT_OLDER_PACKAGE")));
  ASSERT_EQ(1u, InstalledProducts().size());
  ASSERT_EQ(0, Msiexec(L"/i", FromUnix(L"QUARENT_PACKAGE")));
  const std::vector<std::string> expected = {
      test::Narrow(std::wstring(kProductName) + L" " + Environment(L"QUARENT_PACKAGE_VERSION"))};
  EXPECT_EQ(expected, InstalledProducts());
  ExpectInstalled(true);
  EXPECT_EQ(test::kEveryClassCreated, test::CreateEachClassByScript(L"system32"));

  ASSERT_EQ(0, Msiexec(L"/x", FromUnix(L"QUARENT_PACKAGE")));
  EXPECT_EQ("", test::Differences(before, Classes()));
  EXPECT_TRUE(InstalledProducts().empty());
  ExpectInstalled(false);
}

#ifdef _WIN64
// The 64-bit package on a machine that runs 32-bit programs: the 32-bit script
// host creates every class, and the rows of both views are what regsvr32 of
// the 64-bit DLLs and then the 32-bit ones write.
TEST(PackageWith32BitPrograms, BothArchitecturesAreRegisteredAsRegsvr32Would) {
  const test::RegistryTree before = Baseline(true);
  ASSERT_EQ(0, Msiexec(L"/i", FromUnix(L"QUARENT_PACKAGE")));
  const test::RegistryTree rows = PackageRows(before);
  EXPECT_EQ(test::kEveryClassCreated, test::CreateEachClassByScript(L"syswow64"));
  ASSERT_EQ(0, Msiexec(L"/x", FromUnix(L"QUARENT_PACKAGE")));
  EXPECT_EQ("", test::Differences(WrittenByRegsvr32(before, true), rows));
}
#endif

}  // namespace
