// Logging calls and Refresh dispatch pending messages: a client's window
// procedures, menu commands and Click sinks run in their middle and may call
// the object back. The store and the list must stay consistent, and a quit
// message must reach the client's own loop.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "event_recorder.h"
#include "log_fixture.h"

namespace logtest {
namespace {

using Texts = std::vector<std::string>;

class ReentrancyTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    OpenWindow();
  }
  // Logs m0 to m4, nothing being posted meanwhile.
  void LogFive() {
    for (int index = 0; index < 5; ++index) Log(("m" + std::to_string(index)).c_str());
  }
  Texts Listed() { return MessageColumn(list_); }
  Texts AfterRefresh() {
    Command(window_, kRefresh);
    return Listed();
  }

  ClientWindow client_;
};

TEST_F(ReentrancyTest, QuitMessageReachesTheClientsLoopAfterALoggingCall) {
  PostQuitMessage(42);
  client_.Post([&] { Log("dispatched meanwhile"); });
  Log("logged");
  EXPECT_EQ(Listed(), (Texts{"logged", "dispatched meanwhile"}));
  WPARAM exitCode = 0;
  ASSERT_TRUE(TakeQuitMessage(&exitCode));
  EXPECT_EQ(exitCode, 42u);
}

TEST_F(ReentrancyTest, QuitMessageReachesTheClientsLoopAfterRefresh) {
  LogFive();
  PostQuitMessage(7);
  EXPECT_EQ(AfterRefresh(), (Texts{"m0", "m1", "m2", "m3", "m4"}));
  WPARAM exitCode = 0;
  ASSERT_TRUE(TakeQuitMessage(&exitCode));
  EXPECT_EQ(exitCode, 7u);
}

TEST_F(ReentrancyTest, CallsDuringALoggingCall) {
  client_.Post([&] { Log("inner"); });
  Log("outer");
  EXPECT_EQ(Listed(), (Texts{"outer", "inner"}));

  client_.Post([&] { log_->ClearLogWindow(); });
  Log("cleared at once");
  EXPECT_TRUE(Listed().empty());
  EXPECT_TRUE(AfterRefresh().empty());

  client_.Post([&] { Command(window_, kRefresh); });
  Log("refreshed under");
  EXPECT_EQ(Listed(), (Texts{"refreshed under"}));
}

struct RefreshCase {
  const char* note;
  // What a client does from the first message Refresh dispatches.
  void (*action)(ILog* log, HWND window);
  Texts listed;
  // What a second Refresh shows: the store under the filters of then.
  Texts listedAgain;
};

TEST_F(ReentrancyTest, CallsDuringRefreshLeaveTheListAsTheStoreSays) {
  const RefreshCase cases[] = {
      {"a message logged meanwhile is shown once, in store order",
       [](ILog* log, HWND) { log->LogMessage(Text("late"), 0); },
       {"m0", "m1", "m2", "m3", "m4", "late"},
       {"m0", "m1", "m2", "m3", "m4", "late"}},
      {"a Clear and two new messages",
       [](ILog* log, HWND) {
         log->ClearLogWindow();
         log->LogMessage(Text("a1"), 0);
         log->LogMessage(Text("a2"), 0);
       },
       {"a1", "a2"},
       {"a1", "a2"}},
      {"a Refresh within the Refresh", [](ILog*, HWND window) { Command(window, kRefresh); },
       {"m0", "m1", "m2", "m3", "m4"},
       {"m0", "m1", "m2", "m3", "m4"}},
      {"a category turned off", [](ILog* log, HWND) { log->CategoryEnable(nullptr, 0); }, {"m0"}, {}},
  };
  for (const RefreshCase& row : cases) {
    SCOPED_TRACE(row.note);
    log_->ClearLogWindow();
    log_->CategoryEnable(nullptr, 1);
    LogFive();
    ILog* log = log_;
    HWND window = window_;
    client_.Post([=] { row.action(log, window); });
    EXPECT_EQ(AfterRefresh(), row.listed);
    EXPECT_EQ(AfterRefresh(), row.listedAgain);
  }
}

struct BurstCase {
  const char* note;
  // What a client does from a message dispatched in the middle of a burst.
  void (*action)(ILog* log, HWND window);
  // Rows listed once the burst is over.
  int rows;
};

