// The property checks and StringToBC128Font of the control, away from the automation layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "model/property_rules.h"

namespace quarent::barcode {
namespace {

TEST(PropertyRules, RangesOfTheNumericProperties) {
  struct Row {
    const char* name;
    PropertyError (*check)(std::int32_t);
    std::int32_t value;
    PropertyError expected;
  };
  const Row rows[] = {
      {"width 19", CheckBarWidth, 19, PropertyError::BarWidthOutOfRange},
      {"width 20", CheckBarWidth, 20, PropertyError::None},
      {"width 250", CheckBarWidth, 250, PropertyError::None},
      {"width 251", CheckBarWidth, 251, PropertyError::BarWidthOutOfRange},
      {"style 0", CheckBarStyle, 0, PropertyError::OutOfRange},
      {"style 9", CheckBarStyle, 9, PropertyError::None},
      {"style 10", CheckBarStyle, 10, PropertyError::OutOfRange},
      {"alignment 0", CheckAlignment, 0, PropertyError::OutOfRange},
      {"alignment 3", CheckAlignment, 3, PropertyError::None},
      {"orientation 4", CheckOrientation, 4, PropertyError::OutOfRange},
      {"orientation 1", CheckOrientation, 1, PropertyError::None},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.expected, row.check(row.value));
  }
  EXPECT_EQ(1003u, ErrorTextId(PropertyError::BarWidthOutOfRange));
  EXPECT_EQ(0u, ErrorTextId(PropertyError::OutOfRange));
}

TEST(PropertyRules, CaptionCharactersComeBeforeItsLength) {
  struct Row {
    const char* name;
    BarStyle style;
    std::string caption;
    PropertyError expected;
  };
  const Row rows[] = {
      {"255 letters", BarStyle::Code128, std::string(255, 'A'), PropertyError::None},
      {"256 letters", BarStyle::Code128, std::string(256, 'A'), PropertyError::CaptionTooLong},
      {"256 with a tab", BarStyle::Code128, std::string(255, 'A') + "\t", PropertyError::CharactersNotSupported},
      {"lower case in Code 39", BarStyle::Code39, "quarent", PropertyError::CharactersNotSupported},
      {"upper case in Code 39", BarStyle::Code39, "QUARENT", PropertyError::None},
      {"byte 200", BarStyle::Code128B, std::string(1, static_cast<char>(200)), PropertyError::CharactersNotSupported},
      {"empty", BarStyle::Msi, "", PropertyError::None},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    EXPECT_EQ(row.expected, CheckCaption(row.style, row.caption));
  }
  EXPECT_EQ(PropertyError::CharactersNotSupported, CheckStyleForCaption(5, "quarent"));
  EXPECT_EQ(PropertyError::OutOfRange, CheckStyleForCaption(10, "QUARENT"));
  EXPECT_EQ(PropertyError::None, CheckStyleForCaption(5, "QUARENT"));
}

std::vector<int> Codes(const std::string& text) {
  std::vector<int> codes;
  for (unsigned char character : text) codes.push_back(character);
  return codes;
}

TEST(PropertyRules, Code128FontStrings) {
  // START A = 103 -> 200; 'A' 33 -> 65, 'B' 34 -> 66; check (103 + 33 + 68) mod 103 = 101 -> 198.
  FontStringResult result = Code128FontString(BarStyle::Code128, "AB", 1);
  EXPECT_EQ(PropertyError::None, result.error);
  EXPECT_EQ((std::vector<int>{200, 65, 66, 198, 203}), Codes(result.text));
  // Set B " a": START B 104 -> 201, space 0 -> 232, 'a' 65 -> 97,
  // check (104 + 0 + 65 x 2) mod 103 = 28 -> 60.
  result = Code128FontString(BarStyle::Code128, " a", 3);
  EXPECT_EQ((std::vector<int>{201, 232, 97, 60, 203}), Codes(result.text));
  // A text the mode cannot encode gives an empty string without an error.
  result = Code128FontString(BarStyle::Code128, "a", 2);
  EXPECT_EQ(PropertyError::None, result.error);
  EXPECT_TRUE(result.text.empty());

  EXPECT_EQ(PropertyError::OutOfMemory, Code128FontString(BarStyle::Code128, "AB", 0).error);
  EXPECT_EQ(PropertyError::OutOfMemory, Code128FontString(BarStyle::Code128, "AB", 5).error);
  EXPECT_EQ(PropertyError::CharactersNotSupported, Code128FontString(BarStyle::Code39, "ab", 1).error);
  EXPECT_EQ(PropertyError::CaptionTooLong, Code128FontString(BarStyle::Code128, std::string(256, 'A'), 1).error);
}

}  // namespace
}  // namespace quarent::barcode
