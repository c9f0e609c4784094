#include "service_installer.h"

#include "common/module.h"
#include "common/win_handles.h"
#include "service_config_rules.h"

namespace quarent::service {
namespace {

// Handle of the service control manager or of a service.
class ServiceHandle {
 public:
  explicit ServiceHandle(SC_HANDLE handle) : handle_(handle) {}
  ServiceHandle(const ServiceHandle&) = delete;
  ServiceHandle& operator=(const ServiceHandle&) = delete;
  ~ServiceHandle() {
    if (handle_ != nullptr) CloseServiceHandle(handle_);
  }
  SC_HANDLE Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  SC_HANDLE handle_;
};

// Full path of `module` (null: the process's executable), at most MAX_PATH characters.
std::string ModulePath(HMODULE module) {
  char path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameA(module, path, MAX_PATH);
  return std::string(path, length < MAX_PATH ? length : MAX_PATH);
}

const char* NullWhenEmpty(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }

}  // namespace

InstallResult InstallService(const InstallRequest& request, EventLogWriter& log) {
  ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) return {InstallOutcome::kManagerUnavailable};

  const std::string imagePath = ServiceImagePath(ModulePath(nullptr));
  const DWORD serviceType = SERVICE_WIN32_OWN_PROCESS | (request.interactive ? SERVICE_INTERACTIVE_PROCESS : 0);
  ServiceHandle created(CreateServiceA(manager.Get(), request.serviceName.c_str(),
                                       request.displayName ? request.displayName->c_str() : nullptr,
                                       SERVICE_ALL_ACCESS, serviceType, request.startType, SERVICE_ERROR_NORMAL,
                                       imagePath.c_str(), nullptr, nullptr, nullptr,
                                       NullWhenEmpty(request.account), NullWhenEmpty(request.password)));
  if (!created) return {InstallOutcome::kCreateFailed, GetLastError()};

  const std::string messageFile = ModulePath(module::Instance());
  RegistryKey source;
  if (RegCreateKeyA(HKEY_LOCAL_MACHINE, EventSourceKeyPath(request.serviceName).c_str(), source.Receive()) !=
      ERROR_SUCCESS) {
    return {InstallOutcome::kEventSourceFailed};
  }
  RegSetValueExA(source.Get(), "EventMessageFile", 0, REG_EXPAND_SZ,
                 reinterpret_cast<const BYTE*>(messageFile.c_str()), static_cast<DWORD>(messageFile.size() + 1));
  const DWORD typesSupported = EVENTLOG_ERROR_TYPE | EVENTLOG_WARNING_TYPE | EVENTLOG_INFORMATION_TYPE;
  RegSetValueExA(source.Get(), "TypesSupported", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&typesSupported),
                 sizeof typesSupported);
  source.Reset();

  log.Write(request.serviceName, EVENTLOG_INFORMATION_TYPE, kMessageInstalled,
            request.displayName ? request.displayName->c_str() : nullptr);
  return {InstallOutcome::kInstalled};
}

UninstallOutcome UninstallService(const std::string& serviceName, EventLogWriter& log) {
  const char* name = serviceName.c_str();
  ServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
  if (!manager) {
    log.Write(serviceName, EVENTLOG_ERROR_TYPE, kMessageNotRemoved, name);
    return UninstallOutcome::kManagerUnavailable;
  }
  ServiceHandle service(OpenServiceA(manager.Get(), name, DELETE));
  if (!service || !DeleteService(service.Get())) {
    log.Write(serviceName, EVENTLOG_ERROR_TYPE, kMessageNotRemoved, name);
    return UninstallOutcome::kNotRemoved;
  }
  log.Write(serviceName, EVENTLOG_INFORMATION_TYPE, kMessageRemoved, name);
  return UninstallOutcome::kRemoved;
}

}  // namespace quarent::service
