// Install and Uninstall of QUARENT.QRNOrtivo: the arguments the object gives
// CreateServiceA (seen at its import and then passed on to the real manager),
// the event source registration, the event-log messages and every failure row.
#include <windows.h>
#include <winsvc.h>

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>

#include "com_client.h"
#include "event_log_seam.h"
#include "import_hook.h"
#include "ortivo_client.h"
#include "registry_reader.h"

namespace {

using test::ComPtr;
using test::Hex;
using test::Text;

struct CreateArguments {
  std::string name;
  std::optional<std::string> displayName;
  DWORD access = 0;
  DWORD serviceType = 0;
  DWORD startType = 0;
  DWORD errorControl = 0;
  std::string imagePath;
  bool groupTagOrDependencies = true;
  std::optional<std::string> account;
  std::optional<std::string> password;
};

// The hooks below are plain functions; they report through these.
CreateArguments lastCreate;
test::ImportHook* createHook = nullptr;
bool refuseManager = false;
bool refuseSourceKey = false;
test::ImportHook* managerHook = nullptr;
test::ImportHook* keyHook = nullptr;
test::ImportHook* openHook = nullptr;
// Arguments of the last OpenSCManagerA and OpenServiceA calls.
bool managerLocalAndActive = false;
DWORD managerAccess = 0;
DWORD serviceAccess = 0;

std::optional<std::string> Optional(const char* text) {
  return text ? std::optional<std::string>(text) : std::nullopt;
}

SC_HANDLE WINAPI RecordingCreateService(SC_HANDLE manager, LPCSTR name, LPCSTR display, DWORD access, DWORD type,
                                        DWORD start, DWORD error, LPCSTR image, LPCSTR group, LPDWORD tag,
                                        LPCSTR dependencies, LPCSTR account, LPCSTR password) {
  lastCreate = {name ? name : "", Optional(display), access, type, start, error, image ? image : "",
                group != nullptr || tag != nullptr || dependencies != nullptr, Optional(account), Optional(password)};
  using Function = SC_HANDLE(WINAPI*)(SC_HANDLE, LPCSTR, LPCSTR, DWORD, DWORD, DWORD, DWORD, LPCSTR, LPCSTR, LPDWORD,
                                      LPCSTR, LPCSTR, LPCSTR);
  return reinterpret_cast<Function>(createHook->Original())(manager, name, display, access, type, start, error, image,
                                                            group, tag, dependencies, account, password);
}

SC_HANDLE WINAPI MaybeRefusedManager(LPCSTR machine, LPCSTR database, DWORD access) {
  managerLocalAndActive = machine == nullptr && database == nullptr;
  managerAccess = access;
  if (refuseManager) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  using Function = SC_HANDLE(WINAPI*)(LPCSTR, LPCSTR, DWORD);
  return reinterpret_cast<Function>(managerHook->Original())(machine, database, access);
}

SC_HANDLE WINAPI RecordingOpenService(SC_HANDLE manager, LPCSTR name, DWORD access) {
  serviceAccess = access;
  using Function = SC_HANDLE(WINAPI*)(SC_HANDLE, LPCSTR, DWORD);
  return reinterpret_cast<Function>(openHook->Original())(manager, name, access);
}

LONG WINAPI MaybeRefusedKey(HKEY root, LPCSTR path, PHKEY key) {
  if (refuseSourceKey) return ERROR_ACCESS_DENIED;
  using Function = LONG(WINAPI*)(HKEY, LPCSTR, PHKEY);
  return reinterpret_cast<Function>(keyHook->Original())(root, path, key);
}

class ServiceInstallTest : public test::OrtivoTest {
 protected:
  void SetUp() override {
    OrtivoTest::SetUp();
    if (HasFatalFailure()) return;
    HMODULE module = test::ServiceModule();
    seam = std::make_unique<test::EventLogSeam>(module);
    create = std::make_unique<test::ImportHook>(module, "advapi32.dll", "CreateServiceA",
                                                reinterpret_cast<void*>(&RecordingCreateService));
    manager = std::make_unique<test::ImportHook>(module, "advapi32.dll", "OpenSCManagerA",
                                                 reinterpret_cast<void*>(&MaybeRefusedManager));
    key = std::make_unique<test::ImportHook>(module, "advapi32.dll", "RegCreateKeyA",
                                             reinterpret_cast<void*>(&MaybeRefusedKey));
    open = std::make_unique<test::ImportHook>(module, "advapi32.dll", "OpenServiceA",
                                              reinterpret_cast<void*>(&RecordingOpenService));
    ASSERT_TRUE(create->Installed() && manager->Installed() && key->Installed() && open->Installed());
    openHook = open.get();
    createHook = create.get();
    managerHook = manager.get();
    keyHook = key.get();
    refuseManager = false;
    refuseSourceKey = false;
  }
  void TearDown() override {
    ortivo.Reset();
    open.reset();
    key.reset();
    manager.reset();
    create.reset();
    seam.reset();
  }

