// Drives the demo service through the service control manager, as the
// Services tool would, and prints the state the manager shows after each step.
#include <windows.h>
#include <winsvc.h>

#include <cstdio>

namespace {

const char* StateName(DWORD state) {
  switch (state) {
    case SERVICE_STOPPED: return "stopped";
    case SERVICE_START_PENDING: return "start pending";
    case SERVICE_STOP_PENDING: return "stop pending";
    case SERVICE_RUNNING: return "running";
    case SERVICE_CONTINUE_PENDING: return "continue pending";
    case SERVICE_PAUSE_PENDING: return "pause pending";
    case SERVICE_PAUSED: return "paused";
    default: return "unknown";
  }
}

// Waits (at most 10 s) for `state` and prints the state reached.
void WaitFor(SC_HANDLE service, DWORD state) {
  SERVICE_STATUS status = {};
  for (int attempt = 0; attempt < 200; ++attempt) {
    if (QueryServiceStatus(service, &status) && status.dwCurrentState == state) break;
    Sleep(50);
  }
  std::printf("  the manager shows the service as: %s\n", StateName(status.dwCurrentState));
}

void Send(SC_HANDLE service, DWORD code, const char* what, DWORD expected) {
  SERVICE_STATUS status = {};
  std::printf("%s\n", what);
  if (!ControlService(service, code, &status)) std::printf("  ControlService failed: %lu\n", GetLastError());
  WaitFor(service, expected);
}

}  // namespace

int main() {
  SC_HANDLE manager = OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS);
  SC_HANDLE service = manager ? OpenServiceA(manager, "QuarentDemo", SERVICE_ALL_ACCESS) : nullptr;
  if (service == nullptr) {
    std::printf("The service QuarentDemo is not installed.\n");
    return 1;
  }
  std::printf("Starting the service\n");
  if (!StartServiceA(service, 0, nullptr)) std::printf("  StartService failed: %lu\n", GetLastError());
  WaitFor(service, SERVICE_RUNNING);
  Sleep(1500);  // long enough for the service's 1 s timer
  Send(service, SERVICE_CONTROL_PAUSE, "Pausing the service", SERVICE_PAUSED);
  Send(service, SERVICE_CONTROL_CONTINUE, "Continuing the service", SERVICE_RUNNING);
  Send(service, 200, "Sending the user-defined control 200", SERVICE_RUNNING);
  Sleep(300);
  Send(service, SERVICE_CONTROL_STOP, "Stopping the service", SERVICE_STOPPED);
  CloseServiceHandle(service);
  CloseServiceHandle(manager);
  return 0;
}
