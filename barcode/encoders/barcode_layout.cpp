// Sizing and painting shared by every style.
#include <cstdint>

#include "encoders/barcode_encoder.h"

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

bool BarCodeEncoder::Draw(BarCodePainter& /*painter*/, const DrawRequest& /*request*/) const {
  // Painting comes with the layout code; until then nothing is drawn.
  return false;
}

}  // namespace barcode
