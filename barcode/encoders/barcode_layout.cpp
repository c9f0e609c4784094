// Sizing and painting shared by every style.
#include <cstdint>
#include <string>

#include "encoders/barcode_encoder.h"
#include "layout/symbol_geometry.h"

namespace barcode {

bool BarCodeEncoder::GetSize(std::int32_t moduleWidth, Extent& extent, Orientation orientation) const {
  if (moduleCount_ <= 0 || moduleWidth <= 0) return false;
  const std::int64_t symbolLength = std::int64_t{moduleWidth} * moduleCount_;
  const std::int64_t length = symbolLength + 2 * std::int64_t{quietZone_};
  std::int64_t height = 1 + (15 * symbolLength) / 100;
  if (height < quietZone_) height = quietZone_;
  if (length > INT32_MAX || height > INT32_MAX) return false;
  if (orientation == Orientation::Horizontally) {
    extent.cx = static_cast<std::int32_t>(length);
    extent.cy = static_cast<std::int32_t>(height);
  } else {
    extent.cx = static_cast<std::int32_t>(height);
    extent.cy = static_cast<std::int32_t>(length);
  }
  return true;
}

bool BarCodeEncoder::Draw(BarCodePainter& painter, const DrawRequest& request) const {
  painter.FillBackground(request.bounds);
  if (Symbol() == nullptr) return true;

  const std::int32_t textHeight = request.showText ? painter.TextHeight() : 0;
  const std::int64_t symbolLength = std::int64_t{request.moduleWidth} * moduleCount_;
  const ModuleWalk walk = StartModuleWalk(request.bounds, request.moduleWidth, symbolLength, textHeight,
                                          request.orientation, request.barAlignment);
  // Every module is its own rectangle, so the module width never snaps to whole pixels.
  PaintRectangle module = walk.first;
  ForEachElement([&](const SymbolElement& element) {
    for (int count = 0; count < element.modules; ++count) {
      if (element.isBar) painter.FillBar(module);
      module.left += walk.stepX;
      module.right += walk.stepX;
      module.top += walk.stepY;
      module.bottom += walk.stepY;
    }
  });

  if (request.showText) {
    std::string text;
    text.reserve(request.textPrefix.size() + SourceText().size() + request.textSuffix.size());
    text.append(request.textPrefix).append(SourceText()).append(request.textSuffix);
    const TextAnchor anchor =
        TextAnchorFor(request.bounds, walk, symbolLength, request.orientation, request.textAlignment);
    painter.WriteText(anchor.x, anchor.y, text, anchor.alignment);
  }
  return true;
}

}  // namespace barcode
