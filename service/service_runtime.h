#pragma once
// One service run of the object: the dispatcher thread that connects the
// process to the service control manager, the service main function and the
// control handler on the manager's threads, the hidden window through which
// they reach the client's thread, the status reported to the manager, the
// optional message loop and the user timers. Debug runs the same sequence
// without the manager.
#include "service_platform.h"

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "common/win_handles.h"
#include "event_log_writer.h"
#include "message_window.h"
#include "service_status.h"

namespace quarent::service {

// The events of a run, raised on the client's thread by the object.
class RuntimeEvents {
 public:
  virtual ~RuntimeEvents() = default;
  // Raise the event with Success false by reference; true when it ends non-zero.
  virtual bool RaiseStart() = 0;
  virtual bool RaisePause() = 0;
  virtual bool RaiseContinue() = 0;
  virtual void RaiseStop() = 0;
  virtual void RaiseControl(LONG code) = 0;
  virtual void RaiseTimer(LONG id) = 0;
};

// The configuration a run takes when it starts; fixed until it ends.
struct RunSettings {
  std::string serviceName;  // ANSI
  LONG controlsAccepted = 1;
  bool debug = false;
};

class ServiceRuntime : private MessageWindowHandler, private RunActions {
 public:
  ServiceRuntime(RuntimeEvents& events, EventLogWriter& log);
  ~ServiceRuntime() override { Shutdown(); }
  ServiceRuntime(const ServiceRuntime&) = delete;
  ServiceRuntime& operator=(const ServiceRuntime&) = delete;

  // Ends a run that is still going (StopService when Running, raising Stop),
  // waits for its threads and closes the window. The owner calls it while its
  // events can still be raised.
  void Shutdown();

  enum class StartOutcome { kStarted, kAlreadyStarted, kOutOfMemory };
  // StartService: makes the window and, unless Debug, the dispatcher thread;
  // with `runMessageLoop` returns only when the run has ended.
  StartOutcome Start(const RunSettings& settings, bool runMessageLoop);
  // StopService: raises Stop and ends the run; nothing when not Running.
  void Stop();
  // Sets user timer `id` (1 to 0x7FFFFFFF) on the window; S_OK without a window.
  HRESULT StartTimer(LONG id, LONG elapseMs);
  // Removes user timer `id`; nothing without a window.
  void StopTimer(LONG id);

  bool Running() override { return running_; }
  bool RunEnded() override { return !window_; }
  // The current state (0 before the first start).
  DWORD CurrentState() const { return status_.Current(); }
  // True while Running or while the dispatcher thread exists.
  bool Started() const { return running_ || dispatcherThread_.Valid(); }

  // The service entry points of the process work on this run (null: none).
  static void SetCurrent(ServiceRuntime* runtime);
  static ServiceRuntime* Current();

  // Dispatcher thread: connects to the manager; returns when the service has
  // stopped, or at once outside the manager.
  DWORD RunDispatcher();
  // Service main function (a thread of the manager's dispatcher).
  void RunServiceMain();
  // Control handler (dispatcher thread).
  void HandleControl(DWORD code);

 private:
  // MessageWindowHandler, on the client's thread.
  void OnStartRequest() override;
  void OnControlRequest(DWORD code) override;
  void OnTimer(UINT_PTR id) override;
  void OnDispatcherEnded(DWORD error) override;

  // RunActions.
  void ReportStatus() override;
  bool RaiseStart() override { return events_.RaiseStart(); }
  bool RaisePause() override { return events_.RaisePause(); }
  bool RaiseContinue() override { return events_.RaiseContinue(); }
  void RaiseControl(uint32_t code) override { events_.RaiseControl(static_cast<LONG>(code)); }
  void StartAnswered(bool accepted) override;
  void StopService() override { Stop(); }
  void WindUp() override { EndRun(false); }

  // StopService steps after Stop: release the service main, wait for the
  // dispatcher thread, close the stop event, write message 107 when
  // `stoppedMessage` (and not Debug), close the window and end the loop.
  void EndRun(bool stoppedMessage);
  // Releases the service threads and waits for the dispatcher thread to end.
  void JoinServiceThreads();
  // Kills the user timers and destroys the window.
  void CloseWindow();
  void RunMessageLoop();
  void WriteMessage(WORD type, DWORD id);

  RuntimeEvents& events_;
  EventLogWriter& log_;

  // Shared with the service threads; set before they start.
  std::string runName_;
  bool debug_ = false;
  DWORD reportedControls_ = kAcceptStop;
  StatusModel status_;
  std::atomic<SERVICE_STATUS_HANDLE> statusHandle_{nullptr};
  std::atomic<HWND> windowHandle_{nullptr};
  UniqueHandle stopEvent_;

  // The client's thread only.
  UniqueHandle dispatcherThread_;
  std::unique_ptr<MessageWindow> window_;
  std::vector<LONG> timers_;
  bool running_ = false;
  bool stopping_ = false;
  bool quitLoop_ = false;
};

}  // namespace quarent::service
