// The log window under a chatty client. Logging is synchronous, so the
// window's speed is the client's: this prints, in one run,
// - messages logged per second through ILog::LogMessageValue, with the window
//   shown and hidden, for one-row and three-row messages, against a bare list
//   view fed the same rows (a) scrolling and painting row by row, the way the
//   log window did before, and (b) with the same held-back painting;
// - the time of Refresh against a bare list view re-filled with redraw off;
// - heap bytes per stored message, the log object's and a bare list view's;
// - the round trip of a message sent to the list view from another thread
//   while a burst is logged.
// Prints figures; asserts nothing.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "BrnLog_h.h"
#include "common/win_handles.h"
#include "log_client.h"
#include "raw_list_view.h"

namespace logbench {
namespace {

// A timed run stops after this long; its rate is over the messages logged by then.
constexpr double kBudgetSeconds = 10;
constexpr int kRounds = 2;
constexpr UINT kRefreshCommand = 32775;

// How long the messages of a run are.
struct Shape {
  const char* name;
  int characters;  // 80 per row
};
constexpr Shape kOneRow = {"one-row", 40};
constexpr Shape kThreeRows = {"three-row", 200};

class Stopwatch {
 public:
  Stopwatch() { QueryPerformanceCounter(&start_); }
  double Seconds() const {
    LARGE_INTEGER now;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart - start_.QuadPart) / static_cast<double>(frequency.QuadPart);
  }

 private:
  LARGE_INTEGER start_;
};

// Messages done in a timed run and the seconds they took.
struct Rate {
  int messages = 0;
  double seconds = 0;
  bool cut = false;  // stopped by the budget before the last message
  double PerSecond() const { return seconds > 0 ? messages / seconds : 0; }
};

// Runs step(0) ... step(count - 1), or as many as fit in the budget.
template <class Step>
Rate TimeEach(int count, Step&& step) {
  Rate rate;
  Stopwatch watch;
  for (int index = 0; index < count; ++index) {
    step(index);
    ++rate.messages;
    if (watch.Seconds() > kBudgetSeconds && index + 1 < count) {
      rate.cut = true;
      break;
    }
  }
  rate.seconds = watch.Seconds();
  return rate;
}

Rate Faster(const Rate& one, const Rate& other) { return one.PerSecond() >= other.PerSecond() ? one : other; }

// The same messages as automation strings for the log object and as rows for
// the bare list view.
class Messages {
 public:
  Messages(const Shape& shape, int count) : category_(L"Bench") {
    for (int index = 0; index < count; ++index) {
      std::string text = "message " + std::to_string(index) + " ";
      text.resize(static_cast<size_t>(shape.characters), 'x');
      texts_.push_back(SysAllocString(std::wstring(text.begin(), text.end()).c_str()));
      raw_.push_back(RawMessage{RowsOf(text), std::to_string(index), index % 4});
    }
  }
  ~Messages() {
    for (BSTR text : texts_) SysFreeString(text);
  }
  Messages(const Messages&) = delete;
  Messages& operator=(const Messages&) = delete;

  int Count() const { return static_cast<int>(texts_.size()); }
  const std::vector<RawMessage>& Raw() const { return raw_; }

  // Logs message `index` with its number as the value, at level index % 4.
  void Log(ILog* log, int index) const {
    VARIANT value;
    VariantInit(&value);
    V_VT(&value) = VT_I4;
    V_I4(&value) = index;
    log->LogMessageValue(texts_[static_cast<size_t>(index)], value, category_, static_cast<short>(index % 4));
  }

 private:
  std::vector<BSTR> texts_;
  std::vector<RawMessage> raw_;
  logtest::Text category_;
};

// A log object with its window, shown or hidden.
class LogSession {
 public:
  explicit LogSession(bool shown) : log_(logtest::CreateLog()) {
    if (!log_) return;
    short number = 0;
    log_->CreateLogWindow(&number);
    window_ = logtest::FindLogWindow();
    list_ = logtest::ListViewOf(window_);
    Show(shown);
  }
  ~LogSession() {
    DispatchPending();
    if (log_) log_->Release();
    DispatchPending();
  }
  LogSession(const LogSession&) = delete;
  LogSession& operator=(const LogSession&) = delete;

  bool Ready() const { return list_ != nullptr; }
  ILog* Log() const { return log_; }
  HWND Window() const { return window_; }
  HWND List() const { return list_; }
  void Show(bool shown) {
    log_->LogShowWindow(shown ? brnActivate : brnHide);
    DispatchPending();
  }

