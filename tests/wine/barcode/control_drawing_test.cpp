// DrawToDC into memory bitmaps: mapping modes kept, the "SIZE" notice at the valid size,
// alignment, orientation, text band, and the bars measured against the encoders' modules.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "QRNBC10_h.h"
#include "canvas.h"
#include "com_client.h"
#include "encoders/encoder_factory.h"
#include "test_container.h"

namespace {

using test::Canvas;
using test::Hex;

// Pixels covered by `length` 0.01 mm on a 96-dpi bitmap.
double Pixels(double length) { return length * 96.0 / 2540.0; }

class DrawingTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(test::RegisterBarCodeServer()); }

  // DrawToDC over the whole canvas (MM_TEXT pixels); returns the result flag.
  VARIANT_BOOL DrawWhole(IQRNBarCode* control, Canvas& canvas, HRESULT expected = S_OK) {
    VARIANT_BOOL drawn = VARIANT_FALSE;
    const HRESULT status = control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(canvas.Dc())), 0, 0,
                                             canvas.Width(), canvas.Height(), &drawn);
    EXPECT_EQ(expected, status) << Hex(status);
    return drawn;
  }
};

// Runs of equal darkness along a row (or a column), as (dark, length) pairs; the outer light
// runs (quiet zones) are dropped.
struct ElementRun {
  bool dark;
  int length;
};
std::vector<ElementRun> RunsAlong(const Canvas& canvas, bool horizontal, int fixed, bool reverse = false) {
  std::vector<ElementRun> runs;
  const int count = horizontal ? canvas.Width() : canvas.Height();
  for (int step = 0; step < count; ++step) {
    const int at = reverse ? count - 1 - step : step;
    const bool dark = horizontal ? canvas.IsDark(at, fixed) : canvas.IsDark(fixed, at);
    if (!runs.empty() && runs.back().dark == dark) {
      ++runs.back().length;
    } else {
      runs.push_back({dark, 1});
    }
  }
  if (!runs.empty() && !runs.front().dark) runs.erase(runs.begin());
  if (!runs.empty() && !runs.back().dark) runs.pop_back();
  return runs;
}

// The encoder's bars and spaces (modules), neighbours of one kind joined, the trailing
// spaces dropped.
std::vector<ElementRun> ExpectedModules(quarent::barcode::BarStyle style, const std::string& text) {
  std::unique_ptr<quarent::barcode::BarCodeEncoder> encoder = quarent::barcode::MakeEncoder(style, text);
  std::vector<ElementRun> runs;
  if (!encoder || encoder->Encode() == nullptr) return runs;
  encoder->ForEachElement([&runs](const quarent::barcode::SymbolElement& element) {
    if (!runs.empty() && runs.back().dark == element.isBar) {
      runs.back().length += element.modules;
    } else {
      runs.push_back({element.isBar, element.modules});
    }
  });
  while (!runs.empty() && !runs.back().dark) runs.pop_back();
  return runs;
}

std::string Describe(const std::vector<ElementRun>& runs) {
  std::string text;
  for (const ElementRun& run : runs) text += (run.dark ? "B" : "S") + std::to_string(run.length) + " ";
  return text;
}

// Pixel runs read back as modules of `moduleWidth` 0.01 mm.
std::vector<ElementRun> AsModules(const std::vector<ElementRun>& pixelRuns, int moduleWidth) {
  std::vector<ElementRun> modules;
  for (const ElementRun& run : pixelRuns) {
    modules.push_back({run.dark, static_cast<int>(run.length / Pixels(moduleWidth) + 0.5)});
  }
  return modules;
}

