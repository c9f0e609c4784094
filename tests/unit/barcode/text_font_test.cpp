// The text font derived from the control's font object.
#include <gtest/gtest.h>

#include "layout/text_font.h"

namespace quarent::barcode {
namespace {

TEST(TextFont, HeightIsFortyUnitsPerPointTruncated) {
  struct Row {
    std::int64_t size;  // 1/10000 point
    std::int32_t height;
  };
  const Row rows[] = {{100000, -400}, {97500, -390}, {100249, -400}, {125000, -500}, {2499, -9}, {0, 0}, {80000, -320}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.size);
    FontDescription font;
    font.size = row.size;
    EXPECT_EQ(row.height, TextFontFor(font, Orientation::Horizontally).height);
  }
}

TEST(TextFont, CopiesStylesAndTurnsWithTheSymbol) {
  FontDescription font;
  font.faceName = "Arial Narrow";
  font.size = 100000;
  font.bold = true;
  font.italic = true;
  font.strikeOut = true;
  struct Row {
    Orientation orientation;
    std::int32_t escapement;
  };
  const Row rows[] = {{Orientation::Horizontally, 0}, {Orientation::VerticallyUp, 2700}, {Orientation::VerticallyDown, 900}};
  for (const Row& row : rows) {
    SCOPED_TRACE(static_cast<int>(row.orientation));
    const LogicalTextFont textFont = TextFontFor(font, row.orientation);
    EXPECT_EQ(row.escapement, textFont.escapement);
    EXPECT_EQ("Arial Narrow", textFont.faceName);
    EXPECT_EQ(700, textFont.weight);
    EXPECT_TRUE(textFont.italic);
    EXPECT_FALSE(textFont.underline);
    EXPECT_TRUE(textFont.strikeOut);
  }
  font.bold = false;
  EXPECT_EQ(400, TextFontFor(font, Orientation::Horizontally).weight);
}

}  // namespace
}  // namespace quarent::barcode
