// Length limits, hostile bytes, sizing and the style table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoders/code128.h"
#include "encoders/encoder_factory.h"
#include "symbol_decoder.h"

namespace quarent::barcode {
namespace {

// A valid text of `length` characters for `style`.
std::string ValidText(BarStyle style, std::size_t length) {
  std::string text(length, '7');
  if (style == BarStyle::Codabar) {
    text.front() = 'A';
    text.back() = 'B';
  }
  return text;
}

const BarStyle kAllStyles[] = {BarStyle::Code128,  BarStyle::Code128A,  BarStyle::Code128B,
                               BarStyle::Code128C, BarStyle::Code39,    BarStyle::TwoOfFive,
                               BarStyle::Code11,   BarStyle::Codabar,   BarStyle::Msi};

TEST(EncoderLimits, LongestTextEncodesAndALongerOneIsRefusedWhole) {
  for (const BarStyle style : kAllStyles) {
    SCOPED_TRACE("style " + std::to_string(static_cast<int>(style)));
    const auto longest = MakeEncoder(style, ValidText(style, 255));
    ASSERT_NE(longest->Encode(), nullptr);
    const testing::DecodedSymbol decoded = testing::DecodeSymbol(style, testing::ElementsOf(*longest));
    EXPECT_TRUE(decoded.ok) << decoded.error;
    const std::string expected = style == BarStyle::Code128C ? "0" + ValidText(style, 255) : ValidText(style, 255);
    EXPECT_EQ(decoded.text, expected);

    for (const std::size_t length : {256u, 300u, 5000u}) {
      const auto tooLong = MakeEncoder(style, ValidText(style, length));
      EXPECT_TRUE(tooLong->SourceTooLong());
      EXPECT_EQ(tooLong->SourceText(), "");
      EXPECT_EQ(tooLong->Encode(), nullptr);
      EXPECT_EQ(tooLong->ModuleCount(), 0);
    }
  }
}

TEST(EncoderLimits, SetCLongestOddTextGrowsTo256Digits) {
  Code128Encoder encoder(std::string(255, '9'), Code128Mode::SetC);
  ASSERT_NE(encoder.Encode(), nullptr);
  EXPECT_EQ(encoder.SourceText(), "0" + std::string(255, '9'));
  // start, 128 pairs, check, stop
  EXPECT_EQ(encoder.SymbolLength(), 131u);
  EXPECT_EQ(encoder.ModuleCount(), 11 * 130 + 13);
}

TEST(EncoderLimits, HighBytesAndEmbeddedZerosAreRefusedByEveryStyle) {
  const std::string hostile[] = {
      std::string("12\0" "34", 5), std::string(1, '\0'), std::string(200, '\0'),
      "12\x80" "34", "\xff", std::string(255, '\xe9'), "A1\x9d" "2B",
  };
  for (const BarStyle style : kAllStyles) {
    for (const std::string& text : hostile) {
      SCOPED_TRACE("style " + std::to_string(static_cast<int>(style)) + ", " + std::to_string(text.size()) + " bytes");
      const auto encoder = MakeEncoder(style, text);
      EXPECT_FALSE(encoder->IsValid(text));
      EXPECT_EQ(encoder->Encode(), nullptr);
      EXPECT_TRUE(testing::ElementsOf(*encoder).empty());
    }
  }
  Code128Encoder font(std::string("A\0B", 3), Code128Mode::SetB);
  EXPECT_TRUE(font.FontString().empty());
}

TEST(EncoderLimits, ModuleRowRefusesAShortRowWithoutWritingPastIt) {
  // Code 39 "A": three characters of 13 modules.
  const auto encoder = MakeEncoder(BarStyle::Code39, "A");
  std::vector<std::uint8_t> none;
  EXPECT_EQ(encoder->WriteModuleRow(none.data(), 0), 0u);  // not encoded yet
  ASSERT_NE(encoder->Encode(), nullptr);
  for (const std::size_t capacity : {0u, 1u, 13u, 38u}) {
    SCOPED_TRACE(capacity);
    std::vector<std::uint8_t> row(capacity);  // exact size: a write past it is a sanitizer report
    EXPECT_EQ(encoder->WriteModuleRow(row.data(), row.size()), 0u);
  }
  std::vector<std::uint8_t> row(39);
  EXPECT_EQ(encoder->WriteModuleRow(row.data(), row.size()), 39u);
  // '*' is narrow bar, wide space, narrow bar, narrow space, wide bar, ...: 1 00 1 0 11 0 11 0 1 0 then the gap.
  const std::vector<std::uint8_t> star = {1, 0, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 0};
  EXPECT_EQ(std::vector<std::uint8_t>(row.begin(), row.begin() + 13), star);
}

TEST(EncoderLimits, ACStringStopsAtItsTerminator) {
  const char* text = "AB\0CD";
  Code128Encoder encoder(text, Code128Mode::Automatic);
  ASSERT_NE(encoder.Encode(), nullptr);
  EXPECT_EQ(encoder.SourceText(), "AB");
}

TEST(EncoderLimits, GetSizeAddsQuietZonesAndKeepsTheMinimumHeight) {
  struct Case {
    BarStyle style;
    const char* text;
    int moduleWidth;
    Orientation orientation;
    Extent expected;
  };
  // Code 128 "12" is 46 modules, Code 39 of 20 characters 286.
  const Case cases[] = {
      {BarStyle::Code128, "12", 35, Orientation::Horizontally, {46 * 35 + 1270, 635}},
      {BarStyle::Code128, "12", 35, Orientation::VerticallyUp, {635, 46 * 35 + 1270}},
      {BarStyle::Code39, "ABCDEFGHIJKLMNOPQRST", 250, Orientation::Horizontally, {286 * 250 + 1270, 1 + 286 * 250 * 15 / 100}},
      {BarStyle::Code39, "ABCDEFGHIJKLMNOPQRST", 250, Orientation::VerticallyDown, {1 + 10725, 71500 + 1270}},
      // 15 % of 286 * 20 = 5720 is 858: the height is 1 + 858.
      {BarStyle::Code39, "ABCDEFGHIJKLMNOPQRST", 20, Orientation::Horizontally, {5720 + 1270, 859}},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(std::string(row.text) + " width " + std::to_string(row.moduleWidth));
    const auto encoder = MakeEncoder(row.style, row.text);
    ASSERT_NE(encoder->Encode(), nullptr);
    Extent extent;
    ASSERT_TRUE(encoder->GetSize(row.moduleWidth, extent, row.orientation));
    EXPECT_EQ(extent.cx, row.expected.cx);
    EXPECT_EQ(extent.cy, row.expected.cy);
  }
}

TEST(EncoderLimits, GetSizeFailsWithoutSymbolOrSensibleWidth) {
  const Extent untouched{-7, -9};
  struct Case {
    const char* text;
    bool encode;
    int moduleWidth;
  };
  const Case cases[] = {
      {"ABC", false, 35},            // not encoded yet
      {"abc", true, 35},             // invalid for Code 39
      {"ABC", true, 0},
      {"ABC", true, -35},
      {"ABC", true, 2000000000},     // the extent would not fit 32 bits
  };
  for (const Case& row : cases) {
    SCOPED_TRACE(std::string(row.text) + " width " + std::to_string(row.moduleWidth));
    const auto encoder = MakeEncoder(BarStyle::Code39, row.text);
    if (row.encode) encoder->Encode();
    Extent extent = untouched;
    EXPECT_FALSE(encoder->GetSize(row.moduleWidth, extent, Orientation::Horizontally));
    EXPECT_EQ(extent.cx, untouched.cx);
    EXPECT_EQ(extent.cy, untouched.cy);
  }
}

TEST(EncoderLimits, FactoryServesStylesOneToNineOnly) {
  for (const int style : {0, 10, -1}) {
    SCOPED_TRACE(style);
    EXPECT_EQ(MakeEncoder(static_cast<BarStyle>(style), "1"), nullptr);
  }
  struct Case {
    BarStyle style;
    Code128Mode mode;
  };
  const Case modes[] = {{BarStyle::Code128, Code128Mode::Automatic},
                        {BarStyle::Code128A, Code128Mode::SetA},
                        {BarStyle::Code128B, Code128Mode::SetB},
                        {BarStyle::Code128C, Code128Mode::SetC}};
  for (const Case& row : modes) {
    SCOPED_TRACE(static_cast<int>(row.style));
    const auto encoder = MakeEncoder(row.style, "12");
    const auto* code128 = dynamic_cast<const Code128Encoder*>(encoder.get());
    ASSERT_NE(code128, nullptr);
    EXPECT_EQ(code128->Mode(), row.mode);
  }
}

}  // namespace
}  // namespace quarent::barcode