TEST_F(DrawingTest, DrawToDCKeepsTheCallersMappingMode) {
  test::HostedControl control;
  Canvas canvas(400, 120);
  SetViewportOrgEx(canvas.Dc(), 3, 4, nullptr);
  ASSERT_EQ(VARIANT_TRUE, DrawWhole(control.Get(), canvas));
  EXPECT_EQ(MM_TEXT, GetMapMode(canvas.Dc()));
  POINT origin;
  GetViewportOrgEx(canvas.Dc(), &origin);
  EXPECT_EQ(3, origin.x);
  EXPECT_EQ(4, origin.y);
  VARIANT_BOOL valid = VARIANT_FALSE;
  control->get_IsBarValid(&valid);
  EXPECT_EQ(VARIANT_TRUE, valid);

  // In MM_HIMETRIC the rectangle is given in 0.01 mm, top above bottom.
  Canvas metric(400, 120);
  SetMapMode(metric.Dc(), MM_HIMETRIC);
  const LONG width = 400 * 2540 / 96;
  const LONG height = 120 * 2540 / 96;
  VARIANT_BOOL drawn = VARIANT_FALSE;
  ASSERT_EQ(S_OK, control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(metric.Dc())), 0, 0, width, -height,
                                    &drawn));
  EXPECT_EQ(VARIANT_TRUE, drawn);
  EXPECT_EQ(MM_HIMETRIC, GetMapMode(metric.Dc()));
  // Both pictures have the same bars (the viewport origin moved the first by (3, 4)).
  EXPECT_EQ(Describe(RunsAlong(metric, true, 20)), Describe(RunsAlong(canvas, true, 24)));

  // Another metric mode: the rectangle in 0.1 mm goes through device units to 0.01 mm.
  Canvas lometric(400, 120);
  SetMapMode(lometric.Dc(), MM_LOMETRIC);
  drawn = VARIANT_FALSE;
  ASSERT_EQ(S_OK, control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(lometric.Dc())), 0, 0, width / 10,
                                    -height / 10, &drawn));
  EXPECT_EQ(VARIANT_TRUE, drawn);
  EXPECT_EQ(MM_LOMETRIC, GetMapMode(lometric.Dc()));
  EXPECT_EQ(Describe(RunsAlong(metric, true, 20)), Describe(RunsAlong(lometric, true, 20)));
}

TEST_F(DrawingTest, GetValidSizeIgnoresTheIncomingValuesAndKeepsThemOnFailure) {
  test::HostedControl control;
  ASSERT_EQ(S_OK, control->put_TextShow(VARIANT_FALSE));
  // QUARENT in Code 128: START A, 7 characters and the check (11 modules each), the stop (13).
  const LONG modules = 11 * 9 + 13;
  LONG cx = -5, cy = 123456;
  VARIANT_BOOL ok = VARIANT_FALSE;
  ASSERT_EQ(S_OK, control->GetValidSize(&cx, &cy, &ok));
  EXPECT_EQ(VARIANT_TRUE, ok);
  EXPECT_EQ(35 * modules + 2 * 635, cx);
  EXPECT_EQ(635, cy) << "15 % of the symbol is below the quiet zone";

  test::Bstr empty(L"");
  ASSERT_EQ(S_OK, control->put_Caption(empty.Get()));
  cx = 77;
  cy = 88;
  ok = VARIANT_TRUE;
  const HRESULT status = control->GetValidSize(&cx, &cy, &ok);
  EXPECT_TRUE(FAILED(status)) << Hex(status);
  EXPECT_EQ(VARIANT_FALSE, ok);
  EXPECT_EQ(77, cx);
  EXPECT_EQ(88, cy);
}

TEST_F(DrawingTest, RefusesBadContextsAndNeedsAFont) {
  test::HostedControl control;
  VARIANT_BOOL drawn = VARIANT_TRUE;
  EXPECT_EQ(E_INVALIDARG, control->DrawToDC(0, 0, 0, 100, 100, &drawn));
  EXPECT_EQ(VARIANT_FALSE, drawn);

  test::HostedControl unsited(false);
  Canvas canvas(400, 120);
  EXPECT_EQ(VARIANT_FALSE, DrawWhole(unsited.Get(), canvas, E_FAIL));
  const test::ErrorInfoText error = test::TakeErrorInfo();
  EXPECT_EQ(L"The Font Property must be a TrueType Font!", error.description);
  EXPECT_FALSE(canvas.IsDark(100, 60)) << "background only";
}