 private:
  ILog* log_;
  HWND window_ = nullptr;
  HWND list_ = nullptr;
};

Rate TimeLogObject(const Messages& messages, bool shown) {
  LogSession session(shown);
  if (!session.Ready()) return {};
  return TimeEach(messages.Count(), [&](int index) { messages.Log(session.Log(), index); });
}

Rate TimeRowByRow(const Messages& messages, bool shown) {
  RawListView raw(shown);
  return TimeEach(messages.Count(), [&](int index) { raw.AppendScrollingEachRow(messages.Raw()[index]); });
}

Rate TimeBatched(const Messages& messages, bool shown) {
  RawListView raw(shown);
  return TimeEach(messages.Count(), [&](int index) { raw.AppendBatched(messages.Raw()[index]); });
}

std::string RateText(const Rate& rate) {
  char text[32];
  std::snprintf(text, sizeof text, "%9.0f%s", rate.PerSecond(), rate.cut ? "*" : " ");
  return text;
}

void CompareThroughput(bool shown, const Shape& shape, int count) {
  const Messages messages(shape, count);
  Rate logObject;
  Rate batched;
  // Rounds taken in turns, so a busy spell of the machine weighs on both alike.
  for (int round = 0; round < kRounds; ++round) {
    logObject = Faster(logObject, TimeLogObject(messages, shown));
    batched = Faster(batched, TimeBatched(messages, shown));
  }
  const Rate rowByRow = TimeRowByRow(messages, shown);
  std::printf("%-7s %-10s %6d  %s  %s  %s  %8.1fx  %6.2f\n", shown ? "shown" : "hidden", shape.name, count,
              RateText(logObject).c_str(), RateText(rowByRow).c_str(), RateText(batched).c_str(),
              logObject.PerSecond() / rowByRow.PerSecond(), logObject.PerSecond() / batched.PerSecond());
  std::fflush(stdout);
}

// Seconds of one Refresh (the menu command) of `session`'s window.
double TimeRefresh(const LogSession& session) {
  DispatchPending();
  const Stopwatch watch;
  SendMessageA(session.Window(), WM_COMMAND, kRefreshCommand, 0);
  return watch.Seconds();
}

// Seconds of one re-fill of `raw`.
double TimeRefill(RawListView& raw, const Messages& messages, bool dispatchEach) {
  DispatchPending();
  const Stopwatch watch;
  raw.Refill(messages.Raw(), dispatchEach);
  return watch.Seconds();
}

void CompareRefresh(int count) {
  const Messages messages(kOneRow, count);
  LogSession session(false);
  if (!session.Ready()) return;
  for (int index = 0; index < messages.Count(); ++index) messages.Log(session.Log(), index);
  for (bool shown : {true, false}) {
    session.Show(shown);
    RawListView raw(shown);
    raw.Refill(messages.Raw());
    double refresh = 1e9;
    double refill = 1e9;
    double refillDispatching = 1e9;
    // Rounds taken in turns, so a busy spell of the machine weighs on all three alike.
    for (int round = 0; round < kRounds; ++round) {
      refresh = std::min(refresh, TimeRefresh(session));
      refill = std::min(refill, TimeRefill(raw, messages, false));
      refillDispatching = std::min(refillDispatching, TimeRefill(raw, messages, true));
    }
    std::printf("%-7s %7d  %8.3f s  %8.3f s  %5.2f  %8.3f s  %5.2f\n", shown ? "shown" : "hidden", count, refresh,
                refill, refresh / refill, refillDispatching, refresh / refillDispatching);
    std::fflush(stdout);
  }
}

// Bytes in use in every heap of the process.
size_t BusyHeapBytes() {
  std::vector<HANDLE> heaps(GetProcessHeaps(0, nullptr) + 16);
  heaps.resize(GetProcessHeaps(static_cast<DWORD>(heaps.size()), heaps.data()));
  size_t busy = 0;
  for (HANDLE heap : heaps) {
    if (!HeapLock(heap)) continue;
    PROCESS_HEAP_ENTRY entry = {};
    while (HeapWalk(heap, &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) busy += entry.cbData;
    }
    HeapUnlock(heap);
  }
  return busy;
}

void MeasureHeap(const Shape& shape, int count) {
  const Messages messages(shape, count);
  double logObject = 0;
  {
    LogSession session(false);
    if (!session.Ready()) return;
    const size_t before = BusyHeapBytes();
    for (int index = 0; index < count; ++index) messages.Log(session.Log(), index);
    DispatchPending();
    logObject = static_cast<double>(BusyHeapBytes() - before) / count;
  }
  RawListView raw(false);
  const size_t before = BusyHeapBytes();
  raw.Refill(messages.Raw());
  const double listView = static_cast<double>(BusyHeapBytes() - before) / count;
  std::printf("%-10s %6d messages  log object %6.0f bytes/message  bare list view %6.0f bytes/message\n", shape.name,
              count, logObject, listView);
  std::fflush(stdout);
}

// A thread that sends LVM_GETITEMCOUNT to a list view over and over, timing
// each round trip, until it is stopped.
class RoundTripProbe {
 public:
  explicit RoundTripProbe(HWND list) : list_(list) {
    thread_.Reset(CreateThread(nullptr, 0, Run, this, 0, nullptr));
  }
  RoundTripProbe(const RoundTripProbe&) = delete;
  RoundTripProbe& operator=(const RoundTripProbe&) = delete;
  ~RoundTripProbe() { Stop(); }

