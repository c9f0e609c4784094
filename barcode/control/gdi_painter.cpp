#include "control/gdi_painter.h"

namespace quarent::barcode {
namespace {

RECT ToRect(const barcode::PaintRectangle& rectangle) {
  return RECT{rectangle.left, rectangle.top, rectangle.right, rectangle.bottom};
}

}  // namespace

GdiPainter::GdiPainter(HDC dc, HBRUSH barBrush, HBRUSH backgroundBrush, HFONT textFont)
    : dc_(dc), barBrush_(barBrush), backgroundBrush_(backgroundBrush), hasFont_(textFont != nullptr) {
  if (hasFont_) selectedFont_.emplace(dc, textFont);
}

void GdiPainter::FillBackground(const barcode::PaintRectangle& rectangle) {
  const RECT area = ToRect(rectangle);
  FillRect(dc_, &area, backgroundBrush_);
}

void GdiPainter::FillBar(const barcode::PaintRectangle& rectangle) {
  const RECT area = ToRect(rectangle);
  FillRect(dc_, &area, barBrush_);
}

std::int32_t GdiPainter::TextHeight() {
  if (!hasFont_) return 0;
  TEXTMETRICA metrics = {};
  return GetTextMetricsA(dc_, &metrics) ? metrics.tmHeight : 0;
}

std::int32_t GdiPainter::TextDescent() {
  if (!hasFont_) return 0;
  TEXTMETRICA metrics = {};
  return GetTextMetricsA(dc_, &metrics) ? metrics.tmDescent : 0;
}

void GdiPainter::WriteText(std::int32_t x, std::int32_t y, std::string_view text, barcode::Alignment alignment) {
  UINT horizontal = TA_CENTER;
  if (alignment == barcode::Alignment::Left) horizontal = TA_LEFT;
  if (alignment == barcode::Alignment::Right) horizontal = TA_RIGHT;
  SetTextAlign(dc_, horizontal | TA_BASELINE);
  TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

}  // namespace quarent::barcode
