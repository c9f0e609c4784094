#pragma once
// Painting of a list view held back while rows arrive in a burst. A list view
// redraws its scroll bar on every row inserted and every scroll, which costs
// far more than the row itself; held back, it is scrolled to its last row and
// repainted once a period instead. The rows themselves are in the list at
// once: only the painting waits.
//
// The period is kShortestPeriodMs, or three times the last repaint when
// repainting is slower than that (a loaded machine, a remote display), so
// painting never takes more than about a quarter of a burst. Rows that come
// after a quiet spell of a period are painted at once.
#include <windows.h>

#include <chrono>

namespace quarent::brnlog {

class DeferredPainting {
 public:
  // Milliseconds between two repaints at least.
  static constexpr int kShortestPeriodMs = 16;
  // Identifier of the timer set on the timer window.
  static constexpr UINT_PTR kTimerId = 1;

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

  // Before rows are added: turns the list's redraw off and arms the timer for
  // the end of the period, unless painting is held already.
  void Hold();
  // Repaints when painting is held and the period since the last repaint is over.
  void RepaintIfDue();
  // When painting is held: turns the list's redraw back on, scrolls its last
  // row into view and repaints it once.
  void Repaint();

 private:
  using Clock = std::chrono::steady_clock;

  // Ends the hold: timer killed, redraw back on.
  void Release();

  HWND timerWindow_ = nullptr;
  HWND list_ = nullptr;
  bool held_ = false;
  // When the next repaint may come.
  Clock::time_point repaintDue_;
};

}  // namespace quarent::brnlog
