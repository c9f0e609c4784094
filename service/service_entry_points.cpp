#include "service_entry_points.h"

#include <atomic>

#include "service_runtime.h"

namespace quarent::service {
namespace {

// The run the entry points work on: the platform passes them no context. Set
// on the client's thread before any service thread exists.
std::atomic<ServiceRuntime*> currentRuntime{nullptr};

}  // namespace

void ServiceRuntime::SetCurrent(ServiceRuntime* runtime) { currentRuntime.store(runtime); }

ServiceRuntime* ServiceRuntime::Current() { return currentRuntime.load(); }

DWORD WINAPI DispatcherThreadRoutine(void*) {
  ServiceRuntime* runtime = ServiceRuntime::Current();
  return runtime != nullptr ? runtime->RunDispatcher() : FALSE;
}

void WINAPI ServiceMainFunction(DWORD, char**) {
  if (ServiceRuntime* runtime = ServiceRuntime::Current()) runtime->RunServiceMain();
}

void WINAPI ControlHandlerFunction(DWORD code) {
  if (ServiceRuntime* runtime = ServiceRuntime::Current()) runtime->HandleControl(code);
}

}  // namespace quarent::service