  VARIANT_BOOL Install(HRESULT expected) {
    VARIANT_BOOL installed = 123;
    EXPECT_EQ(Hex(ortivo->Install(&installed)), Hex(expected));
    return installed;
  }
  VARIANT_BOOL Uninstall(HRESULT expected) {
    VARIANT_BOOL removed = 123;
    EXPECT_EQ(Hex(ortivo->Uninstall(&removed)), Hex(expected));
    return removed;
  }
  std::unique_ptr<test::EventLogSeam> seam;
  std::unique_ptr<test::ImportHook> create;
  std::unique_ptr<test::ImportHook> manager;
  std::unique_ptr<test::ImportHook> key;
  std::unique_ptr<test::ImportHook> open;
};

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

TEST_F(ServiceInstallTest, DefaultsGiveTheDocumentedArguments) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentPlain")), S_OK);
  managerAccess = 0;
  EXPECT_EQ(Install(S_OK), VARIANT_TRUE);
  EXPECT_TRUE(managerLocalAndActive);
  EXPECT_EQ(managerAccess, 0xF003Fu) << "SC_MANAGER_ALL_ACCESS";
  EXPECT_EQ(lastCreate.name, "QuarentPlain");
  EXPECT_EQ(lastCreate.displayName, std::optional<std::string>("")) << "never set: an empty display name";
  EXPECT_EQ(lastCreate.access, 0xF01FFu);
  EXPECT_EQ(lastCreate.serviceType, 0x10u);
  EXPECT_EQ(lastCreate.startType, 3u);
  EXPECT_EQ(lastCreate.errorControl, 1u);
  EXPECT_EQ(lastCreate.imagePath, ThisProgram());
  EXPECT_FALSE(lastCreate.groupTagOrDependencies);
  EXPECT_EQ(lastCreate.account, std::nullopt);
  EXPECT_EQ(lastCreate.password, std::nullopt);

  const std::vector<test::LoggedEvent> events = seam->Events();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].id, 100u);
  EXPECT_EQ(events[0].type, EVENTLOG_INFORMATION_TYPE);
  EXPECT_EQ(events[0].stringCount, 1);
  EXPECT_EQ(events[0].text, "");
  EXPECT_EQ(events[0].category, 0);
  EXPECT_FALSE(events[0].userOrRawData);
  EXPECT_EQ(seam->OpenedSources(), std::vector<std::string>{"QuarentPlain"});

  const std::wstring source = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\QuarentPlain";
  const std::wstring messageFile =
      test::ReadRegistryString(HKEY_LOCAL_MACHINE, source, L"EventMessageFile").value_or(L"");
  EXPECT_EQ(messageFile.substr(messageFile.find_last_of(L"\\/") + 1), L"QRNNTSrv.dll");
  HKEY sourceKey = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, source.c_str(), 0, KEY_READ, &sourceKey), 0);
  // The component's full path, its terminating zero counted.
  char dllPath[MAX_PATH] = {};
  GetModuleFileNameA(test::ServiceModule(), dllPath, MAX_PATH);
  char storedPath[MAX_PATH + 8] = {};
  DWORD pathSize = sizeof storedPath;
  DWORD pathType = 0;
  EXPECT_EQ(RegQueryValueExA(sourceKey, "EventMessageFile", nullptr, &pathType, reinterpret_cast<BYTE*>(storedPath),
                             &pathSize),
            0);
  EXPECT_EQ(pathType, static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_STREQ(storedPath, dllPath);
  EXPECT_EQ(pathSize, std::string(dllPath).size() + 1);
  DWORD types = 0;
  DWORD size = sizeof types;
  EXPECT_EQ(RegQueryValueExW(sourceKey, L"TypesSupported", nullptr, nullptr, reinterpret_cast<BYTE*>(&types), &size),
            0);
  EXPECT_EQ(types, 7u);
  RegCloseKey(sourceKey);

  // Twice: the manager's "service exists" (1073) as the status, no entry.
  seam->Clear();
  test::ClearErrorInfo();
  EXPECT_EQ(Install(static_cast<HRESULT>(0x80070431)), VARIANT_FALSE);
  EXPECT_FALSE(test::TakeErrorInfo().present);
  EXPECT_TRUE(seam->Events().empty());

  managerAccess = 0;
  EXPECT_EQ(Uninstall(S_OK), VARIANT_TRUE);
  EXPECT_EQ(managerAccess, 0xF003Fu);
  EXPECT_EQ(serviceAccess, 0x10000u) << "DELETE";
  ASSERT_EQ(seam->Events().size(), 1u);
  EXPECT_EQ(seam->Events()[0].id, 101u);
  EXPECT_EQ(seam->Events()[0].type, EVENTLOG_INFORMATION_TYPE);
  EXPECT_EQ(seam->Events()[0].text, "QuarentPlain");
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, source)) << "Uninstall leaves the event source";
}

