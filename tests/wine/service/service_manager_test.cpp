// QUARENT.QRNOrtivo under Wine's real service control manager: a service
// program built on the object is installed with Install, started, paused,
// continued, sent a user control and stopped through the manager, and removed
// with Uninstall. This test is the controller; the program records what it
// sees, including every status the object reports.
#include <windows.h>
#include <tlhelp32.h>
#include <winsvc.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "com_client.h"
#include "ortivo_client.h"
#include "processes.h"
#include "registry_reader.h"
#include "service_status.h"

namespace {

using quarent::service::ExpectedReports;
using quarent::service::Situation;
using test::Hex;

const wchar_t kServiceName[] = L"QuarentHost";
const char kRecordFile[] = "C:\\quarent_host_record.txt";
const char kModeFile[] = "C:\\quarent_host_mode.txt";

// The output of the service program at `program` (by default the one beside
// this test), with CR LF line ends made LF.
std::string RunHost(const wchar_t* command, const std::wstring& program = L"") {
  const std::wstring path = program.empty() ? test::BesideProgram(L"service_host_program.exe") : program;
  std::string output = test::CaptureOutput(L"\"" + path + L"\" " + command);
  std::string lines;
  for (char character : output) {
    if (character != '\r') lines += character;
  }
  return lines;
}

// True once no service program process is left (at most 20 s): the manager
// shows a service stopped a little before its process has ended, and a start
// that meets the old process fails.
bool WaitForNoServiceProcess() {
  for (int attempt = 0; attempt < 400; ++attempt) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    bool found = false;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
      if (lstrcmpiW(entry.szExeFile, L"service_host_program.exe") == 0) found = true;
    }
    CloseHandle(snapshot);
    if (!found) return true;
    Sleep(50);
  }
  return false;
}

