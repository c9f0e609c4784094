#include "event_log_seam.h"

namespace test {
namespace {

// The hooks are plain functions; they find their seam here.
EventLogSeam* activeSeam = nullptr;

using RegisterFunction = HANDLE(WINAPI*)(LPCSTR, LPCSTR);
using ReportFunction = BOOL(WINAPI*)(HANDLE, WORD, WORD, DWORD, PSID, WORD, DWORD, LPCSTR*, LPVOID);
using DeregisterFunction = BOOL(WINAPI*)(HANDLE);

}  // namespace

EventLogSeam::EventLogSeam(HMODULE dll) {
  activeSeam = this;
  register_ = std::make_unique<ImportHook>(dll, "advapi32.dll", "RegisterEventSourceA",
                                           reinterpret_cast<void*>(&EventLogSeam::RegisterSource));
  report_ = std::make_unique<ImportHook>(dll, "advapi32.dll", "ReportEventA",
                                         reinterpret_cast<void*>(&EventLogSeam::Report));
  deregister_ = std::make_unique<ImportHook>(dll, "advapi32.dll", "DeregisterEventSource",
                                             reinterpret_cast<void*>(&EventLogSeam::Deregister));
}

EventLogSeam::~EventLogSeam() {
  register_.reset();
  report_.reset();
  deregister_.reset();
  activeSeam = nullptr;
}

bool EventLogSeam::Installed() const {
  return register_->Installed() && report_->Installed() && deregister_->Installed();
}

std::vector<LoggedEvent> EventLogSeam::Events() {
  std::lock_guard<std::mutex> hold(mutex_);
  return events_;
}

std::vector<DWORD> EventLogSeam::Ids() {
  std::vector<DWORD> ids;
  for (const LoggedEvent& event : Events()) ids.push_back(event.id);
  return ids;
}

std::vector<std::string> EventLogSeam::OpenedSources() {
  std::lock_guard<std::mutex> hold(mutex_);
  return sources_;
}

int EventLogSeam::CloseCount() {
  std::lock_guard<std::mutex> hold(mutex_);
  return closes_;
}

void EventLogSeam::Clear() {
  std::lock_guard<std::mutex> hold(mutex_);
  events_.clear();
  sources_.clear();
  closes_ = 0;
}

HANDLE WINAPI EventLogSeam::RegisterSource(LPCSTR server, LPCSTR name) {
  EventLogSeam& seam = *activeSeam;
  {
    std::lock_guard<std::mutex> hold(seam.mutex_);
    seam.sources_.push_back(name ? name : "(null)");
  }
  if (seam.refuseSource) {
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  return reinterpret_cast<RegisterFunction>(seam.register_->Original())(server, name);
}

BOOL WINAPI EventLogSeam::Report(HANDLE source, WORD type, WORD category, DWORD id, PSID user, WORD count,
                                 DWORD size, LPCSTR* strings, LPVOID data) {
  EventLogSeam& seam = *activeSeam;
  LoggedEvent event;
  event.type = type;
  event.category = category;
  event.id = id;
  event.userOrRawData = user != nullptr || size != 0 || data != nullptr;
  event.stringCount = count;
  if (count > 0 && strings != nullptr && strings[0] != nullptr) event.text = strings[0];
  event.source = source;
  event.platformResult = reinterpret_cast<ReportFunction>(seam.report_->Original())(source, type, category, id, user,
                                                                                    count, size, strings, data);
  {
    std::lock_guard<std::mutex> hold(seam.mutex_);
    seam.events_.push_back(event);
  }
  if (seam.refuseReport) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return event.platformResult;
}

BOOL WINAPI EventLogSeam::Deregister(HANDLE source) {
  EventLogSeam& seam = *activeSeam;
  {
    std::lock_guard<std::mutex> hold(seam.mutex_);
    ++seam.closes_;
  }
  return reinterpret_cast<DeregisterFunction>(seam.deregister_->Original())(source);
}

}  // namespace test
