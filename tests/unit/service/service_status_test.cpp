// The states a service run reports, situation by situation, against the
// reported-status table of the service runtime (written out here by hand).
#include "service_status.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace quarent::service {
namespace {

using States = std::vector<uint32_t>;

// Stands in for the Windows shell: records every report with the state in
// force, answers the events as told, and treats StopService and winding up as
// the shell does (the service main function then reports stopped).
class FakeRun : public RunActions {
 public:
  explicit FakeRun(StatusModel& model) : model_(model) {}

  void ReportStatus() override { reports.push_back(model_.Current()); }
  bool RaiseStart() override { return Raise("Start", startAnswer); }
  bool RaisePause() override { return Raise("Pause", pauseAnswer); }
  bool RaiseContinue() override { return Raise("Continue", continueAnswer); }
  void RaiseControl(uint32_t code) override { Raise("Control(" + std::to_string(code) + ")", false); }
  void StartAnswered(bool accepted) override { running = accepted; }
  void StopService() override {
    if (!running) return;
    Raise("Stop", false);
    running = false;
    ended = true;
    EnterStopped(model_, *this);
  }
  void WindUp() override {
    events.push_back("WindUp");
    ended = true;
    EnterStopped(model_, *this);
  }
  bool Running() override { return running; }
  bool RunEnded() override { return ended; }

  // Brings the run to Running as the manager and an accepting client would.
  void StartAccepted() {
    EnterStartPending(model_, *this);
    HandleStartRequest(model_, *this);
    reports.clear();
    events.clear();
  }

  bool startAnswer = true;
  bool pauseAnswer = true;
  bool continueAnswer = true;
  bool running = false;
  bool ended = false;
  std::string stopDuring;  // the event whose handler calls StopService
  std::function<void()> duringStart;  // what the Start handler does before it answers
  States reports;
  std::vector<std::string> events;

 private:
  bool Raise(const std::string& name, bool answer) {
    events.push_back(name);
    if (name == stopDuring) StopService();
    if (name == "Start" && duringStart) duringStart();
    return answer;
  }

