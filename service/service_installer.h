#pragma once
// Adding the client's program to the service control manager's database as a
// service of its own process, with this component as its event message file,
// and removing it again.
#include "service_platform.h"

#include <optional>
#include <string>

#include "event_log_writer.h"

namespace quarent::service {

// Everything Install takes from the object's configuration, in ANSI.
struct InstallRequest {
  std::string serviceName;
  std::optional<std::string> displayName;  // none: DisplayName is null
  std::string account;                     // empty: the local system account
  std::string password;                    // empty: no password
  DWORD startType = SERVICE_DEMAND_START;
  bool interactive = false;
};

enum class InstallOutcome {
  kInstalled,
  kManagerUnavailable,  // the service control manager could not be opened
  kCreateFailed,        // CreateServiceA failed; see `error`
  kEventSourceFailed,   // the service exists, its event source key could not be made
};

struct InstallResult {
  InstallOutcome outcome;
  DWORD error = 0;  // GetLastError of a failed CreateServiceA
};

// Creates the service for the calling process's executable and registers its
// event source; writes message 100 through `log` when both were done.
InstallResult InstallService(const InstallRequest& request, EventLogWriter& log);

enum class UninstallOutcome {
  kRemoved,
  kManagerUnavailable,
  kNotRemoved,  // the service could not be opened or deleted
};

// Deletes service `serviceName`; writes message 101, or 102 on any failure.
UninstallOutcome UninstallService(const std::string& serviceName, EventLogWriter& log);

}  // namespace quarent::service
