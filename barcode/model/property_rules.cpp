#include "model/property_rules.h"

#include <memory>
#include <new>

#include "encoders/code128.h"
#include "encoders/encoder_factory.h"

namespace quarent::barcode {
namespace {

bool InRange(std::int32_t value, std::int32_t low, std::int32_t high) { return value >= low && value <= high; }

}  // namespace

PropertyError CheckBarStyle(std::int32_t style) {
  return InRange(style, 1, 9) ? PropertyError::None : PropertyError::OutOfRange;
}

PropertyError CheckAlignment(std::int32_t alignment) {
  return InRange(alignment, 1, 3) ? PropertyError::None : PropertyError::OutOfRange;
}

PropertyError CheckOrientation(std::int32_t orientation) {
  return InRange(orientation, 1, 3) ? PropertyError::None : PropertyError::OutOfRange;
}

PropertyError CheckBarWidth(std::int32_t width) {
  return InRange(width, kMinBarWidth, kMaxBarWidth) ? PropertyError::None : PropertyError::BarWidthOutOfRange;
}

bool IsTextValidForStyle(BarStyle style, std::string_view text, PropertyError* error) {
  if (error) *error = PropertyError::None;
  const std::unique_ptr<BarCodeEncoder> encoder = MakeEncoder(style);
  if (!encoder) {
    if (error) *error = PropertyError::OutOfMemory;
    return false;
  }
  return encoder->IsValid(text);
}

PropertyError CheckCaption(BarStyle style, std::string_view caption) {
  PropertyError error;
  if (!IsTextValidForStyle(style, caption, &error)) {
    return error == PropertyError::None ? PropertyError::CharactersNotSupported : error;
  }
  if (caption.size() > kMaxCaptionLength) return PropertyError::CaptionTooLong;
  return PropertyError::None;
}

PropertyError CheckStyleForCaption(std::int32_t style, std::string_view caption) {
  if (CheckBarStyle(style) != PropertyError::None) return PropertyError::OutOfRange;
  PropertyError error;
  if (!IsTextValidForStyle(static_cast<BarStyle>(style), caption, &error)) {
    return error == PropertyError::None ? PropertyError::CharactersNotSupported : error;
  }
  return PropertyError::None;
}

FontStringResult Code128FontString(BarStyle currentStyle, std::string_view source, std::int32_t mode) {
  FontStringResult result;
  PropertyError error;
  if (!IsTextValidForStyle(currentStyle, source, &error)) {
    result.error = error == PropertyError::None ? PropertyError::CharactersNotSupported : error;
    return result;
  }
  if (source.size() > kMaxCaptionLength) {
    result.error = PropertyError::CaptionTooLong;
    return result;
  }
  Code128Mode code128Mode;
  switch (mode) {
    case 1: code128Mode = Code128Mode::Automatic; break;
    case 2: code128Mode = Code128Mode::SetA; break;
    case 3: code128Mode = Code128Mode::SetB; break;
    case 4: code128Mode = Code128Mode::SetC; break;
    default:
      result.error = PropertyError::OutOfMemory;
      return result;
  }
  std::unique_ptr<Code128Encoder> encoder(new (std::nothrow) Code128Encoder(source, code128Mode));
  if (!encoder) {
    result.error = PropertyError::OutOfMemory;
    return result;
  }
  result.text = std::string(encoder->FontString());
  return result;
}

}  // namespace quarent::barcode
