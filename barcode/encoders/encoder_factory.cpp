#include "encoders/encoder_factory.h"

#include <new>

#include "encoders/codabar.h"
#include "encoders/code11.h"
#include "encoders/code128.h"
#include "encoders/code39.h"
#include "encoders/msi.h"
#include "encoders/two_of_five.h"

namespace quarent::barcode {
namespace {

template <typename Encoder, typename... Arguments>
std::unique_ptr<BarCodeEncoder> Make(Arguments... arguments) {
  return std::unique_ptr<BarCodeEncoder>(new (std::nothrow) Encoder(arguments...));
}

}  // namespace

std::unique_ptr<BarCodeEncoder> MakeEncoder(BarStyle style, std::string_view text) {
  switch (style) {
    case BarStyle::Code128: return Make<Code128Encoder>(text, Code128Mode::Automatic);
    case BarStyle::Code128A: return Make<Code128Encoder>(text, Code128Mode::SetA);
    case BarStyle::Code128B: return Make<Code128Encoder>(text, Code128Mode::SetB);
    case BarStyle::Code128C: return Make<Code128Encoder>(text, Code128Mode::SetC);
    case BarStyle::Code39: return Make<Code39Encoder>(text);
    case BarStyle::TwoOfFive: return Make<TwoOfFiveEncoder>(text);
    case BarStyle::Code11: return Make<Code11Encoder>(text);
    case BarStyle::Codabar: return Make<CodabarEncoder>(text);
    case BarStyle::Msi: return Make<MsiEncoder>(text);
  }
  return nullptr;
}

std::unique_ptr<BarCodeEncoder> MakeEncoder(BarStyle style) { return MakeEncoder(style, std::string_view()); }

}  // namespace quarent::barcode
