// The service run of QUARENT.QRNOrtivo without the service control manager:
// Debug mode with its message loop and timers, the client's side of the
// control requests, and StartService in a process the manager did not start.
#include <windows.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <functional>
#include <mutex>
#include <set>
#include <string>

#include "com_client.h"
#include "event_log_seam.h"
#include "event_recorder.h"
#include "import_hook.h"
#include "ortivo_client.h"

namespace {

using test::ComPtr;
using test::Hex;
using test::Text;

constexpr UINT kControlRequest = 0x422;

// Threads of this process.
int ThreadCount() {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
  }
  CloseHandle(snapshot);
  return count;
}

struct FoundWindows {
  HWND window = nullptr;
  int count = 0;
};

BOOL CALLBACK CollectMessageWindow(HWND window, LPARAM context) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "QRNOrtivoMessageWindow") {
    auto* found = reinterpret_cast<FoundWindows*>(context);
    found->window = window;
    ++found->count;
  }
  return TRUE;
}

// The object's hidden windows on this thread (null when there is none).
HWND MessageWindow(int* count = nullptr) {
  FoundWindows found;
  EnumThreadWindows(GetCurrentThreadId(), &CollectMessageWindow, reinterpret_cast<LPARAM>(&found));
  if (count) *count = found.count;
  return found.window;
}

// Sets the by-reference Success of Start, Pause or Continue.
void Answer(DISPPARAMS* parameters, VARIANT_BOOL value) {
  ASSERT_EQ(parameters->cArgs, 1u);
  ASSERT_EQ(parameters->rgvarg[0].vt, VT_BOOL | VT_BYREF);
  *parameters->rgvarg[0].pboolVal = value;
}

class ServiceRuntimeTest : public test::OrtivoTest {
 protected:
  void SetUp() override {
    OrtivoTest::SetUp();
    if (HasFatalFailure()) return;
    UseServiceName(L"QuarentRuntime");
    if (HasFatalFailure()) return;
    seam = std::make_unique<test::EventLogSeam>(test::ServiceModule());
    sink = new test::EventRecorder(DIID__IOrtivoEvents);
    connection = std::make_unique<test::Connection>(ortivo.Get(), DIID__IOrtivoEvents, sink);
    ASSERT_EQ(connection->Status(), S_OK);
  }
  void TearDown() override {
    connection.reset();
    ortivo.Reset();
    seam.reset();
    if (sink) sink->Release();
  }

  bool Running() {
    VARIANT_BOOL running = 123;
    EXPECT_EQ(ortivo->get_Running(&running), S_OK);
    return running != VARIANT_FALSE;
  }
  long Status() {
    Constants_Status status{};
    EXPECT_EQ(ortivo->get_CurrentStatus(&status), S_OK);
    return status;
  }
  void ExpectAllEventsOnThisThread() {
    for (const test::RecordedEvent& event : sink->Events()) EXPECT_EQ(event.threadId, GetCurrentThreadId());
  }

  std::unique_ptr<test::EventLogSeam> seam;
  test::EventRecorder* sink = nullptr;
  std::unique_ptr<test::Connection> connection;
};