TEST_F(ServiceInstallTest, ConfigurationReachesTheArguments) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentConfigured")), S_OK);
  ASSERT_EQ(ortivo->put_DisplayName(nullptr), S_OK);
  ASSERT_EQ(ortivo->put_Interactive(1), S_OK);
  ASSERT_EQ(ortivo->put_StartMode(qrnStartAutomatic), S_OK);
  ASSERT_EQ(ortivo->put_LoadOrderGroup(Text(L"Ignored")), S_OK);
  ASSERT_EQ(ortivo->put_Dependencies(Text(L"AlsoIgnored")), S_OK);
  EXPECT_EQ(Install(S_OK), VARIANT_TRUE);
  EXPECT_EQ(lastCreate.displayName, std::nullopt) << "a null DisplayName is passed as null";
  EXPECT_EQ(lastCreate.serviceType, 0x110u);
  EXPECT_EQ(lastCreate.startType, 2u);
  EXPECT_EQ(lastCreate.account, std::nullopt);
  EXPECT_FALSE(lastCreate.groupTagOrDependencies) << "LoadOrderGroup and Dependencies are not passed";
  ASSERT_EQ(seam->Events().size(), 1u);
  EXPECT_EQ(seam->Events()[0].id, 100u);
  EXPECT_EQ(seam->Events()[0].stringCount, 0) << "no insertion string for a null DisplayName";

  // The manager accepts an own account only for a service that is not interactive.
  ASSERT_EQ(ortivo->put_Interactive(VARIANT_FALSE), S_OK);
  ASSERT_EQ(ortivo->put_Account(Text(L".\\operator")), S_OK);
  struct Case {
    const wchar_t* serviceName;
    const wchar_t* password;
    std::optional<std::string> passed;
  };
  const Case cases[] = {
      {L"QuarentAccount1", L"", std::nullopt},
      {L"QuarentAccount2", L"pw", std::optional<std::string>("pw")},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(test::Narrow(row.serviceName));
    ASSERT_EQ(ortivo->put_ServiceName(Text(row.serviceName)), S_OK);
    ASSERT_EQ(ortivo->put_Password(Text(row.password)), S_OK);
    // Display names must differ between services too.
    ASSERT_EQ(ortivo->put_DisplayName(Text(std::wstring(L"Display of ") + row.serviceName)), S_OK);
    seam->Clear();
    EXPECT_EQ(Install(S_OK), VARIANT_TRUE);
    EXPECT_EQ(lastCreate.serviceType, 0x10u);
    const std::string display = "Display of " + test::Narrow(row.serviceName);
    EXPECT_EQ(lastCreate.displayName, std::optional<std::string>(display));
    EXPECT_EQ(lastCreate.account, std::optional<std::string>(".\\operator"));
    EXPECT_EQ(lastCreate.password, row.passed);
    ASSERT_EQ(seam->Events().size(), 1u);
    EXPECT_EQ(seam->Events()[0].text, display);
    EXPECT_EQ(seam->OpenedSources(), std::vector<std::string>{}) << "the source opened first stays in use";
  }
}

// The program path the object is shown for the calling process, when set.
std::string shownProgramPath;
test::ImportHook* pathHook = nullptr;

DWORD WINAPI ShownModuleFileName(HMODULE module, LPSTR path, DWORD size) {
  if (module == nullptr && !shownProgramPath.empty()) {
    lstrcpynA(path, shownProgramPath.c_str(), static_cast<int>(size));
    return static_cast<DWORD>(strlen(path));
  }
  using Function = DWORD(WINAPI*)(HMODULE, LPSTR, DWORD);
  return reinterpret_cast<Function>(pathHook->Original())(module, path, size);
}

