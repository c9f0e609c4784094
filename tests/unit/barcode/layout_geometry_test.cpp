// The module walk, text anchors and derived sizes of the layout, against values worked out
// by hand from the layout rules (quiet zone 635, y growing upward).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "encoders/encoder_factory.h"
#include "layout/symbol_drawing.h"
#include "layout/symbol_geometry.h"

namespace quarent::barcode {
namespace {

std::string Text(const PaintRectangle& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
         std::to_string(r.bottom);
}

TEST(SymbolGeometry, FirstModuleAndStepForEachOrientationAndAlignment) {
  // Bounds 10000 wide and 3000 high with the origin at the bottom left; symbol 7001 long, so
  // the free space along a horizontal symbol is 10000 - (7001 + 1270) = 1729 (half: 864).
  const PaintRectangle wide{0, 3000, 10000, 0};
  // Vertical bounds: 3000 wide, 10000 high.
  const PaintRectangle tall{0, 10000, 3000, 0};
  struct Row {
    const char* name;
    PaintRectangle bounds;
    Orientation orientation;
    Alignment alignment;
    const char* first;
    int stepX;
    int stepY;
  };
  const Row rows[] = {
      {"horizontal left", wide, Orientation::Horizontally, Alignment::Left, "635,3000,670,2600", 35, 0},
      {"horizontal right", wide, Orientation::Horizontally, Alignment::Right, "2364,3000,2399,2600", 35, 0},
      {"horizontal centre", wide, Orientation::Horizontally, Alignment::Center, "1499,3000,1534,2600", 35, 0},
      {"up left", tall, Orientation::VerticallyUp, Alignment::Left, "0,670,400,635", 0, 35},
      {"up right", tall, Orientation::VerticallyUp, Alignment::Right, "0,2399,400,2364", 0, 35},
      {"down left", tall, Orientation::VerticallyDown, Alignment::Left, "2600,9365,3000,9330", 0, -35},
      {"down centre", tall, Orientation::VerticallyDown, Alignment::Center, "2600,8501,3000,8466", 0, -35},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    // A text band 2600 high leaves bars 400 long.
    const ModuleWalk walk = StartModuleWalk(row.bounds, 35, 7001, 2600, row.orientation, row.alignment);
    EXPECT_EQ(row.first, Text(walk.first));
    EXPECT_EQ(row.stepX, walk.stepX);
    EXPECT_EQ(row.stepY, walk.stepY);
  }
}

TEST(SymbolGeometry, CentreShiftTruncatesTowardZero) {
  EXPECT_EQ(864, AlignmentShift(1729, Alignment::Center));
  EXPECT_EQ(-864, AlignmentShift(-1729, Alignment::Center)) << "a symbol wider than its room";
  EXPECT_EQ(1729, AlignmentShift(1729, Alignment::Right));
  EXPECT_EQ(0, AlignmentShift(1729, Alignment::Left));
}

TEST(SymbolGeometry, TextBaselinesSitTheDescentInsideTheOuterSideOfTheBand) {
  const PaintRectangle wide{100, 3000, 10100, 0};
  const PaintRectangle tall{0, 10000, 3000, 200};
  struct Row {
    const char* name;
    PaintRectangle bounds;
    Orientation orientation;
    Alignment alignment;
    int x;
    int y;
  };
  // Horizontal: symbol from 735 to 735 + 7001 = 7736. Up: from 835 to 7836. Down: from
  // 9365 to 2364. A descent of 90 puts the baseline 90 inside the band's outer side: above
  // the bottom (0), left of the right side (3000), right of the left side (0).
  const Row rows[] = {
      {"horizontal left", wide, Orientation::Horizontally, Alignment::Left, 735, 90},
      {"horizontal right", wide, Orientation::Horizontally, Alignment::Right, 7736, 90},
      {"horizontal centre", wide, Orientation::Horizontally, Alignment::Center, 4235, 90},
      {"up left", tall, Orientation::VerticallyUp, Alignment::Left, 2910, 835},
      {"up right", tall, Orientation::VerticallyUp, Alignment::Right, 2910, 7836},
      {"up centre", tall, Orientation::VerticallyUp, Alignment::Center, 2910, 4335},
      {"down left", tall, Orientation::VerticallyDown, Alignment::Left, 90, 9365},
      {"down right", tall, Orientation::VerticallyDown, Alignment::Right, 90, 2364},
      {"down centre", tall, Orientation::VerticallyDown, Alignment::Center, 90, 5864},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    const ModuleWalk walk = StartModuleWalk(row.bounds, 35, 7001, 500, row.orientation, Alignment::Left);
    const TextAnchor anchor = TextAnchorFor(row.bounds, walk, 7001, 90, row.orientation, row.alignment);
    EXPECT_EQ(row.x, anchor.x);
    EXPECT_EQ(row.y, anchor.y);
    EXPECT_EQ(row.alignment, anchor.alignment);
  }
}

TEST(SymbolGeometry, SizesAndPixels) {
  EXPECT_EQ(5190, WithTextBand({5190, 635}, 500, Orientation::Horizontally).cx);
  EXPECT_EQ(1135, WithTextBand({5190, 635}, 500, Orientation::Horizontally).cy);
  EXPECT_EQ(1135, WithTextBand({635, 5190}, 500, Orientation::VerticallyUp).cx);
  EXPECT_EQ(5190, WithTextBand({635, 5190}, 500, Orientation::VerticallyDown).cy);
  const Extent margin = WithAutoSizeMargin({5190, 1109});
  EXPECT_EQ(5709, margin.cx);
  EXPECT_EQ(1219, margin.cy);
  struct Row {
    int length;
    int dotsPerInch;
    int pixels;
  };
  // (dpi x length + 1270) / 2540: rounds to the nearest pixel.
  const Row rows[] = {{2540, 96, 96}, {5709, 96, 216}, {13, 96, 0}, {14, 96, 1}, {2540, 600, 600}, {0, 96, 0}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.length);
    EXPECT_EQ(row.pixels, HimetricToPixels(row.length, row.dotsPerInch));
  }
}

// A painter that records what Draw asks for.
class RecordingPainter : public BarCodePainter {
 public:
  std::vector<PaintRectangle> bars;
  std::vector<PaintRectangle> backgrounds;
  std::string text;
  int textX = 0, textY = 0;
  Alignment textAlignment = Alignment::Left;
  std::int32_t textHeight = 0;
  std::int32_t textDescent = 0;
  int heightQueries = 0;

