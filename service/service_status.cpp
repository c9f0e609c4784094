#include "service_status.h"

namespace quarent::service {

std::vector<uint32_t> ExpectedReports(Situation situation, uint32_t stateBefore) {
  std::vector<uint32_t> states;
  for (const StatusSequence& row : kStatusSequences) {
    if (row.situation != situation) continue;
    for (size_t index = 0; index < row.length; ++index) {
      states.push_back(row.states[index] == kCurrentState ? stateBefore : row.states[index]);
    }
  }
  return states;
}

ControlAction ActionForControl(uint32_t code) {
  switch (code) {
    case kControlStop:
      return ControlAction::kStopService;
    case kControlPause:
      return ControlAction::kRaisePause;
    case kControlContinue:
      return ControlAction::kRaiseContinue;
    case kControlInterrogate:
    case kControlShutdown:
      return ControlAction::kNothing;
    default:
      return ControlAction::kRaiseControl;
  }
}

void StatusModel::OnControlReceived(uint32_t code) {
  if (code == kControlStop) {
    current_.store(kStateStopPending);
  } else if (code == kControlPause) {
    const uint32_t before = current_.exchange(kStatePausePending);
    // A second pause before the first is answered keeps the first one's state.
    if (before != kStatePausePending) beforePause_.store(before);
  }
}

void EnterStartPending(StatusModel& model, RunActions& actions) {
  model.Set(kStateStartPending);
  actions.ReportStatus();
}

void EnterStopped(StatusModel& model, RunActions& actions) {
  if (model.Current() == kStateStopped) return;
  model.Set(kStateStopped);
  actions.ReportStatus();
}

void HandleStartRequest(StatusModel& model, RunActions& actions) {
  const bool accepted = actions.RaiseStart();
  // A handler that dispatches messages may let the manager's stop through
  // before it answers; that stop has wound the run up already.
  if (actions.RunEnded()) return;
  model.Set(accepted ? kStateRunning : kStateStopped);
  actions.StartAnswered(accepted);
  actions.ReportStatus();
  if (!accepted) actions.WindUp();
}

void HandleControlReceived(StatusModel& model, RunActions& actions, uint32_t code) {
  model.OnControlReceived(code);
  actions.ReportStatus();
}

void HandleControlRequest(StatusModel& model, RunActions& actions, uint32_t code) {
  actions.ReportStatus();
  switch (ActionForControl(code)) {
    case ControlAction::kStopService:
      // A stop that overtakes the start answer (Running still false) ends the
      // run all the same, so the manager is not left at stop pending.
      if (actions.Running()) {
        actions.StopService();
      } else {
        actions.WindUp();
      }
      break;
    case ControlAction::kRaisePause: {
      const bool wasRunning = actions.Running();
      const bool accepted = actions.RaisePause();
      // A handler that called StopService has ended the run: it stays stopped.
      if (wasRunning && !actions.Running()) break;
      model.Set(accepted ? kStatePaused : model.StateBeforePause());
      actions.ReportStatus();
      break;
    }
    case ControlAction::kRaiseContinue: {
      const bool wasRunning = actions.Running();
      const bool accepted = actions.RaiseContinue();
      if (wasRunning && !actions.Running()) break;
      if (accepted) {
        model.Set(kStateRunning);
        actions.ReportStatus();
      }
      break;
    }
    case ControlAction::kNothing:
      break;
    case ControlAction::kRaiseControl:
      actions.RaiseControl(code);
      actions.ReportStatus();
      break;
  }
}

}  // namespace quarent::service
