#include "deferred_painting.h"

#include <commctrl.h>

namespace quarent::brnlog {

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
  SetTimer(timerWindow_, kTimerId, kRepaintPeriodMs, nullptr);
}

void DeferredPainting::RepaintIfDue() {
  if (held_ && std::chrono::steady_clock::now() - repaintedAt_ >= std::chrono::milliseconds(kRepaintPeriodMs)) {
    Repaint();
  }
}

void DeferredPainting::Repaint() {
  if (!held_) return;
  Release();
  // Scrolled only with redraw on: a list view with redraw off keeps its
  // scroll range as it was and would not scroll past it.
  const LRESULT count = SendMessageA(list_, LVM_GETITEMCOUNT, 0, 0);
  if (count > 0) SendMessageA(list_, LVM_ENSUREVISIBLE, static_cast<WPARAM>(count - 1), FALSE);
  UpdateWindow(list_);
  // Counted from the end of the repaint: however long a repaint takes, rows
  // get a whole period between two of them.
  repaintedAt_ = std::chrono::steady_clock::now();
}

void DeferredPainting::Release() {
  if (!held_) return;
  held_ = false;
  KillTimer(timerWindow_, kTimerId);
  if (IsWindow(list_)) SendMessageA(list_, WM_SETREDRAW, TRUE, 0);
}

}  // namespace quarent::brnlog
