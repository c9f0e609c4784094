// Every symbol of every style reads back to its text through the independent decoder.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "encoders/encoder_factory.h"
#include "symbol_decoder.h"

namespace quarent::barcode {
namespace {

struct StyleAlphabet {
  BarStyle style;
  std::string alphabet;
  bool exactModuleCount;
};

std::string Range(char first, char last) {
  std::string characters;
  for (char character = first; character <= last; ++character) characters += character;
  return characters;
}

// Digits are drawn half of the time so that Code 128 meets digit runs of every length.
std::string RandomText(std::mt19937& random, const StyleAlphabet& style, std::size_t length) {
  const std::string digits = Range('0', '9');
  std::string text;
  for (std::size_t index = 0; index < length; ++index) {
    const std::string& source = (random() % 2 == 0 && style.alphabet.find('0') != std::string::npos) ? digits : style.alphabet;
    text += source[random() % source.size()];
  }
  if (style.style == BarStyle::Codabar) {
    text.front() = static_cast<char>('A' + random() % 4);
    text.back() = static_cast<char>('A' + random() % 4);
  }
  return text;
}

std::size_t RandomLength(std::mt19937& random) {
  // Mostly short texts, some up to the longest allowed.
  return random() % 4 == 0 ? 1 + random() % 255 : 1 + random() % 24;
}

TEST(RoundTrip, EverySymbolDecodesBackToItsText) {
  const std::string printable = Range(' ', '~');
  const StyleAlphabet styles[] = {
      {BarStyle::Code128, printable, true},
      {BarStyle::Code128, Range('0', '9') + "Aa", true},  // dense set changes
      {BarStyle::Code128A, Range(' ', '_'), true},
      {BarStyle::Code128B, printable, true},
      {BarStyle::Code128C, Range('0', '9'), true},
      {BarStyle::Code39, Range('0', '9') + Range('A', 'Z') + " $%+-./", true},
      {BarStyle::TwoOfFive, Range('0', '9'), true},
      {BarStyle::Code11, Range('0', '9') + "-", false},
      {BarStyle::Codabar, Range('0', '9') + "$+-./:", false},
      {BarStyle::Msi, Range('0', '9'), true},
  };
  std::mt19937 random(20240611);
  for (const StyleAlphabet& style : styles) {
    int failures = 0;
    for (int sample = 0; sample < 2000 && failures < 5; ++sample) {
      const std::string text = RandomText(random, style, RandomLength(random));
      SCOPED_TRACE("style " + std::to_string(static_cast<int>(style.style)) + " text \"" + text + "\"");
      const auto encoder = MakeEncoder(style.style, text);
      ASSERT_NE(encoder, nullptr);
      if (encoder->Encode() == nullptr) {
        ADD_FAILURE() << "not encoded";
        ++failures;
        continue;
      }
      const testing::DecodedSymbol decoded = testing::DecodeSymbol(style.style, testing::ElementsOf(*encoder));
      // Set C reads back the '0' it put in front of an odd-length text.
      const std::string expected = style.style == BarStyle::Code128C && text.size() % 2 == 1 ? "0" + text : text;
      const bool good = decoded.ok && decoded.text == expected &&
                        (style.exactModuleCount ? decoded.modules == encoder->ModuleCount()
                                                : decoded.modules <= encoder->ModuleCount());
      EXPECT_TRUE(good) << decoded.error << " decoded \"" << decoded.text << "\", " << decoded.modules
                        << " modules against " << encoder->ModuleCount();
      if (!good) ++failures;

      // The module row is the element walk spelled out module by module, in a row of exactly
      // ModuleCount() bytes (the sanitizer catches a write past it).
      std::vector<std::uint8_t> expectedRow;
      for (const SymbolElement& element : testing::ElementsOf(*encoder)) {
        expectedRow.insert(expectedRow.end(), static_cast<std::size_t>(element.modules), element.isBar ? 1 : 0);
      }
      std::vector<std::uint8_t> row(static_cast<std::size_t>(encoder->ModuleCount()));
      ASSERT_EQ(encoder->WriteModuleRow(row.data(), row.size()), expectedRow.size());
      row.resize(expectedRow.size());
      EXPECT_EQ(row, expectedRow);
    }
  }
}

TEST(RoundTrip, AutomaticCode128IsNeverLongerThanSetB) {
  // Set C must only be chosen where it saves characters or costs none.
  std::mt19937 random(7);
  const StyleAlphabet style{BarStyle::Code128, Range('0', '9') + "Ab", true};
  for (int sample = 0; sample < 2000; ++sample) {
    const std::string text = RandomText(random, style, RandomLength(random));
    SCOPED_TRACE(text);
    const auto automatic = MakeEncoder(BarStyle::Code128, text);
    const auto setB = MakeEncoder(BarStyle::Code128B, text);
    ASSERT_NE(automatic->Encode(), nullptr);
    ASSERT_NE(setB->Encode(), nullptr);
    EXPECT_LE(automatic->ModuleCount(), setB->ModuleCount());
  }
}

}  // namespace
}  // namespace quarent::barcode
