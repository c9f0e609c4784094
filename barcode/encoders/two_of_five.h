#pragma once

#include <cstdint>
#include <string_view>

#include "encoders/barcode_encoder.h"

namespace quarent::barcode {

// Industrial 2 of 5 (style qrnBarCode2of5): digits in the bars, all spaces narrow, no check digit.
class TwoOfFiveEncoder : public BarCodeEncoder {
 public:
  // An encoder without a text, for IsValid only.
  TwoOfFiveEncoder();
  // An encoder of `text` (ANSI).
  explicit TwoOfFiveEncoder(std::string_view text);

  // Builds start, the digits (any count), stop; module count 12 per digit plus 8 each for start and stop.
  const std::uint8_t* Encode() override;
  // Digits only.
  bool IsValid(std::string_view text) const override;
};

}  // namespace quarent::barcode
