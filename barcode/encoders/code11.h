#pragma once

#include <cstdint>
#include <string_view>

#include "encoders/barcode_encoder.h"

namespace quarent::barcode {

// Code 11 (style qrnBarCode11) with one modulo-11 check character.
class Code11Encoder : public BarCodeEncoder {
 public:
  // An encoder without a text, for IsValid only.
  Code11Encoder();
  // An encoder of `text` (ANSI).
  explicit Code11Encoder(std::string_view text);

  // Builds start, the characters, the check character, stop; the module count is the upper bound 8 per character.
  const std::uint8_t* Encode() override;
  // '-' and digits only.
  bool IsValid(std::string_view text) const override;
};

}  // namespace quarent::barcode
