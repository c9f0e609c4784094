#pragma once
// Where a symbol's modules and its text go inside a rectangle, and the sizes derived from a
// symbol's extent. All lengths are in 0.01 mm, in a space where y grows upward (MM_HIMETRIC).

#include <cstdint>

#include "encoders/barcode_encoder.h"
#include "layout/barcode_painter.h"
#include "encoders/barcode_types.h"

namespace quarent::barcode {

// The first module rectangle of a symbol and the step from one module to the next.
struct ModuleWalk {
  PaintRectangle first;
  std::int32_t stepX = 0;
  std::int32_t stepY = 0;
};

// Anchor of the human-readable text: the point its baseline goes through and which end
// (or the centre) of the text lies on it.
struct TextAnchor {
  std::int32_t x = 0;
  std::int32_t y = 0;
  Alignment alignment = Alignment::Center;
};

// Absolute value of a 32-bit length, widened so that INT32_MIN stays exact.
constexpr std::int64_t AbsoluteLength(std::int32_t from, std::int32_t to) {
  const std::int64_t length = std::int64_t{to} - from;
  return length < 0 ? -length : length;
}

// Room left along the bars in `bounds` once a symbol `symbolLength` long and its two quiet
// zones are placed; negative when the symbol does not fit.
constexpr std::int64_t FreeSpaceAlongBars(const PaintRectangle& bounds, std::int64_t symbolLength,
                                          Orientation orientation) {
  const std::int64_t room = orientation == Orientation::Horizontally ? AbsoluteLength(bounds.left, bounds.right)
                                                                      : AbsoluteLength(bounds.bottom, bounds.top);
  return room - (symbolLength + 2 * std::int64_t{BarCodeEncoder::kQuietZone});
}

// Distance the symbol moves from its start edge for `barAlignment`: none for qrnLeft, all the
// free space for qrnRight, half of it (truncated toward zero) for qrnCenter.
constexpr std::int64_t AlignmentShift(std::int64_t freeSpace, Alignment barAlignment) {
  switch (barAlignment) {
    case Alignment::Right: return freeSpace;
    case Alignment::Center: return freeSpace / 2;
    case Alignment::Left: break;
  }
  return 0;
}

// The first module rectangle (already moved for `barAlignment`) and the module step of a
// symbol `symbolLength` long with modules `moduleWidth` wide, painted in `bounds` beside a
// text band `textHeight` high (0 when no text is shown).
constexpr ModuleWalk StartModuleWalk(const PaintRectangle& bounds, std::int32_t moduleWidth,
                                     std::int64_t symbolLength, std::int32_t textHeight,
                                     Orientation orientation, Alignment barAlignment) {
  constexpr std::int32_t quiet = BarCodeEncoder::kQuietZone;
  const std::int64_t shift =
      AlignmentShift(FreeSpaceAlongBars(bounds, symbolLength, orientation), barAlignment);
  ModuleWalk walk;
  switch (orientation) {
    case Orientation::VerticallyUp: {
      const std::int64_t width = AbsoluteLength(bounds.left, bounds.right);
      const std::int64_t start = std::int64_t{bounds.bottom} + quiet + shift;
      walk.first = {bounds.left, static_cast<std::int32_t>(start + moduleWidth),
                    static_cast<std::int32_t>(bounds.left + width - textHeight), static_cast<std::int32_t>(start)};
      walk.stepY = moduleWidth;
      break;
    }
    case Orientation::VerticallyDown: {
      const std::int64_t start = std::int64_t{bounds.top} - quiet - shift;
      walk.first = {bounds.left + textHeight, static_cast<std::int32_t>(start), bounds.right,
                    static_cast<std::int32_t>(start - moduleWidth)};
      walk.stepY = -moduleWidth;
      break;
    }
    case Orientation::Horizontally: {
      const std::int64_t height = AbsoluteLength(bounds.bottom, bounds.top);
      const std::int64_t start = std::int64_t{bounds.left} + quiet + shift;
      walk.first = {static_cast<std::int32_t>(start), bounds.top, static_cast<std::int32_t>(start + moduleWidth),
                    static_cast<std::int32_t>(bounds.top - height + textHeight)};
      walk.stepX = moduleWidth;
      break;
    }
  }
  return walk;
}

// Where the text of a symbol `symbolLength` long goes: at the symbol's start, end or middle as
// `textAlignment` says, with its baseline `textDescent` inside the outer side of the text band,
// so that the descenders stay inside the band too.
constexpr TextAnchor TextAnchorFor(const PaintRectangle& bounds, const ModuleWalk& walk, std::int64_t symbolLength,
                                   std::int32_t textDescent, Orientation orientation, Alignment textAlignment) {
  std::int64_t start = 0;
  std::int64_t end = 0;
  switch (orientation) {
    case Orientation::Horizontally:
      start = walk.first.left;
      end = start + symbolLength;
      break;
    case Orientation::VerticallyUp:
      start = walk.first.bottom;
      end = start + symbolLength;
      break;
    case Orientation::VerticallyDown:
      start = walk.first.top;
      end = start - symbolLength;
      break;
  }
  std::int64_t along = start;
  if (textAlignment == Alignment::Right) along = end;
  if (textAlignment == Alignment::Center) along = (start + end) / 2;
  const auto position = static_cast<std::int32_t>(along);
  // The glyphs rise from the baseline toward the bars: up when horizontal, to the left beside
  // a symbol running up, to the right beside one running down.
  switch (orientation) {
    case Orientation::VerticallyUp:
      return {static_cast<std::int32_t>(std::int64_t{bounds.right} - textDescent), position, textAlignment};
    case Orientation::VerticallyDown:
      return {static_cast<std::int32_t>(std::int64_t{bounds.left} + textDescent), position, textAlignment};
    case Orientation::Horizontally: break;
  }
  return {position, static_cast<std::int32_t>(std::int64_t{bounds.bottom} + textDescent), textAlignment};
}

// The smallest extent that holds a symbol of extent `symbolExtent` and its text band
// `textHeight` high: below the bars when horizontal, beside them when vertical.
constexpr Extent WithTextBand(Extent symbolExtent, std::int32_t textHeight, Orientation orientation) {
  if (orientation == Orientation::Horizontally) {
    symbolExtent.cy += textHeight;
  } else {
    symbolExtent.cx += textHeight;
  }
  return symbolExtent;
}

// The extent AutoSize gives the control: the valid size plus a tenth (truncated) per axis.
constexpr Extent WithAutoSizeMargin(Extent validSize) {
  return {validSize.cx + validSize.cx / 10, validSize.cy + validSize.cy / 10};
}

// Pixels covered by `length` 0.01 mm at `dotsPerInch`, rounded to the nearest pixel.
constexpr std::int32_t HimetricToPixels(std::int32_t length, std::int32_t dotsPerInch) {
  return static_cast<std::int32_t>((std::int64_t{dotsPerInch} * length + 1270) / 2540);
}

}  // namespace quarent::barcode
