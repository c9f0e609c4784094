#pragma once
// A bare list view like the log window's (a top-level frame, a report-style
// list view with three columns), filled directly with list-view messages: the
// baselines of the log window benchmark.
#include <windows.h>

#include <string>
#include <vector>

#include "log/deferred_painting.h"

namespace logbench {

// The rows of one message as the log window shows them.
struct RawMessage {
  std::vector<std::string> rows;  // 80 bytes each, continuation rows behind four spaces
  std::string value;
  int indent = 0;
};

// Rows of `text`: pieces of 80 bytes, each after the first behind four spaces.
std::vector<std::string> RowsOf(const std::string& text);

class RawListView {
 public:
  // Creates the frame (visible when `shown`) and its list view.
  explicit RawListView(bool shown);
  ~RawListView();
  RawListView(const RawListView&) = delete;
  RawListView& operator=(const RawListView&) = delete;

  HWND List() const { return list_; }

  // Appends the rows of `message`, scrolling the last row into view after each
  // row, then dispatches pending messages: the way the log window painted
  // before its painting was held back.
  void AppendScrollingEachRow(const RawMessage& message);
  // Appends the rows of `message` with painting held back, dispatches pending
  // messages, then repaints if the period is up: as the log window does.
  void AppendBatched(const RawMessage& message);
  // Empties the list and fills it with `messages` with redraw off, then
  // scrolls to the last row and repaints once. With `dispatchEach`, one
  // pending message is dispatched after each message's rows, as Refresh does.
  void Refill(const std::vector<RawMessage>& messages, bool dispatchEach = false);

 private:
  static LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  // Inserts the rows of `message`; returns the index of its last row.
  int Insert(const RawMessage& message, bool scrollEachRow);

  HWND frame_ = nullptr;
  HWND list_ = nullptr;
  quarent::brnlog::DeferredPainting painting_;
};

// Dispatches the calling thread's pending messages, as the log window does
// after each logging call.
void DispatchPending();

}  // namespace logbench