std::vector<std::string> RecordLines() {
  std::vector<std::string> lines;
  std::ifstream file(kRecordFile);
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

// The lines of the record that start with `prefix`, without it.
std::vector<std::string> Lines(const std::string& prefix) {
  std::vector<std::string> found;
  for (const std::string& line : RecordLines()) {
    if (line.compare(0, prefix.size(), prefix) == 0) found.push_back(line.substr(prefix.size()));
  }
  return found;
}

std::vector<uint32_t> ReportedStates() {
  std::vector<uint32_t> states;
  for (const std::string& state : Lines("status ")) states.push_back(static_cast<uint32_t>(std::stoul(state)));
  return states;
}

std::vector<uint32_t> Concatenated(std::initializer_list<std::vector<uint32_t>> parts) {
  std::vector<uint32_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

class ServiceHandle {
 public:
  explicit ServiceHandle(SC_HANDLE handle = nullptr) : handle_(handle) {}
  ~ServiceHandle() {
    if (handle_) CloseServiceHandle(handle_);
  }
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  SC_HANDLE Get() const { return handle_; }

 private:
  SC_HANDLE handle_;
};

class ServiceManagerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::RegisterServiceComponent();
    manager = std::make_unique<ServiceHandle>(OpenSCManagerW(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
    ASSERT_NE(manager->Get(), nullptr);
  }

  // Starts the service with the program in `mode` and waits for `state`.
  void StartIn(const char* mode, DWORD state) {
    ASSERT_TRUE(WaitForNoServiceProcess()) << "the last run's process did not end";
    std::ofstream(kModeFile) << mode << "\n";
    DeleteFileA(kRecordFile);
    service = std::make_unique<ServiceHandle>(OpenServiceW(manager->Get(), kServiceName, SERVICE_ALL_ACCESS));
    ASSERT_NE(service->Get(), nullptr);
    ASSERT_TRUE(StartServiceW(service->Get(), 0, nullptr))
        << GetLastError() << "; the service program recorded: " << testing::PrintToString(RecordLines());
    EXPECT_TRUE(WaitFor(state)) << "state " << state;
  }

  // The installed service's configuration, as QUERY_SERVICE_CONFIGW at the
  // start of `buffer`.
  void ReadInstalledConfig(std::vector<BYTE>& buffer) {
    ServiceHandle installed(OpenServiceW(manager->Get(), kServiceName, SERVICE_QUERY_CONFIG));
    ASSERT_NE(installed.Get(), nullptr);
    buffer.assign(8192, 0);
    DWORD needed = 0;
    ASSERT_TRUE(QueryServiceConfigW(installed.Get(), reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data()),
                                    static_cast<DWORD>(buffer.size()), &needed));
  }

  // Polls the manager until the service is in `state` (at most 20 s); keeps
  // every distinct state seen in `observed`.
  bool WaitFor(DWORD state) {
    for (int attempt = 0; attempt < 400; ++attempt) {
      SERVICE_STATUS status = {};
      if (QueryServiceStatus(service->Get(), &status)) {
        if (observed.empty() || observed.back() != status.dwCurrentState) observed.push_back(status.dwCurrentState);
        if (status.dwCurrentState == state) return true;
      }
      Sleep(50);
    }
    return false;
  }

  void Control(DWORD code, DWORD expectedState) {
    SERVICE_STATUS status = {};
    const BOOL sent = ControlService(service->Get(), code, &status);
    EXPECT_TRUE(sent) << "control " << code << " error " << GetLastError();
    EXPECT_TRUE(WaitFor(expectedState)) << "after control " << code;
  }

  // Waits until the program has recorded `line` (the events of a control
  // arrive shortly after the manager shows the state).
  bool WaitForRecord(const std::string& line) {
    for (int attempt = 0; attempt < 200; ++attempt) {
      for (const std::string& recorded : RecordLines()) {
        if (recorded == line) return true;
      }
      Sleep(50);
    }
    return false;
  }

  test::Apartment apartment;
  std::unique_ptr<ServiceHandle> manager;
  std::unique_ptr<ServiceHandle> service;
  std::vector<DWORD> observed;
};

TEST_F(ServiceManagerTest, InstallRunAndUninstall) {
  // Install from the program itself: the image path is the calling program.
  std::string output = RunHost(L"install");
  EXPECT_NE(output.find("status 0x00000000 result true logs 100"), std::string::npos) << output;
  {
    std::vector<BYTE> buffer;
    ASSERT_NO_FATAL_FAILURE(ReadInstalledConfig(buffer));
    const auto* config = reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data());
    EXPECT_EQ(config->dwServiceType, static_cast<DWORD>(SERVICE_WIN32_OWN_PROCESS));
    EXPECT_EQ(config->dwStartType, static_cast<DWORD>(SERVICE_DEMAND_START));
    EXPECT_EQ(config->dwErrorControl, static_cast<DWORD>(SERVICE_ERROR_NORMAL));
    const std::wstring image = config->lpBinaryPathName;
    EXPECT_EQ(image.substr(image.find_last_of(L"\\/") + 1), L"service_host_program.exe");
    EXPECT_STREQ(config->lpDisplayName, L"Quarent Host Service");
  }
  const std::wstring source = L"SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\QuarentHost";
  const std::wstring messageFile =
      test::ReadRegistryString(HKEY_LOCAL_MACHINE, source, L"EventMessageFile").value_or(L"");
  EXPECT_EQ(messageFile.substr(messageFile.find_last_of(L"\\/") + 1), L"QRNNTSrv.dll");
  EXPECT_EQ(test::RegistryValueType(HKEY_LOCAL_MACHINE, source, L"EventMessageFile"),
            static_cast<DWORD>(REG_EXPAND_SZ));
  EXPECT_EQ(test::RegistryValueType(HKEY_LOCAL_MACHINE, source, L"TypesSupported"), static_cast<DWORD>(REG_DWORD));

  output = RunHost(L"install");
  EXPECT_NE(output.find("status 0x80070431 result false logs\n"), std::string::npos) << output;

  // A whole run: start, pause, continue, a user control, stop.
  StartIn("accept", SERVICE_RUNNING);
  Control(SERVICE_CONTROL_PAUSE, SERVICE_PAUSED);
  Control(SERVICE_CONTROL_CONTINUE, SERVICE_RUNNING);
  Control(200, SERVICE_RUNNING);
  EXPECT_TRUE(WaitForRecord("event Control 200 on the main thread"));
  Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED);
  EXPECT_TRUE(WaitForRecord("status 1"));
  EXPECT_EQ(Lines("event "), (std::vector<std::string>{"Start on the main thread", "Pause on the main thread",
                                                       "Continue on the main thread",
                                                       "Control 200 on the main thread", "Stop on the main thread"}));
  EXPECT_EQ(ReportedStates(), Concatenated({ExpectedReports(Situation::kStartAccepted, 1),
                                            ExpectedReports(Situation::kPauseAccepted, 4),
                                            ExpectedReports(Situation::kContinueAccepted, 7),
                                            ExpectedReports(Situation::kUserControl, 4),
                                            ExpectedReports(Situation::kStopByManager, 4)}));
  // Every report carries the whole record: an own process (also when
  // Interactive is set), the configured controls (pause/continue) with stop,
  // no exit codes, no check point, no wait hint.
  const std::vector<std::string> fields = Lines("fields ");
  EXPECT_EQ(fields.size(), ReportedStates().size());
  for (const std::string& line : fields) EXPECT_EQ(line, "type 16 controls 3 exit 0 0 check 0 wait 0");
  std::vector<std::string> logs = Lines("log ");
  EXPECT_EQ(logs, (std::vector<std::string>{"105 type 4", "107 type 4"}));
  // What the controller could see is a subsequence of what was reported.
  const std::vector<DWORD> reachable = {SERVICE_STOPPED, SERVICE_START_PENDING, SERVICE_RUNNING,
                                        SERVICE_PAUSE_PENDING, SERVICE_PAUSED, SERVICE_RUNNING,
                                        SERVICE_STOP_PENDING, SERVICE_STOPPED};
  size_t position = 0;
  for (DWORD state : observed) {
    while (position < reachable.size() && reachable[position] != state) ++position;
    EXPECT_LT(position, reachable.size()) << "state " << state << " out of order";
  }

  // The client refuses the start: the service stops at once.
  observed.clear();
  StartIn("refuse-start", SERVICE_STOPPED);
  EXPECT_TRUE(WaitForRecord("status 1"));
  EXPECT_EQ(Lines("event "), std::vector<std::string>{"Start on the main thread"});
  EXPECT_EQ(ReportedStates(), ExpectedReports(Situation::kStartRefused, 1));
  EXPECT_EQ(Lines("log "), std::vector<std::string>{"104 type 4"});

  // The client refuses a pause: the service reports running again.
  StartIn("refuse-pause", SERVICE_RUNNING);
  Control(SERVICE_CONTROL_PAUSE, SERVICE_RUNNING);
  EXPECT_TRUE(WaitForRecord("event Pause on the main thread"));
  Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED);
  EXPECT_TRUE(WaitForRecord("status 1"));
  EXPECT_EQ(ReportedStates(), Concatenated({ExpectedReports(Situation::kStartAccepted, 1),
                                            ExpectedReports(Situation::kPauseRefused, 4),
                                            ExpectedReports(Situation::kStopByManager, 4)}));
  // The service stops itself with StopService from a Timer event: only the
  // stopped state follows the running one, and StartService's loop ends.
  StartIn("stop-self", SERVICE_STOPPED);
  EXPECT_TRUE(WaitForRecord("StartService returned 0 -1"));
  EXPECT_EQ(Lines("event "), (std::vector<std::string>{"Start on the main thread", "Timer 1 on the main thread",
                                                       "Stop on the main thread"}));
  EXPECT_EQ(ReportedStates(), Concatenated({ExpectedReports(Situation::kStartAccepted, 1),
                                            ExpectedReports(Situation::kStopByClient, 4)}));
  EXPECT_EQ(Lines("log "), (std::vector<std::string>{"105 type 4", "107 type 4"}));
  service.reset();

  output = RunHost(L"uninstall");
  EXPECT_NE(output.find("status 0x00000000 result true logs 101"), std::string::npos) << output;
  ServiceHandle removed(OpenServiceW(manager->Get(), kServiceName, SERVICE_QUERY_STATUS));
  EXPECT_EQ(removed.Get(), nullptr);
  EXPECT_TRUE(test::RegistryKeyExists(HKEY_LOCAL_MACHINE, source)) << "the event source stays";

  output = RunHost(L"uninstall");
  EXPECT_NE(output.find("status 0x00000000 result false logs 102"), std::string::npos) << output;
}

