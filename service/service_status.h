#pragma once
// The status a service run reports to the service control manager: its
// states, the control codes it answers, the order of the reports for every
// situation (as a table), and the steps that produce them. Portable: the
// platform's reporting, events and stopping come in through RunActions.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace quarent::service {

// The platform's SERVICE_* current-state values; 0 before the first start.
enum ServiceState : uint32_t {
  kStateNone = 0,
  kStateStopped = 1,
  kStateStartPending = 2,
  kStateStopPending = 3,
  kStateRunning = 4,
  kStateContinuePending = 5,
  kStatePausePending = 6,
  kStatePaused = 7,
};

// The platform's SERVICE_CONTROL_* codes the run treats specially.
enum ControlCode : uint32_t {
  kControlStop = 1,
  kControlPause = 2,
  kControlContinue = 3,
  kControlInterrogate = 4,
  kControlShutdown = 5,
};

// SERVICE_ACCEPT_STOP: always reported as accepted.
inline constexpr uint32_t kAcceptStop = 1;

// The controls-accepted bits reported for a configured ControlsAccepted value.
inline uint32_t ReportedControls(int32_t controlsAccepted) {
  return static_cast<uint32_t>(controlsAccepted) | kAcceptStop;
}

// Situations of a run whose reported states the table lists.
enum class Situation {
  kStartAccepted,
  kStartRefused,
  kStopByManager,
  kStopByClient,
  kPauseAccepted,
  kPauseRefused,
  kContinueAccepted,
  kInterrogate,
  kShutdown,
  kUserControl,
};

// Stands for "the state in force" in a sequence.
inline constexpr uint32_t kCurrentState = 0xFFFFFFFFu;

// The states reported, one SetServiceStatus call each, in order.
struct StatusSequence {
  Situation situation;
  size_t length;
  std::array<uint32_t, 3> states;
};

// Every situation's reports, from the control handler (dispatcher thread), the
// client's thread and the service main function. A refused pause reports the
// state that held before the request.
inline constexpr std::array<StatusSequence, 10> kStatusSequences = {{
    {Situation::kStartAccepted, 2, {kStateStartPending, kStateRunning, 0}},
    {Situation::kStartRefused, 2, {kStateStartPending, kStateStopped, 0}},
    {Situation::kStopByManager, 3, {kStateStopPending, kStateStopPending, kStateStopped}},
    {Situation::kStopByClient, 1, {kStateStopped, 0, 0}},
    {Situation::kPauseAccepted, 3, {kStatePausePending, kStatePausePending, kStatePaused}},
    {Situation::kPauseRefused, 3, {kStatePausePending, kStatePausePending, kCurrentState}},
    {Situation::kContinueAccepted, 3, {kStatePaused, kStatePaused, kStateRunning}},
    {Situation::kInterrogate, 2, {kCurrentState, kCurrentState, 0}},
    {Situation::kShutdown, 2, {kCurrentState, kCurrentState, 0}},
    {Situation::kUserControl, 3, {kCurrentState, kCurrentState, kCurrentState}},
}};
static_assert(kStatusSequences.size() == 10, "one row per Situation");

// The row of `situation` with kCurrentState replaced by `stateBefore`, the
// state that held before the situation began.
std::vector<uint32_t> ExpectedReports(Situation situation, uint32_t stateBefore);

// What the client's thread does for a control request.
enum class ControlAction { kStopService, kRaisePause, kRaiseContinue, kNothing, kRaiseControl };
ControlAction ActionForControl(uint32_t code);

// The current state of one run. Written by the service threads and the
// client's thread, each change a single 32-bit store.
class StatusModel {
 public:
  uint32_t Current() const { return current_.load(); }
  void Set(uint32_t state) { current_.store(state); }

  // Control handler, before it reports: stop pending for a stop, pause pending
  // for a pause (remembering the state before it), no change otherwise.
  void OnControlReceived(uint32_t code);
  // The state a refused pause returns to.
  uint32_t StateBeforePause() const { return beforePause_.load(); }

 private:
  std::atomic<uint32_t> current_{kStateNone};
  std::atomic<uint32_t> beforePause_{kStateRunning};
};

// The platform side of a run's steps on the client's thread.
class RunActions {
 public:
  virtual ~RunActions() = default;
  // Reports the whole status record with the current state (when there is a status handle).
  virtual void ReportStatus() = 0;
  // Raise the event with Success false by reference; true when the last sink left it non-zero.
  virtual bool RaiseStart() = 0;
  virtual bool RaisePause() = 0;
  virtual bool RaiseContinue() = 0;
  virtual void RaiseControl(uint32_t code) = 0;
  // Start answered: the Running flag and the event-log message of the answer.
  virtual void StartAnswered(bool accepted) = 0;
  // StopService as the client would call it.
  virtual void StopService() = 0;
  // Ends a run that never became Running (refused start, early stop).
  virtual void WindUp() = 0;
  // True from an accepted start until the run stops.
  virtual bool Running() = 0;
  // True once the run has been wound up or stopped (its window is gone).
  virtual bool RunEnded() = 0;
};

// The service main function's first step: start pending, reported.
void EnterStartPending(StatusModel& model, RunActions& actions);

// The service main function's last step, once released by the stop event:
// stopped, reported unless a refused start has reported it already.
void EnterStopped(StatusModel& model, RunActions& actions);

// The start request (window message 0x421): raises Start and reports the
// answer. A stop that the Start handler let through ends the run first; the
// answer then changes nothing.
void HandleStartRequest(StatusModel& model, RunActions& actions);

// The control handler's part for `code` (dispatcher thread): sets the pending
// state and reports; the caller then posts the control request.
void HandleControlReceived(StatusModel& model, RunActions& actions, uint32_t code);

// The control request (window message 0x422) on the client's thread. A Pause
// or Continue handler that stops the service leaves the state stopped.
void HandleControlRequest(StatusModel& model, RunActions& actions, uint32_t code);

}  // namespace quarent::service