TEST_F(ServiceRuntimeTest, DebugRunWithLoopTimersAndStopService) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  int timerEvents = 0;
  DWORD stoppedAt = 0;
  HRESULT aboutWhileRunning = S_OK;
  HRESULT secondStart = E_FAIL;
  VARIANT_BOOL secondStarted = 123;
  bool runningInTimer = false;
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0) {
      Answer(parameters, VARIANT_TRUE);
      EXPECT_EQ(ortivo->StartTimer(5, 30), S_OK);
      EXPECT_EQ(ortivo->StartTimer(5, 20), S_OK) << "restarted with a new period";
      EXPECT_EQ(ortivo->StartTimer(9, 60000), S_OK);
    } else if (id == 6 && ++timerEvents == 3) {
      runningInTimer = Running();
      aboutWhileRunning = ortivo->AboutBox();
      secondStart = ortivo->StartService(VARIANT_FALSE, &secondStarted);
      stoppedAt = GetTickCount();
      EXPECT_EQ(ortivo->StopService(), S_OK);
    }
  };
  const int threadsBefore = ThreadCount();
  VARIANT_BOOL started = 0;
  ASSERT_EQ(ortivo->StartService(VARIANT_TRUE, &started), S_OK);
  const DWORD returnedAt = GetTickCount();
  EXPECT_EQ(started, VARIANT_TRUE);
  EXPECT_EQ(sink->Summary(), "0(False) 6(5) 6(5) 6(5) 1()");
  ExpectAllEventsOnThisThread();
  MSG quit;
  EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "Debug posts no quit message";
  EXPECT_LT(returnedAt - stoppedAt, 5000u) << "StopService ends the loop at once, not at the next 60 s timer";
  EXPECT_TRUE(runningInTimer);
  EXPECT_EQ(Hex(aboutWhileRunning), Hex(E_FAIL));
  EXPECT_EQ(secondStart, S_OK);
  EXPECT_EQ(secondStarted, VARIANT_FALSE);
  EXPECT_FALSE(Running());
  EXPECT_EQ(Status(), 1);
  EXPECT_TRUE(seam->Ids().empty()) << "Debug writes neither 105 nor 107";

  // Nothing of the run is left, and no timer fires any more.
  int windows = -1;
  MessageWindow(&windows);
  EXPECT_EQ(windows, 0);
  EXPECT_EQ(ThreadCount(), threadsBefore);
  sink->Clear();
  EXPECT_EQ(ortivo->StartTimer(7, 10), S_OK) << "no window: nothing is set";
  test::PumpMessages(200);
  EXPECT_EQ(sink->Summary(), "");
}

TEST_F(ServiceRuntimeTest, RefusedStartEndsTheRunWithoutStop) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  for (bool withSink : {true, false}) {
    SCOPED_TRACE(withSink ? "sink leaves Success false" : "no sink connected");
    if (!withSink) connection->Disconnect();
    sink->Clear();
    VARIANT_BOOL started = 0;
    const DWORD begin = GetTickCount();
    ASSERT_EQ(ortivo->StartService(VARIANT_TRUE, &started), S_OK);
    EXPECT_LT(GetTickCount() - begin, 5000u);
    EXPECT_EQ(started, VARIANT_TRUE);
    EXPECT_EQ(sink->Summary(), withSink ? "0(False)" : "");
    EXPECT_FALSE(Running());
    EXPECT_EQ(Status(), 1);
    EXPECT_EQ(MessageWindow(), nullptr);
  }
  EXPECT_TRUE(seam->Ids().empty()) << "Debug does not write 104";
}

TEST_F(ServiceRuntimeTest, WithoutTheLoopTheClientDispatches) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0) Answer(parameters, VARIANT_TRUE);
  };
  VARIANT_BOOL started = 0;
  // 1 is not the automation true value: no loop, StartService returns at once.
  ASSERT_EQ(ortivo->StartService(1, &started), S_OK);
  EXPECT_EQ(started, VARIANT_TRUE);
  EXPECT_EQ(sink->Summary(), "");
  HWND window = MessageWindow();
  ASSERT_NE(window, nullptr);
  // A hidden popup without title, parent or menu, 2 x 2 pixels at 3000, 3000,
  // of a class of the component's own module.
  EXPECT_EQ(GetWindowLongA(window, GWL_STYLE) & (WS_POPUP | WS_CHILD | WS_CAPTION), WS_POPUP);
  EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_WINDOWEDGE, 0);
  EXPECT_FALSE(IsWindowVisible(window));
  EXPECT_EQ(GetWindowTextLengthA(window), 0);
  EXPECT_EQ(GetParent(window), nullptr);
  EXPECT_EQ(GetMenu(window), nullptr);
  RECT bounds = {};
  GetWindowRect(window, &bounds);
  EXPECT_EQ(bounds.left, 3000);
  EXPECT_EQ(bounds.top, 3000);
  EXPECT_EQ(bounds.right - bounds.left, 2);
  EXPECT_EQ(bounds.bottom - bounds.top, 2);
  EXPECT_EQ(reinterpret_cast<HMODULE>(GetClassLongPtrA(window, GCLP_HMODULE)), test::ServiceModule());
  test::PumpMessages(200);
  EXPECT_EQ(sink->Summary(), "0(False)");
  EXPECT_TRUE(Running());
  EXPECT_EQ(Status(), 4);
  EXPECT_EQ(ortivo->StopService(), S_OK);
  EXPECT_EQ(sink->Summary(), "0(False) 1()");
  EXPECT_EQ(ortivo->StopService(), S_OK) << "a second StopService does nothing";
  EXPECT_EQ(sink->Summary(), "0(False) 1()");
  EXPECT_EQ(MessageWindow(), nullptr);
}