TEST_F(ServiceManagerTest, AProgramUnderAPathWithSpacesRunsAsTheService) {
  // With the path unquoted the manager would look for C:\Program.exe first.
  const std::wstring folder = L"C:\\Program Files\\Quarent Host";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::wstring program = folder + L"\\service_host_program.exe";
  ASSERT_TRUE(CopyFileW(test::BesideProgram(L"service_host_program.exe").c_str(), program.c_str(), FALSE));
  std::string output = RunHost(L"install", program);
  ASSERT_NE(output.find("status 0x00000000 result true logs 100"), std::string::npos) << output;
  {
    std::vector<BYTE> buffer;
    ASSERT_NO_FATAL_FAILURE(ReadInstalledConfig(buffer));
    EXPECT_EQ(std::wstring(reinterpret_cast<QUERY_SERVICE_CONFIGW*>(buffer.data())->lpBinaryPathName),
              L"\"" + program + L"\"");
  }
  StartIn("accept", SERVICE_RUNNING);
  Control(SERVICE_CONTROL_STOP, SERVICE_STOPPED);
  EXPECT_TRUE(WaitForRecord("status 1"));
  EXPECT_EQ(Lines("event "), (std::vector<std::string>{"Start on the main thread", "Stop on the main thread"}));
  service.reset();
  output = RunHost(L"uninstall", program);
  EXPECT_NE(output.find("status 0x00000000 result true logs 101"), std::string::npos) << output;
}

}  // namespace