TEST_F(DrawingTest, AnEmptyCaptionPaintsTheBackgroundOnly) {
  test::HostedControl control;
  ASSERT_EQ(S_OK, control->put_BackColor(0x000000FF));  // red (0x00BBGGRR)
  test::Bstr empty(L"");
  ASSERT_EQ(S_OK, control->put_Caption(empty.Get()));
  Canvas canvas(200, 60);
  EXPECT_EQ(VARIANT_TRUE, DrawWhole(control.Get(), canvas));
  EXPECT_EQ(0xFF0000u, canvas.Pixel(0, 0));
  EXPECT_EQ(0xFF0000u, canvas.Pixel(199, 59));
  VARIANT_BOOL valid = VARIANT_TRUE;
  control->get_IsBarValid(&valid);
  EXPECT_EQ(VARIANT_FALSE, valid) << "unchanged from its initial value";
}

TEST_F(DrawingTest, TheSizeNoticeAppearsOneUnitBelowTheValidSize) {
  test::HostedControl control;
  LONG cx = 0, cy = 0;
  VARIANT_BOOL ok = VARIANT_FALSE;
  ASSERT_EQ(S_OK, control->GetValidSize(&cx, &cy, &ok));
  struct Row {
    const char* name;
    LONG width;
    LONG height;
    VARIANT_BOOL valid;
  };
  const Row rows[] = {{"valid size", cx, cy, VARIANT_TRUE},
                      {"one unit narrower", cx - 1, cy, VARIANT_FALSE},
                      {"one unit lower", cx, cy - 1, VARIANT_FALSE},
                      {"valid again", cx + 500, cy + 500, VARIANT_TRUE}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    Canvas canvas(400, 120);
    SetMapMode(canvas.Dc(), MM_HIMETRIC);
    VARIANT_BOOL drawn = VARIANT_FALSE;
    ASSERT_EQ(S_OK, control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(canvas.Dc())), 0, 0, row.width,
                                      -row.height, &drawn));
    EXPECT_EQ(VARIANT_TRUE, drawn) << "a notice is a successful paint";
    VARIANT_BOOL valid = 7;
    control->get_IsBarValid(&valid);
    EXPECT_EQ(row.valid, valid);
  }
}

TEST_F(DrawingTest, BarsMatchTheEncodersModulesInEveryStyle) {
  struct Row {
    Constants_BarCodeSel style;
    const char* text;
  };
  const Row rows[] = {{qrnBarCode128, "QUARENT 12345 abc"}, {qrnBarCode128A, "CODE-128 A"},
                      {qrnBarCode128B, "Code 128 b"},       {qrnBarCode128C, "1234567"},
                      {qrnBarCode39, "CODE 39"},            {qrnBarCode2of5, "1234567"},
                      {qrnBarCode11, "123-45"},             {qrnBarCodeCodeabar, "A40156B"},
                      {qrnBarCodeMSI, "80523"}};
  const LONG moduleWidth = 127;  // 4.8 pixels
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    test::HostedControl control;
    test::Bstr empty(L"");
    ASSERT_EQ(S_OK, control->put_Caption(empty.Get()));
    ASSERT_EQ(S_OK, control->put_BarStyle(row.style));
    const std::wstring wide(row.text, row.text + strlen(row.text));
    test::Bstr caption(wide.c_str());
    ASSERT_EQ(S_OK, control->put_Caption(caption.Get()));
    ASSERT_EQ(S_OK, control->put_BarWidth(moduleWidth));
    ASSERT_EQ(S_OK, control->put_TextShow(VARIANT_FALSE));
    Canvas canvas(1400, 200);  // the height must reach 15 % of the symbol's length
    ASSERT_EQ(VARIANT_TRUE, DrawWhole(control.Get(), canvas));
    VARIANT_BOOL valid = VARIANT_FALSE;
    control->get_IsBarValid(&valid);
    ASSERT_EQ(VARIANT_TRUE, valid);
    const std::vector<ElementRun> expected = ExpectedModules(static_cast<quarent::barcode::BarStyle>(row.style), row.text);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(Describe(expected), Describe(AsModules(RunsAlong(canvas, true, 100), moduleWidth)));
    // Left alignment: the first bar starts right after the 6.35 mm quiet zone.
    int first = 0;
    while (first < canvas.Width() && !canvas.IsDark(first, 100)) ++first;
    EXPECT_NEAR(Pixels(635), first, 1.0);
    // Without text the bars fill the whole height.
    EXPECT_TRUE(canvas.IsDark(first, 0));
    EXPECT_TRUE(canvas.IsDark(first, 199));
  }
}