TEST_F(ServiceRuntimeTest, ControlRequestsOnTheClientsThread) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  // A second sink answers after the first: the last answer counts, and it
  // sees what the first one left in the shared Success.
  test::EventRecorder* second = new test::EventRecorder(DIID__IOrtivoEvents);
  test::Connection secondConnection(ortivo.Get(), DIID__IOrtivoEvents, second);
  VARIANT_BOOL secondAnswer = VARIANT_TRUE;
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0 || id == 3 || id == 4) Answer(parameters, VARIANT_TRUE);
  };
  second->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0 || id == 3 || id == 4) Answer(parameters, secondAnswer);
  };
  VARIANT_BOOL started = 0;
  ASSERT_EQ(ortivo->StartService(VARIANT_FALSE, &started), S_OK);
  test::PumpMessages(100);
  ASSERT_EQ(Status(), 4);
  HWND window = MessageWindow();
  ASSERT_NE(window, nullptr);

  struct Case {
    const char* note;
    WPARAM code;
    VARIANT_BOOL secondAnswer;
    std::string secondSaw;
    long status;
  };
  const Case cases[] = {
      {"pause refused by the last sink", 2, VARIANT_FALSE, "3(True)", 4},
      {"pause accepted", 2, VARIANT_TRUE, "3(True)", 7},
      {"continue refused stays paused", 3, VARIANT_FALSE, "4(True)", 7},
      {"continue accepted", 3, VARIANT_TRUE, "4(True)", 4},
      {"user control", 200, VARIANT_TRUE, "5(200)", 4},
      {"shutdown raises nothing", 5, VARIANT_TRUE, "", 4},
      {"interrogate raises nothing", 4, VARIANT_TRUE, "", 4},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    second->Clear();
    secondAnswer = row.secondAnswer;
    PostMessageA(window, kControlRequest, row.code, 0);
    test::PumpMessages(100);
    EXPECT_EQ(second->Summary(), row.secondSaw);
    EXPECT_EQ(Status(), row.status);
  }
  second->Clear();
  PostMessageA(window, kControlRequest, 1, 0);
  test::PumpMessages(100);
  EXPECT_EQ(second->Summary(), "1()");
  EXPECT_FALSE(Running());
  secondConnection.Disconnect();
  second->Release();
}

TEST_F(ServiceRuntimeTest, PauseHandlerThatStopsTheServiceLeavesItStopped) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0) Answer(parameters, VARIANT_TRUE);
    if (id == 3) {
      Answer(parameters, VARIANT_TRUE);
      EXPECT_EQ(ortivo->StopService(), S_OK);
    }
  };
  VARIANT_BOOL started = 0;
  ASSERT_EQ(ortivo->StartService(VARIANT_FALSE, &started), S_OK);
  test::PumpMessages(100);
  ASSERT_EQ(Status(), 4);
  PostMessageA(MessageWindow(), kControlRequest, 2, 0);
  test::PumpMessages(100);
  EXPECT_EQ(sink->Summary(), "0(False) 3(False) 1()");
  EXPECT_FALSE(Running());
  EXPECT_EQ(Status(), 1) << "not paused after the run has ended";
  EXPECT_EQ(MessageWindow(), nullptr);
}

