// Per-user registration (regsvr32 /n /i:user): the same keys and values as
// machine-wide registration of the same DLL, but under
// HKEY_CURRENT_USER\Software\Classes and nowhere under HKEY_LOCAL_MACHINE;
// removal (/u /n /i:user) leaves the user's classes as they were. Wine's class
// lookup does not read the user's classes, so the keys are what is compared.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "com_client.h"
#include "installer/toolkit_components.h"
#include "processes.h"
#include "registry_tree.h"

namespace {

const wchar_t kClasses[] = L"Software\\Classes";

test::RegistryTree MachineClasses() { return test::ReadRegistryTree(HKEY_LOCAL_MACHINE, kClasses); }
test::RegistryTree UserClasses() { return test::ReadRegistryTree(HKEY_CURRENT_USER, kClasses); }

void RunRegsvr32OnEach(const std::wstring& switches) {
  for (const quarent::ToolkitComponent& component : quarent::ToolkitComponents()) {
    SCOPED_TRACE(test::Narrow(switches + L" " + component.dllName));
    ASSERT_EQ(
        0, test::RunProcess(L"regsvr32.exe /s " + switches + L" \"" + test::BesideProgram(component.dllName) + L"\""));
  }
}

TEST(PerUserRegistration, WritesForTheUserWhatMachineRegistrationWrites) {
  const test::RegistryTree machineBefore = MachineClasses();
  const test::RegistryTree userBefore = UserClasses();
  RunRegsvr32OnEach(L"/n /i:user");
  EXPECT_EQ("", test::Differences(machineBefore, MachineClasses())) << "written under HKEY_LOCAL_MACHINE";
  const test::RegistryTree userWritten = test::Written(userBefore, UserClasses());
  EXPECT_FALSE(userWritten.empty());

  // The 64-bit RegisterTypeLib also files the interfaces in the 32-bit view;
  // the user's registration stays in the process's own.
  RunRegsvr32OnEach(L"");
  const test::RegistryTree machineWritten =
      test::Without(test::Written(machineBefore, MachineClasses()), L"Wow6432Node\\");
  EXPECT_EQ("", test::Differences(machineWritten, userWritten));

  RunRegsvr32OnEach(L"/u /n /i:user");
  EXPECT_EQ("", test::Differences(userBefore, UserClasses()));
}

TEST(PerUserRegistration, AnyOtherCommandLineIsRefusedAndWritesNothing) {
  const test::RegistryTree machineBefore = MachineClasses();
  const test::RegistryTree userBefore = UserClasses();
  const struct Case {
    BOOL install;
    const wchar_t* commandLine;
  } cases[] = {{TRUE, nullptr}, {TRUE, L""}, {TRUE, L"machine"}, {TRUE, L"user "}, {FALSE, L"users"}};
  for (const quarent::ToolkitComponent& component : quarent::ToolkitComponents()) {
    HMODULE module = LoadLibraryW(test::BesideProgram(component.dllName).c_str());
    ASSERT_NE(nullptr, module) << test::Narrow(component.dllName);
    const auto install = reinterpret_cast<HRESULT(WINAPI*)(BOOL, LPCWSTR)>(
        reinterpret_cast<void*>(GetProcAddress(module, "DllInstall")));
    ASSERT_NE(nullptr, install);
    for (const Case& row : cases) {
      SCOPED_TRACE(test::Narrow(std::wstring(component.dllName) + L" \"" +
                                (row.commandLine ? row.commandLine : L"(null)") + L"\""));
      EXPECT_EQ(test::Hex(E_INVALIDARG), test::Hex(install(row.install, row.commandLine)));
    }
    FreeLibrary(module);
  }
  EXPECT_EQ("", test::Differences(machineBefore, MachineClasses()));
  EXPECT_EQ("", test::Differences(userBefore, UserClasses()));
}

}  // namespace
