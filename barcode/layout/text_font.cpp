#include "layout/text_font.h"

#include <limits>

namespace barcode {

TextFontSpec TextFontFor(const FontDescription& font, Orientation orientation) {
  TextFontSpec spec;
  spec.faceName = font.faceName;
  // 10000 size units (one point) give 40 units of 0.01 mm; the division truncates toward zero.
  std::int64_t height = -(font.size / 250);
  if (height < std::numeric_limits<std::int32_t>::min()) height = std::numeric_limits<std::int32_t>::min();
  if (height > std::numeric_limits<std::int32_t>::max()) height = std::numeric_limits<std::int32_t>::max();
  spec.height = static_cast<std::int32_t>(height);
  spec.weight = font.bold ? 700 : 400;
  spec.italic = font.italic;
  spec.underline = font.underline;
  spec.strikeOut = font.strikeOut;
  switch (orientation) {
    case Orientation::VerticallyUp: spec.escapement = 2700; break;
    case Orientation::VerticallyDown: spec.escapement = 900; break;
    case Orientation::Horizontally: spec.escapement = 0; break;
  }
  return spec;
}

}  // namespace barcode
