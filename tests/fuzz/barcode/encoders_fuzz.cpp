// Feeds arbitrary bytes to every style and to the Code 128 font string: as they are, and mapped
// into each style's alphabet so that long valid texts are reached too. Any broken invariant
// traps; memory faults are caught by the sanitizers.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "../../unit/barcode/symbol_decoder.h"
#include "encoders/code128.h"
#include "encoders/encoder_factory.h"

namespace {

using quarent::barcode::BarStyle;

void Require(bool condition) {
  if (!condition) __builtin_trap();
}

struct StyleUnderTest {
  BarStyle style;
  const char* alphabet;
  bool exactModuleCount;
};

const StyleUnderTest kStyles[] = {
    {BarStyle::Code128, " !\"#$%&'()*+,-./0123456789:;<=>?@AZ[\\]^_`az{|}~0123456789", true},
    {BarStyle::Code128A, " !\"#$%&'()*+,-./0123456789:;<=>?@AZ[\\]^_", true},
    {BarStyle::Code128B, " !\"#$%&'()*+,-./0123456789:;<=>?@AZ[\\]^_`az{|}~", true},
    {BarStyle::Code128C, "0123456789", true},
    {BarStyle::Code39, "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ $%+-./", true},
    {BarStyle::TwoOfFive, "0123456789", true},
    {BarStyle::Code11, "0123456789-", false},
    {BarStyle::Codabar, "0123456789$+-./:", false},
    {BarStyle::Msi, "0123456789", true},
};

std::string MapIntoAlphabet(std::string_view bytes, const StyleUnderTest& style) {
  const std::string_view alphabet(style.alphabet);
  std::string text;
  for (const char byte : bytes) text += alphabet[static_cast<unsigned char>(byte) % alphabet.size()];
  if (style.style == BarStyle::Codabar && !text.empty()) {
    text.front() = static_cast<char>('A' + static_cast<unsigned char>(bytes.front()) % 4);
    text.back() = static_cast<char>('A' + static_cast<unsigned char>(bytes.back()) % 4);
  }
  return text;
}

void CheckEncoding(const StyleUnderTest& style, std::string_view text) {
  const auto encoder = quarent::barcode::MakeEncoder(style.style, text);
  Require(encoder != nullptr);
  const bool encodable = !text.empty() && text.size() <= quarent::barcode::BarCodeEncoder::kMaxSourceLength &&
                         encoder->IsValid(text);
  const std::uint8_t* symbol = encoder->Encode();
  Require((symbol != nullptr) == encodable);
  if (symbol == nullptr) {
    Require(encoder->ModuleCount() == 0 && encoder->SymbolLength() == 0);
    return;
  }
  Require(symbol[encoder->SymbolLength()] == quarent::barcode::BarCodeEncoder::kEndOfSymbol);
  Require(encoder->SymbolLength() <= text.size() + 36);

  const auto decoded = quarent::barcode::testing::DecodeSymbol(style.style, quarent::barcode::testing::ElementsOf(*encoder));
  Require(decoded.ok);
  const bool zeroAdded = style.style == BarStyle::Code128C && text.size() % 2 == 1;
  Require(decoded.text == (zeroAdded ? "0" + std::string(text) : std::string(text)));
  Require(style.exactModuleCount ? decoded.modules == encoder->ModuleCount()
                                 : decoded.modules <= encoder->ModuleCount());

  std::vector<std::uint8_t> row(static_cast<std::size_t>(encoder->ModuleCount()));
  Require(encoder->WriteModuleRow(row.data(), row.size()) == static_cast<std::size_t>(decoded.modules));

  quarent::barcode::Extent extent;
  Require(encoder->GetSize(250, extent, quarent::barcode::Orientation::Horizontally));
  Require(extent.cx == 250 * encoder->ModuleCount() + 2 * quarent::barcode::BarCodeEncoder::kQuietZone);
}

void CheckFontString(std::string_view text) {
  for (const auto mode : {quarent::barcode::Code128Mode::Automatic, quarent::barcode::Code128Mode::SetA,
                          quarent::barcode::Code128Mode::SetB, quarent::barcode::Code128Mode::SetC}) {
    quarent::barcode::Code128Encoder encoder(text, mode);
    const std::string_view font = encoder.FontString();
    Require(font.size() <= quarent::barcode::Code128Encoder::kMaxFontStringLength);
    Require(font.size() == encoder.SymbolLength());
    Require(font.empty() || static_cast<unsigned char>(font.back()) == 203);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const StyleUnderTest& style : kStyles) {
    CheckEncoding(style, bytes);
    CheckEncoding(style, MapIntoAlphabet(bytes, style));
  }
  CheckFontString(bytes);
  CheckFontString(MapIntoAlphabet(bytes, kStyles[0]));
  return 0;
}
