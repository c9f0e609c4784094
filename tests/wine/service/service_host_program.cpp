// A small service program built on QUARENT.QRNOrtivo, driven by the manager
// test. "install", "uninstall": call the object's Install or Uninstall and
// print the outcome with the event-log ids written. Without arguments it runs
// as the service (started by the service control manager): it answers the
// events as C:\quarent_host_mode.txt says ("accept", "refuse-start",
// "refuse-pause", "stop-self": a timer after the start whose first Timer
// event calls StopService) and appends what it sees to C:\quarent_host_record.txt,
// including every status the object reports, seen at its import of
// SetServiceStatus.
#include <windows.h>
#include <winsvc.h>
#undef StartService

#include <cstdio>
#include <fstream>
#include <mutex>
#include <string>

#include "event_recorder.h"
#include "import_hook.h"
#include "ortivo_client.h"

namespace {

const char kRecordFile[] = "C:\\quarent_host_record.txt";
const char kModeFile[] = "C:\\quarent_host_mode.txt";

std::mutex recordMutex;
std::string printedLogs;  // for the install and uninstall commands
test::ImportHook* statusHook = nullptr;
test::ImportHook* reportHook = nullptr;

// Appends one line to the record at once: the manager may end the process
// as soon as the service has reported that it stopped.
void Record(const std::string& line) {
  std::lock_guard<std::mutex> hold(recordMutex);
  std::ofstream file(kRecordFile, std::ios::app);
  file << line << "\n";
}

BOOL WINAPI RecordingSetServiceStatus(SERVICE_STATUS_HANDLE handle, LPSERVICE_STATUS status) {
  Record("fields type " + std::to_string(status->dwServiceType) + " controls " +
         std::to_string(status->dwControlsAccepted) + " exit " + std::to_string(status->dwWin32ExitCode) + " " +
         std::to_string(status->dwServiceSpecificExitCode) + " check " + std::to_string(status->dwCheckPoint) +
         " wait " + std::to_string(status->dwWaitHint));
  Record("status " + std::to_string(status->dwCurrentState));
  using Function = BOOL(WINAPI*)(SERVICE_STATUS_HANDLE, LPSERVICE_STATUS);
  return reinterpret_cast<Function>(statusHook->Original())(handle, status);
}

BOOL WINAPI RecordingReportEvent(HANDLE source, WORD type, WORD category, DWORD id, PSID user, WORD count,
                                 DWORD size, LPCSTR* strings, LPVOID data) {
  std::string line = "log " + std::to_string(id) + " type " + std::to_string(type);
  if (count > 0 && strings && strings[0]) line += std::string(" text ") + strings[0];
  Record(line);
  printedLogs += " " + std::to_string(id);
  using Function = BOOL(WINAPI*)(HANDLE, WORD, WORD, DWORD, PSID, WORD, DWORD, LPCSTR*, LPVOID);
  return reinterpret_cast<Function>(reportHook->Original())(source, type, category, id, user, count, size, strings,
                                                            data);
}

std::string ReadMode() {
  std::ifstream file(kModeFile);
  std::string mode;
  std::getline(file, mode);
  return mode.empty() ? "accept" : mode;
}

const char* EventName(DISPID id) {
  switch (id) {
    case 0: return "Start";
    case 1: return "Stop";
    case 3: return "Pause";
    case 4: return "Continue";
    case 5: return "Control";
    case 6: return "Timer";
    default: return "Unknown";
  }
}

int RunAsService(IOrtivo* ortivo) {
  const std::string mode = ReadMode();
  const DWORD mainThread = GetCurrentThreadId();
  Record("service process started, mode " + mode);
  test::EventRecorder* sink = new test::EventRecorder(DIID__IOrtivoEvents);
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    std::string line = std::string("event ") + EventName(id);
    if ((id == 5 || id == 6) && parameters->cArgs == 1) line += " " + std::to_string(parameters->rgvarg[0].lVal);
    line += GetCurrentThreadId() == mainThread ? " on the main thread" : " on another thread";
    Record(line);
    if (mode == "stop-self") {
      if (id == 0) ortivo->StartTimer(1, 50);
      if (id == 6) ortivo->StopService();
    }
    const bool answers = id == 0 || id == 3 || id == 4;
    if (!answers) return;
    bool accept = true;
    if (id == 0 && mode == "refuse-start") accept = false;
    if (id == 3 && mode == "refuse-pause") accept = false;
    *parameters->rgvarg[0].pboolVal = accept ? VARIANT_TRUE : VARIANT_FALSE;
  };
  // The reported service type stays that of an own process.
  ortivo->put_Interactive(VARIANT_TRUE);
  {
    test::Connection connection(ortivo, DIID__IOrtivoEvents, sink);
    VARIANT_BOOL started = 0;
    const HRESULT status = ortivo->StartService(VARIANT_TRUE, &started);
    Record("StartService returned " + std::to_string(status) + " " + std::to_string(started));
  }
  sink->Release();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  int exitCode = 0;
  {
    HRESULT status = E_FAIL;
    test::ComPtr<IOrtivo> ortivo = test::CreateOrtivo(&status);
    if (!ortivo) {
      std::printf("cannot create the object: 0x%08lX\n", static_cast<unsigned long>(status));
      Record("cannot create the object");
      CoUninitialize();
      return 2;
    }
    HMODULE module = test::ServiceModule();
    test::ImportHook statusSeam(module, "advapi32.dll", "SetServiceStatus",
                                reinterpret_cast<void*>(&RecordingSetServiceStatus));
    test::ImportHook reportSeam(module, "advapi32.dll", "ReportEventA", reinterpret_cast<void*>(&RecordingReportEvent));
    statusHook = &statusSeam;
    reportHook = &reportSeam;

    BSTR name = SysAllocString(L"QuarentHost");
    BSTR display = SysAllocString(L"Quarent Host Service");
    ortivo->put_ServiceName(name);
    ortivo->put_DisplayName(display);
    SysFreeString(name);
    SysFreeString(display);
    // Without qrnCtrlStartStop: stop is reported as accepted all the same.
    ortivo->put_ControlsAccepted(qrnCtrlPauseContinue);

    if (command == "install" || command == "uninstall") {
      VARIANT_BOOL done = 0;
      status = command == "install" ? ortivo->Install(&done) : ortivo->Uninstall(&done);
      std::printf("status 0x%08lX result %s logs%s\n", static_cast<unsigned long>(status),
                  done ? "true" : "false", printedLogs.c_str());
      exitCode = done ? 0 : 1;
    } else {
      exitCode = RunAsService(ortivo.Get());
    }
    ortivo.Reset();
  }
  CoUninitialize();
  return exitCode;
}
