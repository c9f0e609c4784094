#pragma once

#include <cstdint>
#include <string_view>

#include "encoders/barcode_types.h"

// The drawing target of DrawSymbol. Coordinates are logical units of 0.01 mm with
// x growing to the right and y growing upward (a rectangle's top has the larger y). The
// Windows shell implements the painter over a device context in MM_HIMETRIC; it owns the bar
// and background brushes and the text font.

namespace quarent::barcode {

// Rectangle in 0.01 mm; top > bottom for a rectangle of positive height.
struct PaintRectangle {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t right = 0;
  std::int32_t bottom = 0;
};

// What DrawSymbol paints and where; the module width is in 0.01 mm (the control's BarWidth).
struct DrawRequest {
  PaintRectangle bounds;
  std::int32_t moduleWidth = 35;
  Orientation orientation = Orientation::Horizontally;
  Alignment textAlignment = Alignment::Center;
  Alignment barAlignment = Alignment::Left;
  bool showText = true;
  std::string_view textPrefix;
  std::string_view textSuffix;
};

// Portable painting operations that DrawSymbol needs.
class BarCodePainter {
 public:
  virtual ~BarCodePainter() = default;
  // Fills `rectangle` with the background paint.
  virtual void FillBackground(const PaintRectangle& rectangle) = 0;
  // Fills `rectangle` with the bar paint.
  virtual void FillBar(const PaintRectangle& rectangle) = 0;
  // Character height of the text font in 0.01 mm (its tmHeight); 0 when there is no font.
  virtual std::int32_t TextHeight() = 0;
  // Depth of the text font below its baseline in 0.01 mm (its tmDescent); 0 when there is no font.
  virtual std::int32_t TextDescent() = 0;
  // Writes `text` (ANSI) in the text font with its baseline through (x, y) and x at its left end,
  // right end or centre as `alignment` says (TA_LEFT/TA_RIGHT/TA_CENTER with TA_BASELINE).
  virtual void WriteText(std::int32_t x, std::int32_t y, std::string_view text, Alignment alignment) = 0;
};

}  // namespace quarent::barcode