  // Stops the thread, answering its messages meanwhile; returns the round
  // trips in milliseconds.
  std::vector<double> Stop() {
    InterlockedExchange(&stop_, 1);
    HANDLE thread = thread_.Get();
    while (thread && MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
      DispatchPending();
    }
    thread_.Reset();
    return samples_;
  }

 private:
  static DWORD WINAPI Run(void* self) {
    static_cast<RoundTripProbe*>(self)->Probe();
    return 0;
  }
  void Probe() {
    while (!stop_) {
      const Stopwatch watch;
      DWORD_PTR count = 0;
      SendMessageTimeoutA(list_, LVM_GETITEMCOUNT, 0, 0, SMTO_NORMAL, 10000, &count);
      samples_.push_back(watch.Seconds() * 1000);
      Sleep(1);
    }
  }

  HWND list_;
  volatile LONG stop_ = 0;
  std::vector<double> samples_;
  quarent::UniqueHandle thread_;
};

void PrintRoundTrips(const char* name, std::vector<double> samples, const Rate& burst) {
  if (samples.empty()) return;
  std::sort(samples.begin(), samples.end());
  const auto at = [&](double share) { return samples[static_cast<size_t>(share * (samples.size() - 1))]; };
  std::printf("%-30s %5d messages%s  %5zu round trips  median %7.2f ms  p99 %7.2f ms  max %7.2f ms\n", name,
              burst.messages, burst.cut ? "*" : " ", samples.size(), at(0.5), at(0.99), samples.back());
  std::fflush(stdout);
}

void MeasureRoundTrips(int count) {
  const Messages messages(kOneRow, count);
  {
    LogSession session(true);
    if (!session.Ready()) return;
    RoundTripProbe probe(session.List());
    const Rate burst = TimeEach(count, [&](int index) { messages.Log(session.Log(), index); });
    PrintRoundTrips("log object", probe.Stop(), burst);
  }
  for (bool rowByRow : {false, true}) {
    RawListView raw(true);
    RoundTripProbe probe(raw.List());
    const Rate burst = TimeEach(count, [&](int index) {
      if (rowByRow) {
        raw.AppendScrollingEachRow(messages.Raw()[index]);
      } else {
        raw.AppendBatched(messages.Raw()[index]);
      }
    });
    PrintRoundTrips(rowByRow ? "bare list view, row by row" : "bare list view, batched", probe.Stop(), burst);
  }
}

}  // namespace
}  // namespace logbench

int main() {
  using namespace logbench;
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  InitCommonControls();
  if (!logtest::RegisterBrnLog()) {
    std::printf("BrnLog.dll could not be registered\n");
    return 1;
  }
  std::printf("Messages logged per second (best of %d runs; * = stopped after %.0f s, rate over the messages\n"
              "logged by then). Bare list view: the same rows (a) scrolled and painted row by row, (b) with the\n"
              "log window's held-back painting; each with the pending messages dispatched after every message.\n",
              kRounds, kBudgetSeconds);
  std::printf("%-7s %-10s %6s  %10s  %10s  %10s  %9s  %6s\n", "window", "messages", "N", "log object", "row by row",
              "batched", "x row/row", "of (b)");
  for (bool shown : {true, false}) {
    for (const Shape& shape : {kOneRow, kThreeRows}) {
      for (int count : {1000, 10000}) CompareThroughput(shown, shape, count);
    }
  }
  std::printf("\nRefresh of stored one-row messages (best of %d) against a bare list view re-filled with redraw\n"
              "off, (c) as it is, (d) dispatching one pending message after each message as Refresh does\n",
              kRounds);
  std::printf("%-7s %7s  %10s  %10s  %5s  %10s  %5s\n", "window", "N", "Refresh", "re-fill(c)", "ratio", "(d)",
              "ratio");
  for (int count : {10000, 100000}) CompareRefresh(count);
  std::printf("\nHeap in use per stored message (all heaps of the process)\n");
  for (const Shape& shape : {kOneRow, kThreeRows}) MeasureHeap(shape, 10000);
  std::printf("\nRound trip of LVM_GETITEMCOUNT sent from another thread during a burst, window shown\n");
  MeasureRoundTrips(10000);
  CoUninitialize();
  return 0;
}