TEST_F(ServiceRuntimeTest, StopLetThroughByTheStartHandlerEndsTheRun) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  for (VARIANT_BOOL answer : {VARIANT_TRUE, VARIANT_FALSE}) {
    SCOPED_TRACE(answer ? "then accepted" : "then refused");
    sink->Clear();
    // The Start handler dispatches messages before it answers, and the stop
    // request is among them.
    sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
      if (id != 0) return;
      PostMessageA(MessageWindow(), kControlRequest, 1, 0);
      test::PumpMessages(50);
      Answer(parameters, answer);
    };
    VARIANT_BOOL started = 0;
    const DWORD begin = GetTickCount();
    ASSERT_EQ(ortivo->StartService(VARIANT_TRUE, &started), S_OK);
    EXPECT_LT(GetTickCount() - begin, 5000u) << "the loop ends with the run";
    EXPECT_EQ(sink->Summary(), "0(False)") << "no Stop: the start was never answered";
    EXPECT_FALSE(Running());
    EXPECT_EQ(Status(), 1);
    EXPECT_EQ(MessageWindow(), nullptr);
  }
}

// Watches the events and threads the DLL creates and the handles it closes.
class HandleTracker {
 public:
  HandleTracker()
      : event_(test::ServiceModule(), "kernel32.dll", "CreateEventA", reinterpret_cast<void*>(&CreateEventHook)),
        thread_(test::ServiceModule(), "kernel32.dll", "CreateThread", reinterpret_cast<void*>(&CreateThreadHook)),
        close_(test::ServiceModule(), "kernel32.dll", "CloseHandle", reinterpret_cast<void*>(&CloseHandleHook)) {
    active = this;
  }
  ~HandleTracker() { active = nullptr; }
  bool Installed() const { return event_.Installed() && thread_.Installed() && close_.Installed(); }
  // Handles created and not closed yet; how many were created.
  size_t Open() {
    std::lock_guard<std::mutex> hold(mutex_);
    return open_.size();
  }
  size_t Created() {
    std::lock_guard<std::mutex> hold(mutex_);
    return created_;
  }

 private:
  void Add(HANDLE handle) {
    if (handle == nullptr) return;
    std::lock_guard<std::mutex> hold(mutex_);
    open_.insert(handle);
    ++created_;
  }
  static HANDLE WINAPI CreateEventHook(LPSECURITY_ATTRIBUTES security, BOOL manual, BOOL initial, LPCSTR name) {
    using Function = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, BOOL, BOOL, LPCSTR);
    HANDLE handle = reinterpret_cast<Function>(active->event_.Original())(security, manual, initial, name);
    active->Add(handle);
    return handle;
  }
  static HANDLE WINAPI CreateThreadHook(LPSECURITY_ATTRIBUTES security, SIZE_T stack, LPTHREAD_START_ROUTINE routine,
                                        LPVOID parameter, DWORD flags, LPDWORD id) {
    using Function = HANDLE(WINAPI*)(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD);
    HANDLE handle = reinterpret_cast<Function>(active->thread_.Original())(security, stack, routine, parameter, flags, id);
    active->Add(handle);
    return handle;
  }
  static BOOL WINAPI CloseHandleHook(HANDLE handle) {
    {
      std::lock_guard<std::mutex> hold(active->mutex_);
      active->open_.erase(handle);
    }
    using Function = BOOL(WINAPI*)(HANDLE);
    return reinterpret_cast<Function>(active->close_.Original())(handle);
  }

  static HandleTracker* active;
  test::ImportHook event_;
  test::ImportHook thread_;
  test::ImportHook close_;
  std::mutex mutex_;
  std::set<HANDLE> open_;
  size_t created_ = 0;
};
HandleTracker* HandleTracker::active = nullptr;

