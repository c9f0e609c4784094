#pragma once

#include <cstdint>
#include <string_view>

#include "encoders/barcode_encoder.h"

namespace quarent::barcode {

// MSI (style qrnBarCodeMSI) with one modulo-10 check digit.
class MsiEncoder : public BarCodeEncoder {
 public:
  // An encoder without a text, for IsValid only.
  MsiEncoder();
  // An encoder of `text` (ANSI).
  explicit MsiEncoder(std::string_view text);

  // Builds start, the digits, the check digit, stop; module count 12 per digit plus 3 for start and 4 for stop.
  const std::uint8_t* Encode() override;
  // Digits only.
  bool IsValid(std::string_view text) const override;
};

}  // namespace quarent::barcode