TEST_F(DrawingTest, BarAlignmentMovesTheSymbolByTheFreeSpace) {
  test::HostedControl control;
  ASSERT_EQ(S_OK, control->put_TextShow(VARIANT_FALSE));
  LONG cx = 0, cy = 0;
  VARIANT_BOOL ok = VARIANT_FALSE;
  ASSERT_EQ(S_OK, control->GetValidSize(&cx, &cy, &ok));
  const LONG symbolLength = cx - 2 * 635;
  const LONG freeSpace = 2001;  // odd: the centre shift is 1000
  struct Row {
    Constants_Alignment alignment;
    LONG shift;
  };
  const Row rows[] = {{qrnLeft, 0}, {qrnCenter, 1000}, {qrnRight, 2001}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.alignment);
    ASSERT_EQ(S_OK, control->put_BarAlignment(row.alignment));
    Canvas canvas(400, 60);
    SetMapMode(canvas.Dc(), MM_HIMETRIC);
    VARIANT_BOOL drawn = VARIANT_FALSE;
    ASSERT_EQ(S_OK, control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(canvas.Dc())), 0, 0,
                                      cx + freeSpace, -cy, &drawn));
    int first = 0;
    while (first < canvas.Width() && !canvas.IsDark(first, 5)) ++first;
    int last = canvas.Width() - 1;
    while (last > 0 && !canvas.IsDark(last, 5)) --last;
    EXPECT_NEAR(Pixels(635 + row.shift), first, 1.0);
    // Code 128 ends with a bar: the symbol's end is the last dark pixel.
    EXPECT_NEAR(Pixels(635 + row.shift + symbolLength), last + 1, 1.0);
  }
}

TEST_F(DrawingTest, VerticalSymbolsRunUpOrDownBesideTheirTextBand) {
  struct Row {
    Constants_Orientation orientation;
    bool fromBottom;
    bool textOnRight;
  };
  const Row rows[] = {{qrnVerticallyUp, true, true}, {qrnVerticallyDown, false, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.orientation);
    test::HostedControl control;
    ASSERT_EQ(S_OK, control->put_BarOrientation(row.orientation));
    ASSERT_EQ(S_OK, control->put_BarWidth(127));
    Canvas canvas(120, 900);
    ASSERT_EQ(VARIANT_TRUE, DrawWhole(control.Get(), canvas));
    VARIANT_BOOL valid = VARIANT_FALSE;
    control->get_IsBarValid(&valid);
    ASSERT_EQ(VARIANT_TRUE, valid);
    const int barColumn = row.textOnRight ? 10 : 109;
    const std::vector<ElementRun> expected = ExpectedModules(quarent::barcode::BarStyle::Code128, "QUARENT");
    EXPECT_EQ(Describe(expected), Describe(AsModules(RunsAlong(canvas, false, barColumn, row.fromBottom), 127)));
    // The text band is on the far side: the bars stop short of it.
    int barEnd = row.textOnRight ? 0 : canvas.Width() - 1;
    const int rowWithBar = row.fromBottom ? canvas.Height() - 1 - static_cast<int>(Pixels(635)) - 1
                                          : static_cast<int>(Pixels(635)) + 1;
    while (barEnd >= 0 && barEnd < canvas.Width() && canvas.IsDark(barEnd, rowWithBar)) {
      barEnd += row.textOnRight ? 1 : -1;
    }
    const int band = row.textOnRight ? canvas.Width() - barEnd : barEnd + 1;
    EXPECT_GT(band, 10) << "a text band of about 4 mm";
    EXPECT_LT(band, 30);
  }
}

