#pragma once
// The hidden window through which the service threads reach the client's
// thread: they post requests to it, and whatever loop runs on the client's
// thread dispatches them there, together with the user timers set on it.
#include "service_platform.h"

#include <memory>

#include "common/win_handles.h"

namespace quarent::service {

// Window messages of the run.
inline constexpr UINT kStartRequestMessage = WM_USER + 0x21;       // 0x421, no parameters
inline constexpr UINT kControlRequestMessage = WM_USER + 0x22;     // 0x422, wParam: control code
inline constexpr UINT kDispatcherEndedMessage = WM_USER + 0x23;    // 0x423, wParam: its error

// What the window's messages are turned into, on the client's thread. A
// handler may close the window; nothing of the window is used after it returns.
class MessageWindowHandler {
 public:
  virtual ~MessageWindowHandler() = default;
  virtual void OnStartRequest() = 0;
  virtual void OnControlRequest(DWORD code) = 0;
  virtual void OnTimer(UINT_PTR id) = 0;
  // The dispatcher thread ended without the manager (`error` from StartServiceCtrlDispatcherA).
  virtual void OnDispatcherEnded(DWORD error) = 0;
};

class MessageWindow {
 public:
  // Creates the hidden popup (no title, at 3000,3000, 2 x 2 pixels) on the
  // calling thread and hides it; null when the window cannot be created.
  static std::unique_ptr<MessageWindow> Create(MessageWindowHandler& handler);
  // Destroys the window; its messages no longer reach the handler.
  ~MessageWindow();
  MessageWindow(const MessageWindow&) = delete;
  MessageWindow& operator=(const MessageWindow&) = delete;

  HWND Handle() const { return window_.Get(); }

 private:
  explicit MessageWindow(MessageWindowHandler& handler) : handler_(handler) {}
  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  MessageWindowHandler& handler_;
  UniqueWindow window_;
};

}  // namespace quarent::service
