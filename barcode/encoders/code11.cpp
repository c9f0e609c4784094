#include "encoders/code11.h"

#include <array>

namespace quarent::barcode {
namespace {

// Values are code - 45: 0 '-', 1 '.' and 2 '/' (no pattern), 3..12 digits 0..9, 13 start/stop.
// Each entry is the five elements of the character and a 1-module gap, checked against the
// Code 11 character table (USS Code 11, wide = 2 modules).
constexpr std::array<std::uint32_t, 14> kPatterns = {
    112111, 0,      0,                                   // - . /
    111121, 211121, 121121, 221111, 112121,              // 0 1 2 3 4
    212111, 122111, 111221, 211211, 211111,              // 5 6 7 8 9
    112211,                                              // start/stop
};
static_assert(kPatterns.size() == 14, "Code 11 values 0..13");
static_assert(PatternsHaveShape(kPatterns, 0, 0, 6, 7, 8) && PatternsHaveShape(kPatterns, 3, 13, 6, 7, 8),
              "Code 11 characters are 5 elements and a gap, 7 or 8 modules");
constexpr auto kElements = SplitPatterns(kPatterns);

constexpr std::uint8_t kStartStop = 13;
constexpr std::uint8_t kDash = 0;
constexpr std::uint8_t kFirstDigit = 3;
constexpr int kCheckModulus = 11;
constexpr int kWidestCharacter = 8;
constexpr std::size_t kSymbolRoomBeyondText = 4;

bool IsDigit(char character) { return character >= '0' && character <= '9'; }

// C check: weights 1, 2, ... n from the right, not wrapped; '-' counts 10.
std::uint8_t CheckValue(std::string_view text) {
  long long sum = 0;
  long long weight = 1;
  for (auto character = text.rbegin(); character != text.rend(); ++character, ++weight) {
    sum += (IsDigit(*character) ? *character - '0' : 10) * weight;
  }
  const int check = static_cast<int>(sum % kCheckModulus);
  return check == 10 ? kDash : static_cast<std::uint8_t>(check + kFirstDigit);
}

}  // namespace

Code11Encoder::Code11Encoder() : BarCodeEncoder(kElements) {}

Code11Encoder::Code11Encoder(std::string_view text) : BarCodeEncoder(kElements, text) {}

bool Code11Encoder::IsValid(std::string_view text) const {
  for (const char character : text) {
    if (character != '-' && !IsDigit(character)) return false;
  }
  return true;
}

const std::uint8_t* Code11Encoder::Encode() {
  if (!SourceIsEncodable()) {
    ClearSymbol();
    return nullptr;
  }
  const std::string_view text = SourceText();
  StartSymbol(text.size() + kSymbolRoomBeyondText);
  AppendValue(kStartStop);
  for (const char character : text) AppendValue(static_cast<std::uint8_t>(character - '-'));
  AppendValue(CheckValue(text));
  AppendValue(kStartStop);
  return FinishSymbol(kWidestCharacter * static_cast<std::int32_t>(text.size() + 3));
}

}  // namespace quarent::barcode