TEST_F(DrawingTest, TheTextIsWrittenInTheBandBelowTheBars) {
  test::HostedControl control;
  Canvas withText(400, 120);
  ASSERT_EQ(VARIANT_TRUE, DrawWhole(control.Get(), withText));
  ASSERT_EQ(S_OK, control->put_TextShow(VARIANT_FALSE));
  Canvas withoutText(400, 120);
  ASSERT_EQ(VARIANT_TRUE, DrawWhole(control.Get(), withoutText));
  // Between the first two bars, the bottom rows differ only where the text is.
  int differing = 0;
  for (int y = 100; y < 120; ++y) {
    for (int x = 0; x < 400; ++x) differing += withText.IsDark(x, y) != withoutText.IsDark(x, y);
  }
  EXPECT_GT(differing, 50) << "text pixels in the band";
  int top = 0;
  for (int y = 0; y < 120 && top == 0; ++y) {
    for (int x = 0; x < 400; ++x) {
      if (withText.IsDark(x, y) != withoutText.IsDark(x, y)) {
        top = y;
        break;
      }
    }
  }
  EXPECT_GT(top, 120 - 30) << "nothing but the band changes";
}

TEST_F(DrawingTest, TextWithDescendersStaysInsideTheRectangle) {
  struct Row {
    Constants_Orientation orientation;
    const char* name;
  };
  const Row rows[] = {{qrnHorizontally, "horizontal"}, {qrnVerticallyUp, "up"}, {qrnVerticallyDown, "down"}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    test::HostedControl control;
    test::Bstr caption(L"gjpqy, Qypg; jqp");
    ASSERT_EQ(S_OK, control->put_Caption(caption.Get()));
    ASSERT_EQ(S_OK, control->put_BarOrientation(row.orientation));
    ASSERT_EQ(S_OK, control->put_BackColor(RGB(0xE0, 0xE0, 0xE0)));
    // The rectangle is the valid size, rounded up to whole pixels: as tight as it can be.
    LONG cx = 0, cy = 0;
    VARIANT_BOOL sized = VARIANT_FALSE;
    ASSERT_EQ(S_OK, control->GetValidSize(&cx, &cy, &sized));
    const int width = static_cast<int>((cx * 96 + 2539) / 2540);
    const int height = static_cast<int>((cy * 96 + 2539) / 2540);
    constexpr int kMargin = 30;
    Canvas canvas(width + 2 * kMargin, height + 2 * kMargin);
    VARIANT_BOOL drawn = VARIANT_FALSE;
    ASSERT_EQ(S_OK, control->DrawToDC(static_cast<LONG>(reinterpret_cast<LONG_PTR>(canvas.Dc())), kMargin, kMargin,
                                      kMargin + width, kMargin + height, &drawn));
    VARIANT_BOOL valid = VARIANT_FALSE;
    control->get_IsBarValid(&valid);
    ASSERT_EQ(VARIANT_TRUE, valid);

    int touchedOutside = 0;
    int textPixels = 0;
    const int band = static_cast<int>(Pixels(400)) - 2;  // inside the 4 mm text band
    for (int y = 0; y < canvas.Height(); ++y) {
      for (int x = 0; x < canvas.Width(); ++x) {
        const bool inside = x >= kMargin && x < kMargin + width && y >= kMargin && y < kMargin + height;
        if (!inside) {
          touchedOutside += canvas.Pixel(x, y) != 0xFFFFFF;
          continue;
        }
        const bool inBand = row.orientation == qrnHorizontally ? y >= kMargin + height - band
                            : row.orientation == qrnVerticallyUp ? x >= kMargin + width - band
                                                                  : x < kMargin + band;
        textPixels += inBand && canvas.IsDark(x, y);
      }
    }
    EXPECT_EQ(0, touchedOutside);
    EXPECT_GT(textPixels, 100) << "the caption is written in its band";
  }
}

}  // namespace
