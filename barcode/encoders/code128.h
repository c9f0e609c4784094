#pragma once

#include <cstdint>
#include <array>
#include <string_view>

#include "encoders/barcode_encoder.h"

namespace quarent::barcode {

// Code 128 set choice: a fixed set or the automatic choice.
enum class Code128Mode : int {
  SetA = 0,
  SetB = 1,
  SetC = 2,
  Automatic = 3,
};

// Code 128 (styles qrnBarCode128, 128A, 128B, 128C) and the Code 128 barcode font string.
class Code128Encoder : public BarCodeEncoder {
 public:
  // Longest font string: start, 255 characters, check and stop fit well within it.
  static constexpr std::size_t kMaxFontStringLength = 299;

  // An encoder without a text, for IsValid only.
  explicit Code128Encoder(Code128Mode mode);
  // An encoder of `text` (ANSI) in `mode`.
  Code128Encoder(std::string_view text, Code128Mode mode);

  // Builds start, data and code characters, check character and stop (values 0..106);
  // module count 11 per character and 13 for the stop.
  const std::uint8_t* Encode() override;
  // Codes 32..126 only; set A also refuses 96..126, set C accepts digits only.
  bool IsValid(std::string_view text) const override;

  // Encodes and returns the same symbol as characters of a Code 128 barcode font (value 0 as
  // 232, 1..94 as value + 32, 95..106 as value + 97); empty when the text cannot be encoded.
  // The view stays valid until the encoder is used again or destroyed.
  std::string_view FontString();

  // The set choice of this encoder.
  Code128Mode Mode() const { return mode_; }

 private:
  // Appends symbol values to this encoder's symbol for one Encode, holding the set in use
  // and the check sum.
  class SymbolWriter;

  Code128Mode mode_;
  // Characters of the last FontString, terminated.
  std::array<char, kMaxFontStringLength + 1> fontString_;
};

}  // namespace quarent::barcode
