#pragma once
// The encoders' painter over a device context in MM_HIMETRIC.
#include <windows.h>

#include <optional>

#include "common/win_handles.h"
#include "layout/barcode_painter.h"

namespace quarent::barcode {

class GdiPainter : public barcode::BarCodePainter {
 public:
  // Paints into `dc` with the two brushes; `textFont` (may be null when no text is written)
  // stays selected while the painter lives. The painter owns none of them.
  GdiPainter(HDC dc, HBRUSH barBrush, HBRUSH backgroundBrush, HFONT textFont);

  void FillBackground(const barcode::PaintRectangle& rectangle) override;
  void FillBar(const barcode::PaintRectangle& rectangle) override;
  std::int32_t TextHeight() override;
  std::int32_t TextDescent() override;
  void WriteText(std::int32_t x, std::int32_t y, std::string_view text, barcode::Alignment alignment) override;

 private:
  HDC dc_;
  HBRUSH barBrush_;
  HBRUSH backgroundBrush_;
  bool hasFont_;
  std::optional<SelectedObject> selectedFont_;
};

}  // namespace quarent::barcode
