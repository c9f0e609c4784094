#include "encoders/msi.h"

#include <array>

namespace quarent::barcode {
namespace {

// Digits 0..9 as four bits, most significant first: bit 0 narrow bar and wide space (12), bit 1
// wide bar and narrow space (21); start (10) 21, stop (11) 121. Checked against the MSI
// (Modified Plessey) bit table with wide = 2 modules.
constexpr std::array<std::uint32_t, 12> kPatterns = {
    12121212, 12121221, 12122112, 12122121, 12211212,  // 0 1 2 3 4
    12211221, 12212112, 12212121, 21121212, 21121221,  // 5 6 7 8 9
    21,       121,                                     // start stop
};
static_assert(kPatterns.size() == 12, "MSI values 0..11");
static_assert(PatternsHaveShape(kPatterns, 0, 9, 8, 12, 12), "MSI digits are 8 elements, 12 modules");
static_assert(PatternsHaveShape(kPatterns, 10, 10, 2, 3, 3) && PatternsHaveShape(kPatterns, 11, 11, 3, 4, 4),
              "MSI start is 3 modules, stop 4");
constexpr auto kElements = SplitPatterns(kPatterns);

constexpr std::uint8_t kStart = 10;
constexpr std::uint8_t kStop = 11;
constexpr std::size_t kSymbolRoomBeyondText = 4;

// Modulo 10: from the right, digits in odd positions add the digit sum of their double, the
// others their value; the check digit tops the sum up to a multiple of 10.
std::uint8_t CheckDigit(std::string_view digits) {
  int sum = 0;
  bool doubled = true;
  for (auto digit = digits.rbegin(); digit != digits.rend(); ++digit, doubled = !doubled) {
    const int value = *digit - '0';
    sum += doubled ? (2 * value < 10 ? 2 * value : 2 * value - 9) : value;
  }
  return static_cast<std::uint8_t>((10 - sum % 10) % 10);
}

}  // namespace

MsiEncoder::MsiEncoder() : BarCodeEncoder(kElements) {}

MsiEncoder::MsiEncoder(std::string_view text) : BarCodeEncoder(kElements, text) {}

bool MsiEncoder::IsValid(std::string_view text) const { return AllDigits(text); }

const std::uint8_t* MsiEncoder::Encode() {
  if (!SourceIsEncodable()) {
    ClearSymbol();
    return nullptr;
  }
  const std::string_view text = SourceText();
  StartSymbol(text.size() + kSymbolRoomBeyondText);
  AppendValue(kStart);
  for (const char digit : text) AppendValue(static_cast<std::uint8_t>(digit - '0'));
  AppendValue(CheckDigit(text));
  AppendValue(kStop);
  return FinishSymbol(12 * static_cast<std::int32_t>(text.size() + 3) - 17);
}

}  // namespace quarent::barcode
