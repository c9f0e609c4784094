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
  // Reads the character at the read position into currentCharacter_ (-1 past the end).
  void ReadNext();
  // Number of consecutive digits from `position` on.
  int DigitRunAt(int position) const;
  // True when no character of codes 96..127 occurs from `position` to the end.
  bool NoLowerCaseFrom(int position) const;
  // Writes the start character of `set`, or the code character that switches to it.
  void SelectSet(char set);
  // Selects set A when the rest of the text allows it, else set B.
  void ChooseSetAOrB();
  // Writes the current character in set A or B and reads the next one.
  void WriteCharacter();
  // Writes `pairs` digit pairs in set C, reading past both digits of each.
  void WriteDigitPairs(int pairs);
  // Adds one symbol value with its weight to the check sum.
  void WriteValue(int value);
  // Automatic set choice over the whole text.
  void EncodeAutomatic();
  // Appends check character, stop and end marker and sets the module count.
  const std::uint8_t* Close();

  Code128Mode mode_;
  // Encoding state, reset by every Encode.
  int currentCharacter_ = 0;
  int readPosition_ = 0;
  int sourceLength_ = 0;
  char currentSet_ = 0;
  int symbolCount_ = 0;
  int checkSum_ = 0;
  bool awaitingStart_ = true;
  std::array<char, kMaxFontStringLength + 1> fontString_;
  std::size_t fontStringLength_ = 0;
};

}  // namespace quarent::barcode
