#pragma once
// Painting of a list view held back while rows arrive in a burst. A list view
// redraws its scroll bar on every row inserted and every scroll, which costs
// far more than the row itself; held back, it is scrolled to its last row and
// repainted at most once every kRepaintPeriodMs instead. Rows that come after
// a quiet spell are painted at once, as they come. The rows themselves are in
// the list at once: only the painting waits.
#include <windows.h>

#include <chrono>

namespace quarent::brnlog {

// Milliseconds a burst of rows goes unpainted at most.
constexpr UINT kRepaintPeriodMs = 16;

class DeferredPainting {
 public:
  DeferredPainting() = default;
  DeferredPainting(const DeferredPainting&) = delete;
  DeferredPainting& operator=(const DeferredPainting&) = delete;
  // Gives the list its painting back.
  ~DeferredPainting() { Detach(); }

  // Starts serving list view `list`; `timerWindow` receives the WM_TIMER with
  // identifier kTimerId that must be passed to Repaint. Detaches first.
  void Attach(HWND timerWindow, HWND list);
  // Gives the list its painting back and lets it go; call it before the list
  // or the timer window is destroyed.
  void Detach();

  // Before rows are added: turns the list's redraw off and arms the timer,
  // unless painting is held already.
  void Hold();
  // Repaints when painting is held and the last repaint is kRepaintPeriodMs
  // or more ago.
  void RepaintIfDue();
  // When painting is held: turns the list's redraw back on, scrolls its last
  // row into view and repaints it once.
  void Repaint();

  // Identifier of the timer set on the timer window.
  static constexpr UINT_PTR kTimerId = 1;

 private:
  // Ends the hold: timer killed, redraw back on.
  void Release();

  HWND timerWindow_ = nullptr;
  HWND list_ = nullptr;
  bool held_ = false;
  std::chrono::steady_clock::time_point repaintedAt_;
};

}  // namespace quarent::brnlog
