// The control window's messages: painting (also into a host's context), background and the
// mouse events.
#include "control/bar_code_control.h"

namespace quarent::barcode {
namespace {

using barcode::MouseAction;

std::int16_t KeysHeld() {
  std::int16_t shift = 0;
  if (GetKeyState(VK_SHIFT) < 0) shift |= barcode::kShiftKey;
  if (GetKeyState(VK_CONTROL) < 0) shift |= barcode::kControlKey;
  if (GetKeyState(VK_MENU) < 0) shift |= barcode::kAltKey;
  return shift;
}

std::int16_t ButtonsHeld(WPARAM keys) {
  std::int16_t buttons = 0;
  if (keys & MK_LBUTTON) buttons |= barcode::kLeftButton;
  if (keys & MK_RBUTTON) buttons |= barcode::kRightButton;
  if (keys & MK_MBUTTON) buttons |= barcode::kMiddleButton;
  return buttons;
}

// The action and button of a mouse button message; false for any other message.
bool ButtonMessage(UINT message, MouseAction* action, std::int16_t* button) {
  switch (message) {
    case WM_LBUTTONDOWN: *action = MouseAction::Press; *button = barcode::kLeftButton; return true;
    case WM_RBUTTONDOWN: *action = MouseAction::Press; *button = barcode::kRightButton; return true;
    case WM_MBUTTONDOWN: *action = MouseAction::Press; *button = barcode::kMiddleButton; return true;
    case WM_LBUTTONUP: *action = MouseAction::Release; *button = barcode::kLeftButton; return true;
    case WM_RBUTTONUP: *action = MouseAction::Release; *button = barcode::kRightButton; return true;
    case WM_MBUTTONUP: *action = MouseAction::Release; *button = barcode::kMiddleButton; return true;
    case WM_LBUTTONDBLCLK: *action = MouseAction::DoubleClick; *button = barcode::kLeftButton; return true;
    case WM_RBUTTONDBLCLK: *action = MouseAction::DoubleClick; *button = barcode::kRightButton; return true;
    case WM_MBUTTONDBLCLK: *action = MouseAction::DoubleClick; *button = barcode::kMiddleButton; return true;
    default: return false;
  }
}

// Fills the whole client area of `window` in `dc` with `backColor`.
void EraseBackground(HWND window, HDC dc, OLE_COLOR backColor) {
  RECT client;
  GetClientRect(window, &client);
  COLORREF rgb = 0;
  if (FAILED(OleTranslateColor(backColor, nullptr, &rgb))) rgb = backColor & 0xFFFFFF;
  GdiObject<HBRUSH> brush(CreateSolidBrush(rgb));
  FillRect(dc, &client, brush.Get());
}

}  // namespace

void BarCodeControl::RaiseMouseEvents(MouseAction action, std::int16_t button, LPARAM position) {
  const barcode::MouseEvents events =
      mouse_.Map(action, button, KeysHeld(), static_cast<std::uint32_t>(position));
  for (size_t index = 0; index < events.count; ++index) {
    const barcode::MouseEvent& event = events.items[index];
    const auto id = static_cast<DISPID>(event.id);
    if (event.id == barcode::MouseEventId::Click || event.id == barcode::MouseEventId::DblClick) {
      events_.RaiseEvent(id);
      continue;
    }
    VARIANT arguments[4];  // reversed: y, x, Shift, Button
    arguments[0].vt = VT_I4;
    arguments[0].lVal = event.y;
    arguments[1].vt = VT_I4;
    arguments[1].lVal = event.x;
    arguments[2].vt = VT_I2;
    arguments[2].iVal = event.shift;
    arguments[3].vt = VT_I2;
    arguments[3].iVal = event.button;
    events_.RaiseEvent(id, arguments, 4);
  }
}

LRESULT BarCodeControl::OnWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  MouseAction action;
  std::int16_t button;
  if (ButtonMessage(message, &action, &button)) {
    // The object may be released by a sink; keep it alive until the events are out.
    ComPtr<IUnknown> keepAlive(static_cast<IOleObject*>(this));
    RaiseMouseEvents(action, button, lParam);
    return 0;
  }
  switch (message) {
    case WM_MOUSEMOVE: {
      ComPtr<IUnknown> keepAlive(static_cast<IOleObject*>(this));
      RaiseMouseEvents(MouseAction::Move, ButtonsHeld(wParam), lParam);
      return 0;
    }
    case WM_ERASEBKGND:
      EraseBackground(window, reinterpret_cast<HDC>(wParam), backColor_);
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      if (dc) {
        RECT client;
        GetClientRect(window, &client);
        PaintInto(dc, client);
      }
      EndPaint(window, &paint);
      return 0;
    }
    case WM_PRINTCLIENT: {
      // A host drawing the window into its own context (PrintWindow, WM_PRINT through the
      // default procedure, DrawToBitmap) gets the picture WM_PAINT puts on the screen.
      HDC dc = reinterpret_cast<HDC>(wParam);
      EraseBackground(window, dc, backColor_);
      RECT client;
      GetClientRect(window, &client);
      PaintInto(dc, client);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace quarent::barcode
