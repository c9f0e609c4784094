#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "encoders/barcode_types.h"
#include "encoders/pattern.h"

namespace quarent::barcode {

// One bar or space of a symbol, `modules` narrow modules wide.
struct SymbolElement {
  bool isBar;
  int modules;
};

// Extent of a symbol in 0.01 mm: cx along x, cy along y.
struct Extent {
  std::int32_t cx = 0;
  std::int32_t cy = 0;
};

// Base of the encoders of the nine styles. An encoder holds a copy of one source text (ANSI,
// at most kMaxSourceLength characters), encodes it into a symbol (one value per symbol
// character, indexing the style's pattern table, ended by kEndOfSymbol) and walks that symbol
// as bars and spaces. An encoder lives for one validation, sizing, drawing or font conversion.
class BarCodeEncoder {
 public:
  static constexpr std::size_t kMaxSourceLength = 255;
  static constexpr std::uint8_t kEndOfSymbol = 255;
  // Room for the longest symbol, end marker included: Code 128 of 256 set C digits asks 256 + 36.
  static constexpr std::size_t kMaxSymbolCapacity = kMaxSourceLength + 1 + 36;
  // Blank margin before and after the symbol, 0.01 mm.
  static constexpr std::int32_t kQuietZone = 635;

  // Frees the symbol.
  virtual ~BarCodeEncoder();
  // Validates the source text and, when it is non-empty, valid and not too long, builds the
  // symbol and sets the module count; returns the symbol (ended by kEndOfSymbol), or nullptr
  // with no symbol and a module count of 0 otherwise.
  virtual const std::uint8_t* Encode() = 0;
  // Extent in 0.01 mm of the encoded symbol with its quiet zones for modules `moduleWidth`
  // (0.01 mm) wide: length along the bars, height 15 % of the symbol length but at least the
  // quiet zone; (length, height) horizontally, (height, length) vertically. Returns false and
  // leaves `extent` alone when there is no symbol, moduleWidth <= 0 or the extent overflows.
  virtual bool GetSize(std::int32_t moduleWidth, Extent& extent, Orientation orientation) const;
  // True when every character of `text` is in the style's character set; the empty text is
  // valid and the length is not checked.
  virtual bool IsValid(std::string_view text) const = 0;

  BarCodeEncoder(const BarCodeEncoder&) = delete;
  BarCodeEncoder& operator=(const BarCodeEncoder&) = delete;

  // Source text as Encode leaves it (fixed set C puts a '0' in front of an odd-length text);
  // empty when the text given was longer than kMaxSourceLength.
  std::string_view SourceText() const { return std::string_view(sourceText_.data(), sourceLength_); }
  // True when the text given to the constructor was longer than kMaxSourceLength (never encoded).
  bool SourceTooLong() const { return sourceTooLong_; }
  // Width of the symbol in modules, quiet zones excluded; 0 without a symbol. Code 11 and
  // Codabar report an upper bound that counts every character at its widest.
  std::int32_t ModuleCount() const { return moduleCount_; }
  // Quiet zone in 0.01 mm (635).
  std::int32_t QuietZone() const { return quietZone_; }
  // The symbol values followed by kEndOfSymbol, or nullptr when there is no symbol.
  const std::uint8_t* Symbol() const { return hasSymbol_ ? symbol_.data() : nullptr; }
  // Number of symbol values before kEndOfSymbol; 0 without a symbol.
  std::size_t SymbolLength() const { return symbolLength_; }

  // Calls visit(SymbolElement) for every bar and space of the symbol in drawing order: each
  // value's pattern entry from its most significant digit, bar first, its trailing gap counted.
  // Values without a pattern contribute nothing. Visits nothing when there is no symbol.
  template <typename Visit>
  void ForEachElement(Visit&& visit) const {
    for (std::size_t index = 0; index < symbolLength_; ++index) {
      const std::uint8_t value = symbol_[index];
      if (value >= patternCount_) continue;
      const PatternElements& pattern = patterns_[value];
      for (std::uint8_t element = 0; element < pattern.count; ++element) {
        visit(SymbolElement{element % 2 == 0, pattern.widths[element]});
      }
    }
  }

  // Writes the symbol as one byte per module, 1 for a bar and 0 for a space, in the order of
  // ForEachElement; returns the number of modules written (the painted width), or 0 when there
  // is no symbol or the row is too short. A row of ModuleCount() bytes is always long enough.
  std::size_t WriteModuleRow(std::uint8_t* row, std::size_t capacity) const;

 protected:
  // An encoder over the style's pattern table (split by SplitPatterns; static, shared rather
  // than copied) without a text, for IsValid only.
  template <std::size_t N>
  explicit BarCodeEncoder(const std::array<PatternElements, N>& table)
      : BarCodeEncoder(table.data(), N, std::string_view()) {}
  // The same with a copy of `text` (all its bytes, embedded zeros included).
  template <std::size_t N>
  BarCodeEncoder(const std::array<PatternElements, N>& table, std::string_view text)
      : BarCodeEncoder(table.data(), N, text) {}

  // True when the source text is non-empty, fits and passes IsValid.
  bool SourceIsEncodable() const;
  // True when every byte of `text` is a digit '0' to '9' (the numeric symbologies).
  static bool AllDigits(std::string_view text);
  // Puts `character` in front of the source text; false when there is no room.
  bool PrependToSource(char character);

  // Drops the symbol and sets the module count to 0.
  void ClearSymbol();
  // Starts an empty symbol with room for `capacity` values (at most kMaxSymbolCapacity), the
  // end marker included.
  void StartSymbol(std::size_t capacity);
  // Appends one symbol value; past the room nothing is written and FinishSymbol fails.
  void AppendValue(std::uint8_t value) {
    // The last slot is kept for the end marker.
    if (symbolLength_ + 1 >= symbolCapacity_) {
      symbolOverflowed_ = true;
      return;
    }
    symbol_[symbolLength_++] = value;
  }
  // Ends the symbol with kEndOfSymbol and sets the module count; returns the symbol, or
  // nullptr with no symbol when the room ran out.
  const std::uint8_t* FinishSymbol(std::int32_t moduleCount);

 private:
  BarCodeEncoder(const PatternElements* patterns, std::size_t patternCount, std::string_view text);

  const PatternElements* patterns_;
  std::size_t patternCount_;
  // Symbol values and end marker; only the first symbolCapacity_ bytes belong to the symbol.
  std::array<std::uint8_t, kMaxSymbolCapacity> symbol_;
  std::size_t symbolCapacity_ = 0;
  std::size_t symbolLength_ = 0;
  bool symbolOverflowed_ = false;
  bool hasSymbol_ = false;
  std::int32_t moduleCount_ = 0;
  std::int32_t quietZone_ = kQuietZone;
  // Room for the longest text, a '0' put in front by set C and the terminator.
  std::array<char, kMaxSourceLength + 2> sourceText_;
  std::size_t sourceLength_ = 0;
  bool sourceTooLong_ = false;
};

}  // namespace quarent::barcode
