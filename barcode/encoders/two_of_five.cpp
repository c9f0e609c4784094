#include "encoders/two_of_five.h"

#include <array>

namespace quarent::barcode {
namespace {

// Digits 0..9: five bars, two of them wide (bar weights 1, 2, 4, 7 and parity), each followed
// by a narrow space; start (10) wide, wide, narrow bar; stop (11) wide, narrow, wide bar.
// Checked against the Industrial 2 of 5 character table (wide = 2 modules).
constexpr std::array<std::uint32_t, 12> kPatterns = {
    1111212111, 2111111121, 1121111121, 2121111111, 1111211121,  // 0 1 2 3 4
    2111211111, 1121211111, 1111112121, 2111112111, 1121112111,  // 5 6 7 8 9
    212111,     211121,                                          // start stop
};
static_assert(kPatterns.size() == 12, "2 of 5 values 0..11");
static_assert(PatternsHaveShape(kPatterns, 0, 9, 10, 12, 12), "2 of 5 digits are 10 elements, 12 modules");
static_assert(PatternsHaveShape(kPatterns, 10, 11, 6, 8, 8), "2 of 5 start and stop are 6 elements, 8 modules");
constexpr auto kElements = SplitPatterns(kPatterns);

constexpr std::uint8_t kStart = 10;
constexpr std::uint8_t kStop = 11;
constexpr std::size_t kSymbolRoomBeyondText = 4;

}  // namespace

TwoOfFiveEncoder::TwoOfFiveEncoder() : BarCodeEncoder(kElements) {}

TwoOfFiveEncoder::TwoOfFiveEncoder(std::string_view text) : BarCodeEncoder(kElements, text) {}

bool TwoOfFiveEncoder::IsValid(std::string_view text) const { return AllDigits(text); }

const std::uint8_t* TwoOfFiveEncoder::Encode() {
  if (!SourceIsEncodable()) {
    ClearSymbol();
    return nullptr;
  }
  const std::string_view text = SourceText();
  StartSymbol(text.size() + kSymbolRoomBeyondText);
  AppendValue(kStart);
  for (const char digit : text) AppendValue(static_cast<std::uint8_t>(digit - '0'));
  AppendValue(kStop);
  return FinishSymbol(12 * static_cast<std::int32_t>(text.size() + 2) - 8);
}

}  // namespace quarent::barcode
