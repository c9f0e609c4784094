// The log window class and its window procedure.
#include <windows.h>

#include <new>

#include "common/com_ptr.h"
#include "common/module.h"
#include "log_window.h"
#include "resource.h"

namespace quarent::brnlog {

const char kLogWindowClass[] = "BrnLogWindow";

namespace {

// What the window procedure keeps of a log window beside its LogWindow, in
// memory of its own: the window's extra bytes would cost a round trip to the
// window server on every write, and the count below changes on every message
// (the list view sends one for each row it inserts or deletes).
struct WindowState {
  // Messages of the window being handled now.
  int handling = 0;
  // Let go by its LogWindow while busy: holds the module until it is gone.
  bool disposed = false;
  // WM_NCDESTROY seen: the state goes when the last message is handled.
  bool destroyed = false;
};

// Window extra bytes: the WindowState.
constexpr int kStateSlot = 0;
constexpr int kExtraBytes = sizeof(LONG_PTR);

WindowState* StateOf(HWND window) { return reinterpret_cast<WindowState*>(GetWindowLongPtrA(window, kStateSlot)); }

LRESULT CALLBACK LogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Counts one message of a window being handled for the scope; the last one
// out of a destroyed window deletes its state.
class HandlingScope {
 public:
  explicit HandlingScope(WindowState& state) : state_(state) { ++state_.handling; }
  HandlingScope(const HandlingScope&) = delete;
  HandlingScope& operator=(const HandlingScope&) = delete;
  ~HandlingScope() {
    if (--state_.handling == 0 && state_.destroyed) delete &state_;
  }

 private:
  WindowState& state_;
};

// Unregisters the class once no window of it is left (the platform refuses
// while one is), so that it never outlives this module.
void ReleaseClassWhenUnused() { UnregisterClassA(kLogWindowClass, module::Instance()); }

LRESULT HandleLogWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* state = new (std::nothrow) WindowState;
    if (!state) return FALSE;
    SetWindowLongPtrA(window, kStateSlot, reinterpret_cast<LONG_PTR>(state));
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  // Messages sent before WM_NCCREATE (WM_GETMINMAXINFO) find no state.
  WindowState* state = StateOf(window);
  if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  HandlingScope handling(*state);
  if (message == WM_NCDESTROY) {
    state->destroyed = true;
    SetWindowLongPtrA(window, kStateSlot, 0);
  }
  auto* logWindow = reinterpret_cast<LogWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (logWindow == nullptr) {
    if (message == WM_NCDESTROY && state->disposed) module::Unlock();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  // A Click sink or a dialog may drop the last reference to the owner; it
  // goes, if it must, when this message is done.
  ComPtr<IUnknown> keepAlive(logWindow->Owner().Identity());
  try {
    return logWindow->HandleMessage(window, message, wParam, lParam);
  } catch (...) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT CALLBACK LogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = HandleLogWindowMessage(window, message, wParam, lParam);
  // Closed by the user, or a disposed window's WM_CLOSE: it is gone now.
  if (!IsWindow(window)) ReleaseClassWhenUnused();
  return result;
}

}  // namespace

bool RegisterLogWindowClass() {
  WNDCLASSEXA existing = {};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExA(module::Instance(), kLogWindowClass, &existing)) {
    if (existing.lpfnWndProc == LogWindowProc) return true;
    // Left by an earlier load of this module at another address.
    UnregisterClassA(kLogWindowClass, module::Instance());
  }
  WNDCLASSEXA windowClass = {};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = LogWindowProc;
  windowClass.cbWndExtra = kExtraBytes;
  windowClass.hInstance = module::Instance();
  windowClass.hIcon = LoadIconA(module::Instance(), MAKEINTRESOURCEA(IDI_LOG_WINDOW));
  windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
  windowClass.lpszClassName = kLogWindowClass;
  return RegisterClassExA(&windowClass) != 0;
}

void DisposeLogWindow(HWND window) {
  SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  WindowState* state = StateOf(window);
  if (state == nullptr || state->handling == 0) {
    DestroyWindow(window);
    ReleaseClassWhenUnused();
    return;
  }
  // Destroying it now would pull it from under the code handling its message
  // (the list view's click, a modal loop); it goes at the next dispatch.
  module::Lock();
  state->disposed = true;
  ShowWindow(window, SW_HIDE);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace quarent::brnlog
