#include "deferred_painting.h"

#include <commctrl.h>

#include <algorithm>

namespace quarent::brnlog {
namespace {

// Rows get this many times the last repaint's duration before the next one.
constexpr int kRowsPerPaintTime = 3;

}  // namespace

void DeferredPainting::Attach(HWND timerWindow, HWND list) {
  Detach();
  timerWindow_ = timerWindow;
  list_ = list;
}

void DeferredPainting::Detach() {
  Release();
  timerWindow_ = nullptr;
  list_ = nullptr;
}

void DeferredPainting::Hold() {
  if (held_ || !list_) return;
  held_ = true;
  SendMessageA(list_, WM_SETREDRAW, FALSE, 0);
  // Repaints the last rows of a burst, when no call is left to do it.
  const auto wait = std::chrono::ceil<std::chrono::milliseconds>(repaintDue_ - Clock::now()).count();
  SetTimer(timerWindow_, kTimerId, static_cast<UINT>(std::max<decltype(wait)>(wait, 1)), nullptr);
}

void DeferredPainting::RepaintIfDue() {
  if (held_ && Clock::now() >= repaintDue_) Repaint();
}

void DeferredPainting::Repaint() {
  if (!held_) return;
  const Clock::time_point start = Clock::now();
  Release();
  // Scrolled only with redraw on: a list view with redraw off keeps its
  // scroll range as it was and would not scroll past it.
  const LRESULT count = SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0);
  if (count > 0) SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
  UpdateWindow(list_);
  const Clock::time_point end = Clock::now();
  repaintDue_ = end + std::max<Clock::duration>(std::chrono::milliseconds(kShortestPeriodMs),
                                                 kRowsPerPaintTime * (end - start));
}

void DeferredPainting::Release() {
  if (!held_) return;
  held_ = false;
  KillTimer(timerWindow_, kTimerId);
  if (IsWindow(list_)) SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
}

}  // namespace quarent::brnlog
