#include "encoders/codabar.h"

#include <array>

namespace quarent::barcode {
namespace {

// Values are code - 36 for '$'..':' and code - 42 for 'A'..'D'. Each entry is the seven
// elements of the character and a 1-module gap, checked against the Codabar character table
// (ANSI/AIM BC3, wide = 2 modules). 0: no Codabar character (codes 37..42 and 44).
constexpr std::array<std::uint32_t, 27> kPatterns = {
    11221111, 0,        0,        0,        0,        0,        0,        // $ % & ' ( ) *
    11212121, 0,        11122111, 21212111, 21211121,                     // + , - . /
    11111221, 11112211, 11121121, 22111111, 11211211,                     // 0 1 2 3 4
    21111211, 12111121, 12112111, 12211111, 21121111,                     // 5 6 7 8 9
    21112121,                                                             // :
    11221211, 12121121, 11121221, 11122211,                               // A B C D
};
static_assert(kPatterns.size() == 27, "Codabar values 0..26");
static_assert(PatternsHaveShape(kPatterns, 0, 0, 8, 10, 11) && PatternsHaveShape(kPatterns, 7, 7, 8, 10, 11) &&
                  PatternsHaveShape(kPatterns, 9, 26, 8, 10, 11),
              "Codabar characters are 7 elements and a gap, 10 or 11 modules");
constexpr auto kElements = SplitPatterns(kPatterns);

constexpr int kWidestCharacter = 11;
constexpr std::size_t kSymbolRoomBeyondText = 4;

bool IsStartStopLetter(char character) { return character >= 'A' && character <= 'D'; }

bool IsInnerCharacter(char character) {
  if (character >= '0' && character <= '9') return true;
  switch (character) {
    case '$': case '+': case '-': case '.': case '/': case ':':
      return true;
    default:
      return false;
  }
}

std::uint8_t ValueOf(char character) {
  return static_cast<std::uint8_t>(character < 59 ? character - 36 : character - 42);
}

}  // namespace

CodabarEncoder::CodabarEncoder() : BarCodeEncoder(kElements) {}

CodabarEncoder::CodabarEncoder(std::string_view text) : BarCodeEncoder(kElements, text) {}

bool CodabarEncoder::IsValid(std::string_view text) const {
  if (text.empty()) return true;
  if (!IsStartStopLetter(text.front()) || !IsStartStopLetter(text.back())) return false;
  for (std::size_t index = 1; index + 1 < text.size(); ++index) {
    if (!IsInnerCharacter(text[index])) return false;
  }
  return true;
}

const std::uint8_t* CodabarEncoder::Encode() {
  if (!SourceIsEncodable()) {
    ClearSymbol();
    return nullptr;
  }
  const std::string_view text = SourceText();
  StartSymbol(text.size() + kSymbolRoomBeyondText);
  for (const char character : text) AppendValue(ValueOf(character));
  return FinishSymbol(kWidestCharacter * static_cast<std::int32_t>(text.size()));
}

}  // namespace quarent::barcode
