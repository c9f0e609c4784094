#include "service_runtime.h"

#include <algorithm>

#include "common/error_info.h"
#include "service_entry_points.h"

namespace quarent::service {

ServiceRuntime::ServiceRuntime(RuntimeEvents& events, EventLogWriter& log) : events_(events), log_(log) {}

void ServiceRuntime::Shutdown() {
  if (running_) Stop();
  // A run that never became Running may still have its threads.
  if (dispatcherThread_.Valid()) JoinServiceThreads();
  stopEvent_.Reset();
  CloseWindow();
}

ServiceRuntime::StartOutcome ServiceRuntime::Start(const RunSettings& settings, bool runMessageLoop) {
  if (Started()) return StartOutcome::kAlreadyStarted;

  runName_ = settings.serviceName;
  debug_ = settings.debug;
  reportedControls_ = ReportedControls(settings.controlsAccepted);
  status_.Set(kStateStopped);
  statusHandle_.store(nullptr);
  CloseWindow();
  quitLoop_ = false;

  window_ = MessageWindow::Create(*this);
  if (!window_) return StartOutcome::kOutOfMemory;
  windowHandle_.store(window_->Handle());

  if (debug_) {
    PostMessageA(window_->Handle(), kStartRequestMessage, 0, 0);
  } else {
    // The stop event exists before the service main function, so a stop that
    // comes early can always release it.
    stopEvent_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (stopEvent_.Valid()) dispatcherThread_.Reset(CreateThread(nullptr, 0, &DispatcherThreadRoutine, nullptr, 0, nullptr));
    if (!dispatcherThread_.Valid()) {
      stopEvent_.Reset();
      CloseWindow();
      return StartOutcome::kOutOfMemory;
    }
  }
  if (runMessageLoop) RunMessageLoop();
  return StartOutcome::kStarted;
}

void ServiceRuntime::RunMessageLoop() {
  MSG message;
  while (!quitLoop_) {
    const BOOL got = GetMessageA(&message, nullptr, 0, 0);
    if (got == 0 || got == -1) break;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
}

void ServiceRuntime::Stop() {
  // A Stop handler that calls StopService again must not raise Stop again.
  if (!running_ || stopping_) return;
  stopping_ = true;
  events_.RaiseStop();
  running_ = false;
  EndRun(true);
  stopping_ = false;
}

void ServiceRuntime::JoinServiceThreads() {
  if (stopEvent_.Valid()) SetEvent(stopEvent_.Get());
  if (dispatcherThread_.Valid()) {
    WaitForSingleObject(dispatcherThread_.Get(), INFINITE);
    dispatcherThread_.Reset();
  }
}

void ServiceRuntime::EndRun(bool stoppedMessage) {
  JoinServiceThreads();
  stopEvent_.Reset();
  statusHandle_.store(nullptr);
  if (stoppedMessage) WriteMessage(EVENTLOG_INFORMATION_TYPE, kMessageStopped);
  CloseWindow();
  if (debug_) {
    // No service main function runs in Debug to set the stopped state.
    status_.Set(kStateStopped);
    quitLoop_ = true;
  } else {
    PostQuitMessage(0);
  }
}

void ServiceRuntime::CloseWindow() {
  if (!window_) return;
  for (LONG id : timers_) KillTimer(window_->Handle(), static_cast<UINT_PTR>(id));
  timers_.clear();
  windowHandle_.store(nullptr);
  window_.reset();
}

HRESULT ServiceRuntime::StartTimer(LONG id, LONG elapseMs) {
  if (!window_) return S_OK;
  SetLastError(0);
  if (SetTimer(window_->Handle(), static_cast<UINT_PTR>(id), static_cast<UINT>(elapseMs), nullptr) == 0) {
    return StatusFromPlatformError(GetLastError());
  }
  if (std::find(timers_.begin(), timers_.end(), id) == timers_.end()) timers_.push_back(id);
  return S_OK;
}

void ServiceRuntime::StopTimer(LONG id) {
  if (!window_) return;
  const auto found = std::find(timers_.begin(), timers_.end(), id);
  if (found != timers_.end()) timers_.erase(found);
  KillTimer(window_->Handle(), static_cast<UINT_PTR>(id));
}

void ServiceRuntime::WriteMessage(WORD type, DWORD id) {
  if (!debug_) log_.Write(runName_, type, id, nullptr);
}

void ServiceRuntime::ReportStatus() {
  const SERVICE_STATUS_HANDLE handle = statusHandle_.load();
  if (handle == nullptr) return;
  SERVICE_STATUS status = {};
  status.dwServiceType = SERVICE_WIN32_OWN_PROCESS;
  status.dwCurrentState = status_.Current();
  status.dwControlsAccepted = reportedControls_;
  SetServiceStatus(handle, &status);
}

void ServiceRuntime::StartAnswered(bool accepted) {
  running_ = accepted;
  WriteMessage(EVENTLOG_INFORMATION_TYPE, accepted ? kMessageStarted : kMessageInitializationFailed);
}

void ServiceRuntime::OnStartRequest() { HandleStartRequest(status_, *this); }

void ServiceRuntime::OnControlRequest(DWORD code) { HandleControlRequest(status_, *this, code); }

void ServiceRuntime::OnTimer(UINT_PTR id) {
  // User timers are 1 to 0x7FFFFFFF; anything else on the window is not theirs.
  if (id >= 1 && id <= 0x7FFFFFFF) events_.RaiseTimer(static_cast<LONG>(id));
}

void ServiceRuntime::OnDispatcherEnded(DWORD) {
  // Outside the service control manager no start ever comes: the thread and
  // window go, and StartService's own loop ends; the client's loop goes on.
  if (running_) return;
  JoinServiceThreads();
  stopEvent_.Reset();
  CloseWindow();
  quitLoop_ = true;
}

DWORD ServiceRuntime::RunDispatcher() {
  SERVICE_TABLE_ENTRYA table[] = {{runName_.data(), &ServiceMainFunction}, {nullptr, nullptr}};
  const BOOL connected = StartServiceCtrlDispatcherA(table);
  if (!connected) PostMessageA(windowHandle_.load(), kDispatcherEndedMessage, GetLastError(), 0);
  return static_cast<DWORD>(connected);
}

void ServiceRuntime::RunServiceMain() {
  const SERVICE_STATUS_HANDLE handle = RegisterServiceCtrlHandlerA(runName_.c_str(), &ControlHandlerFunction);
  statusHandle_.store(handle);
  EnterStartPending(status_, *this);
  if (handle == nullptr) {
    log_.Write(runName_, EVENTLOG_ERROR_TYPE, kMessageHandlerNotInstalled, nullptr);
    return;
  }
  PostMessageA(windowHandle_.load(), kStartRequestMessage, 0, 0);
  WaitForSingleObject(stopEvent_.Get(), INFINITE);
  EnterStopped(status_, *this);
}

void ServiceRuntime::HandleControl(DWORD code) {
  HandleControlReceived(status_, *this, code);
  PostMessageA(windowHandle_.load(), kControlRequestMessage, code, 0);
}

}  // namespace quarent::service
