#include "control/control_window.h"

#include "common/error_info.h"
#include "common/module.h"

namespace quarent::barcode {
namespace {

constexpr wchar_t kWindowClassName[] = L"QRNStellonBarCode";

// Windows of the class alive in this process; the class is registered while it is not 0.
// (A window class is process-wide state of the platform.)
LONG windowsAlive = 0;

LRESULT CALLBACK ControlWindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* handler = reinterpret_cast<WindowMessageHandler*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  if (handler == nullptr || message == WM_NCCREATE || message == WM_NCDESTROY) {
    return DefWindowProcW(window, message, wParam, lParam);
  }
  return handler->OnWindowMessage(window, message, wParam, lParam);
}

HRESULT AcquireWindowClass() {
  if (windowsAlive++ > 0) return S_OK;
  WNDCLASSEXW windowClass = {};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = &ControlWindowProcedure;
  windowClass.hInstance = module::Instance();
  windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  windowClass.lpszClassName = kWindowClassName;
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    --windowsAlive;
    return StatusFromPlatformError(GetLastError());
  }
  return S_OK;
}

void ReleaseWindowClass() {
  if (--windowsAlive == 0) UnregisterClassW(kWindowClassName, module::Instance());
}

}  // namespace

HRESULT ControlWindow::Create(HWND parent, const RECT& position, WindowMessageHandler& handler) {
  Destroy();
  HRESULT status = AcquireWindowClass();
  if (FAILED(status)) return status;
  window_ = CreateWindowExW(0, kWindowClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                            position.left, position.top, position.right - position.left,
                            position.bottom - position.top, parent, nullptr, module::Instance(), &handler);
  if (window_ == nullptr) {
    status = StatusFromPlatformError(GetLastError());
    ReleaseWindowClass();
    return FAILED(status) ? status : E_FAIL;
  }
  return S_OK;
}

void ControlWindow::Destroy() {
  if (window_ == nullptr) return;
  // The parent may have taken the window with it already.
  if (IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
  ReleaseWindowClass();
}

}  // namespace quarent::barcode
