#include "encoders/code39.h"

#include <array>

namespace quarent::barcode {
namespace {

// Values 0..52 are codes 32..57 (code - 32) and 'A'..'Z' (code - 39); 52 is the start/stop '*'.
// Each entry is the nine elements of the character followed by a 1-module gap, checked against
// the Code 39 character table of ISO/IEC 16388 with wide = 2 modules. 0: no Code 39 character.
constexpr std::array<std::uint32_t, 53> kPatterns = {
    1221112111, 0,          0,          0,          1212121111,  // ' ' ! " # $
    1112121211, 0,          0,          0,          0,           // % & ' ( )
    0,          1211121211, 0,          1211112121, 2211112111,  // * + , - .
    1212111211, 1112212111, 2112111121, 1122111121, 2122111111,  // / 0 1 2 3
    1112211121, 2112211111, 1122211111, 1112112121, 2112112111,  // 4 5 6 7 8
    1122112111, 2111121121, 1121121121, 2121121111, 1111221121,  // 9 A B C D
    2111221111, 1121221111, 1111122121, 2111122111, 1121122111,  // E F G H I
    1111222111, 2111111221, 1121111221, 2121111211, 1111211221,  // J K L M N
    2111211211, 1121211211, 1111112221, 2111112211, 1121112211,  // O P Q R S
    1111212211, 2211111121, 1221111121, 2221111111, 1211211121,  // T U V W X
    2211211111, 1221211111, 1211212111,                          // Y Z *
};
static_assert(kPatterns.size() == 53, "Code 39 values 0..52");
static_assert(PatternsHaveShape(kPatterns, 13, 52, 10, 13, 13) && PatternsHaveShape(kPatterns, 0, 0, 10, 13, 13) &&
                  PatternsHaveShape(kPatterns, 4, 5, 10, 13, 13) && PatternsHaveShape(kPatterns, 11, 11, 10, 13, 13),
              "Code 39 characters are 9 elements and a gap, 13 modules");
constexpr auto kElements = SplitPatterns(kPatterns);

constexpr std::uint8_t kStartStop = 52;
constexpr int kModulesPerCharacter = 13;
constexpr std::size_t kSymbolRoomBeyondText = 8;

bool IsCode39Character(unsigned char character) {
  if (character >= '0' && character <= '9') return true;
  if (character >= 'A' && character <= 'Z') return true;
  switch (character) {
    case ' ': case '$': case '%': case '+': case '-': case '.': case '/':
      return true;
    default:
      return false;
  }
}

std::uint8_t ValueOf(unsigned char character) {
  return static_cast<std::uint8_t>(character < 58 ? character - 32 : character - 39);
}

}  // namespace

Code39Encoder::Code39Encoder() : BarCodeEncoder(kElements) {}

Code39Encoder::Code39Encoder(std::string_view text) : BarCodeEncoder(kElements, text) {}

bool Code39Encoder::IsValid(std::string_view text) const {
  for (const char character : text) {
    if (!IsCode39Character(static_cast<unsigned char>(character))) return false;
  }
  return true;
}

const std::uint8_t* Code39Encoder::Encode() {
  if (!SourceIsEncodable()) {
    ClearSymbol();
    return nullptr;
  }
  const std::string_view text = SourceText();
  StartSymbol(text.size() + kSymbolRoomBeyondText);
  AppendValue(kStartStop);
  for (const char character : text) AppendValue(ValueOf(static_cast<unsigned char>(character)));
  AppendValue(kStartStop);
  return FinishSymbol(kModulesPerCharacter * static_cast<std::int32_t>(text.size() + 2));
}

}  // namespace quarent::barcode