  void FillBackground(const PaintRectangle& rectangle) override { backgrounds.push_back(rectangle); }
  void FillBar(const PaintRectangle& rectangle) override { bars.push_back(rectangle); }
  std::int32_t TextHeight() override {
    ++heightQueries;
    return textHeight;
  }
  std::int32_t TextDescent() override { return textDescent; }
  void WriteText(std::int32_t x, std::int32_t y, std::string_view written, Alignment alignment) override {
    text = std::string(written);
    textX = x;
    textY = y;
    textAlignment = alignment;
  }
};

TEST(SymbolDrawing, PaintsEveryBarModuleAndTheText) {
  // Code 39 "A" is '*', 'A', '*': 3 x 13 = 39 modules, the last one the gap after the stop.
  std::unique_ptr<BarCodeEncoder> encoder = MakeEncoder(BarStyle::Code39, "A");
  ASSERT_NE(nullptr, encoder->Encode());
  int barModules = 0;
  encoder->ForEachElement([&](const SymbolElement& element) {
    if (element.isBar) barModules += element.modules;
  });
  RecordingPainter painter;
  painter.textHeight = 400;
  painter.textDescent = 80;
  DrawRequest request;
  request.bounds = {0, 3000, 10000, 0};
  request.moduleWidth = 50;
  request.textPrefix = "<";
  request.textSuffix = ">";
  ASSERT_TRUE(DrawSymbol(*encoder, painter, request));
  ASSERT_EQ(1u, painter.backgrounds.size());
  EXPECT_EQ(Text(request.bounds), Text(painter.backgrounds[0]));
  ASSERT_EQ(static_cast<size_t>(barModules), painter.bars.size());
  EXPECT_EQ("635,3000,685,400", Text(painter.bars.front())) << "the first module after the quiet zone";
  // The last bar module ends 50 units before the symbol's end (the trailing gap module).
  EXPECT_EQ(635 + 39 * 50 - 50, painter.bars.back().right);
  EXPECT_EQ("<A>", painter.text);
  EXPECT_EQ(635 + 39 * 50 / 2, painter.textX);
  EXPECT_EQ(80, painter.textY) << "the baseline a descent above the bottom";
  EXPECT_EQ(Alignment::Center, painter.textAlignment);
}

TEST(SymbolDrawing, WithoutTextOrSymbolOnlyWhatIsAsked) {
  std::unique_ptr<BarCodeEncoder> encoder = MakeEncoder(BarStyle::Msi, "12");
  ASSERT_NE(nullptr, encoder->Encode());
  RecordingPainter painter;
  DrawRequest request;
  request.bounds = {0, 3000, 10000, 0};
  request.showText = false;
  DrawSymbol(*encoder, painter, request);
  EXPECT_EQ(0, painter.heightQueries);
  EXPECT_TRUE(painter.text.empty());
  EXPECT_EQ(0, painter.bars.front().bottom) << "the bars fill the whole height";

  std::unique_ptr<BarCodeEncoder> empty = MakeEncoder(BarStyle::Msi, "");
  RecordingPainter background;
  EXPECT_TRUE(DrawSymbol(*empty, background, request));
  EXPECT_EQ(1u, background.backgrounds.size());
  EXPECT_TRUE(background.bars.empty());
}

}  // namespace
}  // namespace quarent::barcode
