#include "model/mouse_events.h"

namespace quarent::barcode {

MouseEvents MouseEventMapper::Map(MouseAction action, std::int16_t button, std::int16_t shift,
                                  std::uint32_t position) {
  const MouseEvent withArguments{MouseEventId::MouseMove, button, shift, static_cast<std::int32_t>(position & 0xFFFF),
                                 static_cast<std::int32_t>(position >> 16)};
  MouseEvents events;
  auto add = [&events](MouseEvent event, MouseEventId id) {
    event.id = id;
    events.items[events.count++] = event;
  };
  switch (action) {
    case MouseAction::Move:
      add(withArguments, MouseEventId::MouseMove);
      break;
    case MouseAction::Press:
      add(withArguments, MouseEventId::MouseDown);
      break;
    case MouseAction::Release:
      add(withArguments, MouseEventId::MouseUp);
      if (!doubleClickSinceRelease_) add(MouseEvent{}, MouseEventId::Click);
      doubleClickSinceRelease_ = false;
      break;
    case MouseAction::DoubleClick:
      doubleClickSinceRelease_ = true;
      add(MouseEvent{}, MouseEventId::DblClick);
      break;
  }
  return events;
}

}  // namespace quarent::barcode
