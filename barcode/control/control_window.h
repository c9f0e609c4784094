#pragma once
// The control's own child window: its window class, and the forwarding of its messages to
// the object that owns it.
#include <windows.h>

namespace quarent::barcode {

// Receives the messages of a ControlWindow.
class WindowMessageHandler {
 public:
  virtual LRESULT OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~WindowMessageHandler() = default;
};

// A child window of the control's window class, destroyed with its owner. The class is
// registered while at least one such window exists.
class ControlWindow {
 public:
  ControlWindow() = default;
  ControlWindow(const ControlWindow&) = delete;
  ControlWindow& operator=(const ControlWindow&) = delete;
  ~ControlWindow() { Destroy(); }

  // Creates the window, visible, as a child of `parent` at `position` (parent client pixels);
  // its messages go to `handler` until it is destroyed.
  HRESULT Create(HWND parent, const RECT& position, WindowMessageHandler& handler);
  // Destroys the window if it still exists.
  void Destroy();
  HWND Get() const { return window_; }
  explicit operator bool() const { return window_ != nullptr; }

 private:
  HWND window_ = nullptr;
};

}  // namespace quarent::barcode
