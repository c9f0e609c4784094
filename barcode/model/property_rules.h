#pragma once
// The checks the control applies to new property values, and the results of its text
// methods, independent of the automation layer.

#include <cstdint>
#include <string>
#include <string_view>

#include "encoders/barcode_types.h"

namespace quarent::barcode {

// Why a value is refused. The numbered kinds are reported with the control's error texts.
enum class PropertyError {
  None,
  // An enumeration value out of range: the invalid-argument status without a text.
  OutOfRange,
  // No encoder could be made: the out-of-memory status without a text.
  OutOfMemory,
  // Text 1001: a character the barcode style cannot encode.
  CharactersNotSupported,
  // Text 1002: 256 characters or more.
  CaptionTooLong,
  // Text 1003: a bar width outside 20..250.
  BarWidthOutOfRange,
  // Text 1004: the font is not a TrueType font (or there is none).
  FontNotTrueType,
};

// The string-table id of the error text of `error`, or 0 when it has none.
constexpr unsigned ErrorTextId(PropertyError error) {
  switch (error) {
    case PropertyError::CharactersNotSupported: return 1001;
    case PropertyError::CaptionTooLong: return 1002;
    case PropertyError::BarWidthOutOfRange: return 1003;
    case PropertyError::FontNotTrueType: return 1004;
    default: return 0;
  }
}

// Longest caption, in characters of the ANSI code page.
constexpr std::size_t kMaxCaptionLength = 255;
// Narrowest and widest module, in 0.01 mm.
constexpr std::int32_t kMinBarWidth = 20;
constexpr std::int32_t kMaxBarWidth = 250;

// BarStyle: 1..9.
PropertyError CheckBarStyle(std::int32_t style);
// TextAlignment and BarAlignment: 1..3.
PropertyError CheckAlignment(std::int32_t alignment);
// BarOrientation: 1..3.
PropertyError CheckOrientation(std::int32_t orientation);
// BarWidth: 20..250.
PropertyError CheckBarWidth(std::int32_t width);

// True when every character of `text` (ANSI) belongs to the character set of `style`;
// `error` tells OutOfMemory apart (then the result is false).
bool IsTextValidForStyle(BarStyle style, std::string_view text, PropertyError* error = nullptr);

// A new Caption under the current `style`: its characters first (1001), then its length (1002).
PropertyError CheckCaption(BarStyle style, std::string_view caption);

// A new BarStyle while the caption is `caption`: the range first, then the caption under it (1001).
PropertyError CheckStyleForCaption(std::int32_t style, std::string_view caption);

// Result of StringToBC128Font.
struct FontStringResult {
  PropertyError error = PropertyError::None;
  // The Code 128 font characters (ANSI code page); empty on every error.
  std::string text;
};

// StringToBC128Font: `source` is checked against the control's `currentStyle` (1001) and its
// length (1002); `mode` 1..4 picks automatic, set A, B or C (else OutOfMemory, as the control
// reports it). The font string of a text the mode cannot encode is empty without an error.
FontStringResult Code128FontString(BarStyle currentStyle, std::string_view source, std::int32_t mode);

}  // namespace quarent::barcode
