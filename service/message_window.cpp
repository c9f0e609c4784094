#include "message_window.h"

#include <new>

#include "common/module.h"

namespace quarent::service {
namespace {

constexpr char kClassName[] = "QRNOrtivoMessageWindow";

bool RegisterWindowClass(WNDPROC procedure) {
  WNDCLASSA windowClass = {};
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = module::Instance();
  windowClass.lpszClassName = kClassName;
  if (RegisterClassA(&windowClass) != 0) return true;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

std::unique_ptr<MessageWindow> MessageWindow::Create(MessageWindowHandler& handler) {
  std::unique_ptr<MessageWindow> created(new (std::nothrow) MessageWindow(handler));
  if (!created || !RegisterWindowClass(&MessageWindow::WindowProcedure)) return nullptr;
  HWND window = CreateWindowExA(0, kClassName, nullptr, WS_POPUP, 3000, 3000, 2, 2, nullptr, nullptr,
                                module::Instance(), nullptr);
  if (window == nullptr) return nullptr;
  created->window_.Reset(window);
  // Messages reach the handler only from here on; those of the creation itself
  // go to the default procedure.
  SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created.get()));
  ShowWindow(window, SW_HIDE);
  return created;
}

MessageWindow::~MessageWindow() {
  if (HWND window = window_.Get()) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    window_.Reset();
  }
  // The class goes with the last window, so a reloaded module registers its own.
  UnregisterClassA(kClassName, module::Instance());
}

LRESULT CALLBACK MessageWindow::WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self != nullptr) {
    MessageWindowHandler& handler = self->handler_;
    switch (message) {
      case kStartRequestMessage:
        handler.OnStartRequest();
        return 0;
      case kControlRequestMessage:
        handler.OnControlRequest(static_cast<DWORD>(wParam));
        return 0;
      case kDispatcherEndedMessage:
        handler.OnDispatcherEnded(static_cast<DWORD>(wParam));
        return 0;
      case WM_TIMER:
        handler.OnTimer(static_cast<UINT_PTR>(wParam));
        return 0;
      default:
        break;
    }
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace quarent::service
