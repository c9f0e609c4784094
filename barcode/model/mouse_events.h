#pragma once
// How the mouse messages of the control's window become its five mouse events.

#include <array>
#include <cstddef>
#include <cstdint>

namespace quarent::barcode {

// Dispatch ids of the events (_IQRNBarCodeEvents).
enum class MouseEventId : std::int32_t {
  Click = -600,
  DblClick = -601,
  MouseDown = -605,
  MouseMove = -606,
  MouseUp = -607,
};

// Button values of the events, combined as bits for a move.
enum MouseButtonBits : std::int16_t {
  kLeftButton = 1,
  kRightButton = 2,
  kMiddleButton = 4,
};

// Shift values of the events, combined as bits.
enum ShiftBits : std::int16_t {
  kShiftKey = 1,
  kControlKey = 2,
  kAltKey = 4,
};

// What happened in the window.
enum class MouseAction { Move, Press, Release, DoubleClick };

// One event to raise; Click and DblClick have no arguments.
struct MouseEvent {
  MouseEventId id = MouseEventId::Click;
  std::int16_t button = 0;
  std::int16_t shift = 0;
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// The events of one message, in the order they are raised.
struct MouseEvents {
  std::array<MouseEvent, 2> items{};
  std::size_t count = 0;
};

// Turns mouse messages into events. A release raises MouseUp and then Click, unless a
// double-click came since the previous release; a double-click raises DblClick.
class MouseEventMapper {
 public:
  // `button` is the button pressed or released (kLeftButton, ...) or, for a move, the buttons
  // held; `shift` the keys held (kShiftKey, ...); `position` the message's packed client
  // position, low word x and high word y, each read as an unsigned 16-bit number.
  MouseEvents Map(MouseAction action, std::int16_t button, std::int16_t shift, std::uint32_t position);

 private:
  bool doubleClickSinceRelease_ = false;
};

}  // namespace quarent::barcode
