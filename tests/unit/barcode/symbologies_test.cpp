// Code 39, 2 of 5, Code 11, Codabar and MSI: character sets, check characters and module counts.
#include <gtest/gtest.h>

#include <string>

#include "encoders/encoder_factory.h"
#include "symbol_decoder.h"

namespace quarent::barcode {
namespace {

using testing::DecodeSymbol;
using testing::ElementsOf;

bool IsDigit(int code) { return code >= '0' && code <= '9'; }
bool OneOf(int code, const char* characters) {
  return code != 0 && std::string(characters).find(static_cast<char>(code)) != std::string::npos;
}

// Whether a text made of the single byte `code` is valid, from each symbology's character set.
bool SingleByteIsValid(BarStyle style, int code) {
  switch (style) {
    case BarStyle::Code128:
    case BarStyle::Code128B: return code >= 32 && code <= 126;
    case BarStyle::Code128A: return code >= 32 && code <= 95;
    case BarStyle::Code128C: return IsDigit(code);
    case BarStyle::Code39: return IsDigit(code) || (code >= 'A' && code <= 'Z') || OneOf(code, " $%+-./");
    case BarStyle::TwoOfFive:
    case BarStyle::Msi: return IsDigit(code);
    case BarStyle::Code11: return IsDigit(code) || code == '-';
    case BarStyle::Codabar: return code >= 'A' && code <= 'D';
  }
  return false;
}

const BarStyle kAllStyles[] = {BarStyle::Code128,  BarStyle::Code128A,  BarStyle::Code128B,
                               BarStyle::Code128C, BarStyle::Code39,    BarStyle::TwoOfFive,
                               BarStyle::Code11,   BarStyle::Codabar,   BarStyle::Msi};

TEST(Symbologies, EverySingleByteIsJudgedByTheCharacterSet) {
  for (const BarStyle style : kAllStyles) {
    const auto encoder = MakeEncoder(style);
    ASSERT_NE(encoder, nullptr);
    for (int code = 0; code < 256; ++code) {
      SCOPED_TRACE("style " + std::to_string(static_cast<int>(style)) + " byte " + std::to_string(code));
      EXPECT_EQ(encoder->IsValid(std::string(1, static_cast<char>(code))), SingleByteIsValid(style, code));
    }
  }
}

TEST(Symbologies, CodabarAcceptsItsInnerCharactersOnlyBetweenLetters) {
  const auto encoder = MakeEncoder(BarStyle::Codabar);
  for (int code = 0; code < 256; ++code) {
    SCOPED_TRACE("byte " + std::to_string(code));
    const bool inner = IsDigit(code) || OneOf(code, "$+-./:");
    EXPECT_EQ(encoder->IsValid(std::string("A") + static_cast<char>(code) + "D"), inner);
  }
}

TEST(Symbologies, ValidatesTexts) {
  struct Case {
    BarStyle style;
    std::string text;
    bool valid;
  };
  const Case cases[] = {
      {BarStyle::Code39, "ABC", true},
      {BarStyle::Code39, "abc", false},
      {BarStyle::Code39, "*", false},
      {BarStyle::Code39, "QUARENT 1.0 $/+%-", true},
      {BarStyle::TwoOfFive, "1", true},
      {BarStyle::TwoOfFive, "123", true},
      {BarStyle::TwoOfFive, "12A", false},
      {BarStyle::Code11, "12-34", true},
      {BarStyle::Code11, "12.34", false},
      {BarStyle::Codabar, "A123B", true},
      {BarStyle::Codabar, "A", true},
      {BarStyle::Codabar, "AD", true},
      {BarStyle::Codabar, "123", false},
      {BarStyle::Codabar, "A12", false},
      {BarStyle::Codabar, "a12b", false},
      {BarStyle::Codabar, "AB1C", false},
      {BarStyle::Codabar, "E12A", false},
      {BarStyle::Msi, "0123456789", true},
      {BarStyle::Msi, "12 3", false},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE("style " + std::to_string(static_cast<int>(row.style)) + " text " + row.text);
    EXPECT_EQ(MakeEncoder(row.style)->IsValid(row.text), row.valid);
    EXPECT_EQ(MakeEncoder(row.style, row.text)->Encode() != nullptr, row.valid);
  }
  for (const BarStyle style : kAllStyles) {
    SCOPED_TRACE("style " + std::to_string(static_cast<int>(style)));
    EXPECT_TRUE(MakeEncoder(style)->IsValid(""));
    EXPECT_EQ(MakeEncoder(style, "")->Encode(), nullptr);
  }
}

TEST(Symbologies, CheckCharacters) {
  struct Case {
    BarStyle style;
    const char* text;
    const char* check;
    const char* note;
  };
  const Case cases[] = {
      {BarStyle::Code11, "123", "-", "1*3 + 2*2 + 3*1 = 10"},
      {BarStyle::Code11, "1-", "1", "1*2 + 10*1 = 12"},
      {BarStyle::Code11, "-", "-", "10*1"},
      {BarStyle::Code11, "0", "0", ""},
      {BarStyle::Code11, "12345678901", "3", "weights 11..1 unwrapped: 256 mod 11 (wrapped weights would give 4)"},
      {BarStyle::Msi, "1234", "4", "doubled 4 and 2 give 8 + 4, plus 3 + 1: 16"},
      {BarStyle::Msi, "0", "0", ""},
      {BarStyle::Msi, "5", "9", "doubled 5 gives 1"},
      {BarStyle::Msi, "80523", "4", "6 + 2 + 1 + 0 + 7 = 16"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(std::string(row.text) + " " + row.note);
    const auto encoder = MakeEncoder(row.style, row.text);
    ASSERT_NE(encoder->Encode(), nullptr);
    const testing::DecodedSymbol decoded = DecodeSymbol(row.style, ElementsOf(*encoder));
    ASSERT_TRUE(decoded.ok) << decoded.error;
    EXPECT_EQ(decoded.text, row.text);
    EXPECT_EQ(decoded.check, row.check);
  }
}

TEST(Symbologies, ModuleCounts) {
  struct Case {
    BarStyle style;
    const char* text;
    int moduleCount;    // reported by Encode
    int paintedWidth;   // sum of the element widths
    int symbolCharacters;
  };
  const Case cases[] = {
      {BarStyle::Code39, "ABC", 65, 65, 5},
      {BarStyle::Code39, "A", 39, 39, 3},
      {BarStyle::TwoOfFive, "1", 28, 28, 3},
      {BarStyle::TwoOfFive, "123", 52, 52, 5},
      // Code 11 and Codabar report an upper bound; the narrower characters end the symbol earlier.
      {BarStyle::Code11, "123", 48, 8 + 8 + 8 + 8 + 7 + 8, 6},
      {BarStyle::Codabar, "A123B", 55, 11 + 10 + 10 + 10 + 11, 5},
      {BarStyle::Codabar, "A", 11, 11, 1},
      {BarStyle::Msi, "1234", 67, 3 + 4 * 12 + 12 + 4, 7},
      {BarStyle::Msi, "0", 31, 3 + 12 + 12 + 4, 4},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(row.text);
    const auto encoder = MakeEncoder(row.style, row.text);
    ASSERT_NE(encoder->Encode(), nullptr);
    EXPECT_EQ(encoder->ModuleCount(), row.moduleCount);
    EXPECT_EQ(static_cast<int>(encoder->SymbolLength()), row.symbolCharacters);
    EXPECT_EQ(DecodeSymbol(row.style, ElementsOf(*encoder)).modules, row.paintedWidth);
  }
}

}  // namespace
}  // namespace quarent::barcode
