#include "layout/text_font.h"

#include <limits>

namespace quarent::barcode {

LogicalTextFont TextFontFor(const FontDescription& font, Orientation orientation) {
  LogicalTextFont textFont;
  textFont.faceName = font.faceName;
  // 10000 size units (one point) give 40 units of 0.01 mm; the division truncates toward zero.
  std::int64_t height = -(font.size / 250);
  if (height < std::numeric_limits<std::int32_t>::min()) height = std::numeric_limits<std::int32_t>::min();
  if (height > std::numeric_limits<std::int32_t>::max()) height = std::numeric_limits<std::int32_t>::max();
  textFont.height = static_cast<std::int32_t>(height);
  textFont.weight = font.bold ? 700 : 400;
  textFont.italic = font.italic;
  textFont.underline = font.underline;
  textFont.strikeOut = font.strikeOut;
  switch (orientation) {
    case Orientation::VerticallyUp: textFont.escapement = 2700; break;
    case Orientation::VerticallyDown: textFont.escapement = 900; break;
    case Orientation::Horizontally: textFont.escapement = 0; break;
  }
  return textFont;
}

}  // namespace quarent::barcode