TEST_F(ServiceInstallTest, AProgramPathWithASpaceIsQuoted) {
  test::ImportHook hook(test::ServiceModule(), "kernel32.dll", "GetModuleFileNameA",
                        reinterpret_cast<void*>(&ShownModuleFileName));
  ASSERT_TRUE(hook.Installed());
  pathHook = &hook;
  struct Case {
    const wchar_t* serviceName;
    std::string program;
    std::string imagePath;
  };
  const Case cases[] = {
      {L"QuarentSpaced", "C:\\Program Files\\My App\\svc.exe", "\"C:\\Program Files\\My App\\svc.exe\""},
      {L"QuarentSpacedName", "C:\\Apps\\my svc.exe", "\"C:\\Apps\\my svc.exe\""},
      {L"QuarentUnspaced", "C:\\Apps\\svc.exe", "C:\\Apps\\svc.exe"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.program);
    shownProgramPath = row.program;
    ASSERT_EQ(ortivo->put_ServiceName(Text(row.serviceName)), S_OK);
    EXPECT_EQ(Install(S_OK), VARIANT_TRUE);
    EXPECT_EQ(lastCreate.imagePath, row.imagePath);
    EXPECT_EQ(test::ReadRegistryString(HKEY_LOCAL_MACHINE,
                                       std::wstring(L"SYSTEM\\CurrentControlSet\\Services\\") + row.serviceName,
                                       L"ImagePath")
                  .value_or(L"?"),
              std::wstring(row.imagePath.begin(), row.imagePath.end()))
        << "as the manager keeps it";
    EXPECT_EQ(Uninstall(S_OK), VARIANT_TRUE);
  }
  shownProgramPath.clear();
  pathHook = nullptr;
}

TEST_F(ServiceInstallTest, FailureRows) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentFailing")), S_OK);

  refuseManager = true;
  test::ClearErrorInfo();
  EXPECT_EQ(Install(E_FAIL), VARIANT_FALSE);
  ExpectErrorText1500();
  EXPECT_TRUE(seam->Events().empty()) << "no entry when the manager cannot be opened";
  test::ClearErrorInfo();
  EXPECT_EQ(Uninstall(E_FAIL), VARIANT_FALSE);
  ExpectErrorText1500();
  ASSERT_EQ(seam->Events().size(), 1u);
  EXPECT_EQ(seam->Events()[0].id, 102u);
  EXPECT_EQ(seam->Events()[0].type, EVENTLOG_ERROR_TYPE);
  EXPECT_EQ(seam->Events()[0].text, "QuarentFailing");
  refuseManager = false;

  seam->Clear();
  refuseSourceKey = true;
  test::ClearErrorInfo();
  EXPECT_EQ(Install(E_FAIL), VARIANT_FALSE);
  ExpectErrorText1500();
  EXPECT_TRUE(seam->Events().empty());
  refuseSourceKey = false;
  SC_HANDLE scm = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT);
  SC_HANDLE created = OpenServiceA(scm, "QuarentFailing", SERVICE_QUERY_STATUS);
  EXPECT_NE(created, nullptr) << "the service created before stays installed";
  if (created) CloseServiceHandle(created);
  CloseServiceHandle(scm);
  EXPECT_EQ(Uninstall(S_OK), VARIANT_TRUE);

  seam->Clear();
  EXPECT_EQ(Uninstall(S_OK), VARIANT_FALSE) << "a service that does not exist";
  ASSERT_EQ(seam->Events().size(), 1u);
  EXPECT_EQ(seam->Events()[0].id, 102u);
  EXPECT_EQ(seam->Events()[0].type, EVENTLOG_ERROR_TYPE);
  EXPECT_EQ(seam->Events()[0].text, "QuarentFailing");
}

TEST_F(ServiceInstallTest, RefusedEventSourceChangesNothingElse) {
  ASSERT_EQ(ortivo->put_ServiceName(Text(L"QuarentNoSource")), S_OK);
  seam->refuseSource = true;
  EXPECT_EQ(Install(S_OK), VARIANT_TRUE);
  EXPECT_EQ(Uninstall(S_OK), VARIANT_TRUE);
  EXPECT_EQ(Uninstall(S_OK), VARIANT_FALSE);
  EXPECT_TRUE(seam->Events().empty());
  EXPECT_EQ(seam->OpenedSources().size(), 3u) << "each entry tries to open the source again";
}

}  // namespace