TEST_F(ServiceRuntimeTest, OutsideTheServiceControlManager) {
  HandleTracker handles;
  ASSERT_TRUE(handles.Installed());
  const int threadsBefore = ThreadCount();
  VARIANT_BOOL started = 0;
  // The dispatcher fails when the manager did not start the process (Wine
  // takes some seconds to give up); StartService's own loop then ends too.
  const DWORD begin = GetTickCount();
  ASSERT_EQ(ortivo->StartService(VARIANT_TRUE, &started), S_OK);
  EXPECT_LT(GetTickCount() - begin, 30000u);
  EXPECT_EQ(started, VARIANT_TRUE);
  EXPECT_EQ(sink->Summary(), "") << "no Start ever arrives";
  EXPECT_FALSE(Running());
  EXPECT_EQ(Status(), 1);
  EXPECT_EQ(MessageWindow(), nullptr);
  EXPECT_EQ(ThreadCount(), threadsBefore);
  EXPECT_TRUE(seam->Ids().empty());
  EXPECT_GE(handles.Created(), 2u) << "the stop event and the dispatcher thread";
  EXPECT_EQ(handles.Open(), 0u) << "no handle outlives the run";
}

TEST_F(ServiceRuntimeTest, TimerIdentifiersAreChecked) {
  struct Case {
    const char* note;
    std::function<HRESULT()> call;
  };
  const Case cases[] = {
      {"StartTimer(0)", [&] { return ortivo->StartTimer(0, 1000); }},
      {"StartTimer(-5)", [&] { return ortivo->StartTimer(-5, 1000); }},
      {"StopTimer(0)", [&] { return ortivo->StopTimer(0); }},
      {"StopTimer(-1)", [&] { return ortivo->StopTimer(-1); }},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    test::ClearErrorInfo();
    EXPECT_EQ(Hex(row.call()), Hex(E_INVALIDARG));
    test::ExpectErrorText(L"The IDEvent must be between 0x00000001 and 0x7FFFFFFF.");
  }
  // Before StartService there is no window: nothing is set, and nothing fires later.
  EXPECT_EQ(ortivo->StartTimer(7, 10), S_OK);
  EXPECT_EQ(ortivo->StopTimer(99), S_OK);

  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0) Answer(parameters, VARIANT_TRUE);
  };
  VARIANT_BOOL started = 0;
  ASSERT_EQ(ortivo->StartService(VARIANT_FALSE, &started), S_OK);
  test::PumpMessages(150);
  EXPECT_EQ(sink->Summary(), "0(False)") << "the timer set before the run does not fire";
  EXPECT_EQ(ortivo->StopTimer(99), S_OK) << "a timer never started";
  ASSERT_EQ(ortivo->StartTimer(3, 20), S_OK);
  test::PumpMessages(150);
  EXPECT_EQ(ortivo->StopTimer(3), S_OK);
  const size_t fired = sink->Events().size();
  EXPECT_GT(fired, 1u);
  test::PumpMessages(150);
  EXPECT_EQ(sink->Events().size(), fired) << "StopTimer ends the Timer events";

  // Only identifiers 1 to 0x7FFFFFFF on the window are user timers.
  HWND window = MessageWindow();
  ASSERT_NE(window, nullptr);
  sink->Clear();
  for (WPARAM id : {WPARAM{0}, WPARAM{0x80000000u}, WPARAM{0xFFFFFFFFu}, WPARAM{0x7FFFFFFF}, WPARAM{1}}) {
    PostMessageA(window, WM_TIMER, id, 0);
  }
  test::PumpMessages(100);
  EXPECT_EQ(sink->Summary(), "6(2147483647) 6(1)");
  EXPECT_EQ(ortivo->StopService(), S_OK);
}

// SetTimer refused with the error that the test sets.
DWORD refusedTimerError = 0;
UINT_PTR WINAPI RefusedSetTimer(HWND, UINT_PTR, UINT, TIMERPROC) {
  SetLastError(refusedTimerError);
  return 0;
}

TEST_F(ServiceRuntimeTest, RefusedTimerGivesThePlatformError) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0) Answer(parameters, VARIANT_TRUE);
  };
  VARIANT_BOOL started = 0;
  ASSERT_EQ(ortivo->StartService(VARIANT_FALSE, &started), S_OK);
  test::PumpMessages(100);
  {
    test::ImportHook refuse(test::ServiceModule(), "user32.dll", "SetTimer", reinterpret_cast<void*>(&RefusedSetTimer));
    ASSERT_TRUE(refuse.Installed());
    refusedTimerError = ERROR_NOT_ENOUGH_MEMORY;
    EXPECT_EQ(Hex(ortivo->StartTimer(8, 10)), Hex(static_cast<HRESULT>(0x80070008)));
    refusedTimerError = ERROR_INVALID_WINDOW_HANDLE;
    EXPECT_EQ(Hex(ortivo->StartTimer(8, 10)), Hex(static_cast<HRESULT>(0x80070578)));
    refusedTimerError = 0;
    EXPECT_EQ(Hex(ortivo->StartTimer(8, 10)), Hex(S_OK)) << "no error code: success";
  }
  test::PumpMessages(100);
  EXPECT_EQ(sink->Summary(), "0(False)") << "no timer was set";
  EXPECT_EQ(ortivo->StopService(), S_OK);
}

