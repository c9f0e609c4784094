// The log window class and its window procedure.
#include <windows.h>

#include "common/com_ptr.h"
#include "common/module.h"
#include "log_window.h"
#include "resource.h"

namespace quarent::brnlog {

const char kLogWindowClass[] = "BrnLogWindow";

namespace {

// Window extra bytes: how many of the window's messages are being handled
// now, and whether the window was let go by its LogWindow.
constexpr int kHandlingSlot = 0;
constexpr int kDisposedSlot = sizeof(LONG_PTR);
constexpr int kExtraBytes = 2 * sizeof(LONG_PTR);

LRESULT CALLBACK LogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// Counts one message of `window` being handled for the scope.
class HandlingScope {
 public:
  explicit HandlingScope(HWND window) : window_(window) { Add(1); }
  HandlingScope(const HandlingScope&) = delete;
  HandlingScope& operator=(const HandlingScope&) = delete;
  ~HandlingScope() {
    if (IsWindow(window_)) Add(-1);
  }

 private:
  void Add(LONG_PTR step) {
    SetWindowLongPtrA(window_, kHandlingSlot, GetWindowLongPtrA(window_, kHandlingSlot) + step);
  }
  HWND window_;
};

// Unregisters the class once no window of it is left (the platform refuses
// while one is), so that it never outlives this module.
void ReleaseClassWhenUnused() { UnregisterClassA(kLogWindowClass, module::Instance()); }

LRESULT HandleLogWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* logWindow = reinterpret_cast<LogWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (logWindow == nullptr) {
    // A window let go while busy holds the module until it is gone.
    if (message == WM_NCDESTROY && GetWindowLongPtrA(window, kDisposedSlot) != 0) module::Unlock();
    return DefWindowProcA(window, message, wParam, lParam);
  }
  HandlingScope handling(window);
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
  if (GetWindowLongPtrA(window, kHandlingSlot) == 0) {
    DestroyWindow(window);
    ReleaseClassWhenUnused();
    return;
  }
  // Destroying it now would pull it from under the code handling its message
  // (the list view's click, a modal loop); it goes at the next dispatch.
  module::Lock();
  SetWindowLongPtrA(window, kDisposedSlot, 1);
  ShowWindow(window, SW_HIDE);
  PostMessageA(window, WM_CLOSE, 0, 0);
}

}  // namespace quarent::brnlog
