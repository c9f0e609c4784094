// Every style's bars against those the Zint library draws for the same text: pattern tables,
// start and stop characters and check characters checked against an encoder written elsewhere.
#include <gtest/gtest.h>
#include <zint.h>

#include <cstring>
#include <string>
#include <vector>

#include "encoders/encoder_factory.h"

namespace quarent::barcode {
namespace {

// Element widths as digits, bar first, with the trailing space dropped. Zint draws the wide
// elements of Industrial 2 of 5 and Code 39 three modules wide; `wideIsThree` reads them as
// the two modules wide elements of this library.
std::string Widths(const std::vector<int>& modules, bool wideIsThree) {
  std::string widths;
  int run = 0;
  for (std::size_t index = 0; index < modules.size(); ++index) {
    ++run;
    if (index + 1 == modules.size() || modules[index + 1] != modules[index]) {
      if (modules[index] == 1 || index + 1 != modules.size()) {
        widths += static_cast<char>('0' + (wideIsThree && run == 3 ? 2 : run));
      }
      run = 0;
    }
  }
  return widths;
}

std::string OurWidths(BarStyle style, const std::string& text) {
  const auto encoder = MakeEncoder(style, text);
  if (!encoder || encoder->Encode() == nullptr) return "no symbol";
  std::vector<std::uint8_t> row(static_cast<std::size_t>(encoder->ModuleCount()));
  const std::size_t painted = encoder->WriteModuleRow(row.data(), row.size());
  return Widths(std::vector<int>(row.begin(), row.begin() + static_cast<std::ptrdiff_t>(painted)), false);
}

std::string ZintWidths(int symbology, int option2, const std::string& text, bool wideIsThree) {
  zint_symbol* symbol = ZBarcode_Create();
  if (symbol == nullptr) return "no zint symbol";
  symbol->symbology = symbology;
  symbol->option_2 = option2;
  std::string widths;
  if (ZBarcode_Encode(symbol, reinterpret_cast<const unsigned char*>(text.data()), static_cast<int>(text.size())) >=
      ZINT_ERROR) {
    widths = std::string("zint refused: ") + symbol->errtxt;
  } else {
    std::vector<int> modules;
    for (int column = 0; column < symbol->width; ++column) {
      modules.push_back((symbol->encoded_data[0][column >> 3] >> (column & 7)) & 1);
    }
    widths = Widths(modules, wideIsThree);
  }
  ZBarcode_Delete(symbol);
  return widths;
}

TEST(ZintReference, EveryStyleDrawsTheBarsZintDraws) {
  struct Case {
    BarStyle style;
    int symbology;
    int option2;  // Code 11: one check character; MSI: modulo 10
    bool wideIsThree;
    const char* text;
  };
  const Case cases[] = {
      {BarStyle::Code128B, BARCODE_CODE128B, 0, false, "Hello World"},
      {BarStyle::Code128B, BARCODE_CODE128B, 0, false, "abc ~{|}`!\"#"},
      {BarStyle::Code128B, BARCODE_CODE128B, 0, false, "0123456789"},
      {BarStyle::Code39, BARCODE_CODE39, 0, true, "0123456789"},
      {BarStyle::Code39, BARCODE_CODE39, 0, true, "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
      {BarStyle::Code39, BARCODE_CODE39, 0, true, " -.$/+%"},
      {BarStyle::TwoOfFive, BARCODE_C25IND, 0, true, "0123456789"},
      {BarStyle::TwoOfFive, BARCODE_C25IND, 0, true, "5"},
      // Zint wraps the Code 11 weights after 10; up to 10 characters both agree.
      {BarStyle::Code11, BARCODE_CODE11, 1, false, "0123456789"},
      {BarStyle::Code11, BARCODE_CODE11, 1, false, "123"},
      {BarStyle::Code11, BARCODE_CODE11, 1, false, "98-76"},
      {BarStyle::Code11, BARCODE_CODE11, 1, false, "-"},
      {BarStyle::Codabar, BARCODE_CODABAR, 0, false, "A0123456789B"},
      {BarStyle::Codabar, BARCODE_CODABAR, 0, false, "C$-:/.+D"},
      {BarStyle::Msi, BARCODE_MSI_PLESSEY, 1, false, "0123456789"},
      {BarStyle::Msi, BARCODE_MSI_PLESSEY, 1, false, "9876543210"},
      {BarStyle::Msi, BARCODE_MSI_PLESSEY, 1, false, "80523"},
  };
  for (const Case& row : cases) {
    SCOPED_TRACE("style " + std::to_string(static_cast<int>(row.style)) + " text " + row.text);
    EXPECT_EQ(ZintWidths(row.symbology, row.option2, row.text, row.wideIsThree), OurWidths(row.style, row.text));
  }
}

}  // namespace
}  // namespace quarent::barcode