HWND WINAPI RefusedCreateWindow(DWORD, LPCSTR, LPCSTR, DWORD, int, int, int, int, HWND, HMENU, HINSTANCE, LPVOID) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

HANDLE WINAPI RefusedCreateThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) {
  SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return nullptr;
}

TEST_F(ServiceRuntimeTest, RefusedWindowOrThreadGivesOutOfMemory) {
  struct Case {
    const char* note;
    const char* dll;
    const char* function;
    void* replacement;
    bool debug;
  };
  const Case cases[] = {
      {"no window", "user32.dll", "CreateWindowExA", reinterpret_cast<void*>(&RefusedCreateWindow), true},
      {"no dispatcher thread", "kernel32.dll", "CreateThread", reinterpret_cast<void*>(&RefusedCreateThread), false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.note);
    ASSERT_EQ(ortivo->put_Debug(row.debug ? VARIANT_TRUE : VARIANT_FALSE), S_OK);
    {
      test::ImportHook refuse(test::ServiceModule(), row.dll, row.function, row.replacement);
      ASSERT_TRUE(refuse.Installed());
      VARIANT_BOOL started = 123;
      EXPECT_EQ(Hex(ortivo->StartService(VARIANT_TRUE, &started)), Hex(E_OUTOFMEMORY));
      EXPECT_EQ(started, VARIANT_FALSE);
    }
    EXPECT_EQ(MessageWindow(), nullptr) << "the object keeps no window";
    test::PumpMessages(100);
    EXPECT_EQ(sink->Summary(), "");
    EXPECT_FALSE(Running());
  }
  // Nothing of the failed starts is left: a Debug run starts as usual.
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  VARIANT_BOOL started = 0;
  EXPECT_EQ(ortivo->StartService(VARIANT_FALSE, &started), S_OK);
  EXPECT_EQ(started, VARIANT_TRUE);
  test::PumpMessages(100);
  EXPECT_EQ(sink->Summary(), "0(False)");
}

TEST_F(ServiceRuntimeTest, ReleasingTheObjectEndsTheRun) {
  ASSERT_EQ(ortivo->put_Debug(VARIANT_TRUE), S_OK);
  // Connected without keeping the connection point (which would keep the object).
  connection.reset();
  {
    ComPtr<IConnectionPointContainer> container = ortivo.As<IConnectionPointContainer>();
    ComPtr<IConnectionPoint> point;
    ASSERT_EQ(container->FindConnectionPoint(DIID__IOrtivoEvents, point.Receive()), S_OK);
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(sink, &cookie), S_OK);
  }
  sink->hook = [&](DISPID id, DISPPARAMS* parameters) {
    if (id == 0) Answer(parameters, VARIANT_TRUE);
  };
  VARIANT_BOOL started = 0;
  ASSERT_EQ(ortivo->StartService(VARIANT_FALSE, &started), S_OK);
  test::PumpMessages(100);
  ASSERT_EQ(ortivo->StartTimer(4, 10), S_OK);
  ASSERT_TRUE(Running());
  sink->hook = nullptr;
  ortivo.Reset();
  ASSERT_FALSE(sink->Events().empty());
  EXPECT_EQ(sink->Events().back().id, 1) << "Stop is raised at the final release";
  EXPECT_EQ(MessageWindow(), nullptr);
  const size_t count = sink->Events().size();
  test::PumpMessages(100);
  EXPECT_EQ(sink->Events().size(), count);
}

}  // namespace
