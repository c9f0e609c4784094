// Painting a symbol: background, one rectangle per module, and the text.
#include "layout/symbol_drawing.h"

#include <cstdint>
#include <string>

#include "layout/symbol_geometry.h"

namespace quarent::barcode {

bool DrawSymbol(const BarCodeEncoder& encoder, BarCodePainter& painter, const DrawRequest& request) {
  painter.FillBackground(request.bounds);
  if (encoder.Symbol() == nullptr) return true;

  const std::int32_t textHeight = request.showText ? painter.TextHeight() : 0;
  const std::int64_t symbolLength = std::int64_t{request.moduleWidth} * encoder.ModuleCount();
  const ModuleWalk walk = StartModuleWalk(request.bounds, request.moduleWidth, symbolLength, textHeight,
                                          request.orientation, request.barAlignment);
  // Every module is its own rectangle, so the module width never snaps to whole pixels.
  PaintRectangle module = walk.first;
  encoder.ForEachElement([&](const SymbolElement& element) {
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
    text.reserve(request.textPrefix.size() + encoder.SourceText().size() + request.textSuffix.size());
    text.append(request.textPrefix).append(encoder.SourceText()).append(request.textSuffix);
    const TextAnchor anchor = TextAnchorFor(request.bounds, walk, symbolLength, painter.TextDescent(),
                                            request.orientation, request.textAlignment);
    painter.WriteText(anchor.x, anchor.y, text, anchor.alignment);
  }
  return true;
}

}  // namespace quarent::barcode