  StatusModel& model_;
};

// A control from the manager: the handler's part, then the client's.
void Control(StatusModel& model, FakeRun& run, uint32_t code) {
  HandleControlReceived(model, run, code);
  HandleControlRequest(model, run, code);
}

TEST(StatusSequenceTest, TableRowsWithTheStateBeforeFilledIn) {
  struct Case {
    Situation situation;
    uint32_t stateBefore;
    States expected;
  };
  const Case cases[] = {
      {Situation::kStartAccepted, kStateStopped, {2, 4}},
      {Situation::kStartRefused, kStateStopped, {2, 1}},
      {Situation::kStopByManager, kStateRunning, {3, 3, 1}},
      {Situation::kStopByClient, kStateRunning, {1}},
      {Situation::kPauseAccepted, kStateRunning, {6, 6, 7}},
      {Situation::kPauseRefused, kStateRunning, {6, 6, 4}},
      {Situation::kContinueAccepted, kStatePaused, {7, 7, 4}},
      {Situation::kInterrogate, kStatePaused, {7, 7}},
      {Situation::kShutdown, kStateRunning, {4, 4}},
      {Situation::kUserControl, kStateRunning, {4, 4, 4}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(static_cast<int>(row.situation));
    EXPECT_EQ(ExpectedReports(row.situation, row.stateBefore), row.expected);
  }
}

TEST(StatusSequenceTest, StartAcceptedAndRefused) {
  for (bool accepted : {true, false}) {
    SCOPED_TRACE(accepted ? "accepted" : "refused");
    StatusModel model;
    model.Set(kStateStopped);  // StartService
    FakeRun run(model);
    run.startAnswer = accepted;
    EnterStartPending(model, run);
    HandleStartRequest(model, run);
    // The refused start winds the run up; the service main function then has
    // nothing more to report.
    EXPECT_EQ(run.reports, accepted ? States({2, 4}) : States({2, 1}));
    EXPECT_EQ(run.running, accepted);
    EXPECT_EQ(model.Current(), accepted ? kStateRunning : kStateStopped);
    const std::vector<std::string> expectedEvents =
        accepted ? std::vector<std::string>{"Start"} : std::vector<std::string>{"Start", "WindUp"};
    EXPECT_EQ(run.events, expectedEvents);
  }
}

TEST(StatusSequenceTest, ControlsWhileRunning) {
  struct Case {
    const char* note;
    uint32_t code;
    bool answer;
    States reports;
    std::vector<std::string> events;
    uint32_t stateAfter;
  };
  const Case cases[] = {
      {"stop from the manager", kControlStop, true, {3, 3, 1}, {"Stop"}, kStateStopped},
      {"pause accepted", kControlPause, true, {6, 6, 7}, {"Pause"}, kStatePaused},
      {"pause refused returns to running", kControlPause, false, {6, 6, 4}, {"Pause"}, kStateRunning},
      {"interrogate", kControlInterrogate, true, {4, 4}, {}, kStateRunning},
      {"shutdown raises nothing", kControlShutdown, true, {4, 4}, {}, kStateRunning},
      {"user control 200", 200, true, {4, 4, 4}, {"Control(200)"}, kStateRunning},
      {"user control 128", 128, true, {4, 4, 4}, {"Control(128)"}, kStateRunning},
      {"other platform control (parameter change, 6)", 6, true, {4, 4, 4}, {"Control(6)"}, kStateRunning},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    StatusModel model;
    FakeRun run(model);
    run.StartAccepted();
    run.pauseAnswer = row.answer;
    Control(model, run, row.code);
    EXPECT_EQ(run.reports, row.reports);
    EXPECT_EQ(run.events, row.events);
    EXPECT_EQ(model.Current(), row.stateAfter);
  }
}

TEST(StatusSequenceTest, ControlsWhilePaused) {
  struct Case {
    const char* note;
    uint32_t code;
    bool answer;
    States reports;
    uint32_t stateAfter;
  };
  const Case cases[] = {
      {"continue accepted", kControlContinue, true, {7, 7, 4}, kStateRunning},
      {"continue refused stays paused, nothing more reported", kControlContinue, false, {7, 7}, kStatePaused},
      {"interrogate", kControlInterrogate, true, {7, 7}, kStatePaused},
      {"stop from paused", kControlStop, true, {3, 3, 1}, kStateStopped},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    StatusModel model;
    FakeRun run(model);
    run.StartAccepted();
    Control(model, run, kControlPause);
    run.reports.clear();
    run.continueAnswer = row.answer;
    Control(model, run, row.code);
    EXPECT_EQ(run.reports, row.reports);
    EXPECT_EQ(model.Current(), row.stateAfter);
  }
}

TEST(StatusSequenceTest, StopServiceByTheClientReportsOnlyStopped) {
  StatusModel model;
  FakeRun run(model);
  run.StartAccepted();
  run.StopService();
  EXPECT_EQ(run.reports, States({1}));
  EXPECT_EQ(run.events, std::vector<std::string>{"Stop"});
}

TEST(StatusSequenceTest, StopBeforeTheStartIsAnsweredEndsTheRun) {
  StatusModel model;
  model.Set(kStateStopped);
  FakeRun run(model);
  EnterStartPending(model, run);
  // The manager's stop overtakes the start request on the client's thread.
  Control(model, run, kControlStop);
  EXPECT_EQ(run.reports, States({2, 3, 3, 1}));
  EXPECT_EQ(run.events, std::vector<std::string>{"WindUp"});
  EXPECT_FALSE(run.running);
}

TEST(StatusSequenceTest, HandlerThatStopsTheServiceLeavesItStopped) {
  struct Case {
    const char* note;
    uint32_t code;
    bool fromPaused;
    bool answer;
    States reports;  // after the run was started (and paused)
  };
  const Case cases[] = {
      {"pause accepted", kControlPause, false, true, {6, 6, 1}},
      {"pause refused", kControlPause, false, false, {6, 6, 1}},
      {"continue accepted", kControlContinue, true, true, {7, 7, 1}},
      {"continue refused", kControlContinue, true, false, {7, 7, 1}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    StatusModel model;
    FakeRun run(model);
    run.StartAccepted();
    if (row.fromPaused) Control(model, run, kControlPause);
    run.reports.clear();
    run.events.clear();
    run.pauseAnswer = row.answer;
    run.continueAnswer = row.answer;
    run.stopDuring = row.code == kControlPause ? "Pause" : "Continue";
    Control(model, run, row.code);
    EXPECT_EQ(run.reports, row.reports);
    EXPECT_EQ(model.Current(), kStateStopped);
    EXPECT_FALSE(run.running);
  }
}

TEST(StatusSequenceTest, StopLetThroughByTheStartHandlerKeepsTheRunEnded) {
  for (bool accepted : {true, false}) {
    SCOPED_TRACE(accepted ? "then accepted" : "then refused");
    StatusModel model;
    model.Set(kStateStopped);
    FakeRun run(model);
    run.startAnswer = accepted;
    // The handler dispatches messages, and the manager's stop is among them.
    run.duringStart = [&] { Control(model, run, kControlStop); };
    EnterStartPending(model, run);
    HandleStartRequest(model, run);
    EXPECT_EQ(run.reports, States({2, 3, 3, 1}));
    EXPECT_EQ(run.events, (std::vector<std::string>{"Start", "WindUp"}));
    EXPECT_FALSE(run.running);
    EXPECT_EQ(model.Current(), kStateStopped);
  }
}

TEST(StatusSequenceTest, RefusedPauseAfterTwoPauseRequestsReturnsToTheFirstState) {
  StatusModel model;
  FakeRun run(model);
  run.StartAccepted();
  HandleControlReceived(model, run, kControlPause);
  HandleControlReceived(model, run, kControlPause);
  run.pauseAnswer = false;
  HandleControlRequest(model, run, kControlPause);
  EXPECT_EQ(model.Current(), kStateRunning);
}

TEST(ControlTest, ActionsAndReportedControls) {
  struct Case {
    uint32_t code;
    ControlAction action;
  };
  const Case cases[] = {
      {1, ControlAction::kStopService},   {2, ControlAction::kRaisePause},    {3, ControlAction::kRaiseContinue},
      {4, ControlAction::kNothing},       {5, ControlAction::kNothing},       {6, ControlAction::kRaiseControl},
      {128, ControlAction::kRaiseControl}, {255, ControlAction::kRaiseControl}, {0, ControlAction::kRaiseControl},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.code);
    EXPECT_EQ(ActionForControl(row.code), row.action);
  }
  // SERVICE_ACCEPT_STOP (1) is always added to the configured bits.
  EXPECT_EQ(ReportedControls(0), 1u);
  EXPECT_EQ(ReportedControls(2), 3u);
  EXPECT_EQ(ReportedControls(4), 5u);
  EXPECT_EQ(ReportedControls(255), 255u);
}

}  // namespace
}  // namespace quarent::service
