#include "model/value_text.h"

namespace quarent::brnlog {

std::string CurrencyText(int64_t scaled) {
  // The magnitude as unsigned, so the most negative amount has one too.
  const uint64_t magnitude = scaled < 0 ? 0 - static_cast<uint64_t>(scaled) : static_cast<uint64_t>(scaled);
  std::string fraction = std::to_string(magnitude % 10000);
  fraction.insert(0, 4 - fraction.size(), '0');
  return (scaled < 0 ? "-" : "") + std::to_string(magnitude / 10000) + "." + fraction;
}

std::string ValueText(const LogValue& value, const PlatformText& platform) {
  switch (value.type) {
    case kVtI2:
    case kVtBool:
    case kVtI4:
    case kVtInt:
    case kVtI1:
      return std::to_string(SignedBits(value));
    case kVtUI1:
    case kVtUI2:
    case kVtUI4:
    case kVtUInt:
      return std::to_string(value.bits);
    case kVtR4:
    case kVtR8:
      return std::to_string(value.real);  // "%f"
    case kVtCy:
      return CurrencyText(static_cast<int64_t>(value.bits));
    case kVtDate:
      return platform.FormatDate(value.real);
    case kVtBstr: {
      if (!value.text) return " ";
      const std::string ansi = platform.ToAnsi(*value.text);
      return std::string(LimitAnsiText(ansi, kMaxTextBytes, platform));
    }
    default:
      return {};
  }
}

}  // namespace quarent::brnlog
