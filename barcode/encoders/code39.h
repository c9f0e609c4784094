#pragma once

#include <cstdint>
#include <string_view>

#include "encoders/barcode_encoder.h"

namespace quarent::barcode {

// Code 39 (style qrnBarCode39), narrow to wide 1:2, no check character.
class Code39Encoder : public BarCodeEncoder {
 public:
  // An encoder without a text, for IsValid only.
  Code39Encoder();
  // An encoder of `text` (ANSI).
  explicit Code39Encoder(std::string_view text);

  // Builds '*', the characters, '*'; module count 13 per character.
  const std::uint8_t* Encode() override;
  // Space, $ % + - . / digits and upper-case letters only.
  bool IsValid(std::string_view text) const override;
};

}  // namespace quarent::barcode