TEST_F(ReentrancyTest, NewestRowIsInViewAfterABurstHoweverItEnds) {
  // Sixty messages, the action dispatched by the logging call of message 30.
  const BurstCase cases[] = {
      {"nothing", [](ILog*, HWND) {}, 60},
      {"a Clear leaves the rows of messages 31 to 59", [](ILog* log, HWND) { log->ClearLogWindow(); }, 29},
      {"a Refresh", [](ILog*, HWND window) { Command(window, kRefresh); }, 60},
      {"the window hidden", [](ILog* log, HWND) { log->LogShowWindow(brnHide); }, 60},
      {"the window hidden and shown again",
       [](ILog* log, HWND) {
         log->LogShowWindow(brnHide);
         log->LogShowWindow(brnNormal);
       },
       60},
      {"the window closed and opened again: it lists messages 31 to 59",
       [](ILog* log, HWND) {
         log->RemoveLogWindow();
         short number = 0;
         log->CreateLogWindow(&number);
       },
       29},
  };
  for (const BurstCase& row : cases) {
    SCOPED_TRACE(row.note);
    log_->ClearLogWindow();
    log_->LogShowWindow(brnNormal);
    for (int index = 0; index < 60; ++index) {
      if (index == 30) {
        ILog* log = log_;
        HWND window = window_;
        client_.Post([=] { row.action(log, window); });
      }
      Log(("burst " + std::to_string(index)).c_str());
    }
    const std::vector<HWND> windows = LogWindowsOfThread(false);
    ASSERT_EQ(windows.size(), 1u);
    window_ = windows.front();
    list_ = ListViewOf(window_);
    EXPECT_EQ(Listed().size(), static_cast<size_t>(row.rows));
    // Within a repaint period: longer than usual on a loaded machine.
    EXPECT_TRUE(WaitUntilShowsLastRow(list_));
  }
  // After a quiet spell a message is in view when its logging call returns.
  log_->LogShowWindow(brnNormal);
  PumpMessagesFor(1500);
  Log("after a quiet spell");
  EXPECT_TRUE(ShowsLastRow(list_));
}

TEST_F(ReentrancyTest, WindowRemovedDuringALoggingCallOrRefresh) {
  client_.Post([&] { log_->RemoveLogWindow(); });
  Log("kept in the store");
  short isWindow = -1;
  log_->IsLogWindow(&isWindow);
  EXPECT_EQ(isWindow, 0);

  OpenWindow();
  client_.Post([&] {
    log_->RemoveLogWindow();
    short number = 0;
    log_->CreateLogWindow(&number);
  });
  Command(window_, kRefresh);
  PumpMessages();
  HWND fresh = FindLogWindow();
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh, window_);
  EXPECT_TRUE(MessageColumn(ListViewOf(fresh)).empty());
  window_ = fresh;
  list_ = ListViewOf(fresh);
  EXPECT_EQ(AfterRefresh(), (Texts{"kept in the store"}));
}

TEST_F(ReentrancyTest, ObjectReleasedFromADispatchedMessage) {
  client_.Post([&] {
    log_->Release();
    log_ = nullptr;
  });
  ILog* log = log_;
  EXPECT_EQ(log->LogMessage(Text("last words"), 0), S_OK);
  EXPECT_EQ(log_, nullptr);
  PumpMessages();
  EXPECT_FALSE(IsWindow(window_));
}

TEST_F(ReentrancyTest, ClickSinksMayCallBackRemoveTheWindowOrReleaseTheObject) {
  Log("click me");
  auto* sink = new test::EventRecorder(DIID__ILogEvents);
  test::Connection connection(log_, DIID__ILogEvents, sink);
  ASSERT_EQ(connection.Status(), S_OK);

  sink->hook = [&](DISPID, DISPPARAMS*) {
    Log("from the sink");
    Command(window_, kRefresh);
  };
  ClickRow(list_, false);
  EXPECT_EQ(Listed(), (Texts{"click me", "from the sink"}));

  sink->hook = [&](DISPID, DISPPARAMS*) { log_->RemoveLogWindow(); };
  ClickRow(list_, false);
  short isWindow = -1;
  log_->IsLogWindow(&isWindow);
  EXPECT_EQ(isWindow, 0);
  PumpMessages();
  EXPECT_FALSE(IsWindow(window_));

  OpenWindow();
  Log("click again");
  sink->hook = [&](DISPID, DISPPARAMS*) {
    connection.Disconnect();
    log_->Release();
    log_ = nullptr;
  };
  ClickRow(list_, false);
  EXPECT_EQ(log_, nullptr);
  PumpMessages();
  EXPECT_FALSE(IsWindow(window_));
  EXPECT_EQ(sink->Summary(), "-600(1) -600(1) -600(1)");
  sink->Release();
}

}  // namespace
}  // namespace logtest
