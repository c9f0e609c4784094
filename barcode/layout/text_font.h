#pragma once
// The font the human-readable text and the notices are written in, derived from the
// control's Font property.

#include <cstdint>
#include <string>

#include "encoders/barcode_types.h"

namespace quarent::barcode {

// The font object's properties that the text font is made from.
struct FontDescription {
  std::string faceName;
  // Size in 1/10000 point (the platform's currency value).
  std::int64_t size = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// A logical font in 0.01 mm units, ready to be created in an MM_HIMETRIC context.
struct LogicalTextFont {
  std::string faceName;
  // Character height: negative, 40 units per point, truncated toward zero.
  std::int32_t height = 0;
  // 700 when bold, else 400.
  std::int32_t weight = 400;
  // Tenths of a degree, counter-clockwise; equal to the orientation of the glyphs.
  std::int32_t escapement = 0;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

// The text font for `font` beside a symbol of `orientation`: 0 for horizontal symbols, 2700
// beside qrnVerticallyUp, 900 beside qrnVerticallyDown.
LogicalTextFont TextFontFor(const FontDescription& font, Orientation orientation);

}  // namespace quarent::barcode
