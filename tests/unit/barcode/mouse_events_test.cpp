// Mouse messages to events, with the double-click rule.
#include <gtest/gtest.h>

#include <string>

#include "model/mouse_events.h"

namespace quarent::barcode {
namespace {

std::string Summary(const MouseEvents& events) {
  std::string text;
  for (size_t index = 0; index < events.count; ++index) {
    const MouseEvent& event = events.items[index];
    if (!text.empty()) text += ' ';
    text += std::to_string(static_cast<int>(event.id));
    if (event.id != MouseEventId::Click && event.id != MouseEventId::DblClick) {
      text += "(" + std::to_string(event.button) + "," + std::to_string(event.shift) + "," + std::to_string(event.x) +
              "," + std::to_string(event.y) + ")";
    }
  }
  return text;
}

TEST(MouseEvents, ADoubleClickSequenceHasOneClick) {
  MouseEventMapper mapper;
  struct Row {
    MouseAction action;
    std::int16_t button;
    std::string expected;
  };
  const std::uint32_t position = (7u << 16) | 5u;
  const Row rows[] = {
      {MouseAction::Press, kLeftButton, "-605(1,0,5,7)"},
      {MouseAction::Release, kLeftButton, "-607(1,0,5,7) -600"},
      {MouseAction::DoubleClick, kLeftButton, "-601"},
      {MouseAction::Release, kLeftButton, "-607(1,0,5,7)"},
      {MouseAction::Press, kRightButton, "-605(2,0,5,7)"},
      {MouseAction::Release, kRightButton, "-607(2,0,5,7) -600"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.expected);
    EXPECT_EQ(row.expected, Summary(mapper.Map(row.action, row.button, 0, position)));
  }
}

TEST(MouseEvents, PositionsAreUnsignedWordsAndKeysPassThrough) {
  MouseEventMapper mapper;
  EXPECT_EQ("-606(5,3,65535,65534)",
            Summary(mapper.Map(MouseAction::Move, kLeftButton | kMiddleButton, kShiftKey | kControlKey, 0xFFFEFFFFu)));
  EXPECT_EQ("-605(4,4,0,0)", Summary(mapper.Map(MouseAction::Press, kMiddleButton, kAltKey, 0)));
}

}  // namespace
}  // namespace quarent::barcode
