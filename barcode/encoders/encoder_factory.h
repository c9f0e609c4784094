#pragma once

#include <memory>
#include <string_view>

#include "encoders/barcode_encoder.h"
#include "encoders/barcode_types.h"

namespace quarent::barcode {

// The encoder of `style` without a text (for IsValid); nullptr for a style outside 1..9 or
// when memory runs out.
std::unique_ptr<BarCodeEncoder> MakeEncoder(BarStyle style);
// The encoder of `style` for `text` (ANSI); nullptr for a style outside 1..9 or when memory
// runs out.
std::unique_ptr<BarCodeEncoder> MakeEncoder(BarStyle style, std::string_view text);

}  // namespace quarent::barcode
