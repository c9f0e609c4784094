#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "encoders/barcode_painter.h"
#include "encoders/barcode_types.h"
#include "encoders/pattern.h"

namespace barcode {

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
  // Paints the background, the bars and, when asked, the text of the encoded symbol into
  // `painter` (see barcode_painter.h); returns true when painted.
  virtual bool Draw(BarCodePainter& painter, const DrawRequest& request) const;

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
  const std::uint8_t* Symbol() const { return symbol_.empty() ? nullptr : symbol_.data(); }
  // Number of symbol values before kEndOfSymbol; 0 without a symbol.
  std::size_t SymbolLength() const { return symbolLength_; }

  // Calls visit(SymbolElement) for every bar and space of the symbol in drawing order: each
  // value's pattern entry from its most significant digit, bar first, its trailing gap counted.
  // Values without a pattern contribute nothing. Visits nothing when there is no symbol.
  template <typename Visit>
  void ForEachElement(Visit&& visit) const {
    for (std::size_t index = 0; index < symbolLength_; ++index) {
      const std::uint8_t value = symbol_[index];
      const std::uint32_t entry = value < patternCount_ ? patterns_[value] : 0;
      bool isBar = true;
      for (std::uint32_t divisor = entry == 0 ? 0 : PatternLeadingDivisor(entry); divisor != 0;
           divisor /= 10) {
        visit(SymbolElement{isBar, static_cast<int>(entry / divisor % 10)});
        isBar = !isBar;
      }
    }
  }

 protected:
  // An encoder over `table` without a text (for IsValid only).
  template <std::size_t N>
  explicit BarCodeEncoder(const std::array<std::uint32_t, N>& table)
      : BarCodeEncoder(table.data(), N, std::string_view()) {}
  // An encoder over `table` with a copy of `text` (all its bytes, embedded zeros included).
  template <std::size_t N>
  BarCodeEncoder(const std::array<std::uint32_t, N>& table, std::string_view text)
      : BarCodeEncoder(table.data(), N, text) {}

  // True when the source text is non-empty, fits and passes IsValid.
  bool SourceIsEncodable() const;
  // Puts `character` in front of the source text; false when there is no room.
  bool PrependToSource(char character);

  // Drops the symbol and sets the module count to 0.
  void ClearSymbol();
  // Starts an empty symbol with room for `capacity` values, the end marker included.
  void StartSymbol(std::size_t capacity);
  // Appends one symbol value; past the room nothing is written and FinishSymbol fails.
  void AppendValue(std::uint8_t value);
  // Ends the symbol with kEndOfSymbol and sets the module count; returns the symbol, or
  // nullptr with no symbol when the room ran out.
  const std::uint8_t* FinishSymbol(std::int32_t moduleCount);

 private:
  BarCodeEncoder(const std::uint32_t* patterns, std::size_t patternCount, std::string_view text);

  // The style's pattern table (static, immutable: shared instead of copied).
  const std::uint32_t* patterns_;
  std::size_t patternCount_;
  // Symbol values, end marker and unused room (filled with the end marker).
  std::vector<std::uint8_t> symbol_;
  std::size_t symbolLength_ = 0;
  bool symbolOverflowed_ = false;
  std::int32_t moduleCount_ = 0;
  std::int32_t quietZone_ = kQuietZone;
  // Room for the longest text, a '0' put in front by set C and the terminator.
  std::array<char, kMaxSourceLength + 2> sourceText_{};
  std::size_t sourceLength_ = 0;
  bool sourceTooLong_ = false;
};

}  // namespace barcode
