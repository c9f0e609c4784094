#pragma once

#include <cstdint>
#include <string_view>

#include "encoders/barcode_encoder.h"

namespace quarent::barcode {

// Codabar (style qrnBarCodeCodeabar); the text carries its own start and stop letters.
class CodabarEncoder : public BarCodeEncoder {
 public:
  // An encoder without a text, for IsValid only.
  CodabarEncoder();
  // An encoder of `text` (ANSI).
  explicit CodabarEncoder(std::string_view text);

  // Builds the characters as typed; the module count is the upper bound 11 per character.
  const std::uint8_t* Encode() override;
  // First and last character A..D, between them $ + - . / : and digits; a single letter A..D is valid.
  bool IsValid(std::string_view text) const override;
};

}  // namespace quarent::barcode
